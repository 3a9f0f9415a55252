#include "app/logopictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace app {

namespace {

QImage BlankPicture(const QSize& size) {
  QImage picture(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  return picture;
}

void DrawText(QPainter& painter, const QRectF& box, const QString& text, double pixelSize, bool bold,
              const QColor& color, Qt::Alignment alignment) {
  QFont font(QStringLiteral("Sans Serif"));
  font.setPixelSize(std::max(1, static_cast<int>(pixelSize)));
  font.setBold(bold);
  painter.setFont(font);
  painter.setPen(color);
  painter.drawText(box, alignment, text);
}

// A Yagi seen from the side: mast, boom and elements shortening towards the front.
void DrawBeam(QPainter& painter, double w, double h) {
  const double mastX = w * 0.17;
  const double boomY = h * 0.38;
  painter.setPen(QPen(QColor(220, 230, 240), std::max(2.0, w / 250)));
  painter.drawLine(QPointF(mastX, boomY), QPointF(mastX, h));
  const double boomStart = w * 0.05;
  const double boomEnd = w * 0.30;
  painter.drawLine(QPointF(boomStart, boomY), QPointF(boomEnd, boomY));
  constexpr int elements = 7;
  for (int i = 0; i < elements; ++i) {
    const double x = boomStart + (boomEnd - boomStart) * i / (elements - 1);
    const double half = h * (0.13 - 0.012 * i);
    painter.drawLine(QPointF(x, boomY - half), QPointF(x, boomY + half));
  }
}

// Wave fronts leaving the beam.
void DrawWaves(QPainter& painter, double w, double h) {
  const QPointF front(w * 0.30, h * 0.38);
  for (int i = 1; i <= 3; ++i) {
    const double r = h * 0.06 * i;
    painter.setPen(QPen(QColor(255, 200, 80, 240 - 50 * i), std::max(2.0, w / 300)));
    painter.drawArc(QRectF(front.x() - r, front.y() - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
  }
}

}  // namespace

QImage DrawLogoPicture(const QSize& size) {
  QImage picture = BlankPicture(size);
  const double w = picture.width();
  const double h = picture.height();
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, h);
  sky.setColorAt(0, QColor(10, 24, 64));
  sky.setColorAt(0.7, QColor(24, 92, 120));
  sky.setColorAt(1, QColor(230, 140, 60));
  painter.fillRect(picture.rect(), sky);
  DrawBeam(painter, w, h);
  DrawWaves(painter, w, h);
  const QRectF textArea(w * 0.42, h * 0.18, w * 0.56, h * 0.50);
  DrawText(painter, textArea, QStringLiteral("Corvane"), h * 0.20, true, Qt::white, Qt::AlignLeft | Qt::AlignTop);
  DrawText(painter, textArea.translated(0, h * 0.26), QStringLiteral("VHF / UHF Contest Logger"), h * 0.065, false,
           QColor(255, 220, 150), Qt::AlignLeft | Qt::AlignTop);
  return picture;
}

QImage DrawMakerBadge(const QSize& size) {
  QImage picture = BlankPicture(size);
  const QRectF area = QRectF(picture.rect()).adjusted(1, 1, -1, -1);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath badge;
  badge.addRoundedRect(area, area.height() / 4, area.height() / 4);
  painter.fillPath(badge, QColor(10, 24, 64));
  DrawText(painter, area, QStringLiteral("Varnek Software"), area.height() * 0.34, true, QColor(255, 220, 150),
           Qt::AlignCenter);
  return picture;
}

}  // namespace app
