// Two PCs of the station on one station port, each a process of its own (the peer program,
// tests/peers/stationpeer.cpp) with its own home, program folder and host name: the server
// first, then a client; a raw socket joins the server as a third PC and reads its table.

#include "network/records.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "networktesting.h"

namespace {

// A client connects 15 s after its network starts and again 15 s after it loses the server.
constexpr int kReconnectWait = 60000;

// A port free a moment ago, for every PC of the station.
int FreePort() {
  QTcpServer probe;
  EXPECT_TRUE(probe.listen(QHostAddress::Any));
  return probe.serverPort();
}

// One PC: the peer program in its own folders, started and stopped by its process id.
class StationPc {
 public:
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
    environment.insert("CORVANE_STATION_PORT", QString::number(port));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QT_LOGGING_RULES", "corvane.unbuilt.warning=false");
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(root.filePath("program"));
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    Start();
  }
  StationPc(const StationPc&) = delete;
  StationPc& operator=(const StationPc&) = delete;
  ~StationPc() { Stop(); }

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
  bool Says(const QByteArray& line) {
    const QDeadlineTimer deadline(kNetworkWait);
    while (!output_.split('\n').contains(line)) {
      if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) return false;
      process_.waitForReadyRead(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
      output_ += process_.readAllStandardOutput();
    }
    return true;
  }

 private:
  QTemporaryDir root_;
  QStringList arguments_;
  QProcess process_;
  QByteArray output_;
};

TEST(StationNetwork, TwoPcsShowEachOtherAndTheClientIsListedAgainAfterTheServerRestarts) {
  const int port = FreePort();
  const QString server = network::TableRecord(0, "localhost", "144 M", "CW", "");
  const QString client = QStringLiteral("<Name:Tent2>: <Bnd:432 M> <Mde: PH> <Opr: > <EOR>");

  StationPc shack("localhost", "", "144 M", "CW", port);
  ASSERT_TRUE(shack.Says("listening"));
  StationPc tent("Tent2", "localhost", "432 M", "PH", port);
  ASSERT_TRUE(tent.Says("not listening")) << "the station port is the server's";
  {
    RawPeer third(port);
    ASSERT_TRUE(third.Connected());
    EXPECT_TRUE(third.Receives(server, kReconnectWait));
    EXPECT_TRUE(third.Receives(client, kReconnectWait));
  }

  shack.Stop();
  shack.Start();
  ASSERT_TRUE(shack.Says("listening"));
  RawPeer third(port);
  ASSERT_TRUE(third.Connected());
  EXPECT_TRUE(third.Receives(client, kReconnectWait)) << "the client came back";
  EXPECT_TRUE(third.Receives(server, kReconnectWait));
}

}  // namespace
