#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <cstdint>

namespace platform {

// One clock for the whole program. Every reading of the time of day, the millisecond counter
// and every Sleep go through these functions, so a test can stop the clock, set it and run
// a 3-second hold or a busy-wait on the millisecond counter without waiting.

// The local date and time.
QDateTime Now();
// The same instant in UTC.
QDateTime UtcNow();
// Milliseconds since an arbitrary start; wraps around after 2^32 ms. Compare readings by
// unsigned subtraction.
std::uint32_t TimeGetTime();
// Milliseconds since an arbitrary start, with the fraction, on the finest clock there is (the
// monotonic clock's nanoseconds), for deadlines that must not round to the millisecond, such as
// keyed elements. It does not wrap.
double FineMilliseconds();
// Waits, blocking the calling thread.
void Sleep(std::uint32_t milliseconds);
// Seconds since local midnight, with the fraction.
float SecondsSinceMidnight();

// Test seam. In fake mode the clock stands still except where a test or the program moves it:
// Advance and Sleep move it at once, and every TimeGetTime or FineMilliseconds reading moves it by
// 1 ms, so a busy-wait on either ends after as many readings as it waits milliseconds.
namespace Clock {
// Fakes the clock at the given local wall-clock time, in a zone that is the given number of
// hours ahead of UTC (-4 for a zone 4 hours behind UTC).
void SetFake(const QDateTime& localNow, double hoursAheadOfUtc);
void SetFake(const QDateTime& localNow, const QTimeZone& zone);
void Advance(std::int64_t milliseconds);
void UseReal();
bool IsFake();
}  // namespace Clock

}  // namespace platform
