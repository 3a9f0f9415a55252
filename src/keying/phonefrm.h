#pragma once

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/mciwave.h"
#include "platform/serialcontrol.h"
#include "platform/timer.h"

namespace keying {

// The voice messages window: a WAV file per function key, push-to-talk line and repeat.
class PhoneFrm : public platform::Form {
 public:
  PhoneFrm();

  // The WAV files of F1 to F9.
  platform::TextBox Text1{this, "Text1"};
  platform::TextBox Text2{this, "Text2"};
  platform::TextBox Text3{this, "Text3"};
  platform::TextBox Text4{this, "Text4"};
  platform::TextBox Text5{this, "Text5"};
  platform::TextBox Text6{this, "Text6"};
  platform::TextBox Text7{this, "Text7"};
  platform::TextBox Text8{this, "Text8"};
  platform::TextBox Text9{this, "Text9"};
  platform::TextBox Text10{this, "Text10"};  // serial port of the push-to-talk line; 0 none
  // The push-to-talk line.
  platform::OptionButton Option1{this, "Option1"};  // RTS
  platform::OptionButton Option2{this, "Option2"};  // DTR
  platform::OptionButton Option3{this, "Option3"};  // printer port
  platform::TextBox Text11{this, "Text11"};  // printer-port base address
  platform::TextBox txtPHLoop{this, "txtPHLoop"};  // pause in seconds before F1 repeats; 0 none
  platform::Timer tmrRepeat{this, "tmrRepeat"};
  platform::MMControl MMControl1;
  platform::SerialControl CommPhone;  // its DTR or RTS line keys push-to-talk

  void Form_Unload(int& Cancel) override;

  // Plays the WAV file of a function key (112 to 120) with the push-to-talk line keyed.
  void FKeyPhone(int& KeyCode);
};

}  // namespace keying
