#pragma once

#include "platform/control.h"

#include <QTimer>

#include <functional>

namespace platform {

// The timer control: ticks every Interval milliseconds on the GUI thread while Enabled.
// Interval 0 never ticks; setting Enabled to true, or a new Interval, starts the count afresh.
// A tick is skipped while the previous tick's handler still runs (a message box in it).
class Timer : public Control {
 public:
  Timer(Container* parent, const QString& name, int index = -1);

  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);
  void SetEnabled(bool enabled) override;
  void CopyDesignFrom(const Control& source) override;
  void Retire() override;
  // Stops the count without touching Enabled: the window was unloaded.
  void Stop() { timer_.stop(); }

  // The control's Timer event.
  std::function<void()> Tick;

 private:
  void Restart();

  QTimer timer_;
  int interval_ = 0;
  bool ticking_ = false;
};

}  // namespace platform
