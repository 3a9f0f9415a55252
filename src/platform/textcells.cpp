#include "platform/textcells.h"

#include <QApplication>
#include <QCache>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

#include <tuple>

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
bool LayOutOneLine(QTextLayout& layout, const QStyleOptionViewItem& cell, const QSize& textSize) {
  QTextOption textOption;
  textOption.setWrapMode(QTextOption::ManualWrap);
  textOption.setTextDirection(cell.direction);
  textOption.setAlignment(QStyle::visualAlignment(cell.direction, cell.displayAlignment));
  layout.setTextOption(textOption);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  bool fits = line.isValid();
  if (fits) {
    line.setLineWidth(textSize.width());
    line.setPosition(QPointF(0, 0));
    fits = line.naturalTextWidth() <= textSize.width() && line.height() <= textSize.height() &&
           !layout.createLine().isValid();
  }
  layout.endLayout();
  return fits;
}

// What a text laid out for a cell depends on.
struct CellTextKey {
  QString text;
  QFont font;
  QSize size;
  Qt::Alignment alignment;
  Qt::LayoutDirection direction;
  bool operator==(const CellTextKey& other) const {
    return std::tie(text, size, alignment, direction) ==
               std::tie(other.text, other.size, other.alignment, other.direction) &&
           font == other.font;
  }
};

size_t qHash(const CellTextKey& key, size_t seed = 0) {
  return qHashMulti(seed, key.text, key.font, key.size.width(), key.size.height(), key.alignment.toInt(),
                    static_cast<int>(key.direction));
}

struct CellText {
  QTextLayout layout;
  bool fits = false;
};

// Texts laid out for cells, kept for the cells that show them again: a log's columns repeat
// their reports, bands, modes and grids, and laying a text out costs about what drawing it does.
// The least recently used go first. Lists are drawn on the GUI thread only.
const CellText& LaidOut(const QStyleOptionViewItem& cell, const QSize& textSize) {
  static QCache<CellTextKey, CellText> kept(512);
  CellTextKey key{cell.text, cell.font, textSize, cell.displayAlignment, cell.direction};
  if (const CellText* known = kept.object(key)) return *known;
  auto* laidOut = new CellText{QTextLayout(cell.text, cell.font)};
  laidOut->layout.setCacheEnabled(true);  // else drawing it shapes the text again
  laidOut->fits = LayOutOneLine(laidOut->layout, cell, textSize);
  kept.insert(std::move(key), laidOut);
  return *laidOut;
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
  const CellText& laidOut = LaidOut(cell, textRect.size());
  if (!laidOut.fits) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QRect placed = QStyle::alignedRect(Qt::LeftToRight, cell.displayAlignment,
                                           laidOut.layout.boundingRect().size().toSize(), textRect);
  painter->save();
  painter->setClipRect(cell.rect, Qt::IntersectClip);
  painter->setPen(cell.palette.color(TextColorGroup(cell), QPalette::Text));
  laidOut.layout.draw(painter, QPointF(textRect.x(), placed.top()));
  painter->restore();
}

}  // namespace platform
