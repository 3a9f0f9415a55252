#include "platform/controls.h"

#include "platform/errors.h"
#include "platform/listboxwidget.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>

namespace platform {

namespace {

void RequireIndexBelow(int index, int count) {
  if (index < 0 || index >= count) InvalidProcedureCall();
}

// The place AddItem puts an item: the index asked for, or with none (-1) the end of the list, or
// in a sorted list the place after every item that is not greater, case ignored.
template <class TextAt>
int PlaceOfNewItem(const QString& item, int index, int count, bool sorted, TextAt textAt) {
  if (index > count || index < -1) InvalidProcedureCall();
  if (index >= 0) return index;
  int position = count;
  while (sorted && position > 0 && QString::compare(textAt(position - 1), item, Qt::CaseInsensitive) > 0)
    --position;
  return position;
}

}  // namespace

// ---- ListBox ----

ListBox::ListBox(Container* parent, const QString& name, int index)
    : Control(ControlKind::ListBox, parent, name, index, new ListBoxWidget(parent->ClientWidget())) {
  static_cast<ListBoxWidget*>(list())->chosenAgain = [this] { Raise(Click); };
  // The selection is the list's index: the current row that a list takes on getting the focus
  // selects nothing.
  QObject::connect(list(), &QListWidget::itemSelectionChanged, list(), [this] {
    if (ListIndex() >= 0) Raise(Click);
  });
  QObject::connect(list(), &QListWidget::itemDoubleClicked, list(), [this] { Raise(DblClick); });
}

QListWidget* ListBox::list() const { return static_cast<QListWidget*>(Widget()); }

void ListBox::RequireIndex(int index) const { RequireIndexBelow(index, list()->count()); }

void ListBox::AddItem(const QString& item, int index) {
  index = PlaceOfNewItem(item, index, list()->count(), sorted_, [this](int i) { return list()->item(i)->text(); });
  list()->insertItem(index, item);
  newIndex_ = index;
}

void ListBox::RemoveItem(int index) {
  RequireIndex(index);
  delete list()->takeItem(index);
}

void ListBox::Clear() { list()->clear(); }

QString ListBox::List(int index) const {
  const QListWidgetItem* item = list()->item(index);
  return item ? item->text() : QString();
}

void ListBox::SetList(int index, const QString& item) {
  RequireIndex(index);
  list()->item(index)->setText(item);
}

int ListBox::ListCount() const { return list()->count(); }
int ListBox::ListIndex() const {
  const QList<QListWidgetItem*> selected = list()->selectedItems();
  return selected.isEmpty() ? -1 : list()->row(selected.first());
}

void ListBox::SetListIndex(int index) {
  if (index < -1 || index >= list()->count()) InvalidPropertyValue();
  list()->setCurrentRow(index);
  if (index < 0) list()->clearSelection();
}

std::int32_t ListBox::ItemData(int index) const {
  RequireIndex(index);
  return list()->item(index)->data(Qt::UserRole).toInt();
}

void ListBox::SetItemData(int index, std::int32_t data) {
  RequireIndex(index);
  list()->item(index)->setData(Qt::UserRole, data);
}

bool ListBox::Selected(int index) const {
  RequireIndex(index);
  return list()->item(index)->isSelected();
}

void ListBox::SetSelected(int index, bool selected) {
  RequireIndex(index);
  if (selected) {
    SetListIndex(index);
  } else {
    list()->item(index)->setSelected(false);
  }
}

QString ListBox::Text() const { return List(ListIndex()); }

void ListBox::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  sorted_ = static_cast<const ListBox&>(source).sorted_;
}

// ---- ComboBox ----

ComboBox::ComboBox(Container* parent, const QString& name, int index)
    : Control(ControlKind::ComboBox, parent, name, index, new QComboBox(parent->ClientWidget())) {
  combo()->setInsertPolicy(QComboBox::NoInsert);
  QObject::connect(combo(), &QComboBox::currentIndexChanged, combo(), [this](int row) {
    if (row >= 0) Raise(Click);
  });
  SetStyle(0);
}

QComboBox* ComboBox::combo() const { return static_cast<QComboBox*>(Widget()); }

void ComboBox::SetStyle(int style) {
  if (style < 0 || style > 2) InvalidPropertyValue();
  style_ = style;
  combo()->setEditable(style != 2);
  QLineEdit* edit = combo()->lineEdit();
  if (edit && edit != watchedEdit_) {
    watchedEdit_ = edit;
    WatchInputOf(edit);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this] { Raise(Change); });
  }
}

QString ComboBox::Text() const { return combo()->currentText(); }

void ComboBox::SetText(const QString& text) {
  if (text == Text()) return;
  if (combo()->isEditable()) {
    combo()->setEditText(text);
    Raise(Change);
    return;
  }
  // A drop-down list shows only its items.
  const int row = combo()->findText(text, Qt::MatchFixedString);
  if (row < 0) throw RuntimeError(QStringLiteral("'Text' property is read-only"), 383);
  combo()->setCurrentIndex(row);
}

void ComboBox::RequireIndex(int index) const { RequireIndexBelow(index, combo()->count()); }

void ComboBox::AddItem(const QString& item, int index) {
  index = PlaceOfNewItem(item, index, combo()->count(), sorted_, [this](int i) { return combo()->itemText(i); });
  // Adding the first item must not select it: the text part stays as it was.
  const QString text = combo()->currentText();
  const int current = combo()->currentIndex();
  combo()->blockSignals(true);
  combo()->insertItem(index, item);
  if (current < 0) {
    combo()->setCurrentIndex(-1);
    if (combo()->isEditable()) combo()->setEditText(text);
  }
  combo()->blockSignals(false);
  newIndex_ = index;
}

void ComboBox::RemoveItem(int index) {
  RequireIndex(index);
  combo()->removeItem(index);
}

void ComboBox::Clear() {
  combo()->clear();
  if (combo()->isEditable()) combo()->setEditText(QString());
}

QString ComboBox::List(int index) const {
  return index >= 0 && index < combo()->count() ? combo()->itemText(index) : QString();
}

int ComboBox::ListCount() const { return combo()->count(); }
int ComboBox::ListIndex() const { return combo()->currentIndex(); }

void ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= combo()->count()) InvalidPropertyValue();
  combo()->setCurrentIndex(index);
}

std::int32_t ComboBox::ItemData(int index) const {
  RequireIndex(index);
  return combo()->itemData(index).toInt();
}

void ComboBox::SetItemData(int index, std::int32_t data) {
  RequireIndex(index);
  combo()->setItemData(index, data);
}

int ComboBox::SelStart() const {
  const QLineEdit* edit = combo()->lineEdit();
  if (!edit) return 0;
  return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

void ComboBox::SetSelStart(int start) {
  if (QLineEdit* edit = combo()->lineEdit()) edit->setCursorPosition(start);
}

int ComboBox::SelLength() const {
  const QLineEdit* edit = combo()->lineEdit();
  return edit ? static_cast<int>(edit->selectedText().size()) : 0;
}

void ComboBox::SetSelLength(int length) {
  QLineEdit* edit = combo()->lineEdit();
  if (!edit) return;
  const int start = SelStart();
  edit->setSelection(start, std::clamp(length, 0, static_cast<int>(edit->text().size()) - start));
}

void ComboBox::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  const auto& other = static_cast<const ComboBox&>(source);
  SetStyle(other.style_);
  sorted_ = other.sorted_;
}

}  // namespace platform
