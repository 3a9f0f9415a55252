#include "keying/frmtappler.h"

#include "app/globals.h"
#include "app/modformresize.h"
#include "keyerlib/serialportpath.h"
#include "keying/cwfrm.h"
#include "keying/globals.h"
#include "keying/numberboxes.h"
#include "keying/phonefrm.h"
#include "keying/tapplinkloader.h"
#include "keying/unsavedsettings.h"
#include "logging/keyfilters.h"
#include "platform/clock.h"
#include "platform/design.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/numbertext.h"
#include "platform/paths.h"
#include "platform/quotedtext.h"
#include "platform/screen.h"
#include "platform/trace.h"
#include "platform/twips.h"

#include <cerrno>
#include <optional>

namespace keying {

namespace {

constexpr double kBoxHeight = 285;
constexpr double kLabelHeight = 240;
constexpr double kButtonHeight = 375;
constexpr double kRowStep = 360;
constexpr double kBoxLeft = 1200;
constexpr double kHelpLeft = 1920;
constexpr double kButtonLeft = 7560;

// The device holds text while its status is above this; at most one character goes per pause.
constexpr std::int32_t kDeviceReadyStatus = 4;
constexpr std::uint32_t kCharacterPauseMs = 10;
// A device that takes no character for this long takes no text: the sending stops.
constexpr std::uint32_t kNoProgressLimitMs = 10'000;

constexpr std::uint8_t kModeIambicB = 0x00;
constexpr std::uint8_t kModeIambicA = 0x10;
constexpr std::uint8_t kModeUltimatic = 0x20;
constexpr std::uint8_t kModeBug = 0x30;
constexpr std::uint8_t kPinKey5Off3Out = 4;
constexpr std::uint8_t kPinPTT = 5;
constexpr std::uint8_t kPinTone = 6;
constexpr std::uint8_t kPinKey5Out3Off = 8;

const QString kSettingsFileName = QStringLiteral("TP.txt");
const QString kDefaultSpeed = QStringLiteral("18");
const QString kDefaultWeight = QStringLiteral("50");
const QString kDefaultRatio = QStringLiteral("50");
const QString kDefaultPttTime = QStringLiteral("0");
const QString kVersionCaption = QStringLiteral("Version #");

QString SettingsPath() { return app::DataFolder + QStringLiteral("\\") + kSettingsFileName; }

QString PortDevice() { return QString::fromStdString(tapplink::SerialPortPath(TPPort)); }

QString OpenResultText(std::int32_t result) {
  switch (result) {
    case 0: return QStringLiteral("TP Success!");
    case -1: return QStringLiteral("No Echo Response");
    case -2: return QStringLiteral("Echo Mismatch");
    case -3: return QStringLiteral("No Open Response");
    case -4: return QStringLiteral("Com Open Failed");
    case -5: return QStringLiteral("Get Com ST Failed");
    case -6: return QStringLiteral("Set Com ST Failed");
    case -8: return QStringLiteral("TP Already Open");
    case -9: return QStringLiteral("TP Not Open");
    default: return {};
  }
}

constexpr std::int32_t kAlreadyOpen = -8;
constexpr std::int32_t kNotOpen = -9;

// Opening the port itself failed (-4 to -6): the library left the system's reason for it.
bool IsPortOpenFailure(std::int32_t result) { return result <= -4 && result >= -6; }

// The connection box, with the device and the system's reason where there is one.
QString ConnectionFailureText(int reason) {
  const QString text = QStringLiteral("Unable to establish connection with Tappler on com port %1.  Please check to make "
                                      "sure that you have specified the correct port and that the Tappler device is "
                                      "properly connected.")
                           .arg(static_cast<int>(TPPort));
  if (reason == 0) return text;
  return text + QStringLiteral("\r\n\r\n%1: %2").arg(PortDevice(), qt_error_string(reason));
}

void ClosePortOf(platform::SerialControl& port) {
  if (port.PortOpen()) port.SetPortOpen(false);
}

// Sends the box's value when it is a number from least to most; a box that holds no number, or
// one that does not fit a byte, gets its default back. The device hears of it only while the
// library is loaded: a library never loaded has no device open.
void CheckRangedBox(platform::TextBox& box, double least, double most, const QString& fallback,
                    std::int32_t (*send)(std::int32_t)) {
  const std::optional<double> value = platform::ValOfNumberText(box.Text());
  if (value && (*value < least || *value > most)) return;
  const std::optional<std::uint8_t> byte = ByteIn(box);
  if (!byte) {
    box.SetText(fallback);
    return;
  }
  if (TapplinkLoaded()) send(*byte);
}

void DesignBox(platform::TextBox& box, const char* text, double top) {
  box.SetText(QString::fromLatin1(text));
  box.Move(kBoxLeft, top, 600, kBoxHeight);
}

void DesignLabel(platform::Label& label, const char* caption, double left, double top, double width) {
  platform::DesignCaption(label, QString::fromLatin1(caption), left, top, width, kLabelHeight);
}

}  // namespace

frmTappler::frmTappler() : Form(QStringLiteral("frmTappler")) {
  SetCaption(QStringLiteral(" Tappler Setup"));
  Move(0, 0, 9060, 6480);

  DesignLabel(lblSettings, "Settings:", 120, 120, 1500);
  const double firstRow = 480;
  DesignLabel(lblComPort, "Com Port:", 120, firstRow + 30, 1020);
  DesignBox(txtTPComPort, "5", firstRow);
  DesignLabel(lblWPM, "WPM:", 120, firstRow + kRowStep + 30, 1020);
  DesignBox(txtTPWPM, "18", firstRow + kRowStep);
  DesignLabel(lblWeight, "Weight:", 120, firstRow + 2 * kRowStep + 30, 1020);
  DesignBox(txtWeight, "50", firstRow + 2 * kRowStep);
  DesignLabel(lblWeightHelp, "Proportional amount added or subtracted (50 is standard).", kHelpLeft,
              firstRow + 2 * kRowStep + 30, 5520);
  DesignLabel(lblRatio, "Ratio:", 120, firstRow + 3 * kRowStep + 30, 1020);
  DesignBox(txtRatio, "50", firstRow + 3 * kRowStep);
  DesignLabel(lblRatioHelp, "Ratio of dits to dahs (Range: 33 - 66).", kHelpLeft, firstRow + 3 * kRowStep + 30, 5520);
  DesignLabel(lblLeadIn, "Lead In:", 120, firstRow + 4 * kRowStep + 30, 1020);
  DesignBox(txtLeadIn, "0", firstRow + 4 * kRowStep);
  DesignLabel(lblLeadInHelp, "Lead in time for transmitter (10 ms increments).", kHelpLeft,
              firstRow + 4 * kRowStep + 30, 5520);
  DesignLabel(lblTail, "Tail:", 120, firstRow + 5 * kRowStep + 30, 1020);
  DesignBox(txtTail, "0", firstRow + 5 * kRowStep);
  DesignLabel(lblTailHelp, "Tail time after keying has stopped (10 ms increments).", kHelpLeft,
              firstRow + 5 * kRowStep + 30, 5520);

  const double framesTop = 2760;
  for (const auto& [box, label] : {std::pair{&txtTPComPort, &lblComPort}, std::pair{&txtTPWPM, &lblWPM},
                                   std::pair{&txtWeight, &lblWeight}, std::pair{&txtRatio, &lblRatio},
                                   std::pair{&txtLeadIn, &lblLeadIn}, std::pair{&txtTail, &lblTail}}) {
    box->NameAfter(*label);
  }
  // The help beside a box says what its number means.
  for (const auto& [box, help] : {std::pair{&txtWeight, &lblWeightHelp}, std::pair{&txtRatio, &lblRatioHelp},
                                  std::pair{&txtLeadIn, &lblLeadInHelp}, std::pair{&txtTail, &lblTailHelp}}) {
    box->SetAccessibleDescription(help->Caption());
  }

  platform::DesignCaption(fraMode, "Keyer Mode", 120, framesTop, 2400, 1500);
  platform::DesignCaption(fraPin5, "Pin 5 Configuration", 2640, framesTop, 2760, 1500);
  int row = 0;
  for (auto [option, caption] : {std::pair{&optIambicB, "Iambic B"}, {&optIambicA, "Iambic A"},
                                 {&optUltimatic, "Ultimatic"}, {&optBug, "Bug Keyer"}}) {
    platform::DesignCaption(*option, QString::fromLatin1(caption), 120, 270 + 300.0 * row++, 2160, kBoxHeight);
  }
  row = 0;
  for (auto [option, caption] : {std::pair{&optKey5Off3Out, "P5 Off, P3 Key Out"}, {&optPTT, "PTT"},
                                 {&optTone, "Tone"}, {&optKey5Out3Off, "P5 Key Out, P3 Off"}}) {
    platform::DesignCaption(*option, QString::fromLatin1(caption), 120, 270 + 300.0 * row++, 2520, kBoxHeight);
  }
  optIambicB.SetValue(true);
  optTone.SetValue(true);

  DesignLabel(lblStatus, "Tappler Status:", 120, 4380, 1500);
  DesignLabel(lblOpenStatus, "Closed", 1680, 4380, 2400);
  DesignLabel(lblVersionCaption, "Tappler Version:", 120, 4680, 1500);
  DesignLabel(lblVersion, "Version #", 1680, 4680, 2400);
  lblOpenStatus.NameAfter(lblStatus);
  lblVersion.NameAfter(lblVersionCaption);

  platform::DesignCaption(cmdOpenTappler, "Open", kButtonLeft, 480, 1260, kButtonHeight);
  platform::DesignCaption(cmdCloseTappler, "Close", kButtonLeft, 960, 1260, kButtonHeight);
  platform::DesignCaption(cmdStop, "Stop", kButtonLeft, 1440, 1260, kButtonHeight);
  platform::DesignCaption(Command3, "Test", kButtonLeft, 1920, 1260, kButtonHeight);
  platform::DesignCaption(Command1, "Buffer Test", kButtonLeft, 2400, 1260, kButtonHeight);
  Text1.Move(120, 5100, 7320, kBoxHeight);
  Text1.SetAccessibleName(QStringLiteral("Keyboard sending"));
  DesignLabel(lblArrows, "Up / down arrows from main form change speeds.", 120, 5520, 5280);
  platform::DesignCaption(cmdDone, "&Done", kButtonLeft, 5040, 1260, kButtonHeight);

  WIRE(cmdOpenTappler, Click);
  WIRE(cmdCloseTappler, Click);
  WIRE(cmdStop, Click);
  WIRE(Command3, Click);
  WIRE(Command1, Click);
  WIRE(cmdDone, Click);
  WIRE(Text1, KeyPress);
  WIRE(optIambicB, Click);
  WIRE(optIambicA, Click);
  WIRE(optUltimatic, Click);
  WIRE(optBug, Click);
  WIRE(optKey5Off3Out, Click);
  WIRE(optPTT, Click);
  WIRE(optTone, Click);
  WIRE(optKey5Out3Off, Click);
  WIRE(txtTPComPort, KeyPress);
  WIRE(txtTPWPM, KeyPress);
  WIRE(txtWeight, KeyPress);
  WIRE(txtRatio, KeyPress);
  WIRE(txtLeadIn, KeyPress);
  WIRE(txtTail, KeyPress);
  WIRE(txtTPComPort, LostFocus);
  WIRE(txtTPWPM, LostFocus);
  WIRE(txtWeight, LostFocus);
  WIRE(txtRatio, LostFocus);
  WIRE(txtLeadIn, LostFocus);
  WIRE(txtTail, LostFocus);
}

// The settings of the last Done; the CW window's speed wins over the stored one.
void frmTappler::Form_Load() {
  app::ModFormResize::ResizeControls(*this, static_cast<float>(platform::Screen::Width()),
                                     static_cast<float>(platform::Screen::Height()), platform::DesignScreen.width,
                                     platform::DesignScreen.height, 0, 1.0F, QStringLiteral("Arial"));
  TPPinConfig = kPinTone;
  TPMode = kModeIambicB;
  try {
    if (platform::FileExists(SettingsPath())) LoadSettings();
    txtTPWPM.SetText(platform::Instance<CWFrm>().Text11.Text());
    txtTPComPort.SetText(QString::number(static_cast<int>(TPPort)));
    SelectLoadedOptions();
  } catch (const std::exception& error) {
    platform::TraceError(lcKeying, error);
  }
}

// The last two values came later: a file without them keeps the defaults.
void frmTappler::LoadSettings() {
  platform::TypedValueReader file(SettingsPath(), kSettingsFileName);
  TPPort = file.Number<std::uint8_t>();
  for (platform::TextBox* box : {&txtTPWPM, &txtWeight, &txtLeadIn, &txtTail, &txtRatio}) box->SetText(file.Text());
  if (file.AtEnd()) return;
  TPPinConfig = file.Number<std::uint8_t>();
  if (file.AtEnd()) return;
  TPMode = file.Number<std::uint8_t>();
}

void frmTappler::SelectLoadedOptions() {
  for (auto [option, pin] : {std::pair{&optPTT, kPinPTT}, {&optTone, kPinTone}, {&optKey5Off3Out, kPinKey5Off3Out},
                             {&optKey5Out3Off, kPinKey5Out3Off}}) {
    if (TPPinConfig == pin) option->SetValue(true);
  }
  for (auto [option, mode] : {std::pair{&optIambicA, kModeIambicA}, {&optIambicB, kModeIambicB},
                              {&optUltimatic, kModeUltimatic}, {&optBug, kModeBug}}) {
    if (TPMode == mode) option->SetValue(true);
  }
}

// Only the open path reports a library that cannot be loaded.
void frmTappler::cmdOpenTappler_Click() {
  try {
    if (platform::IsLoaded<PhoneFrm>()) ClosePortOf(platform::Instance<PhoneFrm>().CommPhone);
    if (platform::IsLoaded<CWFrm>()) ClosePortOf(platform::Instance<CWFrm>().Comm);
    std::uint8_t version = 0;
    const std::int32_t result = tp_open(&version, TPPort);
    const int reason = IsPortOpenFailure(result) ? errno : portFailure_;
    portFailure_ = 0;
    if (result != kAlreadyOpen && version == 0) {
      platform::MsgBox(ConnectionFailureText(reason), platform::MsgBoxStyle::OKOnly,
                       QStringLiteral("Unable to establish connection with Tappler."));
    }
    const QString resultText = OpenResultText(result);
    if (!resultText.isEmpty()) lblOpenStatus.SetCaption(resultText);
    if (result == kAlreadyOpen) return;
    SendPinAndMode();
    if (version != 0) {
      TPVersion = version;
      lblVersion.SetCaption(kVersionCaption + QStringLiteral(" ") + QString::number(static_cast<int>(version)));
    }
    FocusDoneWhenShown();
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcKeying, error);
    platform::MsgBox(error.Description(), platform::MsgBoxStyle::OKOnly, QStringLiteral("Error!"));
  }
}

