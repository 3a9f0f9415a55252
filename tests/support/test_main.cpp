#include "platform/clock.h"
#include "platform/instances.h"
#include "platform/modulevalues.h"
#include "platform/screen.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

#include "childprocess.h"
#include "pseudoterminalports.h"

namespace {

// Each test starts from what the program starts with: no window loaded, every module-level
// value at its start, the real clock, the real screen, no stored settings and every serial port
// on a pseudo-terminal. A test gives back the current folder it moved, so that the next one never
// starts in a folder gone with it.
class StartState : public ::testing::EmptyTestEventListener {
 public:
  StartState(const QString& settingsFolder, const peertesting::PseudoTerminalPorts& ports)
      : settingsFolder_(settingsFolder), ports_(ports) {}

 private:
  void OnTestStart(const ::testing::TestInfo&) override {
    platform::UnloadAll();
    ports_.Apply();
    platform::ResetModuleValues();
    platform::Clock::UseReal();
    platform::Screen::ResetForTesting();
    ForgetSettings();
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    const QString current = QDir::currentPath();
    if (current == startFolder_) return;
    ADD_FAILURE() << "the test left the current folder in "
                  << (current.isEmpty() ? "a folder that is gone" : current.toStdString());
    QDir::setCurrent(startFolder_);
  }

  void ForgetSettings() const {
    QDir folder(settingsFolder_);
    for (const QString& file : folder.entryList({QStringLiteral("*.ini")}, QDir::Files)) folder.remove(file);
  }

  QString settingsFolder_;
  const peertesting::PseudoTerminalPorts& ports_;
  QString startFolder_ = QDir::currentPath();
};

}  // namespace

// Every test binary shares one application object; windows draw offscreen. Settings and the XDG
// config folder point into a scratch folder of this process, so no test reads or writes the
// user's own and test processes running side by side never meet; so do the serial ports.
int main(int argc, char** argv) {
  // The program leaves an end signal alone that it was started with ignored, as nohup and a
  // script's background job start it: the tests of those signals, and the processes they start,
  // need them as a program started from a terminal has them, however the suite was started.
  for (const int signal : {SIGHUP, SIGINT, SIGTERM}) std::signal(signal, SIG_DFL);
  const peertesting::ProcessTemporaryFolder temporaryFolder;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  if (!config.isValid()) qFatal("No scratch folder for the settings: %s", qPrintable(config.errorString()));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  // A network window that listens takes any free port, never the station's.
  if (qEnvironmentVariableIsEmpty("CORVANE_STATION_PORT")) qputenv("CORVANE_STATION_PORT", "0");
  const peertesting::PseudoTerminalPorts ports;
  ports.Apply();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new StartState(config.path(), ports));
  return RUN_ALL_TESTS();
}
