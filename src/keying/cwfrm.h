#pragma once

#include "keying/cwelements.h"
#include "platform/controlarray.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/serialcontrol.h"
#include "platform/timer.h"

namespace keying {

// F10's key code is the menu key's; the CW window keeps F10's message under this code instead.
inline constexpr int F10MessageKeyCode = 124;

// The CW messages window: the prepared messages, the keying interface and line, speed, word
// space, the timing of software keying and repeat.
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
  platform::ControlArray<platform::Label> lblFKey{this, "lblFKey"};  // 0..11: "F1" .. "F12"
  platform::Label lblKeyboard{this, "lblKeyboard"};                  // F12's "Keyboard"
  platform::Label lblWildcards{this, "lblWildcards"};
  platform::CheckBox Check1{this, "Check1"};  // echo the unsent text on the main window
  platform::Label lblCWMode{this, "lblCWMode"};
  platform::Label lblArrows{this, "lblArrows"};
  platform::Label lblProsigns{this, "lblProsigns"};
  platform::ControlArray<platform::Label> lblProsign{this, "lblProsign"};  // 0..9: name, key, ...

  platform::Frame fraKeying{this, "fraKeying"};
  platform::OptionButton Option1{&fraKeying, "Option1"};  // RTS
  platform::OptionButton Option2{&fraKeying, "Option2"};  // DTR
  platform::OptionButton Option3{&fraKeying, "Option3"};  // printer port
  platform::OptionButton Option4{&fraKeying, "Option4"};  // none
  platform::OptionButton Option5{&fraKeying, "Option5"};  // keyer device

  platform::Frame fraTiming{this, "fraTiming"};
  platform::Label lblTiming{&fraTiming, "lblTiming"};
  platform::OptionButton optTimer{&fraTiming, "optTimer"};
  platform::OptionButton OptSleep{&fraTiming, "OptSleep"};
  platform::OptionButton optLoop{&fraTiming, "optLoop"};
  platform::Label lblLoop{&fraTiming, "lblLoop"};
  platform::TextBox txtLoop{&fraTiming, "txtLoop"};  // loops per 60 ms for the loop timing
  platform::CommandButton cmdLoopFaster{&fraTiming, "cmdLoopFaster"};
  platform::CommandButton cmdLoopSlower{&fraTiming, "cmdLoopSlower"};

  platform::Label lblInterface{this, "lblInterface"};
  platform::Label lblComPort{this, "lblComPort"};
  platform::TextBox Text10{this, "Text10"};  // serial port of the keying line; 0 none
  platform::Label lblPrinterPort{this, "lblPrinterPort"};
  platform::TextBox Text14{this, "Text14"};  // printer-port base address
  platform::Label lblLPT1{this, "lblLPT1"};
  platform::TextBox Text11{this, "Text11"};  // speed, words per minute
  platform::UpDown UpDown1{this, "UpDown1"};
  platform::Label lblWPM{this, "lblWPM"};
  platform::CommandButton Command2{this, "Command2"};  // Faster
  platform::CommandButton Command3{this, "Command3"};  // Slower
  platform::TextBox txtSpace{this, "txtSpace"};  // word-space adjustment in dots
  platform::Label lblWordSpace{this, "lblWordSpace"};
  platform::CommandButton Command5{this, "Command5"};  // Less
  platform::CommandButton Command6{this, "Command6"};  // More
  platform::Label lblSpacing{this, "lblSpacing"};
  platform::TextBox txtCWLoop{this, "txtCWLoop"};  // seconds before F1 repeats; 0 none
  platform::Label lblCWLoop{this, "lblCWLoop"};

  platform::CommandButton Command1{this, "Command1"};  // Done
  platform::CommandButton Command4{this, "Command4"};  // Test
  platform::Label Label23{this, "Label23"};            // "Sending!" while Test sends
  platform::CommandButton Command7{this, "Command7"};  // Send Code Practice
  platform::CommandButton cmdConfTappler{this, "cmdConfTappler"};
  platform::Label lblTest{this, "lblTest"};
  platform::Label lblLogs{this, "lblLogs"};
  platform::Label lblPrecise{this, "lblPrecise"};

