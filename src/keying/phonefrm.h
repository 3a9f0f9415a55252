#pragma once

#include "platform/controlarray.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/mciwave.h"
#include "platform/serialcontrol.h"
#include "platform/timer.h"

#include <QDateTime>

#include <array>
#include <cstdint>
#include <optional>

namespace keying {

// The voice messages window: a WAV file per function key, push-to-talk line and repeat.
class PhoneFrm : public platform::Form {
 public:
  PhoneFrm();

  platform::ControlArray<platform::Label> lblFKey{this, "lblFKey"};  // 0..8: "F1" .. "F9"
  // The WAV files of F1 to F9, each with its Browse button (Command2 for F1 .. Command10 for F9).
  platform::TextBox Text1{this, "Text1"};
  platform::TextBox Text2{this, "Text2"};
  platform::TextBox Text3{this, "Text3"};
  platform::TextBox Text4{this, "Text4"};
  platform::TextBox Text5{this, "Text5"};
  platform::TextBox Text6{this, "Text6"};
  platform::TextBox Text7{this, "Text7"};
  platform::TextBox Text8{this, "Text8"};
  platform::TextBox Text9{this, "Text9"};
  platform::CommandButton Command2{this, "Command2"};
  platform::CommandButton Command3{this, "Command3"};
  platform::CommandButton Command4{this, "Command4"};
  platform::CommandButton Command5{this, "Command5"};
  platform::CommandButton Command6{this, "Command6"};
  platform::CommandButton Command7{this, "Command7"};
  platform::CommandButton Command8{this, "Command8"};
  platform::CommandButton Command9{this, "Command9"};
  platform::CommandButton Command10{this, "Command10"};

  platform::Label lblComPort{this, "lblComPort"};
  platform::TextBox Text10{this, "Text10"};  // serial port of the push-to-talk line; 0 none
  // The push-to-talk line.
  platform::OptionButton Option1{this, "Option1"};  // RTS
  platform::OptionButton Option2{this, "Option2"};  // DTR
  platform::OptionButton Option3{this, "Option3"};  // printer port
  platform::Label lblPrinterPort{this, "lblPrinterPort"};
  platform::TextBox Text11{this, "Text11"};  // printer-port base address
  platform::Label lblLoop{this, "lblLoop"};
  platform::TextBox txtPHLoop{this, "txtPHLoop"};  // pause in seconds before F1 repeats; 0 none

  platform::CommandButton Command11{this, "Command11"};  // Test
  platform::Label lblTest{this, "lblTest"};
  platform::CommandButton Command12{this, "Command12"};  // Stop
  platform::CommandButton Command1{this, "Command1"};    // Done

  platform::Label lblCaution{this, "lblCaution"};
  platform::Label lblPhoneMode{this, "lblPhoneMode"};
  platform::Label lblKeying{this, "lblKeying"};
  platform::Label lblSetupTitle{this, "lblSetupTitle"};
  platform::Label lblSetup{this, "lblSetup"};
  platform::Label lblToUseTitle{this, "lblToUseTitle"};
  platform::Label lblToUse{this, "lblToUse"};

  platform::Timer Timer1{this, "Timer1"};  // watches for the end of a playback
  platform::Timer tmrRepeat{this, "tmrRepeat"};
  platform::MMControl MMControl1;
  platform::SerialControl CommPhone;  // its DTR or RTS line keys push-to-talk
  platform::CommonDialog cdbFile;

  void Form_Load() override;
  void Form_Unload(int& Cancel) override;

  // Plays the WAV file of a function key (112 to 120) with the push-to-talk line keyed, and
  // returns while it plays; other key codes do nothing.
  void FKeyPhone(int& KeyCode);

  void Command1_Click();  // Done
  void Command2_Click();  // Browse, F1 .. F9
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  void Command7_Click();
  void Command8_Click();
  void Command9_Click();
  void Command10_Click();
  void Command11_Click();  // Test
  void Command12_Click();  // Stop
  void Text10_GotFocus();
  void Text10_LostFocus();
  void Text11_KeyPress(int& KeyAscii);
  void txtPHLoop_KeyPress(int& KeyAscii);
  void txtPHLoop_LostFocus();
  void Timer1_Timer();
  void tmrRepeat_Timer();

 private:
  // What a playback keyed, so that its end releases exactly that whatever was changed meanwhile.
  struct KeyedLines {
    bool dtr = false;
    bool rts = false;
    std::optional<std::int32_t> printerRegister;
  };

  std::array<platform::TextBox*, 9> FileBoxes();
  void PhoneSetup();
  void KeyPushToTalk();
  void ReleasePushToTalk();
  void Browse(platform::TextBox& file);
  void SaveVoiceSettings();

  KeyedLines keyed_;
  QDateTime playDeadline_;  // a player that never reports the end is stopped here
};

}  // namespace keying
