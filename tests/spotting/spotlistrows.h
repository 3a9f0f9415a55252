#pragma once

#include "app/form1.h"

#include <QStringList>

// The main window's spot list as the operator reads it, top row first: call and frequency.
inline QStringList SpotListRows(const app::Form1& form) {
  QStringList rows;
  for (int i = 1; i <= form.txtDX.ListItems.Count(); ++i) {
    const platform::ListItem item = form.txtDX.ListItems.Item(i);
    rows << item.Text() + " " + item.SubItems(1);
  }
  return rows;
}
