// The serial control on a socat pseudo-terminal pair: the control opens one end as its port, the
// test stands in for the device on the other.
#include "platform/serialcontrol.h"

#include "platform/dialogs.h"
#include "platform/errors.h"

#include <QTest>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ptypair.h"
#include "asordinaryuser.h"
#include "testbound.h"

using namespace platform;
using peertesting::PtyEnd;
using peertesting::PtyPair;
using peertesting::ScratchFolder;

namespace {

constexpr int kPort = 7;
constexpr int kOtherPort = 8;
using peertesting::kBoundMs;

// The run-time error a call throws; number 0 when it throws none.
struct Raised {
  int number = 0;
  std::string description;
};

template <class Call>
Raised RaisedBy(Call call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return {error.Number(), error.Description().toStdString()};
  }
  return {};
}

template <class Call>
int ErrorOf(Call call) {
  return RaisedBy(call).number;
}

QString AllByteValues() {
  QString text;
  for (int code = 0; code < 256; ++code) text += QChar(code);
  return text;
}

class SerialLine : public ::testing::Test {
 protected:
  void SetUp() override { qputenv("CORVANE_PORT7", QByteArray::fromStdString(pair_.HostEnd())); }
  void TearDown() override {
    qunsetenv("CORVANE_PORT7");
    qunsetenv("CORVANE_PORT8");
  }

  static void Open(SerialControl& control) {
    control.SetCommPort(kPort);
    control.SetPortOpen(true);
  }

  // Collects what reaches the device until it holds `count` bytes.
  bool DeviceReceives(std::size_t count) {
    return QTest::qWaitFor([&] { return (received_ += device_.Read()).size() >= count; }, kBoundMs);
  }

  // Takes what the control has received until it holds `count` characters.
  static QString InputOf(SerialControl& control, int count) {
    QString input;
    const bool complete = QTest::qWaitFor([&] { return (input += control.Input()).size() >= count; }, kBoundMs);
    EXPECT_TRUE(complete) << "received " << input.size() << " of " << count;
    return input;
  }

