#include "app/stationfields.h"

#include "platform/numbertext.h"

#include <charconv>

namespace app {

namespace {

template <typename Number>
QString ShortestText(Number value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

}  // namespace

bool IsNumericText(const QString& text) { return platform::DecimalOfText(text).has_value(); }

double NumberInText(const QString& text) { return platform::DecimalOfText(text).value_or(0.0); }

QString NumericTextOrZero(const QString& text) { return IsNumericText(text) ? text : QStringLiteral("0"); }

QString NumberText(double value) { return ShortestText(value); }

QString NumberText(float value) { return ShortestText(value); }

QString TrimBlanks(const QString& text) {
  qsizetype first = 0;
  qsizetype end = text.size();
  while (first < end && text[first] == QLatin1Char(' ')) ++first;
  while (end > first && text[end - 1] == QLatin1Char(' ')) --end;
  return text.mid(first, end - first);
}

QString LogFilePathShown(const QString& logFilePath, const QString& programDir) {
  if (logFilePath.size() >= 3) return logFilePath;
  // The program folder is a native path: the operator reads it with "/" throughout.
  const QString separator = programDir.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
  return programDir + separator + QStringLiteral("Corvane.MDB");
}

}  // namespace app
