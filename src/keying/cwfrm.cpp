#include "keying/cwfrm.h"

#include "app/folders.h"
#include "app/modformresize.h"
#include "keying/frmcodepractice.h"
#include "keying/frmcwstrings.h"
#include "keying/frmtappler.h"
#include "keying/globals.h"
#include "keying/numberboxes.h"
#include "keying/unsavedsettings.h"
#include "logging/keyfilters.h"
#include "platform/design.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/numbertext.h"
#include "platform/quotedtext.h"
#include "platform/settings.h"
#include "platform/trace.h"
#include "platform/twips.h"

#include <array>
#include <optional>

namespace keying {

namespace {

constexpr double kBoxHeight = 285;
constexpr double kLabelHeight = 240;
constexpr double kButtonHeight = 375;
constexpr double kMessageRowStep = 315;
constexpr double kRightColumn = 4980;
constexpr double kRightColumnWidth = 4380;

const QString kSettingsApp = QStringLiteral("Varnek_Software");
const QString kSettingsSection = QStringLiteral("Settings");
const QString kTimingKey = QStringLiteral("UserCWSelection");
const QString kLoopOffsetKey = QStringLiteral("UserCWLoopOffset");

constexpr int kTestKeyCode = 120;  // Test sends F9's message
constexpr double kLeastWordSpace = -8;  // no word gap at all

void DesignBox(platform::TextBox& box, const char* text, double left, double top, double width) {
  box.SetText(QString::fromLatin1(text));
  box.Move(left, top, width, kBoxHeight);
}

}  // namespace

CWFrm::CWFrm() : Form(QStringLiteral("CWFrm")) {
  SetCaption(QStringLiteral("CW String Selections"));
  Move(0, 0, platform::DesignScreen.width, platform::DesignScreen.height);

  // The messages of F1 to F11, then the F12 row that toggles keyboard CW on the main window.
  const std::array<platform::TextBox*, 11> messages = {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6,
                                                       &Text7, &Text8, &Text9, &Text12, &Text13};
  for (int row = 0; row < 12; ++row) {
    const double top = 120 + kMessageRowStep * row;
    platform::Label& key = lblFKey.Add(row);
    platform::DesignCaption(key, QStringLiteral("F%1").arg(row + 1), 120, top + 30, 420, kLabelHeight);
    if (row < 11) {
      messages[row]->Move(600, top, 4200, kBoxHeight);
      messages[row]->NameAfter(key);
    }
  }
  platform::DesignCaption(lblKeyboard, "Keyboard", 600, 120 + kMessageRowStep * 11 + 30, 1500, kLabelHeight);
  platform::DesignCaption(lblWildcards, "Wildcards are $ for Call, * for RST  and # for Number (where applicable).",
                          120, 3960, 4680, 420);
  platform::DesignCaption(Check1, "Display CW text on main form (NA for Tappler).", 120, 4425, 4680, kBoxHeight);
  platform::DesignCaption(lblCWMode, "You must be in CW mode.", 120, 4770, 4680, kLabelHeight);
  platform::DesignCaption(lblArrows, "Up / Down arrows on main form change speed.", 120, 5040, 4680, kLabelHeight);
  platform::DesignCaption(lblProsigns, "Prosigns", 120, 5340, 900, kLabelHeight);
  const char* const prosigns[][2] = {{"AR", "["}, {"SK", "]"}, {"KN", ";"}, {"CL", "\\"}, {"BT", "="}};
  for (int pair = 0; pair < 5; ++pair) {
    const double left = 1080 + 720 * pair;
    platform::Label& prosign = lblProsign.Add(2 * pair);
    platform::DesignCaption(prosign, prosigns[pair][0], left, 5340, 360, kLabelHeight);
    platform::Label& keyed = lblProsign.Add(2 * pair + 1);
    platform::DesignCaption(keyed, prosigns[pair][1], left + 360, 5340, 240, kLabelHeight);
    keyed.NameAfter(prosign);
    keyed.SetAccessibleDescription(QStringLiteral("The key that sends the prosign"));
  }

  platform::DesignCaption(fraKeying, "Keying Options", kRightColumn, 60, 2040, 1875);
  const std::array<std::pair<platform::OptionButton*, const char*>, 5> keyingOptions = {
      {{&Option1, "RTS"}, {&Option2, "DTR"}, {&Option3, "Printer"}, {&Option4, "None"}, {&Option5, "Tappler"}}};
  for (std::size_t row = 0; row < keyingOptions.size(); ++row) {
    platform::DesignCaption(*keyingOptions[row].first, keyingOptions[row].second, 120, 240 + 315 * static_cast<double>(row),
                            1680, kBoxHeight);
  }
  Option4.SetValue(true);

  // The loop's own controls serve only the loop timing, which is not the design's choice.
  const QString timerPreferred = QStringLiteral("Timer is the preferred option on most systems.");
  platform::DesignCaption(fraTiming, "", 7140, 60, 2220, 1875);
  fraTiming.SetToolTipText(timerPreferred);
  platform::DesignCaption(lblTiming, "Timing Options:", 120, 240, 1980, kLabelHeight);
  lblTiming.SetToolTipText(timerPreferred);
  platform::DesignCaption(optTimer, "Timer", 120, 555, 900, kBoxHeight);
  optTimer.SetToolTipText(QStringLiteral("Times by Windows System time."));
  platform::DesignCaption(OptSleep, "Sleep", 120, 870, 900, kBoxHeight);
  OptSleep.SetToolTipText(QStringLiteral("Times by Windows System time."));
  platform::DesignCaption(optLoop, "Loop", 120, 1185, 900, kBoxHeight);
  optLoop.SetToolTipText(QStringLiteral("Times by a For Next loop."));
  optTimer.SetValue(true);
  platform::DesignCaption(lblLoop, "Loop Delay", 1080, 585, 1020, kLabelHeight);
  DesignBox(txtLoop, "0", 1080, 870, 1020);
  txtLoop.NameAfter(lblLoop);
  txtLoop.SetToolTipText(QStringLiteral("Loops per 60 ms"));
  platform::DesignCaption(cmdLoopFaster, "F", 1080, 1200, 480, 315);
  cmdLoopFaster.SetToolTipText(QStringLiteral("Speed up CW"));
  platform::DesignCaption(cmdLoopSlower, "S", 1620, 1200, 480, 315);
  cmdLoopSlower.SetToolTipText(QStringLiteral("Slow Down CW"));
  EnableLoopTiming(false);

  platform::DesignCaption(lblInterface,
                          "Build or buy an interface that keys your transmitter from a serial port's RTS or DTR "
                          "line or from the printer port, and choose its line above.",
                          kRightColumn, 2010, kRightColumnWidth, 630);
  platform::DesignCaption(lblComPort, "Com Port (0 for none)", kRightColumn, 2730, 2040, kLabelHeight);
  DesignBox(Text10, "0", 7020, 2700, 480);
  platform::DesignCaption(lblPrinterPort, "Printer", 7620, 2730, 720, kLabelHeight);
  DesignBox(Text14, "&H378", 8340, 2700, 1020);
  Text10.NameAfter(lblComPort);
  Text14.NameAfter(lblPrinterPort);
  Text14.SetAccessibleDescription(QStringLiteral("Printer port address"));
  platform::DesignCaption(lblLPT1, "&&H378 is the default on most systems for LPT1.", kRightColumn, 3030,
                          kRightColumnWidth, kLabelHeight);
  DesignBox(Text11, "13", kRightColumn, 3330, 600);
  UpDown1.Move(kRightColumn + 600, 3330, 255, kBoxHeight);
  UpDown1.SetBuddy(Text11);
  platform::DesignCaption(lblWPM, "WPM", 5910, 3360, 600, kLabelHeight);
  Text11.NameAfter(lblWPM);
  UpDown1.NameAfter(lblWPM);
  platform::DesignCaption(Command2, "Faster", 6600, 3315, 1020, 315);
  platform::DesignCaption(Command3, "Slower", 7680, 3315, 1020, 315);
  DesignBox(txtSpace, "0", kRightColumn, 3720, 600);
  platform::DesignCaption(lblWordSpace, "Word Space", 5640, 3750, 1080, kLabelHeight);
  txtSpace.NameAfter(lblWordSpace);
  platform::DesignCaption(Command5, "Less", 6780, 3705, 780, 315);
  platform::DesignCaption(Command6, "More", 7620, 3705, 780, 315);
  platform::DesignCaption(lblSpacing, "0 is standard, -8 is no spacing", kRightColumn, 4080, kRightColumnWidth,
                          kLabelHeight);
  DesignBox(txtCWLoop, "0", kRightColumn, 4410, 600);
  platform::DesignCaption(lblCWLoop, "Loop (Sec)", 5640, 4440, 1200, kLabelHeight);
  txtCWLoop.NameAfter(lblCWLoop);

  platform::DesignCaption(Command1, "Done", kRightColumn, 4830, 1080, kButtonHeight);
  platform::DesignCaption(Command4, "&Test", 6120, 4830, 1080, kButtonHeight);
  platform::DesignCaption(Label23, "Sending!", 7260, 4890, 1200, kLabelHeight);
  Label23.SetVisible(false);
  platform::DesignCaption(Command7, "Send Code Practice", kRightColumn, 5280, 2100, kButtonHeight);
  platform::DesignCaption(cmdConfTappler, "Configure Tappler", 7140, 5280, 2220, kButtonHeight);
  cmdConfTappler.SetVisible(false);

  platform::DesignCaption(lblTest, "Test sends the F9 text. This program makes no side tone: listen to your "
                          "transmitter's monitor.", 120, 5760, 9240, kLabelHeight);
  platform::DesignCaption(lblLogs, "A ! in a message logs the contact.", 120, 6030, 9240, kLabelHeight);
  platform::DesignCaption(lblPrecise, "For the most precise timing, do not run any other programs, virus software "
                          "etc. while transmitting.", 120, 6300, 9240, kLabelHeight);

  tmrRepeat.SetEnabled(false);

  WIRE(UpDown1, UpClick);
  WIRE(UpDown1, DownClick);
  WIRE(Command2, Click);
  WIRE(Command3, Click);
  WIRE(Command1, Click);
  WIRE(Command4, Click);
  WIRE(Command5, Click);
  WIRE(Command6, Click);
  WIRE(Command7, Click);
  WIRE(cmdConfTappler, Click);
  WIRE_TIMER(tmrRepeat);
  WIRE(Option1, Click);
  WIRE(Option2, Click);
  WIRE(Option3, Click);
  WIRE(Option4, Click);
  WIRE(Option5, Click);
  WIRE(optTimer, Click);
  WIRE(OptSleep, Click);
  WIRE(optLoop, Click);
  WIRE(txtLoop, Change);
  WIRE(cmdLoopFaster, Click);
  WIRE(cmdLoopSlower, Click);
  WIRE(Text1, KeyPress);
  WIRE(Text2, KeyPress);
  WIRE(Text3, KeyPress);
  WIRE(Text4, KeyPress);
  WIRE(Text5, KeyPress);
  WIRE(Text6, KeyPress);
  WIRE(Text7, KeyPress);
  WIRE(Text8, KeyPress);
  WIRE(Text9, KeyPress);
  WIRE(Text12, KeyPress);
  WIRE(Text13, KeyPress);
  WIRE(Text10, KeyPress);
  WIRE(Text10, GotFocus);
  WIRE(Text10, LostFocus);
  WIRE(Text11, KeyPress);
  WIRE(Text11, GotFocus);
  WIRE(Text11, LostFocus);
  WIRE(Text11, Change);
  WIRE(txtSpace, KeyPress);
  WIRE(txtSpace, Change);
  WIRE(txtSpace, LostFocus);
  WIRE(txtCWLoop, KeyPress);
  WIRE(txtCWLoop, LostFocus);
}

// Fitted to the desktop's work area, then the timing method and loop count of the last Done.
void CWFrm::Form_Load() {
  platform::SkipOnError(lcKeying, [this] {
    using namespace app::ModFormResize;
    FitToScreen(*this, FitRule{ScreenPlacement::Centred, FitArea::WorkArea, FontFactor::ScreenWidthAtMost1_5});
  });
  platform::SkipOnError(lcKeying, [this] { RestoreTiming(); });
}

// Choosing the loop timing calibrates it when no loop count was stored.
void CWFrm::RestoreTiming() {
  const QString storedLoops = platform::GetSetting(kSettingsApp, kSettingsSection, kLoopOffsetKey, QStringLiteral("0"));
  const std::optional<double> loops = platform::ValOfNumberText(storedLoops);
  if (!loops) throw platform::RuntimeError(QStringLiteral("Type mismatch"), 13);
  LoopOffset = *loops;
  txtLoop.SetText(TextOfNumber(LoopOffset));
  const QString timing = platform::GetSetting(kSettingsApp, kSettingsSection, kTimingKey, QStringLiteral("Timer"));
  if (timing == QLatin1String("Timer")) {
    optTimer.SetValue(true);
  } else if (timing == QLatin1String("Sleep")) {
    OptSleep.SetValue(true);
  } else if (timing == QLatin1String("Loop")) {
    optLoop.SetValue(true);
  }
}

// Done keeps the window open when the messages cannot be saved, so nothing typed is lost.
void CWFrm::Command1_Click() {
  try {
    SaveMessages();
  } catch (const platform::RuntimeError& error) {
    ReportUnsavedSettings(QStringLiteral("CW"), error);
    return;
  }
  Hide();
  if (KeyingMode != 0) {
    frmCWStrings& strip = platform::Instance<frmCWStrings>();
    strip.SetWindowState(platform::WindowMinimized);
    strip.Show();
  }
}

// The start-up reads the file back in this order (Form1::LoadCWMessages). It is written aside and
// takes the old one's place only once whole.
void CWFrm::SaveMessages() {
  app::SelectProgramFolder();
  platform::QuotedTextWriter file(QStringLiteral("CW.txt"));
  for (const platform::QuotedValue& value :
       {platform::QuotedValue(Text1.Text()), platform::QuotedValue(Text2.Text()), platform::QuotedValue(Text3.Text()),
        platform::QuotedValue(Text4.Text()), platform::QuotedValue(Text5.Text()), platform::QuotedValue(Text6.Text()),
        platform::QuotedValue(Text7.Text()), platform::QuotedValue(Text8.Text()), platform::QuotedValue(Text9.Text()),
        platform::QuotedValue(Text10.Text()), platform::QuotedValue(Text11.Text()),
        platform::QuotedValue(Text12.Text()), platform::QuotedValue(Text13.Text()),
        platform::QuotedValue(txtSpace.Text()), platform::QuotedValue(KeyingMode), platform::QuotedValue(Text14.Text()),
        platform::QuotedValue(static_cast<std::int16_t>(Check1.Value())), platform::QuotedValue(txtCWLoop.Text())}) {
    file.WriteRecord({value});
  }
  file.Close();
  platform::SaveSetting(kSettingsApp, kSettingsSection, kTimingKey, ChosenTimingCaption());
  platform::SaveSetting(kSettingsApp, kSettingsSection, kLoopOffsetKey, TextOfNumber(LoopOffset));
}

QString CWFrm::ChosenTimingCaption() const {
  for (const platform::OptionButton* option : {&optTimer, &OptSleep, &optLoop}) {
    if (option->Value()) return option->Caption();
  }
  return {};
}

// RTS or DTR keying without a port would key nothing through the whole message: Test asks for
// the port instead.
void CWFrm::Command4_Click() {
  if (SerialKeyingWithoutPort()) {
    AskForComPort();
    return;
  }
  Label23.SetVisible(true);
  platform::DoEvents();
  int keyCode = kTestKeyCode;
  FKeyCW(keyCode);
  Label23.SetVisible(false);
  if (Visible()) Text1.SetFocus();
}

bool CWFrm::SerialKeyingWithoutPort() const {
  if (KeyingMode != 1 && KeyingMode != 2) return false;
  const std::optional<double> port = platform::ValOfNumberText(Text10.Text());
  return !port || *port <= 0.5;  // the port rounds to 0 or below
}

void CWFrm::AskForComPort() {
  platform::Beep();
  platform::MsgBox(QStringLiteral("Please enter a com port for CW rig interface."), platform::MsgBoxStyle::OKOnly,
                   QStringLiteral("A com port is required."));
  Text10.SetFocus();
}

void CWFrm::Command5_Click() { StepWordSpace(-1); }

void CWFrm::Command6_Click() { StepWordSpace(1); }

void CWFrm::StepWordSpace(double step) {
  txtSpace.SetText(HoldsNumber(txtSpace) ? TextOfNumber(NumberIn(txtSpace) + step) : QStringLiteral("0"));
}

// What the practice window put in the buffer and did not send is dropped with it.
void CWFrm::Command7_Click() {
  platform::ShowModalAndUnload<frmCodePractice>();
  CWBuffer.clear();
}

void CWFrm::cmdConfTappler_Click() {
  platform::Instance<frmTappler>().Show(platform::Modal);
  Command1.SetFocus();
}

void CWFrm::Text1_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }
void CWFrm::Text2_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }
void CWFrm::Text3_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }
void CWFrm::Text4_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }
void CWFrm::Text5_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }
void CWFrm::Text6_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }
void CWFrm::Text7_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }
void CWFrm::Text8_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }
void CWFrm::Text9_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }
void CWFrm::Text12_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }
void CWFrm::Text13_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }

