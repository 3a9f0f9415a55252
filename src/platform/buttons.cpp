#include "platform/controls.h"

#include "platform/controltext.h"
#include "platform/errors.h"

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace platform {

namespace {

// Option buttons and check boxes take a click anywhere on them, not only on the mark and caption.
template <class Button>
class WholeAreaButton : public Button {
 public:
  using Button::Button;

 protected:
  bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

}  // namespace

// ---- CommandButton ----

// A push button that draws its picture over the face the style drew, fitted into the face and
// moved with it while the button is down.
class PictureButton : public QPushButton {
 public:
  explicit PictureButton(QWidget* parent) : QPushButton(parent) {}

  const QImage& Picture() const { return picture_; }
  void SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPushButton::paintEvent(event);
    if (picture_.isNull()) return;
    QStyleOptionButton option;
    initStyleOption(&option);
    QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown()) {
      face.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                     style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    QRect target(QPoint(0, 0), picture_.size().scaled(face.size(), Qt::KeepAspectRatio));
    target.moveCenter(face.center());
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
  }

 private:
  QImage picture_;
};

CommandButton::CommandButton(Container* parent, const QString& name, int index)
    : Control(ControlKind::CommandButton, parent, name, index, new PictureButton(parent->ClientWidget())) {
  // Enter on a focused button pushes it, as Space does.
  button()->setAutoDefault(true);
  QObject::connect(button(), &QPushButton::clicked, button(), [this] { Raise(Click); });
}

PictureButton* CommandButton::button() const { return static_cast<PictureButton*>(Widget()); }
QString CommandButton::Caption() const { return button()->text(); }
void CommandButton::SetCaption(const QString& caption) {
  button()->setText(caption);
  RefreshAccessibleName();
}

QString CommandButton::OwnCaptionForName() const { return detail::WithoutAccessKeys(Caption()); }
const QImage& CommandButton::Picture() const { return button()->Picture(); }
void CommandButton::SetPicture(const QImage& picture) { button()->SetPicture(picture); }

void CommandButton::SetValue(bool value) {
  if (value) button()->click();
}

void CommandButton::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  const auto& other = static_cast<const CommandButton&>(source);
  SetCaption(other.Caption());
  SetPicture(other.Picture());
}

// ---- OptionButton ----

OptionButton::OptionButton(Container* parent, const QString& name, int index)
    : Control(ControlKind::OptionButton, parent, name, index, new WholeAreaButton<QRadioButton>(parent->ClientWidget())) {
  QObject::connect(radio(), &QRadioButton::toggled, radio(), [this](bool on) {
    if (on) Raise(Click);
  });
}

QRadioButton* OptionButton::radio() const { return static_cast<QRadioButton*>(Widget()); }
QString OptionButton::Caption() const { return radio()->text(); }
void OptionButton::SetCaption(const QString& caption) { radio()->setText(caption); }
bool OptionButton::Value() const { return radio()->isChecked(); }

void OptionButton::SetValue(bool value) {
  if (value) {
    radio()->setChecked(true);
    return;
  }
  // Code may leave a container with no option selected, which the mouse cannot.
  radio()->setAutoExclusive(false);
  radio()->setChecked(false);
  radio()->setAutoExclusive(true);
}

void OptionButton::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  SetCaption(static_cast<const OptionButton&>(source).Caption());
}

// ---- CheckBox ----

CheckBox::CheckBox(Container* parent, const QString& name, int index)
    : Control(ControlKind::CheckBox, parent, name, index, new WholeAreaButton<QCheckBox>(parent->ClientWidget())) {
  QObject::connect(box(), &QCheckBox::stateChanged, box(), [this](int state) {
    // Grayed is for code to set; the mouse goes between checked and unchecked.
    if (state != Qt::PartiallyChecked) box()->setTristate(false);
    Raise(Click);
  });
}

QCheckBox* CheckBox::box() const { return static_cast<QCheckBox*>(Widget()); }
QString CheckBox::Caption() const { return box()->text(); }
void CheckBox::SetCaption(const QString& caption) { box()->setText(caption); }

int CheckBox::Value() const {
  switch (box()->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
  }
}

void CheckBox::SetValue(int value) {
  switch (value) {
    case 0: box()->setCheckState(Qt::Unchecked); break;
    case 1: box()->setCheckState(Qt::Checked); break;
    case 2: box()->setCheckState(Qt::PartiallyChecked); break;
    default: InvalidPropertyValue();
  }
}

void CheckBox::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  const auto& other = static_cast<const CheckBox&>(source);
  SetCaption(other.Caption());
  SetValue(other.Value());
}

}  // namespace platform
