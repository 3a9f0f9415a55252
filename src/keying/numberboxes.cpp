#include "keying/numberboxes.h"

#include "logging/keyfilters.h"
#include "platform/errors.h"
#include "platform/numbertext.h"

#include <cmath>
#include <optional>

namespace keying {

namespace {

constexpr double kRepeatSecondsBelow = 60;

}  // namespace

double NumberIn(const platform::TextBox& box) {
  const std::optional<double> number = platform::ValOfNumberText(box.Text());
  if (!number) throw platform::RuntimeError(QStringLiteral("Type mismatch"), 13);
  return *number;
}

bool HoldsNumber(const platform::TextBox& box) { return platform::ValOfNumberText(box.Text()).has_value(); }

std::optional<std::uint8_t> ByteIn(const platform::TextBox& box) {
  const std::optional<double> number = platform::ValOfNumberText(box.Text());
  if (!number) return std::nullopt;
  const double rounded = std::nearbyint(*number);  // the default rounding: halves to even
  if (rounded < 0 || rounded > 255) return std::nullopt;
  return static_cast<std::uint8_t>(rounded);
}

QString TextOfNumber(double value) { return QString::number(value, 'g', 15); }

void SelectAll(platform::TextBox& box) {
  box.SetSelStart(0);
  box.SetSelLength(static_cast<int>(box.Text().size()));
}

void RepeatPauseKey(int& KeyAscii) {
  if (KeyAscii != '.') logging::number(KeyAscii);
}

void TakeRepeatPause(platform::TextBox& box, platform::Timer& repeat) {
  const std::optional<double> seconds = platform::ValOfNumberText(box.Text());
  if (seconds && *seconds >= 0 && *seconds < kRepeatSecondsBelow) {
    repeat.SetInterval(platform::RoundHalfEven(*seconds * 1000));
  } else {
    box.SetText(QStringLiteral("0"));
    repeat.SetInterval(0);
  }
}

}  // namespace keying
