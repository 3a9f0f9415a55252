// Tuning the polled rig from the rig window: what reaches the rig on its serial line for each
// family, the pauses between the commands and the failures the operator is told of.
#include "app/form1.h"
#include "app/globals.h"
#include "platform/clock.h"
#include "platform/serialcontrol.h"
#include "rig/globals.h"

#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <limits>

#include "answeringrig.h"
#include "rigwindowtesting.h"
#include "testbound.h"

namespace {

using platform::Instance;
using rig::RigControlfrm;

using peertesting::kBoundMs;

QByteArray Hex(const char* pairs) { return QByteArray::fromHex(pairs); }

class RigTuning : public PolledRigTest {
 protected:
  void SetUp() override {
    PolledRigTest::SetUp();
    WriteBandPlan();
  }

  // Extra class rows of 160, 40, 20 and 2 m, each band's outline first; the Extra rows alone count.
  void WriteBandPlan() const {
    QFile file(folder.filePath("BandPlan.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "\"March 5, 2012\"\r\n"
        "\"160\",\"O\",\"PH\",1.8,2\r\n\"160\",\"E\",\"PH\",1.8,2\r\n"
        "\"40\",\"O\",\"PH\",7,7.3\r\n\"40\",\"G\",\"CW\",7.125,7.3\r\n"
        "\"40\",\"E\",\"CW\",7,7.125\r\n\"40\",\"E\",\"PH\",7.125,7.3\r\n"
        "\"20\",\"O\",\"PH\",14,14.35\r\n\"20\",\"E\",\"CW\",14,14.15\r\n\"20\",\"E\",\"PH\",14.15,14.35\r\n"
        "\"2\",\"O\",\"PH\",144,148\r\n\"2\",\"E\",\"PH\",144.1,148\r\n");
  }

  QByteArray SentOnFreePort() { return polledRig->SentOnFreePort(); }

  static void Tune(RigControlfrm& w, double megahertz) { w.ChangeFrequency(megahertz); }

  static void UseFakeClock() { platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(18, 0)), -4); }
};

TEST_F(RigTuning, EachFamilyGetsTheBandPlansModeThenItsFrequencyAndGoesOnPolling) {
  UseFakeClock();
  const struct {
    const char* rig;
    double megahertz;
    QByteArray sent;
  } cases[] = {
      {"Kenwood", 14.25, "MD2;FA00014250000;"},
      {"Elecraft", 14.25, "MD2;FA00014250000;"},
      {"Kenwood 2", 14.25, "MD2;FA00014250000;"},  // no IF reply yet: VFO A
      {"Icom", 14.25, Hex("FEFE64E00601FD" "FEFE64E0050000251400FD")},
      {"Ten Tec Omni VI", 14.25, Hex("FEFE04E00601FD" "FEFE04E0050000251400FD")},
      {"Icom 735", 14.25, Hex("FEFE64E0050000251400FD")},  // no mode frame
      {"Icom", 1270.0, Hex("FEFE64E0050000007012FD")},     // all ten digits; no plan row
      {"Yaesu", 14.25, Hex("0100000007" "0142500001")},
      {"Yaesu 990", 14.25, Hex("000000010C" "005042010A")},
      {"Yaesu 757 GX II", 14.25, Hex("000000010C" "005042010A")},
      {"Yaesu FTdx9000", 14.25, "MD02;FA14250000;"},
      {"Ten Tec Fnt Pnl", 14.25, Hex("2A4100D970100D")},
      {"Ten Tec Orion", 14.25, "*AF14.25\r"},
      {"Other", 14.25, ""},
      // The band rules and an edge, on one family.
      {"Kenwood", 7.15, "MD1;FA00007150000;"},
      {"Kenwood", 7.1, "MD3;FA00007100000;"},
      {"Kenwood", 1.85, "FA00001850000;"},   // 160 m: no mode command
      {"Kenwood", 14.15, "FA00014150000;"},  // on an edge: no row
      {"Kenwood", 10.12, "FA00010120000;"},  // no row at all
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rig << " " << c.megahertz);
    RigControlfrm& w = Start(c.rig);
    Tune(w, c.megahertz);
    EXPECT_EQ(Sent().toHex(' '), c.sent.toHex(' '));
    EXPECT_TRUE(Polling(w));
    EXPECT_EQ(w.tmrGetData.Interval(), 0) << "polling resumes at its interval";
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(RigTuning, ThePausesBeforeEachCommandOnTheFakeClock) {
  UseFakeClock();
  // Moments of the writes after the change began, mode command first; then the whole change.
  const struct {
    const char* rig;
    double megahertz;
    std::vector<qint64> writesAt;
    qint64 lasting;
  } cases[] = {
      {"Kenwood", 14.25, {99, 304}, 304},
      {"Kenwood", 1.85, {205}, 205},          // no mode: no 99 ms
      {"Elecraft", 14.25, {99, 1304}, 1304},  // 205 and 1000
      {"Icom", 14.25, {99, 239}, 239},
      {"Icom 735", 14.25, {239}, 239},  // the mode's pause without its frame
      {"Ten Tec Omni VI", 14.25, {99, 459}, 459},
      {"Yaesu 1000", 14.25, {99, 109}, 109},
      {"Yaesu 1000 D", 14.25, {99, 304}, 304},
      {"Other", 14.25, {}, 99},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rig << " " << c.megahertz);
    RigControlfrm& w = Start(c.rig);
    const platform::RecordedSerialWrites writes;
    const QDateTime start = platform::Now();
    Tune(w, c.megahertz);
    std::vector<qint64> at;
    for (const auto& write : writes.Writes()) at.push_back(start.msecsTo(write.at));
    EXPECT_EQ(at, c.writesAt);
    EXPECT_EQ(start.msecsTo(platform::Now()), c.lasting);
  }
}

