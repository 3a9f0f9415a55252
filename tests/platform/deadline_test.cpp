#include "platform/deadline.h"

#include "platform/clock.h"
#include "platform/keys.h"

#include <QObject>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "testbound.h"

using namespace platform;

namespace {

const QDateTime kStart(QDate(2024, 3, 2), QTime(20, 30));

class FakeClockDeadline : public ::testing::Test {
 protected:
  void SetUp() override { Clock::SetFake(kStart, -5.0); }
  QObject context;
  std::vector<std::string> ran;
};

TEST_F(FakeClockDeadline, ActionsRunOnlyOnceTheClockReachesTheirMomentInMomentOrder) {
  AtClockTime(&context, Now().addMSecs(3000), [this] { ran.push_back("at 3 s"); });
  AtClockTime(&context, Now().addMSecs(2000), [this] { ran.push_back("at 2 s"); });
  DoEvents();
  Clock::Advance(1999);
  DoEvents();
  EXPECT_TRUE(ran.empty());

  Clock::Advance(1001);
  ASSERT_TRUE(QTest::qWaitFor([this] { return ran.size() == 2; }, peertesting::kBoundMs));
  EXPECT_EQ(ran, (std::vector<std::string>{"at 2 s", "at 3 s"}));
}

TEST_F(FakeClockDeadline, AMomentAlreadyPastRunsFromTheEventLoopNotInTheCall) {
  AtClockTime(&context, Now().addMSecs(-1), [this] { ran.push_back("past"); });
  EXPECT_TRUE(ran.empty());
  ASSERT_TRUE(QTest::qWaitFor([this] { return !ran.empty(); }, peertesting::kBoundMs));
}

TEST_F(FakeClockDeadline, NothingRunsOnceTheContextIsGone) {
  auto shortLived = std::make_unique<QObject>();
  AtClockTime(shortLived.get(), Now().addMSecs(100), [this] { ran.push_back("gone"); });
  AtClockTime(&context, Now().addMSecs(100), [this] { ran.push_back("kept"); });
  shortLived.reset();
  Clock::Advance(100);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !ran.empty(); }, peertesting::kBoundMs));
  DoEvents();
  EXPECT_EQ(ran, std::vector<std::string>{"kept"});
}

TEST_F(FakeClockDeadline, WaitWhileEndsWhenTheConditionEndsWithTheClockStandingStill) {
  const QDateTime before = Now();
  bool playing = true;
  QTimer::singleShot(0, [&playing] { playing = false; });
  WaitWhile([&playing] { return playing; }, Now().addSecs(60));
  EXPECT_FALSE(playing);
  EXPECT_EQ(Now(), before);
}

TEST_F(FakeClockDeadline, WaitWhileEndsAtTheDeadlineAndTimersRunMeanwhile) {
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&ticks] {
    // The clock moves on only once a timer has ticked inside the wait.
    if (++ticks == 2) Clock::Advance(1500);
  });
  timer.start(1);
  WaitWhile([] { return true; }, Now().addMSecs(1500));
  EXPECT_GE(ticks, 2);
}

TEST(RealClockDeadline, AnActionRunsFromTheEventLoopWhenItsMomentComes) {
  QObject context;
  bool ran = false;
  AtClockTime(&context, Now().addMSecs(30), [&ran] { ran = true; });
  EXPECT_FALSE(ran);
  EXPECT_TRUE(QTest::qWaitFor([&ran] { return ran; }, peertesting::kBoundMs));
}

}  // namespace
