// The voice messages window: each function key's file played with the push-to-talk line keyed on
// a socat pseudo-terminal's RTS or DTR and on the recorded printer port, the end-of-playback watch,
// Esc on the main window whatever the mode, the F1 repeat, the window's boxes and buttons and
// wave2.txt. The scripted player plays nothing and never ends by itself; the last tests play real
// files through the multimedia backend.
#include "app/form1.h"
#include "app/globals.h"
#include "keying/cwfrm.h"
#include "keying/frmcwstrings.h"
#include "keying/globals.h"
#include "keying/phonefrm.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/mciwave.h"
#include "platform/paths.h"
#include "platform/printerport.h"
#include "platform/serialcontrol.h"
#include "rig/rigcontrolfrm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "formtesting.h"
#include "fulldisk.h"
#include "operatorscript.h"
#include "polledrig.h"
#include "ptypair.h"
#include "testbound.h"
#include "wavefile.h"

namespace {

using platform::MciModePlay;
using platform::RecordedPrinterPort;
using platform::RecordedSerialLines;
using Line = RecordedSerialLines::Line;

constexpr int kPort = 8;
constexpr int kMissingPort = 9;
constexpr int kCWPort = 7;
constexpr int kF1 = 112;
constexpr int kF2 = 113;
constexpr int kF3 = 114;
constexpr int kMessageMilliseconds = 2000;

// A line's levels on the push-to-talk port in order: "1" raised, "0" dropped.
QString LevelsOf(const RecordedSerialLines& lines, Line line) {
  QString levels;
  for (const RecordedSerialLines::Level& level : lines.Levels()) {
    if (level.port == kPort && level.line == line) levels += level.raised ? QLatin1Char('1') : QLatin1Char('0');
  }
  return levels;
}

// The printer port's writes: "1" for 3 (keyed), "0" for 2, each at the address it went to.
QString LevelsOf(const RecordedPrinterPort& port, std::int32_t address = 890) {
  QString levels;
  for (const RecordedPrinterPort::Write& write : port.Writes()) {
    EXPECT_EQ(write.address, address);
    levels += write.value == 3 ? QLatin1Char('1') : write.value == 2 ? QLatin1Char('0') : QLatin1Char('?');
  }
  return levels;
}

void PressOn(keying::PhoneFrm& window, int keyCode) { window.FKeyPhone(keyCode); }

// A key typed on the main window, into its call box.
void MainWindowKey(Qt::Key key) {
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  if (!form.txtCall.HasFocus()) {
    ShowActive(form);
    form.txtCall.SetFocus();
  }
  QTest::keyClick(form.txtCall.Widget(), key);
}

class VoiceMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    savedDir = platform::CurDir();
    app::ProgramDir = folder.path();
    app::ProgramDrive = "/";
    qputenv("CORVANE_PORT8", QByteArray::fromStdString(pair.HostEnd()));
    qputenv("CORVANE_PORT9", "/nonexistent/ttyPTT");
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0);
    platform::TextBox* const files[] = {&phone.Text1, &phone.Text2, &phone.Text3};
    for (int key = 0; key < 3; ++key) {
      const QString file = Wave(QStringLiteral("F%1.wav").arg(key + 1));
      ASSERT_TRUE(WriteWaveFile(file, kMessageMilliseconds));
      files[key]->SetText(file);
    }
  }
  void TearDown() override {
    platform::UnloadAll();
    platform::ChDir(savedDir);
    qunsetenv("CORVANE_PORT7");
    qunsetenv("CORVANE_PORT8");
    qunsetenv("CORVANE_PORT9");
  }

  QString Wave(const QString& name) const { return QDir(folder.path()).filePath(name); }
  void Press(int keyCode) { PressOn(phone, keyCode); }
  void Watch() { phone.Timer1.Tick(); }
  bool PttKeyed() const { return phone.Timer1.Enabled(); }

  QTemporaryDir folder;
  QString savedDir;
  peertesting::PtyPair pair;
  platform::ScriptedDialogs dialogs;
  platform::ScriptedWavePlayback playback;
  keying::PhoneFrm& phone = platform::Instance<keying::PhoneFrm>();
};

