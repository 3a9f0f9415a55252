#pragma once

#include "platform/form.h"

namespace keying {

// The clickable strip of CW messages, one row per function key. Keys typed while it is active
// work as on the main window.
class frmCWStrings : public platform::Form {
 public:
  frmCWStrings();

  void Form_KeyDown(int& KeyCode, int Shift) override;
  void Form_KeyPress(int& KeyAscii) override;
};

}  // namespace keying
