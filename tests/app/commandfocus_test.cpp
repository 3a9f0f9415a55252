// Where the keyboard is once a menu command's dialog closes: the main window has it again and its
// call box takes what the operator types next, with no window manager to hand it back (the tests
// run offscreen, as the program runs on a bare X server).
#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/globalpreferences.h"
#include "app/globals.h"
#include "logging/logstore.h"
#include "logtools/graphqso.h"
#include "platform/database.h"
#include "platform/forms.h"

#include <QApplication>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "formtesting.h"
#include "operatorscript.h"
#include "programfolderfixture.h"
#include "testbound.h"

namespace {

using app::Form1;

// The window the keyboard types into: the one with the focus, or else the active one (the
// offscreen screen gives the focus to no window once a menu closes).
QWindow* KeyboardWindow() {
  if (QWindow* focus = QGuiApplication::focusWindow()) return focus;
  return QApplication::activeWindow() ? QApplication::activeWindow()->windowHandle() : nullptr;
}

// Keys as a keyboard sends them: to the window that has the keyboard, and there to its focus.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWindow* window = KeyboardWindow();
  ASSERT_NE(window, nullptr) << "no window has the keyboard";
  QTest::keyClick(window, key, modifiers);
}

void Type(const char* text) {
  for (const char* c = text; *c; ++c) {
    QWindow* window = KeyboardWindow();
    ASSERT_NE(window, nullptr) << "no window has the keyboard";
    QTest::keyClick(window, *c);
  }
}

// A dialog the operator can type into: shown and with the keyboard.
template <class Dialog>
bool Showing() {
  QWidget* modal = QApplication::activeModalWidget();
  return qobject_cast<Dialog*>(modal) && QApplication::activeWindow() == modal;
}

template <class F>
bool FormShowing() {
  return platform::IsLoaded<F>() && QApplication::activeWindow() == platform::Instance<F>().Widget();
}

// What the operator does in the dialog a command opens, step by step.
struct Answer {
  const char* what;
  std::function<bool()> ready;
  std::function<void()> act;
};

Answer InputBoxTyped(const char* text) {
  return {"input box", &Showing<QInputDialog>, [text] {
            Type(text);
            Press(Qt::Key_Return);
          }};
}

const Answer kMessageOk = {"message box", &Showing<QMessageBox>, [] { Press(Qt::Key_Return); }};

struct Command {
  const char* name;
  std::vector<Qt::Key> accessKeys;  // the first with Alt, the others alone
  std::vector<Answer> answers;
};

// The main window during entry, on a log of its own, with the real dialogs.
class CommandFocus : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    app::OwnCall = "Q1ABC";
    app::LogFilePath = LogPath();
    app::modGlobalPreferences::PreferencesText = app::modGlobalPreferences::DeclarationLine;
    app::modGlobalPreferences::PreferencesPath = folder.path() + app::modGlobalPreferences::SharedPreferencesFile;
    platform::CreateLogDatabase(LogPath());
    logging::LogConnection.Open(LogPath());
    ShowActive(form);
    form.txtCall.SetFocus();
  }
  void TearDown() override {
    platform::UnloadAll();
    logging::LogConnection.Close();
    ProgramFolderTest::TearDown();
  }
  QString LogPath() const { return folder.filePath("Corvane.MDB"); }

  void Choose(const Command& command) {
    OperatorScript operatorScript;
    for (const Answer& answer : command.answers) operatorScript.When(answer.what, answer.ready, answer.act);
    Press(command.accessKeys.front(), Qt::AltModifier);
    for (std::size_t i = 1; i < command.accessKeys.size(); ++i) Press(command.accessKeys[i]);
    EXPECT_TRUE(QTest::qWaitFor([&] { return operatorScript.Done(); }, peertesting::kBoundMs));
    platform::DoEvents();
  }

  Form1& form = platform::InstanceWithoutLoad<Form1>();
};

TEST_F(CommandFocus, AfterEachDialogOfTheMenusTheCallBoxTakesTheKeysAndAltStillOpensTheMenus) {
  const Command commands[] = {
      {"Setup", {Qt::Key_S}, {{"set-up dialog", &FormShowing<app::frmStationID>, [] { Press(Qt::Key_Return); }}}},
      {"Graph",
       {Qt::Key_G},
       {kMessageOk,
        {"graph", &FormShowing<logtools::GraphQSO>, [] { platform::Instance<logtools::GraphQSO>().Widget()->close(); }}}},
      {"Refresh Rate", {Qt::Key_O, Qt::Key_E}, {InputBoxTyped("45000")}},
      {"Form Size", {Qt::Key_O, Qt::Key_A, Qt::Key_F}, {InputBoxTyped("90"), kMessageOk}},
  };
  for (const Command& command : commands) {
    SCOPED_TRACE(command.name);
    form.txtCall.SetText(QString());
    Choose(command);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == form.Widget(); }, peertesting::kBoundMs));
    EXPECT_TRUE(form.txtCall.HasFocus());
    Type("w1aw");
    EXPECT_EQ(form.txtCall.Text(), "W1AW");

    Press(Qt::Key_O, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "Alt+O opens the Options menu";
    EXPECT_EQ(menu, form.mnuOptions.SubMenu());
    EXPECT_EQ(form.txtCall.Text(), "W1AW") << "nothing typed";
    Press(Qt::Key_Escape);
    Press(Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(form.txtCall.HasFocus());
  }
  // The answers were taken, as typed into the dialogs.
  EXPECT_TRUE(logging::LogConnection.IsOpen()) << "the set-up was done, not cancelled";
  EXPECT_EQ(form.Timer3.Interval(), 45000);
  EXPECT_EQ(app::FormSize, 90);
}

}  // namespace
