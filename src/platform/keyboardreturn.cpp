#include "platform/keyboardreturn.h"

#include <QApplication>

namespace platform {

namespace {

// The window the last modal window gave the keyboard back to: it is active only once the event
// loop has run, and a dialog opened before then (the next in a row) must give it back there too.
QPointer<QWidget> keyboardGivenBackTo;

}  // namespace

KeyboardReturn::KeyboardReturn() : window_(QApplication::activeWindow()) {
  if (!window_) window_ = keyboardGivenBackTo;
}

KeyboardReturn::~KeyboardReturn() {
  if (!window_ || !window_->isVisible() || window_->isMinimized()) return;
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal != window_) return;  // a modal window still open keeps the keyboard
  window_->activateWindow();
  keyboardGivenBackTo = window_;
}

}  // namespace platform
