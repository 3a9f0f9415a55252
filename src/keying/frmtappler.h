#pragma once

#include "platform/controls.h"
#include "platform/form.h"

#include <cstdint>

namespace keying {

// Sets up the external keyer device, opens and closes it through the keyer library, keeps its
// settings in TP.txt in the data folder and sends CW through it.
class frmTappler : public platform::Form {
 public:
  frmTappler();

  platform::Label lblSettings{this, "lblSettings"};
  platform::Label lblComPort{this, "lblComPort"};
  platform::TextBox txtTPComPort{this, "txtTPComPort"};
  platform::Label lblWPM{this, "lblWPM"};
  platform::TextBox txtTPWPM{this, "txtTPWPM"};
  platform::Label lblWeight{this, "lblWeight"};
  platform::TextBox txtWeight{this, "txtWeight"};
  platform::Label lblWeightHelp{this, "lblWeightHelp"};
  platform::Label lblRatio{this, "lblRatio"};
  platform::TextBox txtRatio{this, "txtRatio"};
  platform::Label lblRatioHelp{this, "lblRatioHelp"};
  platform::Label lblLeadIn{this, "lblLeadIn"};
  platform::TextBox txtLeadIn{this, "txtLeadIn"};
  platform::Label lblLeadInHelp{this, "lblLeadInHelp"};
  platform::Label lblTail{this, "lblTail"};
  platform::TextBox txtTail{this, "txtTail"};
  platform::Label lblTailHelp{this, "lblTailHelp"};

  platform::Frame fraMode{this, "fraMode"};
  platform::OptionButton optIambicB{&fraMode, "optIambicB"};
  platform::OptionButton optIambicA{&fraMode, "optIambicA"};
  platform::OptionButton optUltimatic{&fraMode, "optUltimatic"};
  platform::OptionButton optBug{&fraMode, "optBug"};
  platform::Frame fraPin5{this, "fraPin5"};
  platform::OptionButton optKey5Off3Out{&fraPin5, "optKey5Off3Out"};
  platform::OptionButton optPTT{&fraPin5, "optPTT"};
  platform::OptionButton optTone{&fraPin5, "optTone"};
  platform::OptionButton optKey5Out3Off{&fraPin5, "optKey5Out3Off"};

  platform::Label lblStatus{this, "lblStatus"};
  platform::Label lblOpenStatus{this, "lblOpenStatus"};  // the result of the last open or close
  platform::Label lblVersionCaption{this, "lblVersionCaption"};
  platform::Label lblVersion{this, "lblVersion"};
  platform::CommandButton cmdOpenTappler{this, "cmdOpenTappler"};
  platform::CommandButton cmdCloseTappler{this, "cmdCloseTappler"};
  platform::CommandButton cmdStop{this, "cmdStop"};
  platform::CommandButton Command3{this, "Command3"};  // Test
  platform::CommandButton Command1{this, "Command1"};  // Buffer Test
  platform::TextBox Text1{this, "Text1"};              // keyboard sending
  platform::Label lblArrows{this, "lblArrows"};
  platform::CommandButton cmdDone{this, "cmdDone"};

  // Called by the voice window before it opens its own port.
  void cmdCloseTappler_Click();
  void cmdOpenTappler_Click();
  // Sends CWBuffer through the keyer device a character at a time while the device has room,
  // opening the device first when it is closed, and again when its port failed (a device unplugged
  // and back); the buffer is empty when it returns, unless the device took nothing for 10 seconds:
  // then the operator is told and the rest is kept.
  void TPTransmit();
  // Upper-cases "a" to "z"; every other code passes unchanged.
  void Capital(int& KeyAscii);

  void Form_Load() override;
  void Form_Unload(int& Cancel) override;
  void cmdDone_Click();
  void cmdStop_Click();
  void Command3_Click();
  void Command1_Click();
  void Text1_KeyPress(int& KeyAscii);

  void optIambicB_Click();
  void optIambicA_Click();
  void optUltimatic_Click();
  void optBug_Click();
  void optKey5Off3Out_Click();
  void optPTT_Click();
  void optTone_Click();
  void optKey5Out3Off_Click();

  void txtTPComPort_KeyPress(int& KeyAscii);
  void txtTPWPM_KeyPress(int& KeyAscii);
  void txtWeight_KeyPress(int& KeyAscii);
  void txtRatio_KeyPress(int& KeyAscii);
  void txtLeadIn_KeyPress(int& KeyAscii);
  void txtTail_KeyPress(int& KeyAscii);
  void txtTPComPort_LostFocus();
  void txtTPWPM_LostFocus();
  void txtWeight_LostFocus();
  void txtRatio_LostFocus();
  void txtLeadIn_LostFocus();
  void txtTail_LostFocus();

 private:
  void SendPinAndMode();
  void NumbersOnly(int& KeyAscii);
  void LoadSettings();
  void SaveSettings();
  void SelectLoadedOptions();
  void ChooseMode(std::uint8_t mode);
  void ChoosePin(std::uint8_t pin);
  void AppendAndTransmit(const QString& text);
  void FocusDoneWhenShown();
  bool WaitForRoom(std::uint32_t lastProgress);
  bool DeviceTakes(unsigned char code);
  bool PauseForRoom(std::uint32_t lastProgress);
  bool OpenAgainAfterPortFailure(int reason);
  void ReportDeviceTakesNoText();

  bool transmitting_ = false;
  bool textKept_ = false;  // the last sending stopped with text left in the buffer
  int portFailure_ = 0;    // the reason the port failed for, told by the next open's box should it fail
};

}  // namespace keying
