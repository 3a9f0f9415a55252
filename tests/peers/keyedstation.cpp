// The whole program as main runs it, keying its transmitter, for the tests of the ways out that
// end the process itself:
//
//   keyedstation <program folder> <way out>
//
// In the program folder (which holds the log file Corvane.MDB) it takes the logo and the station
// set-up, chooses phone mode and presses F1, whose file plays (on a player that never ends by
// itself) with the push-to-talk on DTR of port 1 (CORVANE_PORT1 names the device). Then it prints
// "keyed" and takes the way out:
//   exit     File, Exit
//   fatal    exit(1) from the event loop, as a library does that has lost the display
//   signal   nothing: the test sends the signal
// With a third argument, a file, every level the DTR line was asked to take is written there,
// "1" up and "0" down, as the process ends by exit().

#include "app/form1.h"
#include "app/program.h"
#include "keying/phonefrm.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/mciwave.h"
#include "platform/paths.h"
#include "platform/serialcontrol.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "programoperator.h"
#include "wavefile.h"

namespace {

using platform::Instance;

// Written as the process ends by exit(): the hook is made before the program's own, so it runs after.
platform::RecordedSerialLines* lines = nullptr;
QString levelsFile;

void WriteLevels() {
  QFile file(levelsFile);
  if (!lines || !file.open(QIODevice::WriteOnly)) return;
  for (const platform::RecordedSerialLines::Level& level : lines->Levels()) {
    if (level.port == 1 && level.line == platform::RecordedSerialLines::Line::Dtr) file.write(level.raised ? "1" : "0");
  }
}

void PressF1WithPushToTalk(app::Form1& form, const QString& wave) {
  keying::PhoneFrm& phone = Instance<keying::PhoneFrm>();
  phone.Text1.SetText(wave);
  phone.Text10.SetText(QStringLiteral("1"));
  phone.Option2.SetValue(true);
  form.mnuPhone.Action()->trigger();
  QApplication::setActiveWindow(form.Widget());
  form.txtCall.SetFocus();
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_F1);
}

void TakeTheWayOut(app::Form1& form, const QString& way) {
  if (way == QLatin1String("exit")) form.mnuExit.Action()->trigger();
  if (way == QLatin1String("fatal")) std::exit(1);
}

// The operator: through the start-up, then F1 and the way out.
void Operate(ProgramOperator& station, const QString& wave, const QString& way) {
  station.StartUp(QStringLiteral("W9XYZ"), QStringLiteral("EN52"));
  station.Then(&MainWindowFree, [wave, way] {
    app::Form1& form = Instance<app::Form1>();
    PressF1WithPushToTalk(form, wave);
    std::puts("keyed");
    std::fflush(stdout);
    TakeTheWayOut(form, way);
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fputs("usage: keyedstation <program folder> exit|fatal|signal [levels file]\n", stderr);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  platform::ChDir(folder);
  const QString wave = QDir(folder).filePath(QStringLiteral("F1.wav"));
  if (!WriteWaveFile(wave, 1000)) return 2;
  platform::RecordedSerialLines recorded;
  if (argc == 4) {
    lines = &recorded;
    levelsFile = QString::fromLocal8Bit(argv[3]);
    std::atexit(&WriteLevels);
  }
  platform::ScriptedDialogs dialogs;  // every box takes its default answer
  dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);  // the log file offered is opened
  platform::ScriptedWavePlayback playback;
  ProgramOperator station;
  Operate(station, wave, QString::fromLocal8Bit(argv[2]));
  return app::RunProgram();
}
