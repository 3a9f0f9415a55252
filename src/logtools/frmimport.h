#pragma once

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/form.h"

namespace logtools {

// Appends another log or a backup file to the live log table, leaving out duplicates unless told
// otherwise. The File menu shows it modally; Done hides it and the menu unloads it.
class frmImport : public platform::Form {
 public:
  frmImport();

  // Done comes first in the tab order, so the focus is on it when the window opens; the other
  // controls follow in the order of the focus.
  platform::CommandButton Command1{this, "Command1"};  // Done
  platform::Label Label1{this, "Label1"};
  platform::TextBox Text1{this, "Text1"};
  platform::CommandButton Command3{this, "Command3"};  // Browse
  platform::CheckBox Check1{this, "Check1"};
  platform::CommandButton Command2{this, "Command2"};  // Append
  platform::Label Label2{this, "Label2"};
  platform::Label Label3{this, "Label3"};
  platform::Label Label4{this, "Label4"};
  platform::CommonDialog cdbFile;

  void Form_Load() override;

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Check1_Click();

 private:
  void LayOut();
  void Connect();
  void ReportUnreadableFile();
};

}  // namespace logtools
