// The CW window's software keying as the send loop drives it, one character at a time, on the
// fake clock: the levels the keying line takes, read from a socat pseudo-terminal standing for the
// keying port or from the recorded printer port.
#include "app/form1.h"
#include "keying/cwfrm.h"
#include "keying/globals.h"
#include "keying/phonefrm.h"
#include "keying/tapplinkloader.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/printerport.h"
#include "platform/serialcontrol.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

#include "cwcommitfixture.h"
#include "formtesting.h"
#include "operatorscript.h"
#include "ptypair.h"

namespace {

using platform::RecordedPrinterPort;
using platform::RecordedSerialLines;
using Line = RecordedSerialLines::Line;

constexpr int kPort = 7;
constexpr int kPhonePort = 8;
constexpr int kMissingPort = 9;
constexpr std::int32_t kControlRegister = 0x378 + 2;

const char* const kParis = "10111011101000" "10111000" "1011101000" "101000" "10101000";

// A line's levels in order: "1" down, "0" up.
QString LevelsOf(const RecordedSerialLines& lines, Line line) {
  QString levels;
  for (const RecordedSerialLines::Level& level : lines.Levels()) {
    if (level.line == line) levels += level.raised ? QLatin1Char('1') : QLatin1Char('0');
  }
  return levels;
}

// The printer port's levels: 3 is the key down, 2 up, each written to the control register.
QString LevelsOf(const RecordedPrinterPort& port) {
  QString levels;
  for (const RecordedPrinterPort::Write& write : port.Writes()) {
    EXPECT_EQ(write.address, kControlRegister);
    levels += write.value == 3 ? QLatin1Char('1') : write.value == 2 ? QLatin1Char('0') : QLatin1Char('?');
  }
  return levels;
}

class CWKeying : public ::testing::Test {
 protected:
  void SetUp() override {
    StartFakeClock();
    qputenv("CORVANE_PORT7", QByteArray::fromStdString(pair_.HostEnd()));
    qputenv("CORVANE_PORT9", "/nonexistent/ttyCW");
    cw.Text11.SetText(QStringLiteral("20"));
  }
  void TearDown() override {
    qunsetenv("CORVANE_PORT7");
    qunsetenv("CORVANE_PORT8");
    qunsetenv("CORVANE_PORT9");
  }

  void Key(const QString& text) {
    for (const QChar character : text) cw.Transmit(QString(character));
  }

  peertesting::PtyPair pair_;
  platform::ScriptedDialogs dialogs;
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
};

TEST_F(CWKeying, EachCharacterIsKeyedUnitByUnitOnTheChosenLineOnly) {
  const struct {
    const char* name;
    platform::OptionButton& option;
    Line line;
  } serialLines[] = {{"RTS", cw.Option1, Line::Rts}, {"DTR", cw.Option2, Line::Dtr}};
  cw.Text10.SetText(QString::number(kPort));
  for (const auto& c : serialLines) {
    SCOPED_TRACE(c.name);
    c.option.SetValue(true);
    cw.CWSetup();
    RecordedSerialLines lines;
    Key(QStringLiteral("PARIS"));
    EXPECT_EQ(LevelsOf(lines, c.line), kParis);
    EXPECT_EQ(LevelsOf(lines, c.line == Line::Rts ? Line::Dtr : Line::Rts), "");
    EXPECT_TRUE(cw.Comm.PortOpen());
    EXPECT_EQ(cw.Comm.CommPort(), kPort);
  }

  cw.Option3.SetValue(true);
  RecordedPrinterPort printer;
  RecordedSerialLines lines;
  Key(QStringLiteral("PARIS"));
  EXPECT_EQ(LevelsOf(printer), kParis);
  EXPECT_TRUE(lines.Levels().empty());
}

TEST_F(CWKeying, TheSpeedAndTheWordSpaceAreReadForEveryCharacterAndAFailingOneKeysNothing) {
  const struct {
    const char* speed;
    const char* space;
    const char* character;
    const char* levels;
  } cases[] = {
      {"20", "0", " ", "00000000"},
      {"20", "3", " ", "00000000000"},
      {"20", "-8", " ", ""},
      {"20", "-3", " ", "00000"},
      {"20", "0", "e", "1000"},
      {"20", "0", "#", ""},
      {"12.5", "0", "T", "111000"},
      {"0", "0", "E", ""},
      {"-5", "0", "E", ""},
      {"fast", "0", "E", ""},
      {"20", "-", "E", ""},  // a word space that is no number fails every character
  };
  cw.Option3.SetValue(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.speed) + " WPM, space " + c.space + ", '" + c.character + "'");
    cw.Text11.SetText(c.speed);
    cw.txtSpace.SetText(c.space);
    RecordedPrinterPort printer;
    cw.Transmit(c.character);
    EXPECT_EQ(LevelsOf(printer), c.levels);
  }
}

