#include "platform/serialoptions.h"

namespace platform {

BaudRateOptions::BaudRateOptions(Container* window) : fraBaud(window, "fraBaud") {}

OptionGroup BaudRateOptions::RateOptions() {
  return {{&optBaud12, "1200"}, {&optBaud24, "2400"},   {&optBaud48, "4800"},
          {&optBaud96, "9600"}, {&optBaud144, "14400"}, {&optBaud192, "19200"}};
}

DataAndStopBitOptions::DataAndStopBitOptions(Container* window)
    : fraData(window, "fraData"), fraStop(window, "fraStop") {}

OptionGroup DataAndStopBitOptions::DataBitsOptions() { return {{&optData7, "7"}, {&optData8, "8"}}; }

OptionGroup DataAndStopBitOptions::StopBitsOptions() { return {{&optStop1, "1"}, {&optStop2, "2"}}; }

}  // namespace platform
