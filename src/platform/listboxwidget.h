#pragma once

#include <QListWidget>
#include <QStyleOptionViewItem>

#include <functional>
#include <optional>
#include <utility>

namespace platform {

class TextCellDelegate;

// The list under a list box. Items are one line each and of one size, as wide as the widest
// item's text. An item added at the end is drawn alone: the items above it stay as drawn, and
// an item beyond the rows on screen costs no drawing but the scroll bar's.
class ListBoxWidget : public QListWidget {
 public:
  explicit ListBoxWidget(QWidget* parent);

  // Raised by a left click on the item already selected, which changes no selection but is a
  // choice all the same.
  std::function<void()> chosenAgain;

  // The width every item takes: the widest item text's, with its margins.
  int ItemWidth();
  // An item's height, from the item drawing's size for it; the last size taken is kept.
  int ItemHeight(const QStyleOptionViewItem& option, const QModelIndex& index);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;
  void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
  void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) override;
  void reset() override;
  void changeEvent(QEvent* event) override;
  void doItemsLayout() override;
  bool viewportEvent(QEvent* event) override;

 private:
  // What the items' places and the scroll bars depend on, beyond the vertical range.
  struct Geometry {
    QSize item;
    QRect viewport;
    int horizontalMaximum = 0;
    bool horizontalShown = false;
    bool verticalShown = false;
    bool operator==(const Geometry&) const = default;
  };

  int TextWidth(const QStyleOptionViewItem& option, int row);
  void ForgetItemSizes();  // an item's text, the items' font or style changed, or an item went
  void Relayout();  // whatever changed beyond items added at the end
  void LayOutAppended(int firstAppended, const QRegion& drawnUnlaid);
  Geometry CurrentGeometry() const;

  TextCellDelegate* cells_ = nullptr;  // draws the items, owned by the list
  std::optional<int> widest_;          // the widest item's width, unknown after a removal or change
  std::optional<std::pair<int, int>> lastHeight_;  // the last row measured and its height
  int appendedFrom_ = -1;              // the first item added at the end since the last layout
  bool relayout_ = false;              // something else changed since the last layout
  QRegion drawnUnlaid_;                // rows drawn since items were added, before their layout
  std::optional<Geometry> laidOut_;    // as the last layout left it
};

}  // namespace platform
