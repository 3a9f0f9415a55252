#include "platform/form.h"

#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/instances.h"
#include "platform/keyboardreturn.h"
#include "platform/keys.h"
#include "platform/menu.h"
#include "platform/timer.h"
#include "platform/twips.h"
#include "platform/winsock.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace platform {

namespace {

// Hands a key event to a widget past the event filters, and on up to the control's own widget
// when an inner widget (an editable combo box's line edit) does not take it.
void Deliver(QObject* target, QWidget* controlWidget, QKeyEvent& event) {
  QObject* receiver = target;
  event.accept();
  receiver->event(&event);
  while (!event.isAccepted() && controlWidget && receiver != controlWidget && receiver->parent()) {
    receiver = receiver->parent();
    event.accept();
    receiver->event(&event);
  }
}

// The character a handler put in place of the typed one, as a key of its own.
QKeyEvent CharacterEvent(int keyAscii) {
  return QKeyEvent(QEvent::KeyPress, QtKeyForAscii(keyAscii), Qt::NoModifier, QString(QChar(keyAscii)));
}

// An access key no menu took (its window inactive, or no item has it) reaches the control
// without its character, which a text box would otherwise type.
QKeyEvent WithoutCharacter(const QKeyEvent& event) {
  return QKeyEvent(event.type(), event.key(), event.modifiers(), QString(), event.isAutoRepeat());
}

}  // namespace

class FormEventFilter : public QObject {
 public:
  explicit FormEventFilter(Form* form) : form_(form) {}
  bool eventFilter(QObject* watched, QEvent* event) override { return form_->FilterWindowEvent(watched, event); }

 private:
  Form* form_;
};

namespace detail {

void RetireForm(Form* form) { form->BeginDestruction(); }

}  // namespace detail

Form::Form(const QString& name) : Placement(4800, 3600), name_(name), window_(new QMainWindow), client_(new QWidget) {
  window_->setObjectName(name);
  window_->setWindowTitle(name);
  client_->setObjectName(name + QStringLiteral("_client"));
  client_->setFont(DesignFont());
  client_->setMouseTracking(true);
  window_->setCentralWidget(client_);
  filter_ = new FormEventFilter(this);
  window_->installEventFilter(filter_);
  client_->installEventFilter(filter_);
  ApplyGeometry();
}

Form::~Form() {
  BeginDestruction();
  delete filter_;
  delete window_;
}

void Form::BeginDestruction() {
  if (destroying_) return;
  destroying_ = true;
  if (modalLoop_) modalLoop_->exit();
  window_->hide();
}

QWidget* Form::ClientWidget() const { return client_; }
QWidget* Form::Widget() const { return window_; }

QString Form::Caption() const { return window_->windowTitle(); }
void Form::SetCaption(const QString& caption) { window_->setWindowTitle(caption); }

double Form::ScaleWidth() const { return std::max(0.0, width_ - 2 * FrameTwips()); }

double Form::ScaleHeight() const { return std::max(0.0, height_ - TitleTwips() - FrameTwips() - MenuBarHeight()); }

double Form::MenuBarHeight() const {
  auto* bar = qobject_cast<QMenuBar*>(window_->menuWidget());
  if (!bar || bar->actions().isEmpty()) return 0;
  return PixelsToTwips(bar->sizeHint().height());
}

double Form::FrameTwips() const { return borderStyle_ == BorderNone ? 0 : BorderTwips; }
double Form::TitleTwips() const { return borderStyle_ == BorderNone ? 0 : CaptionTwips; }

// The window's own geometry holds the client area and the menu bar; the borders and the caption
// belong to the window manager.
QRect Form::PixelGeometry() const {
  const int w = std::max(0, TwipsToPixels(width_ - 2 * FrameTwips()));
  const int h = std::max(0, TwipsToPixels(height_ - TitleTwips() - FrameTwips()));
  return QRect(TwipsToPixels(left_), TwipsToPixels(top_), w, h);
}

void Form::ApplyGeometry() {
  applyingGeometry_ = true;
  const QRect geometry = PixelGeometry();
  window_->move(geometry.topLeft());
  if (borderStyle_ == BorderSizable) {
    window_->resize(geometry.size());
  } else {
    window_->setFixedSize(geometry.size());
  }
  applyingGeometry_ = false;
}

