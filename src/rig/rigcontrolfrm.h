#pragma once

#include "platform/controlarray.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/optiongroups.h"
#include "platform/serialoptions.h"
#include "platform/serialcontrol.h"
#include "platform/timer.h"
#include "rig/bandplan.h"
#include "rig/replyparsers.h"
#include "rig/rigcommands.h"
#include "rig/rigfamily.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace rig {

// The rig control window: the rig, its port settings, the commands that poll its frequency and
// mode, and what is done with the answers. It stays loaded, and keeps polling, while hidden.
class RigControlfrm : public platform::Form {
 public:
  RigControlfrm();

  // The window's state, shared by the poll loop and the rig commands.
  QString BaudText;         // 5 characters, the rate's digits padded with blanks
  QString ParityCode;       // "N", "E" or "O"
  QString DataBitsCode;     // "7" or "8"
  QString StopBitsCode;     // "1" or "2"
  QString ModePollCommand;  // always the text of txtMode
  QString FreqPollCommand;  // always the text of txtFreq
  QString CommSettings;     // "4800,N,8,2", as handed to the port
  std::uint8_t CommPortNumber = 0;
  QString PowerLine;  // the line that powers the rig interface: "N" none, "R" RTS, "D" DTR
  QString PollRate;   // "F", "M", "S" or "R"
  std::uint8_t LoadingSettings = 0;  // 1 while the load restores the settings
  QString ReplyBuffer;               // the rig's reply on the current read tick
  double RigFrequency = 0;           // MHz, as last polled, to the unit the rig told
  QString RigMode;                   // "PH", "CW" or empty when not known
  std::uint8_t PollModeNext = 0;     // which poll command goes next
  std::uint8_t AwaitingReply = 0;    // send or read phase of the poll loop
  std::uint8_t KenwoodVfo = 0;       // VFO of the last "IF;" answer; 10 not known
  std::vector<BandPlanRow> BandPlanRows;  // the band plan's "E" rows, read at every load

  platform::Label Label1{this, "Label1"};
  platform::ListBox List1{this, "List1"};
  platform::Label Label3{this, "Label3"};
  platform::TextBox txtFreq{this, "txtFreq"};
  platform::Label Label4{this, "Label4"};
  platform::TextBox txtMode{this, "txtMode"};
  platform::CheckBox chkConvToHex{this, "chkConvToHex"};
  platform::CheckBox ChkConvHex{this, "ChkConvHex"};
  platform::CheckBox chkFrequency{this, "chkFrequency"};

  platform::Frame fraModeBy{this, "fraModeBy"};
  platform::OptionButton OptRig{&fraModeBy, "OptRig"};
  platform::OptionButton OptFreq{&fraModeBy, "OptFreq"};
  platform::OptionButton OptDont{&fraModeBy, "OptDont"};

  platform::BaudRateOptions baud{this};
  platform::OptionButton optBaud288{&baud.fraBaud, "optBaud288"};
  platform::OptionButton optBaud384{&baud.fraBaud, "optBaud384"};
  platform::OptionButton optBaud560{&baud.fraBaud, "optBaud560"};

  platform::Frame fraParity{this, "fraParity"};
  platform::OptionButton optParityNone{&fraParity, "optParityNone"};
  platform::OptionButton optParityOdd{&fraParity, "optParityOdd"};
  platform::OptionButton optParityEven{&fraParity, "optParityEven"};

  platform::DataAndStopBitOptions bits{this};

  platform::Frame fraComm{this, "fraComm"};
  platform::ControlArray<platform::OptionButton> optComm{&fraComm, "optComm"};  // index i: port i + 1

  platform::Frame fraPower{this, "fraPower"};
  platform::OptionButton optPowerNone{&fraPower, "optPowerNone"};
  platform::OptionButton optPowerRTS{&fraPower, "optPowerRTS"};
  platform::OptionButton optPowerDTR{&fraPower, "optPowerDTR"};

