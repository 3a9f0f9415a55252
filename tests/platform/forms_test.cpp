#include "platform/forms.h"

#include <QApplication>
#include <QFontInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "formtesting.h"
#include "testbound.h"

using namespace platform;

namespace {

// A window whose key handlers log what they see and apply a scripted change.
class KeyForm : public Form {
 public:
  KeyForm() : Form("KeyForm") {
    SetKeyPreview(true);
    txtCall.Move(120, 120, 1500, 300);
    txtCall.KeyPress = [this](int& KeyAscii) {
      log.push_back("control press " + std::to_string(KeyAscii));
      if (KeyAscii == controlSwallows) KeyAscii = 0;
    };
    txtCall.KeyDown = [this](int& KeyCode, int) { log.push_back("control down " + std::to_string(KeyCode)); };
  }
  void Form_KeyDown(int& KeyCode, int Shift) override {
    log.push_back("form down " + std::to_string(KeyCode) + " shift " + std::to_string(Shift));
    if (KeyCode == formSwallowsCode) KeyCode = 0;
  }
  void Form_KeyPress(int& KeyAscii) override {
    log.push_back("form press " + std::to_string(KeyAscii));
    if (KeyAscii == formReplaces) KeyAscii = formReplacement;
  }

  TextBox txtCall{this, "txtCall"};
  std::vector<std::string> log;
  int formSwallowsCode = -1;
  int formReplaces = -1;
  int formReplacement = 0;
  int controlSwallows = -1;
};

struct KeyCase {
  const char* what;
  int formReplaces, formReplacement, controlSwallows;
  const char* typed;
  const char* expectedText;
};

TEST(KeyPreview, FormSeesEveryCharacterFirstAndMaySwallowOrChangeIt) {
  const KeyCase cases[] = {
      {"untouched", -1, 0, -1, "w1ab", "w1ab"},
      {"form swallows the quote", '"', 0, -1, "w\"1", "w1"},
      {"form upper-cases a", 'a', 'A', -1, "aba", "AbA"},
      {"control swallows digits 5", -1, 0, '5', "5959", "99"},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.what);
    KeyForm form;
    form.formReplaces = c.formReplaces;
    form.formReplacement = c.formReplacement;
    form.controlSwallows = c.controlSwallows;
    ShowActive(form);
    form.txtCall.SetFocus();
    QTest::keyClicks(form.txtCall.Widget(), c.typed);
    EXPECT_EQ(form.txtCall.Text(), QString(c.expectedText));
  }
}

TEST(KeyPreview, OrderIsFormThenControlAndSwallowedCharactersNeverReachTheControl) {
  KeyForm form;
  form.formReplaces = '\'';
  form.formReplacement = 0;
  ShowActive(form);
  form.txtCall.SetFocus();
  QTest::keyClick(form.txtCall.Widget(), 'q');
  QTest::keyClick(form.txtCall.Widget(), '\'');
  const std::vector<std::string> expected = {
      "form down 81 shift 0", "control down 81", "form press 113", "control press 113",
      "form down 222 shift 0", "control down 222", "form press 39",
  };
  EXPECT_EQ(form.log, expected);
  EXPECT_EQ(form.txtCall.Text(), "q");
}

TEST(KeyPreview, KeyDownSwallowedAtTheFormStopsTheControlsKeyDownButNotTheCharacter) {
  // A shortcut's key-down is consumed; its character still comes through KeyPress, where the
  // window must drop it itself.
  KeyForm form;
  form.formSwallowsCode = 'W';
  ShowActive(form);
  form.txtCall.SetFocus();
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_W, Qt::ControlModifier);
  const std::vector<std::string> expected = {"form down 17 shift 2", "control down 17", "form down 87 shift 2",
                                             "form press 23", "control press 23"};
  EXPECT_EQ(form.log, expected);
}