void CWFrm::Text11_KeyPress(int& KeyAscii) { logging::number(KeyAscii); }

void CWFrm::Text11_GotFocus() { SelectAll(Text11); }

void CWFrm::Text11_LostFocus() {
  if (!HoldsNumber(Text11)) Text11.SetText(QStringLiteral("0"));
}

// Backspace and "-" to "9": a sign, a point, digits (and "/", which the check on leaving undoes).
void CWFrm::txtSpace_KeyPress(int& KeyAscii) {
  if (KeyAscii != platform::KeyBack && (KeyAscii < '-' || KeyAscii > '9')) KeyAscii = 0;
}

void CWFrm::txtSpace_Change() {
  if (HoldsNumber(txtSpace) && NumberIn(txtSpace) < kLeastWordSpace) txtSpace.SetText(TextOfNumber(kLeastWordSpace));
}

void CWFrm::txtSpace_LostFocus() {
  if (!HoldsNumber(txtSpace)) txtSpace.SetText(QStringLiteral("0"));
}

void CWFrm::txtCWLoop_KeyPress(int& KeyAscii) { RepeatPauseKey(KeyAscii); }

void CWFrm::txtCWLoop_LostFocus() { TakeRepeatPause(txtCWLoop, tmrRepeat); }

void CWFrm::Option1_Click() { KeyingMode = 1; }
void CWFrm::Option2_Click() { KeyingMode = 2; }
void CWFrm::Option3_Click() { KeyingMode = 3; }
void CWFrm::Option4_Click() { KeyingMode = 0; }

void CWFrm::Option5_Click() {
  KeyingMode = 5;
  cmdConfTappler.SetVisible(true);
  platform::Instance<frmTappler>();
}

}  // namespace keying
