#include "rig/rigcontrolfrm.h"

#include "app/folders.h"
#include "app/form1.h"
#include "app/modformresize.h"
#include "platform/clock.h"
#include "platform/deadline.h"
#include "platform/design.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/optiongroups.h"
#include "platform/quotedtext.h"
#include "platform/screen.h"
#include "platform/trace.h"
#include "rig/frmfrequencytest.h"
#include "rig/globals.h"
#include "rig/rigfamily.h"
#include "rig/rigpresets.h"

#include <cmath>
#include <optional>

namespace rig {

namespace {

using F = RigFamily;

const QString SettingsFile = QStringLiteral("RigCntrl.txt");
const QString NoRig = QStringLiteral("None");
const QString NoResponse = QStringLiteral("No Response");
constexpr const char* PollingRig = "Polling Rig";
// Instead of "Polling Rig" while the rig's device is gone: what is shown is not followed.
const QString RigLostRetrying = QStringLiteral("Rig Lost, Retrying");
const QString InvalidCommSettings = QStringLiteral(
    "The comm port that you selected for rig interface is either in use, invalid or the settings that you have "
    "selected are invalid.  Please select another combination or choose None for your rig selection.");

constexpr int NoHandshaking = 0;
constexpr int RtsCtsHandshaking = 2;
constexpr int OutputDrainLimitMs = 2000;
// An adapter plugged in again is taken up within this; trying more often gains nothing.
constexpr int ReopenIntervalMs = 3000;

// The Ten Tecs whose port needs RTS/CTS handshaking.
bool UsesRtsCts(RigFamily family) { return family == F::FrontPanel || family == F::Orion; }

// A value as a fixed-length text takes it: cut to its length, or padded with blanks.
QString FixedText(const QString& text, int length) { return text.leftJustified(length, QLatin1Char(' '), true); }

// The poll timer's interval for a poll rate: half a full poll, which takes a send and a read tick.
std::optional<int> PollInterval(const QString& pollRate) {
  if (pollRate == QLatin1String("F")) return 50;
  if (pollRate == QLatin1String("M")) return 250;
  if (pollRate == QLatin1String("S")) return 1000;
  if (pollRate == QLatin1String("R")) return 5000;
  return std::nullopt;
}

// What a failed rig command tells the operator.
QString FailureText(const std::exception& error) {
  if (const auto* runtime = dynamic_cast<const platform::RuntimeError*>(&error)) return runtime->Description();
  return QString::fromLocal8Bit(error.what());
}

// The box of a rig port that fails, after the beep.
void ShowInvalidCommSettings(const QString& prompt) {
  platform::Beep();
  platform::MsgBox(prompt, platform::MsgBoxStyle::OKOnly | platform::MsgBoxStyle::Information,
                   QStringLiteral("Invalid Comm Settings."));
}

}  // namespace

RigControlfrm::RigControlfrm() : Form(QStringLiteral("RigControlfrm")) {
  SetCaption(QStringLiteral("Rig Control"));
  Move(0, 0, 9120, 6900);
  LayOutControls();

  // The design's choices, before any settings are loaded.
  chkConvToHex.SetEnabled(false);
  chkFrequency.SetValue(1);
  OptRig.SetValue(true);
  optBaud560.SetValue(true);
  optParityNone.SetValue(true);
  bits.optData8.SetValue(true);
  bits.optStop1.SetValue(true);
  optComm(0).SetValue(true);
  optPowerNone.SetValue(true);
  optPollMed.SetValue(true);
  Label2.SetVisible(false);
  Label10.SetVisible(false);
  Command2.SetEnabled(false);
  tmrGetData.SetInterval(1000);
  tmrGetData.SetEnabled(false);
  tmrReopenPort.SetInterval(ReopenIntervalMs);
  tmrReopenPort.SetEnabled(false);

  WIRE(List1, Click);
  WIRE(txtFreq, Change);
  WIRE(txtMode, Change);
  WIRE(txtFreq, GotFocus);
  WIRE(txtMode, GotFocus);
  WIRE(chkConvToHex, Click);
  WIRE(OptRig, Click);
  WIRE(OptFreq, Click);
  WIRE(OptDont, Click);
  WIRE(Command1, Click);
  WIRE(Command2, Click);
  WIRE(Command3, Click);
  WIRE(Command4, Click);
  WIRE(cmdDone, Click);
  WIRE_TIMER(tmrGetData);
  WIRE_TIMER(tmrReopenPort);
  // Every port setting stops polling; the new choice is read when polling starts again.
  for (platform::OptionButton* option : SettingsOptions()) {
    Wire(option->Click, option->Name() + QStringLiteral("_Click"), [this] { Command2_Click(); });
  }
  Wire(optComm.Click, QStringLiteral("optComm_Click"), [this](int) { Command2_Click(); });
}

void RigControlfrm::LayOutControls() {
  const auto label = [](platform::Label& control, const char* caption, double left, double top, double width) {
    control.SetCaption(QString::fromLatin1(caption));
    control.Move(left, top, width, 255);
  };
  const auto shown = [](platform::Label& control, double left, double top, double width) {
    control.SetBorderStyle(1);
    control.Move(left, top, width, 315);
  };
  using platform::DesignCaption;
  using platform::DesignOptions;

  label(Label1, "Select Rig:", 120, 120, 2280);
  List1.Move(120, 390, 2280, 4350);
  DesignCaption(Command1, "Test", 120, 4860, 1080, 420);
  DesignCaption(Command2, "End Test", 1320, 4860, 1080, 420);
  DesignCaption(cmdDone, "&Done", 120, 5400, 2280, 480);

  label(Label3, "String to read frequency:", 2520, 120, 3480);
  txtFreq.Move(2520, 390, 3480, 315);
  label(Label4, "String to read mode:", 2520, 780, 3480);
  txtMode.Move(2520, 1050, 3480, 315);
  chkConvToHex.SetCaption(QStringLiteral("Convert to Hex"));
  chkConvToHex.Move(2520, 1440, 1680, 285);
  ChkConvHex.SetCaption(QStringLiteral("Convert from Hex"));
  ChkConvHex.Move(4260, 1440, 1740, 285);
  chkFrequency.SetCaption(QStringLiteral("Use Frequency"));
  chkFrequency.Move(2520, 1800, 1680, 285);
  DesignCaption(fraModeBy, "Mode by:", 4260, 1740, 1740, 1080);
  DesignOptions({{&OptRig, "Rig"}, {&OptFreq, "Frequency"}, {&OptDont, "Don't Use"}}, 1, 1560);

  label(Label5, "Frequency:", 6120, 120, 2760);
  shown(lblFreq, 6120, 390, 2760);
  label(Label6, "Mode:", 6120, 780, 2760);
  shown(lblMode, 6120, 1050, 2760);
  label(Label7, "Should be PH or CW", 6120, 1400, 2760);
  label(Label2, PollingRig, 6120, 1740, 2760);
  Label2.SetFontBold(true);
  DesignCaption(Command3, "Change Frequency", 6120, 2100, 2760, 420);

  DesignCaption(baud.fraBaud, "Baud Rate (k):", 2520, 2940, 2280, 1140);
  DesignOptions({{&baud.optBaud12, "1.2"},
                 {&baud.optBaud24, "2.4"},
                 {&baud.optBaud48, "4.8"},
                 {&baud.optBaud96, "9.6"},
                 {&baud.optBaud144, "14.4"},
                 {&baud.optBaud192, "19.2"},
                 {&optBaud288, "28.8"},
                 {&optBaud384, "38.4"},
                 {&optBaud560, "56"}},
                3, 700);
  DesignCaption(fraParity, "Parity:", 4920, 2940, 1080, 1140);
  DesignOptions({{&optParityNone, "None"}, {&optParityOdd, "Odd"}, {&optParityEven, "Even"}}, 1, 900);
  DesignCaption(bits.fraData, "Data Bits:", 6120, 2940, 1320, 660);
  DesignOptions({{&bits.optData7, "7"}, {&bits.optData8, "8"}}, 2, 560);
  DesignCaption(bits.fraStop, "Stop Bits:", 7560, 2940, 1320, 660);
  DesignOptions({{&bits.optStop1, "1"}, {&bits.optStop2, "2"}}, 2, 560);

  DesignCaption(fraComm, "Comm Port:", 2520, 4200, 3480, 900);
  platform::DesignPortOptions(optComm, 660);
  DesignCaption(fraPower, "Connection Power:", 6120, 3720, 2760, 600);
  DesignOptions({{&optPowerNone, "None"}, {&optPowerRTS, "RTS"}, {&optPowerDTR, "DTR"}}, 3, 840);
  DesignCaption(fraPollRate, "Radio Polling Rate:", 6120, 4440, 2760, 900);
  DesignOptions(
      {{&optPollFast, "100 ms"}, {&optPollMed, "500 ms"}, {&optPollSlow, "2 Sec"}, {&optReallySlow, "10 Sec"}}, 2,
      1260);

  label(Label8, "Unprocessed data returned:", 2520, 5220, 3480);
  shown(lblUnProcess, 2520, 5490, 2400);
  DesignCaption(Command4, "Copy unprocessed data to clipboard", 5040, 5460, 3840, 420);
  Label10.SetCaption(
      QStringLiteral("Icom radio users will have to replace the 64 in the string with the ID for your particular "
                     "radio.  Please check your Icom user's manual for details."));
  Label10.SetWordWrap(true);
  Label10.Move(120, 5940, 8760, 480);

  List1.NameAfter(Label1);
  txtFreq.NameAfter(Label3);
  txtMode.NameAfter(Label4);
  lblFreq.NameAfter(Label5);
  lblMode.NameAfter(Label6);
  lblUnProcess.NameAfter(Label8);
}

RigControlfrm::OptionGroup RigControlfrm::BaudOptions() {
  OptionGroup rates = baud.RateOptions();
  rates.insert(rates.end(), {{&optBaud288, "28800"}, {&optBaud384, "38400"}, {&optBaud560, "56000"}});
  return rates;
}

RigControlfrm::OptionGroup RigControlfrm::ParityOptions() {
  return {{&optParityOdd, "O"}, {&optParityNone, "N"}, {&optParityEven, "E"}};
}

RigControlfrm::OptionGroup RigControlfrm::PowerOptions() {
  return {{&optPowerNone, "N"}, {&optPowerRTS, "R"}, {&optPowerDTR, "D"}};
}

RigControlfrm::OptionGroup RigControlfrm::PollRateOptions() {
  return {{&optPollFast, "F"}, {&optPollMed, "M"}, {&optPollSlow, "S"}, {&optReallySlow, "R"}};
}

// The options of the port settings but the port number (a control array of its own).
std::vector<platform::OptionButton*> RigControlfrm::SettingsOptions() {
  return platform::OptionsOf({BaudOptions(), ParityOptions(), bits.DataBitsOptions(), bits.StopBitsOptions(),
                              PowerOptions(), PollRateOptions()});
}

// The window and its controls follow the desktop's work area as the other windows follow the
// screen, centred on it.
void RigControlfrm::FitToWorkArea() {
  using namespace app::ModFormResize;
  FitToScreen(*this, FitRule{ScreenPlacement::Centred, FitArea::WorkArea, FontFactor::SmallerOfBoth});
}

void RigControlfrm::Form_Load() {
  platform::SkipOnError(lcRig, [this] { FitToWorkArea(); });
  try {
    for (const RigPreset& preset : RigPresets) List1.AddItem(QString::fromLatin1(preset.name));
    // Restoring the stored rig's selection must not apply its presets over the stored settings.
    LoadingSettings = 1;
    LoadRigSettings();
    LoadBandPlan();
    LoadingSettings = 0;
    KenwoodVfo = 10;
  } catch (const std::exception& error) {
    LoadingSettings = 0;
    platform::TraceError(lcRig, error);
  }
}

// The values read before a missing or damaged one stay in effect; the rest keep the design.
void RigControlfrm::LoadRigSettings() {
  try {
    platform::TypedValueReader file(SettingsFile, SettingsFile);
    BaudText = FixedText(file.Text(), 5);
    ParityCode = FixedText(file.Text(), 1);
    DataBitsCode = FixedText(file.Text(), 1);
    StopBitsCode = FixedText(file.Text(), 1);
    ModePollCommand = file.Text();
    FreqPollCommand = file.Text();
    CommSettings = file.Text();
    CommPortNumber = file.Number<std::uint8_t>();
    PowerLine = FixedText(file.Text(), 1);
    PollRate = FixedText(file.Text(), 1);
    RigType = file.Text();
    const auto convToHex = file.Number<std::int16_t>();
    const auto useFrequency = file.Number<std::int16_t>();
    const auto modeSource = file.Number<std::int16_t>();

    chkConvToHex.SetValue(convToHex);
    chkFrequency.SetValue(useFrequency);
    if (modeSource == 1) OptRig.SetValue(true);
    if (modeSource == 2) OptFreq.SetValue(true);
    if (modeSource == 3) OptDont.SetValue(true);
    txtFreq.SetText(FreqPollCommand);
    txtMode.SetText(ModePollCommand);
    int stored = -1;
    for (int index = 0; index < List1.ListCount(); ++index) {
      if (List1.List(index) == RigType) stored = index;
    }
    List1.SetListIndex(stored);
    const RigFamily family = FamilyOf(RigType);
    if (family == F::Other) chkConvToHex.SetEnabled(true);
    if (family == F::Icom) Label10.SetVisible(true);
    optComm(CommPortNumber - 1).SetValue(true);  // a port outside the ten options ends the load here
    SelectStoredOptions();
  } catch (const std::exception& error) {
    platform::TraceError(lcRig, error);
  }
}

// Each option is selected exactly when the stored code is its own.
void RigControlfrm::SelectStoredOptions() {
  const std::pair<OptionGroup, QString> stored[] = {
      {BaudOptions(), BaudText.trimmed()},    {ParityOptions(), ParityCode}, {bits.DataBitsOptions(), DataBitsCode},
      {bits.StopBitsOptions(), StopBitsCode}, {PowerOptions(), PowerLine},   {PollRateOptions(), PollRate}};
  for (const auto& [group, code] : stored) platform::SelectOnlyCode(group, code);
}

// Written aside and put in place whole: a failure leaves the file as it was.
void RigControlfrm::SaveRigSettings() {
  try {
    int modeSource = 1;
    if (OptFreq.Value()) modeSource = 2;
    if (OptDont.Value()) modeSource = 3;
    platform::QuotedTextWriter file(SettingsFile);
    for (const platform::QuotedValue& value :
         {platform::QuotedValue(BaudText), platform::QuotedValue(ParityCode), platform::QuotedValue(DataBitsCode),
          platform::QuotedValue(StopBitsCode), platform::QuotedValue(ModePollCommand),
          platform::QuotedValue(FreqPollCommand), platform::QuotedValue(CommSettings),
          platform::QuotedValue(CommPortNumber), platform::QuotedValue(PowerLine), platform::QuotedValue(PollRate),
          platform::QuotedValue(RigType), platform::QuotedValue(chkConvToHex.Value()),
          platform::QuotedValue(chkFrequency.Value()), platform::QuotedValue(modeSource)}) {
      file.WriteRecord({value});
    }
    file.Close();
  } catch (const std::exception& error) {
    platform::TraceError(lcRig, error);
  }
}

void RigControlfrm::List1_Click() {
  if (LoadingSettings == 1) return;
  Command2_Click();
  RigType = List1.Text();
  txtFreq.SetText(QString());
  txtMode.SetText(QString());
  chkConvToHex.SetValue(0);
  chkConvToHex.SetEnabled(false);
  Label10.SetVisible(false);
  ApplyPreset(RigType);
}

void RigControlfrm::ApplyPreset(const QString& rigName) {
  const RigPreset* preset = FindPreset(rigName);
  if (preset == nullptr) return;
  const auto select = [](const OptionGroup& group, const QString& code) {
    for (const CodedOption& coded : group) {
      if (coded.code == code) coded.option->SetValue(true);
    }
  };
  if (preset->baud != 0) select(BaudOptions(), QString::number(preset->baud));
  if (preset->dataBits != 0) select(bits.DataBitsOptions(), QString::number(preset->dataBits));
  if (preset->stopBits != 0) select(bits.StopBitsOptions(), QString::number(preset->stopBits));
  if (preset->parity != 0) select(ParityOptions(), QString(QLatin1Char(preset->parity)));
  txtFreq.SetText(QString::fromLatin1(preset->freqPollCommand));
  txtMode.SetText(QString::fromLatin1(preset->modePollCommand));
  chkConvToHex.SetValue(preset->commandsInHex ? 1 : 0);
  if (preset->hexChoiceOpen) chkConvToHex.SetEnabled(true);
  Label10.SetVisible(preset->icomAddressNote);
}

// Until the operator changes it, the reply is shown in hex exactly when the commands are hex.
void RigControlfrm::chkConvToHex_Click() { ChkConvHex.SetValue(chkConvToHex.Value()); }

void RigControlfrm::txtFreq_Change() { FreqPollCommand = txtFreq.Text(); }

void RigControlfrm::txtMode_Change() { ModePollCommand = txtMode.Text(); }

void RigControlfrm::txtFreq_GotFocus() { Command2_Click(); }

void RigControlfrm::txtMode_GotFocus() { Command2_Click(); }

void RigControlfrm::OptRig_Click() { ClearHeldMode(); }

void RigControlfrm::OptFreq_Click() { ClearHeldMode(); }

void RigControlfrm::OptDont_Click() { ClearHeldMode(); }

// A new mode source starts from no mode; polling goes on.
void RigControlfrm::ClearHeldMode() {
  lblMode.SetCaption(NoResponse);
  RigMode.clear();
}

void RigControlfrm::Command3_Click() {
  if (tmrGetData.Enabled()) {
    platform::ShowModalAndUnload<frmFrequencyTest>();
    return;
  }
  const QString refusal = QStringLiteral("You must be polling your rig to test this function.");
  platform::MsgBox(refusal + QStringLiteral("  Please select your rig type and click the Test command button."),
                   platform::MsgBoxStyle::OKOnly | platform::MsgBoxStyle::Information, refusal);
}

void RigControlfrm::Command4_Click() {
  platform::Clipboard::Clear();
  platform::Clipboard::SetText(lblUnProcess.Caption());
  cmdDone.SetFocus();
}

// Starts polling again with the window's choices, saves them and hides the window, which goes on
// polling.
void RigControlfrm::cmdDone_Click() {
  try {
    if (RigType != NoRig) Command1_Click();
    platform::Instance<app::Form1>().SavePref();
    SaveRigSettings();
    Hide();
  } catch (const std::exception& error) {
    platform::TraceError(lcRig, error);
  }
}

void RigControlfrm::Command1_Click() {
  try {
    StopWaitingForRigPort();
    const bool rigChosen = RigType != NoRig;
    if (rigChosen) {
      lblMode.SetCaption(NoResponse);
      lblFreq.SetCaption(NoResponse);
      Command2.SetEnabled(true);
      Label2.SetVisible(true);
      RigMode.clear();
    }
    TakeSettingsFromOptions();
    if (!rigChosen) return;
    // The Pegasus is driven through its exchange files, not a port.
    const bool pegasus = FamilyOf(RigType) == F::Pegasus;
    if (!pegasus) OpenRigPort();
    if (comComm1.PortOpen() || pegasus) {
      PollNowAndOnTimer();
      return;
    }
    Command2.SetEnabled(false);
    Label2.SetVisible(false);
    // A timer left from an earlier start would poll a closed port and tell the tuning that a rig
    // is polled.
    tmrGetData.SetEnabled(false);
  } catch (const std::exception& error) {
    platform::TraceError(lcRig, error);
  }
}

// The port number, line settings, power line and poll rate as the options show them; a setting
// without a selected option keeps its value.
void RigControlfrm::TakeSettingsFromOptions() {
  using platform::SelectedCode;
  CommPortNumber = platform::SelectedPortNumber(optComm, CommPortNumber);
  BaudText = FixedText(SelectedCode(BaudOptions(), BaudText), 5);
  ParityCode = SelectedCode(ParityOptions(), ParityCode);
  DataBitsCode = SelectedCode(bits.DataBitsOptions(), DataBitsCode);
  StopBitsCode = SelectedCode(bits.StopBitsOptions(), StopBitsCode);
  CommSettings = platform::LineSettingsText(BaudText, ParityCode, DataBitsCode, StopBitsCode);
  PowerLine = SelectedCode(PowerOptions(), PowerLine);
  PollRate = SelectedCode(PollRateOptions(), PollRate);
}

void RigControlfrm::OpenRigPort() {
  try {
    OpenRigPortAsSet();
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcRig, error);
    ReportPortRefused();
  }
}