void frmTappler::cmdCloseTappler_Click() {
  CloseKeyerDevice();
  lblOpenStatus.SetCaption(QStringLiteral("Closed"));
  lblVersion.SetCaption(kVersionCaption);
  FocusDoneWhenShown();
}

void frmTappler::Form_Unload(int&) { CloseKeyerDevice(); }

void frmTappler::FocusDoneWhenShown() {
  if (Visible()) cmdDone.SetFocus();
}

void frmTappler::SendPinAndMode() {
  txtTPWPM_LostFocus();
  txtWeight_LostFocus();
  txtLeadIn_LostFocus();
  txtRatio_LostFocus();
  if (!TapplinkLoaded()) return;
  tp_pincfg(TPPinConfig);
  tp_setmode(TPMode);
}

void frmTappler::ChooseMode(std::uint8_t mode) {
  TPMode = mode;
  if (TPVersion != 0) SendPinAndMode();
}

void frmTappler::ChoosePin(std::uint8_t pin) {
  TPPinConfig = pin;
  if (TPVersion != 0) SendPinAndMode();
}

void frmTappler::optIambicB_Click() { ChooseMode(kModeIambicB); }
void frmTappler::optIambicA_Click() { ChooseMode(kModeIambicA); }
void frmTappler::optUltimatic_Click() { ChooseMode(kModeUltimatic); }
void frmTappler::optBug_Click() { ChooseMode(kModeBug); }
void frmTappler::optKey5Off3Out_Click() { ChoosePin(kPinKey5Off3Out); }
void frmTappler::optPTT_Click() { ChoosePin(kPinPTT); }
void frmTappler::optTone_Click() { ChoosePin(kPinTone); }
void frmTappler::optKey5Out3Off_Click() { ChoosePin(kPinKey5Out3Off); }