TEST_F(RigTuning, AChangeOnTheRealClockReachesTheRigInOrder) {
  RigControlfrm& w = Start("Elecraft");
  Tune(w, 14.25);
  EXPECT_EQ(Sent(), "MD2;FA00014250000;");
  EXPECT_TRUE(Polling(w));
}

TEST_F(RigTuning, NothingGoesOutWhilePollingIsStopped) {
  UseFakeClock();
  RigControlfrm& w = Start("Kenwood");
  Click(w.Command2);  // End Test
  Tune(w, 14.25);
  EXPECT_EQ(SentOnFreePort(), "");
  EXPECT_FALSE(Polling(w));

  ChooseRig(w, "None");
  Click(w.Command1);
  Tune(w, 14.25);
  EXPECT_EQ(SentOnFreePort(), "");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(RigTuning, ANestedChangeOfFrequencyReturnsAtOnceWhileANestedModeGoesOut) {
  UseFakeClock();
  RigControlfrm& w = Start("Kenwood");
  // A second spot click and a mode button that come while the change waits.
  QTimer::singleShot(0, [&] {
    Tune(w, 7.15);
    QString mode = "CW";
    w.ChangeMode(0, mode);
  });
  Tune(w, 14.25);
  EXPECT_EQ(Sent(), "MD3;MD2;FA00014250000;");
  EXPECT_TRUE(Polling(w));
}

TEST_F(RigTuning, TheModeButtonsGoOutWhilePollingGoesOn) {
  UseFakeClock();
  const struct {
    const char* rig;
    const char* mode;
    QByteArray sent;
  } cases[] = {
      {"Icom", "CW-R", Hex("FEFE64E00607FD")},  {"Kenwood", "CW-R", ""},
      {"Yaesu", "DIG", Hex("0A00000007")},      {"Yaesu 990", "DIG", ""},
      {"Yaesu 990", "CW-R", Hex("000000030C")}, {"Yaesu FTdx9000", "AM", "MD05;"},
      {"Icom 735", "USB", ""},                  {"Kenwood", "RTTY-R", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rig << " " << c.mode);
    RigControlfrm& w = Start(c.rig);
    QString mode = c.mode;
    w.ChangeMode(0, mode);
    EXPECT_EQ(Sent().toHex(' '), c.sent.toHex(' '));
    EXPECT_TRUE(Polling(w));
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(RigTuning, WithoutAModeTheBandPlanChoosesOneAndHandsItBack) {
  UseFakeClock();
  RigControlfrm& w = Start("Kenwood");
  QString mode;
  w.ChangeMode(7.05, mode);
  EXPECT_EQ(mode, "CW");
  EXPECT_EQ(Sent(), "MD3;");
  mode.clear();
  w.ChangeMode(1.9, mode);
  EXPECT_EQ(mode, "");
  EXPECT_EQ(Sent(), "");
}

TEST_F(RigTuning, ALineGoneMidPollShowsErrorChangingFrequencyAndPollingGoesOn) {
  UseFakeClock();
  RigControlfrm& w = Start("Kenwood");
  polledRig->Line().Unplug();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.comComm1.InBufferCount() == 0 && !w.comComm1.PortOpen(); }, kBoundMs));
  Tune(w, 14.25);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Error Changing Frequency");
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "Operation valid only when the port is open");
  EXPECT_TRUE(Polling(w)) << "the poll timer runs again, as \"Polling Rig\" says";
}

