#pragma once

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"

namespace keying {

// The CW messages window: the prepared messages, the keying interface, speed and repeat.
class CWFrm : public platform::Form {
 public:
  CWFrm();

  // The messages of F1 to F9; Text12 is F10's, Text13 F11's.
  platform::TextBox Text1{this, "Text1"};
  platform::TextBox Text2{this, "Text2"};
  platform::TextBox Text3{this, "Text3"};
  platform::TextBox Text4{this, "Text4"};
  platform::TextBox Text5{this, "Text5"};
  platform::TextBox Text6{this, "Text6"};
  platform::TextBox Text7{this, "Text7"};
  platform::TextBox Text8{this, "Text8"};
  platform::TextBox Text9{this, "Text9"};
  platform::TextBox Text12{this, "Text12"};
  platform::TextBox Text13{this, "Text13"};
  platform::TextBox Text10{this, "Text10"};  // serial port of the keying line; 0 none
  platform::TextBox Text14{this, "Text14"};  // printer-port base address
  platform::TextBox Text11{this, "Text11"};  // speed, words per minute
  platform::UpDown UpDown1{this, "UpDown1"};
  platform::TextBox txtSpace{this, "txtSpace"};  // word-space adjustment in dots
  platform::TextBox txtCWLoop{this, "txtCWLoop"};  // seconds before F1 repeats; 0 none
  platform::CheckBox Check1{this, "Check1"};  // echo the unsent text on the main window

  platform::Frame fraKeying{this, "fraKeying"};
  platform::OptionButton Option1{&fraKeying, "Option1"};  // RTS
  platform::OptionButton Option2{&fraKeying, "Option2"};  // DTR
  platform::OptionButton Option3{&fraKeying, "Option3"};  // printer port
  platform::OptionButton Option4{&fraKeying, "Option4"};  // none
  platform::OptionButton Option5{&fraKeying, "Option5"};  // keyer device
  platform::CommandButton cmdConfTappler{this, "cmdConfTappler"};

  platform::Timer tmrRepeat{this, "tmrRepeat"};

  // Sends the message of a function key (112 to 120, 124 for F10, 122 for F11) with its macros
  // filled in.
  void FKeyCW(int& KeyCode);
  // Keys CWBuffer character by character, or hands it to the keyer device.
  void LoopThroughCWBuffer();

  // Speed one word per minute up or down.
  void UpDown1_UpClick();
  void UpDown1_DownClick();

  void Option1_Click();
  void Option2_Click();
  void Option3_Click();
  void Option4_Click();
  void Option5_Click();

 private:
  void StepSpeed(double step);
};

}  // namespace keying