void RigControlfrm::OpenRigPortAsSet() {
  if (comComm1.PortOpen()) comComm1.SetPortOpen(false);
  comComm1.SetCommPort(CommPortNumber);
  // Set at every opening, so a rig chosen after a Ten Tec does not keep its handshaking.
  const RigFamily family = FamilyOf(RigType);
  comComm1.SetHandshaking(UsesRtsCts(family) ? RtsCtsHandshaking : NoHandshaking);
  comComm1.SetSettings(CommSettings);
  // Both lines low through the opening: an interface powered from one comes up only after it.
  comComm1.SetDTREnable(false);
  comComm1.SetRTSEnable(false);
  comComm1.SetPortOpen(true);
  if (PowerLine == QLatin1String("R")) comComm1.SetRTSEnable(true);
  if (PowerLine == QLatin1String("D")) comComm1.SetDTREnable(true);
  if (IsBinaryYaesu(family)) comComm1.SetOutput(QString(5, QChar(0)));
  if (family == F::Orion) comComm1.SetOutput(QStringLiteral("X\r"));
}

// The operator corrects the settings in this window: at start-up it is shown, and waited on, until
// it is hidden or closed.
void RigControlfrm::ReportPortRefused() {
  ShowInvalidCommSettings(InvalidCommSettings);
  if (!Visible()) Show(platform::Modal);
}

