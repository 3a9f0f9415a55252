// The code practice window as the operator uses it, keying the printer port at 20 WPM on the fake
// clock: what the recorded line spelled, and what the window showed.
#include "keying/cwfrm.h"
#include "keying/frmcodepractice.h"
#include "keying/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/printerport.h"
#include "platform/screen.h"

#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "formtesting.h"
#include "keyedtext.h"

namespace {

using keying::frmCodePractice;

class CodePractice : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0);
    cw.Option3.SetValue(true);
    cw.Text11.SetText("20");
    ShowActive(window);
  }

  static void Click(platform::CommandButton& button) { QTest::mouseClick(button.Widget(), Qt::LeftButton); }
  // What the operator does while the first character is keyed: the keying lets events run after it.
  static void DuringTheFirstCharacter(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

  std::optional<platform::RecordedPrinterPort> line{std::in_place};
  const platform::RecordedPrinterPort& printer = *line;
  platform::ScriptedDialogs dialogs;
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
  frmCodePractice& window = platform::Instance<frmCodePractice>();
};

TEST_F(CodePractice, GenerateMakesGroupsFromTheChosenCharactersEachFollowedByABlank) {
  const struct {
    const char* groups;
    const char* length;
    bool lettersOnly;
    const char* groupsAfter;
    const char* pattern;
  } cases[] = {
      {"2", "3", true, "2", "^([A-Z]{3} ){2}$"},
      {"", "1", true, "10", "^([A-Z] ){10}$"},
      {"2", "x", true, "2", "^([A-Z]{5} ){2}$"},
      {"200", "5", false, "200", "^([A-Z0-9.,?/-]{5} ){200}$"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    window.Text3.SetText(c.groups);
    window.Text4.SetText(c.length);
    (c.lettersOnly ? window.Option1 : window.Option2).SetValue(true);
    Click(window.Command2);
    EXPECT_EQ(window.Text3.Text(), c.groupsAfter);
    EXPECT_TRUE(QRegularExpression(c.pattern).match(window.Text1.Text()).hasMatch()) << window.Text1.Text().toStdString();
  }
  EXPECT_NE(window.Text1.Text().left(20), QString(20, window.Text1.Text()[0])) << "drawn at random";
}

TEST_F(CodePractice, AHugeGroupCountFillsTheBoxInsteadOfExhaustingMemory) {
  const struct {
    const char* groups;
    const char* length;
  } cases[] = {{"1000000000", "5"}, {"2", "1e12"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.groups);
    window.Text3.SetText(c.groups);
    window.Text4.SetText(c.length);
    Click(window.Command2);
    EXPECT_GE(window.Text1.Text().size(), 65535);
    EXPECT_LE(window.Text1.Text().size(), 65536 + 5);
  }
}

TEST_F(CodePractice, SendKeysTheTextACharacterAtATimeAndShowsItSent) {
  window.Text1.SetText("CQ DE W1AW");
  Click(window.Command3);
  EXPECT_EQ(KeyedText(printer), "CQ DE W1AW");
  EXPECT_EQ(window.Text2.Text(), "CQ DE W1AW");
  EXPECT_EQ(keying::CWBuffer, "");
}

TEST_F(CodePractice, StopShorteningAndClosingDuringSendEndIt) {
  const struct {
    const char* name;
    std::function<void(frmCodePractice&)> act;
    const char* keyed;
    bool loadedAfter;
  } cases[] = {
      {"Stop", [](frmCodePractice& w) { Click(w.Command4); }, "A", true},
      {"shortened", [](frmCodePractice& w) { w.Text1.SetText("AB"); }, "AB", true},
      {"close", [](frmCodePractice& w) { w.Unload(); }, "A", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    line.emplace();
    window.Text2.SetText("");
    window.Text1.SetText("ABCDE");
    DuringTheFirstCharacter([&] {
      c.act(window);
      EXPECT_EQ(keying::CWBuffer, "") << "no further character goes into the buffer";
    });
    Click(window.Command3);
    EXPECT_EQ(KeyedText(printer), c.keyed);
    EXPECT_EQ(window.Text2.Text(), c.keyed);
    EXPECT_EQ(platform::IsLoaded<frmCodePractice>(), c.loadedAfter);
  }
  window.Unload();
  EXPECT_FALSE(platform::IsLoaded<frmCodePractice>()) << "closes once nothing is keyed";
}

TEST_F(CodePractice, TheKeyboardBoxSendsEachKeyAndBackspaceTakesBackWhatIsNotSentYet) {
  window.Text5.SetFocus();
  QTest::keyClicks(window.Text5.Widget(), "a");
  EXPECT_EQ(KeyedText(printer), "A");
  EXPECT_EQ(window.Text2.Text(), "A");
  EXPECT_EQ(window.Text5.Text(), "");

  keying::CWSending = 1;  // a character is being keyed: what is typed waits in the buffer
  QTest::keyClicks(window.Text5.Widget(), "bc");
  EXPECT_EQ(keying::CWBuffer, "BC");
  QTest::keyClick(window.Text5.Widget(), Qt::Key_Backspace);
  EXPECT_EQ(keying::CWBuffer, "B");
  EXPECT_EQ(window.Text2.Text(), "AB");
  EXPECT_EQ(window.Text5.Text(), "");
  keying::CWSending = 0;
}

TEST_F(CodePractice, TextToSendIsTypedInCapitalsPastedAndCleared) {
  window.Text1.SetFocus();
  QTest::keyClicks(window.Text1.Widget(), "cq\t");
  EXPECT_EQ(window.Text1.Text(), "CQ");
  platform::Clipboard::SetText("de w1aw");
  Click(window.Command1);
  EXPECT_EQ(window.Text1.Text(), "de w1aw");
  window.Text2.SetText("TEST");
  Click(window.Command6);
  EXPECT_EQ(window.Text1.Text(), "");
  EXPECT_EQ(window.Text2.Text(), "TEST");
  Click(window.Command5);
  EXPECT_EQ(window.Text2.Text(), "");
}

TEST_F(CodePractice, FasterAndSlowerMoveTheSpeedShownWithTheCWWindows) {
  platform::UnloadIfLoaded<frmCodePractice>();
  frmCodePractice& fresh = platform::Instance<frmCodePractice>();
  EXPECT_EQ(fresh.Label8.Caption(), "20") << "the CW speed at load";
  Click(fresh.Command7);
  EXPECT_EQ(fresh.Label8.Caption(), "21");
  EXPECT_EQ(cw.Text11.Text(), "21");
  Click(fresh.Command8);
  Click(fresh.Command8);
  EXPECT_EQ(fresh.Label8.Caption(), "19");
  EXPECT_EQ(cw.Text11.Text(), "19");
}

TEST_F(CodePractice, TheWindowFitsTheWorkAreaAndCentresInIt) {
  platform::UnloadIfLoaded<frmCodePractice>();
  platform::Screen::SetSizeForTesting(19200, 14400);
  platform::Screen::SetWorkAreaForTesting(0, 600, 19200, 13200);
  frmCodePractice& fitted = platform::Instance<frmCodePractice>();
  EXPECT_DOUBLE_EQ(fitted.Width(), 8400.0 / 9600 * 19200);
  EXPECT_DOUBLE_EQ(fitted.Height(), 6600.0 / 7200 * 13200);
  EXPECT_DOUBLE_EQ(fitted.Left(), (19200 - fitted.Width()) / 2);
  EXPECT_DOUBLE_EQ(fitted.Top(), 600 + (13200 - fitted.Height()) / 2);
}

}  // namespace
