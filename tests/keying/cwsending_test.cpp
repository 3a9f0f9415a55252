// Sending CW messages as the operator does, from the main window's keys, on the fake clock: what
// the recorded printer port keyed, read back as text, and what the main window showed meanwhile.
#include "app/form1.h"
#include "keying/cwfrm.h"
#include "keying/cwmacros.h"
#include "keying/globals.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/printerport.h"

#include <QApplication>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "cwcommitfixture.h"
#include "formtesting.h"
#include "keyedtext.h"

namespace {

using platform::RecordedPrinterPort;

void Press(Qt::Key key) {
  QTest::keyClick(QApplication::focusWidget(), key);
  platform::DoEvents();
}

void Type(const char* text) {
  QTest::keyClicks(QApplication::focusWidget(), text);
  platform::DoEvents();
}

// What the operator does while the first character of a message is being keyed: the send loop
// lets it run before the second.
void DuringTheFirstCharacter(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

TEST(CWMacros, EachMacroCharacterMetByTheWalkTakesItsValue) {
  const struct {
    const char* text;
    QChar macro;
    const char* value;
    const char* expanded;
  } cases[] = {
      {"$ DE W1AW", '$', "K1ABC", "K1ABC DE W1AW"},
      {"$$", '$', "K1ABC", "K1ABCK1ABC"},
      {"TU #", '#', "", "TU "},
      {"##", '#', "", "#"},  // the second slips into the place just looked at
      {"A###B", '#', "", "A#B"},
      {"$ $", '$', "", " "},
      {"5NN", '*', "599", "5NN"},
      {"$ K", '$', "W1$", "W1$ K"},  // a value is not walked again: no endless growth
      {"$$", '$', "$$", "$$$$"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(keying::ExpandMacro(c.text, c.macro, [&] { return QString(c.value); }), c.expanded);
  }
}

// The main window in CW mode with the printer port as the keying line at 20 WPM.
class CWSending : public ::testing::Test {
 protected:
  void SetUp() override {
    StartFakeClock();
    logging::CurrentMode = "CW";
    ShowActive(form);
    cw.Option3.SetValue(true);
    cw.Text11.SetText("20");
    const char* const letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I"};
    platform::TextBox* const messages[] = {&cw.Text1, &cw.Text2, &cw.Text3, &cw.Text4, &cw.Text5,
                                           &cw.Text6, &cw.Text7, &cw.Text8, &cw.Text9};
    for (int i = 0; i < 9; ++i) messages[i]->SetText(letters[i]);
    cw.Text12.SetText("T");
    cw.Text13.SetText("M");
    form.txtCall.SetFocus();
    form.lblDialog.Change = [this] { echoes << form.lblDialog.Caption(); };
  }

  void SetRepeatSeconds(const char* seconds) {
    cw.txtCWLoop.SetText(seconds);
    cw.txtCWLoop_LostFocus();
  }

  QStringList echoes;
  RecordedPrinterPort printer;
  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
};

TEST_F(CWSending, TheMacrosTakeTheEntryLinesCallAndReportAndAnEmptyOr599ReportGoesAs5NN) {
  const struct {
    const char* message;
    const char* call;
    const char* rst;
    const char* keyed;
    const char* rstAfter;
  } cases[] = {
      {"$$", "w1aw", "", "W1AWW1AW", ""},
      {"CQ $", "", "", "CQ ", ""},
      {"DE W1AW", "", "599", "DE W1AW", "599"},
      {"TU *", "", "599", "TU 5NN", "5NN"},
      {"*", "", "", "5NN", "5NN"},
      {"*", "", "579", "579", "579"},
      {"* *", "", "599", "5NN 5NN", "5NN"},
      {"A##B", "", "", "AB", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    cw.Text1.SetText(c.message);
    form.txtCall.SetText(c.call);
    form.txtRSTS.SetText(c.rst);
    RecordedPrinterPort keyed;
    Press(Qt::Key_F1);
    EXPECT_EQ(KeyedText(keyed), c.keyed);
    EXPECT_EQ(logging::CurrentRstSent, c.rstAfter);
    EXPECT_EQ(form.txtRSTS.Text(), c.rst) << "only the shared copy changes";
  }
}

TEST_F(CWSending, EachKeyCodeSendsItsMessageAndOnlyF1ArmsTheRepeat) {
  const struct {
    int keyCode;
    const char* keyed;
  } cases[] = {{112, "A"}, {113, "B"}, {116, "E"}, {120, "I"}, {121, ""},
               {122, "M"}, {123, ""}, {124, "T"}, {111, ""}, {125, ""}};
  SetRepeatSeconds("5");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keyCode);
    keying::CWRepeat = 0;
    RecordedPrinterPort keyed;
    int keyCode = c.keyCode;
    cw.FKeyCW(keyCode);
    EXPECT_EQ(KeyedText(keyed), c.keyed);
    EXPECT_EQ(keying::CWRepeat, c.keyCode == 112 ? 1 : 0);
  }
}

TEST_F(CWSending, WithoutAKeyingInterfaceAFunctionKeySendsNothingAndEmptiesTheBuffer) {
  cw.Option4.SetValue(true);
  keying::CWBuffer = "LEFT OVER";
  int keyCode = 112;
  cw.FKeyCW(keyCode);
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_TRUE(printer.Writes().empty());
}

TEST_F(CWSending, TheEchoShowsWhatIsStillToComeThenTheKeyboardCWNotice) {
  cw.Check1.SetValue(1);
  cw.Text1.SetText("TEST");
  Press(Qt::Key_F1);
  EXPECT_EQ(echoes, QStringList({"EST", "ST", "T", ""}));
  EXPECT_EQ(KeyedText(printer), "TEST");

  Press(Qt::Key_F12);
  echoes.clear();
  Press(Qt::Key_F2);
  EXPECT_EQ(echoes, QStringList({"", "Keyboard CW Mode is on.  Press F12 to exit."}));

  cw.Check1.SetValue(0);
  echoes.clear();
  Press(Qt::Key_F1);
  EXPECT_TRUE(echoes.isEmpty());
}

TEST_F(CWSending, EscDuringAMessageStopsItAfterTheCharacterBeingKeyedAndNoRepeatStarts) {
  SetRepeatSeconds("5");
  form.txtCall.SetText("W1AW");
  cw.Text1.SetText("TEST");
  DuringTheFirstCharacter([] { Press(Qt::Key_Escape); });
  Press(Qt::Key_F1);
  EXPECT_EQ(KeyedText(printer), "T");
  EXPECT_EQ(keying::CWSending, 0);
  EXPECT_FALSE(cw.tmrRepeat.Enabled());
  EXPECT_EQ(form.txtCall.Text(), "W1AW") << "Esc while sending leaves the entry line";
}

TEST_F(CWSending, F1WithARepeatTimeComesBackAfterItUntilAKeyIsPressedAndF2NeverDoes) {
  SetRepeatSeconds("5");
  cw.Text1.SetText("CQ");
  Press(Qt::Key_F1);
  EXPECT_TRUE(cw.tmrRepeat.Enabled());
  EXPECT_EQ(cw.tmrRepeat.Interval(), 5000);
  cw.tmrRepeat.Tick();
  cw.tmrRepeat.Tick();
  EXPECT_EQ(KeyedText(printer), "CQCQCQ");
  EXPECT_TRUE(cw.tmrRepeat.Enabled()) << "each sending arms the next";

  Type("k");
  EXPECT_FALSE(cw.tmrRepeat.Enabled());
  EXPECT_EQ(keying::CWRepeat, 0);

  Press(Qt::Key_F2);
  EXPECT_FALSE(cw.tmrRepeat.Enabled());
  EXPECT_EQ(KeyedText(printer), "CQCQCQB");
}

TEST_F(CWSending, AFunctionKeyDuringAMessageSendsItsOwnInsteadOfTheRest) {
  cw.Text1.SetText("TEST");
  cw.Text2.SetText("K");
  DuringTheFirstCharacter([] { Press(Qt::Key_F2); });
  Press(Qt::Key_F1);
  EXPECT_EQ(KeyedText(printer), "TK");
  EXPECT_EQ(keying::CWSending, 0);
}

TEST_F(CWSending, FastKeyboardCWTypingIsTakenByTheRunningLoopAndKeyedOnce) {
  Press(Qt::Key_F12);
  std::vector<int> sendingWhileTyped;
  DuringTheFirstCharacter([&] {
    sendingWhileTyped.push_back(keying::CWSending);
    Type("it");
  });
  Type("e");
  EXPECT_EQ(sendingWhileTyped, std::vector<int>{1});
  EXPECT_EQ(KeyedText(printer), "EIT");
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_EQ(form.txtCall.Text(), "");
}

TEST_F(CWSending, TheFirstCloseDuringAMessageStopsItAndKeepsTheWindowTheNextCloses) {
  cw.Text1.SetText("TEST");
  bool keptOpen = false;
  DuringTheFirstCharacter([&] {
    form.Widget()->close();
    keptOpen = platform::IsLoaded<app::Form1>() && form.Visible();
  });
  Press(Qt::Key_F1);
  EXPECT_TRUE(keptOpen);
  EXPECT_EQ(KeyedText(printer), "T");
  form.Widget()->close();
  platform::DoEvents();
  EXPECT_FALSE(platform::IsLoaded<app::Form1>());
}

// A "!" in a message logs the contact in the entry line.
class CWSendingLogs : public CWCommitTest {
 protected:
  void SetUp() override {
    CWCommitTest::SetUp();
    cw.Text11.SetText("20");
    cw.Check1.SetValue(1);
    cw.Text1.SetText("TU!");
    QTest::keyClicks(form.txtCall.Widget(), "W1AW");
    form.txtRSTR.SetText("599");
    form.txtRSTS.SetText("579");
    form.txtSec.SetText("FN42");
    form.txtCall.SetFocus();
  }
};

TEST_F(CWSendingLogs, SoftwareKeyingLogsAfterTheTextBeforeIt) {
  cw.Option3.SetValue(true);
  std::vector<int> loggedAtEcho;
  form.lblDialog.Change = [&] { loggedAtEcho.push_back(logging::LogCount); };
  Press(Qt::Key_F1);
  EXPECT_EQ(KeyedText(printer), "TU");
  ASSERT_EQ(logging::LogCount, 1);
  EXPECT_EQ(logging::LogCalls[1], "W1AW");
  ASSERT_GE(loggedAtEcho.size(), 2u);
  EXPECT_EQ(loggedAtEcho[0], 0) << "after T";
  EXPECT_EQ(loggedAtEcho[1], 0) << "after U, with the ! still to come";
}

TEST_F(CWSendingLogs, TheKeyerDeviceLogsBeforeTheTextIsHandedOver) {
  cw.Option5.SetValue(true);
  Press(Qt::Key_F1);
  EXPECT_EQ(logging::LogCount, 1);
  EXPECT_EQ(keying::CWBuffer, "") << "handed to the device";
  EXPECT_TRUE(printer.Writes().empty());
}

TEST_F(CWSendingLogs, TheSharedLogIsNotPolledWhileAMessageIsKeyed) {
  cw.Option3.SetValue(true);
  cw.Text1.SetText("TEST");
  DuringTheFirstCharacter([this] {
    logging::LogConnection.Close();  // a query would now fail and say so
    form.FileSize();
  });
  Press(Qt::Key_F1);
  EXPECT_EQ(KeyedText(printer), "TEST");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

}  // namespace
