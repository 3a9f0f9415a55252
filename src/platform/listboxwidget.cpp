#include "platform/listboxwidget.h"

#include "platform/quietscrollbar.h"
#include "platform/textcells.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

namespace platform {

namespace {

// Every item takes the widest item's width. A list of uniform item sizes sizes every item as its
// last one, which would cut every wider item above it to an ellipsis.
class ListBoxItemDelegate : public TextCellDelegate {
 public:
  explicit ListBoxItemDelegate(ListBoxWidget* list) : TextCellDelegate(list), list_(list) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {list_->ItemWidth(), list_->ItemHeight(option, index)};
  }

 private:
  ListBoxWidget* list_;
};

// Holds back what widgets ask to have drawn while it lives. The attribute is set directly:
// setUpdatesEnabled(true) would draw each widget whole again.
class DrawingHeld {
 public:
  explicit DrawingHeld(std::initializer_list<QWidget*> widgets) {
    for (QWidget* widget : widgets) {
      if (widget->updatesEnabled()) held_.push_back(widget);
    }
    for (QWidget* widget : held_) widget->setAttribute(Qt::WA_UpdatesDisabled, true);
  }
  ~DrawingHeld() {
    for (QWidget* widget : held_) widget->setAttribute(Qt::WA_UpdatesDisabled, false);
  }
  DrawingHeld(const DrawingHeld&) = delete;
  DrawingHeld& operator=(const DrawingHeld&) = delete;

 private:
  std::vector<QWidget*> held_;
};

}  // namespace

ListBoxWidget::ListBoxWidget(QWidget* parent) : QListWidget(parent) {
  setVerticalScrollBar(new QuietScrollBar(Qt::Vertical, this));
  setHorizontalScrollBar(new QuietScrollBar(Qt::Horizontal, this));
  setUniformItemSizes(true);
  setItemDelegate(cells_ = new ListBoxItemDelegate(this));
}

// The width the cells' drawing asks of an item of its own.
int ListBoxWidget::TextWidth(const QStyleOptionViewItem& option, int row) {
  const QSize size = cells_->TextCellDelegate::sizeHint(option, model()->index(row, 0));
  lastHeight_ = {row, size.height()};
  return size.width();
}

int ListBoxWidget::ItemWidth() {
  if (!widest_) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int widest = 0;
    for (int row = 0; row < model()->rowCount(); ++row) widest = std::max(widest, TextWidth(option, row));
    widest_ = widest;
  }
  return *widest_;
}

// Items of one size take the last item's size at every layout; an item added at the end has had
// its size taken already, for its width.
int ListBoxWidget::ItemHeight(const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (!lastHeight_ || lastHeight_->first != index.row()) {
    lastHeight_ = {index.row(), cells_->TextCellDelegate::sizeHint(option, index).height()};
  }
  return lastHeight_->second;
}

void ListBoxWidget::ForgetItemSizes() {
  widest_.reset();
  lastHeight_.reset();
}

void ListBoxWidget::mousePressEvent(QMouseEvent* event) {
  QListWidgetItem* before = currentItem();
  const bool wasSelected = before != nullptr && before->isSelected();
  QListWidget::mousePressEvent(event);
  if (event->button() == Qt::LeftButton && wasSelected && itemAt(event->position().toPoint()) == before &&
      before->isSelected() && chosenAgain) {
    chosenAgain();
  }
}

void ListBoxWidget::rowsInserted(const QModelIndex& parent, int start, int end) {
  lastHeight_.reset();  // the rows below moved
  if (widest_) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    for (int row = start; row <= end; ++row) widest_ = std::max(*widest_, TextWidth(option, row));
  }
  const bool atTheEnd = start > 0 && end == model()->rowCount() - 1;
  if (atTheEnd && !relayout_) {
    if (appendedFrom_ < 0) appendedFrom_ = start;
  } else {
    Relayout();
  }
  QListWidget::rowsInserted(parent, start, end);
}

void ListBoxWidget::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
  ForgetItemSizes();
  Relayout();
  QListWidget::rowsAboutToBeRemoved(parent, start, end);
}

void ListBoxWidget::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
  ForgetItemSizes();
  QListWidget::dataChanged(topLeft, bottomRight, roles);
}

void ListBoxWidget::reset() {
  ForgetItemSizes();
  Relayout();
  QListWidget::reset();
}

void ListBoxWidget::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    ForgetItemSizes();
    Relayout();
  }
  QListWidget::changeEvent(event);
}

// Rows drawn while items wait for their layout show nothing of the items there: the layout
// starts from scratch, and a full layout would draw every row again afterwards.
bool ListBoxWidget::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Paint && appendedFrom_ >= 0) drawnUnlaid_ += static_cast<QPaintEvent*>(event)->region();
  return QListWidget::viewportEvent(event);
}

void ListBoxWidget::Relayout() {
  relayout_ = true;
  appendedFrom_ = -1;
}

void ListBoxWidget::doItemsLayout() {
  const int appendedFrom = std::exchange(appendedFrom_, -1);
  const QRegion drawnUnlaid = std::exchange(drawnUnlaid_, QRegion());
  if (std::exchange(relayout_, false) || appendedFrom < 0 || !laidOut_ || !isVisible()) {
    QListWidget::doItemsLayout();
  } else {
    LayOutAppended(appendedFrom, drawnUnlaid);
  }
  laidOut_ = CurrentGeometry();
}

// The list's layout draws its whole rows area again, and its scroll area, laid out again, draws
// both scroll bars (here and again from the bars' range signals). Only the new items' places are
// drawn instead, and the vertical bar draws itself when its range grows; whatever else moved has
// the list drawn whole.
void ListBoxWidget::LayOutAppended(int firstAppended, const QRegion& drawnUnlaid) {
  const Geometry before = *laidOut_;
  {
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    const DrawingHeld held{viewport(), horizontal->parentWidget(), vertical->parentWidget()};
    const QSignalBlocker quietHorizontal(horizontal);
    const QSignalBlocker quietVertical(vertical);
    QListWidget::doItemsLayout();
  }
  if (CurrentGeometry() != before) {
    update();  // the frame and the scroll bars: the rows area, opaque, is not drawn with them
    viewport()->update();
    return;
  }
  QRegion changed = drawnUnlaid;
  for (int row = firstAppended; row < model()->rowCount(); ++row) changed += visualRect(model()->index(row, 0));
  viewport()->update(changed);
}

ListBoxWidget::Geometry ListBoxWidget::CurrentGeometry() const {
  const QScrollBar* horizontal = horizontalScrollBar();
  return {model()->rowCount() > 0 ? rectForIndex(model()->index(0, 0)).size() : QSize(),
          viewport()->geometry(), horizontal->maximum(), horizontal->isVisibleTo(this),
          verticalScrollBar()->isVisibleTo(this)};
}

}  // namespace platform
