#include "platform/agwengine.h"

#include "agwengine_peer.h"
#include "testbound.h"
#include "platform/agwframe.h"

#include <QTcpServer>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

#include <vector>

using namespace platform;
using peertesting::MonitoredFrame;
using peertesting::SimulatedAgwEngine;

namespace {

using peertesting::kBoundMs;

// One frame as the spotting window receives it.
struct Delivered {
  QString station;
  QString data;
  std::int32_t kind = 0;
  std::int32_t dataLength = 0;
  std::int32_t port = 0;
};

// Waits for the next frame, as the window's receive tick would take it.
std::optional<Delivered> NextFrame() {
  Delivered frame;
  const bool arrived = QTest::qWaitFor(
      [&] { return AGWGetData(frame.station, frame.data, frame.kind, frame.dataLength, frame.port) != 0; }, kBoundMs);
  if (!arrived) return std::nullopt;
  return frame;
}

// Every frame waiting now, without waiting for more.
std::vector<Delivered> FramesWaiting() {
  std::vector<Delivered> frames;
  Delivered frame;
  while (AGWGetData(frame.station, frame.data, frame.kind, frame.dataLength, frame.port) != 0) frames.push_back(frame);
  return frames;
}

bool WaitForEnd() {
  return QTest::qWaitFor([] { return AgwEngineEnded().has_value(); }, kBoundMs);
}

class AgwEngineTest : public ::testing::Test {
 protected:
  // Registers Q1ABC with the engine and waits until the engine has both of the client's frames.
  void StartPoll() {
    ASSERT_EQ(AGWStartPoll("Q1ABC", "Corvane 1.0", 5, 11), 1);
    ASSERT_TRUE(engine.WaitForClient());
    ASSERT_TRUE(engine.WaitForFrames(engine.Received().size() + 2));
  }

  void TearDown() override { AGWClose(); }

  SimulatedAgwEngine engine;
};

TEST_F(AgwEngineTest, StartPollRegistersTheOwnCallAndTurnsMonitoringOnOncePerConnection) {
  ASSERT_EQ(AGWStartPoll("Q1ABC-7 and more", "Corvane", 7, 7), 1);
  ASSERT_TRUE(engine.WaitForFrames(2));
  EXPECT_EQ(engine.KindsReceived(), "Xm");
  EXPECT_EQ(engine.Received()[0].callFrom, "Q1ABC-7");

  // The engine's answer to the registration stays with the client: the first frame handed on is
  // the monitored one sent after it.
  engine.Send(MonitoredFrame("Q2ABC", "DX", "DX de Q2ABC\r"));
  const std::optional<Delivered> first = NextFrame();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->kind, 'U');

  // Starting again opens a new connection, which registers and turns monitoring on once more.
  ASSERT_EQ(AGWStartPoll("Q1ABC", "Corvane", 5, 7), 1);
  ASSERT_TRUE(engine.WaitForFrames(4));
  EXPECT_EQ(engine.KindsReceived(), "XmXm");
  EXPECT_FALSE(AgwEngineEnded());
}

TEST_F(AgwEngineTest, AnEngineThatCannotBeReachedGivesZero) {
  engine.StopListening();
  EXPECT_EQ(AGWStartPoll("Q1ABC", "Corvane", 5, 7), 0);
  EXPECT_FALSE(AgwEngineEnded());
  EXPECT_EQ(AGWPutData("Q1XYZ", "hello", 'D', 5, 0), 0);
  QString station, data;
  std::int32_t kind = 0, length = 0, port = 0;
  EXPECT_EQ(AGWGetData(station, data, kind, length, port), 0);
}

TEST_F(AgwEngineTest, FramesAreHandedOnWithTheStationTheDataWithoutItsNulAndConnectNoticesAsC) {
  StartPoll();
  const QByteArray monitored = " 1:Fm Q2ABC To DX <UI pid=F0 Len=75 PF=0 >[12:10:07]\rDX de Q2ABC:  144200.0  Q1XYZ  FN42\r";
  const struct {
    AgwFrame sent;
    Delivered expected;
  } cases[] = {
      {MonitoredFrame("Q2ABC", "DX", monitored), {"Q2ABC", QString::fromLatin1(monitored), 'U', int(monitored.size()), 0}},
      {{.port = 1, .kind = 'C', .callFrom = "Q1XYZ", .callTo = "Q1ABC", .data = QByteArray("*** CONNECTED With Station Q1XYZ\r\0", 34)},
       {"Q1XYZ", "*** CONNECTED With Station Q1XYZ\r", 'c', 33, 1}},
      {{.kind = 'D', .pid = 0xF0, .callFrom = "Q1XYZ", .callTo = "Q1ABC", .data = "hello\r"}, {"Q1XYZ", "hello\r", 'D', 6, 0}},
      {{.kind = 'd', .callFrom = "Q1XYZ", .callTo = "Q1ABC", .data = QByteArray("*** DISCONNECTED\r\0", 18)},
       {"Q1XYZ", "*** DISCONNECTED\r", 'd', 17, 0}},
      {MonitoredFrame("Q1LONGCALL", "ID", "caf\xE9"), {"Q1LONGCALL", QStringLiteral("caf\u00E9"), 'U', 4, 0}},
      {{.kind = 'S', .callFrom = "Q3DEF", .callTo = "Q2ABC"}, {"Q3DEF", "", 'S', 0, 0}},
  };
  for (const auto& c : cases) engine.Send(c.sent);
  for (const auto& c : cases) {
    const std::optional<Delivered> frame = NextFrame();
    ASSERT_TRUE(frame) << c.expected.station.toStdString();
    EXPECT_EQ(frame->station, c.expected.station);
    EXPECT_EQ(frame->data, c.expected.data);
    EXPECT_EQ(frame->kind, c.expected.kind) << c.expected.data.toStdString();
    EXPECT_EQ(frame->dataLength, c.expected.dataLength);
    EXPECT_EQ(frame->port, c.expected.port);
  }
}

