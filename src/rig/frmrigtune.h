#pragma once

#include "platform/controlarray.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"

namespace rig {

// Tunes the rig by hand: typed frequency, band buttons, steps, scan and mode. It keeps no state
// of its own beyond its controls; every command goes through the rig window.
class frmRigTune : public platform::Form {
 public:
  frmRigTune();

  platform::Label Label1{this, "Label1"};
  platform::TextBox txtFreq{this, "txtFreq"};  // MHz; first in the tab order
  platform::CommandButton Command1{this, "Command1"};  // Go
  platform::ControlArray<platform::CommandButton> cmdBand{this, "cmdBand"};
  platform::Label Label2{this, "Label2"};
  platform::Label Label3{this, "Label3"};
  platform::ControlArray<platform::CommandButton> cmdTune{this, "cmdTune"};  // even: up, odd: down
  platform::CommandButton cmdAM{this, "cmdAM"};
  platform::CommandButton cmdCW{this, "cmdCW"};
  platform::CommandButton cmdFM{this, "cmdFM"};
  platform::CommandButton cmdLSB{this, "cmdLSB"};
  platform::CommandButton cmdRTTY{this, "cmdRTTY"};
  platform::CommandButton cmdUSB{this, "cmdUSB"};
  platform::CheckBox chkScan{this, "chkScan"};
  platform::Label Label4{this, "Label4"};
  platform::TextBox txtFrom{this, "txtFrom"};
  platform::Label Label5{this, "Label5"};
  platform::TextBox txtTo{this, "txtTo"};
  platform::Frame Frame1{this, "Frame1"};  // the scan step
  platform::OptionButton Option1{&Frame1, "Option1"};
  platform::OptionButton Option2{&Frame1, "Option2"};
  platform::OptionButton Option3{&Frame1, "Option3"};
  platform::OptionButton Option4{&Frame1, "Option4"};
  platform::OptionButton Option5{&Frame1, "Option5"};
  platform::CommandButton cmdDone{this, "cmdDone"};
  platform::Timer Timer1{this, "Timer1"};  // one scan step per tick

  void Form_Load() override;
  void Form_KeyPress(int& KeyAscii) override;

  // Sends the frequency of txtFreq to the rig.
  void Command1_Click();
  void cmdBand_Click(int Index);
  void cmdTune_Click(int Index);
  void cmdAM_Click();
  void cmdCW_Click();
  void cmdFM_Click();
  void cmdLSB_Click();
  void cmdRTTY_Click();
  void cmdUSB_Click();
  void cmdDone_Click();
  void chkScan_Click();
  void Timer1_Timer();
  void txtFreq_Change();
  void txtFreq_KeyPress(int& KeyAscii);
  void txtFrom_KeyPress(int& KeyAscii);
  void txtTo_KeyPress(int& KeyAscii);

 private:
  void LayOutControls();
  void SendMode(const QString& mode);
  double ScanStep() const;
};

}  // namespace rig
