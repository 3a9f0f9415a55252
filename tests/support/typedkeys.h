#pragma once

#include "platform/keys.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

// Types as an operator does, each key into the widget that has the focus by then ("\r" is Enter),
// letting the program handle each key before the next. False when no widget has the focus.
inline bool TypeIntoFocus(const QString& keys) {
  for (const QChar key : keys) {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) return false;
    if (key == u'\r') {
      QTest::keyClick(focus, Qt::Key_Return);
    } else {
      QTest::keyClick(focus, key.toLatin1());
    }
    for (int pass = 0; pass < 3; ++pass) platform::DoEvents();
  }
  return true;
}