// ---- Keying and releasing the push-to-talk line

TEST_F(VoiceMessages, EachLineChoiceKeysItsLinesForThePlaybackAndReleasesThemAtItsEnd) {
  const struct {
    const char* port;
    platform::OptionButton keying::PhoneFrm::*option;
    const char* rts;
    const char* dtr;
    const char* printer;
  } cases[] = {
      // An opening puts both lines down first.
      {"0", &keying::PhoneFrm::Option1, "", "", ""},
      {"0", &keying::PhoneFrm::Option3, "", "", "10"},
      {"8", &keying::PhoneFrm::Option1, "010", "0", ""},
      {"8", &keying::PhoneFrm::Option2, "0", "010", ""},
      {"8", &keying::PhoneFrm::Option3, "010", "0", "10"},
  };
  for (const auto& c : cases) {
    keying::PhoneFrm& fresh = platform::Instance<keying::PhoneFrm>();
    fresh.Text1.SetText(Wave("F1.wav"));
    fresh.Text10.SetText(c.port);
    (fresh.*c.option).SetValue(true);
    SCOPED_TRACE(testing::Message() << "port " << c.port << ", " << (fresh.*c.option).Caption().toStdString());
    RecordedSerialLines lines;
    RecordedPrinterPort printer;

    PressOn(fresh, kF1);
    EXPECT_EQ(fresh.MMControl1.Mode(), MciModePlay);
    EXPECT_TRUE(fresh.Timer1.Enabled());
    EXPECT_EQ(fresh.Timer1.Interval(), 40);
    fresh.Timer1.Tick();
    EXPECT_EQ(LevelsOf(printer), QString(c.printer).left(1)) << "still playing: still keyed";

    playback.FinishPlaying();
    fresh.Timer1.Tick();
    EXPECT_EQ(LevelsOf(lines, Line::Rts), c.rts);
    EXPECT_EQ(LevelsOf(lines, Line::Dtr), c.dtr);
    EXPECT_EQ(LevelsOf(printer), c.printer);
    EXPECT_FALSE(fresh.Timer1.Enabled());
    EXPECT_EQ(fresh.CommPhone.PortOpen(), QString(c.port) != "0");
    platform::UnloadAll();
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(VoiceMessages, ThePushToTalkNeverStaysKeyedWhenThePlaybackEndsOrCannotStart) {
  ASSERT_TRUE(QFile(Wave("notes.wav")).open(QIODevice::WriteOnly));
  const struct {
    const char* what;
    const char* file;
    std::function<void()> end;  // what ends the playback before the watch ticks
  } cases[] = {
      {"the player reports the end", "F1.wav", [this] { playback.FinishPlaying(); }},
      {"Esc on the main window", "F1.wav", [] { MainWindowKey(Qt::Key_Escape); }},
      {"a player that never reports the end", "F1.wav",
       [] { platform::Clock::Advance(kMessageMilliseconds + 1000); }},
      {"a missing file", "missing.wav", [] {}},
      {"a file that is no wave file", "notes.wav", [] {}},
  };
  logging::CurrentMode = "PH";
  phone.Text10.SetText(QString::number(kPort));
  phone.Option3.SetValue(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    phone.Text1.SetText(Wave(c.file));
    RecordedSerialLines lines;
    RecordedPrinterPort printer;
    Press(kF1);
    EXPECT_EQ(LevelsOf(lines, Line::Rts).right(1), "1");
    c.end();
    Watch();
    EXPECT_EQ(LevelsOf(lines, Line::Rts).right(2), "10");
    EXPECT_EQ(LevelsOf(printer), "10");
    EXPECT_NE(phone.MMControl1.Mode(), MciModePlay);
    EXPECT_FALSE(PttKeyed());
    EXPECT_FALSE(phone.tmrRepeat.Enabled());
  }
  EXPECT_EQ(playback.Played().size(), 3);
}

// ---- Esc while a message plays, whatever the mode has turned to meanwhile

// A rig on the far end of its serial line that answers every mode poll with CW, as a rig does once
// its operator has turned the knob to CW.
class RigTurnedToCW {
 public:
  RigTurnedToCW() { qputenv(kVariable, QByteArray::fromStdString(line_.HostEnd())); }
  ~RigTurnedToCW() {
    platform::UnloadIfLoaded<rig::RigControlfrm>();
    qputenv(kVariable, portBefore_);
  }
  RigTurnedToCW(const RigTurnedToCW&) = delete;
  RigTurnedToCW& operator=(const RigTurnedToCW&) = delete;

  // The rig window polls the rig as the operator starts it, until the log follows the rig's mode.
  void PolledUntilTheLogFollows() {
    rig::RigControlfrm& window = platform::Instance<rig::RigControlfrm>();
    ShowActive(window);
    ChooseRig(window, "Kenwood");
    QTest::mouseClick(window.optComm(kRigPort - 1).Widget(), Qt::LeftButton);
    QTest::mouseClick(window.Command1.Widget(), Qt::LeftButton);
    std::string asked;
    const bool followed = QTest::qWaitFor(
        [&] {
          asked += rig_.Read();
          if (const auto poll = asked.find("MD;"); poll != std::string::npos) {
            rig_.Write("MD3;");
            asked.erase(0, poll + 3);
          }
          return logging::CurrentMode == "CW";
        },
        peertesting::kBoundMs);
    EXPECT_TRUE(followed) << "the rig window asked " << asked;
  }

 private:
  static constexpr int kRigPort = 3;
  static constexpr const char* kVariable = "CORVANE_PORT3";
  const QByteArray portBefore_ = qgetenv(kVariable);  // the test main's own pseudo-terminal
  peertesting::PtyPair line_;
  peertesting::PtyEnd rig_{line_.PeerEnd()};
};

TEST_F(VoiceMessages, EscStopsAPlayingMessageAndDropsTheLineWhateverTheModeTurnedToMidMessage) {
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  keying::frmCWStrings& strip = platform::Instance<keying::frmCWStrings>();
  const auto onMainWindow = [](Qt::Key key) { MainWindowKey(key); };
  const auto onMessageStrip = [&strip](Qt::Key key) {
    ShowActive(strip);
    QTest::keyClick(strip.Widget(), key);
  };
  const auto f2 = [](const std::function<void(Qt::Key)>& type) { type(Qt::Key_F2); };
  const auto f1Repeated = [this](const std::function<void(Qt::Key)>& type) {
    phone.txtPHLoop.SetText("5");
    phone.txtPHLoop_LostFocus();
    type(Qt::Key_F1);
    playback.FinishPlaying();
    Watch();
    phone.tmrRepeat.Tick();  // the pause is over: F1 plays again
  };
  const auto testButton = [this](const std::function<void(Qt::Key)>&) {
    ShowActive(phone);
    QTest::mouseClick(phone.Command11.Widget(), Qt::LeftButton);
  };
  const auto modeBox = [&form] { QTest::mouseClick(form.Label30.Widget(), Qt::LeftButton); };
  const auto modeMenuCW = [&form] { form.mnuCW.Action()->trigger(); };
  const auto modeMenuPhone = [&form] { form.mnuPhone.Action()->trigger(); };
  const struct {
    const char* what;
    const char* modeBefore;
    std::function<void(Qt::Key)> type;  // where the operator types
    std::function<void(const std::function<void(Qt::Key)>&)> start;
    std::function<void()> turn;
    const char* modeAfter;
  } cases[] = {
      {"F2, the mode left alone", "PH", onMainWindow, f2, [] {}, "PH"},
      {"F2, the rig turned to CW", "PH", onMainWindow, f2, [] { RigTurnedToCW().PolledUntilTheLogFollows(); }, "CW"},
      {"F2, a click on the mode box", "PH", onMainWindow, f2, modeBox, "CW"},
      {"F2, Mode > CW", "PH", onMainWindow, f2, modeMenuCW, "CW"},
      {"F2 on the message strip, Mode > CW", "PH", onMessageStrip, f2, modeMenuCW, "CW"},
      {"F1 repeated, Mode > CW", "PH", onMainWindow, f1Repeated, modeMenuCW, "CW"},
      {"the voice window's Test in CW", "CW", onMainWindow, testButton, [] {}, "CW"},
      {"the voice window's Test in CW, Mode > Phone", "CW", onMainWindow, testButton, modeMenuPhone, "PH"},
  };
  phone.Text10.SetText(QString::number(kPort));
  phone.Option2.SetValue(true);  // DTR
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    logging::CurrentMode = c.modeBefore;
    form.txtCall.SetText("W1AW");
    RecordedSerialLines lines;
    c.start(c.type);
    ASSERT_EQ(phone.MMControl1.Mode(), MciModePlay);
    ASSERT_EQ(LevelsOf(lines, Line::Dtr).right(1), "1");
    c.turn();
    ASSERT_EQ(logging::CurrentMode, c.modeAfter);
    ASSERT_EQ(phone.MMControl1.Mode(), MciModePlay) << "the message plays on through the change";

    c.type(Qt::Key_Escape);
    EXPECT_NE(phone.MMControl1.Mode(), MciModePlay);
    EXPECT_EQ(form.txtCall.Text(), "W1AW") << "the Esc that stops the message does nothing else";
    Watch();
    EXPECT_EQ(LevelsOf(lines, Line::Dtr).right(2), "10")
        << "the push-to-talk drops at the watch's next tick: " << LevelsOf(lines, Line::Dtr).toStdString();
    EXPECT_FALSE(phone.tmrRepeat.Enabled());

    c.type(Qt::Key_Escape);
    EXPECT_EQ(form.txtCall.Text(), "") << "with nothing playing, Esc clears the entry line as before";
    EXPECT_EQ(LevelsOf(lines, Line::Dtr).right(1), "0");
  }
}

TEST_F(VoiceMessages, APlayerThatNeverReportsTheEndKeepsTheLineForTheFilesLengthAndASecond) {
  phone.Option3.SetValue(true);
  RecordedPrinterPort printer;
  Press(kF1);
  platform::Clock::Advance(kMessageMilliseconds + 999);
  Watch();
  EXPECT_EQ(LevelsOf(printer), "1");
  platform::Clock::Advance(1);
  Watch();
  EXPECT_EQ(LevelsOf(printer), "10");
  EXPECT_EQ(playback.PlayingCount(), 0) << "stopped";
}

TEST_F(VoiceMessages, AnotherKeyReplacesThePlaybackWithTheLineKeptUpAndAnEmptyPathKeysNothing) {
  phone.Text10.SetText(QString::number(kPort));
  phone.Text2.SetText("   ");
  RecordedSerialLines lines;
  Press(kF1);
  Press(kF3);
  EXPECT_EQ(playback.Played(), QStringList({Wave("F1.wav"), Wave("F3.wav")}));
  EXPECT_EQ(playback.PlayingCount(), 1);
  Watch();
  EXPECT_EQ(LevelsOf(lines, Line::Rts), "011") << "opened, keyed, kept keyed";

  Press(kF2);  // blank: the playing message is closed and nothing else is keyed
  EXPECT_EQ(playback.PlayingCount(), 0);
  EXPECT_EQ(LevelsOf(lines, Line::Rts), "011");
  Watch();
  EXPECT_EQ(LevelsOf(lines, Line::Rts), "0110") << "dropped at the next tick";
  EXPECT_EQ(playback.Played().size(), 2);

  Press(kF2);
  EXPECT_FALSE(PttKeyed());
  for (int other : {111, 121, 27}) Press(other);
  EXPECT_EQ(playback.Played().size(), 2);
  EXPECT_EQ(LevelsOf(lines, Line::Rts), "0110");
}

TEST_F(VoiceMessages, AFailureWhileKeyingReleasesWhatWasAlreadyKeyed) {
  phone.Text10.SetText(QString::number(kPort));
  phone.Option3.SetValue(true);
  phone.Text11.SetText("LPT1");  // no address: the printer line cannot be keyed
  RecordedSerialLines lines;
  RecordedPrinterPort printer;
  Press(kF1);
  EXPECT_EQ(LevelsOf(lines, Line::Rts), "010");
  EXPECT_TRUE(printer.Writes().empty());
  EXPECT_TRUE(playback.Played().isEmpty());
  EXPECT_FALSE(PttKeyed());
}

TEST_F(VoiceMessages, ClosingTheWindowWhilePlayingReleasesTheLine) {
  phone.Option3.SetValue(true);
  RecordedPrinterPort printer;
  Press(kF1);
  phone.Unload();
  EXPECT_EQ(LevelsOf(printer), "10");
  EXPECT_EQ(playback.PlayingCount(), 0);
}

// ---- The F1 repeat

TEST_F(VoiceMessages, F1RepeatsAfterItsPauseUntilAKeyIsPressedAndTheOtherKeysNever) {
  const struct {
    int key;
    const char* pause;
    bool repeats;
  } cases[] = {{kF1, "0", false}, {kF1, ".2", true}, {kF2, ".2", false}};
  logging::CurrentMode = "PH";
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.key << " pause " << c.pause);
    phone.txtPHLoop.SetText(c.pause);
    phone.txtPHLoop_LostFocus();
    const qsizetype before = playback.Played().size();
    Press(c.key);
    for (int replay = 0; replay < 2 && c.repeats; ++replay) {
      playback.FinishPlaying();
      Watch();
      EXPECT_TRUE(phone.tmrRepeat.Enabled());
      EXPECT_EQ(phone.tmrRepeat.Interval(), 200);
      phone.tmrRepeat.Tick();
      EXPECT_FALSE(phone.tmrRepeat.Enabled());
      EXPECT_EQ(playback.Played().size(), before + 2 + replay);
      EXPECT_EQ(playback.Played().last(), Wave("F1.wav"));
    }
    // Any key on the main window ends the cycle; the playback runs out and nothing follows.
    MainWindowKey(Qt::Key_Slash);
    playback.FinishPlaying();
    Watch();
    EXPECT_FALSE(phone.tmrRepeat.Enabled());
    EXPECT_EQ(keying::PhoneRepeat, 0);
    EXPECT_EQ(playback.Played().size(), before + (c.repeats ? 3 : 1));
  }
}

