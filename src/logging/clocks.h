#pragma once

#include <QDateTime>

#include <cstdint>

// The main window's clocks, time-on clock and rate figures (Form1::TimeStats, cmdLogOn_Click and
// the timer events in clocks.cpp), and the window-free rules they apply.
namespace logging {

// Contacts of the last 60 and of the last 20 minutes before a UTC moment.
struct RecentContactCounts {
  std::int32_t LastHour = 0;
  std::int32_t Last20Minutes = 0;
};

// Walks the in-memory log from its newest slot down and stops at the first contact an hour old or
// older, so the cost follows the recent contacts rather than the log's size. Both limits are
// strict: a contact exactly 1200 s old is outside the 20 minutes. Throws platform::RuntimeError
// 13 "Type mismatch" when a date ("yyyy/mm/dd") or time ("hh:mm:ss", or "hh:mm" after the
// contest) walked over cannot be read.
RecentContactCounts CountRecentContacts(const QDateTime& utcNow);

}  // namespace logging
