#include "platform/deadline.h"

#include "platform/clock.h"
#include "platform/control.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <climits>
#include <vector>

namespace platform {

namespace {

constexpr int kConditionPollMilliseconds = 10;

struct PendingAction {
  QPointer<QObject> context;
  QDateTime when;
  std::function<void()> action;
};

// The actions waiting for their moment. Under the real clock one timer wakes the runner at the
// nearest moment, and the clock is read again then, since the wall clock may have been set
// meanwhile. The fake clock stands still between a test's moves, so only its moves wake it.
class DeadlineRunner : public QObject {
 public:
  DeadlineRunner() : QObject(QCoreApplication::instance()) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &DeadlineRunner::RunDue);
  }

  void Add(PendingAction pending) {
    pending_.push_back(std::move(pending));
    Schedule();
  }

  void RunDue();

 private:
  void Schedule();

  std::vector<PendingAction> pending_;
  QTimer timer_;
};

std::atomic<DeadlineRunner*> runner{nullptr};
std::atomic<std::size_t> waiting{0};
std::atomic<bool> checkPosted{false};

DeadlineRunner& Runner() {
  if (DeadlineRunner* existing = runner.load()) return *existing;
  auto* created = new DeadlineRunner;
  QObject::connect(created, &QObject::destroyed, [] { runner = nullptr; });
  runner = created;
  return *created;
}

void DeadlineRunner::RunDue() {
  checkPosted = false;
  const QDateTime now = Now();
  std::vector<PendingAction> due;
  std::vector<PendingAction> later;
  for (PendingAction& pending : pending_) {
    if (!pending.context) continue;
    (pending.when <= now ? due : later).push_back(std::move(pending));
  }
  pending_ = std::move(later);
  waiting = pending_.size();
  std::stable_sort(due.begin(), due.end(),
                   [](const PendingAction& a, const PendingAction& b) { return a.when < b.when; });
  for (const PendingAction& pending : due) {
    if (pending.context) detail::RunHandler(pending.action);
  }
  Schedule();
}

void DeadlineRunner::Schedule() {
  waiting = pending_.size();
  timer_.stop();
  if (pending_.empty()) return;
  const auto nearest = std::min_element(pending_.begin(), pending_.end(), [](const auto& a, const auto& b) {
    return a.when < b.when;
  });
  const qint64 left = Now().msecsTo(nearest->when);
  if (left <= 0) {
    timer_.start(0);
  } else if (!Clock::IsFake()) {
    timer_.start(static_cast<int>(std::min<qint64>(left, INT_MAX)));
  }
}

}  // namespace

void AtClockTime(QObject* context, const QDateTime& when, std::function<void()> action) {
  Runner().Add({context, when, std::move(action)});
}

void WaitWhile(const std::function<bool()>& condition, const QDateTime& deadline, UserInput input) {
  if (!condition() || Now() >= deadline) return;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (!condition()) loop.quit();
  });
  QObject waitContext;  // the deadline's action goes with the wait
  AtClockTime(&waitContext, deadline, [&loop] { loop.quit(); });
  poll.start(kConditionPollMilliseconds);
  loop.exec(input == UserInput::Deferred ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents);
}

namespace detail {

void ClockMoved() {
  DeadlineRunner* current = runner.load();
  if (!current || waiting.load() == 0 || checkPosted.exchange(true)) return;
  QMetaObject::invokeMethod(current, [current] { current->RunDue(); }, Qt::QueuedConnection);
}

}  // namespace detail

}  // namespace platform
