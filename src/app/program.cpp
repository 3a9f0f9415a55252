#include "app/program.h"

#include "app/form1.h"
#include "app/frmsplash.h"
#include "platform/instances.h"

#include <QApplication>
#include <QEventLoop>

namespace app {

namespace {
QEventLoop* run = nullptr;
}  // namespace

int RunProgram() {
  // The windows stay loaded, hidden, after the main window closes; the program ends with it.
  QApplication::setQuitOnLastWindowClosed(false);
  // The start-up window's load does the start-up and shows the main window.
  platform::Instance<frmSplash>();
  if (!platform::IsLoaded<Form1>()) return 1;
  // A loop of the run's own: ending it touches no other loop, so a test can run the program again.
  QEventLoop loop;
  run = &loop;
  const int result = loop.exec();
  run = nullptr;
  platform::UnloadAll();
  return result;
}

void EndRun() {
  if (run) run->exit(0);
}

}  // namespace app