// The port failed while the rig was polled: its device failed (pulled out, hung up), so the port
// closed by itself. The Pegasus has no port.
bool RigControlfrm::RigPortLost() const {
  return FamilyOf(RigType) != F::Pegasus && !comComm1.PortOpen() && !comComm1.DeviceFailure().isEmpty();
}

// Said once, and the port is tried again every few seconds, so that polling goes on by itself
// once the device is back. Meanwhile the rig is not followed, and the window says so.
void RigControlfrm::WaitForRigPort() {
  const QString failure = comComm1.DeviceFailure();
  platform::TraceError(lcRig, platform::RuntimeError(failure));
  tmrGetData.SetEnabled(false);
  lblFreq.SetCaption(NoResponse);
  lblMode.SetCaption(NoResponse);
  Label2.SetCaption(RigLostRetrying);
  tmrReopenPort.SetEnabled(true);
  // From the event loop, not from the poll tick: polling must go on once the rig is back, while
  // the box still waits for the operator.
  platform::AtClockTime(Widget(), platform::Now(), [this, failure] { ReportRigPortLost(failure); });
}

// A device that comes and goes while nobody is at the PC would pile up boxes: while one is open,
// the window's status alone tells of the next loss.
void RigControlfrm::ReportRigPortLost(const QString& failure) {
  if (lossShown_) return;
  lossShown_ = true;
  ShowInvalidCommSettings(InvalidCommSettings + QStringLiteral("\r\n\r\n") + failure +
                          QStringLiteral(".  The port is tried again every few seconds: polling goes on once the rig "
                                         "is back."));
  lossShown_ = false;
}

