#include "platform/listview.h"

#include "platform/errors.h"
#include "platform/quietscrollbar.h"
#include "platform/textcells.h"
#include "platform/twips.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>

#include <algorithm>
#include <deque>
#include <iterator>
#include <utility>

namespace platform {

namespace {

RuntimeError IndexOutOfBounds() { return RuntimeError(QStringLiteral("Index out of bounds"), 35600); }

Qt::Alignment ColumnAlignment(int alignment) {
  switch (alignment) {
    case AlignRight: return Qt::AlignRight | Qt::AlignVCenter;
    case AlignCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

}  // namespace

struct Column {
  QString text;
  double width;
  int alignment;
};

// Rows of texts under column headers. Changes of many rows go through one reset.
class ListViewModel : public QAbstractTableModel {
 public:
  // A deque, so a row put in at the top of a long list moves no other row.
  std::deque<QStringList> rows;
  std::uint64_t revision = 0;

  // Every change of the rows takes a revision no list has had before.
  void Changed() {
    static std::uint64_t revisions = 0;
    revision = ++revisions;
  }
  std::vector<Column> columns;

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(columns.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return rows[static_cast<std::size_t>(index.row())].value(index.column());
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(index.column()));
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return columns[static_cast<std::size_t>(section)].text;
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(section));
    return {};
  }

  void BeginReset() { beginResetModel(); }
  void EndReset() { endResetModel(); }
  void InsertRow(int row, QStringList texts, bool announce) {
    if (announce) beginInsertRows({}, row, row);
    rows.insert(rows.begin() + row, std::move(texts));
    Changed();
    if (announce) endInsertRows();
  }
  void RemoveRow(int row, bool announce) {
    if (announce) beginRemoveRows({}, row, row);
    rows.erase(rows.begin() + row);
    Changed();
    if (announce) endRemoveRows();
  }
  void CellChanged(int row, int column) {
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell);
  }
  void ColumnTextChanged(int column) { emit headerDataChanged(Qt::Horizontal, column, column); }

 private:
  // The first column always reads from the left, whatever its header says.
  Qt::Alignment AlignmentOf(int column) const {
    return ColumnAlignment(column == 0 ? AlignLeft : columns[static_cast<std::size_t>(column)].alignment);
  }
};

// A table view that, when rows went in where they push the rows on screen down, moves what it
// has drawn of those rows down and draws only the new ones, instead of drawing every row on
// screen again: a log's list takes a new contact at its top at every commit.
class ShiftingTableView : public QTableView {
 public:
  using QTableView::QTableView;

  // Called just before one row goes in at `row`, to take `height`. The rows from there down move
  // by that height: also all of the rows on screen when the list is scrolled past the row.
  void RowGoingIn(int row, int height) {
    const int count = model()->rowCount();
    const int top = row < count ? rowViewportPosition(row)
                    : count > 0 ? rowViewportPosition(count - 1) + rowHeight(count - 1)
                                : 0;
    shifts_.push_back({std::max(top, 0), height});
  }

  // Called just before row `row` goes; only a row beneath the rows on screen is drawn without a
  // full drawing, since none of the rows shown moves.
  void RowGoingOut(int row) {
    if (rowViewportPosition(row) < viewport()->height() || verticalScrollBar()->value() > 0) Redraw();
  }

  // Whatever else changed: the next layout draws every row on screen.
  void Redraw() { redraw_ = true; }

  void doItemsLayout() override {
    std::vector<Shift> shifts;
    shifts.swap(shifts_);
    const bool redraw = std::exchange(redraw_, false);
    // The current cell's focus frame reaches into the row above it, which drawing only the new row
    // would cut: a list with the focus is drawn whole.
    if (redraw || shifts.empty() || !isVisible() || hasFocus() || !FollowScrollRange()) {
      QTableView::doItemsLayout();
      return;
    }
    if (!verticalHeader()->updatesEnabled()) verticalHeader()->setUpdatesEnabled(true);
    QWidget* rows = viewport();
    for (const Shift& shift : shifts) {
      if (shift.top >= rows->height()) continue;
      // Scrolling a rectangle moves its pixels and asks for the strip it uncovers, the new row.
      rows->scroll(0, shift.height, QRect(0, shift.top, rows->width(), rows->height() - shift.top));
    }
  }

