#include "keying/frmcwstrings.h"

#include "app/form1.h"
#include "platform/instances.h"

namespace keying {

frmCWStrings::frmCWStrings() : Form(QStringLiteral("frmCWStrings")) {
  SetCaption(QStringLiteral("CW Strings"));
  // Designed by its client area.
  Move(0, 0, 2610 + 2 * BorderTwips, 4965 + CaptionTwips + BorderTwips);
  SetKeyPreview(true);
}

// The main window's handlers take the key by reference: what they swallow or change here stays so.
void frmCWStrings::Form_KeyDown(int& KeyCode, int Shift) {
  platform::Instance<app::Form1>().Form_KeyDown(KeyCode, Shift);
}

void frmCWStrings::Form_KeyPress(int& KeyAscii) { platform::Instance<app::Form1>().Form_KeyPress(KeyAscii); }

}  // namespace keying
