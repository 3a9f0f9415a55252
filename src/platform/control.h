#pragma once

#include "platform/color.h"
#include "platform/placement.h"

#include <QFont>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QEvent;
class QKeyEvent;
class QMouseEvent;
class QObject;

namespace platform {

class Form;
class Label;

// The kinds of control a window is made of; screen scaling decides by kind what it changes.
enum class ControlKind {
  TextBox,
  Label,
  CommandButton,
  OptionButton,
  CheckBox,
  Frame,
  ListBox,
  ComboBox,
  ListView,
  Line,
  Image,
  PictureBox,
  Menu,
  Timer,
  UpDown,
  Winsock,
};

// Something controls are placed in: a form's client area, a frame or a picture box.
// Positions of the controls in it are relative to its top-left corner.
class Container {
 public:
  virtual ~Container() = default;
  virtual QWidget* ClientWidget() const = 0;
  virtual Form& OwnerForm() const = 0;
};

// Alignment values of text boxes, labels and column headers.
inline constexpr int AlignLeft = 0;
inline constexpr int AlignRight = 1;
inline constexpr int AlignCenter = 2;

// The common part of every control: name and index, design geometry in twips, the common
// properties, and the events. Geometry is kept as set, in twips, so that values read back are the
// values written (screen scaling multiplies them repeatedly); the widget follows in whole pixels.
// Events are plain function members, empty until the window assigns a handler.
class Control : public Placement {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  ControlKind Kind() const { return kind_; }
  const QString& Name() const { return name_; }
  int Index() const { return index_; }  // -1 outside a control array
  Form& OwnerForm() const { return *form_; }
  QWidget* Widget() const { return widget_; }  // null for timers and menus


  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  Color BackColor() const;
  virtual void SetBackColor(Color color);
  Color ForeColor() const;
  virtual void SetForeColor(Color color);

  double FontSize() const { return font_.pointSizeF(); }
  void SetFontSize(double points);
  QString FontName() const { return font_.family(); }
  void SetFontName(const QString& name);
  bool FontBold() const { return font_.bold(); }
  void SetFontBold(bool bold);
  bool FontItalic() const { return font_.italic(); }
  void SetFontItalic(bool italic);
  bool FontUnderline() const { return font_.underline(); }
  void SetFontUnderline(bool underline);

  const QString& Tag() const { return tag_; }
  void SetTag(const QString& tag) { tag_ = tag; }
  QString ToolTipText() const;
  void SetToolTipText(const QString& text);

  // What a screen reader says of the control: a name and, where the name does not say enough, a
  // description. Every input, list and value is named, most after its caption label.
  void SetAccessibleName(const QString& name);
  void SetAccessibleDescription(const QString& description);
  // The caption label's caption as the name, as the operator reads it (without "&", and without
  // leader dots or a closing colon), followed whenever the caption changes. A button reads the
  // caption, then its own: "Partial On".
  void NameAfter(Label& caption);

  // Place in the window's tab order (window-wide, frames included); setting it shifts the others.
  int TabIndex() const;
  void SetTabIndex(int index);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop);
  bool CanTakeFocus() const;  // the kind of control takes focus at all
  // Throws RuntimeError 5 when the control is hidden or disabled, as the control does.
  void SetFocus();
  bool HasFocus() const;

  void Refresh();

  // A new element of a control array takes the design values of an existing one.
  virtual void CopyDesignFrom(const Control& source);
  // An element unloaded from its array: hidden, out of the window's controls, and it raises no
  // more events while it waits to be destroyed.
  virtual void Retire();

  std::function<void()> Click;
  std::function<void()> DblClick;
  std::function<void(int& KeyAscii)> KeyPress;
  std::function<void(int& KeyCode, int Shift)> KeyDown;
  std::function<void(int& KeyCode, int Shift)> KeyUp;
  std::function<void()> GotFocus;
  std::function<void()> LostFocus;
  std::function<void(int Button, int Shift, float X, float Y)> MouseDown;
  std::function<void(int Button, int Shift, float X, float Y)> MouseMove;
  std::function<void(int Button, int Shift, float X, float Y)> MouseUp;

