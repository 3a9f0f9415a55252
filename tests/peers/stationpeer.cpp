// Another PC of the station on the network, for the end-to-end network test: the program's main
// window in a process of its own, with the current folder as its program folder and the empty log
// database there opened, left to its start-up timer, which switches the network on 3 s after the
// window shows, as in a started program.
//
//   stationpeer <server name> <band> <mode>
//
// The server name is what the station set-up leaves from the log file path: "" for a log on this
// PC (the server), the server's name for a log on its share (a client). Band and mode are those
// of the last session, as the preferences hold them. Once its network is on it prints
// "listening on <port>" (the port the system gave it when CORVANE_STATION_PORT is 0) or "not
// listening" (another PC of this machine holds the station port); it runs until it is ended.

#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "network/frmnetwork.h"
#include "network/globals.h"
#include "platform/errors.h"
#include "platform/instances.h"
#include "platform/paths.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {

void Say(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  application.setQuitOnLastWindowClosed(false);
  if (argc != 4) {
    std::fputs("usage: stationpeer <server name> <band> <mode>\n", stderr);
    return 2;
  }
  app::ProgramDir = platform::CurDir();
  app::ProgramDrive = app::ProgramDir.left(1);
  app::ServerName = QString::fromLocal8Bit(argv[1]);
  logging::CurrentBand = QString::fromLocal8Bit(argv[2]);
  logging::CurrentMode = QString::fromLocal8Bit(argv[3]);
  try {
    logging::LogConnection.Open(QDir::current().filePath(QStringLiteral("Corvane.MDB")));
  } catch (const platform::RuntimeError& error) {
    std::fprintf(stderr, "stationpeer: %s\n", qPrintable(error.Description()));
    return 1;
  }
  app::LogFilePath = logging::LogConnection.Path();

  platform::InstanceWithoutLoad<app::Form1>().Show();
  QTimer networkOn;
  QObject::connect(&networkOn, &QTimer::timeout, [&networkOn] {
    if (network::NetworkEnabled != 1 || !platform::IsLoaded<network::frmNetwork>()) return;
    networkOn.stop();
    const platform::Winsock& listener = platform::Instance<network::frmNetwork>().tcpWinsock[0];
    Say(listener.State() == platform::SocketListening ? "listening on " + std::to_string(listener.LocalPort())
                                                      : std::string("not listening"));
  });
  networkOn.start(100);
  const int result = application.exec();
  platform::UnloadAll();
  return result;
}
