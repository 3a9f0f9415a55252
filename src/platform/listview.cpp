#include "platform/listview.h"

#include "platform/errors.h"
#include "platform/twips.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>

#include <algorithm>

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
  std::vector<QStringList> rows;
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
    if (announce) endInsertRows();
  }
  void RemoveRow(int row, bool announce) {
    if (announce) beginRemoveRows({}, row, row);
    rows.erase(rows.begin() + row);
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
  model.InsertRow(row, QStringList{text}, view_->updateDepth_ == 0);
  return ListItem(view_, row);
}

ListItem ListItemCollection::Add(int index, const QString& text) {
  if (index < 1 || index > Count() + 1) throw IndexOutOfBounds();
  view_->model_->InsertRow(index - 1, QStringList{text}, view_->updateDepth_ == 0);
  return ListItem(view_, index - 1);
}

void ListItemCollection::Remove(int index) {
  if (index < 1 || index > Count()) throw IndexOutOfBounds();
  view_->model_->RemoveRow(index - 1, view_->updateDepth_ == 0);
}

void ListItemCollection::Clear() { view_->SetRows({}); }

int ListItemCollection::Count() const { return static_cast<int>(view_->model_->rows.size()); }

ListItem ListItemCollection::operator()(int index) const {
  if (index < 1 || index > Count()) throw IndexOutOfBounds();
  return ListItem(view_, index - 1);
}

// ---- ListView ----

ListView::ListView(Container* parent, const QString& name, int index)
    : Control(ControlKind::ListView, parent, name, index, new QTableView(parent->ClientWidget())),
      model_(std::make_unique<ListViewModel>()) {
  QTableView* table = View();
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
}

ListView::~ListView() { DestroyWidget(); }

QTableView* ListView::View() const { return static_cast<QTableView*>(Widget()); }
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
  // Inside BeginUpdate/EndUpdate the reset already under way covers the new rows.
  if (updateDepth_ > 0) {
    model_->rows = std::move(rows);
    return;
  }
  model_->BeginReset();
  model_->rows = std::move(rows);
  if (sorted_) Sort();
  model_->EndReset();
  ApplyColumnWidths();
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

void ListView::Sort() {
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
