#include "platform/forms.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include "drawntesting.h"
#include "testbound.h"

#include <functional>

using namespace platform;

namespace {

class ContactForm : public Form {
 public:
  ContactForm() : Form("ContactForm") {
    Move(0, 0, 9600, 7200);
    ListView1.Move(120, 120, 8000, 4000);
    ListView1.SetFullRowSelect(true);
    ListView1.SetGridLines(true);
    const std::pair<const char*, double> columns[] = {
        {"Rec#", 560}, {"Call", 940}, {"Rec", 500}, {"Grid R", 690}, {"Snt", 500},
        {"Date / Time", 1050}, {"Bnd", 480}, {"Grid S", 690}, {"Mode", 600},
    };
    for (const auto& [caption, width] : columns) ListView1.ColumnHeaders.Add(caption, width);
    ListView1.ItemClick = [this](int Index) { log.push_back("item " + std::to_string(Index)); };
    ListView1.Click = [this] { log.push_back("click"); };
    ListView1.ColumnClick = [this](int ColumnIndex) { log.push_back("column " + std::to_string(ColumnIndex)); };
  }
  ListView ListView1{this, "ListView1"};
  std::vector<std::string> log;
};

QStringList Contact(int n) {
  return {QString::number(n), QStringLiteral("W%1AB").arg(n % 10), "59", "FN20", "59", "06/12 14:0" + QString::number(n % 10),
          "144", "FN21", n % 2 ? "CW" : "PH"};
}

TEST(ListView, ItemsAndSubItemsCountFromOne) {
  ContactForm form;
  ListItem item = form.ListView1.ListItems.Add("1");
  item.SetSubItems(1, "W1AW");
  item.SetSubItems(8, "PH");
  EXPECT_EQ(form.ListView1.ListItems.Count(), 1);
  EXPECT_EQ(form.ListView1.ListItems(1).Text(), "1");
  EXPECT_EQ(form.ListView1.ListItems(1).SubItems(1), "W1AW");
  EXPECT_EQ(form.ListView1.ListItems(1).SubItems(5), "");
  EXPECT_EQ(form.ListView1.Model()->data(form.ListView1.Model()->index(0, 8)).toString(), "PH");
  EXPECT_THROW(item.SetSubItems(9, "x"), RuntimeError) << "only as many sub-items as columns";
  EXPECT_THROW(form.ListView1.ListItems(2), RuntimeError);
  EXPECT_EQ(form.ListView1.ColumnHeaders.Count(), 9);
  EXPECT_EQ(form.ListView1.ColumnHeaders(6).Text(), "Date / Time");
  form.ListView1.ListItems.Clear();
  EXPECT_EQ(form.ListView1.ListItems.Count(), 0);
}

TEST(ListView, FourteenThousandRowsFillInOneModelReset) {
  ContactForm form;
  std::vector<QStringList> rows;
  for (int n = 14000; n >= 1; --n) rows.push_back(Contact(n));
  QSignalSpy resets(form.ListView1.Model(), &QAbstractItemModel::modelReset);
  QSignalSpy inserts(form.ListView1.Model(), &QAbstractItemModel::rowsInserted);
  form.ListView1.SetRows(std::move(rows));
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(inserts.count(), 0);
  EXPECT_EQ(form.ListView1.ListItems.Count(), 14000);
  EXPECT_EQ(form.ListView1.ListItems(1).Text(), "14000");
  EXPECT_EQ(form.ListView1.ListItems(14000).SubItems(1), "W1AB");
}

TEST(ListView, AddsBetweenBeginAndEndUpdateAreOneReset) {
  ContactForm form;
  QSignalSpy resets(form.ListView1.Model(), &QAbstractItemModel::modelReset);
  QSignalSpy inserts(form.ListView1.Model(), &QAbstractItemModel::rowsInserted);
  form.ListView1.BeginUpdate();
  for (int n = 1; n <= 500; ++n) {
    ListItem item = form.ListView1.ListItems.Add(QString::number(n));
    item.SetSubItems(1, QStringLiteral("K%1").arg(n));
  }
  form.ListView1.EndUpdate();
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(inserts.count(), 0);
  EXPECT_EQ(form.ListView1.ListItems(500).SubItems(1), "K500");
}

TEST(ListView, RemovingAndRefillingWithinAnUpdateStayInItsOneReset) {
  const struct {
    const char* what;
    std::function<void(ListView&)> change;
    QStringList texts;
  } cases[] = {
      {"remove", [](ListView& view) { view.ListItems.Remove(2); }, {"1", "3"}},
      {"set rows", [](ListView& view) { view.SetRows({Contact(7), Contact(8)}); }, {"7", "8"}},
      {"clear, then add", [](ListView& view) {
         view.ListItems.Clear();
         view.ListItems.Add("9");
       }, {"9"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ContactForm form;
    form.ListView1.SetRows({Contact(1), Contact(2), Contact(3)});
    QSignalSpy resets(form.ListView1.Model(), &QAbstractItemModel::modelReset);
    QSignalSpy removals(form.ListView1.Model(), &QAbstractItemModel::rowsAboutToBeRemoved);
    form.ListView1.BeginUpdate();
    c.change(form.ListView1);
    EXPECT_EQ(resets.count(), 0) << "no reset before EndUpdate";
    form.ListView1.EndUpdate();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(removals.count(), 0);
    QStringList texts;
    for (int i = 1; i <= form.ListView1.ListItems.Count(); ++i) texts << form.ListView1.ListItems(i).Text();
    EXPECT_EQ(texts, c.texts);
    EXPECT_EQ(form.ListView1.View()->model()->rowCount(), c.texts.size());
  }
}

TEST(ListView, ColumnWidthsAreTwipsThatScalingCanChangeAndFillsKeep) {
  ContactForm form;
  auto* header = form.ListView1.View()->horizontalHeader();
  EXPECT_EQ(header->sectionSize(1), 63) << "940 twips";
  form.ListView1.ColumnHeaders(2).SetWidth(form.ListView1.ColumnHeaders(2).Width() * 2);
  EXPECT_EQ(form.ListView1.ColumnHeaders(2).Width(), 1880);
  EXPECT_EQ(header->sectionSize(1), 125);
  form.ListView1.SetRows({Contact(1)});
  EXPECT_EQ(header->sectionSize(1), 125);
}

TEST(ListView, MouseRaisesItemClickClickAndColumnClick) {
  ContactForm form;
  form.ListView1.SetRows({Contact(3), Contact(2), Contact(1)});
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget(), peertesting::kBoundMs));
  QTableView* table = form.ListView1.View();
  const QRect second = table->visualRect(table->model()->index(1, 1));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, second.center());
  ASSERT_TRUE(form.ListView1.SelectedItem().has_value());
  EXPECT_EQ(form.ListView1.SelectedItem()->Index(), 2);
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(5, table->viewport()->height() - 5));
  auto* header = table->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(3) + 5, 5));
  EXPECT_EQ(form.log, (std::vector<std::string>{"item 2", "click", "click", "column 4"}));
}

