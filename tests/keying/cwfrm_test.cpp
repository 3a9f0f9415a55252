#include "app/form1.h"
#include "app/globals.h"
#include "keying/cwfrm.h"
#include "keying/frmcodepractice.h"
#include "keying/frmcwstrings.h"
#include "keying/frmtappler.h"
#include "keying/globals.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/printerport.h"
#include "platform/screen.h"
#include "platform/serialcontrol.h"
#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "formtesting.h"
#include "fulldisk.h"
#include "keyedtext.h"
#include "operatorscript.h"

namespace {

class CWWindow : public ::testing::Test {
 protected:
  void SetUp() override { ShowActive(cw); }
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
};

TEST_F(CWWindow, EveryControlStartsAtItsDesignValue) {
  const struct {
    const char* control;
    QString value;
    const char* design;
  } values[] = {
      {"Text10", cw.Text10.Text(), "0"},
      {"Text14", cw.Text14.Text(), "&H378"},
      {"Text11", cw.Text11.Text(), "13"},
      {"txtSpace", cw.txtSpace.Text(), "0"},
      {"txtCWLoop", cw.txtCWLoop.Text(), "0"},
      {"txtLoop", cw.txtLoop.Text(), "0"},
      {"txtLoop tip", cw.txtLoop.ToolTipText(), "Loops per 60 ms"},
      {"Check1", cw.Check1.Caption(), "Display CW text on main form (NA for Tappler)."},
      {"Option1", cw.Option1.Caption(), "RTS"},
      {"Option2", cw.Option2.Caption(), "DTR"},
      {"Option3", cw.Option3.Caption(), "Printer"},
      {"Option4", cw.Option4.Caption(), "None"},
      {"Option5", cw.Option5.Caption(), "Tappler"},
      {"fraKeying", cw.fraKeying.Caption(), "Keying Options"},
      {"lblTiming", cw.lblTiming.Caption(), "Timing Options:"},
      {"lblTiming tip", cw.lblTiming.ToolTipText(), "Timer is the preferred option on most systems."},
      {"fraTiming tip", cw.fraTiming.ToolTipText(), "Timer is the preferred option on most systems."},
      {"optTimer", cw.optTimer.Caption() + "|" + cw.optTimer.ToolTipText(), "Timer|Times by Windows System time."},
      {"optLoop", cw.optLoop.Caption() + "|" + cw.optLoop.ToolTipText(), "Loop|Times by a For Next loop."},
      {"OptSleep", cw.OptSleep.Caption() + "|" + cw.OptSleep.ToolTipText(), "Sleep|Times by Windows System time."},
      {"lblLoop", cw.lblLoop.Caption(), "Loop Delay"},
      {"cmdLoopFaster", cw.cmdLoopFaster.Caption() + "|" + cw.cmdLoopFaster.ToolTipText(), "F|Speed up CW"},
      {"cmdLoopSlower", cw.cmdLoopSlower.Caption() + "|" + cw.cmdLoopSlower.ToolTipText(), "S|Slow Down CW"},
      {"Command1", cw.Command1.Caption(), "Done"},
      {"Command4", cw.Command4.Caption(), "&Test"},
      {"Command7", cw.Command7.Caption(), "Send Code Practice"},
      {"Command2", cw.Command2.Caption(), "Faster"},
      {"Command3", cw.Command3.Caption(), "Slower"},
      {"Command5", cw.Command5.Caption(), "Less"},
      {"Command6", cw.Command6.Caption(), "More"},
      {"cmdConfTappler", cw.cmdConfTappler.Caption(), "Configure Tappler"},
      {"Label23", cw.Label23.Caption(), "Sending!"},
      {"lblFKey(9)", cw.lblFKey[9].Caption(), "F10"},
      {"lblFKey(11)", cw.lblFKey[11].Caption(), "F12"},
      {"lblKeyboard", cw.lblKeyboard.Caption(), "Keyboard"},
      {"lblWPM", cw.lblWPM.Caption(), "WPM"},
      {"lblWordSpace", cw.lblWordSpace.Caption(), "Word Space"},
      {"lblCWLoop", cw.lblCWLoop.Caption(), "Loop (Sec)"},
      {"lblSpacing", cw.lblSpacing.Caption(), "0 is standard, -8 is no spacing"},
  };
  EXPECT_EQ(cw.Caption(), "CW String Selections");
  for (const auto& c : values) EXPECT_EQ(c.value, c.design) << c.control;
  for (const platform::TextBox* message : {&cw.Text1, &cw.Text2, &cw.Text3, &cw.Text4, &cw.Text5, &cw.Text6,
                                           &cw.Text7, &cw.Text8, &cw.Text9, &cw.Text12, &cw.Text13}) {
    EXPECT_EQ(message->Text(), "");
  }
  EXPECT_TRUE(cw.Option4.Value() && cw.optTimer.Value());
  EXPECT_FALSE(cw.cmdConfTappler.Visible() || cw.Label23.Visible() || cw.tmrRepeat.Enabled());
  EXPECT_FALSE(cw.Comm.PortOpen());
}

TEST_F(CWWindow, EachKeyingOptionStoresItsKeyingMode) {
  const struct {
    platform::OptionButton& option;
    int mode;
  } options[] = {{cw.Option1, 1}, {cw.Option2, 2}, {cw.Option3, 3}, {cw.Option5, 5}, {cw.Option4, 0}};
  EXPECT_TRUE(cw.Option4.Value()) << "None until the operator or cw.txt chooses";
  for (const auto& c : options) {
    SCOPED_TRACE(c.option.Caption().toStdString());
    QTest::mouseClick(c.option.Widget(), Qt::LeftButton);
    EXPECT_EQ(keying::KeyingMode, c.mode);
  }
}

TEST_F(CWWindow, TheKeyerDeviceOptionOffersItsSetUpAndLoadsItsWindow) {
  EXPECT_FALSE(cw.cmdConfTappler.Visible());
  cw.Option5.SetValue(true);
  EXPECT_TRUE(cw.cmdConfTappler.Visible());
  EXPECT_TRUE(platform::IsLoaded<keying::frmTappler>());
  cw.Option1.SetValue(true);
  EXPECT_TRUE(cw.cmdConfTappler.Visible()) << "another choice later does not hide it";
}

TEST_F(CWWindow, TheSpeedArrowsAndButtonsStepTheSpeedByOneWithoutBoundsAndLeaveANonNumberAlone) {
  const struct {
    const char* speed;
    const char* up;
    const char* down;
  } cases[] = {
      {"13", "14", "12"}, {"0", "1", "-1"}, {"99", "100", "98"}, {"12.5", "13.5", "11.5"}, {"fast", "fast", "fast"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.speed);
    cw.Text11.SetText(c.speed);
    QTest::mouseClick(cw.UpDown1.UpArrow(), Qt::LeftButton);
    EXPECT_EQ(cw.Text11.Text(), c.up);
    cw.Text11.SetText(c.speed);
    QTest::mouseClick(cw.Command2.Widget(), Qt::LeftButton);  // Faster
    EXPECT_EQ(cw.Text11.Text(), c.up);
    cw.Text11.SetText(c.speed);
    QTest::mouseClick(cw.Command3.Widget(), Qt::LeftButton);  // Slower
    EXPECT_EQ(cw.Text11.Text(), c.down);
  }
}

TEST_F(CWWindow, TheBoxesFilterTheKeysTypedIntoThem) {
  const struct {
    platform::TextBox& box;
    const char* typed;
    const char* text;
  } cases[] = {
      {cw.Text1, "cq $ *", "CQ $ *"}, {cw.Text12, "tu #", "TU #"},  {cw.Text13, "qrz?", "QRZ?"},
      {cw.Text11, "2a0.", "20"},      {cw.txtSpace, "a-3.5/+", "-3.5/"}, {cw.txtCWLoop, "a5.5-", "5.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box.Name().toStdString());
    c.box.SetText("");
    c.box.SetFocus();
    QTest::keyClicks(c.box.Widget(), c.typed);
    EXPECT_EQ(c.box.Text(), c.text);
  }
}

TEST_F(CWWindow, LeavingANumberBoxPutsRightWhatItCannotTake) {
  const struct {
    platform::TextBox& box;
    const char* text;
    const char* after;
    int repeatInterval;  // tmrRepeat's after leaving txtCWLoop
  } cases[] = {
      {cw.Text11, "", "0", 0},         {cw.Text11, "12.5", "12.5", 0}, {cw.txtSpace, "3/", "0", 0},
      {cw.txtSpace, "-9", "-8", 0},    {cw.txtSpace, "-8", "-8", 0},   {cw.txtSpace, "12", "12", 0},
      {cw.txtCWLoop, "60", "0", 0},    {cw.txtCWLoop, "59.5", "59.5", 59500},
      {cw.txtCWLoop, "5", "5", 5000},  {cw.txtCWLoop, ".", "0", 0},    {cw.txtCWLoop, "0", "0", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box.Name().toStdString() + " \"" + c.text + "\"");
    cw.tmrRepeat.SetInterval(1234);
    c.box.SetFocus();
    c.box.SetText(c.text);
    cw.Text14.SetFocus();
    EXPECT_EQ(c.box.Text(), c.after);
    if (&c.box == &cw.txtCWLoop) {
      EXPECT_EQ(cw.tmrRepeat.Interval(), c.repeatInterval);
    }
  }
  cw.Text11.SetFocus();
  EXPECT_EQ(cw.Text11.SelLength(), cw.Text11.Text().size()) << "the speed is selected whole, typing replaces it";
}

TEST_F(CWWindow, LessAndMoreStepTheWordSpaceDownToMinus8) {
  const struct {
    const char* space;
    platform::CommandButton& button;
    const char* after;
  } cases[] = {{"0", cw.Command5, "-1"}, {"-8", cw.Command5, "-8"}, {"-8", cw.Command6, "-7"},
               {"2.5", cw.Command6, "3.5"}, {"wide", cw.Command6, "0"}, {"-", cw.Command5, "0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.space);
    cw.txtSpace.SetText(c.space);
    QTest::mouseClick(c.button.Widget(), Qt::LeftButton);
    EXPECT_EQ(cw.txtSpace.Text(), c.after);
  }
}

TEST_F(CWWindow, TestShowsSendingWhileItKeysTheF9MessageThenGivesTheFocusToTheFirstMessage) {
  platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0);
  platform::RecordedPrinterPort printer;
  cw.Option3.SetValue(true);
  cw.Text11.SetText("20");
  cw.Text9.SetText("VVV");
  bool sendingShown = false;
  QTimer::singleShot(0, [&] { sendingShown = cw.Label23.Visible(); });
  cw.Text10.SetFocus();
  QTest::mouseClick(cw.Command4.Widget(), Qt::LeftButton);
  EXPECT_TRUE(sendingShown);
  EXPECT_EQ(KeyedText(printer), "VVV");
  EXPECT_FALSE(cw.Label23.Visible());
  EXPECT_TRUE(cw.Text1.HasFocus());
}

TEST_F(CWWindow, TestWithRtsOrDtrKeyingAndNoPortAsksForThePortInsteadOfSending) {
  platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0);
  cw.Text11.SetText("20");
  cw.Text9.SetText("E");
  const struct {
    platform::OptionButton& option;
    const char* port;
    bool asked;
    bool keyed;
  } cases[] = {
      {cw.Option1, "0", true, false},  {cw.Option2, "0", true, false},  {cw.Option2, "", true, false},
      {cw.Option1, "7", false, true},  {cw.Option3, "0", false, true},  {cw.Option4, "0", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option.Caption().toStdString() + " on port '" + c.port + "'");
    platform::ScriptedDialogs dialogs;
    platform::RecordedSerialLines lines;
    platform::RecordedPrinterPort printer;
    c.option.SetValue(true);
    cw.Text10.SetText(c.port);
    cw.Text1.SetFocus();
    QTest::mouseClick(cw.Command4.Widget(), Qt::LeftButton);
    if (c.asked) {
      ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
      EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "Please enter a com port for CW rig interface.");
      EXPECT_EQ(dialogs.MessageBoxes()[0].title, "A com port is required.");
      EXPECT_EQ(dialogs.Beeps(), 1);
      EXPECT_TRUE(cw.Text10.HasFocus());
      EXPECT_FALSE(cw.Comm.PortOpen());
    } else {
      EXPECT_TRUE(dialogs.MessageBoxes().empty());
      EXPECT_TRUE(cw.Text1.HasFocus());
    }
    EXPECT_EQ(!lines.Levels().empty() || !printer.Writes().empty(), c.keyed);
  }
}

