#include "keying/numberboxes.h"

#include "platform/errors.h"
#include "platform/numbertext.h"

#include <cmath>
#include <optional>

namespace keying {

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

}  // namespace keying
