#pragma once

#include "platform/controlarray.h"
#include "platform/controls.h"
#include "platform/form.h"

namespace keying {

// The clickable strip of CW messages, one row per function key. Keys typed while it is active
// work as on the main window.
class frmCWStrings : public platform::Form {
 public:
  frmCWStrings();

  platform::Label Label2{this, "Label2"};
  platform::ControlArray<platform::Label> Label1{this, "Label1"};       // 0..11: "F1" .. "F12"
  platform::ControlArray<platform::Label> lblCWString{this, "lblCWString"};  // 0..10 the messages, 11 "Keyboard"
  platform::CommandButton Command1{this, "Command1"};                   // Done

  void Form_Load() override;
  void Form_Activate() override;
  void Form_KeyDown(int& KeyCode, int Shift) override;
  void Form_KeyPress(int& KeyAscii) override;
  // Sends the message of the row.
  void Label1_Click(int Index);
  void lblCWString_Click(int Index);
  void Command1_Click();
};

}  // namespace keying