TEST_F(AgwEngineTest, PutDataSendsConnectDisconnectAndTextAndNothingForALogin) {
  StartPoll();
  EXPECT_EQ(AGWPutData("Q1XYZ", "", 'c', 0, 0), 1);
  EXPECT_EQ(AGWPutData("Q1XYZ", "", 'P', 0, 0), 1);
  EXPECT_EQ(AGWPutData("Q1XYZ", "", 'd', 0, 0), 1);
  EXPECT_EQ(AGWPutData("Q1XYZ", "x", 'Z', 1, 0), 0);
  EXPECT_EQ(AGWPutData("Q1XYZ", "hello\rmore", 'D', 6, 0), 1);
  ASSERT_TRUE(engine.WaitForFrames(5));
  EXPECT_EQ(engine.KindsReceived(), "XmCdD");
  for (std::size_t i = 2; i < 5; ++i) {
    const AgwFrame& frame = engine.Received()[i];
    EXPECT_EQ(frame.callFrom, "Q1ABC");
    EXPECT_EQ(frame.callTo, "Q1XYZ");
    EXPECT_EQ(frame.port, 0);
  }
  EXPECT_TRUE(engine.Received()[2].data.isEmpty());
  EXPECT_EQ(engine.Received()[4].pid, 0xF0);
  EXPECT_EQ(engine.Received()[4].data, "hello\r");
}

TEST_F(AgwEngineTest, ABadFrameEndsTheConnectionAndIsReportedAfterTheFramesBeforeIt) {
  QByteArray lengthBeyond = EncodeAgwFrame({.kind = 'U', .callFrom = "Q2ABC"});
  qToLittleEndian<quint32>(0xFFFFFFFF, lengthBeyond.data() + 28);
  const QByteArray cutData = EncodeAgwFrame(MonitoredFrame("Q2ABC", "DX", "DX de Q2ABC")).left(AgwHeaderSize + 4);
  const struct {
    const char* what;
    QByteArray bytes;
    bool thenClose;
  } cases[] = {
      {"length 0xFFFFFFFF", lengthBeyond, false},
      {"kind that is no letter", EncodeAgwFrame({.kind = '7'}), false},
      {"bytes of no frame", QByteArray(AgwHeaderSize, '\xFF'), false},
      {"header cut short", EncodeAgwFrame({.kind = 'U'}).left(20), true},
      {"data cut short", cutData, true},
  };
  for (const auto& c : cases) {
    StartPoll();
    engine.Send(MonitoredFrame("Q2ABC", "DX", "before"));
    engine.SendBytes(c.bytes);
    if (c.thenClose) engine.DropClient();
    ASSERT_TRUE(WaitForEnd()) << c.what;
    EXPECT_TRUE(AgwEngineEnded()->badFrame) << c.what;
    EXPECT_FALSE(AgwEngineEnded()->description.isEmpty());
    EXPECT_TRUE(engine.WaitUntilClientGone()) << c.what << ": the client ends the connection";
    const std::vector<Delivered> frames = FramesWaiting();
    ASSERT_EQ(frames.size(), 1u) << c.what;
    EXPECT_EQ(frames[0].data, "before");
    EXPECT_EQ(AGWPutData("Q1XYZ", "", 'd', 0, 0), 0);
    AGWClose();
    EXPECT_FALSE(AgwEngineEnded()) << "Close forgets the fault";
  }
}

TEST_F(AgwEngineTest, AnEngineThatGoesAwayIsReportedAfterTheFramesBeforeIt) {
  StartPoll();
  engine.Send(MonitoredFrame("Q2ABC", "DX", "last words"));
  engine.DropClient();
  ASSERT_TRUE(WaitForEnd());
  EXPECT_FALSE(AgwEngineEnded()->badFrame);
  const std::vector<Delivered> frames = FramesWaiting();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].data, "last words");
}

TEST_F(AgwEngineTest, PastTheBoundTheOldestMonitoredFramesGoAndTheConnectNoticeStays) {
  StartPoll();
  engine.Send({.kind = 'C', .callFrom = "Q1XYZ", .callTo = "Q1ABC"});
  for (int i = 0; i < 300; ++i) engine.Send(MonitoredFrame("Q2ABC", "DX", QByteArray::number(i)));
  engine.DropClient();  // reported once everything before it is in
  ASSERT_TRUE(WaitForEnd());
  const std::vector<Delivered> frames = FramesWaiting();
  ASSERT_EQ(frames.size(), 256u);
  EXPECT_EQ(frames[0].kind, 'c');
  for (std::size_t i = 1; i < frames.size(); ++i) EXPECT_EQ(frames[i].data, QString::number(44 + i));
}

TEST_F(AgwEngineTest, CloseSendsWhatWasPutBeforeTheConnectionEnds) {
  StartPoll();
  AGWPutData("Q1XYZ", "", 'd', 0, 0);
  AGWClose();
  EXPECT_TRUE(engine.WaitUntilClientGone());
  EXPECT_EQ(engine.KindsReceived(), "Xmd");
  EXPECT_FALSE(AgwEngineEnded());
}

}  // namespace
