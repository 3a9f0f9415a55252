#include "platform/serialbitoptions.h"

namespace platform {

DataAndStopBitOptions::DataAndStopBitOptions(Container* window)
    : fraData(window, "fraData"), fraStop(window, "fraStop") {}

OptionGroup DataAndStopBitOptions::DataBitsOptions() { return {{&optData7, "7"}, {&optData8, "8"}}; }

OptionGroup DataAndStopBitOptions::StopBitsOptions() { return {{&optStop1, "1"}, {&optStop2, "2"}}; }

}  // namespace platform
