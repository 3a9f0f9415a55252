#pragma once

#include "platform/color.h"

namespace app {
class Form1;
}

namespace logging {

// What the commit and the dupe checks do alike to the main window's entry area.

// lblDialog's background while it shows no dupe; a dupe shows on DupeColor.
inline constexpr platform::Color MessageBackColor = platform::RGB(0, 192, 192);
inline constexpr platform::Color DupeColor = platform::RGB(255, 0, 0);

// The partial-call list emptied, on the button face.
void ClearDupeLabel(app::Form1& form);

// The four entry boxes emptied, the RST sent first.
void ClearEntryLine(app::Form1& form);

}  // namespace logging
