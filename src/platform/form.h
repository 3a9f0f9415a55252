#pragma once

#include "platform/color.h"
#include "platform/control.h"
#include "platform/placement.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QEventLoop;
class QRect;
class QKeyEvent;
class QMainWindow;
class QMenuBar;
class QMouseEvent;

namespace platform {

class Form;
class Menu;

namespace detail {
// Stops the window's events and hides it, before its owner deletes it.
void RetireForm(Form* form);
}  // namespace detail

// Modal argument of Show.
inline constexpr int Modeless = 0;
inline constexpr int Modal = 1;

// UnloadMode of Form_QueryUnload.
inline constexpr int UnloadFromControlMenu = 0;  // the title bar's close button
inline constexpr int UnloadFromCode = 1;

// WindowState values.
inline constexpr int WindowNormal = 0;
inline constexpr int WindowMinimized = 1;
inline constexpr int WindowMaximized = 2;

// BorderStyle values. A window is designed sizable, with a frame and a title bar, unless it says
// otherwise in its design, before it is first shown.
inline constexpr int BorderNone = 0;         // a bare client area: no frame, no title bar, fixed size
inline constexpr int BorderFixedSingle = 1;  // frame and title bar; only the program changes its size
inline constexpr int BorderSizable = 2;

// MousePointer values: the pointer over the window's own surface and its controls.
inline constexpr int MousePointerDefault = 0;
inline constexpr int MousePointerHourglass = 11;

// A window as the program was designed: outer size and position in twips, a client area that
// holds the controls (below the menu bar when the window has menus), and the load / activate /
// query-unload / unload life cycle. Each window derives from Form, declares its controls as
// members constructed with `this`, sets their design values in its constructor, and overrides
// the hooks it handles.
class Form : public Container, public Placement {
 public:
  // Outer size less client size of a window with a border: the borders and the caption, as the
  // designs assume them. A window without a border has none of them.
  static constexpr double BorderTwips = 60;    // each side, left, right and bottom
  static constexpr double CaptionTwips = 330;  // above the client area (the menu bar comes below)

  explicit Form(const QString& name);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  ~Form() override;

  const QString& Name() const { return name_; }
  QWidget* ClientWidget() const override;
  Form& OwnerForm() const override { return const_cast<Form&>(*this); }
  QWidget* Widget() const;  // the top-level window

  QString Caption() const;
  void SetCaption(const QString& caption);

  // Left/Top/Width/Height (from Placement) are the outer geometry; the client area, in twips:
  double ScaleWidth() const;
  double ScaleHeight() const;
  double MenuBarHeight() const;  // 0 without menus

  int WindowState() const;
  void SetWindowState(int state);

  int BorderStyle() const { return borderStyle_; }
  // Keeps the outer size; without a border the whole window is client area. Throws 380 for a
  // value other than BorderNone, BorderFixedSingle and BorderSizable.
  void SetBorderStyle(int style);

  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  Color BackColor() const;
  void SetBackColor(Color color);
  Color ForeColor() const;
  void SetForeColor(Color color);
  double FontSize() const;
  void SetFontSize(double points);
  QString FontName() const;
  void SetFontName(const QString& name);
  bool FontBold() const;
  void SetFontBold(bool bold);
  int MousePointer() const { return mousePointer_; }
  // Throws RuntimeError 380 for a value other than MousePointerDefault and MousePointerHourglass.
  void SetMousePointer(int pointer);
  const QString& Tag() const { return tag_; }
  void SetTag(const QString& tag) { tag_ = tag; }

  // The window's own surface: Line and Box draw (in twips from the client area's corner) into a
  // picture the window keeps and shows under its controls through every repaint, until Cls or a
  // new BackColor erases it to the back colour.
  void Cls();
  void Line(double x1, double y1, double x2, double y2, Color color);
  void Box(double x1, double y1, double x2, double y2, Color color, bool filled = false);
  // The kept picture, one pixel per TwipsPerPixel, as large as the client area: what the surface
  // shows under the controls.
  const QImage& KeptPicture();

  // When true the window's key handlers see every key before the focused control.
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool preview) { keyPreview_ = preview; }

  bool IsLoaded() const { return loaded_; }
  // Runs Form_Load once; Show and the window registry call it. A window the registry let go of
  // on its unload throws RuntimeError 364 "Object was unloaded" (the next use builds a new one).
  void Load();
  // Test seam: counts the window as loaded without running its Form_Load (see
  // InstanceWithoutLoad).
  void MarkLoadedForTesting() { loaded_ = true; }
  // Modeless: shows the window and returns. Modal: shows it blocking input to the other windows
  // and returns when it is hidden or unloaded. Showing a visible window modally throws
  // RuntimeError 400.
  void Show(int modal = Modeless);
  void Hide();
  // Form_QueryUnload, then Form_Unload; unless one cancels, the window is hidden, its timers
  // stop, its sockets close and, when the window registry holds it, it is destroyed once the
  // running handlers have returned.
  void Unload();
  void Refresh();

