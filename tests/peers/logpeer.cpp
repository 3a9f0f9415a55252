// Another PC of the station, for the shared-log tests: the main window's commit and poll on the
// log file named on the command line, in a process of its own.
//
//   logpeer <log file> <call prefix> <contacts>
//
// It prints "ready" once it has loaded the log, then waits for "go" on its input. It logs the
// contacts <prefix>K1, <prefix>K2, ... through the commit, printing "stored <call>" when the entry
// line was cleared (the contact is logged) or "failed <call>" when the commit kept it, and polls
// the table after every fifth contact. After the last it prints "done" and waits for "poll"; then
// it polls once more and prints "log" and the calls of its in-memory log, separated by blanks.
// Dialogs are answered at once, so no message box stops it.

#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/dialogs.h"
#include "platform/instances.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void Say(const QString& line) {
  std::fputs(line.toUtf8().append('\n').constData(), stdout);
  std::fflush(stdout);
}

// False when the input ends first: the test has gone.
bool WaitFor(const std::string& word) {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (line == word) return true;
  }
  return false;
}

void TypeContact(app::Form1& form, const QString& call) {
  form.txtCall.SetText(call);
  form.txtRSTR.SetText(QStringLiteral("59"));
  form.txtSec.SetText(QStringLiteral("FN20"));
  form.txtRSTS.SetText(QStringLiteral("57"));
}

QString CallsInMemory() {
  QStringList calls;
  for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot) calls << logging::LogCalls[slot];
  return calls.join(QLatin1Char(' '));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc != 4) {
    std::fputs("usage: logpeer <log file> <call prefix> <contacts>\n", stderr);
    return 2;
  }
  const QString logFile = QString::fromLocal8Bit(argv[1]);
  const QString prefix = QString::fromLocal8Bit(argv[2]);
  const int contacts = QByteArray(argv[3]).toInt();

  QTemporaryDir programDir;
  app::ProgramDir = programDir.path();
  app::OwnGrid = QStringLiteral("FN31");
  app::ContestType = 1;
  logging::CurrentBand = QStringLiteral("144 M");
  logging::CurrentMode = QStringLiteral("PH");
  platform::ScriptedDialogs dialogs;
  logging::LogConnection.Open(logFile);
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  form.Show();
  form.WorkList();
  Say(QStringLiteral("ready"));
  if (!WaitFor("go")) return 1;

  for (int number = 1; number <= contacts; ++number) {
    const QString call = prefix + QLatin1Char('K') + QString::number(number);
    TypeContact(form, call);
    form.Mains();
    Say((form.txtCall.Text().isEmpty() ? QStringLiteral("stored ") : QStringLiteral("failed ")) + call);
    if (number % 5 == 0) form.FileSize();
  }
  Say(QStringLiteral("done"));
  if (!WaitFor("poll")) return 1;
  form.FileSize();
  Say(QStringLiteral("log ") + CallsInMemory());
  return 0;
}
