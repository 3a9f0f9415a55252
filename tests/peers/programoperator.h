#pragma once

// The operator of the whole program run as a peer process (stationpc, keyedstation): steps that
// each wait until what they need is on the screen, then act.
#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/frmvarneklogo.h"
#include "platform/instances.h"

#include <QApplication>
#include <QString>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

template <class F>
bool IsUp() {
  return platform::IsLoaded<F>() && platform::Instance<F>().Visible();
}

// The main window is up and no modal window stands over it.
inline bool MainWindowFree() { return IsUp<app::Form1>() && QApplication::activeModalWidget() == nullptr; }

// The steps run in turn from a timer, in whichever event loop runs: the start-up's own or the
// main window's.
class ProgramOperator {
 public:
  ProgramOperator() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Step(); });
    timer_.start(10);
  }
  ProgramOperator(const ProgramOperator&) = delete;
  ProgramOperator& operator=(const ProgramOperator&) = delete;

  void Then(std::function<bool()> ready, std::function<void()> act) {
    acts_.push_back({std::move(ready), std::move(act)});
  }

  // Takes the logo, then fills in the station set-up with the call, the grid and, when given, the
  // log file's path typed over the one shown.
  void StartUp(const QString& call, const QString& grid, const std::optional<QString>& logPath = std::nullopt) {
    Then(&IsUp<app::frmVarnekLogo>, [] {
      QTest::mouseClick(platform::Instance<app::frmVarnekLogo>().Image1.Widget(), Qt::LeftButton);
    });
    Then(&IsUp<app::frmStationID>, [call, grid, logPath] {
      app::frmStationID& setUp = platform::Instance<app::frmStationID>();
      QTest::keyClicks(setUp.Text1.Widget(), call);
      QTest::keyClicks(setUp.Text5.Widget(), grid);
      if (logPath) {
        setUp.Text8.SetText(QString());
        QTest::keyClicks(setUp.Text8.Widget(), *logPath);
      }
      QTest::mouseClick(setUp.Command1.Widget(), Qt::LeftButton);
    });
  }

 private:
  struct Act {
    std::function<bool()> ready;
    std::function<void()> act;
  };

  // A step never waits in a loop of its own: a window it opens modally runs from the next pass.
  void Step() {
    if (acting_ || acts_.empty() || !acts_.front().ready()) return;
    Act next = std::move(acts_.front());
    acts_.erase(acts_.begin());
    acting_ = true;
    next.act();
    acting_ = false;
  }

  std::vector<Act> acts_;
  bool acting_ = false;
  QTimer timer_;
};
