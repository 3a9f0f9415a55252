// The keyer library's time: its deliberate waits and the deadlines of its reads.
// It links no Qt, so it has this seam of its own.
#pragma once

#include <chrono>

namespace tapplink {

using Milliseconds = std::chrono::milliseconds;
using Deadline = std::chrono::steady_clock::time_point;

// How long the writer waits for a wake-up before it sends one queued byte.
inline constexpr Milliseconds kWriterWait{3};
// How long a wake-up's commands may wait for room on the line. A write waits only once the port's
// buffer is full, which the paced text never fills at 1200 baud: a line that has taken nothing by
// then is a link whose device stopped reading, and the connection is given up.
inline constexpr Milliseconds kWriteDeadline{1000};
// The close command's, with the time the line has to send it: a close (the program's exit among
// them) does not wait on a dead line.
inline constexpr Milliseconds kCloseWriteDeadline{250};

Deadline DeadlineAfter(Milliseconds timeout);
// What is left of a deadline, for poll(); 0 once it has passed.
int MillisecondsLeft(Deadline deadline);
// Lets a read that cannot make progress (a hung-up line) use up its time-out instead of spinning.
void WaitUntil(Deadline deadline);

// The opening handshake's waits for the device.
void Sleep(Milliseconds duration);

// Tests replace Sleep, e.g. to skip the handshake's waits; nullptr restores the real one.
using SleepFunction = void (*)(Milliseconds);
void SetSleepForTesting(SleepFunction sleep);

}  // namespace tapplink
