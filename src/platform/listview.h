#pragma once

#include "platform/control.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAbstractItemModel;
class QTableView;

namespace platform {

class ListView;
class ListViewModel;
class ShiftingTableView;
struct Column;

// Column headers and list items count from 1, as the control counts them; SubItems(1) is the
// second column.

// One column header of a list view (a handle: it reads and writes the view's column).
class ColumnHeader {
 public:
  int Index() const { return index_; }
  QString Text() const;
  void SetText(const QString& text);
  double Width() const;  // twips
  void SetWidth(double twips);
  int Alignment() const;
  void SetAlignment(int alignment);

 private:
  friend class ColumnHeaderCollection;
  ColumnHeader(ListView* view, int index) : view_(view), index_(index) {}
  Column& column() const;
  ListView* view_;
  int index_;
};

class ColumnHeaderCollection {
 public:
  explicit ColumnHeaderCollection(ListView* view) : view_(view) {}
  ColumnHeader Add(const QString& text, double width = 1440, int alignment = AlignLeft);
  void Clear();
  int Count() const;
  ColumnHeader operator()(int index) const;  // throws RuntimeError 35600 outside 1..Count

 private:
  ListView* view_;
};

// One row of a list view (a handle: it reads and writes the view's row).
class ListItem {
 public:
  int Index() const { return row_ + 1; }
  QString Text() const;
  void SetText(const QString& text);
  QString SubItems(int index) const;
  void SetSubItems(int index, const QString& text);  // index 1 .. columns - 1, else RuntimeError 380
  bool Selected() const;
  void SetSelected(bool selected);
  void EnsureVisible();

 private:
  friend class ListItemCollection;
  friend class ListView;
  ListItem(ListView* view, int row) : view_(view), row_(row) {}
  ListView* view_;
  int row_;
};

class ListItemCollection {
 public:
  explicit ListItemCollection(ListView* view) : view_(view) {}
  ListItem Add(const QString& text);  // at the end, or in sorted place while Sorted
  ListItem Add(int index, const QString& text);
  void Remove(int index);
  void Clear();
  int Count() const;
  ListItem operator()(int index) const;  // throws RuntimeError 35600 outside 1..Count
  ListItem Item(int index) const { return (*this)(index); }

 private:
  ListView* view_;
};

// List view in report mode, over a table model: filling it is one model reset, never a widget
// per row. Windows fill whole lists with SetRows, or wrap a run of ListItems.Add in
// BeginUpdate/EndUpdate.
class ListView : public Control {
 public:
  ListView(Container* parent, const QString& name, int index = -1);
  ~ListView() override;

  ColumnHeaderCollection ColumnHeaders{this};
  ListItemCollection ListItems{this};

  // Replaces every row at once; each row holds the item text, then its sub-items.
  void SetRows(std::vector<QStringList> rows);
  // Puts one row, the item text then its sub-items, in at index (1 to Count + 1). The rows on
  // screen that it pushes down are moved as drawn, and only the new row is drawn.
  void InsertRow(int index, QStringList texts);
  // Changes with every change of the rows (filled, a row in or out, a text, a sort), and is never
  // the same for two lists: a window tells by it whether the rows are still the ones it put there.
  std::uint64_t Revision() const;
  void BeginUpdate();
  void EndUpdate();

  std::optional<ListItem> SelectedItem() const;
  bool FullRowSelect() const { return fullRowSelect_; }
  void SetFullRowSelect(bool fullRowSelect) { fullRowSelect_ = fullRowSelect; }
  bool GridLines() const;
  void SetGridLines(bool gridLines);
  bool HideColumnHeaders() const;
  void SetHideColumnHeaders(bool hide);
  // Sorting by the text of column SortKey + 1 (0 is the item text), letter case ignored;
  // SortOrder 0 ascending, 1 descending. Turning Sorted on sorts the rows at once.
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  int SortKey() const { return sortKey_; }
  void SetSortKey(int key);
  int SortOrder() const { return sortOrder_; }
  void SetSortOrder(int order);

  QAbstractItemModel* Model() const;
  QTableView* View() const;
  void CopyDesignFrom(const Control& source) override;

  std::function<void(int Index)> ItemClick;
  std::function<void(int ColumnIndex)> ColumnClick;

 protected:
  void OnMouseRelease(QMouseEvent& event) override;
  void ApplyFont() override;
  QPalette::ColorRole BackRole() const override { return QPalette::Base; }
  QPalette::ColorRole ForeRole() const override { return QPalette::Text; }

 private:
  friend class ColumnHeader;
  friend class ColumnHeaderCollection;
  friend class ListItem;
  friend class ListItemCollection;

  void ApplyColumnWidths();
  void Sort();
  ShiftingTableView* Table() const;
  void InsertRowShown(int row, QStringList texts);  // row from 0

  std::unique_ptr<ListViewModel> model_;
  bool fullRowSelect_ = false;
  bool sorted_ = false;
  int sortKey_ = 0;
  int sortOrder_ = 0;
  int updateDepth_ = 0;
  bool applyingWidths_ = false;
};

}  // namespace platform