TEST_F(CWKeying, ACharacterTheClockWrapCutsShortEndsWithTheKeyUp) {
  cw.Option3.SetValue(true);
  const std::uint32_t now = platform::TimeGetTime();
  platform::Clock::Advance(static_cast<std::int64_t>(keying::kLastTimerEnd) - 59 - now - 1);
  RecordedPrinterPort printer;
  cw.Transmit(QStringLiteral("T"));
  EXPECT_EQ(LevelsOf(printer), "10") << "the dash is given up after its first unit";
}

TEST_F(CWKeying, WithPortZeroEveryCharacterTriesThePortAndTheNextOneOpensAPortNamedMeanwhile) {
  cw.Option1.SetValue(true);
  RecordedSerialLines lines;
  cw.Transmit(QStringLiteral("E"));
  EXPECT_FALSE(cw.Comm.PortOpen());
  EXPECT_TRUE(lines.Levels().empty()) << "no line to key";

  cw.Text10.SetText(QString::number(kPort));  // set, as the start-up sets it, without leaving the box
  cw.Transmit(QStringLiteral("E"));
  EXPECT_TRUE(cw.Comm.PortOpen());
  EXPECT_EQ(LevelsOf(lines, Line::Rts), "0" "1000") << "lowered as it opens, then keyed";
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(CWKeying, APortThatCannotBeOpenedIsReportedAtEveryCharacterAndTheHiddenWindowShownToCorrectIt) {
  cw.Option2.SetValue(true);
  cw.Text10.SetText(QString::number(kMissingPort));
  int shownModally = 0;
  OperatorScript script;
  for (int character = 0; character < 2; ++character) {
    script.When(
        "the CW window shows modally", [&] { return QApplication::activeModalWidget() == cw.Widget(); },
        [&] {
          ++shownModally;
          cw.Hide();  // as Done does
        });
  }
  Key(QStringLiteral("EE"));
  EXPECT_EQ(shownModally, 2);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 2u);
  for (const platform::MessageBoxShown& shown : dialogs.MessageBoxes()) {
    EXPECT_EQ(shown.prompt, "The port you have selected for CW keying is invalid.  Please select another or enter 0 "
                            "for none.");
    EXPECT_EQ(shown.title, "Invalid port.");
  }
  EXPECT_EQ(dialogs.Beeps(), 2);

  ShowActive(cw);  // already in front of the operator: the message alone
  cw.Transmit(QStringLiteral("E"));
  EXPECT_EQ(dialogs.MessageBoxes().size(), 3u);
  EXPECT_TRUE(cw.Visible());
}

