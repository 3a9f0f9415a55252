#pragma once

#include "platform/controls.h"
#include "platform/form.h"

namespace rig {

// Sends raw commands to the rig while it is polled, and tries the rig window's own tuning.
class frmFrequencyTest : public platform::Form {
 public:
  frmFrequencyTest();

  platform::Label Label1{this, "Label1"};
  platform::Label Label2{this, "Label2"};
  platform::TextBox Text1{this, "Text1"};  // the command to send
  platform::CheckBox Check1{this, "Check1"};  // Text1 holds hex pairs
  platform::CommandButton Command1{this, "Command1"};
  platform::Label Label3{this, "Label3"};
  platform::Line Line1{this, "Line1"};
  platform::Label Label4{this, "Label4"};
  platform::TextBox Text2{this, "Text2"};  // a frequency in MHz
  platform::CommandButton Command2{this, "Command2"};

  void Form_Load() override;
  // Sends Text1 on the rig window's port as it stands, or as the bytes of its hex pairs.
  void Command1_Click();
  // Tunes the rig to Text2 through the rig window.
  void Command2_Click();
};

}  // namespace rig