void frmTappler::NumbersOnly(int& KeyAscii) { logging::number(KeyAscii); }

void frmTappler::txtTPComPort_KeyPress(int& KeyAscii) { NumbersOnly(KeyAscii); }
void frmTappler::txtTPWPM_KeyPress(int& KeyAscii) { NumbersOnly(KeyAscii); }
void frmTappler::txtWeight_KeyPress(int& KeyAscii) { NumbersOnly(KeyAscii); }
void frmTappler::txtRatio_KeyPress(int& KeyAscii) { NumbersOnly(KeyAscii); }
void frmTappler::txtLeadIn_KeyPress(int& KeyAscii) { NumbersOnly(KeyAscii); }
void frmTappler::txtTail_KeyPress(int& KeyAscii) { NumbersOnly(KeyAscii); }

// A port beyond a byte is no port: 0, with the text left for the operator to correct.
void frmTappler::txtTPComPort_LostFocus() {
  if (!HoldsNumber(txtTPComPort)) {
    txtTPComPort.SetText(QStringLiteral("0"));
    TPPort = 0;
    return;
  }
  TPPort = ByteIn(txtTPComPort).value_or(0);
}

void frmTappler::txtTPWPM_LostFocus() { CheckRangedBox(txtTPWPM, 0, 99, kDefaultSpeed, &tp_wpm); }

