#include "logging/storeddatetime.h"

#include <QDate>
#include <QTime>

namespace logging {

namespace {

constexpr qint64 SecondsPerDay = 86400;

// The number written by all-digit text of minDigits to maxDigits characters; -1 for other text.
int DigitsValue(QStringView text, qsizetype minDigits, qsizetype maxDigits) {
  if (text.size() < minDigits || text.size() > maxDigits) return -1;
  int value = 0;
  for (const QChar c : text) {
    if (c < u'0' || c > u'9') return -1;
    value = value * 10 + (c.unicode() - u'0');
  }
  return value;
}

// The two-digit number at `at`, or -1.
int TwoDigits(QStringView text, qsizetype at) { return DigitsValue(text.mid(at, 2), 2, 2); }

}  // namespace

std::optional<ContactDate> ReadContactDate(QStringView text) {
  const char16_t separator = text.contains(u'/') ? u'/' : u'-';
  const qsizetype first = text.indexOf(separator);
  const qsizetype second = first < 0 ? -1 : text.indexOf(separator, first + 1);
  if (second < 0 || text.indexOf(separator, second + 1) >= 0) return std::nullopt;
  const QStringView parts[] = {text.left(first), text.mid(first + 1, second - first - 1), text.mid(second + 1)};
  const bool yearFirst = parts[0].size() == 4;
  if (!yearFirst && separator != u'/') return std::nullopt;
  const int year = DigitsValue(parts[yearFirst ? 0 : 2], 4, 4);
  const int month = DigitsValue(parts[yearFirst ? 1 : 0], 1, 2);
  const int day = DigitsValue(parts[yearFirst ? 2 : 1], 1, 2);
  if (year < 0 || !QDate::isValid(year, month, day)) return std::nullopt;
  return ContactDate{year, month, day};
}

std::optional<int> ReadContactTime(QStringView text) {
  const QStringView time = text.trimmed();
  const qsizetype firstColon = time.indexOf(u':');
  const qsizetype secondColon = firstColon < 0 ? -1 : time.indexOf(u':', firstColon + 1);
  if (firstColon < 0 || (secondColon >= 0 && time.indexOf(u':', secondColon + 1) >= 0)) return std::nullopt;
  const qsizetype minuteEnd = secondColon < 0 ? time.size() : secondColon;
  const int hours = DigitsValue(time.left(firstColon), 1, 2);
  const int minutes = DigitsValue(time.mid(firstColon + 1, minuteEnd - firstColon - 1), 1, 2);
  const int seconds = secondColon < 0 ? 0 : DigitsValue(time.mid(secondColon + 1), 1, 2);
  if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) return std::nullopt;
  return (hours * 60 + minutes) * 60 + seconds;
}

std::optional<qint64> ReadContactMoment(QStringView date, QStringView time) {
  const std::optional<ContactDate> day = ReadContactDate(date);
  const std::optional<int> second = ReadContactTime(time);
  if (!day || !second) return std::nullopt;
  return QDate(day->Year, day->Month, day->Day).toJulianDay() * SecondsPerDay + *second;
}

qint64 MomentOf(const QDateTime& moment) {
  return moment.date().toJulianDay() * SecondsPerDay + moment.time().msecsSinceStartOfDay() / 1000;
}

bool IsStoredDate(QStringView text) {
  if (text.size() != 10 || text[4] != u'/' || text[7] != u'/') return false;
  const int year = DigitsValue(text.left(4), 4, 4);
  return year >= 0 && QDate::isValid(year, TwoDigits(text, 5), TwoDigits(text, 8));
}

bool IsStoredTime(QStringView text) {
  const bool seconds = text.size() == 8;
  if ((!seconds && text.size() != 5) || text[2] != u':') return false;
  if (seconds && text[5] != u':') return false;
  return QTime::isValid(TwoDigits(text, 0), TwoDigits(text, 3), seconds ? TwoDigits(text, 6) : 0);
}

}  // namespace logging
