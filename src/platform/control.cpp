#include "platform/control.h"

#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/form.h"
#include "platform/keys.h"
#include "platform/twips.h"
#include "platform/trace.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QtDebug>

namespace platform {

namespace {

int depth = 0;

struct IdleAction {
  QPointer<QObject> context;
  std::function<void()> action;
};

std::vector<IdleAction>& IdleActions() {
  static std::vector<IdleAction> actions;
  return actions;
}

void RunIdleActions() {
  if (detail::HandlersRunning()) return;  // a handler is waiting in a nested loop: its end reschedules
  std::vector<IdleAction> due = std::move(IdleActions());
  IdleActions().clear();
  for (IdleAction& entry : due) {
    if (entry.context) entry.action();
  }
}

void ScheduleIdleActions() {
  if (!IdleActions().empty()) QTimer::singleShot(0, qApp, &RunIdleActions);
}

constexpr const char* kWindowlessProperty = "platformWindowless";

// A caption as a name: one line, without the leader dots or the colon that lead the eye to the
// value ("Total Score......", "Latitude:").
QString NameOfCaption(const QString& shownCaption) {
  QString name = shownCaption.simplified();
  while (!name.isEmpty() && (name.back() == '.' || name.back() == ':' || name.back() == ' ')) name.chop(1);
  return name;
}

// Whether the palette holds the colour for the role, set on the widget itself, in every group:
// setting it again would change nothing.
bool HoldsSetColor(const QPalette& palette, QPalette::ColorRole role, const QColor& color) {
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    if (!palette.isBrushSet(group, role) || palette.color(group, role) != color) return false;
  }
  return true;
}

}  // namespace

namespace detail {

DispatchGuard::DispatchGuard() { ++depth; }

DispatchGuard::~DispatchGuard() {
  if (--depth == 0) ScheduleIdleActions();
}

bool HandlersRunning() { return depth > 0; }

void WhenHandlersIdle(QObject* context, std::function<void()> action) {
  IdleActions().push_back({context, std::move(action)});
  if (!HandlersRunning()) ScheduleIdleActions();
}

void RunHandler(const std::function<void()>& body) {
  DispatchGuard guard;
  try {
    body();
  } catch (const std::exception& error) {
    // An error no handler trapped: traced, and the event loop goes on.
    TraceError(lcPlatform, error);
  }
}

}  // namespace detail

class ControlEventFilter : public QObject {
 public:
  explicit ControlEventFilter(Control* control) : control_(control) {}
  bool eventFilter(QObject* watched, QEvent* event) override { return control_->FilterEvent(watched, event); }

 private:
  Control* control_;
};

Control::Control(ControlKind kind, Container* parent, const QString& name, int index, QWidget* widget)
    : Placement(0, 0), kind_(kind), form_(&parent->OwnerForm()), name_(name), index_(index), widget_(widget) {
  font_ = parent->ClientWidget()->font();
  font_.setResolveMask(QFont::AllPropertiesResolved);
  focusPolicy_ = widget->focusPolicy();
  widget->setObjectName(index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index));
  widget->setProperty(kWindowlessProperty, IsWindowless());
  widget->setFont(font_);
  filter_ = std::make_unique<ControlEventFilter>(this);
  WatchInputOf(widget);
  const QSize size = widget->sizeHint();
  width_ = PixelsToTwips(std::max(size.width(), 1));
  height_ = PixelsToTwips(std::max(size.height(), 1));
  Control::ApplyGeometry();
  StackAmongSiblings();
  widget->show();
  form_->Register(this);
}

Control::Control(ControlKind kind, Form& form, const QString& name, int index)
    : Placement(0, 0), kind_(kind), form_(&form), name_(name), index_(index) {
  font_ = form.ClientWidget()->font();
  form_->Register(this);
}

Control::~Control() {
  DestroyWidget();
  form_->Unregister(this);
}

void Control::DestroyWidget() {
  // Controls go with their window (except run-time elements of arrays): from the first one on,
  // the window takes no more events, so no handler meets a half-destroyed window.
  if (!retired_) form_->BeginDestruction();
  filter_.reset();
  if (widget_) delete widget_.data();
  widget_ = nullptr;
}