void RigControlfrm::tmrReopenPort_Timer() {
  try {
    OpenRigPortAsSet();
  } catch (const platform::RuntimeError&) {
    return;  // still gone; the loss was traced when it came
  }
  StopWaitingForRigPort();
  PollNowAndOnTimer();
}

void RigControlfrm::StopWaitingForRigPort() {
  tmrReopenPort.SetEnabled(false);
  Label2.SetCaption(QString::fromLatin1(PollingRig));
}

// One tick at once, then the timer's at the chosen rate, unless that tick found the device gone.
void RigControlfrm::PollNowAndOnTimer() {
  tmrGetData_Timer();
  if (!tmrReopenPort.Enabled()) SetPollRate();
}

void RigControlfrm::SetPollRate() {
  if (const std::optional<int> interval = PollInterval(PollRate)) tmrGetData.SetInterval(*interval);
  tmrGetData.SetEnabled(true);
}

void RigControlfrm::Command2_Click() {
  StopWaitingForRigPort();
  lblMode.SetCaption(QString());
  lblFreq.SetCaption(QString());
  lblUnProcess.SetCaption(QString());
  tmrGetData.SetEnabled(false);
  Label2.SetVisible(false);
  Command2.SetEnabled(false);
  if (comComm1.PortOpen()) comComm1.SetPortOpen(false);
}

