#include "logging/clocks.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/commit.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "network/frmnetwork.h"
#include "network/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/modulevalues.h"
#include "platform/paths.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "formtesting.h"
#include "programfolderfixture.h"
#include "testbound.h"

#include <functional>
#include <utility>
#include <vector>

namespace {

const QDateTime LocalNow(QDate(2024, 3, 2), QTime(20, 30));

// A contact logged the given number of seconds before now, stamped by the commit's UTC rule.
void LogContactAged(qint64 seconds) {
  const logging::ContactStamp stamp = logging::UtcStampOf(platform::Now().addSecs(-seconds), app::UtcOffset);
  logging::AppendContact({"W1AW", "59", "FN31", "59", "FN20", stamp.Date, stamp.Time, "144 M", "PH"});
}

// A contact entered after the contest: its date and time are typed, "hh:mm".
void LogPostContestContact(const QString& date, const QString& time) {
  logging::AppendContact({"K2XX", "59", "FN12", "59", "FN20", date, time, "144 M", "PH"});
}

// The station five hours behind UTC at 20:30 local time.
class RateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Clock::SetFake(LocalNow, -5.0);
    app::UtcOffset = 5;
  }
  logging::RecentContactCounts Counts() {
    return logging::CountRecentContacts(logging::UtcMomentOf(platform::Now(), app::UtcOffset));
  }
};

struct RateCase {
  const char* name;
  std::vector<qint64> agesOldestFirst;
  std::int32_t lastHour;
  std::int32_t last20Minutes;
};

TEST_F(RateTest, CountsBackFromTheNewestContactAndStopsAtTheFirstAnHourOld) {
  const RateCase cases[] = {
      {"empty log", {}, 0, 0},
      {"5, 15 and 45 minutes", {2700, 900, 300}, 3, 2},
      {"exactly 20 minutes is outside", {1200}, 1, 0},
      {"just inside 20 minutes", {1199}, 1, 1},
      {"exactly an hour ends the walk", {3600, 10}, 1, 1},
      {"an old contact hides earlier recent ones", {300, 7200, 60}, 1, 1},
      {"a contact logged this second", {0}, 1, 1},
  };
  for (const RateCase& c : cases) {
    logging::ClearContacts();
    for (qint64 age : c.agesOldestFirst) LogContactAged(age);
    const logging::RecentContactCounts counts = Counts();
    EXPECT_EQ(counts.LastHour, c.lastHour) << c.name;
    EXPECT_EQ(counts.Last20Minutes, c.last20Minutes) << c.name;
  }
}

TEST_F(RateTest, EntriesBeyondTheFirstOldContactAreNeverRead) {
  LogPostContestContact("not a date", "??");
  LogContactAged(4000);
  LogContactAged(60);
  const logging::RecentContactCounts counts = Counts();
  EXPECT_EQ(counts.LastHour, 1);
  EXPECT_EQ(counts.Last20Minutes, 1);
}

TEST_F(RateTest, AnUnreadableDateWithinTheHourIsPassedOver) {
  LogContactAged(120);
  LogPostContestContact("2024/13/40", "01:00");
  const logging::RecentContactCounts counts = Counts();
  EXPECT_EQ(counts.LastHour, 1);
  EXPECT_EQ(counts.Last20Minutes, 1);
}

// Rows that Combine or another program brought in, in forms of their own; UTC is now 01:30:00 on
// 2024/03/03.
TEST_F(RateTest, RowsInOtherFormsAreCountedAndAnOldOneDoesNotEndTheWalk) {
  struct Case {
    const char* name;
    std::vector<std::pair<QString, QString>> rowsOldestFirst;
    std::int32_t lastHour;
    std::int32_t last20Minutes;
  };
  const Case cases[] = {
      {"a date with dashes", {{"2024-03-03", "01:25:00"}}, 1, 1},
      {"a date month first", {{"3/3/2024", "01:00:00"}}, 1, 0},
      {"a time with a blank before it", {{"2024/03/03", " 01:29:59"}}, 1, 1},
      {"a time of one-digit parts", {{"2024/03/03", "1:5:3"}}, 1, 0},
      {"an old row in another form", {{"2024/03/03", "01:20:00"}, {"3/1/2024", "12:00:00"}}, 1, 1},
      {"an old row in the program's form ends the walk",
       {{"2024/03/03", "01:20:00"}, {"2024/03/01", "12:00:00"}},
       0,
       0},
  };
  for (const Case& c : cases) {
    logging::ClearContacts();
    for (const auto& [date, time] : c.rowsOldestFirst) LogPostContestContact(date, time);
    const logging::RecentContactCounts counts = Counts();
    EXPECT_EQ(counts.LastHour, c.lastHour) << c.name;
    EXPECT_EQ(counts.Last20Minutes, c.last20Minutes) << c.name;
  }
}

