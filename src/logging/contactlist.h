#pragma once

namespace app {
class Form1;
}

namespace logging {

// The contact list's nine columns, their widths following the main window's width; the main
// window's load makes them.
void CreateContactListColumns(app::Form1& form);

// Brings the contact list up to a log that grew by one contact (the commit's): the contact goes in
// as one row when the list shows the log as it was before it, and the list is filled again
// otherwise (Form1::ListContacts).
void ListNewContact(app::Form1& form);

}  // namespace logging
