#pragma once

#include <QScrollBar>

#include <optional>

namespace platform {

// A scroll bar of a list that draws itself again on a new range only when that changes what it
// shows: the slider's place and size, and whether the slider stands at an end. A list growing by
// a row moves the range at every row and the slider seldom, and a tall bar is costly to draw.
class QuietScrollBar : public QScrollBar {
 public:
  QuietScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

 protected:
  void sliderChange(SliderChange change) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Look {
    QRect slider;
    bool atMinimum = false;
    bool atMaximum = false;
    bool operator==(const Look&) const = default;
  };
  Look CurrentLook() const;

  std::optional<Look> shown_;
};

}  // namespace platform