// A binary Yaesu that is polled gets its last command; the port closes with the window.
void RigControlfrm::Form_Unload(int&) {
  platform::SkipOnError(lcRig, [this] {
    if (IsBinaryYaesu(FamilyOf(RigType)) && tmrGetData.Enabled()) comComm1.SetOutput(QString(4, QChar(0)) + QChar(0x80));
  });
  comComm1.SetPortOpen(false);
}

// Read from the program folder; without a plan no mode goes with a frequency change.
void RigControlfrm::LoadBandPlan() {
  BandPlanRows.clear();
  try {
    app::SelectProgramFolder();
    BandPlanRows = rig::LoadBandPlan(QStringLiteral("BandPlan.txt"));
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcRig, error);
  }
}

RigCommandSettings RigControlfrm::CommandSettings() const {
  return {RigType, txtFreq.Text(), txtMode.Text(), FreqPollCommand, KenwoodVfo};
}

// The poll timer, off while a change runs, doubles as the guard against a nested change: a click
// or a scan step that runs during one of its waits returns at once.
void RigControlfrm::ChangeFrequency(const double& qChangeFreq) {
  if (!tmrGetData.Enabled()) return;
  tmrGetData.SetEnabled(false);
  // The caller's value may be a slot of the spot store, which events during the waits can change.
  const double megahertz = qChangeFreq;
  try {
    // Built, and so checked, before the mode goes: a frequency the rig's command cannot carry
    // changes nothing at all.
    const FrequencyCommand command = BuildFrequencyCommand(CommandSettings(), megahertz);
    if (FamilyOf(RigType) != F::Pegasus) ReplyBuffer = comComm1.Input();  // a late poll answer is dropped
    ReplyBuffer.clear();
    QString mode;
    ChangeMode(megahertz, mode);
    WaitForOutputDrain();
    SendFrequencyCommand(command, megahertz);
    WaitForOutputDrain();
  } catch (const std::exception& error) {
    platform::TraceError(lcRig, error);
    platform::MsgBox(FailureText(error), platform::MsgBoxStyle::OKOnly, QStringLiteral("Error Changing Frequency"));
  }
  ResumePolling();
}

