#include "platform/pcclock.h"

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/errors.h"

#include <QDateTime>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace platform {

namespace {

constexpr int PermissionDenied = 70;
constexpr int InvalidCall = 5;

[[noreturn]] void Refused(int error) {
  throw RuntimeError(QStringLiteral("This PC's clock was not set: %1").arg(QString::fromLocal8Bit(std::strerror(error))),
                     error == EPERM ? PermissionDenied : InvalidCall);
}

}  // namespace

void SetPcClock(const QDate& date, const QTime& time) {
  const QString fake = Environ(QStringLiteral("CORVANE_FAKE_SET_CLOCK"));
  if (fake == QLatin1String("refuse")) Refused(EPERM);
  if (fake == QLatin1String("1")) {
    Clock::SetFake(QDateTime(date, time), Now().timeZone());
    return;
  }
  const qint64 milliseconds = QDateTime(date, time).toMSecsSinceEpoch();
  if (milliseconds < 0) Refused(EINVAL);  // before 1970: no clock takes it
  timespec moment{};
  moment.tv_sec = static_cast<time_t>(milliseconds / 1000);
  moment.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000;
  if (clock_settime(CLOCK_REALTIME, &moment) != 0) Refused(errno);
}

}  // namespace platform
