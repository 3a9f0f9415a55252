#include "logging/contactrow.h"

#include "logging/logstore.h"

#include <QDate>
#include <QTime>

namespace logging {

namespace {

// The stored forms are read field by field: the list of a full log reads 14000 dates and times
// on every commit, and a general date parse costs many times more.

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The two-digit number at `at`, or -1.
int TwoDigits(const QString& text, qsizetype at) {
  if (!IsDigit(text[at]) || !IsDigit(text[at + 1])) return -1;
  return (text[at].unicode() - '0') * 10 + (text[at + 1].unicode() - '0');
}

// "yyyy/mm/dd", a real date.
bool IsStoredDate(const QString& text) {
  if (text.size() != 10 || text[4] != QLatin1Char('/') || text[7] != QLatin1Char('/')) return false;
  const int century = TwoDigits(text, 0);
  const int year = TwoDigits(text, 2);
  if (century < 0 || year < 0) return false;
  return QDate::isValid(century * 100 + year, TwoDigits(text, 5), TwoDigits(text, 8));
}

// "hh:mm:ss" or "hh:mm", a real time of day.
bool IsStoredTime(const QString& text) {
  const bool seconds = text.size() == 8;
  if ((!seconds && text.size() != 5) || text[2] != QLatin1Char(':')) return false;
  if (seconds && text[5] != QLatin1Char(':')) return false;
  return QTime::isValid(TwoDigits(text, 0), TwoDigits(text, 3), seconds ? TwoDigits(text, 6) : 0);
}

// The list's form of a date or a time, appended to `out`.
void AppendListDate(QString& out, const QString& storedDate) {
  if (IsStoredDate(storedDate)) {
    const QStringView date(storedDate);
    out += date.mid(5, 2);
    out += u'/';
    out += date.mid(8, 2);
    return;
  }
  const QDate date = QDate::fromString(storedDate, QStringLiteral("yyyy/M/d"));
  out += date.isValid() ? date.toString(QStringLiteral("MM/dd")) : storedDate;
}

void AppendListTime(QString& out, const QString& storedTime) {
  if (IsStoredTime(storedTime)) {
    out += QStringView(storedTime).left(5);
    return;
  }
  for (const QString& format : {QStringLiteral("H:m:s"), QStringLiteral("H:m")}) {
    const QTime time = QTime::fromString(storedTime, format);
    if (time.isValid()) {
      out += time.toString(QStringLiteral("HH:mm"));
      return;
    }
  }
  out += storedTime;
}

}  // namespace

QString ListDate(const QString& storedDate) {
  QString text;
  AppendListDate(text, storedDate);
  return text;
}

QString ListTime(const QString& storedTime) {
  QString text;
  AppendListTime(text, storedTime);
  return text;
}

QStringList ContactListRow(std::int32_t slot) {
  QString dateTime;
  dateTime.reserve(11);  // "mm/dd hh:mm" in one piece
  AppendListDate(dateTime, LogDate[slot]);
  dateTime += u' ';
  AppendListTime(dateTime, LogTime[slot]);
  return {QString::number(slot),
          LogCalls[slot],
          LogRstRcvd[slot],
          LogGridRcvd[slot],
          LogRstSent[slot],
          dateTime,
          LogBand[slot].left(3),
          LogGridSent[slot],
          LogMode[slot]};
}

}  // namespace logging
