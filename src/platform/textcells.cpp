#include "platform/textcells.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

namespace platform {

namespace {

// The states and features in which the style draws more than the text.
bool IsPlainText(const QStyleOptionViewItem& cell) {
  constexpr QStyle::State kDrawnStates =
      QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver | QStyle::State_Editing;
  constexpr QStyleOptionViewItem::ViewItemFeatures kDrawnFeatures =
      QStyleOptionViewItem::WrapText | QStyleOptionViewItem::Alternate | QStyleOptionViewItem::HasCheckIndicator |
      QStyleOptionViewItem::HasDecoration;
  return !(cell.state & kDrawnStates) && !(cell.features & kDrawnFeatures) &&
         cell.backgroundBrush.style() == Qt::NoBrush && !cell.text.contains(QLatin1Char('\n')) &&
         !cell.text.contains(QChar::LineSeparator);
}

QPalette::ColorGroup TextColorGroup(const QStyleOptionViewItem& cell) {
  if (!(cell.state & QStyle::State_Enabled)) return QPalette::Disabled;
  return cell.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

// The text laid out on one line as the style lays it out in the cell's text rectangle; false when
// it takes more than one line, more than the width or more than the height, which the style cuts.
bool LayOutOneLine(QTextLayout& layout, const QStyleOptionViewItem& cell, const QRect& textRect) {
  QTextOption textOption;
  textOption.setWrapMode(QTextOption::ManualWrap);
  textOption.setTextDirection(cell.direction);
  textOption.setAlignment(QStyle::visualAlignment(cell.direction, cell.displayAlignment));
  layout.setTextOption(textOption);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  bool fits = line.isValid();
  if (fits) {
    line.setLineWidth(textRect.width());
    line.setPosition(QPointF(0, 0));
    fits = line.naturalTextWidth() <= textRect.width() && line.height() <= textRect.height() &&
           !layout.createLine().isValid();
  }
  layout.endLayout();
  return fits;
}

}  // namespace

void TextCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  if (!IsPlainText(cell)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  if (cell.text.isEmpty()) return;
  const QWidget* widget = cell.widget;
  const QStyle* style = widget ? widget->style() : QApplication::style();
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect textRect = cell.rect.adjusted(margin, 0, -margin, 0);
  QTextLayout layout(cell.text, cell.font);
  if (!LayOutOneLine(layout, cell, textRect)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QRect placed = QStyle::alignedRect(Qt::LeftToRight, cell.displayAlignment,
                                           layout.boundingRect().size().toSize(), textRect);
  painter->save();
  painter->setClipRegion(painter->hasClipping() ? (painter->clipRegion() & cell.rect) : QRegion(cell.rect));
  painter->setPen(cell.palette.color(TextColorGroup(cell), QPalette::Text));
  layout.draw(painter, QPointF(textRect.x(), placed.top()));
  painter->restore();
}

}  // namespace platform