// Alt with a letter is a menu's access key: with no menu to take it, the handlers see the key
// and the box types nothing.
TEST(KeyPreview, AnAccessKeyNoMenuTakesTypesNothing) {
  KeyForm form;
  ShowActive(form);
  form.txtCall.SetFocus();
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_O, Qt::AltModifier);
  const std::vector<std::string> expected = {"form down 18 shift 4", "control down 18", "form down 79 shift 4",
                                             "control down 79"};
  EXPECT_EQ(form.log, expected);
  EXPECT_EQ(form.txtCall.Text(), "");
}

TEST(KeyPreview, EnterEscapeAndFunctionKeysReachKeyDownWithTheirCodes) {
  KeyForm form;
  ShowActive(form);
  form.txtCall.SetFocus();
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_Return);
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_Escape);
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_F10);
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_Up, Qt::ShiftModifier);
  const std::vector<std::string> expected = {
      "form down 13 shift 0", "control down 13", "form press 13", "control press 13",
      "form down 27 shift 0", "control down 27", "form press 27", "control press 27",
      "form down 121 shift 0", "control down 121", "form down 16 shift 1", "control down 16",
      "form down 38 shift 1", "control down 38",
  };
  EXPECT_EQ(form.log, expected);
}

TEST(KeyPreview, SwallowedArrowKeyDoesNotMoveTheCaret) {
  KeyForm form;
  form.formSwallowsCode = KeyLeft;
  ShowActive(form);
  form.txtCall.SetFocus();
  QTest::keyClicks(form.txtCall.Widget(), "ab");
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_Left);
  EXPECT_EQ(form.txtCall.SelStart(), 2);
}

// ---- Holding the keyboard ----

// An entry line where one key starts a hold and a Space moves on to the report box.
class HoldForm : public Form {
 public:
  HoldForm() : Form("HoldForm") {
    txtCall.Move(0, 0, 900, 300);
    txtRSTR.Move(1000, 0, 900, 300);
    txtCall.KeyPress = [this](int& KeyAscii) {
      handled += QChar(KeyAscii);
      if (KeyAscii == holdingKey) HoldKeys();
      if (KeyAscii == ' ') {
        KeyAscii = 0;
        txtRSTR.SetFocus();
      }
    };
  }

  TextBox txtCall{this, "txtCall"};
  TextBox txtRSTR{this, "txtRSTR"};
  int holdingKey = '!';
  QString handled;  // the characters the call box's handler saw, in order
};

class KeyHold : public ::testing::Test {
 protected:
  void SetUp() override {
    ShowActive(form);
    form.txtCall.SetFocus();
  }
  bool Replayed(const QString& call) {
    return QTest::qWaitFor([&] { return form.txtCall.Text() == call && !form.KeysHeld(); }, peertesting::kBoundMs);
  }
  HoldForm form;
};

TEST_F(KeyHold, TheHoldingKeyArrivesAtTheReleaseAheadOfTheKeysTypedAfterItWhichGoWhereTheFocusIsThen) {
  QTest::keyClicks(form.txtCall.Widget(), "W1!AW 59");
  EXPECT_EQ(form.txtCall.Text(), "W1") << "the key that started the hold waits too";
  EXPECT_EQ(form.handled, "W1!") << "keys typed during the hold wait unhandled";
  EXPECT_TRUE(form.KeysHeld());

  form.ReleaseKeys();
  ASSERT_TRUE(Replayed("W1!AW"));
  EXPECT_EQ(form.txtRSTR.Text(), "59") << "the Space replayed before them moved the focus";
  EXPECT_EQ(form.handled, "W1!AW ");
}

TEST_F(KeyHold, AReplayedKeyThatHoldsAgainKeepsTheRestWaitingAndHoldsNest) {
  QTest::keyClicks(form.txtCall.Widget(), "A!B!C");
  form.HoldKeys();
  form.ReleaseKeys();
  DoEvents();
  EXPECT_EQ(form.txtCall.Text(), "A") << "one release for two holds leaves the keys held";

  form.ReleaseKeys();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.txtCall.Text() == "A!B"; }, peertesting::kBoundMs));
  DoEvents();
  EXPECT_EQ(form.txtCall.Text(), "A!B") << "the second ! holds the C";
  EXPECT_TRUE(form.KeysHeld());

  form.ReleaseKeys();
  EXPECT_TRUE(Replayed("A!B!C"));
}

