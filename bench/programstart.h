#pragma once

#include "app/form1.h"
#include "app/frmsplash.h"
#include "app/frmstationid.h"
#include "app/frmvarneklogo.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/modulevalues.h"

#include <QDir>
#include <QTimer>

#include <chrono>

// The program's whole start-up as an operator goes through it, run in the current folder (the
// program folder, holding the log Corvane.MDB): the logo is clicked away, the station set-up
// gets a call and the grid FN31 and is closed with Done, "Open existing log?" is answered Yes.
// The operator acts from a zero-interval timer, at the first pass of whichever event loop waits
// for them, so no pause of theirs adds to the time measured.
class ProgramStart {
 public:
  ProgramStart() {
    operator_.setInterval(0);
    QObject::connect(&operator_, &QTimer::timeout, [this] { Act(); });
  }

  // Starts the program; false when a step never came or a message other than the question showed.
  bool Run() {
    platform::UnloadAll();
    platform::ResetModuleValues();
    platform::ScriptedDialogs dialogs;
    dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);
    logoGone_ = {};
    stationDone_ = false;
    operator_.start();
    platform::Instance<app::frmSplash>();
    platform::DoEvents();
    finished_ = std::chrono::steady_clock::now();
    operator_.stop();
    return stationDone_ && logoGone_ != std::chrono::steady_clock::time_point{} &&
           platform::IsLoaded<app::Form1>() && platform::Instance<app::Form1>().Visible() &&
           dialogs.MessageBoxes().size() == 1;
  }

  // From the logo's click to the main window shown, its events run.
  double MillisecondsBeyondLogo() const {
    return std::chrono::duration<double, std::milli>(finished_ - logoGone_).count();
  }

 private:
  void Act() {
    using platform::Instance;
    using platform::IsLoaded;
    if (IsLoaded<app::frmVarnekLogo>() && Instance<app::frmVarnekLogo>().Visible()) {
      logoGone_ = std::chrono::steady_clock::now();
      Instance<app::frmVarnekLogo>().Image1_Click();
      return;
    }
    if (!stationDone_ && IsLoaded<app::frmStationID>() && Instance<app::frmStationID>().Visible()) {
      app::frmStationID& station = Instance<app::frmStationID>();
      station.Text1.SetText(QStringLiteral("W1XYZ"));
      station.Text5.SetText(QStringLiteral("FN31"));
      station.Text8.SetText(QDir::current().filePath(QStringLiteral("Corvane.MDB")));
      stationDone_ = true;
      station.Command1_Click();
    }
  }

  QTimer operator_;
  std::chrono::steady_clock::time_point logoGone_;
  std::chrono::steady_clock::time_point finished_;
  bool stationDone_ = false;
};
