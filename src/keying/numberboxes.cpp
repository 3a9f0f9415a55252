#include "keying/numberboxes.h"

#include "platform/errors.h"
#include "platform/numbertext.h"

#include <optional>

namespace keying {

double NumberIn(const platform::TextBox& box) {
  const std::optional<double> number = platform::ValOfNumberText(box.Text());
  if (!number) throw platform::RuntimeError(QStringLiteral("Type mismatch"), 13);
  return *number;
}

bool HoldsNumber(const platform::TextBox& box) { return platform::ValOfNumberText(box.Text()).has_value(); }

QString TextOfNumber(double value) { return QString::number(value, 'g', 15); }

void SelectAll(platform::TextBox& box) {
  box.SetSelStart(0);
  box.SetSelLength(static_cast<int>(box.Text().size()));
}

}  // namespace keying