void Form::TakeWindowGeometry() {
  // Values set in twips stay as set while the window keeps the pixels they gave.
  if (applyingGeometry_) return;
  const QRect expected = PixelGeometry();
  if (window_->size() != expected.size()) {
    width_ = PixelsToTwips(window_->width()) + 2 * FrameTwips();
    height_ = PixelsToTwips(window_->height()) + TitleTwips() + FrameTwips();
  }
  if (window_->pos() != expected.topLeft()) {
    left_ = PixelsToTwips(window_->x());
    top_ = PixelsToTwips(window_->y());
  }
}

void Form::SetBorderStyle(int style) {
  if (style != BorderNone && style != BorderFixedSingle && style != BorderSizable) InvalidPropertyValue();
  borderStyle_ = style;
  // Changing the flags hides a shown window: it is shown again as it was.
  const bool shown = window_->isVisible();
  window_->setWindowFlag(Qt::FramelessWindowHint, style == BorderNone);
  if (style == BorderSizable) {
    window_->setMinimumSize(0, 0);
    window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  ApplyGeometry();
  if (shown) window_->show();
}

int Form::WindowState() const {
  const Qt::WindowStates state = window_->windowState();
  if (state & Qt::WindowMinimized) return WindowMinimized;
  if (state & Qt::WindowMaximized) return WindowMaximized;
  return WindowNormal;
}

void Form::SetWindowState(int state) {
  switch (state) {
    case WindowMinimized: window_->setWindowState(Qt::WindowMinimized); break;
    case WindowMaximized: window_->setWindowState(Qt::WindowMaximized); break;
    default: window_->setWindowState(Qt::WindowNoState); break;
  }
}

bool Form::Visible() const { return window_->isVisible(); }

void Form::SetVisible(bool visible) {
  if (visible) {
    Show();
  } else {
    Hide();
  }
}

bool Form::Enabled() const { return window_->isEnabled(); }
void Form::SetEnabled(bool enabled) { window_->setEnabled(enabled); }

Color Form::BackColor() const { return FromQColor(client_->palette().color(QPalette::Window)); }

void Form::SetBackColor(Color color) {
  QPalette palette = client_->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  client_->setPalette(palette);
  client_->setAutoFillBackground(true);
  keptPicture_ = QImage();
}

Color Form::ForeColor() const { return FromQColor(client_->palette().color(QPalette::WindowText)); }

void Form::SetForeColor(Color color) {
  QPalette palette = client_->palette();
  palette.setColor(QPalette::WindowText, ToQColor(color));
  client_->setPalette(palette);
}

double Form::FontSize() const { return client_->font().pointSizeF(); }

void Form::SetFontSize(double points) {
  if (points <= 0) InvalidPropertyValue();
  client_->setFont(detail::FontWith(client_->font(), &QFont::setPointSizeF, points));
}

QString Form::FontName() const { return client_->font().family(); }

void Form::SetFontName(const QString& name) {
  client_->setFont(detail::FontWith(client_->font(), &QFont::setFamily, name));
}

bool Form::FontBold() const { return client_->font().bold(); }

void Form::SetFontBold(bool bold) { client_->setFont(detail::FontWith(client_->font(), &QFont::setBold, bold)); }

void Form::SetMousePointer(int pointer) {
  if (pointer != MousePointerDefault && pointer != MousePointerHourglass) InvalidPropertyValue();
  mousePointer_ = pointer;
  if (pointer == MousePointerHourglass) {
    window_->setCursor(Qt::WaitCursor);
  } else {
    window_->unsetCursor();
  }
}

void Form::Load() {
  if (released_) throw RuntimeError(QStringLiteral("Object was unloaded"), 364);
  if (loaded_) return;
  loaded_ = true;
  detail::RunHandler([this] { Form_Load(); });
}

void Form::Show(int modal) {
  if (modal != Modeless && window_->isVisible()) {
    throw RuntimeError(QStringLiteral("Form already displayed; can't show modally"), 400);
  }
  Load();
  if (!loaded_ || destroying_) return;
  ApplyTabOrder();
  if (modal == Modeless) {
    ShowActive();
    return;
  }
  KeyboardReturn keyboardReturn;  // taken before this window has the keyboard
  window_->setWindowModality(Qt::ApplicationModal);
  ShowActive();
  // The guard keeps this window alive until Show returns, even when it is unloaded meanwhile.
  detail::DispatchGuard guard;
  QEventLoop loop;
  modalLoop_ = &loop;
  if (window_->isVisible()) loop.exec(QEventLoop::DialogExec);
  modalLoop_ = nullptr;
  if (!window_->isVisible()) window_->setWindowModality(Qt::NonModal);
}

void Form::ShowActive() {
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void Form::Hide() {
  window_->hide();
  if (modalLoop_) modalLoop_->exit();
}

void Form::Unload() {
  if (!loaded_ || destroying_) return;
  TryUnload(UnloadFromCode);
}

void Form::CloseRequested(QEvent* event) {
  event->ignore();
  if (!loaded_) {
    Hide();
    return;
  }
  TryUnload(UnloadFromControlMenu);
}

void Form::TryUnload(int unloadMode) {
  int cancel = 0;
  detail::RunHandler([&] { Form_QueryUnload(cancel, unloadMode); });
  if (cancel != 0) return;
  detail::RunHandler([&] { Form_Unload(cancel); });
  if (cancel != 0) return;
  FinishUnload();
}

void Form::FinishUnload() {
  loaded_ = false;
  Hide();
  for (Control* control : controls_) {
    if (control->Kind() == ControlKind::Timer) static_cast<Timer*>(control)->Stop();
    if (control->Kind() == ControlKind::Winsock) static_cast<Winsock*>(control)->Close();
  }
  released_ = detail::ReleaseInstance(this);
}

void Form::Refresh() { window_->repaint(); }

void Form::Register(Control* control) {
  controls_.push_back(control);
  if (control->Widget()) {
    tabOrder_.push_back(control);
    tabOrderDirty_ = true;
  }
}

void Form::Unregister(Control* control) {
  std::erase(controls_, control);
  std::erase(tabOrder_, control);
  if (activeControl_ == control) activeControl_ = nullptr;
  tabOrderDirty_ = true;
}

int Form::TabIndexOf(const Control* control) const {
  auto found = std::find(tabOrder_.begin(), tabOrder_.end(), control);
  return found == tabOrder_.end() ? 0 : static_cast<int>(found - tabOrder_.begin());
}

void Form::MoveInTabOrder(Control* control, int index) {
  auto found = std::find(tabOrder_.begin(), tabOrder_.end(), control);
  if (found == tabOrder_.end()) return;
  tabOrder_.erase(found);
  const auto position = std::min<std::size_t>(static_cast<std::size_t>(index), tabOrder_.size());
  tabOrder_.insert(tabOrder_.begin() + static_cast<std::ptrdiff_t>(position), control);
  tabOrderDirty_ = true;
  if (window_->isVisible()) ApplyTabOrder();
}

void Form::ApplyTabOrder() {
  if (!tabOrderDirty_) return;
  tabOrderDirty_ = false;
  QWidget* previous = nullptr;
  for (Control* control : tabOrder_) {
    if (!control->CanTakeFocus()) continue;
    if (previous) QWidget::setTabOrder(previous, control->Widget());
    previous = control->Widget();
  }
}

void Form::ControlFocusIn(Control* control) {
  if (activeControl_ == control) return;
  Control* previous = activeControl_;
  activeControl_ = control;
  if (previous) previous->Raise(previous->LostFocus);
  control->Raise(control->GotFocus);
}

void Form::ControlFocusOut(Control* control) {
  if (activeControl_ != control || control->HasFocus()) return;
  activeControl_ = nullptr;
  control->Raise(control->LostFocus);
}

// Key order: the window's handlers first when it previews keys, then the control's. KeyDown and
// KeyPress are separate stages: a key code set to 0 stops the key's own action (an arrow, Delete)
// but the character of the same stroke still goes through KeyPress, where 0 drops it and another
// code types that character instead.
bool Form::DispatchKey(Control* control, QObject* target, QKeyEvent& event) {
  if (KeysHeld()) {
    HoldTypedKey(target, event);
  } else {
    RouteKey(control, target, event);
  }
  // Handled here in full: the key must not travel on to the containers.
  event.accept();
  return true;
}

void Form::RouteKey(Control* control, QObject* target, QKeyEvent& event) {
  const bool press = event.type() == QEvent::KeyPress;
  const bool formSees = keyPreview_ || control == nullptr;
  QWidget* controlWidget = control ? control->Widget() : nullptr;
  QPointer<QObject> receiver = target;
  const int shift = ShiftStateOf(event.modifiers());
  // Held keys repeat their KeyDown and KeyPress; KeyUp comes once, when the key is let go.
  int keyCode = (!press && event.isAutoRepeat()) ? 0 : KeyCodeOf(event);
  bool keySwallowed = false;
  if (keyCode != 0) {
    if (formSees) {
      detail::RunHandler([&] { press ? Form_KeyDown(keyCode, shift) : Form_KeyUp(keyCode, shift); });
    }
    if (keyCode != 0 && control && !destroying_) control->Raise(press ? control->KeyDown : control->KeyUp, keyCode, shift);
    keySwallowed = keyCode == 0;
  }
  if (!press) {
    if (!keySwallowed && receiver && !destroying_) FinishKey(receiver, controlWidget, event);
    return;
  }
  const int typed = KeyAsciiOf(event);
  int keyAscii = typed;
  if (keyAscii != 0) {
    if (formSees && !destroying_) detail::RunHandler([&] { Form_KeyPress(keyAscii); });
    if (keyAscii != 0 && control && !destroying_) control->Raise(control->KeyPress, keyAscii);
  }
  if (!receiver || destroying_) return;
  if (typed != 0 && keyAscii == 0) return;
  if (keyAscii != typed || (keySwallowed && typed != 0)) {
    QKeyEvent character = CharacterEvent(keyAscii);
    FinishKey(receiver, controlWidget, character);
  } else if (!keySwallowed && IsAccessKey(event)) {
    QKeyEvent keyOnly = WithoutCharacter(event);
    FinishKey(receiver, controlWidget, keyOnly);
  } else if (!keySwallowed) {
    FinishKey(receiver, controlWidget, event);
  }
}

// The key's own action (the character typed into a box): now, or, when the key's handlers
// started a hold, at its release ahead of the keys typed meanwhile.
void Form::FinishKey(QObject* target, QWidget* controlWidget, QKeyEvent& event) {
  if (!KeysHeld()) {
    Deliver(target, controlWidget, event);
    return;
  }
  std::shared_ptr<QKeyEvent> held(event.clone());
  heldKeys_.push_front([target = QPointer<QObject>(target), controlWidget = QPointer<QWidget>(controlWidget), held] {
    if (target) Deliver(target, controlWidget, *held);
  });
}

// A key typed during a hold: handled at the release as if typed then, by the focused control.
void Form::HoldTypedKey(QObject* target, const QKeyEvent& event) {
  std::shared_ptr<QKeyEvent> held(event.clone());
  heldKeys_.push_back([target = QPointer<QObject>(target), held] {
    QObject* receiver = QApplication::focusWidget();
    if (!receiver) receiver = target;
    if (!receiver) return;
    std::unique_ptr<QKeyEvent> typed(held->clone());
    QCoreApplication::sendEvent(receiver, typed.get());
  });
}

void Form::HoldKeys() { ++keyHolds_; }

void Form::ReleaseKeys() {
  if (keyHolds_ == 0 || --keyHolds_ > 0 || heldKeysReplayPending_) return;
  heldKeysReplayPending_ = true;
  detail::WhenHandlersIdle(window_, [this] { ReplayHeldKeys(); });
}

// A key replayed here may start a new hold; the keys after it then wait for that one.
void Form::ReplayHeldKeys() {
  heldKeysReplayPending_ = false;
  while (!heldKeys_.empty() && !KeysHeld() && !destroying_) {
    const std::function<void()> next = std::move(heldKeys_.front());
    heldKeys_.pop_front();
    next();
  }
}

QMenuBar* Form::MenuBar() { return window_->menuBar(); }

// A window made active again gives the keyboard to the control that last had it, never leaves it
// with the menu bar (which takes it when Alt is let go while a dialog is open) or with nothing.
void Form::FocusActiveControl() {
  QWidget* focus = window_->focusWidget();
  if (focus && !qobject_cast<QMenuBar*>(focus)) return;
  if (!activeControl_ || !activeControl_->CanTakeFocus()) return;
  QWidget* control = activeControl_->Widget();
  if (control->isVisible() && control->isEnabled()) control->setFocus(Qt::ActiveWindowFocusReason);
}

bool Form::FilterWindowEvent(QObject* watched, QEvent* event) {
  if (destroying_) return false;
  if (watched == client_ && event->type() == QEvent::Paint) PaintKeptPicture();
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return DispatchKey(nullptr, watched, static_cast<QKeyEvent&>(*event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return watched == client_ && FilterClientMouse(static_cast<QMouseEvent&>(*event));
    default:
      break;
  }
  if (watched != window_) return false;
  switch (event->type()) {
    case QEvent::Close:
      CloseRequested(event);
      return true;
    case QEvent::WindowActivate:
      FocusActiveControl();
      detail::RunHandler([this] { Form_Activate(); });
      break;
    case QEvent::WindowDeactivate:
      detail::RunHandler([this] { Form_Deactivate(); });
      break;
    case QEvent::Resize:
      TakeWindowGeometry();
      detail::RunHandler([this] { Form_Resize(); });
      break;
    case QEvent::Move:
      TakeWindowGeometry();
      break;
    case QEvent::Hide:
      // Hidden by code ends a modal Show; minimising (a spontaneous hide) does not.
      if (modalLoop_ && !event->spontaneous()) modalLoop_->exit();
      break;
    default:
      break;
  }
  return false;
}

void Form::Cls() {
  keptPicture_ = QImage();
  client_->update();
}

// Nothing drawn yet: the picture is the back colour, as large as the client area now.
const QImage& Form::KeptPicture() {
  const QSize size(std::max(1, TwipsToPixels(ScaleWidth())), std::max(1, TwipsToPixels(ScaleHeight())));
  if (keptPicture_.size() != size) {
    QImage grown(size, QImage::Format_RGB32);
    grown.fill(ToQColor(BackColor()));
    if (!keptPicture_.isNull()) QPainter(&grown).drawImage(0, 0, keptPicture_);
    keptPicture_ = grown;
  }
  return keptPicture_;
}

void Form::Line(double x1, double y1, double x2, double y2, Color color) {
  KeptPicture();
  QPainter painter(&keptPicture_);
  painter.setPen(QPen(ToQColor(color), 1));
  painter.drawLine(QPoint(TwipsToPixels(x1), TwipsToPixels(y1)), QPoint(TwipsToPixels(x2), TwipsToPixels(y2)));
  client_->update();
}

void Form::Box(double x1, double y1, double x2, double y2, Color color, bool filled) {
  KeptPicture();
  QPainter painter(&keptPicture_);
  // Corners in either order; QRect's own normalising leaves corners one pixel apart empty.
  const int left = TwipsToPixels(std::min(x1, x2));
  const int top = TwipsToPixels(std::min(y1, y2));
  const QRect box(QPoint(left, top), QPoint(TwipsToPixels(std::max(x1, x2)), TwipsToPixels(std::max(y1, y2))));
  if (filled) {
    painter.fillRect(box, ToQColor(color));
  } else {
    painter.setPen(QPen(ToQColor(color), 1));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
  }
  client_->update();
}

// Under the controls, over the filled background; the plain client widget paints nothing else.
void Form::PaintKeptPicture() {
  if (keptPicture_.isNull()) return;
  QPainter(client_).drawImage(0, 0, keptPicture_);
}

bool Form::FilterClientMouse(QMouseEvent& event) {
  const float x = static_cast<float>(event.position().x() * TwipsPerPixel);
  const float y = static_cast<float>(event.position().y() * TwipsPerPixel);
  const int shift = ShiftStateOf(event.modifiers());
  switch (event.type()) {
    case QEvent::MouseButtonPress: {
      const int button = MouseButtonOf(event.button());
      detail::RunHandler([&] { Form_MouseDown(button, shift, x, y); });
      break;
    }
    case QEvent::MouseMove: {
      const int buttons = MouseButtonsOf(event.buttons());
      detail::RunHandler([&] { Form_MouseMove(buttons, shift, x, y); });
      break;
    }
    case QEvent::MouseButtonRelease: {
      const int button = MouseButtonOf(event.button());
      detail::RunHandler([&] { Form_MouseUp(button, shift, x, y); });
      if (event.button() == Qt::LeftButton) detail::RunHandler([this] { Form_Click(); });
      break;
    }
    case QEvent::MouseButtonDblClick:
      detail::RunHandler([this] { Form_DblClick(); });
      break;
    default:
      break;
  }
  return false;
}

}  // namespace platform
