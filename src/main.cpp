#include "app/form1.h"
#include "platform/instances.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The windows stay loaded, hidden, after the main window closes; the program ends with it.
  application.setQuitOnLastWindowClosed(false);
  app::Form1& form1 = platform::Instance<app::Form1>();
  QObject::connect(form1.Widget(), &QObject::destroyed, &application, &QApplication::quit);
  form1.Show();
  const int result = application.exec();
  platform::UnloadAll();
  return result;
}