// The figures are kept from one reading to the next: each step changes the clock or the log as
// the program does, and the figures must be those of a fresh count of the log as it stands.
TEST_F(RateTest, KeptFiguresFollowTheClockNewContactsAndEveryRewriteOfTheLog) {
  const auto replaceWithAges = [](std::vector<qint64> agesOldestFirst) {
    logging::ClearContacts();
    for (qint64 age : agesOldestFirst) LogContactAged(age);
  };
  const struct {
    const char* step;
    std::function<void()> change;
    std::int32_t lastHour;
    std::int32_t last20Minutes;
  } steps[] = {
      {"83, 45, 15 and 5 minutes old", [&] { replaceWithAges({5000, 2700, 900, 300}); }, 3, 2},
      {"17 minutes later, no contact", [] { platform::Clock::Advance(1000 * 1000); }, 2, 0},
      {"the clock set back again", [] { platform::Clock::Advance(-1000 * 1000); }, 3, 2},
      {"a new contact", [] { LogContactAged(0); }, 4, 3},
      {"the UTC offset an hour more", [] { app::UtcOffset = 6; }, 0, 0},
      {"the UTC offset as it was", [] { app::UtcOffset = 5; }, 4, 3},
      {"a reload: as many rows, other times", [&] { replaceWithAges({7200, 5000, 3000, 1000, 100}); }, 3, 2},
      {"the newest row edited in place to 70 minutes ago",
       [] { logging::LogTime.Set(logging::LogCount, logging::UtcStampOf(platform::Now().addSecs(-4200), 5).Time); },
       0, 0},
      {"the newest row deleted by a reload", [&] { replaceWithAges({7200, 5000, 3000, 1000}); }, 2, 1},
      {"a new log", [] { logging::ClearContacts(); }, 0, 0},
      {"the first contact of the new log", [] { LogContactAged(30); }, 1, 1},
      {"two hours without a contact", [] { platform::Clock::Advance(7200 * 1000); }, 0, 0},
  };
  for (const auto& s : steps) {
    s.change();
    const logging::RecentContactCounts counts = Counts();
    EXPECT_EQ(counts.LastHour, s.lastHour) << s.step;
    EXPECT_EQ(counts.Last20Minutes, s.last20Minutes) << s.step;
  }
}

// The main window shown, the fake clock at 20:30 local time, five hours behind UTC, and a program
// folder for the preferences file.
class ClocksTest : public ProgramRestartTest {
 protected:
  void SetUp() override {
    ProgramRestartTest::SetUp();
    platform::Clock::SetFake(LocalNow, -5.0);
    StartProgram();
  }

  // A new start of the program in its folder: fresh module values and main window, the
  // preferences file read when there is one, the station's UTC offset.
  void StartProgram() {
    NewStart().ReadPreferences();
    app::UtcOffset = 5;
    ShowActive(*form);
  }

  void ClickLogOn() { QTest::mouseClick(form->cmdLogOn.Widget(), Qt::LeftButton); }

  platform::ScriptedDialogs dialogs;
};

TEST_F(ClocksTest, TheRateTimerShowsContactsPerHourOfTheLast60And20Minutes) {
  LogContactAged(2700);
  LogContactAged(900);
  LogContactAged(300);
  form->Timer1.Tick();
  EXPECT_EQ(form->lblAQSO60.Caption(), "3");
  EXPECT_EQ(form->lblAQSO20.Caption(), "6");
}

TEST_F(ClocksTest, APostContestContactLastInTheLogStopsTheRatesAtZero) {
  LogContactAged(300);
  LogContactAged(60);
  LogPostContestContact("2024/02/28", "14:05");
  form->TimeStats();
  EXPECT_EQ(form->lblAQSO60.Caption(), "0");
  EXPECT_EQ(form->lblAQSO20.Caption(), "0");
}

TEST_F(ClocksTest, AnUnreadableDateIsPassedOverAndTheRatesGoOn) {
  form->TimeStats();
  LogContactAged(300);
  LogPostContestContact("2024/02/30", "14:05");
  form->TimeStats();
  EXPECT_EQ(form->lblAQSO60.Caption(), "1");
  EXPECT_EQ(form->lblAQSO20.Caption(), "3");
}

struct ClockCase {
  QTime local;
  QLocale locale;
  const char* regTime;
  bool pm;
  const char* utcTime;
};

TEST_F(ClocksTest, LocalClockOnTheTwelveHourDialWithTheLocalesDesignatorAndUtcAcrossMidnight) {
  const ClockCase cases[] = {
      {QTime(21, 30, 0), QLocale(QLocale::English, QLocale::UnitedStates), "9:30:00", true, "02:30:00"},
      {QTime(0, 15, 7), QLocale(QLocale::English, QLocale::UnitedStates), "12:15:07", false, "05:15:07"},
      {QTime(12, 0, 0), QLocale(QLocale::Greek, QLocale::Greece), "12:00:00", true, "17:00:00"},
      {QTime(11, 59, 59), QLocale(QLocale::Korean, QLocale::SouthKorea), "11:59:59", false, "16:59:59"},
  };
  for (const ClockCase& c : cases) {
    QLocale::setDefault(c.locale);
    platform::Clock::SetFake(QDateTime(LocalNow.date(), c.local), -5.0);
    form->Timer2.Tick();
    EXPECT_EQ(form->lblCurTime.Caption(), c.regTime);
    EXPECT_EQ(form->Label16.Caption(), c.pm ? c.locale.pmText() : c.locale.amText()) << c.regTime;
    EXPECT_EQ(form->lblutctime.Caption(), c.utcTime);
  }
}

