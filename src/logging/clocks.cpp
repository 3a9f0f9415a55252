#include "logging/clocks.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/commit.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/storeddatetime.h"
#include "network/frmnetwork.h"
#include "network/globals.h"
#include "platform/clock.h"
#include "platform/instances.h"
#include "platform/modulevalues.h"
#include "platform/trace.h"

#include <QLocale>

#include <cmath>
#include <deque>
#include <optional>

namespace logging {

namespace {

constexpr qint64 SecondsPerHour = 3600;
constexpr qint64 SecondsIn20Minutes = 1200;

// A contact's stored UTC date and time as one moment; empty when either cannot be read.
std::optional<qint64> ContactMomentOf(std::int32_t slot) { return ReadContactMoment(LogDate[slot], LogTime[slot]); }

// Whether a slot stands in time order, every row before it in the program's own forms older: a
// reload sorts the rows by their texts, which keeps time order among those forms only. A row that
// another program wrote in another form sits wherever its text sorted.
bool StandsInTimeOrder(std::int32_t slot) { return IsStoredDate(LogDate[slot]) && IsStoredTime(LogTime[slot]); }

// The moments of a run of the log's newest slots, read once each: the rate figures walk the last
// hour at every commit and every tick, and reading a stored date costs far more than the walk.
// Any rewrite of the dates or times (a reload, a new log) forgets them.
struct KeptMoments {
  std::uint64_t dateRewrites = 0;
  std::uint64_t timeRewrites = 0;
  std::int32_t firstSlot = 1;                  // the slot of moments.front()
  std::deque<std::optional<qint64>> moments;  // slots firstSlot onward, without a gap
};
MODULE_VALUE(KeptMoments, RecentMoments);

std::int32_t LastKeptSlot() {
  return RecentMoments.firstSlot + static_cast<std::int32_t>(RecentMoments.moments.size()) - 1;
}

void ForgetMomentsOfRewrittenLog() {
  const bool rewritten = RecentMoments.dateRewrites != LogDate.Rewrites() ||
                         RecentMoments.timeRewrites != LogTime.Rewrites() || LastKeptSlot() > LogCount;
  if (!rewritten) return;
  RecentMoments = {LogDate.Rewrites(), LogTime.Rewrites(), LogCount + 1, {}};
}

// The slot's moment as kept, read first when the slot lies just above or below the kept run. The
// walk asks for the newest slot first, then each one below in turn, so the run stays unbroken.
std::optional<qint64> KeptMomentOf(std::int32_t slot) {
  KeptMoments& kept = RecentMoments;
  while (LastKeptSlot() < slot) kept.moments.push_back(ContactMomentOf(LastKeptSlot() + 1));
  if (slot < kept.firstSlot) {
    kept.moments.push_front(ContactMomentOf(slot));
    kept.firstSlot = slot;
  }
  return kept.moments[static_cast<std::size_t>(slot - kept.firstSlot)];
}

// Slots below the one that ended the walk stay unread while the clock runs on: the walk ends at
// that slot or above it from now on.
void ForgetMomentsBelow(std::int32_t slot) {
  KeptMoments& kept = RecentMoments;
  kept.moments.erase(kept.moments.begin(), kept.moments.begin() + (slot - kept.firstSlot));
  kept.firstSlot = slot;
}

}  // namespace

RecentContactCounts CountRecentContacts(const QDateTime& utcNow) {
  const qint64 now = MomentOf(utcNow);
  ForgetMomentsOfRewrittenLog();
  RecentContactCounts counts;
  for (std::int32_t slot = LogCount; slot >= 1; --slot) {
    const std::optional<qint64> logged = KeptMomentOf(slot);
    if (!logged) continue;  // a row that cannot be read counts nowhere
    const qint64 age = now - *logged;
    if (age >= SecondsPerHour) {
      if (!StandsInTimeOrder(slot)) continue;
      ForgetMomentsBelow(slot);
      break;
    }
    ++counts.LastHour;
    if (age < SecondsIn20Minutes) ++counts.Last20Minutes;
  }
  return counts;
}

}  // namespace logging

