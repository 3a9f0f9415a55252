#include "platform/clock.h"

#include "platform/deadline.h"

#include <QThread>

#include <chrono>
#include <mutex>
#include <optional>

namespace platform {

namespace {

// The fake instant and millisecond counter move together. The keyer threads may read the
// clock too, so the fake state is guarded.
struct FakeClock {
  std::int64_t utcMilliseconds = 0;
  QTimeZone zone;
  std::uint32_t ticks = 0;
};

std::mutex clockMutex;
std::optional<FakeClock> fake;

constexpr std::uint32_t kFakeTicksAtStart = 1'000'000;

std::uint32_t RealTicks() {
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void AdvanceLocked(std::int64_t milliseconds) {
  fake->utcMilliseconds += milliseconds;
  fake->ticks += static_cast<std::uint32_t>(milliseconds);
  detail::ClockMoved();
}

// The system's local time re-reads the zone file at every reading, which costs more than a
// spot's whole intake; the offset from UTC is read again once a minute instead, so a change of
// zone or of summer time shows within a minute.
struct RealOffset {
  std::int64_t readAtUtcMilliseconds = 0;
  int seconds = 0;
  bool read = false;
};

RealOffset realOffset;

QDateTime RealNowLocked() {
  const std::int64_t utcMilliseconds = QDateTime::currentMSecsSinceEpoch();
  const std::int64_t sinceRead = utcMilliseconds - realOffset.readAtUtcMilliseconds;
  if (!realOffset.read || sinceRead < 0 || sinceRead >= 60'000) {
    realOffset = {utcMilliseconds, QDateTime::fromMSecsSinceEpoch(utcMilliseconds).offsetFromUtc(), true};
  }
  return QDateTime::fromMSecsSinceEpoch(utcMilliseconds, Qt::OffsetFromUTC, realOffset.seconds);
}

}  // namespace

QDateTime Now() {
  std::lock_guard lock(clockMutex);
  if (!fake) return RealNowLocked();
  return QDateTime::fromMSecsSinceEpoch(fake->utcMilliseconds, fake->zone);
}

QDateTime UtcNow() { return Now().toUTC(); }

std::uint32_t TimeGetTime() {
  std::lock_guard lock(clockMutex);
  if (!fake) return RealTicks();
  const std::uint32_t reading = fake->ticks;
  AdvanceLocked(1);
  return reading;
}

double FineMilliseconds() {
  std::lock_guard lock(clockMutex);
  if (!fake) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
  }
  // The fake instant moves with the ticks and never wraps: its milliseconds serve as they are.
  const auto reading = static_cast<double>(fake->utcMilliseconds);
  AdvanceLocked(1);
  return reading;
}

void Sleep(std::uint32_t milliseconds) {
  {
    std::lock_guard lock(clockMutex);
    if (fake) {
      AdvanceLocked(milliseconds);
      return;
    }
  }
  QThread::msleep(milliseconds);
}

float SecondsSinceMidnight() { return static_cast<float>(Now().time().msecsSinceStartOfDay() / 1000.0); }

namespace Clock {

void SetFake(const QDateTime& localNow, double hoursAheadOfUtc) {
  SetFake(localNow, QTimeZone(static_cast<int>(qRound(hoursAheadOfUtc * 3600))));
}

void SetFake(const QDateTime& localNow, const QTimeZone& zone) {
  std::lock_guard lock(clockMutex);
  const QDateTime wallClock(localNow.date(), localNow.time(), zone);
  fake = FakeClock{wallClock.toMSecsSinceEpoch(), zone, kFakeTicksAtStart};
  detail::ClockMoved();
}

void Advance(std::int64_t milliseconds) {
  std::lock_guard lock(clockMutex);
  if (fake) AdvanceLocked(milliseconds);
}

void UseReal() {
  std::lock_guard lock(clockMutex);
  fake.reset();
  detail::ClockMoved();
}

bool IsFake() {
  std::lock_guard lock(clockMutex);
  return fake.has_value();
}

}  // namespace Clock

}  // namespace platform