 protected:
  Control(ControlKind kind, Container* parent, const QString& name, int index, QWidget* widget);
  Control(ControlKind kind, Form& form, const QString& name, int index);  // no widget of its own

  // Widgets that receive input for the control besides Widget() itself (a scroll area's
  // viewport, an editable combo box's line edit) are watched as well.
  void WatchInputOf(QWidget* widget);
  // Deletes the widget now; classes whose widget uses their own members call it first thing in
  // their destructor.
  void DestroyWidget();
  // The role of the widget's palette that BackColor stands for (ForeColor sets every text role).
  virtual QPalette::ColorRole BackRole() const { return QPalette::Window; }
  virtual QPalette::ColorRole ForeRole() const { return QPalette::WindowText; }
  // Passive controls take the mouse events themselves, so that they do not reach the container.
  virtual bool ConsumesMouse() const { return false; }
  // Click on a left-button release over the control; controls whose Click comes from their
  // widget's own signal (buttons, lists) turn this off.
  virtual bool ClicksOnMouseRelease() const { return true; }
  virtual void OnMouseRelease(QMouseEvent& event);
  void ApplyGeometry() override;
  virtual void ApplyFont();
  void SetFont(const QFont& font);
  // Drawn straight on the container: stays beneath the controls that have windows of their own.
  bool IsWindowless() const;
  // What the control says of itself after its caption label's name: a button's caption; nothing
  // for a control whose own text is its value.
  virtual QString OwnCaptionForName() const { return {}; }
  void RefreshAccessibleName();
  // A caption label whose caption changed renames the controls named after it.
  void RenameControlsNamedAfterThis() const;

  // Runs one event handler of the window, keeping the window alive while it runs and reporting
  // an error that escapes it instead of letting it pass through the event loop.
  template <class Handler, class... Args>
  void Raise(const Handler& handler, Args&&... args) const;

 private:
  friend class Form;
  friend class ControlEventFilter;
  template <class T>
  friend class ControlArray;

  bool FilterEvent(QObject* watched, QEvent* event);
  bool FilterMouse(QObject* watched, QMouseEvent& event);
  void StackAmongSiblings();

  ControlKind kind_;
  Form* form_;
  QString name_;
  int index_;
  QPointer<QWidget> widget_;
  QPointer<QWidget> nameCaption_;  // the caption label the control is named after
  bool namesOthers_ = false;        // a caption label some control is named after
  std::unique_ptr<QObject> filter_;
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = true;
  bool retired_ = false;
  bool clickAfterDoubleClick_ = true;
  Qt::FocusPolicy focusPolicy_ = Qt::NoFocus;
  QFont font_;
  QString tag_;
  QString toolTip_;
};

namespace detail {

// Counts event handlers of windows that are running; a window unloaded inside a handler is
// destroyed only once no handler runs any more.
class DispatchGuard {
 public:
  DispatchGuard();
  ~DispatchGuard();
  DispatchGuard(const DispatchGuard&) = delete;
  DispatchGuard& operator=(const DispatchGuard&) = delete;
};
bool HandlersRunning();
// Runs an action from the event loop once no handler runs any more (at the next pass when none
// does now); nothing happens when `context` is destroyed first.
void WhenHandlersIdle(QObject* context, std::function<void()> action);
// Runs a handler body under a DispatchGuard; an error escaping it is reported, not propagated.
void RunHandler(const std::function<void()>& body);

// The font with one property changed through its setter: FontWith(font, &QFont::setBold, true).
template <class Param, class Value>
QFont FontWith(QFont font, void (QFont::*setter)(Param), const Value& value) {
  (font.*setter)(value);
  return font;
}

}  // namespace detail

template <class Handler, class... Args>
void Control::Raise(const Handler& handler, Args&&... args) const {
  if (!handler || retired_) return;
  detail::RunHandler([&] { handler(std::forward<Args>(args)...); });
}

}  // namespace platform