struct OnTimeCase {
  float stored;
  qint64 onFor;
  const char* shown;
};

TEST_F(ClocksTest, TheOnTimeClockAddsTheCurrentLogOnToTheStoredTotal) {
  const OnTimeCase cases[] = {
      {3599, 1, "01:00:00"},
      {0, 3723, "01:02:03"},
      {100 * 3600 - 1, 1, "00:00:00"},  // 100 hours keep their last two digits
      {5432.25f, 0, "01:30:32"},
  };
  for (const OnTimeCase& c : cases) {
    logging::StoredOnTime = c.stored;
    ClickLogOn();
    platform::Clock::Advance(c.onFor * 1000);
    form->Timer2.Tick();
    EXPECT_EQ(form->lblttrack.Caption(), c.shown);
    ClickLogOn();
  }
}

TEST_F(ClocksTest, LoggingOnRunsTheClockAndKeepsTheCallBoxReady) {
  form->lblDialog.SetCaption("Dupe!");
  ClickLogOn();
  EXPECT_EQ(logging::LoggedOn, 1);
  EXPECT_EQ(form->cmdLogOn.Caption(), "&Log \"Time Off\"");
  EXPECT_EQ(form->lblDialog.Caption(), " ");
  EXPECT_TRUE(form->txtCall.HasFocus());
}

TEST_F(ClocksTest, TimeOnAccumulatesAcrossLogOffAndARestart) {
  ClickLogOn();
  platform::Clock::Advance(1000 * 1000);
  form->Timer2.Tick();
  EXPECT_EQ(form->lblttrack.Caption(), "00:16:40");
  ClickLogOn();
  EXPECT_EQ(logging::LoggedOn, 0);
  EXPECT_EQ(form->cmdLogOn.Caption(), "&Log \"Time On\"");
  EXPECT_TRUE(form->txtCall.HasFocus());

  StartProgram();
  EXPECT_EQ(logging::StoredOnTime, 1000.0f);
  ClickLogOn();
  platform::Clock::Advance(5 * 1000);
  ClickLogOn();  // off again before the clock ticked: the 5 seconds still count

  StartProgram();
  ClickLogOn();
  platform::Clock::Advance(1000);
  form->Timer2.Tick();
  EXPECT_EQ(form->lblttrack.Caption(), "00:16:46");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());  // every save went through
}

TEST_F(ClocksTest, TheLogOffNoteTakesTheExactOffsetOfAHalfHourZone) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  platform::Clock::SetFake(QDateTime(QDate(2024, 3, 2), QTime(3, 15, 0)), 5.5);
  app::UtcOffset = -5.5f;
  ClickLogOn();
  platform::Clock::Advance(1000);
  ClickLogOn();
  EXPECT_EQ(form->lblDialog.Caption(), "Logged Off at 3/1/24 21:45:01");
}

// The network window's timers, as the test window sees them tick.
class NetworkStart : public ::testing::Test {
 protected:
  void SetUp() override { form = &platform::InstanceWithoutLoad<app::Form1>(); }
  static network::frmNetwork& Network() { return platform::Instance<network::frmNetwork>(); }

  app::Form1* form = nullptr;
};

TEST_F(NetworkStart, SwitchesTheNetworkOnOnceAndLoadsItsWindow) {
  ASSERT_FALSE(platform::IsLoaded<network::frmNetwork>());
  EXPECT_EQ(form->Timer4.Interval(), 3000);
  ASSERT_TRUE(form->Timer4.Enabled());
  form->Timer4.Tick();
  EXPECT_FALSE(form->Timer4.Enabled());
  EXPECT_EQ(network::NetworkEnabled, 1);
  ASSERT_TRUE(platform::IsLoaded<network::frmNetwork>());
  EXPECT_EQ(Network().Check1.Value(), 1);
  EXPECT_TRUE(Network().Timer2.Enabled());
  EXPECT_TRUE(Network().Timer1.Enabled());
}

// A band change in the first seconds loads the network window while the network is still off; the
// start-up must still switch it on through the window's own switch, reconnect timer first.
TEST_F(NetworkStart, SwitchesOnAWindowLoadedEarlierAndStartsItsReconnectTimerFirst) {
  network::frmNetwork& network = Network();
  ASSERT_EQ(network.Check1.Value(), 0);
  network.Timer1.SetEnabled(false);
  QStringList ticks;
  network.Timer1.Tick = [&] { ticks << "Timer1"; };
  network.Timer2.Tick = [&] { ticks << "Timer2"; };
  network.Timer1.SetInterval(1);
  network.Timer2.SetInterval(1);

  form->Timer4.Tick();
  EXPECT_EQ(network::NetworkEnabled, 1);
  EXPECT_EQ(network.Check1.Value(), 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.size() >= 2; }, peertesting::kBoundMs));
  EXPECT_EQ(ticks.front(), "Timer2");
  EXPECT_TRUE(ticks.contains("Timer1"));
}

}  // namespace
