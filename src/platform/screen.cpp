#include "platform/screen.h"

#include "platform/twips.h"

#include <QGuiApplication>
#include <QRectF>
#include <QScreen>

#include <optional>

namespace platform {

namespace {

std::optional<QRectF>& TestScreen() {
  static std::optional<QRectF> screen;
  return screen;
}

std::optional<QRectF>& TestWorkArea() {
  static std::optional<QRectF> area;
  return area;
}

QRectF InTwips(const QRect& pixels) {
  return QRectF(PixelsToTwips(pixels.x()), PixelsToTwips(pixels.y()), PixelsToTwips(pixels.width()),
                PixelsToTwips(pixels.height()));
}

QRectF ScreenArea() {
  if (TestScreen()) return *TestScreen();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? InTwips(screen->geometry()) : QRectF(0, 0, DesignScreen.width, DesignScreen.height);
}

QRectF WorkArea() {
  if (TestWorkArea()) return *TestWorkArea();
  if (TestScreen()) return *TestScreen();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? InTwips(screen->availableGeometry()) : ScreenArea();
}

}  // namespace

double Screen::Width() { return ScreenArea().width(); }
double Screen::Height() { return ScreenArea().height(); }
double Screen::WorkAreaLeft() { return WorkArea().left(); }
double Screen::WorkAreaTop() { return WorkArea().top(); }
double Screen::WorkAreaWidth() { return WorkArea().width(); }
double Screen::WorkAreaHeight() { return WorkArea().height(); }
double Screen::TwipsPerPixelX() { return TwipsPerPixel; }
double Screen::TwipsPerPixelY() { return TwipsPerPixel; }

void Screen::SetSizeForTesting(double width, double height) { TestScreen() = QRectF(0, 0, width, height); }

void Screen::SetWorkAreaForTesting(double left, double top, double width, double height) {
  TestWorkArea() = QRectF(left, top, width, height);
}

void Screen::ResetForTesting() {
  TestScreen().reset();
  TestWorkArea().reset();
}

}  // namespace platform
