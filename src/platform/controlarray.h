#pragma once

#include "platform/control.h"
#include "platform/errors.h"
#include "platform/menu.h"

#include <QObject>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

namespace platform {

// A control array: controls of one kind under one name, told apart by index (indexes may leave
// gaps). Built as a window member with the container and name, then its design elements are
// added: `ControlArray<Label> lblGrid{this, "lblGrid"};` ... `lblGrid.Add(i).Move(...)`.
// Extra constructor arguments go to every element (`ControlArray<TextBox> t{this, "t", MultiLine}`).
// The events of the elements arrive at the array's events with the element's index first.
template <class T>
class ControlArray {
 public:
  template <class Parent, class... Extra>
  ControlArray(Parent* parent, const QString& name, Extra... extra)
      : name_(name), make_([parent, name, extra...](int index) {
          return std::make_unique<T>(parent, name, extra..., index);
        }) {
    if constexpr (std::is_same_v<T, Menu>) menuSlot_ = Menu::ItemCount(parent);
  }
  ControlArray(const ControlArray&) = delete;
  ControlArray& operator=(const ControlArray&) = delete;

  const QString& Name() const { return name_; }

  // An element that is part of the design.
  T& Add(int index) {
    T& element = Create(index);
    if constexpr (std::is_same_v<T, Menu>) element.PlaceAt(menuSlot_ + Count() - 1);
    return element;
  }

  // A new element at run time: it takes the design values of the lowest element and starts
  // hidden (a menu item takes its visibility too, and its place after the last item).
  T& Load(int index) {
    if (elements_.empty()) MissingElement(index);
    const T& model = *elements_.begin()->second;
    const T& last = *elements_.rbegin()->second;
    T& element = Create(index);
    element.CopyDesignFrom(model);
    if constexpr (std::is_same_v<T, Menu>) {
      element.SetVisible(model.Visible());
      element.PlaceAfter(last);
    } else {
      element.SetVisible(false);
    }
    loadedAtRunTime_.push_back(index);
    return element;
  }

  // Removes an element loaded at run time; design elements stay (RuntimeError 362). The element
  // leaves the array at once; while an event handler runs (its own, perhaps) it is only hidden,
  // and destroyed once the handlers have returned.
  void Unload(int index) {
    auto found = elements_.find(index);
    if (found == elements_.end()) MissingElement(index);
    auto runTime = std::find(loadedAtRunTime_.begin(), loadedAtRunTime_.end(), index);
    if (runTime == loadedAtRunTime_.end()) {
      throw RuntimeError(QStringLiteral("Can't unload controls created at design time"), 362);
    }
    loadedAtRunTime_.erase(runTime);
    std::unique_ptr<T> element = std::move(found->second);
    elements_.erase(found);
    element->Retire();
    if (!detail::HandlersRunning()) return;
    unloaded_.push_back(std::move(element));
    detail::WhenHandlersIdle(&lifetime_, [this] { unloaded_.clear(); });
  }

  T& operator()(int index) const {
    auto found = elements_.find(index);
    if (found == elements_.end()) MissingElement(index);
    return *found->second;
  }
  T& operator[](int index) const { return (*this)(index); }
  bool Exists(int index) const { return elements_.count(index) != 0; }
  int Count() const { return static_cast<int>(elements_.size()); }
  int LBound() const { return elements_.empty() ? 0 : elements_.begin()->first; }
  int UBound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }
  std::vector<int> Indexes() const {
    std::vector<int> indexes;
    for (const auto& element : elements_) indexes.push_back(element.first);
    return indexes;
  }

  std::function<void(int Index)> Click;
  std::function<void(int Index)> DblClick;
  std::function<void(int Index)> Change;
  std::function<void(int Index)> Tick;
  std::function<void(int Index, int& KeyAscii)> KeyPress;
  std::function<void(int Index, int& KeyCode, int Shift)> KeyDown;
  std::function<void(int Index, int& KeyCode, int Shift)> KeyUp;
  std::function<void(int Index)> GotFocus;
  std::function<void(int Index)> LostFocus;
  std::function<void(int Index, int Button, int Shift, float X, float Y)> MouseDown;
  std::function<void(int Index, int Button, int Shift, float X, float Y)> MouseMove;
  std::function<void(int Index, int Button, int Shift, float X, float Y)> MouseUp;
  // Events of socket elements (winsock.h).
  std::function<void(int Index, std::int32_t requestID)> OnConnectionRequest;
  std::function<void(int Index)> OnConnect;
  std::function<void(int Index, std::int32_t bytesTotal)> OnDataArrival;
  std::function<void(int Index)> OnClose;
  std::function<void(int Index, int Number, const QString& Description)> OnError;

 private:
  [[noreturn]] static void MissingElement(int index) {
    throw RuntimeError(QStringLiteral("Control array element '%1' doesn't exist").arg(index), 340);
  }

  T& Create(int index) {
    if (elements_.count(index) != 0) throw RuntimeError(QStringLiteral("Object already loaded"), 360);
    if (index < 0) InvalidPropertyValue();
    T& element = *elements_.emplace(index, make_(index)).first->second;
    Wire(element, index);
    return element;
  }

  void Wire(T& element, int index) {
    element.Click = [this, index] { Forward(Click, index); };
    element.DblClick = [this, index] { Forward(DblClick, index); };
    element.KeyPress = [this, index](int& keyAscii) { Forward(KeyPress, index, keyAscii); };
    element.KeyDown = [this, index](int& keyCode, int shift) { Forward(KeyDown, index, keyCode, shift); };
    element.KeyUp = [this, index](int& keyCode, int shift) { Forward(KeyUp, index, keyCode, shift); };
    element.GotFocus = [this, index] { Forward(GotFocus, index); };
    element.LostFocus = [this, index] { Forward(LostFocus, index); };
    element.MouseDown = [this, index](int b, int s, float x, float y) { Forward(MouseDown, index, b, s, x, y); };
    element.MouseMove = [this, index](int b, int s, float x, float y) { Forward(MouseMove, index, b, s, x, y); };
    element.MouseUp = [this, index](int b, int s, float x, float y) { Forward(MouseUp, index, b, s, x, y); };
    if constexpr (requires { element.Change; }) element.Change = [this, index] { Forward(Change, index); };
    if constexpr (requires { element.Tick; }) element.Tick = [this, index] { Forward(Tick, index); };
    if constexpr (requires { element.OnDataArrival; }) {
      element.OnConnectionRequest = [this, index](std::int32_t id) { Forward(OnConnectionRequest, index, id); };
      element.OnConnect = [this, index] { Forward(OnConnect, index); };
      element.OnDataArrival = [this, index](std::int32_t bytes) { Forward(OnDataArrival, index, bytes); };
      element.OnClose = [this, index] { Forward(OnClose, index); };
      element.OnError = [this, index](int number, const QString& text) { Forward(OnError, index, number, text); };
    }
  }

  template <class Handler, class... Args>
  static void Forward(const Handler& handler, Args&&... args) {
    if (handler) handler(std::forward<Args>(args)...);
  }

  QString name_;
  std::function<std::unique_ptr<T>(int)> make_;
  std::map<int, std::unique_ptr<T>> elements_;
  std::vector<int> loadedAtRunTime_;
  std::vector<std::unique_ptr<T>> unloaded_;  // waiting for the running handlers to return
  QObject lifetime_;                          // cancels that wait when the array goes first
  int menuSlot_ = 0;
};

}  // namespace platform
