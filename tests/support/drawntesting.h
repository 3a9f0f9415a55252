#pragma once

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QListWidget>
#include <QPaintEvent>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <QWindow>

// A widget as it stands on the screen, what earlier drawings left of it included, and as a
// drawing of it from scratch shows it: after a change drawn in part, the two are the same.
inline QImage OnScreen(const QWidget& widget) {
  const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
  return widget.screen()
      ->grabWindow(widget.window()->winId(), at.x(), at.y(), widget.width(), widget.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}
inline QImage DrawnAfresh(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Lets a view lay out and draw what is pending: a layout waits for the event loop, and so does
// the drawing it asks for.
inline void Settle() {
  for (int pass = 0; pass < 4; ++pass) QApplication::processEvents();
}

// The parts of a widget drawn, as the events that drew them.
class DrawnParts : public QObject {
 public:
  explicit DrawnParts(QWidget* widget) { widget->installEventFilter(this); }
  QRegion drawn;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) drawn += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

// The part of a list's rows area that the items from `first` on take on screen.
inline QRegion ItemPlacesFrom(const QListWidget& list, int first) {
  QRegion places;
  for (int row = first; row < list.count(); ++row) places += list.visualItemRect(list.item(row));
  return places & list.viewport()->rect();
}
