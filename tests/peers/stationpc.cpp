// Another PC of the station for the operator's-day test: the whole program as main runs it (the
// logo, the station set-up, the main window), in a process of its own whose current folder is its
// program folder, driven by an operator who takes orders on standard input. Dialogs take their
// default answers.
//
//   stationpc <call> <grid> <log file path as typed> <mounts table>
//
// The mounts table stands for /proc/mounts, so a "\\PC\share\..." path typed in the set-up reaches
// a shared folder of this machine as a network share would. Once the main window is up it prints
// "ready"; then, one order a line:
//   band <band name>    chooses the band from the Band menu ("432 M")
//   mode PH|CW          chooses the mode from the Mode menu
//   refresh <ms>        sets the log's refresh rate from the Options menu
//   log <call> <grid>   types the contact into the entry line and Enter; prints "logged <call>"
//                       when the entry line was cleared, "kept <call>" when it was not
//   network             opens the network window from its menu; the next order waits until it
//                       is in front
//   await <call>        prints "listed <call>" once the contact list shows the call
//   grid <name>         prints "grid <names>" once the network window's band grid shows the name,
//                       with every name it shows
//   exit                File, Exit: the program ends
// It also ends when its input closes.

#include "app/form1.h"
#include "app/program.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "network/frmnetwork.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"

#include <QApplication>
#include <QSocketNotifier>

#include <unistd.h>

#include <cstdio>

#include "programoperator.h"
#include "pseudoterminalports.h"
#include "stationviews.h"
#include "typedkeys.h"

namespace {

using platform::Instance;
using platform::IsLoaded;

void Say(const QString& line) {
  std::fputs(line.toUtf8().append('\n').constData(), stdout);
  std::fflush(stdout);
}

void ChooseBand(app::Form1& form, const QString& band) {
  for (std::size_t index = 0; index < form.BandMenus().size(); ++index) {
    if (logging::BandNames[index] == band) form.BandMenus()[index]->Action()->trigger();
  }
}

// The network window takes the keyboard when the desktop brings it to the front, which on a busy
// PC can come well after the menu's click: keys meant for the main window meanwhile land in it.
bool NetworkWindowInFront() {
  return IsUp<network::frmNetwork>() && QApplication::activeWindow() == Instance<network::frmNetwork>().Widget();
}

// The operator: waits for what an order needs, then does it. Orders wait in turn.
class Operator {
 public:
  Operator(const QString& call, const QString& grid, const QString& logPath) {
    station_.StartUp(call, grid, logPath);
    station_.Then(&MainWindowFree, [] {
      QApplication::setActiveWindow(Instance<app::Form1>().Widget());
      Say(QStringLiteral("ready"));
    });
    QObject::connect(&input_, &QSocketNotifier::activated, [this] { ReadOrders(); });
  }

 private:
  void ReadOrders() {
    char buffer[512];
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) {
      input_.setEnabled(false);
      app::EndRun();  // the test has gone: no PC is left behind
      return;
    }
    pending_.append(buffer, count);
    qsizetype end = 0;
    while ((end = pending_.indexOf('\n')) >= 0) {
      Order(QString::fromUtf8(pending_.left(end)).split(u' ', Qt::SkipEmptyParts));
      pending_.remove(0, end + 1);
    }
  }

  void Order(const QStringList& words) {
    if (words.isEmpty()) return;
    const QString& verb = words[0];
    const QString rest = words.mid(1).join(u' ');
    app::Form1& form = Instance<app::Form1>();
    if (verb == "band") {
      station_.Then(&MainWindowFree, [&form, rest] { ChooseBand(form, rest); });
    } else if (verb == "mode") {
      station_.Then(&MainWindowFree, [&form, rest] { (rest == "CW" ? form.mnuCW : form.mnuPhone).Action()->trigger(); });
    } else if (verb == "refresh") {
      station_.Then(&MainWindowFree, [this, &form, rest] {
        dialogs_.AnswerInputBox(rest);
        form.mnuRefreshrate.Action()->trigger();
      });
    } else if (verb == "log" && words.size() == 3) {
      station_.Then(&MainWindowFree, [&form, call = words[1], grid = words[2]] {
        QApplication::setActiveWindow(form.Widget());
        form.txtCall.SetFocus();
        TypeIntoFocus(call + "  " + grid + "\r");
        Say((form.txtCall.Text().isEmpty() ? QStringLiteral("logged ") : QStringLiteral("kept ")) + call);
      });
    } else if (verb == "network") {
      station_.Then(&MainWindowFree, [&form] { form.mnuNetwork.Action()->trigger(); });
      station_.Then(&NetworkWindowInFront, [] {});
    } else if (verb == "await") {
      station_.Then([rest] { return ListedCalls().contains(rest); }, [rest] { Say("listed " + rest); });
    } else if (verb == "grid") {
      station_.Then([rest] { return IsLoaded<network::frmNetwork>() && NamesInBandGrid().contains(rest); },
           [] { Say("grid " + NamesInBandGrid().join(u' ')); });
    } else if (verb == "exit") {
      station_.Then(&MainWindowFree, [&form] { form.mnuExit.Action()->trigger(); });
    } else {
      Say("unknown order " + words.join(u' '));
    }
  }

  ProgramOperator station_;
  platform::ScriptedDialogs dialogs_;
  QSocketNotifier input_{STDIN_FILENO, QSocketNotifier::Read};
  QByteArray pending_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc != 5) {
    std::fputs("usage: stationpc <call> <grid> <log file path> <mounts table>\n", stderr);
    return 2;
  }
  platform::SetMountTableForTesting(QString::fromLocal8Bit(argv[4]));
  // The program opens the rig's port at its first start: a port of this process, not the test's.
  const peertesting::PseudoTerminalPorts ports;
  ports.Apply();
  Operator station(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
  return app::RunProgram();
}