  void updateGeometries() override {
    QTableView::updateGeometries();
    rowsInGeometry_ = model() ? model()->rowCount() : 0;
  }

  // Rows drawn while rows wait to be moved are drawn where they go already: moving them would
  // move them twice.
  bool viewportEvent(QEvent* event) override {
    if (event->type() == QEvent::Paint && !shifts_.empty()) Redraw();
    return QTableView::viewportEvent(event);
  }

 private:
  // The vertical scroll bar takes the rows added since the geometry was laid out, as the base
  // class would lay it out again (which also draws both scroll bars and the frame again). Only
  // rows of one height that add to a bar already in use: false when a full layout is needed.
  bool FollowScrollRange() {
    const int added = model()->rowCount() - rowsInGeometry_;
    if (added == 0) return true;
    QScrollBar* bar = verticalScrollBar();
    if (added < 0 || bar->maximum() == 0 || verticalHeader()->sectionResizeMode(0) != QHeaderView::Fixed) return false;
    const int step =
        verticalScrollMode() == QAbstractItemView::ScrollPerItem ? 1 : verticalHeader()->defaultSectionSize();
    // The scroll area would lay its bars out again on the signal, though both stay as they are.
    const QSignalBlocker quiet(bar);
    bar->setRange(0, bar->maximum() + added * step);
    rowsInGeometry_ += added;
    return true;
  }

  struct Shift {
    int top;
    int height;
  };
  std::vector<Shift> shifts_;
  bool redraw_ = false;
  int rowsInGeometry_ = 0;
};

// ---- ColumnHeader ----

Column& ColumnHeader::column() const { return view_->model_->columns.at(static_cast<std::size_t>(index_ - 1)); }

QString ColumnHeader::Text() const { return column().text; }

void ColumnHeader::SetText(const QString& text) {
  column().text = text;
  view_->model_->ColumnTextChanged(index_ - 1);
}

double ColumnHeader::Width() const { return column().width; }

void ColumnHeader::SetWidth(double twips) {
  if (twips < 0) InvalidPropertyValue();
  column().width = twips;
  view_->ApplyColumnWidths();
}

int ColumnHeader::Alignment() const { return column().alignment; }

void ColumnHeader::SetAlignment(int alignment) {
  column().alignment = alignment;
  view_->model_->ColumnTextChanged(index_ - 1);
}

// ---- ColumnHeaderCollection ----

ColumnHeader ColumnHeaderCollection::Add(const QString& text, double width, int alignment) {
  if (width < 0) InvalidPropertyValue();
  ListViewModel& model = *view_->model_;
  model.BeginReset();
  model.columns.push_back({text, width, alignment});
  model.EndReset();
  view_->ApplyColumnWidths();
  return ColumnHeader(view_, Count());
}

void ColumnHeaderCollection::Clear() {
  ListViewModel& model = *view_->model_;
  model.BeginReset();
  model.columns.clear();
  model.EndReset();
}

int ColumnHeaderCollection::Count() const { return static_cast<int>(view_->model_->columns.size()); }

ColumnHeader ColumnHeaderCollection::operator()(int index) const {
  if (index < 1 || index > Count()) throw IndexOutOfBounds();
  return ColumnHeader(view_, index);
}

// ---- ListItem ----

QString ListItem::Text() const { return view_->model_->rows.at(static_cast<std::size_t>(row_)).value(0); }

void ListItem::SetText(const QString& text) {
  QStringList& texts = view_->model_->rows.at(static_cast<std::size_t>(row_));
  if (texts.isEmpty()) texts.append(QString());
  texts[0] = text;
  view_->model_->Changed();
  if (view_->updateDepth_ == 0) view_->model_->CellChanged(row_, 0);
}

QString ListItem::SubItems(int index) const {
  return view_->model_->rows.at(static_cast<std::size_t>(row_)).value(index);
}

void ListItem::SetSubItems(int index, const QString& text) {
  if (index < 1 || index >= view_->ColumnHeaders.Count()) InvalidPropertyValue();
  QStringList& texts = view_->model_->rows.at(static_cast<std::size_t>(row_));
  while (texts.size() <= index) texts.append(QString());
  texts[index] = text;
  view_->model_->Changed();
  if (view_->updateDepth_ == 0) view_->model_->CellChanged(row_, index);
}

