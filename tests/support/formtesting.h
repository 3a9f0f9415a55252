#pragma once

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/keys.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include "testbound.h"

// Shows a window and waits until it has the keyboard, as an operator's window would.
inline void ShowActive(platform::Form& form) {
  form.Show();
  QApplication::setActiveWindow(form.Widget());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget(), peertesting::kBoundMs));
}

// The items of a list box, top to bottom, as the operator reads them.
inline QStringList ItemsOf(const platform::ListBox& list) {
  QStringList items;
  for (int i = 0; i < list.ListCount(); ++i) items << list.List(i);
  return items;
}

// Saves what an operator would see when CORVANE_SCREENSHOTS names a folder.
inline void SaveScreenshot(platform::Form& form, const QString& file) {
  const QString folder = qEnvironmentVariable("CORVANE_SCREENSHOTS");
  if (folder.isEmpty()) return;
  form.Show();
  platform::DoEvents();
  EXPECT_TRUE(form.Widget()->grab().save(QDir(folder).filePath(file)));
}
