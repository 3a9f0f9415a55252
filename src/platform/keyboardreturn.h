#pragma once

#include <QPointer>
#include <QWidget>

namespace platform {

// Gives the keyboard back, when a modal window closes, to the window that had it when the modal
// window opened, as an owner window gets it back from its dialog; the window's own focus (the
// control that had it, or the one the program chose meanwhile) comes back with it. Without a
// window manager nothing else would: keys would reach the window under the pointer with no window
// active, so its menus' access keys would not work. Lives across the modal window's loop; a
// window gone, hidden or minimised meanwhile is left alone.
class KeyboardReturn {
 public:
  KeyboardReturn();
  ~KeyboardReturn();
  KeyboardReturn(const KeyboardReturn&) = delete;
  KeyboardReturn& operator=(const KeyboardReturn&) = delete;

 private:
  QPointer<QWidget> window_;
};

}  // namespace platform
