#pragma once

namespace app {
class Form1;
}

namespace logging {

// The contact list's nine columns, their widths following the main window's width; the main
// window's load makes them.
void CreateContactListColumns(app::Form1& form);

}  // namespace logging
