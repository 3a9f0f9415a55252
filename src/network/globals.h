#pragma once

#include "platform/modulevalues.h"

#include <cstdint>

namespace network {

// 1 while the station network functions are on; the network window's timers and load act only then.
MODULE_VALUE(std::uint8_t, NetworkEnabled, 0);

}  // namespace network