void frmTappler::txtWeight_LostFocus() { CheckRangedBox(txtWeight, 0, 99, kDefaultWeight, &tp_weight); }

void frmTappler::txtRatio_LostFocus() { CheckRangedBox(txtRatio, 32, 67, kDefaultRatio, &tp_ditdah_ratio); }

// Lead-in and tail travel together; the box being left gets its default when either is amiss.
void frmTappler::txtLeadIn_LostFocus() {
  const std::optional<std::uint8_t> lead = ByteIn(txtLeadIn);
  const std::optional<std::uint8_t> tail = ByteIn(txtTail);
  if (!lead || !tail) {
    txtLeadIn.SetText(kDefaultPttTime);
    return;
  }
  if (TapplinkLoaded()) tp_ptt_leadtail(*lead, *tail);
}

void frmTappler::txtTail_LostFocus() {
  const std::optional<std::uint8_t> lead = ByteIn(txtLeadIn);
  const std::optional<std::uint8_t> tail = ByteIn(txtTail);
  if (!lead || !tail) {
    txtTail.SetText(kDefaultPttTime);
    return;
  }
  if (TapplinkLoaded()) tp_ptt_leadtail(*lead, *tail);
}

// The file is written aside: a failure keeps the old one whole and says so; the window hides
// either way.
void frmTappler::cmdDone_Click() {
  try {
    SaveSettings();
  } catch (const platform::RuntimeError& error) {
    ReportUnsavedSettings(QStringLiteral("keyer device"), error);
  }
  Hide();
}

