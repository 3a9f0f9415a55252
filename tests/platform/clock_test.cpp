#include "platform/clock.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class FakeClockTest : public ::testing::Test {
 protected:
  void SetUp() override { Clock::SetFake(QDateTime(QDate(2024, 6, 15), QTime(20, 30, 0)), -4.0); }
  void TearDown() override { Clock::UseReal(); }
};

}  // namespace

TEST_F(FakeClockTest, BusyWaitOnTheMillisecondCounterEndsWithoutWaiting) {
  const QDateTime start = Now();
  const std::uint32_t t0 = TimeGetTime();
  int readings = 0;
  while (TimeGetTime() - t0 < 50) ++readings;
  EXPECT_EQ(readings, 49);
  EXPECT_EQ(start.msecsTo(Now()), 51);  // t0's reading, 49 short ones and the one that ended the wait
}

TEST_F(FakeClockTest, SleepAndAdvanceMoveTheClockAtOnce) {
  const QDateTime start = Now();
  const std::uint32_t t0 = TimeGetTime();
  Sleep(3000);
  Clock::Advance(60 * 60 * 1000);
  EXPECT_EQ(start.msecsTo(Now()), 3000 + 3600000 + 1);  // the t0 reading counts 1 ms
  EXPECT_EQ(TimeGetTime() - t0, 3000u + 3600000u + 1u);
}

TEST_F(FakeClockTest, LocalAndUtcAgreeWithTheOffset) {
  EXPECT_EQ(Now().toString("yyyy/MM/dd hh:mm:ss"), "2024/06/15 20:30:00");
  EXPECT_EQ(UtcNow().toString("yyyy/MM/dd hh:mm:ss"), "2024/06/16 00:30:00");
  EXPECT_EQ(UtcNow().timeSpec(), Qt::UTC);
  EXPECT_FLOAT_EQ(SecondsSinceMidnight(), 20 * 3600 + 30 * 60);

  Clock::SetFake(QDateTime(QDate(2024, 1, 1), QTime(0, 15, 30)), QTimeZone(5 * 3600 + 30 * 60));
  EXPECT_EQ(UtcNow().toString("yyyy/MM/dd hh:mm:ss"), "2023/12/31 18:45:30");
  EXPECT_FLOAT_EQ(SecondsSinceMidnight(), 15 * 60 + 30);
}

TEST(Clock, RealByDefault) {
  EXPECT_FALSE(Clock::IsFake());
  EXPECT_LT(std::abs(Now().secsTo(QDateTime::currentDateTime())), 5);
  EXPECT_EQ(UtcNow().timeSpec(), Qt::UTC);
  // The local reading carries the system's offset, so the wall-clock date and time are local.
  const QDateTime system = QDateTime::currentDateTime();
  const QDateTime local = Now();
  EXPECT_EQ(local.offsetFromUtc(), system.offsetFromUtc());
  EXPECT_LT(std::abs(local.time().msecsTo(system.time())), 5000);
}
