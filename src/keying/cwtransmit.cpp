// The CW window's software keying: the keying line and its port, the speed, and the timing of
// each unit.
#include "app/form1.h"
#include "keying/cwelements.h"
#include "keying/cwfrm.h"
#include "keying/globals.h"
#include "keying/numberboxes.h"
#include "keying/phonefrm.h"
#include "keying/printerline.h"
#include "keying/tapplinkloader.h"
#include "logging/keyfilters.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/numbertext.h"
#include "platform/trace.h"

#include <optional>

namespace keying {

namespace {

// The keyer device takes speeds above 4 and below 100 words per minute.
constexpr double kDeviceSpeedAbove = 4;
constexpr double kDeviceSpeedBelow = 100;

// The loop's adjustment steps: about 10 % faster or slower (the slower one is not 1 / 0.9).
constexpr double kLoopFaster = 0.9;
constexpr double kLoopSlower = 1.111111111111;

}  // namespace

void CWFrm::Transmit(const QString& Character) {
  try {
    if (KeyingMode == 0) return;
    if (KeyingMode < 3 && !Comm.PortOpen()) CWSetup();
    if (Character == QLatin1String("!")) {
      app::Form1& form = platform::Instance<app::Form1>();
      if (!form.txtCall.Text().isEmpty()) form.Mains();
      return;
    }
    const double adjustment = NumberIn(txtSpace);
    const QString pattern = Character == QLatin1String(" ") ? WordSpacePattern(adjustment) : ElementPattern(Character);
    const double speed = NumberIn(Text11);
    if (!(speed > 0)) return;  // no unit has a length: nothing is keyed
    KeyPattern(pattern, {ChosenTiming(), UnitMilliseconds(speed), LoopCountPerUnit(LoopOffset, speed)});
  } catch (const std::exception& error) {
    platform::TraceError(lcKeying, error);
  }
}

// However the character ends (its last unit, the clock's wrap, a line that fails), the key is up.
void CWFrm::KeyPattern(const QString& pattern, const UnitWait& wait) {
  const std::int32_t printerRegister = KeyingMode == 3 ? PrinterControlRegister(Text14) : 0;
  bool down = false;
  const auto setKey = [&](bool level) {
    down = level;
    SetKey(level, printerRegister);
  };
  try {
    KeyElements(pattern, wait, setKey);
  } catch (const std::exception&) {
    if (down) SetKey(false, printerRegister);
    throw;
  }
  if (down) SetKey(false, printerRegister);
}

void CWFrm::SetKey(bool down, std::int32_t printerRegister) {
  switch (KeyingMode) {
    case 1:
      Comm.SetRTSEnable(down);
      break;
    case 2:
      Comm.SetDTREnable(down);
      break;
    case 3:
      KeyPrinterLine(printerRegister, down);
      break;
    default:
      break;
  }
}

// The options are asked in this order; one of them is always chosen.
UnitTiming CWFrm::ChosenTiming() const {
  if (optTimer.Value()) return UnitTiming::Timer;
  if (OptSleep.Value()) return UnitTiming::Sleep;
  if (optLoop.Value()) return UnitTiming::Loop;
  return UnitTiming::None;
}

void CWFrm::CWSetup() {
  try {
    if (Comm.PortOpen()) Comm.SetPortOpen(false);
    const std::int32_t port = platform::WholeOfNumberText(Text10.Text());
    if (port <= 0) return;
    // The voice window keys its push-to-talk line on a port of its own; it gives the port up.
    if (platform::IsLoaded<PhoneFrm>()) {
      platform::SerialControl& phonePort = platform::Instance<PhoneFrm>().CommPhone;
      if (phonePort.PortOpen()) phonePort.SetPortOpen(false);
    }
    Comm.SetCommPort(port);
    Comm.SetDTREnable(false);
    Comm.SetRTSEnable(false);
    Comm.SetPortOpen(true);
  } catch (const std::exception& error) {
    platform::TraceError(lcKeying, error);
    ReportInvalidPort();
  }
}

// The operator corrects the port in this window, shown for it when it is hidden.
void CWFrm::ReportInvalidPort() {
  platform::Beep();
  platform::MsgBox(QStringLiteral("The port you have selected for CW keying is invalid.  Please select another or "
                                  "enter 0 for none."),
                   platform::MsgBoxStyle::OKOnly, QStringLiteral("Invalid port."));
  if (!Visible()) Show(platform::Modal);
}

void CWFrm::Text10_KeyPress(int& KeyAscii) { logging::number(KeyAscii); }

void CWFrm::Text10_GotFocus() { SelectAll(Text10); }

void CWFrm::Text10_LostFocus() {
  if (!HoldsNumber(Text10)) Text10.SetText(QStringLiteral("0"));
  CWSetup();
}

void CWFrm::UpDown1_UpClick() { StepSpeed(1); }

void CWFrm::UpDown1_DownClick() { StepSpeed(-1); }

void CWFrm::Command2_Click() { UpDown1_UpClick(); }

void CWFrm::Command3_Click() { UpDown1_DownClick(); }

// No bounds: the keying reads whatever speed the box holds. A speed that is no number stays.
void CWFrm::StepSpeed(double step) {
  if (!HoldsNumber(Text11)) return;
  Text11.SetText(TextOfNumber(NumberIn(Text11) + step));
}

// Software keying reads the speed at each character; only the keyer device is told.
void CWFrm::Text11_Change() {
  try {
    const std::optional<double> speed = platform::ValOfNumberText(Text11.Text());
    if (!speed || *speed <= kDeviceSpeedAbove || *speed >= kDeviceSpeedBelow) return;
    if (TPVersion != 0 && KeyingMode == 5) tp_wpm(platform::RoundHalfEven(*speed));
  } catch (const std::exception& error) {
    platform::TraceError(lcKeying, error);
  }
}

void CWFrm::optTimer_Click() { EnableLoopTiming(false); }

void CWFrm::OptSleep_Click() { EnableLoopTiming(false); }

void CWFrm::optLoop_Click() {
  EnableLoopTiming(true);
  platform::DoEvents();
  if (LoopOffset == 0) CalibrateLoop();
  txtLoop.SetText(TextOfNumber(LoopOffset));
}

void CWFrm::EnableLoopTiming(bool enabled) {
  for (platform::Control* control : std::initializer_list<platform::Control*>{&txtLoop, &lblLoop, &cmdLoopFaster,
                                                                              &cmdLoopSlower}) {
    control->SetEnabled(enabled);
  }
}

void CWFrm::txtLoop_Change() {
  if (const std::optional<double> loops = platform::ValOfNumberText(txtLoop.Text())) LoopOffset = *loops;
}

void CWFrm::cmdLoopFaster_Click() { ScaleLoopOffset(kLoopFaster); }

void CWFrm::cmdLoopSlower_Click() { ScaleLoopOffset(kLoopSlower); }

void CWFrm::ScaleLoopOffset(double factor) {
  try {
    if (HoldsNumber(txtLoop)) txtLoop.SetText(TextOfNumber(platform::RoundHalfEven(NumberIn(txtLoop) * factor)));
    Command1.SetFocus();
  } catch (const std::exception& error) {
    platform::TraceError(lcKeying, error);
  }
}

// Blocks the window while it counts, as a character does while it is keyed.
void CWFrm::CalibrateLoop() {
  const std::uint32_t start = platform::TimeGetTime();
  LoopOffset = CountLoops(kCalibrationLoops);
  const std::uint32_t end = platform::TimeGetTime();
  const std::optional<double> loops = LoopsPer60Ms(end - start);
  if (!loops) return;  // the clock did not move: the count stays, and txtLoop its text
  LoopOffset = *loops;
  txtLoop.SetText(TextOfNumber(LoopOffset));
}

}  // namespace keying