// ---- Tab order and SendKeys ----

class TabForm : public Form {
 public:
  TabForm() : Form("TabForm") {
    SetKeyPreview(true);
    txtCall.Move(0, 0, 900, 300);
    txtRSTR.Move(1000, 0, 900, 300);
    txtRSTS.Move(2000, 0, 900, 300);
    txtSec.Move(3000, 0, 900, 300);
    // The grid comes before the report sent although it was built after it.
    txtCall.SetTabIndex(0);
    txtRSTR.SetTabIndex(1);
    txtSec.SetTabIndex(2);
    txtRSTS.SetTabIndex(3);
    for (TextBox* box : {&txtCall, &txtRSTR, &txtRSTS, &txtSec}) {
      box->GotFocus = [this, box] { focusLog.push_back("got " + box->Name().toStdString()); };
      box->LostFocus = [this, box] { focusLog.push_back("lost " + box->Name().toStdString()); };
    }
  }
  void Form_KeyDown(int& KeyCode, int) override { formKeys.push_back(KeyCode); }

  TextBox txtCall{this, "txtCall"};
  TextBox txtRSTR{this, "txtRSTR"};
  TextBox txtRSTS{this, "txtRSTS"};
  TextBox txtSec{this, "txtSec"};
  std::vector<std::string> focusLog;
  std::vector<int> formKeys;
};

TEST(SendKeys, TabMovesTheFocusInTabIndexOrderPassingOverHiddenControls) {
  TabForm form;
  ShowActive(form);
  form.txtCall.SetFocus();
  EXPECT_EQ(form.txtRSTS.TabIndex(), 3);

  SendKeys("{TAB}");
  EXPECT_TRUE(form.txtCall.HasFocus()) << "the keystroke is queued, not typed at once";
  DoEvents();
  EXPECT_TRUE(form.txtRSTR.HasFocus());

  form.txtSec.SetVisible(false);
  SendKeys("{TAB}");
  DoEvents();
  EXPECT_TRUE(form.txtRSTS.HasFocus());
  EXPECT_EQ(form.ActiveControl(), &form.txtRSTS);

  EXPECT_EQ(form.formKeys, (std::vector<int>{KeyTab, KeyTab}));
  const std::vector<std::string> expected = {"got txtCall", "lost txtCall", "got txtRSTR", "lost txtRSTR", "got txtRSTS"};
  EXPECT_EQ(form.focusLog, expected);
}

TEST(SendKeys, TabSentFromAGotFocusHandlerSkipsThatBox) {
  // A box skips itself by sending a Tab when it gets the focus.
  TabForm form;
  form.txtRSTR.GotFocus = [] { SendKeys("{TAB}"); };
  ShowActive(form);
  form.txtCall.SetFocus();
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_Tab);
  DoEvents();
  EXPECT_TRUE(form.txtSec.HasFocus());
}

TEST(SendKeys, UnknownKeyNameIsAnError) {
  EXPECT_THROW(SendKeys("{NOSUCHKEY}"), RuntimeError);
}

TEST(SetFocus, HiddenOrDisabledControlRefusesTheFocus) {
  TabForm form;
  ShowActive(form);
  form.txtSec.SetVisible(false);
  form.txtRSTS.SetEnabled(false);
  EXPECT_THROW(form.txtSec.SetFocus(), RuntimeError);
  EXPECT_THROW(form.txtRSTS.SetFocus(), RuntimeError);
}

// ---- Modal show ----

class DialogForm : public Form {
 public:
  DialogForm() : Form("DialogForm") {
    SetCaption("Dialog");
    cmdOK.SetCaption("OK");
    cmdOK.Move(120, 120, 1200, 375);
    cmdOK.Click = [this] {
      ++clicks;
      Hide();
    };
  }
  CommandButton cmdOK{this, "cmdOK"};
  int clicks = 0;
};

