#pragma once

#include "platform/instances.h"

#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

#include <gtest/gtest.h>

#include "testbound.h"

// Answers a window F that the code under test shows modally and waits on: once it is shown and
// active, runs the operator's work in it and, unless that closed the window, closes it by its
// close box, as the operator would. Only for a window the code will show: it waits for it.
template <class F>
void OperateModalWindowOnceShown(std::function<void(F&)> work) {
  QTimer::singleShot(1, [work = std::move(work)]() mutable {
    const auto shown = [] { return platform::IsLoaded<F>() && platform::Instance<F>().Visible(); };
    if (!shown()) {
      OperateModalWindowOnceShown<F>(std::move(work));
      return;
    }
    F& window = platform::Instance<F>();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.Widget(), peertesting::kBoundMs));
    work(window);
    if (shown()) window.Widget()->close();
  });
}
