#pragma once

#include "app/form1.h"
#include "network/frmnetwork.h"
#include "platform/instances.h"

#include <QStringList>
#include <QTableView>
#include <QTest>

// What a PC of the station shows: the calls in the main window's contact list, and the names in
// the network window's band grid.
inline QStringList ListedCalls() {
  const platform::ListView& list = platform::Instance<app::Form1>().ListView1;
  QStringList calls;
  for (int row = 1; row <= list.ListItems.Count(); ++row) calls << list.ListItems(row).SubItems(1);
  return calls;
}

// A click on a row of the main window's contact list (1 is the top row), as the operator picks a
// contact.
inline void ClickContactRow(int row) {
  QTableView* table = platform::Instance<app::Form1>().ListView1.View();
  const QRect cell = table->visualRect(table->model()->index(row - 1, 1));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
}

inline QStringList NamesInBandGrid() {
  network::frmNetwork& net = platform::Instance<network::frmNetwork>();
  QStringList names;
  for (auto* cells : {&net.lblBandSSB, &net.lblBandCW}) {
    for (int column : cells->Indexes()) {
      if (!(*cells)[column].Caption().isEmpty()) names << (*cells)[column].Caption();
    }
  }
  return names;
}