TEST(ModalShow, ReturnsWhenTheDialogHidesItself) {
  DialogForm dialog;
  bool clickedWhileModal = false;
  QTimer::singleShot(0, [&] {
    clickedWhileModal = dialog.Visible() && QApplication::activeModalWidget() == dialog.Widget();
    QTest::mouseClick(dialog.cmdOK.Widget(), Qt::LeftButton);
  });
  dialog.Show(Modal);
  EXPECT_TRUE(clickedWhileModal);
  EXPECT_EQ(dialog.clicks, 1);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(ModalShow, MinimisingTheDialogDoesNotEndIt) {
  std::vector<std::string> log;
  DialogForm dialog;
  // Both steps are tied to the dialog's window, so neither outlives the test if Show returns early.
  QTimer::singleShot(0, dialog.Widget(), [&] {
    dialog.SetWindowState(WindowMinimized);
    log.push_back("minimised");
    QTimer::singleShot(0, dialog.Widget(), [&] {
      log.push_back("hidden by code");
      dialog.Hide();
    });
  });
  dialog.Show(Modal);
  log.push_back("Show returned");
  EXPECT_EQ(log, (std::vector<std::string>{"minimised", "hidden by code", "Show returned"}));
}

// A window with menus and two boxes, the second with the focus.
class OwnerForm : public Form {
 public:
  OwnerForm() : Form("OwnerForm") {
    mnuFile.SetCaption("&File");
    Text1.Move(120, 120, 1200, 300);
    Text2.Move(120, 600, 1200, 300);
    Text2.LostFocus = [this] { ++lostFocus; };
  }
  QMenuBar* MenuBarWidget() const { return static_cast<QMainWindow*>(Widget())->menuBar(); }

  Menu mnuFile{this, "mnuFile"};
  TextBox Text1{this, "Text1"};
  TextBox Text2{this, "Text2"};
  int lostFocus = 0;
};

// As a dialog gives its owner the keyboard back: the owner active again, the box that had the
// focus has it, even when Alt let go meanwhile put the owner's menu bar in keyboard mode.
TEST(ModalShow, TheKeyboardGoesBackToTheControlThatHadItNotToTheMenuBar) {
  OwnerForm owner;
  ShowActive(owner);
  owner.Text2.SetFocus();
  DialogForm dialog;
  QTimer::singleShot(0, dialog.Widget(), [&] {
    owner.MenuBarWidget()->setFocus(Qt::MenuBarFocusReason);
    QTest::mouseClick(dialog.cmdOK.Widget(), Qt::LeftButton);
  });
  dialog.Show(Modal);
  ASSERT_TRUE(QTest::qWaitFor([&] { return owner.Text2.HasFocus(); }, peertesting::kBoundMs));
  EXPECT_EQ(QApplication::activeWindow(), owner.Widget());
  EXPECT_EQ(owner.ActiveControl(), &owner.Text2);
  EXPECT_EQ(owner.lostFocus, 0) << "the menu bar never took the box's focus";
  QTest::keyClicks(QApplication::focusWidget(), "q1");
  EXPECT_EQ(owner.Text2.Text(), "q1");
}

TEST(ModalShow, ShowingAVisibleWindowModallyIsAnError) {
  DialogForm dialog;
  dialog.Show();
  EXPECT_THROW(dialog.Show(Modal), RuntimeError);
}

// ---- The window registry ----

struct Counts {
  static inline int constructed = 0;
  static inline int loads = 0;
  static inline int destroyed = 0;
  static inline int terminated = 0;
};

class RegisteredForm : public Form {
 public:
  RegisteredForm() : Form("RegisteredForm") {
    ++Counts::constructed;
    SetCaption("Design caption");
    Move(0, 0, 6000, 4000);
    cmdClose.Click = [this] {
      Unload();
      closedFromHandler = true;  // the window lives on until its handlers have returned
    };
  }
  ~RegisteredForm() override { ++Counts::destroyed; }
  void Form_Load() override {
    ++Counts::loads;
    visibleDuringLoad = Visible();
  }
  void Form_QueryUnload(int& Cancel, int UnloadMode) override {
    unloadModes.push_back(UnloadMode);
    Cancel = cancelUnload;
  }
  void Form_Terminate() override { ++Counts::terminated; }

  CommandButton cmdClose{this, "cmdClose"};
  bool visibleDuringLoad = true;
  int cancelUnload = 0;
  bool closedFromHandler = false;
  std::vector<int> unloadModes;
};

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    UnloadAll();
    Counts::constructed = Counts::loads = Counts::destroyed = Counts::terminated = 0;
  }
  void TearDown() override { UnloadAll(); }
};