void frmTappler::SaveSettings() {
  platform::QuotedTextWriter file(SettingsPath());
  for (const platform::QuotedValue& value :
       {platform::QuotedValue(TPPort), platform::QuotedValue(txtTPWPM.Text()), platform::QuotedValue(txtWeight.Text()),
        platform::QuotedValue(txtLeadIn.Text()), platform::QuotedValue(txtTail.Text()),
        platform::QuotedValue(txtRatio.Text()), platform::QuotedValue(TPPinConfig), platform::QuotedValue(TPMode)}) {
    file.WriteRecord({value});
  }
  file.Close();
}

void frmTappler::cmdStop_Click() {
  if (TapplinkLoaded()) platform::SkipOnError(lcKeying, [] { tp_clearbuf(); });
  CWBuffer.clear();
  cmdDone.SetFocus();
}

void frmTappler::Command3_Click() {
  AppendAndTransmit(QStringLiteral("VVV TEST DE ") + app::OwnCall);
  cmdDone.SetFocus();
}

void frmTappler::Command1_Click() {
  const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ ");
  AppendAndTransmit(alphabet + alphabet + alphabet);
}

void frmTappler::Capital(int& KeyAscii) { logging::Capital(KeyAscii); }

// Enter, Backspace and the other control codes stay in the box and are not sent.
void frmTappler::Text1_KeyPress(int& KeyAscii) {
  Capital(KeyAscii);
  if (KeyAscii > platform::KeyReturn) AppendAndTransmit(QString(QChar(KeyAscii)));
}

