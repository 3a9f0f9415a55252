#include "rig/replyfields.h"

#include "platform/numbertext.h"

#include <cmath>
#include <limits>

namespace rig {

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Digits with at most one point and at least one digit.
bool IsDecimal(QStringView text) {
  bool point = false;
  bool digit = false;
  for (QChar c : text) {
    if (IsDigit(c)) {
      digit = true;
    } else if (c == u'.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

}  // namespace

qsizetype FindMarker(const QByteArray& reply, const QByteArray& marker, qsizetype from) {
  if (marker.isEmpty() || from < 1) return 0;
  return reply.indexOf(marker, from - 1) + 1;
}

std::optional<double> ReceivedNumber(const QString& text) {
  const QStringView number = platform::TrimBlanks(QStringView(text));
  if (!IsDecimal(number)) return std::nullopt;
  bool ok = false;
  const double value = number.toDouble(&ok);
  if (!ok || !std::isfinite(value) || value > std::numeric_limits<float>::max()) return std::nullopt;
  return value;
}

double RoundedMegahertz(double units, double unitsPerMegahertz) {
  // A whole count divided by a power of ten gives the double nearest the decimal frequency, the
  // same value the frequency's text reads as.
  return std::nearbyint(units) / unitsPerMegahertz;
}

std::optional<double> MegahertzFromHzField(const QString& field) {
  const std::optional<double> hz = ReceivedNumber(field);
  if (!hz) return std::nullopt;
  return RoundedMegahertz(*hz, kHzPerMegahertz);
}

}  // namespace rig