TEST_F(Registry, FirstUseBuildsTheWindowHiddenAndLoadsItOnce) {
  EXPECT_FALSE(IsLoaded<RegisteredForm>());
  RegisteredForm& first = Instance<RegisteredForm>();
  RegisteredForm& again = Instance<RegisteredForm>();
  EXPECT_EQ(&first, &again);
  EXPECT_TRUE(IsLoaded<RegisteredForm>());
  EXPECT_FALSE(first.Visible());
  EXPECT_FALSE(first.visibleDuringLoad);
  EXPECT_EQ(Counts::loads, 1);
  first.Show();
  EXPECT_EQ(Counts::loads, 1);
}

TEST_F(Registry, UnloadDestroysTheWindowAndTheNextUseStartsFromTheDesign) {
  RegisteredForm& first = Instance<RegisteredForm>();
  first.SetCaption("Changed at run time");
  first.Show();
  first.Unload();
  EXPECT_FALSE(IsLoaded<RegisteredForm>());
  EXPECT_FALSE(first.Widget()->isVisible());

  RegisteredForm& second = Instance<RegisteredForm>();
  EXPECT_EQ(second.Caption(), "Design caption");
  EXPECT_EQ(Counts::loads, 2);
  DoEvents();
  EXPECT_EQ(Counts::destroyed, 1);
  EXPECT_EQ(Counts::terminated, 1);
}

TEST_F(Registry, QueryUnloadCancelKeepsTheWindow) {
  RegisteredForm& form = Instance<RegisteredForm>();
  form.Show();
  form.cancelUnload = 1;
  form.Unload();
  EXPECT_TRUE(IsLoaded<RegisteredForm>());
  EXPECT_TRUE(form.Visible());
  form.cancelUnload = 0;
  form.Unload();
  EXPECT_FALSE(IsLoaded<RegisteredForm>());
  EXPECT_EQ(form.unloadModes, (std::vector<int>{UnloadFromCode, UnloadFromCode}));
}

TEST_F(Registry, TheTitleBarCloseButtonGoesThroughQueryUnload) {
  RegisteredForm& form = Instance<RegisteredForm>();
  ShowActive(form);
  form.cancelUnload = 1;
  form.Widget()->close();
  EXPECT_TRUE(form.Visible());
  form.cancelUnload = 0;
  form.Widget()->close();
  EXPECT_FALSE(IsLoaded<RegisteredForm>());
  EXPECT_EQ(form.unloadModes, (std::vector<int>{UnloadFromControlMenu, UnloadFromControlMenu}));
}

TEST_F(Registry, UnloadFromTheWindowsOwnHandlerDestroysItAfterTheHandler) {
  RegisteredForm& form = Instance<RegisteredForm>();
  ShowActive(form);
  QTest::mouseClick(form.cmdClose.Widget(), Qt::LeftButton);
  EXPECT_TRUE(form.closedFromHandler);
  EXPECT_FALSE(IsLoaded<RegisteredForm>());
  DoEvents();
  EXPECT_EQ(Counts::destroyed, 1);
}

