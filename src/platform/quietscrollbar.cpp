#include "platform/quietscrollbar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace platform {

QuietScrollBar::Look QuietScrollBar::CurrentLook() const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
          value() == minimum(), value() == maximum()};
}

void QuietScrollBar::sliderChange(SliderChange change) {
  if (change == SliderRangeChange && shown_ && CurrentLook() == *shown_) return;
  QScrollBar::sliderChange(change);
}

void QuietScrollBar::paintEvent(QPaintEvent* event) {
  QScrollBar::paintEvent(event);
  shown_ = CurrentLook();
}

}  // namespace platform
