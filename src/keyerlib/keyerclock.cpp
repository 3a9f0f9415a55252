#include "keyerclock.h"

#include <atomic>
#include <thread>

namespace tapplink {
namespace {

void RealSleep(Milliseconds duration) { std::this_thread::sleep_for(duration); }

std::atomic<SleepFunction> sleepFunction{&RealSleep};

}  // namespace

Deadline DeadlineAfter(Milliseconds timeout) { return std::chrono::steady_clock::now() + timeout; }

int MillisecondsLeft(Deadline deadline) {
  const auto left = std::chrono::ceil<Milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void WaitUntil(Deadline deadline) { std::this_thread::sleep_until(deadline); }

void Sleep(Milliseconds duration) { sleepFunction.load()(duration); }

void SetSleepForTesting(SleepFunction sleep) { sleepFunction.store(sleep != nullptr ? sleep : &RealSleep); }

}  // namespace tapplink