TEST_F(Registry, AModalWindowUnloadedByItsButtonReturnsFromShow) {
  RegisteredForm& form = Instance<RegisteredForm>();
  QTimer::singleShot(0, [&] { QTest::mouseClick(form.cmdClose.Widget(), Qt::LeftButton); });
  form.Show(Modal);
  EXPECT_EQ(Counts::destroyed, 0) << "not while Show is still running";
  EXPECT_FALSE(IsLoaded<RegisteredForm>());
  DoEvents();
  EXPECT_EQ(Counts::destroyed, 1);
}

class SelfUnloadingForm : public Form {
 public:
  SelfUnloadingForm() : Form("SelfUnloadingForm") {}
  void Form_Load() override {
    ++Counts::loads;
    Unload();  // nothing to show: the window gives up at once
  }
};

TEST_F(Registry, AWindowThatUnloadsItselfInItsLoadIsNotLoadedAgain) {
  SelfUnloadingForm& form = Instance<SelfUnloadingForm>();
  EXPECT_FALSE(IsLoaded<SelfUnloadingForm>());
  try {
    form.Show();
    ADD_FAILURE() << "shown";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 364);
    EXPECT_EQ(error.Description(), "Object was unloaded");
  }
  EXPECT_EQ(Counts::loads, 1);
  EXPECT_FALSE(form.Visible());
}

// ---- Geometry and the control walk ----

class LayoutForm : public Form {
 public:
  LayoutForm() : Form("LayoutForm") {
    Move(300, 200, 4805, 3600);
    Frame1.Move(600, 600, 3000, 2000);
    Option1.Move(120, 240, 1200, 300);
    Label1.Move(60, 60, 1000, 255);
    Label1.SetFontSize(12);
  }
  Label Label1{this, "Label1"};
  Frame Frame1{this, "Frame1"};
  OptionButton Option1{&Frame1, "Option1"};
  Timer Timer1{this, "Timer1"};
  Menu mnuFile{this, "mnuFile"};
};

TEST(FormGeometry, TwipsReadBackAsWrittenAndTheClientAreaLiesWithinTheWindow) {
  LayoutForm form;
  EXPECT_EQ(form.Width(), 4805);
  EXPECT_EQ(form.Left(), 300);
  EXPECT_EQ(form.ScaleWidth(), 4805 - 2 * Form::BorderTwips);
  EXPECT_EQ(form.ScaleHeight(), 3600 - Form::CaptionTwips - Form::BorderTwips - form.MenuBarHeight());
  EXPECT_GT(form.MenuBarHeight(), 0) << "a window with menus has a menu bar above its client area";
  form.SetHeight(5000);
  EXPECT_EQ(form.Height(), 5000);
}

TEST(FormGeometry, BorderStylesSetTheFrameTheTitleBarAndWhetherTheOperatorCanResize) {
  const struct {
    int style;
    double frame, title;
    bool frameless, fixed;
  } cases[] = {
      {BorderNone, 0, 0, true, true},
      {BorderFixedSingle, Form::BorderTwips, Form::CaptionTwips, false, true},
      {BorderSizable, Form::BorderTwips, Form::CaptionTwips, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    Form form("BorderForm");
    form.SetBorderStyle(c.style);
    form.Move(300, 150, 4500, 3000);
    form.Show();
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.ScaleWidth(), 4500 - 2 * c.frame);
    EXPECT_EQ(form.ScaleHeight(), 3000 - c.title - c.frame);
    EXPECT_EQ(form.Widget()->size(), QSize(static_cast<int>(form.ScaleWidth() / 15), static_cast<int>(form.ScaleHeight() / 15)));
    EXPECT_EQ(form.Widget()->windowFlags().testFlag(Qt::FramelessWindowHint), c.frameless);
    EXPECT_EQ(form.Widget()->minimumSize() == form.Widget()->maximumSize(), c.fixed);
    form.Move(0, 0, 6000, 4500);  // the program still sizes it
    EXPECT_EQ(form.Widget()->width(), static_cast<int>((6000 - 2 * c.frame) / 15));
  }
  Form form("BorderForm");
  EXPECT_THROW(form.SetBorderStyle(3), RuntimeError);
}

