#include "platform/controls.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/twips.h"

#include <QFileInfo>
#include <QPainter>

namespace platform {

// ---- Line ----

class LineWidget : public QWidget {
 public:
  LineWidget(QWidget* parent, Line* line) : QWidget(parent), line_(line) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  void Attach(Line* line) { line_ = line; }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!line_) return;
    QPainter painter(this);
    painter.setPen(QPen(ToQColor(line_->borderColor_), line_->borderWidth_,
                        line_->borderStyle_ == Line::LineDotted ? Qt::DotLine : Qt::SolidLine));
    const QPoint origin = pos();
    painter.drawLine(QPoint(TwipsToPixels(line_->x1_), TwipsToPixels(line_->y1_)) - origin,
                     QPoint(TwipsToPixels(line_->x2_), TwipsToPixels(line_->y2_)) - origin);
  }

 private:
  Line* line_;
};

Line::Line(Container* parent, const QString& name, int index)
    : Control(ControlKind::Line, parent, name, index, new LineWidget(parent->ClientWidget(), nullptr)) {
  static_cast<LineWidget*>(Widget())->Attach(this);
  ApplyGeometry();
}

// The widget covers the line's bounding box and the pen's width around it.
void Line::ApplyGeometry() {
  if (!Widget()) return;
  const int pad = borderWidth_;
  const QPoint a(TwipsToPixels(x1_), TwipsToPixels(y1_));
  const QPoint b(TwipsToPixels(x2_), TwipsToPixels(y2_));
  const QRect box = QRect(a, b).normalized().adjusted(-pad, -pad, pad + 1, pad + 1);
  Widget()->setGeometry(box);
  Widget()->update();
}

void Line::SetX1(double twips) { SetEnds(twips, y1_, x2_, y2_); }
void Line::SetY1(double twips) { SetEnds(x1_, twips, x2_, y2_); }
void Line::SetX2(double twips) { SetEnds(x1_, y1_, twips, y2_); }
void Line::SetY2(double twips) { SetEnds(x1_, y1_, x2_, twips); }

void Line::SetEnds(double x1, double y1, double x2, double y2) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  ApplyGeometry();
}

void Line::SetBorderColor(Color color) {
  borderColor_ = color;
  Widget()->update();
}

void Line::SetBorderWidth(int pixels) {
  if (pixels < 1) InvalidPropertyValue();
  borderWidth_ = pixels;
  ApplyGeometry();
}

void Line::SetBorderStyle(int style) {
  if (style != LineSolid && style != LineDotted) InvalidPropertyValue();
  borderStyle_ = style;
  Widget()->update();
}

void Line::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  const auto& other = static_cast<const Line&>(source);
  borderColor_ = other.borderColor_;
  borderWidth_ = other.borderWidth_;
  borderStyle_ = other.borderStyle_;
  SetEnds(other.x1_, other.y1_, other.x2_, other.y2_);
}

// ---- Image and PictureBox ----

class DrawingWidget : public QWidget {
 public:
  explicit DrawingWidget(QWidget* parent) : QWidget(parent) {}
  void Attach(Image* image) { image_ = image; }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!image_) return;
    QPainter painter(this);
    if (!image_->picture_.isNull()) {
      if (image_->stretch_) {
        painter.drawImage(rect(), image_->picture_);
      } else {
        painter.drawImage(QPoint(0, 0), image_->picture_);
      }
    }
    for (const Image::Drawing& drawing : image_->drawings_) Draw(painter, drawing);
  }

 private:
  static void Draw(QPainter& painter, const Image::Drawing& drawing) {
    const QColor color = ToQColor(drawing.color);
    const QPoint a(TwipsToPixels(drawing.x1), TwipsToPixels(drawing.y1));
    const QPoint b(TwipsToPixels(drawing.x2), TwipsToPixels(drawing.y2));
    painter.setPen(QPen(color, drawing.width));
    switch (drawing.kind) {
      case Image::Drawing::LineTo: painter.drawLine(a, b); break;
      case Image::Drawing::Frame: painter.drawRect(QRect(a, b).normalized()); break;
      case Image::Drawing::Fill: painter.fillRect(QRect(a, b).normalized(), color); break;
    }
  }

  Image* image_ = nullptr;
};

Image::Image(Container* parent, const QString& name, int index) : Image(ControlKind::Image, parent, name, index) {}

Image::Image(ControlKind kind, Container* parent, const QString& name, int index)
    : Control(kind, parent, name, index, new DrawingWidget(parent->ClientWidget())) {
  static_cast<DrawingWidget*>(Widget())->Attach(this);
}

void Image::SetPicture(const QString& path) {
  if (path.isEmpty()) {
    SetPicture(QImage());
    return;
  }
  const QString native = NativePath(path);
  if (!QFileInfo::exists(native)) throw RuntimeError(QStringLiteral("File not found"), 53);
  QImage picture(native);
  if (picture.isNull()) throw RuntimeError(QStringLiteral("Invalid picture"), 481);
  SetPicture(picture);
}

void Image::SetPicture(const QImage& picture) {
  picture_ = picture;
  // An image control that does not stretch takes the picture's size.
  if (Kind() == ControlKind::Image && !stretch_ && !picture.isNull()) {
    Move(Left(), Top(), PixelsToTwips(picture.width()), PixelsToTwips(picture.height()));
  }
  Widget()->update();
}

void Image::SetStretch(bool stretch) {
  stretch_ = stretch;
  Widget()->update();
}

void Image::Cls() {
  drawings_.clear();
  Widget()->update();
}

void Image::AddDrawing(Drawing drawing) {
  drawings_.push_back(std::move(drawing));
  Widget()->update();
}

void Image::Line(double x1, double y1, double x2, double y2, Color color) {
  AddDrawing({Drawing::LineTo, x1, y1, x2, y2, color, drawWidth_});
}

void Image::Box(double x1, double y1, double x2, double y2, Color color, bool filled) {
  AddDrawing({filled ? Drawing::Fill : Drawing::Frame, x1, y1, x2, y2, color, drawWidth_});
}

void Image::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  const auto& other = static_cast<const Image&>(source);
  stretch_ = other.stretch_;
  drawWidth_ = other.drawWidth_;
  SetPicture(other.picture_);
}

PictureBox::PictureBox(Container* parent, const QString& name, int index)
    : Image(ControlKind::PictureBox, parent, name, index) {}

}  // namespace platform
