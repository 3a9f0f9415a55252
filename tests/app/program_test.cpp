#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/frmvarneklogo.h"
#include "app/globals.h"
#include "app/program.h"
#include "keying/phonefrm.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/endprogram.h"
#include "platform/forms.h"
#include "platform/mciwave.h"
#include "platform/paths.h"
#include "platform/printerport.h"
#include "platform/serialcontrol.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "anotherpc.h"
#include "childprocess.h"
#include "programrun.h"
#include "ptypair.h"
#include "wavefile.h"

namespace {

using app::Form1;
using platform::Instance;
using platform::IsLoaded;

TEST_F(ProgramRun, AFirstStartLogsThreeContactsAndTheNextStartFindsThemListedAndScored) {
  dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);
  const int firstEnd = Run(
      [](app::frmStationID& setUp) {
        EXPECT_EQ(setUp.Text8.Text(), app::ProgramDir + "/Corvane.MDB") << "the installed log is offered";
        QTest::keyClicks(setUp.Text1.Widget(), "w9xyz");
        QTest::keyClicks(setUp.Text5.Widget(), "en52");
      },
      [&](Form1& form) {
        EXPECT_EQ(form.Label2.Caption(), "W9XYZ");
        form.txtCall.SetFocus();
        Type("k1abc  fn20\r");
        Type("w2def  fn31\r");
        Type("n3ghi  em99\r");
        EXPECT_EQ(logging::LogCount, 3);
        EXPECT_EQ(form.lblTotCon.Caption(), "3");
        Exit(form);
      });
  EXPECT_EQ(firstEnd, 0);
  ASSERT_EQ(dialogs.InputBoxes().size(), 1u) << "the PC clock's UTC offset was offered once";
  EXPECT_EQ(dialogs.InputBoxes()[0].defaultText, "5");
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Open existing log?");
  const QList<QStringList> rows = RowsOnFile(LogPath());
  ASSERT_EQ(rows.size(), 3);
  EXPECT_EQ(rows[0], QStringList({"K1ABC", "599", "FN20", "599", "EN52", "2024/01/20", "19:00:00", "50 M", "CW"}));
  EXPECT_EQ(rows[2][0], "N3GHI");

  dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);
  const int secondEnd = Run(
      [](app::frmStationID& setUp) {
        EXPECT_EQ(setUp.Text1.Text(), "W9XYZ");
        EXPECT_EQ(setUp.Text5.Text(), "EN52");
        EXPECT_EQ(setUp.Text6.Text(), "5");
      },
      [&](Form1& form) {
        ASSERT_EQ(form.ListView1.ListItems.Count(), 3);
        EXPECT_EQ(form.ListView1.ListItems(1).SubItems(1), "N3GHI") << "newest first";
        EXPECT_EQ(form.lblTotCon.Caption(), "3");
        EXPECT_EQ(form.lblTotSec.Caption(), "3");
        EXPECT_EQ(form.lblsectogo.Caption(), "3");
        EXPECT_EQ(form.lblTotScore.Caption(), "9");
        form.Widget()->close();  // by the window's frame this time: the unload ends the run
      });
  EXPECT_EQ(secondEnd, 0);
  EXPECT_EQ(endProgram.Calls(), 1) << "only the first run's Exit";
  EXPECT_EQ(dialogs.InputBoxes().size(), 1u) << "the offset taken at the first start is the PC clock's";
  EXPECT_EQ(dialogs.MessageBoxes().size(), 2u);
  EXPECT_EQ(RowsOnFile(LogPath()).size(), 3);
}

// ---- The ways out of the program

// What a serial port's opening left in a lock folder, named after the device's path: /run/lock, or
// /tmp where a user may not write there.
bool LockFileLeftFor(const std::string& device) {
  const QString name = QString::fromStdString(device).replace('/', '_');
  for (const char* folder : {"/run/lock", "/tmp"}) {
    for (const QString& entry : QDir(QString::fromLatin1(folder)).entryList({"LCK..*"}, QDir::Files)) {
      if (entry.endsWith(name)) return true;
    }
  }
  return false;
}