TEST_F(VoiceMessages, TestPlaysF1AndStopEndsTheCycleEvenDuringThePause) {
  phone.txtPHLoop.SetText("5");
  phone.txtPHLoop_LostFocus();
  ShowActive(phone);
  QTest::mouseClick(phone.Command11.Widget(), Qt::LeftButton);
  EXPECT_EQ(playback.Played(), QStringList{Wave("F1.wav")});
  EXPECT_TRUE(phone.Command1.HasFocus());
  EXPECT_TRUE(phone.Command12.Visible()) << "Stop is offered while the message repeats";

  playback.FinishPlaying();
  Watch();
  ASSERT_TRUE(phone.tmrRepeat.Enabled()) << "in the pause";
  QTest::mouseClick(phone.Command12.Widget(), Qt::LeftButton);
  EXPECT_FALSE(phone.tmrRepeat.Enabled());
  EXPECT_EQ(keying::PhoneRepeat, 0);
  EXPECT_FALSE(phone.Command12.Visible());

  // Pressed during a playback, it ends the cycle after that playback.
  QTest::mouseClick(phone.Command11.Widget(), Qt::LeftButton);
  QTest::mouseClick(phone.Command12.Widget(), Qt::LeftButton);
  playback.FinishPlaying();
  Watch();
  EXPECT_FALSE(phone.tmrRepeat.Enabled());
  EXPECT_EQ(playback.Played().size(), 2);
}

