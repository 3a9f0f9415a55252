#include "keying/cwfrm.h"

#include "keying/frmtappler.h"
#include "keying/globals.h"
#include "platform/design.h"
#include "platform/instances.h"
#include "platform/trace.h"

#include <array>

namespace keying {

namespace {

constexpr double kBoxHeight = 285;
constexpr double kLabelHeight = 240;
constexpr double kButtonHeight = 375;
constexpr double kMessageRowStep = 315;
constexpr double kRightColumn = 4980;
constexpr double kRightColumnWidth = 4380;

void DesignBox(platform::TextBox& box, const char* text, double left, double top, double width) {
  box.SetText(QString::fromLatin1(text));
  box.Move(left, top, width, kBoxHeight);
}

}  // namespace

CWFrm::CWFrm() : Form(QStringLiteral("CWFrm")) {
  SetCaption(QStringLiteral("CW String Selections"));
  Move(0, 0, 9600, 7200);

  // The messages of F1 to F11, then the F12 row that toggles keyboard CW on the main window.
  const std::array<platform::TextBox*, 11> messages = {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6,
                                                       &Text7, &Text8, &Text9, &Text12, &Text13};
  for (int row = 0; row < 12; ++row) {
    const double top = 120 + kMessageRowStep * row;
    platform::DesignCaption(lblFKey.Add(row), QStringLiteral("F%1").arg(row + 1), 120, top + 30, 420, kLabelHeight);
    if (row < 11) messages[row]->Move(600, top, 4200, kBoxHeight);
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
    platform::DesignCaption(lblProsign.Add(2 * pair), prosigns[pair][0], left, 5340, 360, kLabelHeight);
    platform::DesignCaption(lblProsign.Add(2 * pair + 1), prosigns[pair][1], left + 360, 5340, 240, kLabelHeight);
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
  platform::DesignCaption(lblLPT1, "&&H378 is the default on most systems for LPT1.", kRightColumn, 3030,
                          kRightColumnWidth, kLabelHeight);
  DesignBox(Text11, "13", kRightColumn, 3330, 600);
  UpDown1.Move(kRightColumn + 600, 3330, 255, kBoxHeight);
  platform::DesignCaption(lblWPM, "WPM", 5910, 3360, 600, kLabelHeight);
  platform::DesignCaption(Command2, "Faster", 6600, 3315, 1020, 315);
  platform::DesignCaption(Command3, "Slower", 7680, 3315, 1020, 315);
  DesignBox(txtSpace, "0", kRightColumn, 3720, 600);
  platform::DesignCaption(lblWordSpace, "Word Space", 5640, 3750, 1080, kLabelHeight);
  platform::DesignCaption(Command5, "Less", 6780, 3705, 780, 315);
  platform::DesignCaption(Command6, "More", 7620, 3705, 780, 315);
  platform::DesignCaption(lblSpacing, "0 is standard, -8 is no spacing", kRightColumn, 4080, kRightColumnWidth,
                          kLabelHeight);
  DesignBox(txtCWLoop, "0", kRightColumn, 4410, 600);
  platform::DesignCaption(lblCWLoop, "Loop (Sec)", 5640, 4440, 1200, kLabelHeight);

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
  WIRE(Text10, KeyPress);
  WIRE(Text10, GotFocus);
  WIRE(Text10, LostFocus);
  WIRE(Text11, Change);
}

void CWFrm::FKeyCW(int&) { NOT_BUILT_YET(); }

void CWFrm::LoopThroughCWBuffer() { NOT_BUILT_YET(); }

void CWFrm::Form_Load() { NOT_BUILT_YET(); }
void CWFrm::Command1_Click() { NOT_BUILT_YET(); }
void CWFrm::Command4_Click() { NOT_BUILT_YET(); }
void CWFrm::Command5_Click() { NOT_BUILT_YET(); }
void CWFrm::Command6_Click() { NOT_BUILT_YET(); }
void CWFrm::Command7_Click() { NOT_BUILT_YET(); }
void CWFrm::cmdConfTappler_Click() { NOT_BUILT_YET(); }
void CWFrm::tmrRepeat_Timer() { NOT_BUILT_YET(); }

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