// The last level asked of a line of port 1; nothing when none was.
std::optional<bool> LastLevel(const platform::RecordedSerialLines& lines, platform::RecordedSerialLines::Line line) {
  std::optional<bool> last;
  for (const platform::RecordedSerialLines::Level& level : lines.Levels()) {
    if (level.port == 1 && level.line == line) last = level.raised;
  }
  return last;
}

// F1 in phone mode plays its file with the push-to-talk keyed, on DTR of port 1 (a socat line)
// or on the printer port; the player never ends by itself. Each way out must leave the lines idle
// and the port closed, its lock file gone, before the program is gone.
class WaysOut : public ProgramRun {
 protected:
  void SetUp() override {
    ProgramRun::SetUp();
    qputenv("CORVANE_PORT1", QByteArray::fromStdString(line.HostEnd()));
    ASSERT_TRUE(WriteWaveFile(programFolder.filePath("F1.wav"), 1000));
  }
  void TearDown() override {
    qunsetenv("CORVANE_PORT1");
    ProgramRun::TearDown();
  }

  void KeyPushToTalk(Form1& form, bool onPrinterPort) {
    keying::PhoneFrm& phone = Instance<keying::PhoneFrm>();
    phone.Text1.SetText(programFolder.filePath("F1.wav"));
    phone.Text10.SetText(onPrinterPort ? "0" : "1");
    (onPrinterPort ? phone.Option3 : phone.Option2).SetValue(true);
    form.mnuPhone.Action()->trigger();
    form.txtCall.SetFocus();
    QTest::keyClick(form.txtCall.Widget(), Qt::Key_F1);
    ASSERT_EQ(playback.PlayingCount(), 1);
    if (onPrinterPort) {
      ExpectPrinterControl(3, "keyed");
    } else {
      EXPECT_EQ(LastLevel(lines, Line::Dtr), true);
      EXPECT_TRUE(LockFileLeftFor(line.HostEnd())) << "the port is held while it is open";
    }
  }

  // The push-to-talk down and the port closed, as the operator's transmitter and the next
  // program to open the port would find them.
  void ExpectReleased(bool onPrinterPort) {
    if (onPrinterPort) {
      ExpectPrinterControl(2, "idle");
    } else {
      EXPECT_EQ(LastLevel(lines, Line::Dtr), false);
      EXPECT_EQ(LastLevel(lines, Line::Rts), false);
      if (IsLoaded<keying::PhoneFrm>()) {
        EXPECT_FALSE(Instance<keying::PhoneFrm>().CommPhone.PortOpen());
      }
      EXPECT_FALSE(LockFileLeftFor(line.HostEnd()));
    }
  }

  // The last value written to the printer port's control register, at &H378 + 2.
  void ExpectPrinterControl(int value, const char* meaning) {
    ASSERT_FALSE(printer.Writes().empty());
    EXPECT_EQ(printer.Writes().back().address, 0x37A);
    EXPECT_EQ(printer.Writes().back().value, value) << meaning;
  }

  using Line = platform::RecordedSerialLines::Line;
  peertesting::PtyPair line;
  platform::ScriptedWavePlayback playback;
  platform::RecordedSerialLines lines;
  platform::RecordedPrinterPort printer;
};

TEST_F(WaysOut, EveryWayOutReleasesThePushToTalkAndClosesThePortFirst) {
  enum class Way { Exit, CloseBox, Signal };
  const struct {
    const char* name;
    Way way;
    int signal;
  } ways[] = {{"File, Exit", Way::Exit, 0},       {"the close box", Way::CloseBox, 0},
              {"SIGTERM", Way::Signal, SIGTERM},   {"SIGINT", Way::Signal, SIGINT},
              {"SIGHUP", Way::Signal, SIGHUP}};
  for (const auto& way : ways) {
    for (const bool onPrinterPort : {true, false}) {
      SCOPED_TRACE(std::string(way.name) + (onPrinterPort ? " with the printer port" : " with DTR"));
      const std::size_t signalsBefore = endProgram.Signals().size();
      dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);
      const int end = Run(
          [](app::frmStationID& setUp) {
            if (setUp.Text1.Text().isEmpty()) QTest::keyClicks(setUp.Text1.Widget(), "w9xyz");
            if (setUp.Text5.Text().isEmpty()) QTest::keyClicks(setUp.Text5.Widget(), "en52");
          },
          [&](Form1& form) {
            KeyPushToTalk(form, onPrinterPort);
            switch (way.way) {
              case Way::Exit:
                Exit(form);
                ExpectReleased(onPrinterPort);
                break;
              case Way::CloseBox:
                form.Widget()->close();
                break;
              case Way::Signal:
                ASSERT_EQ(kill(getpid(), way.signal), 0);
                EXPECT_TRUE(QTest::qWaitFor([&] { return endProgram.Signals().size() > signalsBefore; },
                                            peertesting::kBoundMs));
                ExpectReleased(onPrinterPort);
                app::EndRun();
                break;
            }
          });
      EXPECT_EQ(end, 0);
      if (way.way == Way::CloseBox) ExpectReleased(onPrinterPort);
      if (way.way == Way::Signal) {
        ASSERT_EQ(endProgram.Signals().size(), signalsBefore + 1);
        EXPECT_EQ(endProgram.Signals().back(), way.signal);
      }
    }
  }
}