TEST(ListView, SortingOnceByAColumnKeepsTheOrderAfterSortingIsOff) {
  ContactForm form;
  form.ListView1.SetRows({{"1", "w9xyz"}, {"2", "K1ABC"}, {"3", "ve3aaa"}, {"10", "AA1A"}});
  form.ListView1.SetSortKey(1);
  form.ListView1.SetSorted(true);
  form.ListView1.SetSorted(false);
  std::vector<QString> calls;
  for (int i = 1; i <= form.ListView1.ListItems.Count(); ++i) calls.push_back(form.ListView1.ListItems(i).SubItems(1));
  EXPECT_EQ(calls, (std::vector<QString>{"AA1A", "K1ABC", "ve3aaa", "w9xyz"}));
  form.ListView1.SetSortKey(0);
  form.ListView1.SetSorted(true);
  EXPECT_EQ(form.ListView1.ListItems(2).Text(), "10") << "the record numbers sort as text";
}

// The list's rows as they stand on the screen, and as a drawing of the whole list from its rows
// shows them.
QImage RowsOnScreen(const ListView& list) { return OnScreen(*list.View()->viewport()); }
QImage RowsDrawnAfresh(const ListView& list) { return DrawnAfresh(*list.View()->viewport()); }

TEST(ListView, ARowPutInMovesTheRowsOnScreenAndOnlyTheNewRowIsDrawn) {
  const struct {
    const char* what;
    int rows;
    int scrolledTo;
    bool focused;
    std::function<void(ListView&)> change;
    bool drawsOneRow;
  } cases[] = {
      {"top of a long list", 40, 0, false, [](ListView& view) { view.InsertRow(1, Contact(41)); }, true},
      {"top, the bottom row cut", 40, 0, false,
       [](ListView& view) {
         view.InsertRow(1, Contact(41));
         view.ListItems.Remove(41);
       },
       true},
      {"two rows at the top", 40, 0, false,
       [](ListView& view) {
         view.InsertRow(1, Contact(41));
         view.InsertRow(1, Contact(42));
       },
       false},
      {"the middle of the rows on screen", 40, 0, false, [](ListView& view) { view.InsertRow(3, Contact(99)); }, true},
      {"top of a list scrolled down", 40, 5, false, [](ListView& view) { view.InsertRow(1, Contact(41)); }, true},
      {"top of a list with the focus", 40, 0, true, [](ListView& view) { view.InsertRow(1, Contact(41)); }, false},
      {"top, the rows drawn again before the layout", 40, 0, false,
       [](ListView& view) {
         view.InsertRow(1, Contact(41));
         view.View()->viewport()->repaint();
       },
       false},
      {"a row on screen removed", 40, 0, false, [](ListView& view) { view.ListItems.Remove(2); }, false},
      {"a short list", 3, 0, false, [](ListView& view) { view.InsertRow(1, Contact(4)); }, false},
      {"a list refilled", 40, 0, false,
       [](ListView& view) {
         view.InsertRow(1, Contact(41));
         view.SetRows({Contact(7), Contact(8)});
       },
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ContactForm form;
    std::vector<QStringList> rows;
    for (int n = c.rows; n >= 1; --n) rows.push_back(Contact(n));
    form.ListView1.SetRows(std::move(rows));
    form.Show();
    // An activation draws the whole list; it comes to the widgets after the window.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == form.Widget(); }, peertesting::kBoundMs));
    QTableView* table = form.ListView1.View();
    table->setCurrentIndex(table->model()->index(0, 0));
    if (!c.focused) table->clearFocus();
    table->verticalScrollBar()->setValue(c.scrolledTo);
    Settle();
    const int rowHeight = table->rowHeight(0);
    DrawnParts parts(table->viewport());

    c.change(form.ListView1);
    Settle();

    EXPECT_EQ(parts.drawn.boundingRect().height() <= rowHeight, c.drawsOneRow) << parts.drawn.boundingRect().height();
    EXPECT_EQ(RowsOnScreen(form.ListView1), RowsDrawnAfresh(form.ListView1));
    EXPECT_EQ(OnScreen(*table), DrawnAfresh(*table)) << "the scroll bar with the rows";
    EXPECT_EQ(table->verticalScrollBar()->value(), c.scrolledTo);
    const int fullRange = table->model()->rowCount() - table->viewport()->height() / rowHeight;
    EXPECT_EQ(table->verticalScrollBar()->maximum(), std::max(fullRange, 0)) << "as a layout of the whole list sets it";
  }
}

TEST(ListView, PlainCellsAreDrawnAsTheStyleDrawsThem) {
  ContactForm form;
  form.ListView1.ColumnHeaders(3).SetAlignment(AlignRight);
  form.ListView1.ColumnHeaders(6).SetAlignment(AlignCenter);
  std::vector<QStringList> rows;
  for (int n = 12; n >= 1; --n) rows.push_back(Contact(n));
  rows[2][1] = QStringLiteral("A CALL FAR TOO LONG FOR ITS COLUMN");
  rows[3][5] = QString();
  form.ListView1.SetRows(std::move(rows));
  form.ListView1.ListItems(5).SetSelected(true);
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget(), peertesting::kBoundMs));
  QTableView* table = form.ListView1.View();
  const QImage ours = RowsDrawnAfresh(form.ListView1);
  table->setItemDelegate(new QStyledItemDelegate(table));
  EXPECT_EQ(ours, RowsDrawnAfresh(form.ListView1));
}

}  // namespace
