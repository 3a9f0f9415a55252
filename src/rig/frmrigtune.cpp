#include "rig/frmrigtune.h"

#include "app/form1.h"
#include "app/modformresize.h"
#include "platform/design.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/trace.h"
#include "rig/globals.h"
#include "rig/replyfields.h"
#include "rig/rigrequests.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace rig {

namespace {

struct BandButton {
  const char* caption;
  const char* megahertz;  // put into txtFreq as it is
};

constexpr std::array<BandButton, 16> kBands{{{"160", "1.9"},
                                             {"80", "3.75"},
                                             {"60", "5.368"},
                                             {"40", "7.15"},
                                             {"30", "10.13"},
                                             {"20", "14.175"},
                                             {"17", "18.118"},
                                             {"15", "21.225"},
                                             {"12", "24.94"},
                                             {"10", "28.5"},
                                             {"6", "52"},
                                             {"2", "146"},
                                             {"1.25", "223.5"},
                                             {"70", "435"},
                                             {"33", "915"},
                                             {"23", "1270"}}};

// One pair of step buttons: index 2c adds the step, 2c + 1 subtracts it.
struct TuneStep {
  const char* caption;
  double megahertz;
};

constexpr std::array<TuneStep, 5> kTuneSteps{
    {{"10 Hz", 0.00001}, {"1 MHz", 1}, {"5 KHz", 0.005}, {"1 KHz", 0.001}, {"100 Hz", 0.0001}}};

std::optional<double> NumberIn(const platform::TextBox& box) { return ReceivedNumber(box.Text()); }

// Backspace, the point, the slash and the digits pass; every other key is dropped.
void FilterNumberKey(int& KeyAscii) {
  if (KeyAscii != platform::KeyBack && (KeyAscii < '.' || KeyAscii > '9')) KeyAscii = 0;
}

// Plain decimal text with up to 15 significant digits: never an exponent, which would no longer
// read as a number.
QString StepResultText(double megahertz) {
  const double size = std::abs(megahertz);
  const int wholeDigits = size < 1 ? 1 : static_cast<int>(std::floor(std::log10(size))) + 1;
  QString text = QString::number(megahertz, 'f', std::max(0, 15 - wholeDigits));
  if (text.contains(u'.')) {
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
  }
  return text;
}

// "####.#####": no leading zero, at most five decimals without trailing zeros, always the point
// (14.2501, 28., .5).
QString ScanText(double megahertz) {
  QString text = QString::number(megahertz, 'f', 5);
  while (text.endsWith(u'0')) text.chop(1);
  if (text.startsWith(QStringLiteral("0."))) text.remove(0, 1);
  return text;
}

}  // namespace

frmRigTune::frmRigTune() : Form(QStringLiteral("frmRigTune")) {
  SetCaption(QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))"));
  Move(0, 0, 7200, 5000);
  SetKeyPreview(true);
  LayOutControls();
  Timer1.SetInterval(299);
  Timer1.SetEnabled(true);

  WIRE(Command1, Click);
  WIRE(cmdBand, Click);
  WIRE(cmdTune, Click);
  WIRE(cmdAM, Click);
  WIRE(cmdCW, Click);
  WIRE(cmdFM, Click);
  WIRE(cmdLSB, Click);
  WIRE(cmdRTTY, Click);
  WIRE(cmdUSB, Click);
  WIRE(cmdDone, Click);
  WIRE(chkScan, Click);
  WIRE_TIMER(Timer1);
  WIRE(txtFreq, Change);
  WIRE(txtFreq, KeyPress);
  WIRE(txtFrom, KeyPress);
  WIRE(txtTo, KeyPress);
}

void frmRigTune::LayOutControls() {
  using platform::DesignCaption;
  DesignCaption(Label1, "Frequency in MHz:", 120, 165, 1740, 255);
  txtFreq.Move(1920, 120, 1680, 345);
  DesignCaption(Command1, "&Go", 3720, 105, 1000, 375);
  for (int i = 0; i < static_cast<int>(kBands.size()); ++i) {
    DesignCaption(cmdBand.Add(i), kBands[i].caption, 120 + (i % 8) * 855, 600 + (i / 8) * 435, 795, 375);
  }
  DesignCaption(Label2, " UP", 120, 1560, 900, 255);
  DesignCaption(Label3, " Down", 120, 1995, 900, 255);
  for (int i = 0; i < 2 * static_cast<int>(kTuneSteps.size()); ++i) {
    platform::CommandButton& step = cmdTune.Add(i);
    DesignCaption(step, kTuneSteps[i / 2].caption, 1080 + (i / 2) * 1180, i % 2 == 0 ? 1500 : 1935, 1120, 375);
    step.NameAfter(i % 2 == 0 ? Label2 : Label3);  // "UP 10 Hz"
    step.SetEnabled(false);  // txtFreq starts empty
  }
  int left = 120;
  for (auto [button, caption] : {std::pair{&cmdAM, "&AM"}, {&cmdCW, "&CW"}, {&cmdFM, "&FM"}, {&cmdLSB, "&LSB"},
                                 {&cmdRTTY, "&RTTY"}, {&cmdUSB, "&USB"}}) {
    DesignCaption(*button, caption, left, 2490, 1090, 375);
    left += 1150;
  }
  DesignCaption(chkScan, "Scan", 120, 3060, 1000, 300);
  DesignCaption(Label4, "From:", 1200, 3105, 600, 255);
  txtFrom.Move(1800, 3030, 1000, 345);
  txtFrom.SetText(QStringLiteral("1.8"));
  DesignCaption(Label5, "To:", 3000, 3105, 450, 255);
  txtTo.Move(3480, 3030, 1000, 345);
  txtTo.SetText(QStringLiteral("54"));
  DesignCaption(Frame1, "Scan Steps", 120, 3540, 5520, 840);
  left = 120;
  for (auto [option, caption] : {std::pair{&Option1, "500 Hz"}, {&Option2, "100 Hz"}, {&Option3, "30 Hz"},
                                 {&Option4, "10 Hz"}, {&Option5, "2.5 KHz"}}) {
    DesignCaption(*option, caption, left, 360, 1030, 300);
    left += 1070;
  }
  Option4.SetValue(true);
  DesignCaption(cmdDone, "&Done", 5820, 3960, 1140, 420);
  txtFreq.NameAfter(Label1);
  txtFrom.NameAfter(Label4);
  txtTo.NameAfter(Label5);
}