  // The device held as the keyer library holds its own, with an exclusive lock: the descriptor, or
  // -1 when it cannot be held.
  int HoldAsAnotherProgram() const {
    const int held = open(pair_.HostEnd().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (held < 0) return -1;
    EXPECT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
    return held;
  }

  PtyPair pair_;
  PtyEnd device_{pair_.PeerEnd()};
  std::string received_;
};

TEST_F(SerialLine, EveryByteValueTravelsBothWaysAsOneLatin1Character) {
  SerialControl control;
  Open(control);
  const QString all = AllByteValues();

  control.SetOutput(all);
  ASSERT_TRUE(DeviceReceives(256));
  EXPECT_EQ(received_, all.toLatin1().toStdString());

  device_.Write(all.toLatin1().toStdString());
  EXPECT_EQ(InputOf(control, 256), all);
}

TEST_F(SerialLine, InputTakesWhatHasArrivedAtMostInputLenCharacters) {
  SerialControl control;
  Open(control);
  EXPECT_EQ(control.Input(), QString());  // nothing waits: empty, at once

  device_.Write("ABCDEFG");
  ASSERT_TRUE(QTest::qWaitFor([&] { return control.InBufferCount() == 7; }, kBoundMs));
  control.SetInputLen(3);
  EXPECT_EQ(control.Input(), QStringLiteral("ABC"));
  EXPECT_EQ(control.InBufferCount(), 4);
  control.SetInputLen(0);
  EXPECT_EQ(control.Input(), QStringLiteral("DEFG"));
  EXPECT_EQ(control.InBufferCount(), 0);
  EXPECT_EQ(ErrorOf([&] { control.SetInputLen(-1); }), 380);
}

TEST_F(SerialLine, OutputMoreThanTheLineHoldsIsCountedUntilEveryByteHasGoneInOrder) {
  SerialControl control;
  Open(control);
  std::string text;
  for (int i = 0; i < 256 * 1024; ++i) text += static_cast<char>('A' + i % 26);

  control.SetOutput(QString::fromLatin1(text));
  EXPECT_GT(control.OutBufferCount(), 0);  // the device has not read it yet
  ASSERT_TRUE(DeviceReceives(text.size()));
  EXPECT_EQ(received_, text);
  EXPECT_TRUE(QTest::qWaitFor([&] { return control.OutBufferCount() == 0; }, kBoundMs));
}

TEST_F(SerialLine, SettingsTakeBaudParityDataAndStopBits) {
  // Every rate the rig window offers, the uncommon 14400, 28800 and 56000 among them.
  const char* good[] = {"9600,n,8,1",  "4800,N,8,2",  "1200,E,7,1",  "2400,N,8,1", "14400,N,8,1",
                        "28800,N,8,2", "38400,N,8,1", "56000,o,7,2", "19200,e,8,1"};
  const char* bad[] = {"",           "9600",        "9600,N,8",   "9600,N,8,1,", "9600;N;8;1",
                       "4800,X,8,2", "9600,M,8,1",  "9600,N,6,1", "9600,N,9,1",  "9600,N,8,3",
                       "9600,N,8,1.5", "0,N,8,1",   "-9600,N,8,1", "96O0,N,8,1", " 9600,N,8,1",
                       "99999999999,N,8,1"};
  SerialControl control;
  EXPECT_EQ(control.Settings(), QStringLiteral("9600,n,8,1"));
  Open(control);
  for (const char* settings : good) {  // applied to the open line at once
    SCOPED_TRACE(settings);
    EXPECT_EQ(ErrorOf([&] { control.SetSettings(QString::fromLatin1(settings)); }), 0);
    EXPECT_EQ(control.Settings(), QString::fromLatin1(settings));
  }
  for (const char* settings : bad) {
    SCOPED_TRACE(settings);
    EXPECT_EQ(ErrorOf([&] { control.SetSettings(QString::fromLatin1(settings)); }), 380);
    EXPECT_EQ(control.Settings(), QStringLiteral("19200,e,8,1"));  // the last good one stays
  }
  control.SetPortOpen(false);
  for (const char* settings : good) {  // kept until the port opens
    SCOPED_TRACE(settings);
    control.SetSettings(QString::fromLatin1(settings));
    EXPECT_EQ(ErrorOf([&] { control.SetPortOpen(true); }), 0);
    control.SetPortOpen(false);
  }
}

TEST_F(SerialLine, HandshakingSetsRtsCtsAndXonXoffFlowControl) {
  const struct {
    int handshaking;
    bool rtsCts, xonXoff;
  } cases[] = {{0, false, false}, {1, false, true}, {2, true, false}, {3, true, true}};
  SerialControl control;
  Open(control);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.handshaking);
    control.SetHandshaking(c.handshaking);
    EXPECT_EQ(control.Handshaking(), c.handshaking);
    EXPECT_EQ(control.FlowControlForTesting().rtsCts, c.rtsCts);
    EXPECT_EQ(control.FlowControlForTesting().xonXoff, c.xonXoff);
  }
  for (int refused : {-1, 4}) EXPECT_EQ(ErrorOf([&] { control.SetHandshaking(refused); }), 380) << refused;
  EXPECT_EQ(control.Handshaking(), 3);

  control.SetPortOpen(false);  // it keeps its value into the next opening
  Open(control);
  EXPECT_TRUE(control.FlowControlForTesting().rtsCts);
  EXPECT_TRUE(control.FlowControlForTesting().xonXoff);
}

TEST_F(SerialLine, XoffFromTheDeviceHoldsOutputUntilXonOnlyWithXonXoffHandshaking) {
  const struct {
    int handshaking;
    bool xonXoff;
  } cases[] = {{0, false}, {1, true}, {2, false}, {3, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.handshaking);
    SerialControl control;
    control.SetHandshaking(c.handshaking);
    Open(control);
    received_.clear();

    device_.Write("\x13M");  // XOFF, then a byte that shows the XOFF has been seen
    const QString input = InputOf(control, c.xonXoff ? 1 : 2);
    control.SetOutput(QStringLiteral("abc"));
    if (c.xonXoff) {
      EXPECT_EQ(input, QStringLiteral("M"));
      EXPECT_EQ(control.OutBufferCount(), 3);
      device_.Write("\x11");  // XON
    } else {
      EXPECT_EQ(input, QStringLiteral("\x13M"));  // plain data
    }
    ASSERT_TRUE(DeviceReceives(3));
    EXPECT_EQ(received_, "abc");
    EXPECT_TRUE(QTest::qWaitFor([&] { return control.OutBufferCount() == 0; }, kBoundMs));
  }
}