TEST_F(CWWindow, CodePracticeIsShownModallyAndWhatItLeftInTheBufferIsDropped) {
  OperatorScript script;
  script.When(
      "code practice", [] { return QApplication::activeModalWidget() != nullptr; },
      [] {
        keying::CWBuffer = "PARIS PARIS";
        platform::Instance<keying::frmCodePractice>().Hide();
      });
  QTest::mouseClick(cw.Command7.Widget(), Qt::LeftButton);
  EXPECT_TRUE(script.Done());
  EXPECT_FALSE(platform::IsLoaded<keying::frmCodePractice>());
  EXPECT_EQ(keying::CWBuffer, "");
}

TEST_F(CWWindow, ConfigureTapplerShowsTheDeviceWindowModallyThenFocusesDone) {
  cw.Option5.SetValue(true);
  OperatorScript script;
  script.When(
      "the keyer device window", [] { return QApplication::activeModalWidget() != nullptr; },
      [] { platform::Instance<keying::frmTappler>().Hide(); });
  QTest::mouseClick(cw.cmdConfTappler.Widget(), Qt::LeftButton);
  EXPECT_TRUE(script.Done());
  ShowActive(cw);  // back in front of the operator
  EXPECT_TRUE(cw.Command1.HasFocus());
}

// The window's load and Done: the work area, the timing kept in the settings, cw.txt.
class CWWindowSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetTiming();
    ASSERT_TRUE(folder.isValid());
    savedDir = platform::CurDir();
    app::ProgramDir = folder.path();
    app::ProgramDrive = "/";
  }
  void TearDown() override {
    platform::UnloadAll();
    platform::ChDir(savedDir);
    ForgetTiming();
  }
  static void ForgetTiming() {
    for (const char* key : {"UserCWSelection", "UserCWLoopOffset"}) {
      platform::DeleteSetting("Varnek_Software", "Settings", key);
    }
  }
  static QString Setting(const char* key) { return platform::GetSetting("Varnek_Software", "Settings", key); }
  QString MessagesFile() const { return folder.filePath("cw.txt"); }
  QByteArray ReadMessagesFile() const {
    QFile file(MessagesFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir folder;
  QString savedDir;
  platform::ScriptedDialogs dialogs;
};

TEST_F(CWWindowSettings, TheLoadFitsTheWindowToTheWorkAreaWithFontsAtMostHalfAsLargeAgain) {
  platform::Screen::SetSizeForTesting(19200, 14400);
  platform::Screen::SetWorkAreaForTesting(0, 600, 19200, 13800);
  const keying::CWFrm design;
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
  const double wf = 2;
  const double hf = 13800.0 / 7200;
  EXPECT_DOUBLE_EQ(cw.Width(), 9600 * wf);
  EXPECT_DOUBLE_EQ(cw.Height(), 7200 * hf);
  EXPECT_DOUBLE_EQ(cw.Left(), 0);
  EXPECT_DOUBLE_EQ(cw.Top(), 600);
  EXPECT_DOUBLE_EQ(cw.Text1.Left(), design.Text1.Left() * wf);
  EXPECT_DOUBLE_EQ(cw.Text1.Top(), design.Text1.Top() * hf);
  EXPECT_DOUBLE_EQ(cw.optLoop.Top(), design.optLoop.Top() * hf) << "inside its frame too";
  EXPECT_NEAR(cw.Text1.FontSize(), design.Text1.FontSize() * 1.5, 1e-9);
}

TEST_F(CWWindowSettings, TheLoadRestoresTheTimingMethodAndTheLoopCountOfTheLastDone) {
  const struct {
    const char* selection;
    const char* loops;
    platform::OptionButton keying::CWFrm::*chosen;
  } cases[] = {{nullptr, nullptr, &keying::CWFrm::optTimer},
               {"Sleep", "0", &keying::CWFrm::OptSleep},
               {"Loop", "1234", &keying::CWFrm::optLoop},
               {"Timer", "77", &keying::CWFrm::optTimer}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.selection ? c.selection : "nothing stored");
    platform::UnloadAll();
    if (c.selection) {
      platform::SaveSetting("Varnek_Software", "Settings", "UserCWSelection", c.selection);
      platform::SaveSetting("Varnek_Software", "Settings", "UserCWLoopOffset", c.loops);
    }
    keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
    EXPECT_TRUE((cw.*c.chosen).Value());
    EXPECT_EQ(cw.txtLoop.Text(), c.loops ? c.loops : "0");
    EXPECT_EQ(cw.LoopOffset, c.loops ? QString(c.loops).toDouble() : 0) << "no calibration over a stored count";
    EXPECT_EQ(cw.txtLoop.Enabled(), &c.chosen == &cases[2].chosen);
  }
}

