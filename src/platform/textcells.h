#pragma once

#include <QStyledItemDelegate>

namespace platform {

// Draws the cells of the list controls. A cell of one line of text that fits, not selected and
// without the focus, is drawn as the style draws it but from one layout of its text, where the
// style lays the text out three times, and a text laid out once is kept for the cells that show
// it again; every other cell is left to the style. The text layout is most of what a new
// contact's row or a new grid costs to draw.
class TextCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace platform
