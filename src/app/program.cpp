#include "app/program.h"

#include "app/form1.h"
#include "app/frmsplash.h"
#include "keying/tapplinkloader.h"
#include "platform/endprogram.h"
#include "platform/instances.h"
#include "platform/printerport.h"
#include "platform/serialcontrol.h"
#include "platform/trace.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>

#include <atomic>
#include <cstdlib>

namespace app {

namespace {

QEventLoop* run = nullptr;
std::atomic<bool> running{false};

void ReleaseLinesAndPorts() {
  platform::SkipOnError(lcApp, &platform::SerialControl::CloseEveryPort);
  platform::SkipOnError(lcApp, &platform::ReleasePrinterPorts);
}

void EndBySignal(int signal) {
  ReleaseForProgramEnd();
  platform::EndProgramBySignal(signal);
}

// A library that ends the process with exit() (the display's connection lost at a log-out) ends
// it from the event loop; from another thread only the signal handlers' own release is safe. The
// keyer library closes its device itself as the process exits.
void ReleaseAtExit() {
  if (!running.load()) return;
  if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
    platform::detail::DropLinesNow();
    return;
  }
  ReleaseLinesAndPorts();
}

// Whichever way the run ends, the release comes first; a second release finds nothing left.
class RunningProgram {
 public:
  RunningProgram() : signals_(&EndBySignal) {
    // What the release traces to is made before the hook, so that it outlives the hook at exit().
    for (const platform::TraceCategory category : {&lcApp, &lcPlatform}) category();
    static const bool atExit = std::atexit(&ReleaseAtExit) == 0;
    if (!atExit) qCWarning(lcApp) << "no release at exit() can be arranged";
    running.store(true);
  }
  ~RunningProgram() {
    ReleaseForProgramEnd();
    running.store(false);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

 private:
  platform::EndSignalWatch signals_;
};

}  // namespace

int RunProgram() {
  // The windows stay loaded, hidden, after the main window closes; the program ends with it.
  QApplication::setQuitOnLastWindowClosed(false);
  int result = 0;
  {
    RunningProgram program;
    // The start-up window's load does the start-up and shows the main window.
    platform::Instance<frmSplash>();
    if (!platform::IsLoaded<Form1>()) return 1;
    // A loop of the run's own: ending it touches no other loop, so a test can run the program again.
    QEventLoop loop;
    run = &loop;
    result = loop.exec();
    run = nullptr;
  }
  platform::UnloadAll();
  return result;
}

void EndRun() {
  if (run) run->exit(0);
}

void ReleaseForProgramEnd() {
  ReleaseLinesAndPorts();
  platform::SkipOnError(lcApp, &keying::CloseKeyerDevice);
}

void ExitProgram() {
  ReleaseForProgramEnd();
  platform::EndProgram();
}

}  // namespace app