TEST_F(RigTuning, AFailedModeWriteShowsErrorChangingModeAndTheFrequencyStillGoesOut) {
  UseFakeClock();
  RigControlfrm& w = Start("Kenwood");
  platform::RecordedSerialWrites writes;
  writes.FailWrite("MD2;", "Device write refused");
  Tune(w, 14.25);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Error Changing Mode");
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "Device write refused USB");
  EXPECT_EQ(Sent(), "FA00014250000;");
  EXPECT_TRUE(Polling(w));
}

TEST_F(RigTuning, AFrequencyTheCommandCannotCarrySendsNothingAndIsNamed) {
  UseFakeClock();
  const struct {
    const char* rig;
    double megahertz;
    const char* named;
  } cases[] = {
      {"Yaesu", 1296.2, "1296.2 MHz"},
      {"Kenwood", -14.025, "-14.025 MHz"},
      {"Icom", std::numeric_limits<double>::quiet_NaN(), "MHz"},
      {"Yaesu FTdx9000", 144.2, "144.2 MHz"},
      {"Ten Tec Fnt Pnl", 5000.0, "5000 MHz"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rig << " " << c.megahertz);
    RigControlfrm& w = Start(c.rig);
    const std::size_t shown = dialogs.MessageBoxes().size();
    Tune(w, c.megahertz);
    EXPECT_EQ(Sent().toHex(' '), "");
    ASSERT_EQ(dialogs.MessageBoxes().size(), shown + 1);
    EXPECT_EQ(dialogs.MessageBoxes().back().title, "Error Changing Frequency");
    const QString prompt = dialogs.MessageBoxes().back().prompt;
    EXPECT_TRUE(prompt.contains(c.named)) << prompt.toStdString();
    EXPECT_TRUE(Polling(w));
  }
}

TEST_F(RigTuning, KenwoodTwoTunesVfoBAfterAnIfReplyNamingIt) {
  UseFakeClock();
  app::ContestType = 1;
  constexpr int kAnsweringPort = 5;
  AnsweringRig answering(kAnsweringPort, RIGRESPONDER_PATH);
  answering.Answer("IF;", "IF00014250000" + QByteArray(16, '0') + "21" + "0000;");  // USB, VFO B
  RigControlfrm& w = OpenWindow();
  ChooseRig(w, "Kenwood 2");
  Click(w.optComm(kAnsweringPort - 1));
  Click(w.Command1);  // the first send tick asks "IF;"
  w.tmrGetData.SetInterval(0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.comComm1.InBufferCount() >= 36; }, kBoundMs));
  w.tmrGetData.Tick();  // the read tick
  ASSERT_EQ(w.KenwoodVfo, 1);
  Tune(w, 14.25);
  QByteArray received;
  EXPECT_TRUE(QTest::qWaitFor([&] { return (received = answering.Received()).endsWith(";FB00014250000;"); }, kBoundMs))
      << received.toStdString();
  EXPECT_EQ(received, "IF;MD2;FB00014250000;");
}

TEST_F(RigTuning, ThePegasusIsTunedThroughItsExchangeFileWithTheCurrentMode) {
  UseFakeClock();
  QTemporaryDir exchange;
  qputenv("CORVANE_PEGASUS_DIR", QFile::encodeName(exchange.path()));
  RigControlfrm& w = Start("Ten Tec Pegasus");
  w.RigMode = "CW";  // as the last read of PEGASUS.OUT left it
  Tune(w, 14.25);
  qunsetenv("CORVANE_PEGASUS_DIR");
  QFile in(exchange.filePath("PEGASUS.IN"));
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  EXPECT_EQ(in.readAll(), "14.25\r\nCW\r\n");
  EXPECT_TRUE(Polling(w));
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

}  // namespace