// ---- The window's boxes and buttons

TEST_F(VoiceMessages, TheRepeatPauseTakesDigitsAndAPointAndLeavingItChecksTheRange) {
  const struct {
    const char* typed;
    const char* text;
    int interval;
  } cases[] = {{"59.5", "59.5", 59500}, {"2.5", "2.5", 2500}, {"60", "0", 0},
               {"1a-5", "15", 15000},  {"0", "0", 0},        {"..", "0", 0}};
  ShowActive(phone);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    phone.txtPHLoop.SetText("");
    phone.txtPHLoop.SetFocus();
    QTest::keyClicks(phone.txtPHLoop.Widget(), c.typed);
    phone.Text1.SetFocus();
    EXPECT_EQ(phone.txtPHLoop.Text(), c.text);
    EXPECT_EQ(phone.tmrRepeat.Interval(), c.interval);
  }
  phone.txtPHLoop.SetText("ab");  // pasted
  phone.txtPHLoop.SetFocus();
  phone.Text1.SetFocus();
  EXPECT_EQ(phone.txtPHLoop.Text(), "0");

  phone.Text11.SetText("");
  phone.Text11.SetFocus();
  QTest::keyClicks(phone.Text11.Widget(), "&h2\"7b");
  EXPECT_EQ(phone.Text11.Text(), "&H27B");
}

