#pragma once

// The whole program as main runs it, by a new user of the PC, with an operator who works its
// windows from the event loops it runs.

#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/frmvarneklogo.h"
#include "app/program.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/endprogram.h"
#include "platform/forms.h"
#include "platform/instances.h"
#include "platform/paths.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "fakehome.h"
#include "keptcurrentfolder.h"
#include "operatorscript.h"
#include "testbound.h"
#include "typedkeys.h"

template <class F>
bool IsUp() {
  return platform::IsLoaded<F>() && platform::Instance<F>().Visible();
}

// The main window is up and no modal window stands over it.
inline bool MainWindowFree() { return IsUp<app::Form1>() && QApplication::activeModalWidget() == nullptr; }

// A freshly installed program folder with its empty log, a home of its own with a documents
// folder, a PC clock five hours behind UTC.
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
  // the set-up dialog as atSetUp leaves it, then works the main window with the steps queueSteps
  // puts on `script`; the last of them ends the program. A step that never becomes ready ends the
  // run too, instead of hanging it. Returns the program's exit code.
  int Run(OperatorScript& script, const std::function<void(app::frmStationID&)>& atSetUp,
          const std::function<void()>& queueSteps) {
    platform::ResetModuleValues();
    platform::ChDir(programFolder.path());
    script.When("logo", &IsUp<app::frmVarnekLogo>, [] {
      QTest::mouseClick(platform::Instance<app::frmVarnekLogo>().Image1.Widget(), Qt::LeftButton);
    });
    script.When("station set-up", &IsUp<app::frmStationID>, [&] {
      EXPECT_FALSE(IsUp<app::Form1>());
      app::frmStationID& setUp = platform::Instance<app::frmStationID>();
      atSetUp(setUp);
      QTest::mouseClick(setUp.Command1.Widget(), Qt::LeftButton);
    });
    queueSteps();
    QDeadlineTimer afterTheLastStep = QDeadlineTimer::Forever;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (script.GaveUp()) {
        app::EndRun();
      } else if (script.Done() && afterTheLastStep.isForever()) {
        afterTheLastStep.setRemainingTime(peertesting::kBoundMs);
      } else if (afterTheLastStep.hasExpired()) {
        ADD_FAILURE() << "the run did not end";
        app::EndRun();
      }
    });
    watch.start(100);
    return app::RunProgram();
  }

  // One run whose main window inMainWindow works; it ends the program.
  int Run(const std::function<void(app::frmStationID&)>& atSetUp,
          const std::function<void(app::Form1&)>& inMainWindow) {
    OperatorScript script;
    return Run(script, atSetUp, [&] {
      script.When("main window", &MainWindowFree, [&] {
        app::Form1& form = platform::Instance<app::Form1>();
        QApplication::setActiveWindow(form.Widget());
        inMainWindow(form);
      });
    });
  }

  // Types as an operator does, each key into the box that has the focus by then.
  static void Type(const QString& keys) { ASSERT_TRUE(TypeIntoFocus(keys)) << "no box has the focus"; }

  // Exit from the File menu; the run ends as the program does.
  void Exit(app::Form1& form) {
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
