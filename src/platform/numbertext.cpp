#include "platform/numbertext.h"

#include "platform/errors.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <limits>

namespace platform {

namespace {

template <typename Number>
QString ShortestText(Number value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

}  // namespace

QStringView TrimBlanks(QStringView text) {
  while (!text.isEmpty() && text.front() == u' ') text = text.sliced(1);
  while (!text.isEmpty() && text.back() == u' ') text.chop(1);
  return text;
}

QString TrimBlanks(const QString& text) { return TrimBlanks(QStringView(text)).toString(); }

std::optional<double> DecimalOfText(const QString& text) {
  static const QRegularExpression number(QStringLiteral(R"(^ *([+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?) *$)"));
  const QRegularExpressionMatch match = number.match(text);
  if (!match.hasMatch()) return std::nullopt;
  const double value = match.captured(1).toDouble();
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double NumberInText(const QString& text) { return DecimalOfText(text).value_or(0.0); }

QString NumericTextOrZero(const QString& text) {
  return DecimalOfText(text).has_value() ? text : QStringLiteral("0");
}

std::optional<double> ValOfNumberText(const QString& text) {
  static const QRegularExpression hexadecimal(QStringLiteral("^ *&[Hh]([0-9A-Fa-f]+) *$"));
  const QRegularExpressionMatch match = hexadecimal.match(text);
  if (!match.hasMatch()) return DecimalOfText(text);
  bool fits = false;
  const qulonglong value = match.captured(1).toULongLong(&fits, 16);
  if (!fits || value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<double>(value);
}

std::int32_t RoundHalfEven(double value) {
  // nearbyint rounds by the current mode, which is to nearest with halves to even.
  const double whole = std::nearbyint(value);
  if (!(whole >= std::numeric_limits<std::int32_t>::min() && whole <= std::numeric_limits<std::int32_t>::max())) {
    throw RuntimeError(QStringLiteral("Overflow"), 6);
  }
  return static_cast<std::int32_t>(whole);
}

std::int32_t WholeOfNumberText(const QString& text) {
  const std::optional<double> value = ValOfNumberText(text);
  if (!value) throw RuntimeError(QStringLiteral("Type mismatch"), 13);
  return RoundHalfEven(*value);
}

QString NumberText(double value) { return ShortestText(value); }

QString NumberText(float value) { return ShortestText(value); }

}  // namespace platform