  // Every control in creation order, control-array elements included.
  const std::vector<Control*>& Controls() const { return controls_; }
  // The handlers the window connected with WIRE, by name ("txtCall_KeyPress"), so that a test
  // can check that every handler the window declares is connected.
  const QStringList& WiredHandlers() const { return wiredHandlers_; }
  Control* ActiveControl() const { return activeControl_; }

  // Holding the keyboard, as a window that is busy holds it, but with the event loop running:
  // while a hold lasts, keys typed to the window wait in order; once every hold is released they
  // are handled as if typed then, from the event loop, each by the control that has the focus.
  // The key whose handler starts a hold reaches its control at the release, as its handlers left
  // it, before the keys typed after it. Holds nest: each HoldKeys takes one ReleaseKeys.
  void HoldKeys();
  void ReleaseKeys();
  bool KeysHeld() const { return keyHolds_ > 0 || heldKeysReplayPending_; }

  // Life-cycle and window-level event hooks.
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Deactivate() {}
  virtual void Form_QueryUnload(int& Cancel, int UnloadMode) { (void)Cancel, (void)UnloadMode; }
  virtual void Form_Unload(int& Cancel) { (void)Cancel; }
  virtual void Form_Terminate() {}
  virtual void Form_Resize() {}
  virtual void Form_KeyDown(int& KeyCode, int Shift) { (void)KeyCode, (void)Shift; }
  virtual void Form_KeyPress(int& KeyAscii) { (void)KeyAscii; }
  virtual void Form_KeyUp(int& KeyCode, int Shift) { (void)KeyCode, (void)Shift; }
  virtual void Form_Click() {}
  virtual void Form_DblClick() {}
  virtual void Form_MouseDown(int Button, int Shift, float X, float Y) { (void)Button, (void)Shift, (void)X, (void)Y; }
  virtual void Form_MouseMove(int Button, int Shift, float X, float Y) { (void)Button, (void)Shift, (void)X, (void)Y; }
  virtual void Form_MouseUp(int Button, int Shift, float X, float Y) { (void)Button, (void)Shift, (void)X, (void)Y; }

 protected:
  // Connects one event of a control to the window's handler; WIRE names the handler.
  template <class Event, class Handler>
  void Wire(Event& event, const QString& handlerName, Handler handler) {
    event = std::move(handler);
    wiredHandlers_.append(handlerName);
  }

 private:
  friend class Control;
  friend class Menu;
  friend class FormEventFilter;
  friend void detail::RetireForm(Form* form);

  // Control registration, tab order, focus and keys (called by Control).
  void Register(Control* control);
  void Unregister(Control* control);
  void BeginDestruction();
  bool Destroying() const { return destroying_; }
  int TabIndexOf(const Control* control) const;
  void MoveInTabOrder(Control* control, int index);
  void ApplyTabOrder();
  void ControlFocusIn(Control* control);
  void ControlFocusOut(Control* control);
  void FocusActiveControl();
  void ShowActive();
  bool DispatchKey(Control* control, QObject* target, QKeyEvent& event);
  void RouteKey(Control* control, QObject* target, QKeyEvent& event);
  void FinishKey(QObject* target, QWidget* controlWidget, QKeyEvent& event);
  void HoldTypedKey(QObject* target, const QKeyEvent& event);
  void ReplayHeldKeys();
  QMenuBar* MenuBar();

  // Window events (called by the window's event filter).
  bool FilterWindowEvent(QObject* watched, QEvent* event);
  bool FilterClientMouse(QMouseEvent& event);
  void CloseRequested(QEvent* event);
  void TryUnload(int unloadMode);
  void FinishUnload();
  void ApplyGeometry() override;
  void TakeWindowGeometry();
  // What the frame takes of the outer size with the window's border style.
  double FrameTwips() const;
  double TitleTwips() const;
  QRect PixelGeometry() const;
  void PaintKeptPicture();

  QString name_;
  QMainWindow* window_;
  QWidget* client_;
  QObject* filter_;
  std::vector<Control*> controls_;
  std::vector<Control*> tabOrder_;
  bool tabOrderDirty_ = false;
  Control* activeControl_ = nullptr;
  QEventLoop* modalLoop_ = nullptr;
  bool applyingGeometry_ = false;
  bool keyPreview_ = false;
  int borderStyle_ = BorderSizable;
  int mousePointer_ = MousePointerDefault;
  bool loaded_ = false;
  bool released_ = false;
  bool destroying_ = false;
  QString tag_;
  QImage keptPicture_;
  QStringList wiredHandlers_;
  int keyHolds_ = 0;
  bool heldKeysReplayPending_ = false;
  std::deque<std::function<void()>> heldKeys_;
};

}  // namespace platform

// Connects control.Event to the handler named control_Event, inside a window's constructor, so
// that no handler is connected to an event that is not its own: WIRE(txtCall, KeyPress).
#define WIRE(control, Event)                                                   \
  Wire(control.Event, QStringLiteral(#control "_" #Event), [this](auto&&... args) { \
    control##_##Event(std::forward<decltype(args)>(args)...);                  \
  })
// A timer's event is Tick; its handler keeps the name timer_Timer.
#define WIRE_TIMER(timer) Wire(timer.Tick, QStringLiteral(#timer "_Timer"), [this] { timer##_Timer(); })