  platform::Frame fraPollRate{this, "fraPollRate"};
  platform::OptionButton optPollFast{&fraPollRate, "optPollFast"};
  platform::OptionButton optPollMed{&fraPollRate, "optPollMed"};
  platform::OptionButton optPollSlow{&fraPollRate, "optPollSlow"};
  platform::OptionButton optReallySlow{&fraPollRate, "optReallySlow"};

  platform::Label Label5{this, "Label5"};
  platform::Label lblFreq{this, "lblFreq"};
  platform::Label Label6{this, "Label6"};
  platform::Label lblMode{this, "lblMode"};
  platform::Label Label7{this, "Label7"};
  platform::Label Label2{this, "Label2"};  // "Polling Rig"
  platform::Label Label8{this, "Label8"};
  platform::Label lblUnProcess{this, "lblUnProcess"};
  platform::Label Label10{this, "Label10"};  // the note on the Icom address

  platform::CommandButton Command1{this, "Command1"};  // Test
  platform::CommandButton Command2{this, "Command2"};  // End Test
  platform::CommandButton Command3{this, "Command3"};  // Change Frequency
  platform::CommandButton Command4{this, "Command4"};  // copy the unprocessed data
  platform::CommandButton cmdDone{this, "cmdDone"};

  platform::SerialControl comComm1;
  platform::Timer tmrGetData{this, "tmrGetData"};
  platform::Timer tmrReopenPort{this, "tmrReopenPort"};  // while the rig's device is gone

  void Form_Load() override;
  void Form_Unload(int& Cancel) override;

  void LoadRigSettings();
  void SaveRigSettings();

  // Opens the rig's port with the window's settings and starts polling.
  void Command1_Click();
  // Stops polling and closes the port.
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void cmdDone_Click();
  void List1_Click();
  void chkConvToHex_Click();
  void txtFreq_Change();
  void txtMode_Change();
  void txtFreq_GotFocus();
  void txtMode_GotFocus();
  void OptRig_Click();
  void OptFreq_Click();
  void OptDont_Click();
  // The poll loop, in rigpollloop.cpp.
  void tmrGetData_Timer();
  // Tries the port of a rig whose device has gone; polling goes on once it opens.
  void tmrReopenPort_Timer();
  // The logging mode of the sub-band RigFrequency lies in; outside them RigMode stays.
  void ModeFromFrequency();

  // Tunes the polled rig to a frequency in MHz; does nothing while no rig is polled.
  void ChangeFrequency(const double& qChangeFreq);
  // Switches the rig to a mode; an empty mode takes the band plan's mode for the frequency.
  void ChangeMode(const double& qChangeFrequency, QString& ModeToChangeTo);

 private:
  using CodedOption = platform::CodedOption;
  using OptionGroup = platform::OptionGroup;

  OptionGroup BaudOptions();
  OptionGroup ParityOptions();
  OptionGroup PowerOptions();
  OptionGroup PollRateOptions();
  std::vector<platform::OptionButton*> SettingsOptions();

  void LayOutControls();
  void FitToWorkArea();
  void ApplyPreset(const QString& rigName);
  void SelectStoredOptions();
  void TakeSettingsFromOptions();
  void OpenRigPort();
  void OpenRigPortAsSet();
  void ReportPortRefused();
  bool RigPortLost() const;
  void WaitForRigPort();
  void ReportRigPortLost(const QString& failure);
  void StopWaitingForRigPort();
  void PollNowAndOnTimer();
  void SetPollRate();
  void ClearHeldMode();
  void LoadBandPlan();
  RigCommandSettings CommandSettings() const;
  void SendFrequencyCommand(const FrequencyCommand& command, double megahertz);
  void ResumePolling();
  void WaitForOutputDrain();
  void PauseMs(float milliseconds);

  // The poll loop's steps, in rigpollloop.cpp.
  void SendTick();
  void WritePollCommands();
  void WriteOneCommandAlternately(int minimumLength, const std::function<void(const QString&)>& write);
  void ReadTick();
  void ParseReply(RigFamily family);
  void TakeReading(const RigReading& reading);
  void ShowReading();
  void HandOnToMainWindow();

  QString lastTickFault_;  // traced once, until a tick runs through again
  bool lossShown_ = false;  // the box of a lost rig port is open
};

}  // namespace rig
