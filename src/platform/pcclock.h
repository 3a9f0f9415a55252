#pragma once

#include <QDate>
#include <QTime>

namespace platform {

// Sets this PC's date and time to the given local wall-clock moment (clock_settime, which needs
// the CAP_SYS_TIME capability). A refusal throws RuntimeError with the system's reason and
// changes nothing.
//
// Test seam, CORVANE_FAKE_SET_CLOCK in the environment: "1" moves only this program's own clock
// (a fake clock at that moment, in the zone the program's clock is in), never the machine's;
// "refuse" refuses as a PC without the right to set the time does.
void SetPcClock(const QDate& date, const QTime& time);

}  // namespace platform