TEST(FormGeometry, ControlsAreWalkedInCreationOrderWithKindAndSizes) {
  LayoutForm form;
  std::vector<std::pair<QString, ControlKind>> walked;
  for (Control* control : form.Controls()) walked.emplace_back(control->Name(), control->Kind());
  const std::vector<std::pair<QString, ControlKind>> expected = {
      {"Label1", ControlKind::Label},         {"Frame1", ControlKind::Frame}, {"Option1", ControlKind::OptionButton},
      {"Timer1", ControlKind::Timer},         {"mnuFile", ControlKind::Menu},
  };
  EXPECT_EQ(walked, expected);
  EXPECT_EQ(form.Controls()[0]->FontSize(), 12);
  // A control in a frame stands relative to the frame.
  EXPECT_EQ(form.Option1.Widget()->parentWidget(), form.Frame1.Widget());
  EXPECT_EQ(form.Option1.Widget()->pos(), QPoint(8, 16));
}

TEST(FormGeometry, NegativeSizesAreInvalidPropertyValues) {
  LayoutForm form;
  try {
    form.Label1.SetHeight(-15);
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 380);
  }
}

TEST(FormGeometry, TheHourglassCoversTheWindowUntilThePointerIsSetBack) {
  LayoutForm form;
  form.Show();
  form.SetMousePointer(MousePointerHourglass);
  EXPECT_EQ(form.MousePointer(), MousePointerHourglass);
  EXPECT_EQ(form.Label1.Widget()->cursor().shape(), Qt::WaitCursor);
  form.SetMousePointer(MousePointerDefault);
  EXPECT_EQ(form.Label1.Widget()->cursor().shape(), Qt::ArrowCursor);
  EXPECT_THROW(form.SetMousePointer(1), RuntimeError);
  EXPECT_EQ(form.MousePointer(), MousePointerDefault);
}

// What is drawn on the window stays in its kept picture and shows under its controls at every
// repaint; a new back colour or Cls erases it.
TEST(FormSurface, DrawingsAreKeptUnderTheControlsUntilErased) {
  class SurfaceForm : public Form {
   public:
    SurfaceForm() : Form("SurfaceForm") {
      SetBorderStyle(BorderNone);
      Move(0, 0, 1500, 1500);
      SetBackColor(RGB(0, 0, 0));
      lblOver.Move(750, 0, 750, 1500);
      lblOver.SetBackColor(RGB(0, 255, 0));
    }
    Label lblOver{this, "lblOver"};
  } form;
  form.Show();
  const QColor blue(0, 0, 255), red(255, 0, 0), black(0, 0, 0), white(255, 255, 255);

  form.Line(0, 150, 1485, 150, RGB(0, 0, 255));
  form.Box(150, 600, 450, 900, RGB(255, 0, 0), true);
  form.Box(150, 1050, 450, 1350, RGB(255, 0, 0));
  form.Box(1200, 600, 1185, 900, RGB(255, 0, 0), true);  // corners right to left, one pixel apart
  const QImage& kept = form.KeptPicture();
  ASSERT_EQ(kept.size(), QSize(100, 100));
  EXPECT_EQ(kept.pixelColor(5, 10), blue);
  EXPECT_EQ(kept.pixelColor(90, 10), blue) << "under the label too";
  EXPECT_EQ(kept.pixelColor(20, 50), red) << "a filled box";
  EXPECT_EQ(kept.pixelColor(10, 80), red) << "an outline's corner";
  EXPECT_EQ(kept.pixelColor(20, 80), black) << "inside the outline";
  EXPECT_EQ(kept.pixelColor(79, 50), red) << "a box one pixel wide";

  form.Refresh();
  const QImage shown = form.ClientWidget()->grab().toImage();
  EXPECT_EQ(shown.pixelColor(5, 10), blue);
  EXPECT_EQ(shown.pixelColor(20, 50), red);
  EXPECT_EQ(shown.pixelColor(90, 10), QColor(0, 255, 0)) << "the label covers the drawing";

  form.SetBackColor(RGB(255, 255, 255));
  EXPECT_EQ(form.KeptPicture().pixelColor(5, 10), white);
  form.Line(0, 150, 1485, 150, RGB(0, 0, 255));
  form.Cls();
  EXPECT_EQ(form.KeptPicture().pixelColor(5, 10), white);
  EXPECT_EQ(form.ClientWidget()->grab().toImage().pixelColor(5, 10), white);
}

