#pragma once

#include "platform/controls.h"
#include "platform/form.h"

namespace spotting {

// The spot input window: TNC, AGW packet engine or telnet cluster, and sending.
class PacketSpotfrm : public platform::Form {
 public:
  PacketSpotfrm();

  platform::ListBox List1{this, "List1"};           // the spot source; "None" or nothing chosen: no source
  platform::OptionButton OptList{this, "OptList"};  // the main window shows the spot list, not the band map
};

}  // namespace spotting
