#include "app/form1.h"
#include "app/frmsplash.h"
#include "platform/instances.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The windows stay loaded, hidden, after the main window closes; the program ends with it.
  application.setQuitOnLastWindowClosed(false);
  // The start-up window's load does the start-up and shows the main window.
  platform::Instance<app::frmSplash>();
  if (!platform::IsLoaded<app::Form1>()) return 1;
  QObject::connect(platform::Instance<app::Form1>().Widget(), &QObject::destroyed, &application,
                   &QApplication::quit);
  const int result = application.exec();
  platform::UnloadAll();
  return result;
}
