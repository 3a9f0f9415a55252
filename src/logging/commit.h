#pragma once

#include "platform/modulevalues.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

#include <cstdint>
#include <optional>

// The contact commit (Form1::Mains and Form1::frmcmp, defined in commit.cpp) and the window-free
// rules it applies to dates and times.
namespace logging {

// 1 when frmcmp found the grid or a call of at least 3 characters missing.
MODULE_VALUE(std::uint8_t, EntryIncomplete, 0);

// A contact's UTC date "yyyy/mm/dd" and time "hh:mm:ss".
struct ContactStamp {
  QString Date;
  QString Time;
};

// The one UTC rule of every date and time the program stores or shows: the local moment plus the
// UTC offset in whole minutes, counted on the wall clock (a change to or from summer time in
// between does not count), so a date and time follow one reading of the clock. A UTC QDateTime.
QDateTime UtcMomentOf(const QDateTime& localNow, float utcOffsetHours);

// UtcMomentOf as a contact's date and time.
ContactStamp UtcStampOf(const QDateTime& localNow, float utcOffsetHours);

// A post-contest date: day, month and year in the order of the locale's short date, separated by
// one of "/", "-" or "." (a two-digit year 30-99 is 19xx, 00-29 is 20xx), or year first with a
// four-digit year ("2024/03/02", "2024-3-2"). Empty for anything else or a day that does not exist.
std::optional<QDate> ParsePostContestDate(const QString& text, const QLocale& locale = QLocale());

// A post-contest time typed as 3 or 4 digits gets a colon before its last two: "930" is "9:30".
QString WithTimeColon(const QString& text);

// A post-contest time "h:mm" or "hh:mm" on the 24-hour clock; empty for anything else ("25:00").
std::optional<QTime> ParsePostContestTime(const QString& text);

}  // namespace logging
