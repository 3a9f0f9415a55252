#pragma once

#include "platform/form.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

// Shows a window and waits until it has the keyboard, as an operator's window would.
inline void ShowActive(platform::Form& form) {
  form.Show();
  QApplication::setActiveWindow(form.Widget());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
}
