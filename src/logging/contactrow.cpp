#include "logging/contactrow.h"

#include "logging/logstore.h"
#include "logging/storeddatetime.h"

#include <optional>

namespace logging {

namespace {

// Appended digit by digit, without a general date format: a reload fills the list of a full log
// with 14000 dates and times.

void AppendTwoDigits(QString& out, int number) {
  out += QChar(u'0' + number / 10);
  out += QChar(u'0' + number % 10);
}

// The list's form of a date or a time, appended to `out`; a text that is no date or time as it is.
void AppendListDate(QString& out, const QString& storedDate) {
  const std::optional<ContactDate> date = ReadContactDate(storedDate);
  if (!date) {
    out += storedDate;
    return;
  }
  AppendTwoDigits(out, date->Month);
  out += u'/';
  AppendTwoDigits(out, date->Day);
}

void AppendListTime(QString& out, const QString& storedTime) {
  const std::optional<int> seconds = ReadContactTime(storedTime);
  if (!seconds) {
    out += storedTime;
    return;
  }
  AppendTwoDigits(out, *seconds / 3600);
  out += u':';
  AppendTwoDigits(out, *seconds / 60 % 60);
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