TEST_F(CWWindowSettings, DoneSavesWhatTheNextStartReads) {
  QFile old(MessagesFile());  // the start-up's name; Done writes the same file under its own spelling
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("\"OLD\"\r\n");
  old.close();
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
  ShowActive(cw);
  const char* const texts[] = {"CQ TEST $", "$ 5NN #", "TU", "", "", "", "", "AGN?", ""};
  platform::TextBox* const messages[] = {&cw.Text1, &cw.Text2, &cw.Text3, &cw.Text4, &cw.Text5,
                                         &cw.Text6, &cw.Text7, &cw.Text8, &cw.Text9};
  for (int i = 0; i < 9; ++i) messages[i]->SetText(texts[i]);
  cw.Text10.SetText("3");
  cw.Text11.SetText("25");
  cw.Text12.SetText("QRZ?");
  cw.Text13.SetText("DE W1AW");
  cw.txtSpace.SetText("-2");
  cw.Option2.SetValue(true);
  cw.Text14.SetText("&H278");
  cw.Check1.SetValue(1);
  cw.txtCWLoop.SetText("4.5");
  cw.OptSleep.SetValue(true);
  cw.txtLoop.SetText("5000");
  QTest::mouseClick(cw.Command1.Widget(), Qt::LeftButton);

  EXPECT_FALSE(cw.Visible());
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"cw.txt"}) << "one file, replaced";
  EXPECT_EQ(ReadMessagesFile(),
            "\"CQ TEST $\"\r\n\"$ 5NN #\"\r\n\"TU\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"AGN?\"\r\n\"\"\r\n"
            "\"3\"\r\n\"25\"\r\n\"QRZ?\"\r\n\"DE W1AW\"\r\n\"-2\"\r\n2\r\n\"&H278\"\r\n1\r\n\"4.5\"\r\n");
  EXPECT_EQ(Setting("UserCWSelection"), "Sleep");
  EXPECT_EQ(Setting("UserCWLoopOffset"), "5000");
  EXPECT_EQ(platform::CurDir(), QDir(folder.path()).canonicalPath());

  // The next start.
  platform::UnloadAll();
  keying::KeyingMode = 0;
  platform::InstanceWithoutLoad<app::Form1>().LoadCWMessages();
  keying::CWFrm& next = platform::Instance<keying::CWFrm>();
  EXPECT_EQ(next.Text1.Text(), "CQ TEST $");
  EXPECT_EQ(next.Text8.Text(), "AGN?");
  EXPECT_EQ(next.Text9.Text(), "VVV DE ") << "an empty ninth message";
  EXPECT_EQ(next.Text12.Text() + "|" + next.Text13.Text(), "QRZ?|DE W1AW");
  EXPECT_EQ(next.Text10.Text() + "|" + next.Text11.Text() + "|" + next.txtSpace.Text() + "|" + next.Text14.Text(),
            "3|25|-2|&H278");
  EXPECT_EQ(keying::KeyingMode, 2);
  EXPECT_TRUE(next.Option2.Value());
  EXPECT_EQ(next.Check1.Value(), 1);
  EXPECT_EQ(next.tmrRepeat.Interval(), 4500);
  EXPECT_TRUE(next.OptSleep.Value());
  EXPECT_EQ(next.LoopOffset, 5000);
}