// A control given the back colour it shows already, from its window, holds it as its own: the
// window's next colour leaves it as it was, however often it was given.
TEST(FormSurface, AControlGivenTheWindowsBackColourKeepsItWhenTheWindowChangesColour) {
  for (int times : {1, 2}) {
    SCOPED_TRACE(times);
    class ColouredForm : public Form {
     public:
      ColouredForm() : Form("ColouredForm") {
        SetBorderStyle(BorderNone);
        Move(0, 0, 1500, 1500);
        SetBackColor(RGB(0, 0, 0));
        Label1.Move(750, 0, 750, 1500);
      }
      Label Label1{this, "Label1"};
    } form;
    form.Show();
    for (int i = 0; i < times; ++i) form.Label1.SetBackColor(RGB(0, 0, 0));
    form.SetBackColor(RGB(255, 255, 255));
    EXPECT_EQ(form.Label1.BackColor(), RGB(0, 0, 0));
    EXPECT_EQ(form.ClientWidget()->grab().toImage().pixelColor(90, 10), QColor(0, 0, 0));
  }
}

// ---- Fonts ----

// The design's faces are seldom installed: the Liberation face of the same metrics shows in each
// one's place, in any letter case, while the program reads back the name it set.
TEST(Fonts, DesignFacesShowAsTheirMetricCompatibleFacesAndReadBackAsSet) {
  LayoutForm form;
  EXPECT_EQ(form.FontName(), "MS Sans Serif");
  EXPECT_EQ(form.FontSize(), 8.25);
  EXPECT_EQ(form.Frame1.FontName(), "MS Sans Serif") << "a control starts with its window's face";
  EXPECT_EQ(QFontInfo(form.Option1.Widget()->font()).family(), "Liberation Sans");

  const struct {
    const char* design;
    const char* shown;
  } faces[] = {
      {"Arial", "Liberation Sans"},          {"ARIAL NARROW", "Liberation Sans Narrow"},
      {"Courier New", "Liberation Mono"},    {"Times New Roman", "Liberation Serif"},
      {"MS Serif", "Liberation Serif"},      {"MS Sans Serif", "Liberation Sans"},
  };
  for (const auto& face : faces) {
    SCOPED_TRACE(face.design);
    form.Label1.SetFontName(face.design);
    EXPECT_EQ(form.Label1.FontName(), face.design);
    EXPECT_EQ(QFontInfo(form.Label1.Widget()->font()).family(), face.shown);
    EXPECT_EQ(form.Label1.FontSize(), 12) << "the size stays as set";
  }
  form.SetFontName("Arial Narrow");
  EXPECT_EQ(QFontInfo(form.ClientWidget()->font()).family(), "Liberation Sans Narrow");
}

TEST(Screen, TestSizeOverridesTheRealScreen) {
  Screen::SetSizeForTesting(19200, 7200);
  EXPECT_EQ(Screen::Width(), 19200);
  EXPECT_EQ(Screen::WorkAreaHeight(), 7200);
  Screen::SetWorkAreaForTesting(0, 0, 19200, 6600);
  EXPECT_EQ(Screen::WorkAreaHeight(), 6600);
  Screen::ResetForTesting();
  EXPECT_GT(Screen::Width(), 0);
}

}  // namespace