TEST_F(CWKeying, ThePortBoxTakesDigitsAndLeavingItOpensItsPortTakingItFromTheVoiceWindow) {
  peertesting::PtyPair phoneLine;
  qputenv("CORVANE_PORT8", QByteArray::fromStdString(phoneLine.HostEnd()));
  keying::PhoneFrm& phone = platform::Instance<keying::PhoneFrm>();
  phone.CommPhone.SetCommPort(kPhonePort);
  phone.CommPhone.SetPortOpen(true);
  ShowActive(cw);

  cw.Text10.SetFocus();
  EXPECT_EQ(cw.Text10.SelLength(), 1) << "the whole text is selected, so typing replaces it";
  QTest::keyClicks(cw.Text10.Widget(), "a7-");
  EXPECT_EQ(cw.Text10.Text(), "7");
  cw.Text14.SetFocus();
  EXPECT_TRUE(cw.Comm.PortOpen());
  EXPECT_EQ(cw.Comm.CommPort(), kPort);
  EXPECT_FALSE(phone.CommPhone.PortOpen());

  cw.Text10.SetFocus();
  QTest::keyClick(cw.Text10.Widget(), Qt::Key_Backspace);
  cw.Text14.SetFocus();
  EXPECT_EQ(cw.Text10.Text(), "0");
  EXPECT_FALSE(cw.Comm.PortOpen()) << "0 closes it";
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(CWKeying, TheLoopTimingIsCalibratedWhenFirstChosenAndItsControlsServeOnlyIt) {
  const std::vector<platform::Control*> loopControls = {&cw.txtLoop, &cw.lblLoop, &cw.cmdLoopFaster,
                                                         &cw.cmdLoopSlower};
  const auto loopControlsEnabled = [&] {
    int enabled = 0;
    for (const platform::Control* control : loopControls) enabled += control->Enabled() ? 1 : 0;
    return enabled;
  };
  ShowActive(cw);
  EXPECT_EQ(loopControlsEnabled(), 0) << "the timer is the design's choice";

  // On the fake clock the count takes the one millisecond the reading before it moved the clock.
  QTest::mouseClick(cw.optLoop.Widget(), Qt::LeftButton);
  EXPECT_EQ(cw.txtLoop.Text(), "300000000");
  EXPECT_EQ(cw.LoopOffset, 300'000'000);
  EXPECT_EQ(loopControlsEnabled(), 4);

  QTest::mouseClick(cw.OptSleep.Widget(), Qt::LeftButton);
  EXPECT_EQ(loopControlsEnabled(), 0);
  cw.txtLoop.SetText(QStringLiteral("1234"));
  EXPECT_EQ(cw.LoopOffset, 1234);
  QTest::mouseClick(cw.optLoop.Widget(), Qt::LeftButton);
  EXPECT_EQ(cw.txtLoop.Text(), "1234") << "calibrated once";
  QTest::mouseClick(cw.optTimer.Widget(), Qt::LeftButton);
  EXPECT_EQ(loopControlsEnabled(), 0);
}

TEST_F(CWKeying, FasterAndSlowerScaleTheLoopCountByAboutATenthAndGiveTheFocusToDone) {
  const struct {
    const char* loops;
    platform::CommandButton& button;
    const char* after;
  } cases[] = {
      {"1000", cw.cmdLoopFaster, "900"},
      {"900", cw.cmdLoopSlower, "1000"},
      {"5", cw.cmdLoopFaster, "4"},  // 4.5, halves to even
      {"12000000", cw.cmdLoopSlower, "13333333"},
      {"slow", cw.cmdLoopSlower, "slow"},
  };
  ShowActive(cw);
  QTest::mouseClick(cw.optLoop.Widget(), Qt::LeftButton);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.loops);
    cw.txtLoop.SetFocus();
    cw.txtLoop.SetText(c.loops);
    QTest::mouseClick(c.button.Widget(), Qt::LeftButton);
    EXPECT_EQ(cw.txtLoop.Text(), c.after);
    EXPECT_TRUE(cw.Command1.HasFocus());
  }
  EXPECT_EQ(cw.LoopOffset, 13'333'333) << "the last number the box held";
}

std::vector<std::int32_t> speedsSent;
std::int32_t RecordSpeed(std::int32_t wordsPerMinute) {
  speedsSent.push_back(wordsPerMinute);
  return 0;
}

TEST_F(CWKeying, TheSpeedReachesTheKeyerDeviceOnlyAbove4AndBelow100WithTheDeviceOpenAndChosen) {
  keying::FakeTapplink library({{"tp_wpm", reinterpret_cast<QFunctionPointer>(&RecordSpeed)}});
  const struct {
    std::uint8_t version;
    std::uint8_t mode;
    const char* speed;
    bool up;
    std::vector<std::int32_t> sent;
  } cases[] = {
      {1, 5, "13", true, {14}},  {1, 5, "99", true, {}},  {1, 5, "100", false, {99}},
      {1, 5, "5", false, {}},    {1, 5, "4", true, {5}},  {1, 5, "12.5", true, {14}},  // 13.5 as a byte
      {0, 5, "13", true, {}},    {1, 1, "13", true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.speed) + (c.up ? " up" : " down"));
    keying::TPVersion = c.version;
    keying::KeyingMode = c.mode;
    cw.Text11.SetText(c.speed);
    speedsSent.clear();
    c.up ? cw.UpDown1_UpClick() : cw.UpDown1_DownClick();
    EXPECT_EQ(speedsSent, c.sent);
  }
}

// "!" in a message logs the contact standing in the main window's entry line, keying nothing.
class CWLogsTheContact : public CWCommitTest {
 protected:
  void SetUp() override {
    CWCommitTest::SetUp();
    cw.Option3.SetValue(true);
  }
};

TEST_F(CWLogsTheContact, OnlyWithACallInTheCallBox) {
  form.txtSec.SetText(QStringLiteral("FN42"));
  cw.Transmit(QStringLiteral("!"));
  EXPECT_EQ(logging::LogCount, 0);
  EXPECT_TRUE(dialogs.MessageBoxes().empty()) << "nothing at all happens";

  QTest::keyClicks(form.txtCall.Widget(), "W1AW");
  form.txtRSTR.SetText(QStringLiteral("599"));
  form.txtRSTS.SetText(QStringLiteral("579"));
  cw.Transmit(QStringLiteral("!"));
  ASSERT_EQ(logging::LogCount, 1);
  EXPECT_EQ(logging::LogCalls[1], "W1AW");
  EXPECT_EQ(logging::LogGridRcvd[1], "FN42");
  EXPECT_EQ(form.txtCall.Text(), "") << "the entry line is cleared for the next contact";
  EXPECT_TRUE(printer.Writes().empty());
}

}  // namespace
