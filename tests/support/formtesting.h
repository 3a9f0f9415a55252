#pragma once

#include "platform/controls.h"
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

// The items of a list box, top to bottom, as the operator reads them.
inline QStringList ItemsOf(const platform::ListBox& list) {
  QStringList items;
  for (int i = 0; i < list.ListCount(); ++i) items << list.List(i);
  return items;
}
