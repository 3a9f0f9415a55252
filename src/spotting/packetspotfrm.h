#pragma once

#include "platform/form.h"

namespace spotting {

// The spot input window: TNC, AGW packet engine or telnet cluster, and sending.
class PacketSpotfrm : public platform::Form {
 public:
  PacketSpotfrm();
};

}  // namespace spotting