// A running TPTransmit takes what is appended along; otherwise one is started, also for text an
// earlier one kept because the device took none.
void frmTappler::AppendAndTransmit(const QString& text) {
  const bool start = CWBuffer.isEmpty() || textKept_;
  CWBuffer += text;
  if (start) TPTransmit();
}

// Events run only while the device is busy or has no room, so emptying the buffer meanwhile (Esc,
// Stop) ends the loop at its next test, and so does closing the device (Close, the voice window
// taking the port): what is left has nowhere to go and is dropped, as when the device will not
// open. A character the device refuses stays first in the buffer and goes again once it has
// room; a call made while the loop runs leaves the text to it.
void frmTappler::TPTransmit() {
  if (transmitting_) return;
  if (TPVersion == 0) platform::SkipOnError(lcKeying, [this] { cmdOpenTappler_Click(); });
  if (TPVersion == 0) {
    CWBuffer.clear();
    return;
  }
  transmitting_ = true;
  textKept_ = false;
  std::uint32_t lastProgress = platform::TimeGetTime();
  while (!CWBuffer.isEmpty()) {
    if (!WaitForRoom(lastProgress)) break;
    if (CWBuffer.isEmpty()) continue;
    const auto code = static_cast<unsigned char>(CWBuffer.front().toLatin1());  // 0: no Latin-1 code
    if (code > 0 && !DeviceTakes(code)) {
      if (!PauseForRoom(lastProgress)) break;
      continue;
    }
    CWBuffer.remove(0, 1);
    lastProgress = platform::TimeGetTime();
    platform::Sleep(kCharacterPauseMs);
  }
  transmitting_ = false;
  if (TPVersion == 0) CWBuffer.clear();
  if (!CWBuffer.isEmpty()) ReportDeviceTakesNoText();
}

bool frmTappler::WaitForRoom(std::uint32_t lastProgress) {
  for (;;) {
    int reason = 0;
    platform::SkipOnError(lcKeying, [&reason] {
      TPStatus = tp_getstatus();
      reason = errno;
    });
    if (TPStatus == kNotOpen && TPVersion != 0 && !OpenAgainAfterPortFailure(reason)) return false;
    if (TPStatus <= kDeviceReadyStatus) return true;
    if (!PauseForRoom(lastProgress)) return false;
  }
}

// The library ended the connection by itself: the device's port failed (unplugged, or a link that
// took nothing). The trace says so, and the device is opened again at once: one that is back takes
// the text as if nothing had happened; for one that is not, the status and the connection box say
// why, with the port's failure where the open has no reason of its own.
bool frmTappler::OpenAgainAfterPortFailure(int reason) {
  platform::TraceError(lcKeying, platform::RuntimeError(QStringLiteral("The keyer device's port %1 failed: %2")
                                                            .arg(PortDevice(), qt_error_string(reason))));
  TPVersion = 0;
  portFailure_ = reason;
  cmdOpenTappler_Click();
  return TPVersion != 0;
}

bool frmTappler::DeviceTakes(unsigned char code) {
  std::int32_t result = -1;
  platform::SkipOnError(lcKeying, [code, &result] { result = tp_char(code); });
  return result == 0;
}

// One pause with the events running; false instead once the device has taken nothing for the
// limit since `lastProgress`, or once the events closed it.
bool frmTappler::PauseForRoom(std::uint32_t lastProgress) {
  if (platform::TimeGetTime() - lastProgress >= kNoProgressLimitMs) return false;
  platform::Sleep(kCharacterPauseMs);
  platform::DoEvents();
  return TPVersion != 0;
}

void frmTappler::ReportDeviceTakesNoText() {
  textKept_ = true;
  platform::MsgBox(QStringLiteral("The keyer device takes no text: it took nothing for %1 seconds. The %2 characters "
                                  "not sent are kept and go with the next text you send; Stop or Esc drops them. "
                                  "Check the device, its cable and its port.")
                       .arg(kNoProgressLimitMs / 1000)
                       .arg(CWBuffer.size()),
                   platform::MsgBoxStyle::Exclamation, QStringLiteral("Keyer device takes no text."));
}

}  // namespace keying
