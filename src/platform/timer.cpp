#include "platform/timer.h"

#include "platform/errors.h"

namespace platform {

Timer::Timer(Container* parent, const QString& name, int index)
    : Control(ControlKind::Timer, parent->OwnerForm(), name, index) {
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
    if (ticking_) return;
    ticking_ = true;
    Raise(Tick);
    ticking_ = false;
  });
}

void Timer::SetInterval(int milliseconds) {
  if (milliseconds < 0) InvalidPropertyValue();
  interval_ = milliseconds;
  Restart();
}

void Timer::SetEnabled(bool enabled) {
  Control::SetEnabled(enabled);
  Restart();
}

void Timer::Restart() {
  timer_.stop();
  if (Enabled() && interval_ > 0) timer_.start(interval_);
}

void Timer::Retire() {
  Control::Retire();
  Stop();
}

void Timer::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  SetInterval(static_cast<const Timer&>(source).interval_);
}

}  // namespace platform