void frmRigTune::Form_Load() {
  platform::SkipOnError(lcRig, [this] {
    app::ModFormResize::FitToScreen(*this, app::ModFormResize::ScreenPlacement::Centred);
    // The main window opens the panel; its font is never loaded just for this.
    if (platform::IsLoaded<app::Form1>())
      SetFontSize(app::ModFormResize::PointsForScreenWidth(platform::Instance<app::Form1>().FontSize()));
  });
}

// Any key typed while scanning stops the scan; the key still reaches its control.
void frmRigTune::Form_KeyPress(int& KeyAscii) {
  (void)KeyAscii;
  if (chkScan.Value() == 1) chkScan.SetValue(0);
}

void frmRigTune::Command1_Click() {
  const std::optional<double> megahertz = NumberIn(txtFreq);
  if (!megahertz) return;
  if (RigType != u"None") TuneRigTo(*megahertz);
}

void frmRigTune::cmdBand_Click(int Index) {
  txtFreq.SetText(QString::fromLatin1(kBands.at(Index).megahertz));
  Command1_Click();
}

void frmRigTune::cmdTune_Click(int Index) {
  const std::optional<double> megahertz = NumberIn(txtFreq);
  if (!megahertz) return;
  const double step = kTuneSteps.at(Index / 2).megahertz;
  txtFreq.SetText(StepResultText(Index % 2 == 0 ? *megahertz + step : *megahertz - step));
  Command1_Click();
  cmdDone.SetFocus();
}

void frmRigTune::SendMode(const QString& mode) {
  SetRigModeTo(0, mode);
  cmdDone.SetFocus();
}

void frmRigTune::cmdAM_Click() { SendMode(QStringLiteral("AM")); }
void frmRigTune::cmdCW_Click() { SendMode(QStringLiteral("CW")); }
void frmRigTune::cmdFM_Click() { SendMode(QStringLiteral("FM")); }
void frmRigTune::cmdLSB_Click() { SendMode(QStringLiteral("LSB")); }
void frmRigTune::cmdRTTY_Click() { SendMode(QStringLiteral("RTTY")); }
void frmRigTune::cmdUSB_Click() { SendMode(QStringLiteral("USB")); }

void frmRigTune::cmdDone_Click() { Hide(); }

void frmRigTune::chkScan_Click() {
  if (chkScan.Value() == 1 && !NumberIn(txtFreq)) txtFreq.SetText(txtFrom.Text());
  Command1.SetFocus();
}

double frmRigTune::ScanStep() const {
  for (auto [option, step] : {std::pair{&Option1, 0.0005}, {&Option2, 0.0001}, {&Option3, 0.00003},
                              {&Option4, 0.00001}, {&Option5, 0.0025}}) {
    if (option->Value()) return step;
  }
  return 0;
}

// One step up the scan range; past its top the scan starts again at its bottom. The step is
// added in double precision and taken to the 10 Hz the box shows, so a 10 Hz step moves a UHF or
// microwave frequency too, and the value compared with To is the one shown and sent.
void frmRigTune::Timer1_Timer() {
  platform::SkipOnError(lcRig, [this] {
    if (chkScan.Value() != 1) return;
    const std::optional<double> from = NumberIn(txtFrom);
    const std::optional<double> to = NumberIn(txtTo);
    const std::optional<double> current = NumberIn(txtFreq);
    if (!from || !to || !current) return;
    double next = RoundedMegahertz((*current + ScanStep()) * kTenHzPerMegahertz, kTenHzPerMegahertz);
    if (next > *to) next = *from;
    txtFreq.SetText(ScanText(next));
    Command1_Click();
  });
}

void frmRigTune::txtFreq_Change() {
  const bool number = NumberIn(txtFreq).has_value();
  for (int index : cmdTune.Indexes()) cmdTune(index).SetEnabled(number);
}

void frmRigTune::txtFreq_KeyPress(int& KeyAscii) {
  if (KeyAscii == platform::KeyReturn) {
    KeyAscii = 0;
    Command1_Click();
    txtFreq.SetFocus();
    txtFreq.SetSelStart(static_cast<int>(txtFreq.Text().size()));
    return;
  }
  FilterNumberKey(KeyAscii);
}

void frmRigTune::txtFrom_KeyPress(int& KeyAscii) { FilterNumberKey(KeyAscii); }

void frmRigTune::txtTo_KeyPress(int& KeyAscii) { FilterNumberKey(KeyAscii); }

}  // namespace rig