// One start of the program in a process of its own (tests/peers/keyedstation.cpp), from a fresh
// home and program folder, with the push-to-talk keyed on DTR of a socat line as port 1.
class KeyedStation {
 public:
  explicit KeyedStation(const std::string& way) {
    home_.MakeFolder("Documents");
    platform::CreateLogDatabase(folder_.filePath("Corvane.MDB"));
    qputenv("CORVANE_PORT1", QByteArray::fromStdString(line_.HostEnd()));
    process_ = std::make_unique<peertesting::ChildProcess>(
        std::vector<std::string>{KEYEDSTATION_PATH, folder_.path().toStdString(), way, LevelsPath()}, LogPath());
    qunsetenv("CORVANE_PORT1");
  }

  // The whole start-up runs first: on a loaded 2-core machine that takes a while.
  bool WaitUntilKeyed() const {
    return peertesting::WaitUntil([this] { return Read(LogPath()).contains("keyed"); }, std::chrono::seconds(60));
  }
  peertesting::ChildProcess& Process() { return *process_; }
  std::string Device() const { return line_.HostEnd(); }
  // The levels DTR was asked to take, "1" up, written as the process ended by exit().
  QByteArray DtrLevels() const { return Read(LevelsPath()); }
  QByteArray Log() const { return Read(LogPath()); }

 private:
  std::string LogPath() const { return folder_.filePath("station.log").toStdString(); }
  std::string LevelsPath() const { return folder_.filePath("levels").toStdString(); }
  static QByteArray Read(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  FakeHome home_;
  QTemporaryDir folder_;
  peertesting::PtyPair line_;
  std::unique_ptr<peertesting::ChildProcess> process_;
};

TEST(WaysOutOfTheProcess, EachEndsAsItShouldWithThePortClosedAndItsLockFileGone) {
  const struct {
    const char* way;
    int signal;        // sent by the test; 0 for none
    bool bySignal;     // the process dies of the signal; otherwise it exits with the status
    int status;
    const char* levels;  // what DTR was asked, when the process ends by exit()
  } ways[] = {
      {"exit", 0, false, 0, ""},
      {"fatal", 0, false, 1, "010"},
      {"signal", SIGTERM, true, SIGTERM, ""},
      {"signal", SIGINT, true, SIGINT, ""},
      {"signal", SIGHUP, true, SIGHUP, ""},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(std::string(way.way) + " " + std::to_string(way.signal));
    KeyedStation station(way.way);
    ASSERT_TRUE(station.WaitUntilKeyed()) << station.Log().toStdString();
    if (way.signal != 0) {
      EXPECT_TRUE(LockFileLeftFor(station.Device())) << "the port is held while the program runs";
      station.Process().Signal(way.signal);
    }
    const int status = station.Process().WaitForExit();
    ASSERT_NE(status, -1) << "the program did not end";
    if (way.bySignal) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == way.status) << "status " << status;
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == way.status) << "status " << status;
    }
    EXPECT_FALSE(LockFileLeftFor(station.Device()));
    if (*way.levels != '\0') {
      EXPECT_EQ(station.DtrLevels(), way.levels);
    }
  }
}

}  // namespace