namespace app {

namespace {

constexpr double SecondsPerHour = 3600;
const QString TimeOnCaption = QStringLiteral("&Log \"Time On\"");
const QString TimeOffCaption = QStringLiteral("&Log \"Time Off\"");

// The local clock on the 12-hour dial, without its designator.
QString TwelveHourClockText(const QTime& time) {
  const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
  return QString::number(hour) + time.toString(QStringLiteral(":mm:ss"));
}

// The locale's own AM or PM text, whatever its length.
QString DesignatorText(const QTime& time) {
  const QLocale locale;
  return time.hour() < 12 ? locale.amText() : locale.pmText();
}

// "hh:mm:ss"; hours of 100 or more keep their last two digits.
QString OnTimeText(float seconds) {
  const double whole = std::floor(static_cast<double>(seconds));
  const auto twoDigits = [](double value) {
    return QStringLiteral("%1").arg(static_cast<int>(std::fmod(value, 100)), 2, 10, QLatin1Char('0'));
  };
  return twoDigits(std::floor(whole / SecondsPerHour)) + QLatin1Char(':') +
         twoDigits(std::fmod(std::floor(whole / 60), 60)) + QLatin1Char(':') + twoDigits(std::fmod(whole, 60));
}

// The current log-on's whole seconds up to now plus the earlier periods.
void ShowOnTime(Form1& form, const QDateTime& now) {
  logging::OnTime = std::fabs(static_cast<float>(logging::LogOnStart.secsTo(now)) + logging::StoredOnTime);
  form.lblttrack.SetCaption(OnTimeText(logging::OnTime));
}

}  // namespace

void Form1::Timer1_Timer() { TimeStats(); }

// An error on the way leaves the figures as they were.
void Form1::TimeStats() {
  try {
    const logging::RecentContactCounts counts =
        logging::CountRecentContacts(logging::UtcMomentOf(platform::Now(), UtcOffset));
    lblAQSO60.SetCaption(QString::number(counts.LastHour));
    lblAQSO20.SetCaption(QString::number(counts.Last20Minutes * 3));
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
  }
}

void Form1::Timer2_Timer() {
  const QDateTime now = platform::Now();
  lblCurTime.SetCaption(TwelveHourClockText(now.time()));
  Label16.SetCaption(DesignatorText(now.time()));
  lblutctime.SetCaption(logging::UtcMomentOf(now, UtcOffset).toString(QStringLiteral("HH:mm:ss")));
  if (logging::LoggedOn == 1) ShowOnTime(*this, now);
}

// Logging off brings the total up to this moment before storing it: the clock's last tick may
// predate the log-on, and the saved total must never fall behind.
void Form1::cmdLogOn_Click() {
  const QDateTime now = platform::Now();
  if (logging::LoggedOn == 1) {
    ShowOnTime(*this, now);
    logging::LoggedOn = 0;
    cmdLogOn.SetCaption(TimeOnCaption);
    logging::StoredOnTime = logging::OnTime;
    const QDateTime utc = logging::UtcMomentOf(now, UtcOffset);
    lblDialog.SetCaption(QStringLiteral("Logged Off at ") + QLocale().toString(utc.date(), QLocale::ShortFormat) +
                         QLatin1Char(' ') + utc.toString(QStringLiteral("HH:mm:ss")));
    SavePref();
  } else {
    logging::LogOnStart = now;
    logging::LoggedOn = 1;
    cmdLogOn.SetCaption(TimeOffCaption);
    lblDialog.SetCaption(QStringLiteral(" "));
  }
  txtCall.SetFocus();
}

// Switches the station network on once after start, by the network window's own switch, so the
// window listens even when something loaded it before with the network still off.
void Form1::Timer4_Timer() {
  network::NetworkEnabled = 1;
  Timer4.SetEnabled(false);
  platform::Instance<network::frmNetwork>().Check1.SetValue(1);
}

}  // namespace app
