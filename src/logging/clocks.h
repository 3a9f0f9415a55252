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
// older that stands in time order (a date and time in the program's own forms), so the cost
// follows the recent contacts rather than the log's size. An older contact in another form is
// passed over, and so is a row whose date or time cannot be read. Both limits are strict: a
// contact exactly 1200 s old is outside the 20 minutes.
RecentContactCounts CountRecentContacts(const QDateTime& utcNow);

}  // namespace logging
