#include "platform/controls.h"

#include <QEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace platform {

UpDown::UpDown(Container* parent, const QString& name, int index)
    : Control(ControlKind::UpDown, parent, name, index, new QWidget(parent->ClientWidget())) {
  auto* layout = new QVBoxLayout(Widget());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (auto [arrow, direction] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
    auto* button = new QToolButton(Widget());
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    button->setObjectName(direction > 0 ? QStringLiteral("up") : QStringLiteral("down"));
    button->setAccessibleName(direction > 0 ? QStringLiteral("Up") : QStringLiteral("Down"));
    layout->addWidget(button);
    QObject::connect(button, &QToolButton::clicked, button, [this, direction = direction] { Step(direction); });
  }
}

namespace {

// Runs an action whenever the watched widget is moved or resized; it goes with its owner.
class GeometryWatch : public QObject {
 public:
  GeometryWatch(QObject* owner, QWidget* watched, std::function<void()> moved)
      : QObject(owner), moved_(std::move(moved)) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) moved_();
    return false;
  }

 private:
  std::function<void()> moved_;
};

}  // namespace

void UpDown::SetBuddy(Control& buddy) {
  new GeometryWatch(Widget(), buddy.Widget(), [this, &buddy] { StandBeside(buddy); });
  StandBeside(buddy);
}

void UpDown::StandBeside(const Control& buddy) {
  SetLeft(buddy.Left() + buddy.Width());
  SetTop(buddy.Top());
  SetHeight(buddy.Height());
}

QWidget* UpDown::UpArrow() const { return Widget()->findChild<QToolButton*>(QStringLiteral("up")); }
QWidget* UpDown::DownArrow() const { return Widget()->findChild<QToolButton*>(QStringLiteral("down")); }

void UpDown::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  Raise(Change);
}

void UpDown::Step(int direction) {
  int next = value_ + direction * increment_;
  if (next > max_) next = wrap_ ? min_ : max_;
  if (next < min_) next = wrap_ ? max_ : min_;
  SetValue(next);
  Raise(direction > 0 ? UpClick : DownClick);
}

void UpDown::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  const auto& other = static_cast<const UpDown&>(source);
  min_ = other.min_;
  max_ = other.max_;
  increment_ = other.increment_;
  wrap_ = other.wrap_;
  value_ = other.value_;
}

}  // namespace platform