void Control::WatchInputOf(QWidget* widget) {
  widget->installEventFilter(filter_.get());
  widget->setMouseTracking(true);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
    area->viewport()->installEventFilter(filter_.get());
    area->viewport()->setMouseTracking(true);
  }
}

bool Control::IsWindowless() const {
  return kind_ == ControlKind::Label || kind_ == ControlKind::Line || kind_ == ControlKind::Image;
}

void Control::StackAmongSiblings() {
  if (!IsWindowless() || !widget_->parentWidget()) return;
  for (QObject* sibling : widget_->parentWidget()->children()) {
    auto* other = qobject_cast<QWidget*>(sibling);
    if (other && other != widget_ && !other->property(kWindowlessProperty).toBool()) {
      widget_->stackUnder(other);
      return;
    }
  }
}

void Control::ApplyGeometry() {
  if (!widget_) return;
  widget_->setGeometry(TwipsToPixels(left_), TwipsToPixels(top_), TwipsToPixels(width_), TwipsToPixels(height_));
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  if (widget_) widget_->setVisible(visible);
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (widget_) widget_->setEnabled(enabled);
}

Color Control::BackColor() const {
  return widget_ ? FromQColor(widget_->palette().color(BackRole())) : 0;
}

void Control::SetBackColor(Color color) {
  if (!widget_) return;
  QPalette palette = widget_->palette();
  const QColor wanted = ToQColor(color);
  // The message line and the dupe label are given their colour at every commit, mostly the one
  // they have; the widget's palette is then left alone, not resolved again.
  if (HoldsSetColor(palette, BackRole(), wanted) && (BackRole() != QPalette::Window || widget_->autoFillBackground())) {
    return;
  }
  palette.setColor(BackRole(), wanted);
  widget_->setPalette(palette);
  if (BackRole() == QPalette::Window) widget_->setAutoFillBackground(true);
}

Color Control::ForeColor() const {
  return widget_ ? FromQColor(widget_->palette().color(ForeRole())) : 0;
}

void Control::SetForeColor(Color color) {
  if (!widget_) return;
  QPalette palette = widget_->palette();
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(role, ToQColor(color));
  }
  widget_->setPalette(palette);
}

void Control::SetFontSize(double points) {
  if (points <= 0) InvalidPropertyValue();
  SetFont(detail::FontWith(font_, &QFont::setPointSizeF, points));
}

void Control::SetFontName(const QString& name) { SetFont(detail::FontWith(font_, &QFont::setFamily, name)); }
void Control::SetFontBold(bool bold) { SetFont(detail::FontWith(font_, &QFont::setBold, bold)); }
void Control::SetFontItalic(bool italic) { SetFont(detail::FontWith(font_, &QFont::setItalic, italic)); }
void Control::SetFontUnderline(bool underline) { SetFont(detail::FontWith(font_, &QFont::setUnderline, underline)); }

void Control::SetFont(const QFont& font) {
  font_ = font;
  ApplyFont();
}

void Control::ApplyFont() {
  if (widget_) widget_->setFont(font_);
}

QString Control::ToolTipText() const { return toolTip_; }

void Control::SetToolTipText(const QString& text) {
  toolTip_ = text;
  if (widget_) widget_->setToolTip(text);
}

void Control::SetAccessibleName(const QString& name) {
  nameCaption_ = nullptr;
  if (widget_) widget_->setAccessibleName(name);
}

void Control::SetAccessibleDescription(const QString& description) {
  if (widget_) widget_->setAccessibleDescription(description);
}

void Control::NameAfter(Label& caption) {
  Control& label = caption;
  label.namesOthers_ = true;
  nameCaption_ = label.widget_;
  RefreshAccessibleName();
}

void Control::RefreshAccessibleName() {
  auto* caption = qobject_cast<QLabel*>(nameCaption_.data());
  if (!widget_ || !caption) return;
  const QString own = OwnCaptionForName();
  const QString name = NameOfCaption(caption->text());
  widget_->setAccessibleName(own.isEmpty() ? name : name + QLatin1Char(' ') + own);
}

void Control::RenameControlsNamedAfterThis() const {
  if (!namesOthers_ || !widget_) return;
  for (Control* control : form_->Controls()) {
    if (control->nameCaption_ == widget_) control->RefreshAccessibleName();
  }
}