TEST_F(SerialLine, DtrAndRtsAreRaisedWhileOpenAsAskedAlthoughAPseudoTerminalHasNoModemLines) {
  SerialControl control;
  control.SetDTREnable(true);
  EXPECT_TRUE(control.DTREnable());
  EXPECT_FALSE(control.DtrRaised());  // closed

  Open(control);
  EXPECT_TRUE(control.DtrRaised());
  EXPECT_FALSE(control.RtsRaised());
  control.SetRTSEnable(true);
  control.SetDTREnable(false);
  EXPECT_TRUE(control.RtsRaised());
  EXPECT_FALSE(control.DtrRaised());

  control.SetHandshaking(2);  // the driver moves RTS: the switch still reads what was asked
  control.SetRTSEnable(true);
  EXPECT_TRUE(control.RTSEnable());

  control.SetPortOpen(false);
  EXPECT_FALSE(control.RtsRaised());
  EXPECT_TRUE(control.RTSEnable());
}

// Linux raises both lines as it opens a tty, and a keying line wired to either keys the
// transmitter: the opening sets them as asked before anything else.
TEST_F(SerialLine, OpeningSetsBothLinesAsAskedFirstAndEachLevelSetOnTheDeviceIsRecordedInOrder) {
  RecordedSerialLines lines;
  SerialControl control;
  control.SetDTREnable(true);  // closed: no device to set
  Open(control);
  control.SetRTSEnable(true);
  control.SetDTREnable(false);
  control.SetHandshaking(2);    // the driver moves RTS from now on
  control.SetRTSEnable(false);  // so only the switch changes
  control.SetPortOpen(false);
  control.SetDTREnable(true);

  using Line = RecordedSerialLines::Line;
  const struct {
    Line line;
    bool raised;
  } expected[] = {{Line::Dtr, true}, {Line::Rts, false}, {Line::Rts, true}, {Line::Dtr, false}, {Line::Dtr, false}};
  ASSERT_EQ(lines.Levels().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines.Levels()[i].port, kPort);
    EXPECT_EQ(lines.Levels()[i].line, expected[i].line);
    EXPECT_EQ(lines.Levels()[i].raised, expected[i].raised);
    if (i > 0) {
      EXPECT_GE(lines.Levels()[i].at, lines.Levels()[i - 1].at);
    }
  }
}

TEST_F(SerialLine, OpeningNeedsAPortNumberOfOneOrMoreThatNamesASerialDevice) {
  ScratchFolder folder;
  std::ofstream(folder.Path("file")) << "no serial port";
  const struct {
    std::string device;
    int error;
  } cases[] = {{folder.Path("missing"), 8002}, {folder.Path("file"), 8002}, {pair_.HostEnd(), 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.device);
    qputenv("CORVANE_PORT8", QByteArray::fromStdString(c.device));
    SerialControl control;
    control.SetCommPort(kOtherPort);
    EXPECT_EQ(ErrorOf([&] { control.SetPortOpen(true); }), c.error);
    EXPECT_EQ(control.PortOpen(), c.error == 0);
  }

  SerialControl control;
  for (int refused : {0, -1}) EXPECT_EQ(ErrorOf([&] { control.SetCommPort(refused); }), 8002) << refused;
  EXPECT_EQ(control.CommPort(), 1);
}

TEST_F(SerialLine, APortIsOpenedOnceUntilItIsClosed) {
  SerialControl control;
  Open(control);
  EXPECT_EQ(ErrorOf([&] { control.SetPortOpen(true); }), 8005);
  EXPECT_EQ(ErrorOf([&] { control.SetCommPort(kOtherPort); }), 8005);
  EXPECT_EQ(control.CommPort(), kPort);

  SerialControl second;  // another window on the same port
  second.SetCommPort(kPort);
  EXPECT_EQ(ErrorOf([&] { second.SetPortOpen(true); }), 8005);
  EXPECT_FALSE(second.PortOpen());

  control.SetOutput(QStringLiteral("still mine"));
  ASSERT_TRUE(DeviceReceives(10));
  EXPECT_EQ(received_, "still mine");

  control.SetPortOpen(false);
  control.SetPortOpen(false);  // closing a closed port does nothing
  EXPECT_EQ(ErrorOf([&] { second.SetPortOpen(true); }), 0);
}

