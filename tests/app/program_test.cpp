#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/frmvarneklogo.h"
#include "app/globals.h"
#include "app/program.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/endprogram.h"
#include "platform/forms.h"
#include "platform/paths.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "anotherpc.h"
#include "fakehome.h"
#include "keptcurrentfolder.h"
#include "operatorscript.h"

namespace {

using app::Form1;
using platform::Instance;
using platform::IsLoaded;

template <class F>
bool IsUp() {
  return IsLoaded<F>() && Instance<F>().Visible();
}

// The program as main runs it, from a freshly installed program folder, by a new user of the PC:
// a home of its own with a documents folder, a PC clock five hours behind UTC.
class ProgramRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(programFolder.isValid());
    home.MakeFolder("Documents");
    platform::CreateLogDatabase(LogPath());
    platform::Clock::SetFake(QDateTime(QDate(2024, 1, 20), QTime(14, 0)), -5);
  }
  void TearDown() override {
    platform::UnloadAll();
    logging::LogConnection.Close();
  }

  QString LogPath() const { return programFolder.filePath("Corvane.MDB"); }

  // One run: the program is started in its folder, and the operator clicks the logo away, takes
  // the set-up dialog as atSetUp leaves it, and works the main window with inMainWindow, which
  // ends the program. Returns the program's exit code.
  int Run(const std::function<void(app::frmStationID&)>& atSetUp, const std::function<void(Form1&)>& inMainWindow) {
    platform::ResetModuleValues();
    platform::ChDir(programFolder.path());
    OperatorScript operatorScript;
    operatorScript.When("logo", &IsUp<app::frmVarnekLogo>, [] {
      QTest::mouseClick(Instance<app::frmVarnekLogo>().Image1.Widget(), Qt::LeftButton);
    });
    operatorScript.When("station set-up", &IsUp<app::frmStationID>, [&] {
      EXPECT_FALSE(IsUp<Form1>());
      app::frmStationID& setUp = Instance<app::frmStationID>();
      atSetUp(setUp);
      QTest::mouseClick(setUp.Command1.Widget(), Qt::LeftButton);
    });
    operatorScript.When(
        "main window", [] { return IsUp<Form1>() && !QApplication::activeModalWidget(); },
        [&] {
          Form1& form = Instance<Form1>();
          QApplication::setActiveWindow(form.Widget());
          inMainWindow(form);
        });
    // A run that the operator's last step does not end fails instead of hanging.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
      ADD_FAILURE() << "the run did not end";
      app::EndRun();
    });
    watchdog.start(60000);
    return app::RunProgram();
  }

  // Types as an operator does, each key into the box that has the focus by then.
  static void Type(const QString& keys) {
    for (const QChar key : keys) {
      QWidget* focus = QApplication::focusWidget();
      ASSERT_NE(focus, nullptr);
      if (key == '\r') {
        QTest::keyClick(focus, Qt::Key_Return);
      } else {
        QTest::keyClick(focus, key.toLatin1());
      }
      for (int pass = 0; pass < 3; ++pass) platform::DoEvents();
    }
  }

  // Exit from the File menu; the run ends as the program does.
  void Exit(Form1& form) {
    form.mnuExit.Action()->trigger();
    EXPECT_EQ(endProgram.Calls(), ++exits);
    app::EndRun();
  }

  FakeHome home;
  QTemporaryDir programFolder;
  KeptCurrentFolder currentFolder;
  platform::ScriptedDialogs dialogs;
  platform::ScriptedEndProgram endProgram;
  int exits = 0;
};

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

}  // namespace