bool ListItem::Selected() const { return view_->View()->selectionModel()->isRowSelected(row_, {}); }

void ListItem::SetSelected(bool selected) {
  QTableView* table = view_->View();
  if (selected) {
    table->selectRow(row_);
  } else {
    table->selectionModel()->select(view_->model_->index(row_, 0),
                                    QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
  }
}

void ListItem::EnsureVisible() { view_->View()->scrollTo(view_->model_->index(row_, 0)); }

// ---- ListItemCollection ----

ListItem ListItemCollection::Add(const QString& text) {
  ListViewModel& model = *view_->model_;
  int row = Count();
  if (view_->sorted_ && view_->sortKey_ == 0) {
    // Rows stay in order while sorted: the new one goes after its equals.
    auto place = std::upper_bound(model.rows.begin(), model.rows.end(), text, [&](const QString& t, const QStringList& r) {
      const int order = QString::compare(t, r.value(0), Qt::CaseInsensitive);
      return view_->sortOrder_ == 0 ? order < 0 : order > 0;
    });
    row = static_cast<int>(place - model.rows.begin());
  }
  view_->InsertRowShown(row, QStringList{text});
  return ListItem(view_, row);
}

ListItem ListItemCollection::Add(int index, const QString& text) {
  view_->InsertRow(index, QStringList{text});
  return ListItem(view_, index - 1);
}

void ListItemCollection::Remove(int index) {
  if (index < 1 || index > Count()) throw IndexOutOfBounds();
  const bool announce = view_->updateDepth_ == 0;
  if (announce) view_->Table()->RowGoingOut(index - 1);
  view_->model_->RemoveRow(index - 1, announce);
}

void ListItemCollection::Clear() { view_->SetRows({}); }

int ListItemCollection::Count() const { return static_cast<int>(view_->model_->rows.size()); }

ListItem ListItemCollection::operator()(int index) const {
  if (index < 1 || index > Count()) throw IndexOutOfBounds();
  return ListItem(view_, index - 1);
}

// ---- ListView ----

ListView::ListView(Container* parent, const QString& name, int index)
    : Control(ControlKind::ListView, parent, name, index, new ShiftingTableView(parent->ClientWidget())),
      model_(std::make_unique<ListViewModel>()) {
  QTableView* table = View();
  table->setVerticalScrollBar(new QuietScrollBar(Qt::Vertical, table));
  table->setHorizontalScrollBar(new QuietScrollBar(Qt::Horizontal, table));
  table->setItemDelegate(new TextCellDelegate(table));
  table->setModel(model_.get());
  table->verticalHeader()->hide();
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table->horizontalHeader()->setStretchLastSection(false);
  table->horizontalHeader()->setHighlightSections(false);
  table->horizontalHeader()->setSectionsClickable(true);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setShowGrid(false);
  table->setWordWrap(false);
  table->setSortingEnabled(false);
  ApplyFont();
  QObject::connect(table->horizontalHeader(), &QHeaderView::sectionClicked, table,
                   [this](int section) { Raise(ColumnClick, section + 1); });
  QObject::connect(table->horizontalHeader(), &QHeaderView::sectionResized, table, [this](int section, int, int size) {
    if (applyingWidths_ || section >= static_cast<int>(model_->columns.size())) return;
    model_->columns[static_cast<std::size_t>(section)].width = PixelsToTwips(size);
  });
  QObject::connect(table, &QTableView::doubleClicked, table, [this] { Raise(DblClick); });
  QObject::connect(model_.get(), &QAbstractItemModel::modelReset, table, [this] { Table()->Redraw(); });
}

ListView::~ListView() { DestroyWidget(); }

QTableView* ListView::View() const { return static_cast<QTableView*>(Widget()); }
ShiftingTableView* ListView::Table() const { return static_cast<ShiftingTableView*>(Widget()); }
QAbstractItemModel* ListView::Model() const { return model_.get(); }

void ListView::ApplyColumnWidths() {
  applyingWidths_ = true;
  for (std::size_t i = 0; i < model_->columns.size(); ++i) {
    View()->setColumnWidth(static_cast<int>(i), TwipsToPixels(model_->columns[i].width));
  }
  applyingWidths_ = false;
}

void ListView::ApplyFont() {
  Control::ApplyFont();
  // Qt does not always pass a later font change on to the header: the column headers would keep
  // an earlier size and no longer fit their columns.
  View()->horizontalHeader()->setFont(View()->font());
  View()->verticalHeader()->setDefaultSectionSize(View()->fontMetrics().height() + 4);
}

void ListView::SetRows(std::vector<QStringList> rows) {
  std::deque<QStringList> taken(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  model_->Changed();
  // Inside BeginUpdate/EndUpdate the reset already under way covers the new rows.
  if (updateDepth_ > 0) {
    model_->rows = std::move(taken);
    return;
  }
  model_->BeginReset();
  model_->rows = std::move(taken);
  if (sorted_) Sort();
  model_->EndReset();
  ApplyColumnWidths();
}

void ListView::InsertRow(int index, QStringList texts) {
  if (index < 1 || index > ListItems.Count() + 1) throw IndexOutOfBounds();
  InsertRowShown(index - 1, std::move(texts));
}

void ListView::InsertRowShown(int row, QStringList texts) {
  const bool announce = updateDepth_ == 0;
  if (announce) Table()->RowGoingIn(row, View()->verticalHeader()->defaultSectionSize());
  model_->InsertRow(row, std::move(texts), announce);
}

void ListView::BeginUpdate() {
  if (updateDepth_++ == 0) model_->BeginReset();
}

void ListView::EndUpdate() {
  if (updateDepth_ == 0 || --updateDepth_ > 0) return;
  if (sorted_) Sort();
  model_->EndReset();
  ApplyColumnWidths();
}

std::optional<ListItem> ListView::SelectedItem() const {
  const QModelIndexList rows = View()->selectionModel()->selectedRows();
  if (rows.isEmpty()) return std::nullopt;
  return ListItem(const_cast<ListView*>(this), rows.first().row());
}

bool ListView::GridLines() const { return View()->showGrid(); }
void ListView::SetGridLines(bool gridLines) { View()->setShowGrid(gridLines); }
bool ListView::HideColumnHeaders() const { return View()->horizontalHeader()->isHidden(); }
void ListView::SetHideColumnHeaders(bool hide) { View()->horizontalHeader()->setHidden(hide); }

std::uint64_t ListView::Revision() const { return model_->revision; }

void ListView::Sort() {
  model_->Changed();
  const int key = sortKey_;
  const bool ascending = sortOrder_ == 0;
  std::stable_sort(model_->rows.begin(), model_->rows.end(), [&](const QStringList& a, const QStringList& b) {
    const int order = QString::compare(a.value(key), b.value(key), Qt::CaseInsensitive);
    return ascending ? order < 0 : order > 0;
  });
}

void ListView::SetSorted(bool sorted) {
  sorted_ = sorted;
  if (!sorted || updateDepth_ > 0) return;
  model_->BeginReset();
  Sort();
  model_->EndReset();
  ApplyColumnWidths();
}

void ListView::SetSortKey(int key) {
  if (key < 0) InvalidPropertyValue();
  sortKey_ = key;
  if (sorted_) SetSorted(true);
}

void ListView::SetSortOrder(int order) {
  sortOrder_ = order == 0 ? 0 : 1;
  if (sorted_) SetSorted(true);
}

void ListView::OnMouseRelease(QMouseEvent& event) {
  QWidget* viewport = View()->viewport();
  const QModelIndex hit = View()->indexAt(viewport->mapFromGlobal(event.globalPosition().toPoint()));
  if (hit.isValid()) Raise(ItemClick, hit.row() + 1);
  Raise(Click);
}

void ListView::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  const auto& other = static_cast<const ListView&>(source);
  model_->BeginReset();
  model_->columns = other.model_->columns;
  model_->EndReset();
  ApplyColumnWidths();
  fullRowSelect_ = other.fullRowSelect_;
  SetGridLines(other.GridLines());
  sortKey_ = other.sortKey_;
  sortOrder_ = other.sortOrder_;
  sorted_ = other.sorted_;
}

}  // namespace platform
