#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "testbound.h"

// What an operator does while the program waits in loops of its own (a modal window, the start-up
// inside a window's load): each step waits until what it needs is on the screen, then acts. The
// steps run in order from a timer, in whichever event loop runs. A step that waits too long fails
// the test and closes the modal windows, so the program's loops end instead of hanging the test.
class OperatorScript {
 public:
  OperatorScript() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { RunNextStep(); });
    timer_.start();
  }
  ~OperatorScript() { EXPECT_TRUE(steps_.empty()) << "left undone: " << steps_.front().name; }
  OperatorScript(const OperatorScript&) = delete;
  OperatorScript& operator=(const OperatorScript&) = delete;

  // Once ready() holds, act() runs. act must not wait in a loop of its own.
  void When(std::string name, std::function<bool()> ready, std::function<void()> act) {
    if (steps_.empty()) waitingSince_ = QDeadlineTimer(peertesting::kBoundMs);
    steps_.push_back({std::move(name), std::move(ready), std::move(act)});
  }
  bool Done() const { return steps_.empty(); }
  // A step waited too long: the test has failed, and the run is best ended.
  bool GaveUp() const { return gaveUp_; }

 private:
  struct Step {
    std::string name;
    std::function<bool()> ready;
    std::function<void()> act;
  };

  void RunNextStep() {
    if (acting_) return;
    if (steps_.empty()) {
      if (gaveUp_) CloseModalWindows();
      return;
    }
    if (!steps_.front().ready()) {
      if (waitingSince_.hasExpired()) GiveUp();
      return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    waitingSince_ = QDeadlineTimer(peertesting::kBoundMs);
    acting_ = true;
    step.act();
    acting_ = false;
  }

  void GiveUp() {
    ADD_FAILURE() << "never ready: " << steps_.front().name;
    steps_.clear();
    gaveUp_ = true;
    CloseModalWindows();
  }

  static void CloseModalWindows() {
    while (QWidget* modal = QApplication::activeModalWidget()) modal->hide();
  }

  QTimer timer_;
  std::deque<Step> steps_;
  QDeadlineTimer waitingSince_;
  bool acting_ = false;
  bool gaveUp_ = false;
};