TEST_F(SerialLine, APortThatAnotherProgramHoldsIsInUse) {
  const int held = HoldAsAnotherProgram();
  ASSERT_GE(held, 0);
  SerialControl control;
  control.SetCommPort(kPort);
  EXPECT_EQ(ErrorOf([&] { control.SetPortOpen(true); }), 8005);
  EXPECT_FALSE(control.PortOpen());

  close(held);
  EXPECT_EQ(ErrorOf([&] { control.SetPortOpen(true); }), 0);
}

// A device the user may not open is named with the remedy, once a session in a box of its own and
// in the error's description; one that another program holds is "Port already open" as before.
// Both keep the number the windows' handlers expect.
TEST_F(SerialLine, ADeviceTheUserMayNotOpenIsNamedWithTheRemedy) {
  ScriptedDialogs dialogs;
  const QString device = QString::fromStdString(pair_.HostEnd());
  const std::string target = std::filesystem::canonical(pair_.HostEnd());
  ASSERT_EQ(chmod(target.c_str(), 0), 0);
  {
    const AsOrdinaryUser normalUser;
    for (int attempt = 1; attempt <= 2; ++attempt) {
      SCOPED_TRACE(attempt);
      SerialControl control;
      control.SetCommPort(kPort);
      const Raised refusal = RaisedBy([&] { control.SetPortOpen(true); });
      EXPECT_EQ(refusal.number, 8005);
      EXPECT_EQ(refusal.description,
                "You may not open " + pair_.HostEnd() +
                    ", the device of serial port 7. Add your user to the group dialout (sudo adduser $USER dialout, "
                    "then log in again), or name a device you may open in CORVANE_PORT7.");
      EXPECT_FALSE(control.PortOpen());
    }
  }
  ASSERT_EQ(chmod(target.c_str(), 0600), 0);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1U) << "told once";
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Serial Port Not Permitted");
  EXPECT_TRUE(dialogs.MessageBoxes()[0].prompt.startsWith("You may not open " + device + ","));

  const int held = HoldAsAnotherProgram();
  ASSERT_GE(held, 0);
  SerialControl control;
  control.SetCommPort(kPort);
  const Raised refusal = RaisedBy([&] { control.SetPortOpen(true); });
  EXPECT_EQ(refusal.number, 8005);
  EXPECT_EQ(refusal.description, "Port already open");
  close(held);
  EXPECT_EQ(dialogs.MessageBoxes().size(), 1U);
}

TEST_F(SerialLine, AClosedPortRefusesInputAndOutputAndCountsNothing) {
  SerialControl control;
  EXPECT_EQ(ErrorOf([&] { control.Input(); }), 8018);
  EXPECT_EQ(ErrorOf([&] { control.SetOutput(QStringLiteral("x")); }), 8018);
  EXPECT_EQ(control.InBufferCount(), 0);
  EXPECT_EQ(control.OutBufferCount(), 0);
}

TEST_F(SerialLine, ADeviceThatGoesAwayClosesThePortAndTellsWhyUntilItIsOpenedAgain) {
  SerialControl control;
  Open(control);
  EXPECT_EQ(control.DeviceFailure(), "");
  const std::string host = pair_.HostEnd();
  pair_.Unplug();

  int error = 0;
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        error = ErrorOf([&] {
          control.Input();
          control.SetOutput(QStringLiteral("x"));
        });
        return error != 0;
      },
      kBoundMs));
  EXPECT_EQ(error, 8018);
  EXPECT_FALSE(control.PortOpen());
  // A line that hangs up reads as an end of file; the reason is the one its writes get.
  EXPECT_EQ(control.DeviceFailure().toStdString(), host + ", the device of serial port 7, failed: Input/output error");

  EXPECT_EQ(ErrorOf([&] { control.SetPortOpen(true); }), 8002);  // the device's path has gone too
  EXPECT_EQ(control.DeviceFailure(), "") << "a new opening starts afresh";
}

}  // namespace