TEST_F(CWWindowSettings, DoneThatCannotWriteSaysSoKeepsTheWindowAndTheOldFile) {
  const QByteArray before = "\"QRL?\"\r\n";
  QFile old(MessagesFile());
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write(before);
  old.close();
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
  ShowActive(cw);
  cw.Text1.SetText("CQ CQ CQ DE W1AW W1AW W1AW K");
  cw.Option1.SetValue(true);
  {
    FullDisk full;
    QTest::mouseClick(cw.Command1.Widget(), Qt::LeftButton);
  }
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_TRUE(dialogs.MessageBoxes()[0].prompt.startsWith("The CW settings could not be saved: "));
  EXPECT_TRUE(cw.Visible()) << "the messages stay in front of the operator";
  EXPECT_EQ(ReadMessagesFile(), before);
  EXPECT_FALSE(platform::IsLoaded<keying::frmCWStrings>());
  EXPECT_EQ(Setting("UserCWSelection"), "");

  QTest::mouseClick(cw.Command1.Widget(), Qt::LeftButton);  // room again
  EXPECT_FALSE(cw.Visible());
  EXPECT_TRUE(ReadMessagesFile().startsWith("\"CQ CQ CQ DE W1AW W1AW W1AW K\""));
}

TEST_F(CWWindowSettings, DoneShowsTheMessageStripMinimisedOnlyWithAKeyingInterface) {
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
  ShowActive(cw);
  QTest::mouseClick(cw.Command1.Widget(), Qt::LeftButton);
  EXPECT_FALSE(platform::IsLoaded<keying::frmCWStrings>()) << "keying None";

  ShowActive(cw);
  cw.Option1.SetValue(true);
  QTest::mouseClick(cw.Command1.Widget(), Qt::LeftButton);
  ASSERT_TRUE(platform::IsLoaded<keying::frmCWStrings>());
  keying::frmCWStrings& strip = platform::Instance<keying::frmCWStrings>();
  EXPECT_TRUE(strip.Visible());
  EXPECT_EQ(strip.WindowState(), platform::WindowMinimized);
}

TEST(CWStrings, KeysTypedOnTheStripGoToTheMainWindowsKeyHandlers) {
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  logging::CurrentMode = "CW";
  keying::KeyingMode = 1;
  keying::CWSending = 1;  // the keying loop runs already and takes what is added
  keying::frmCWStrings& strip = platform::Instance<keying::frmCWStrings>();
  ShowActive(strip);
  QTest::keyClick(strip.Widget(), Qt::Key_F12);
  EXPECT_EQ(form.lblDialog.Caption(), "Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.");
  QTest::keyClick(strip.Widget(), 'k');
  EXPECT_EQ(keying::CWBuffer, "K");
}

}  // namespace
