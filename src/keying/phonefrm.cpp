#include "keying/phonefrm.h"

#include "app/folders.h"
#include "app/modformresize.h"
#include "keying/cwfrm.h"
#include "keying/frmtappler.h"
#include "keying/globals.h"
#include "keying/numberboxes.h"
#include "keying/printerline.h"
#include "keying/unsavedsettings.h"
#include "logging/keyfilters.h"
#include "platform/clock.h"
#include "platform/design.h"
#include "platform/errors.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/numbertext.h"
#include "platform/quotedtext.h"
#include "platform/trace.h"
#include "platform/twips.h"

#include <utility>

namespace keying {

namespace {

constexpr int kWatchMilliseconds = 40;
constexpr int kMessageKeys = 9;  // F1 .. F9
// A player that never reports the end of a file is stopped this long after the file's length.
constexpr qint64 kPlayEndAllowanceMilliseconds = 1000;

constexpr double kRowTop = 240;
constexpr double kRowStep = 330;
constexpr double kBoxHeight = 315;

}  // namespace

PhoneFrm::PhoneFrm() : Form(QStringLiteral("PhoneFrm")) {
  SetCaption(QStringLiteral("Phone Wave Selections"));
  Move(0, 0, platform::DesignScreen.width, platform::DesignScreen.height);

  const std::array<platform::CommandButton*, kMessageKeys> browse = {&Command2, &Command3, &Command4,
                                                                     &Command5, &Command6, &Command7,
                                                                     &Command8, &Command9, &Command10};
  const std::array<platform::TextBox*, kMessageKeys> files = FileBoxes();
  for (int row = 0; row < kMessageKeys; ++row) {
    const double top = kRowTop + kRowStep * row;
    platform::Label& key = lblFKey.Add(row);
    platform::DesignCaption(key, QStringLiteral("F%1").arg(row + 1), 240, top + 30, 480, 255);
    files[row]->Move(720, top, 6960, kBoxHeight);
    files[row]->NameAfter(key);
    files[row]->SetAccessibleDescription(QStringLiteral("The key's wave file"));
    platform::DesignCaption(*browse[row], "Browse", 7800, top, 1320, kBoxHeight);
    browse[row]->SetAccessibleDescription(QStringLiteral("Browse for the %1 wave file").arg(key.Caption()));
  }

  const double settingsTop = kRowTop + kRowStep * kMessageKeys + 120;
  platform::DesignCaption(lblComPort, "Com Port (0 for none)", 240, settingsTop + 30, 1800, 255);
  Text10.SetText(QStringLiteral("0"));
  Text10.Move(2100, settingsTop, 600, kBoxHeight);
  platform::DesignCaption(Option1, "RTS", 2880, settingsTop, 840, 285);
  platform::DesignCaption(Option2, "DTR", 3780, settingsTop, 840, 285);
  platform::DesignCaption(Option3, "Parallel", 4680, settingsTop, 1080, 285);
  Option1.SetValue(true);
  platform::DesignCaption(lblPrinterPort, "Printer Port", 5880, settingsTop + 30, 1080, 255);
  Text11.SetText(QStringLiteral("&H378"));
  Text11.Move(7020, settingsTop, 900, kBoxHeight);
  Text10.NameAfter(lblComPort);
  Text11.NameAfter(lblPrinterPort);

  const double loopTop = settingsTop + 480;
  platform::DesignCaption(lblLoop, "Loop (Sec)", 240, loopTop + 30, 1800, 255);
  txtPHLoop.SetText(QStringLiteral("0"));
  txtPHLoop.Move(2100, loopTop, 600, kBoxHeight);
  txtPHLoop.NameAfter(lblLoop);
  platform::DesignCaption(Command11, "Test", 2880, loopTop, 1080, 375);
  platform::DesignCaption(lblTest, "Plays F1 Command", 4020, loopTop + 60, 1680, 255);
  platform::DesignCaption(Command12, "Stop", 5760, loopTop, 1080, 375);
  Command12.SetVisible(false);
  platform::DesignCaption(Command1, "Done", 8040, loopTop, 1080, 375);

  const double helpTop = loopTop + 540;
  platform::DesignCaption(lblCaution, "Caution, RF feedback can damage your PC!", 240, helpTop, 9120, 255);
  lblCaution.SetFontBold(true);
  platform::DesignCaption(lblPhoneMode, "From the main form click Settings, Transmit, Select Mode, Phone.", 240,
                          helpTop + 270, 9120, 255);
  platform::DesignCaption(lblKeying,
                          "When playing the wave file, you can key your transmitter manually, use VOX, or an "
                          "interface connected to your PC's serial or parallel (printer) port.  To use the serial "
                          "port, please enter the valid comm setting (or 0 for none) and select whether you want to "
                          "use the RTS or DTR line to key your radio.",
                          240, helpTop + 540, 9120, 600);
  platform::DesignCaption(lblSetupTitle, "Setup:", 240, helpTop + 1170, 1200, 255);
  lblSetupTitle.SetFontBold(true);
  platform::DesignCaption(lblSetup,
                          "Record each message with a sound recorder and save it as a wave file.  Set the sound "
                          "card's output level so that the transmitter is not overdriven.",
                          240, helpTop + 1410, 9120, 420);
  platform::DesignCaption(lblToUseTitle, "To Use:", 240, helpTop + 1860, 1200, 255);
  lblToUseTitle.SetFontBold(true);
  platform::DesignCaption(lblToUse,
                          "Browse for one file per function key.  In phone mode, F1 to F9 on the main form play "
                          "their files; a loop time above 0 repeats the F1 message until a key is pressed.",
                          240, helpTop + 2100, 9120, 420);

  Timer1.SetInterval(kWatchMilliseconds);
  Timer1.SetEnabled(false);
  tmrRepeat.SetInterval(0);
  tmrRepeat.SetEnabled(false);

  WIRE(Command1, Click);
  WIRE(Command2, Click);
  WIRE(Command3, Click);
  WIRE(Command4, Click);
  WIRE(Command5, Click);
  WIRE(Command6, Click);
  WIRE(Command7, Click);
  WIRE(Command8, Click);
  WIRE(Command9, Click);
  WIRE(Command10, Click);
  WIRE(Command11, Click);
  WIRE(Command12, Click);
  WIRE(Text10, GotFocus);
  WIRE(Text10, LostFocus);
  WIRE(Text11, KeyPress);
  WIRE(txtPHLoop, KeyPress);
  WIRE(txtPHLoop, LostFocus);
  WIRE_TIMER(Timer1);
  WIRE_TIMER(tmrRepeat);
}

std::array<platform::TextBox*, 9> PhoneFrm::FileBoxes() {
  return {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6, &Text7, &Text8, &Text9};
}

void PhoneFrm::Form_Load() {
  platform::SkipOnError(lcKeying, [this] {
    using namespace app::ModFormResize;
    FitToScreen(*this, FitRule{ScreenPlacement::Centred, FitArea::WorkArea, FontFactor::ScreenWidthAtMost1_5});
  });
}

// A window closed while it plays takes the push-to-talk down with its player.
void PhoneFrm::Form_Unload(int&) {
  MMControl1.Command(QStringLiteral("Close"));
  ReleasePushToTalk();
}

void PhoneFrm::FKeyPhone(int& KeyCode) {
  if (KeyCode < platform::KeyF1 || KeyCode >= platform::KeyF1 + kMessageKeys) return;
  try {
    MMControl1.DeviceType = QStringLiteral("WaveAudio");
    MMControl1.Command(QStringLiteral("Close"));
    if (KeyCode == platform::KeyF1 && NumberIn(txtPHLoop) > 0) PhoneRepeat = 1;
    MMControl1.FileName = FileBoxes()[KeyCode - platform::KeyF1]->Text();
    if (MMControl1.FileName.trimmed().isEmpty()) return;
    KeyPushToTalk();
    try {
      MMControl1.Command(QStringLiteral("Open"));
      MMControl1.Command(QStringLiteral("play"));
    } catch (const platform::RuntimeError& error) {
      // A file that cannot be played is not playing: the watch's first tick releases the line.
      platform::TraceError(lcKeying, error);
    }
    playDeadline_ = platform::Now().addMSecs(MMControl1.Length() + kPlayEndAllowanceMilliseconds);
    Timer1.SetEnabled(true);
  } catch (const std::exception& error) {
    platform::TraceError(lcKeying, error);
    ReleasePushToTalk();
  }
}

// A line is noted before it is raised, so that a failure half-way still releases it.
void PhoneFrm::KeyPushToTalk() {
  if (NumberIn(Text10) > 0) {
    if (!CommPhone.PortOpen()) PhoneSetup();
    if (Option2.Value()) {
      keyed_.dtr = true;
      CommPhone.SetDTREnable(true);
    } else {
      keyed_.rts = true;
      CommPhone.SetRTSEnable(true);
    }
  }
  if (Option3.Value()) {
    const std::int32_t controlRegister = PrinterControlRegister(Text11);
    keyed_.printerRegister = controlRegister;
    KeyPrinterLine(controlRegister, true);
  }
}

void PhoneFrm::ReleasePushToTalk() {
  const KeyedLines lines = std::exchange(keyed_, KeyedLines{});
  if (lines.dtr) platform::SkipOnError(lcKeying, [this] { CommPhone.SetDTREnable(false); });
  if (lines.rts) platform::SkipOnError(lcKeying, [this] { CommPhone.SetRTSEnable(false); });
  if (lines.printerRegister) {
    platform::SkipOnError(lcKeying, [&lines] { KeyPrinterLine(*lines.printerRegister, false); });
  }
}

// The end of a playback, its failure, or a player that never reports the end.
void PhoneFrm::Timer1_Timer() {
  if (MMControl1.Mode() == platform::MciModePlay) {
    if (platform::Now() < playDeadline_) return;
    platform::SkipOnError(lcKeying, [this] { MMControl1.Command(QStringLiteral("Stop")); });
  }
  Timer1.SetEnabled(false);
  ReleasePushToTalk();
  if (PhoneRepeat == 1) tmrRepeat.SetEnabled(true);
}

// The pause runs from the end of one playback to the start of the next.
void PhoneFrm::tmrRepeat_Timer() {
  tmrRepeat.SetEnabled(false);
  int keyCode = platform::KeyF1;
  FKeyPhone(keyCode);
}

// Opening the push-to-talk port takes it from the keyer device and the CW window.
void PhoneFrm::PhoneSetup() {
  try {
    if (!(NumberIn(Text10) > 0)) return;
    if (TPVersion != 0) platform::Instance<frmTappler>().cmdCloseTappler_Click();
    if (platform::IsLoaded<CWFrm>()) {
      platform::SerialControl& cwPort = platform::Instance<CWFrm>().Comm;
      if (cwPort.PortOpen()) cwPort.SetPortOpen(false);
    }
    if (CommPhone.PortOpen()) CommPhone.SetPortOpen(false);
    CommPhone.SetCommPort(platform::WholeOfNumberText(Text10.Text()));
    CommPhone.SetDTREnable(false);
    CommPhone.SetRTSEnable(false);
    CommPhone.SetPortOpen(true);
  } catch (const std::exception& error) {
    platform::TraceError(lcKeying, error);
    platform::Beep();
    platform::MsgBox(QStringLiteral("The port you have selected for Phone keying is invalid.  Please select another "
                                    "or enter 0 for none."),
                     platform::MsgBoxStyle::Information, QStringLiteral("Invalid port."));
    if (!Visible()) Show(platform::Modal);
  }
}

// The window hides whether or not the file is written; a failure leaves the old file whole.
void PhoneFrm::Command1_Click() {
  Hide();
  try {
    SaveVoiceSettings();
  } catch (const platform::RuntimeError& error) {
    ReportUnsavedSettings(QStringLiteral("voice"), error);
  }
}

// The start-up reads the file back in this order.
void PhoneFrm::SaveVoiceSettings() {
  app::SelectProgramFolder();
  platform::QuotedTextWriter file(QStringLiteral("wave2.txt"));
  for (const platform::TextBox* wave : FileBoxes()) file.WriteRecord({wave->Text().trimmed()});
  const std::int16_t pushToTalkLine = Option2.Value() ? 1 : Option3.Value() ? 2 : 0;
  file.WriteRecord({Text10.Text()});
  file.WriteRecord({pushToTalkLine});
  file.WriteRecord({txtPHLoop.Text()});
  file.WriteRecord({Text11.Text()});
  file.Close();
}

void PhoneFrm::Command2_Click() { Browse(Text1); }
void PhoneFrm::Command3_Click() { Browse(Text2); }
void PhoneFrm::Command4_Click() { Browse(Text3); }
void PhoneFrm::Command5_Click() { Browse(Text4); }
void PhoneFrm::Command6_Click() { Browse(Text5); }
void PhoneFrm::Command7_Click() { Browse(Text6); }
void PhoneFrm::Command8_Click() { Browse(Text7); }
void PhoneFrm::Command9_Click() { Browse(Text8); }
void PhoneFrm::Command10_Click() { Browse(Text9); }

// The dialog may leave another folder current; the program's files are found by plain name.
void PhoneFrm::Browse(platform::TextBox& file) {
  try {
    cdbFile.CancelError = true;
    cdbFile.Filter = QStringLiteral("(*.wav)|*.wav");
    cdbFile.FileName.clear();
    cdbFile.FilterIndex = 1;
    cdbFile.ShowOpen();
    file.SetText(cdbFile.FileName);
    app::SelectProgramFolder();
    Command1.SetFocus();
  } catch (const std::exception& error) {
    platform::TraceError(lcKeying, error);
    platform::Beep();
  }
}

void PhoneFrm::Command11_Click() {
  int keyCode = platform::KeyF1;
  FKeyPhone(keyCode);
  if (Visible()) Command1.SetFocus();
  if (PhoneRepeat == 1) Command12.SetVisible(true);
}

// Stop ends the cycle even in a pause, where the waiting replay would arm the repeat again.
void PhoneFrm::Command12_Click() {
  PhoneRepeat = 0;
  tmrRepeat.SetEnabled(false);
  Command12.SetVisible(false);
}

void PhoneFrm::Text10_GotFocus() { SelectAll(Text10); }

void PhoneFrm::Text10_LostFocus() {
  if (!HoldsNumber(Text10)) Text10.SetText(QStringLiteral("0"));
  PhoneSetup();
}

void PhoneFrm::Text11_KeyPress(int& KeyAscii) {
  if (KeyAscii == '"') {
    KeyAscii = 0;
    return;
  }
  logging::Capital(KeyAscii);
}

void PhoneFrm::txtPHLoop_KeyPress(int& KeyAscii) { RepeatPauseKey(KeyAscii); }

void PhoneFrm::txtPHLoop_LostFocus() { TakeRepeatPause(txtPHLoop, tmrRepeat); }

}  // namespace keying
