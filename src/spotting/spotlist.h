#pragma once

namespace app {
class Form1;
}

namespace spotting {

// The spot list's eight columns ("Call", "Frequency", "QTH", "Status", "Comments", "Prefix",
// "Time", "From"), their widths following the main window's width; the main window's load makes
// them.
void CreateSpotListColumns(app::Form1& form);

}  // namespace spotting