  platform::Timer tmrRepeat{this, "tmrRepeat"};
  platform::SerialControl Comm;  // its DTR or RTS line keys the transmitter

  // Loops per 60 ms for the loop timing; 0 until calibrated or typed.
  double LoopOffset = 0;

  // Sends the message of a function key (112 to 120, 124 for F10, 122 for F11) with its macros
  // filled in.
  void FKeyCW(int& KeyCode);
  // Keys one character on the chosen line, or logs the contact for "!". Errors end it quietly,
  // always with the key up.
  void Transmit(const QString& Character);
  // (Re)opens the keying port named by Text10; 0 leaves it closed. A port that cannot be opened
  // is reported, and the window shown for the operator to correct it.
  void CWSetup();
  // Keys CWBuffer character by character, or hands it to the keyer device.
  void LoopThroughCWBuffer();

  // Speed one word per minute up or down.
  void UpDown1_UpClick();
  void UpDown1_DownClick();
  void Command2_Click();  // Faster
  void Command3_Click();  // Slower

  void Form_Load() override;
  void Command1_Click();  // Done
  void Command4_Click();  // Test
  void Command5_Click();  // Less word space
  void Command6_Click();  // More word space
  void Command7_Click();  // Send Code Practice
  void cmdConfTappler_Click();
  void tmrRepeat_Timer();

  void Option1_Click();
  void Option2_Click();
  void Option3_Click();
  void Option4_Click();
  void Option5_Click();

  void optTimer_Click();
  void OptSleep_Click();
  void optLoop_Click();
  void txtLoop_Change();
  void cmdLoopFaster_Click();
  void cmdLoopSlower_Click();
  // Counts the loop timing's loops per 60 ms on this PC into LoopOffset and txtLoop.
  void CalibrateLoop();

  // The messages are typed in capitals.
  void Text1_KeyPress(int& KeyAscii);
  void Text2_KeyPress(int& KeyAscii);
  void Text3_KeyPress(int& KeyAscii);
  void Text4_KeyPress(int& KeyAscii);
  void Text5_KeyPress(int& KeyAscii);
  void Text6_KeyPress(int& KeyAscii);
  void Text7_KeyPress(int& KeyAscii);
  void Text8_KeyPress(int& KeyAscii);
  void Text9_KeyPress(int& KeyAscii);
  void Text12_KeyPress(int& KeyAscii);
  void Text13_KeyPress(int& KeyAscii);

  void Text10_KeyPress(int& KeyAscii);
  void Text10_GotFocus();
  void Text10_LostFocus();
  void Text11_KeyPress(int& KeyAscii);
  void Text11_GotFocus();
  void Text11_LostFocus();
  void Text11_Change();
  void txtSpace_KeyPress(int& KeyAscii);
  void txtSpace_Change();
  void txtSpace_LostFocus();
  void txtCWLoop_KeyPress(int& KeyAscii);
  void txtCWLoop_LostFocus();

 private:
  QString MessageOfKey(int keyCode) const;
  void HandToKeyerDevice();
  void EchoOnMainWindow(const QString& text);
  void SaveMessages();
  void RestoreTiming();
  QString ChosenTimingCaption() const;
  void StepWordSpace(double step);
  void StepSpeed(double step);
  void EnableLoopTiming(bool enabled);
  void ScaleLoopOffset(double factor);
  UnitTiming ChosenTiming() const;
  void SetKey(bool down, std::int32_t printerRegister);
  void KeyPattern(const QString& pattern, const UnitWait& wait);
  void ReportInvalidPort();
  bool SerialKeyingWithoutPort() const;
  void AskForComPort();
};

}  // namespace keying
