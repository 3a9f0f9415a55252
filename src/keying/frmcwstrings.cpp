#include "keying/frmcwstrings.h"

#include "app/form1.h"
#include "app/modformresize.h"
#include "keying/cwfrm.h"
#include "keying/globals.h"
#include "platform/design.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/trace.h"

#include <array>

namespace keying {

namespace {

constexpr int kRows = 12;
constexpr int kKeyboardRow = 11;  // F12 toggles keyboard CW; its row sends nothing
constexpr double kRowStep = 360;
constexpr double kRowHeight = 255;

}  // namespace

frmCWStrings::frmCWStrings() : Form(QStringLiteral("frmCWStrings")) {
  SetCaption(QStringLiteral("CW Strings"));
  // Designed by its client area.
  Move(0, 0, 2610 + 2 * BorderTwips, 4965 + CaptionTwips + BorderTwips);
  SetKeyPreview(true);
  platform::DesignCaption(Label2, "Press Ctrl W to Show this form.", 120, 40, 2415, kRowHeight);
  for (int row = 0; row < kRows; ++row) {
    const double top = 360 + kRowStep * row;
    platform::Label& key = Label1.Add(row);
    platform::DesignCaption(key, QStringLiteral("F%1").arg(row + 1), 120, top, 405, kRowHeight);
    key.SetFontName(QStringLiteral("MS Sans Serif"));
    key.SetFontSize(8.25);
    key.SetFontBold(true);
    platform::Label& message = lblCWString.Add(row);
    platform::DesignCaption(message, "", 600, top, 1935, kRowHeight);
    message.NameAfter(key);
  }
  lblCWString[kKeyboardRow].SetCaption(QStringLiteral("Keyboard"));
  platform::DesignCaption(Command1, "Done", 840, 4680, 855, kRowHeight);

  WIRE(Label1, Click);
  WIRE(lblCWString, Click);
  WIRE(Command1, Click);
}

// Centred exactly on the screen; fonts grow with the screen's width, at most by half.
void frmCWStrings::Form_Load() {
  platform::SkipOnError(lcKeying, [this] {
    using namespace app::ModFormResize;
    FitToScreen(*this, FitRule{ScreenPlacement::Centred, FitArea::Screen, FontFactor::ScreenWidthAtMost1_5});
  });
}

// The rows show the messages as the CW window holds them now.
void frmCWStrings::Form_Activate() {
  const CWFrm& cw = platform::Instance<CWFrm>();
  const std::array<const platform::TextBox*, kKeyboardRow> messages = {
      &cw.Text1, &cw.Text2, &cw.Text3, &cw.Text4, &cw.Text5, &cw.Text6, &cw.Text7, &cw.Text8, &cw.Text9, &cw.Text12,
      &cw.Text13};
  for (int row = 0; row < kKeyboardRow; ++row) lblCWString[row].SetCaption(messages[row]->Text());
}

void frmCWStrings::Label1_Click(int Index) {
  if (KeyingMode == 0) return;
  int keyCode = platform::KeyF1 + Index;
  if (keyCode == platform::KeyF10) keyCode = F10MessageKeyCode;
  if (keyCode == platform::KeyF12) return;
  platform::Instance<CWFrm>().FKeyCW(keyCode);
}

void frmCWStrings::lblCWString_Click(int Index) { Label1_Click(Index); }

// The strip stays loaded, out of the way until Ctrl+W brings it back.
void frmCWStrings::Command1_Click() { SetWindowState(platform::WindowMinimized); }

// The main window's handlers take the key by reference: what they swallow or change here stays so.
void frmCWStrings::Form_KeyDown(int& KeyCode, int Shift) {
  platform::Instance<app::Form1>().Form_KeyDown(KeyCode, Shift);
}

void frmCWStrings::Form_KeyPress(int& KeyAscii) { platform::Instance<app::Form1>().Form_KeyPress(KeyAscii); }

}  // namespace keying