TEST_F(VoiceMessages, LeavingThePortBoxOpensItsPortTakingItFromTheCWWindow) {
  peertesting::PtyPair cwLine;
  qputenv("CORVANE_PORT7", QByteArray::fromStdString(cwLine.HostEnd()));
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
  cw.Comm.SetCommPort(kCWPort);
  cw.Comm.SetPortOpen(true);
  ShowActive(phone);

  phone.Text10.SetFocus();
  EXPECT_EQ(phone.Text10.SelLength(), 1);
  QTest::keyClicks(phone.Text10.Widget(), "8");
  phone.Text11.SetFocus();
  EXPECT_TRUE(phone.CommPhone.PortOpen());
  EXPECT_EQ(phone.CommPhone.CommPort(), kPort);
  EXPECT_FALSE(phone.CommPhone.RtsRaised());
  EXPECT_FALSE(cw.Comm.PortOpen());

  phone.Text10.SetText("com1");
  phone.Text10.SetFocus();
  phone.Text11.SetFocus();
  EXPECT_EQ(phone.Text10.Text(), "0");
  EXPECT_TRUE(phone.CommPhone.PortOpen()) << "0 leaves an open port as it is";
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(VoiceMessages, APortThatCannotBeOpenedIsReportedAndTheHiddenWindowShownToCorrectIt) {
  phone.Text10.SetText(QString::number(kMissingPort));
  phone.Option3.SetValue(true);
  RecordedPrinterPort printer;
  bool shownModally = false;
  OperatorScript script;
  script.When(
      "the voice window shows modally", [&] { return QApplication::activeModalWidget() == phone.Widget(); },
      [&] {
        shownModally = true;
        phone.Hide();
      });
  Press(kF1);
  EXPECT_TRUE(shownModally);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt,
            "The port you have selected for Phone keying is invalid.  Please select another or enter 0 for none.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Invalid port.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::Information);
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_EQ(playback.Played(), QStringList{Wave("F1.wav")}) << "the message goes on without the serial line";
  EXPECT_EQ(LevelsOf(printer), "1");
}

TEST_F(VoiceMessages, BrowsePutsTheChosenFileInItsRowAndACancelBeepsAndKeepsThePath) {
  ShowActive(phone);
  dialogs.ChooseFile(Wave("cq.wav"));
  QTest::mouseClick(phone.Command10.Widget(), Qt::LeftButton);
  EXPECT_EQ(phone.Text9.Text(), Wave("cq.wav"));
  EXPECT_TRUE(phone.Command1.HasFocus());
  ASSERT_EQ(dialogs.CommonDialogs().size(), 1u);
  EXPECT_EQ(dialogs.CommonDialogs()[0].filter, "(*.wav)|*.wav");
  EXPECT_EQ(dialogs.CommonDialogs()[0].fileName, "");
  EXPECT_EQ(QDir(platform::CurDir()).canonicalPath(), QDir(folder.path()).canonicalPath());

  dialogs.CancelFileDialog();
  QTest::mouseClick(phone.Command2.Widget(), Qt::LeftButton);
  EXPECT_EQ(phone.Text1.Text(), Wave("F1.wav"));
  EXPECT_EQ(dialogs.Beeps(), 1);
}

// ---- wave2.txt

TEST_F(VoiceMessages, DoneHidesTheWindowAndWritesTheThirteenValues) {
  phone.Text1.SetText("  " + Wave("F1.wav") + " ");
  phone.Text3.SetText("");
  phone.Text10.SetText("3");
  phone.Option3.SetValue(true);
  phone.txtPHLoop.SetText("2.5");
  phone.Text11.SetText("&H278");
  ShowActive(phone);
  QTest::mouseClick(phone.Command1.Widget(), Qt::LeftButton);
  EXPECT_FALSE(phone.Visible());
  QFile file(Wave("wave2.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString f1 = Wave("F1.wav"), f2 = Wave("F2.wav");
  EXPECT_EQ(QString::fromLatin1(file.readAll()),
            "\"" + f1 + "\"\r\n\"" + f2 + "\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
            "\"3\"\r\n2\r\n\"2.5\"\r\n\"&H278\"\r\n");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(VoiceMessages, ASaveThatFailsKeepsTheOldFileAndSaysSo) {
  QFile old(Wave("wave2.txt"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("\"old.wav\"\r\n");
  old.close();
  ShowActive(phone);
  {
    FullDisk full;
    QTest::mouseClick(phone.Command1.Widget(), Qt::LeftButton);
  }
  EXPECT_FALSE(phone.Visible());
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "\"old.wav\"\r\n");
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_TRUE(dialogs.MessageBoxes()[0].prompt.startsWith("The voice settings could not be saved: "));
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Unable to write file.");
}

// ---- Real playback through the multimedia backend, without a sound card or sound server

class RealVoiceMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    qputenv("CORVANE_PORT8", QByteArray::fromStdString(pair.HostEnd()));
    phone.Text10.SetText(QString::number(kPort));
  }
  void TearDown() override {
    platform::UnloadAll();
    qunsetenv("CORVANE_PORT8");
  }
  QString Wave(const QString& name) const { return QDir(folder.path()).filePath(name); }
  bool WaitForRts(const RecordedSerialLines& lines, const QString& levels) {
    return QTest::qWaitFor([&] { return LevelsOf(lines, Line::Rts) == levels; }, peertesting::kBoundMs);
  }

  QTemporaryDir folder;
  peertesting::PtyPair pair;
  keying::PhoneFrm& phone = platform::Instance<keying::PhoneFrm>();
};

TEST_F(RealVoiceMessages, F1PlaysToItsEndAndRepeatsAfterItsPauseUntilAKeyIsPressed) {
  ASSERT_TRUE(WriteWaveFile(Wave("cq.wav"), 150));
  phone.Text1.SetText(Wave("cq.wav"));
  phone.txtPHLoop.SetText("0.2");
  phone.txtPHLoop_LostFocus();
  RecordedSerialLines lines;
  PressOn(phone, kF1);
  EXPECT_EQ(phone.MMControl1.Mode(), MciModePlay);
  ASSERT_TRUE(WaitForRts(lines, "01010")) << LevelsOf(lines, Line::Rts).toStdString();

  MainWindowKey(Qt::Key_Slash);
  EXPECT_EQ(keying::PhoneRepeat, 0);
  EXPECT_FALSE(phone.tmrRepeat.Enabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !phone.Timer1.Enabled(); }, peertesting::kBoundMs));
  EXPECT_EQ(LevelsOf(lines, Line::Rts).right(1), "0");
  EXPECT_FALSE(phone.tmrRepeat.Enabled());
}

TEST_F(RealVoiceMessages, AFileThePlayerCannotDecodeReleasesTheLine) {
  ASSERT_TRUE(WriteWaveFile(Wave("odd.wav"), 500));
  QFile file(Wave("odd.wav"));
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  file.seek(20);
  file.write("\x34\x12", 2);  // a format no decoder knows
  file.close();
  phone.Text1.SetText(Wave("odd.wav"));
  RecordedSerialLines lines;
  PressOn(phone, kF1);
  EXPECT_TRUE(WaitForRts(lines, "010")) << LevelsOf(lines, Line::Rts).toStdString();
}

}  // namespace
