// PCs of the station on one station port, each a process of its own (the peer program,
// tests/peers/stationpeer.cpp) with its own home, program folder and host name: the server
// first, then a client, or this test's own network window as the client; a raw socket joins the
// server as a third PC and reads what it sends.

#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "network/frmnetwork.h"
#include "network/globals.h"
#include "network/records.h"
#include "platform/clock.h"
#include "platform/instances.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "formtesting.h"
#include "networktesting.h"

namespace {

// A client connects 15 s after its network starts and again 15 s after it loses the server.
constexpr int kReconnectWait = 15000 + peertesting::kBoundMs;

// One PC: the peer program in its own folders, started and stopped by its process id.
class StationPc {
 public:
  // Port 0: the server takes any free port, which ListeningPort() then tells.
  StationPc(const QString& hostName, const QString& serverName, const QString& band, const QString& mode, int port)
      : arguments_({serverName, band, mode}) {
    EXPECT_TRUE(root_.isValid());
    const QDir root(root_.path());
    EXPECT_TRUE(root.mkpath("home/.config"));
    EXPECT_TRUE(root.mkpath("program"));
    EXPECT_TRUE(QFile::copy(QStringLiteral(LOG_DATABASE_PATH), root.filePath("program/Corvane.MDB")));
    QFile::setPermissions(root.filePath("program/Corvane.MDB"), QFile::ReadOwner | QFile::WriteOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", root.filePath("home"));
    environment.insert("XDG_CONFIG_HOME", root.filePath("home/.config"));
    environment.remove("USERPROFILE");
    environment.remove("APPDATA");
    environment.insert("CORVANE_HOST_NAME", hostName);
    environment.insert("CORVANE_FAKE_SET_CLOCK", "1");  // a clock record sets its own clock only
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment_ = environment;
    SetPort(port);
    process_.setWorkingDirectory(root.filePath("program"));
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    Start();
  }
  StationPc(const StationPc&) = delete;
  StationPc& operator=(const StationPc&) = delete;
  ~StationPc() { Stop(); }

  // The station port of its next start.
  void SetPort(int port) {
    environment_.insert("CORVANE_STATION_PORT", QString::number(port));
    process_.setProcessEnvironment(environment_);
  }
  void Start() {
    output_.clear();
    process_.start(QStringLiteral(STATIONPEER_PATH), arguments_);
  }
  // SIGKILL to its own process: it goes as a PC that is switched off.
  void Stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(kNetworkWait);
  }

  // Waits for a line it prints; false when the bound passes or it ends first.
  bool Says(const QByteArray& line) { return SaysLineStartingWith(line, true).has_value(); }

  // The port it listens on once it says so; 0 when it does not.
  int ListeningPort() {
    const std::optional<QByteArray> line = SaysLineStartingWith("listening on ", false);
    return line ? line->mid(static_cast<qsizetype>(std::strlen("listening on "))).toInt() : 0;
  }

 private:
  std::optional<QByteArray> SaysLineStartingWith(const QByteArray& start, bool whole) {
    const QDeadlineTimer deadline(kNetworkWait);
    for (;;) {
      for (const QByteArray& line : output_.split('\n')) {
        if (whole ? line == start : line.startsWith(start)) return line;
      }
      if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) return std::nullopt;
      process_.waitForReadyRead(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
      output_ += process_.readAllStandardOutput();
    }
  }

  QTemporaryDir root_;
  QStringList arguments_;
  QProcessEnvironment environment_;
  QProcess process_;
  QByteArray output_;
};

TEST(StationNetwork, TwoPcsShowEachOtherAndTheClientIsListedAgainAfterTheServerRestarts) {
  const QString server = network::TableRecord(0, "localhost", "144 M", "CW", "");
  const QString client = QStringLiteral("<Name:Tent2>: <Bnd:432 M> <Mde: PH> <Opr: > <EOR>");

  StationPc shack("localhost", "", "144 M", "CW", 0);
  const int port = shack.ListeningPort();
  ASSERT_NE(port, 0);
  StationPc tent("Tent2", "localhost", "432 M", "PH", port);
  ASSERT_TRUE(tent.Says("not listening")) << "the station port is the server's";
  {
    RawPeer third(port);
    ASSERT_TRUE(third.Connected());
    EXPECT_TRUE(third.Receives(server, kReconnectWait));
    EXPECT_TRUE(third.Receives(client, kReconnectWait));
  }

  shack.Stop();
  shack.SetPort(port);  // the client comes back to the port it knows
  shack.Start();
  ASSERT_EQ(shack.ListeningPort(), port);
  RawPeer third(port);
  ASSERT_TRUE(third.Connected());
  EXPECT_TRUE(third.Receives(client, kReconnectWait)) << "the client came back";
  EXPECT_TRUE(third.Receives(server, kReconnectWait));
}

TEST(StationNetwork, AMessageFromThisWindowComesBackOnceAndSyncClocksReturnsInTheServersAnswer) {
  StationPc shack("localhost", "", "144 M", "CW", 0);
  const int port = shack.ListeningPort();
  ASSERT_NE(port, 0);
  RawPeer third(port);  // another client: it hears what the server sends to every client
  ASSERT_TRUE(third.Connected());

  ScopedEnvironment environment;
  environment.Set("CORVANE_HOST_NAME", "Tent2");
  environment.Set("CORVANE_STATION_PORT", QByteArray::number(port));
  environment.Set("CORVANE_FAKE_SET_CLOCK", "1");
  app::ServerName = "localhost";
  platform::InstanceWithoutLoad<app::Form1>();
  network::NetworkEnabled = 1;
  network::frmNetwork& net = platform::Instance<network::frmNetwork>();
  net.Timer2.Tick();
  ASSERT_TRUE(QTest::qWaitFor([&] { return net.WinsockClient.State() == platform::SocketConnected; }, kNetworkWait));
  ShowActive(net);

  net.Text3.SetText("localhost");
  for (const char* message : {"first message", "second message"}) {
    net.txtSendData.SetFocus();
    QTest::keyClicks(net.txtSendData.Widget(), message);
    QTest::keyClick(net.txtSendData.Widget(), Qt::Key_Return);
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return net.txtOutput.Text().contains("Second message\r\n\r\n"); }, kNetworkWait));
  const QString log = net.txtOutput.Text();
  EXPECT_EQ(log.count("From: Tent2\r\n"), 2);
  EXPECT_EQ(log.count("First message\r\n\r\n"), 1) << "relayed back, logged once";
  EXPECT_TRUE(third.Receives("<MessageFrom>Tent2<MessageTo> localhost<MessageText>First message\r\n\r\n<EOR>"));

  platform::Clock::SetFake(QDateTime(QDate(2031, 7, 4), QTime(3, 21, 9)), 2.0);
  QTest::mouseClick(net.Command3.Widget(), Qt::LeftButton);
  EXPECT_TRUE(third.Receives("<Date:>2031/07/04<Time:>03:21:09")) << "the server set its clock to the time sent";
  platform::UnloadAll();
}

}  // namespace