int Control::TabIndex() const { return form_->TabIndexOf(this); }

void Control::SetTabIndex(int index) {
  if (index < 0) InvalidPropertyValue();
  form_->MoveInTabOrder(this, index);
}

void Control::SetTabStop(bool tabStop) {
  tabStop_ = tabStop;
  if (!CanTakeFocus()) return;
  widget_->setFocusPolicy(tabStop ? focusPolicy_ : Qt::ClickFocus);
}

bool Control::CanTakeFocus() const { return widget_ && focusPolicy_ != Qt::NoFocus; }

void Control::SetFocus() {
  if (!CanTakeFocus() || !visible_ || !enabled_) InvalidProcedureCall();
  form_->ApplyTabOrder();
  widget_->setFocus(Qt::OtherFocusReason);
}

bool Control::HasFocus() const {
  QWidget* focus = QApplication::focusWidget();
  return widget_ && focus && (focus == widget_ || widget_->isAncestorOf(focus));
}

void Control::Refresh() {
  if (widget_) widget_->repaint();
}

void Control::CopyDesignFrom(const Control& source) {
  Move(source.left_, source.top_, source.width_, source.height_);
  SetEnabled(source.enabled_);
  SetFont(source.font_);
  tag_ = source.tag_;
  SetToolTipText(source.toolTip_);
  SetTabStop(source.tabStop_);
  if (widget_ && source.widget_) {
    widget_->setPalette(source.widget_->palette());
    widget_->setAutoFillBackground(source.widget_->autoFillBackground());
    widget_->setAccessibleName(source.widget_->accessibleName());
    widget_->setAccessibleDescription(source.widget_->accessibleDescription());
  }
  nameCaption_ = source.nameCaption_;
  RefreshAccessibleName();
}

void Control::Retire() {
  SetVisible(false);
  retired_ = true;
  form_->Unregister(this);
}

bool Control::FilterEvent(QObject* watched, QEvent* event) {
  if (form_->Destroying() || retired_) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return form_->DispatchKey(this, watched, static_cast<QKeyEvent&>(*event));
    case QEvent::FocusIn:
      form_->ControlFocusIn(this);
      return false;
    case QEvent::FocusOut: {
      // Leaving the window or using its menus does not take the focus from the control.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason) {
        form_->ControlFocusOut(this);
      }
      return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return FilterMouse(watched, static_cast<QMouseEvent&>(*event));
    default:
      return false;
  }
}

bool Control::FilterMouse(QObject* watched, QMouseEvent& event) {
  auto* source = qobject_cast<QWidget*>(watched);
  if (!source || !widget_) return false;
  const QPointF local = source == widget_ ? event.position() : QPointF(source->mapTo(widget_, event.position().toPoint()));
  const float x = static_cast<float>(local.x() * TwipsPerPixel);
  const float y = static_cast<float>(local.y() * TwipsPerPixel);
  const int shift = ShiftStateOf(event.modifiers());
  switch (event.type()) {
    case QEvent::MouseButtonPress:
      clickAfterDoubleClick_ = true;
      Raise(MouseDown, MouseButtonOf(event.button()), shift, x, y);
      break;
    case QEvent::MouseMove:
      Raise(MouseMove, MouseButtonsOf(event.buttons()), shift, x, y);
      break;
    case QEvent::MouseButtonDblClick:
      // The second press of a double click raises DblClick, and its release no second Click.
      clickAfterDoubleClick_ = false;
      if (event.button() == Qt::LeftButton) Raise(DblClick);
      break;
    case QEvent::MouseButtonRelease:
      Raise(MouseUp, MouseButtonOf(event.button()), shift, x, y);
      if (ClicksOnMouseRelease() && clickAfterDoubleClick_ && event.button() == Qt::LeftButton && widget_ &&
          widget_->rect().contains(local.toPoint())) {
        OnMouseRelease(event);
      }
      clickAfterDoubleClick_ = true;
      break;
    default:
      break;
  }
  return ConsumesMouse();
}

void Control::OnMouseRelease(QMouseEvent&) { Raise(Click); }

}  // namespace platform
