#pragma once

#include <cstdint>

namespace network {

// 1 while the station network functions are on; the network window's timers and load act only then.
inline std::uint8_t NetworkEnabled = 0;

}  // namespace network
