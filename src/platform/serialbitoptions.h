#pragma once

#include "platform/controls.h"
#include "platform/optiongroups.h"

namespace platform {

// The data-bit and stop-bit frames of a serial line's settings, which the rig and spotting windows
// both show side by side: a member of the window, built with it as parent at the member's place in
// the window's tab order. Each window lays the frames out its own way. (The rate and parity frames
// are the windows' own: the rig offers faster rates, and the two order the parities differently.)
struct DataAndStopBitOptions {
  explicit DataAndStopBitOptions(Container* window);

  Frame fraData;
  OptionButton optData7{&fraData, "optData7"};
  OptionButton optData8{&fraData, "optData8"};
  Frame fraStop;
  OptionButton optStop1{&fraStop, "optStop1"};
  OptionButton optStop2{&fraStop, "optStop2"};

  OptionGroup DataBitsOptions();  // "7", "8"
  OptionGroup StopBitsOptions();  // "1", "2"
};

}  // namespace platform