void RigControlfrm::SendFrequencyCommand(const FrequencyCommand& command, double megahertz) {
  for (const float pause : command.pausesMs) PauseMs(pause);
  if (command.writesPegasusFile) WritePegasusFile(megahertz, RigMode);
  if (!command.bytes.isEmpty()) comComm1.SetOutput(QString::fromLatin1(command.bytes));
}

// Polling goes on after a change, failed or not, unless End Test or a new setting stopped it
// meanwhile.
void RigControlfrm::ResumePolling() {
  if (Label2.Visible()) tmrGetData.SetEnabled(true);
}

// Sent between poll ticks when the tune panel calls it: polling goes on.
void RigControlfrm::ChangeMode(const double& qChangeFrequency, QString& ModeToChangeTo) {
  try {
    if (RigType == NoRig) return;
    if (ModeToChangeTo.isEmpty()) {
      ModeToChangeTo = BandPlanModeForFrequency(BandPlanRows, qChangeFrequency, ModeToChangeTo);
    }
    if (ModeToChangeTo.isEmpty()) {
      WaitForOutputDrain();
      return;
    }
    platform::DoEvents();
    WaitForOutputDrain();
    PauseMs(ModeCommandPauseMs);
    const QByteArray command = BuildModeCommand(CommandSettings(), ModeToChangeTo);
    if (!command.isEmpty()) comComm1.SetOutput(QString::fromLatin1(command));
    WaitForOutputDrain();
  } catch (const std::exception& error) {
    platform::TraceError(lcRig, error);
    platform::MsgBox(FailureText(error) + QLatin1Char(' ') + ModeToChangeTo, platform::MsgBoxStyle::OKOnly,
                     QStringLiteral("Error Changing Mode"));
  }
}

// Until the port has sent what it holds, at most OutputDrainLimitMs; other events run meanwhile.
// A port that cannot tell ends the wait.
void RigControlfrm::WaitForOutputDrain() {
  const auto sending = [this] {
    try {
      return comComm1.OutBufferCount() >= 1;
    } catch (const std::exception& error) {
      platform::TraceError(lcRig, error);
      return false;
    }
  };
  platform::WaitWhile(sending, platform::Now().addMSecs(OutputDrainLimitMs));
}

// The rig's time to act on one command before the next. No event runs during the pause itself,
// so nothing else reaches the port.
void RigControlfrm::PauseMs(float milliseconds) {
  platform::DoEvents();
  if (milliseconds > 0) platform::Sleep(static_cast<std::uint32_t>(std::ceil(milliseconds)));
  platform::DoEvents();
}

}  // namespace rig
