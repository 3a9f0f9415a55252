#pragma once

#include "platform/controls.h"
#include "platform/optiongroups.h"

namespace platform {

// The frames of a serial line's settings that the rig and spotting windows both show: each a member
// of the window, built with it as parent at the member's place in the window's tab order. Each
// window lays the frames out and captions the options its own way. (The parity frames are the
// windows' own: the two order the parities differently.)

// The rates from 1200 to 19200 baud; a window that offers faster ones adds them to fraBaud right
// after this member, so they follow in the tab order.
struct BaudRateOptions {
  explicit BaudRateOptions(Container* window);

  Frame fraBaud;
  OptionButton optBaud12{&fraBaud, "optBaud12"};
  OptionButton optBaud24{&fraBaud, "optBaud24"};
  OptionButton optBaud48{&fraBaud, "optBaud48"};
  OptionButton optBaud96{&fraBaud, "optBaud96"};
  OptionButton optBaud144{&fraBaud, "optBaud144"};
  OptionButton optBaud192{&fraBaud, "optBaud192"};

  OptionGroup RateOptions();  // "1200" to "19200"
};

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
