#include "app/arrowpictures.h"

#include <QPainter>
#include <QPolygonF>
#include <QTransform>

namespace app {

namespace {

// Drawn large so that it stays sharp on the largest buttons; the button fits it to its face.
constexpr int PictureSide = 64;

// Quarter turns clockwise from an arrow pointing up.
int QuarterTurns(Qt::ArrowType direction) {
  switch (direction) {
    case Qt::RightArrow: return 1;
    case Qt::DownArrow: return 2;
    case Qt::LeftArrow: return 3;
    default: return 0;
  }
}

}  // namespace

QImage DrawArrowPicture(Qt::ArrowType direction) {
  QImage picture(PictureSide, PictureSide, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const double middle = PictureSide / 2.0;
  painter.translate(middle, middle);
  painter.rotate(90.0 * QuarterTurns(direction));
  // An up-pointing head, a little wider than tall, with a clear margin around it.
  const QPolygonF head({QPointF(0, -13), QPointF(19, 12), QPointF(-19, 12)});
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0));
  painter.drawPolygon(head);
  return picture;
}

}  // namespace app
