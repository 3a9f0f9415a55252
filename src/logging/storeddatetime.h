#pragma once

#include <QDateTime>
#include <QStringView>

#include <optional>

// A contact's date and time as a row of the log holds them. The program stores "yyyy/mm/dd" and
// "hh:mm:ss" ("hh:mm" for a contact entered after the contest); rows that Combine or another
// program brought in may hold other explicit forms. Everything that reads a stored date or time
// reads it here, so the rate figures, the contact list and the exports agree about every row.
namespace logging {

// A day of the calendar, as a stored contact date gives it.
struct ContactDate {
  int Year;
  int Month;
  int Day;
};

// A stored contact date, read by its explicit forms only, never by the locale: "yyyy/mm/dd",
// "yyyy-mm-dd" or "m/d/yyyy", month and day of one or two digits. Empty for anything else or a
// day that does not exist.
std::optional<ContactDate> ReadContactDate(QStringView text);

// A stored contact time as seconds after midnight, read by its explicit forms only: "h:m:s" or
// "h:m", each part of one or two digits, blanks around ignored. Empty for anything else or a time
// that does not exist.
std::optional<int> ReadContactTime(QStringView text);

// A stored date and time as one count of whole seconds (days from the start of the Julian day
// count), for comparing and subtracting moments; empty when either cannot be read.
std::optional<qint64> ReadContactMoment(QStringView date, QStringView time);

// A moment of the clock on the same count, its fraction of a second dropped.
qint64 MomentOf(const QDateTime& moment);

// Whether a date is in the program's own form, "yyyy/mm/dd", and a real day.
bool IsStoredDate(QStringView text);

// Whether a time is in the program's own form, "hh:mm:ss" or "hh:mm", and a real time of day.
bool IsStoredTime(QStringView text);

}  // namespace logging
