#pragma once

#include <QDateTime>

#include <functional>

class QObject;

namespace platform {

// Waiting for a moment of the platform clock (clock.h) without stopping the event loop: timers,
// sockets and repaints go on meanwhile. Under the fake clock a wait ends when the test moves the
// clock past its moment, so a test runs a 3-second hold at once.

// Runs `action` from the event loop once the clock has reached `when` (at the next pass when it
// has already). Nothing runs once `context` is destroyed. GUI thread only.
void AtClockTime(QObject* context, const QDateTime& when, std::function<void()> action);

// Whether a wait handles the operator's keys and clicks as they come, or leaves them queued until
// it ends, as a window that does not answer while it waits.
enum class UserInput { Handled, Deferred };

// Runs the event loop until `condition` no longer holds or the clock reaches `deadline`,
// whichever comes first; the condition is read at once and then every few milliseconds.
// Handlers of other events run meanwhile, as in a modal window.
void WaitWhile(const std::function<bool()>& condition, const QDateTime& deadline,
               UserInput input = UserInput::Handled);

namespace detail {
// Called by the clock whenever the fake clock moves or the clock changes mode: waits whose
// moment has come end at the next pass of the event loop. Any thread.
void ClockMoved();
}  // namespace detail

}  // namespace platform
