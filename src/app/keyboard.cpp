#include "app/folders.h"
#include "app/form1.h"
#include "app/globals.h"
#include "keying/cwfrm.h"
#include "keying/frmcwstrings.h"
#include "keying/globals.h"
#include "keying/phonefrm.h"
#include "keying/tapplinkloader.h"
#include "logging/globals.h"
#include "logging/keyfilters.h"
#include "network/frmnetwork.h"
#include "platform/instances.h"
#include "platform/trace.h"
#include "rig/frmrigtune.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/frmbandplan.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotmapwindow.h"

#include <utility>

// The main window sees every key before the focused control: Ctrl shortcuts open the tool
// windows, function keys send the prepared messages, the arrows change the CW speed, F12 turns
// keyboard CW on and off, and Esc stops what is sent or clears the entry line.
namespace app {

namespace {

using namespace platform;

constexpr int kApostrophe = '\'';
constexpr int kDoubleQuote = '"';
constexpr Color KeyboardCWOnColor = 0xC0FFFF;
constexpr Color KeyboardCWOffColor = 0xC0C000;

bool PhoneMode() { return logging::CurrentMode.compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0; }
bool CWMode() { return logging::CurrentMode.compare(QLatin1String("CW"), Qt::CaseInsensitive) == 0; }

// A tool window that works beside the main window, brought up from wherever it was.
template <class F>
void ShowNormal() {
  F& window = Instance<F>();
  window.Show();
  window.SetWindowState(WindowNormal);
}

// The window a Ctrl shortcut opens; false for a key that is no shortcut.
bool OpenShortcutWindow(int keyCode) {
  static const std::pair<int, void (*)()> kShortcuts[] = {
      {'W', &ShowNormal<keying::frmCWStrings>},
      {'C', &ShowNormal<keying::CWFrm>},
      {'S', &ShowNormal<keying::CWFrm>},
      {'P', &ShowNormal<keying::PhoneFrm>},
      {'D', &ShowNormal<spotting::PacketSpotfrm>},
      {'R', [] { Instance<rig::RigControlfrm>().Show(); }},
      {'N', [] { Instance<network::frmNetwork>().Show(); }},
      {'M', [] { Instance<network::frmNetwork>().Show(); }},
      {'B', &ShowModalAndUnload<spotting::SpectrumMap>},
      {'F', &ShowModalAndUnload<spotting::frmBandPlan>},
      {'G', &ShowModalAndUnload<rig::frmRigTune>},
  };
  for (const auto& [key, open] : kShortcuts) {
    if (key == keyCode) {
      open();
      return true;
    }
  }
  return false;
}

// Any key stops an armed repeat of a CW or voice message.
void StopRepeats() {
  if (keying::CWRepeat != 0) {
    if (keying::TPVersion > 0) keying::tp_clearbuf();
    keying::CWBuffer.clear();
    keying::CWRepeat = 0;
    Instance<keying::CWFrm>().tmrRepeat.SetEnabled(false);
  }
  if (keying::PhoneRepeat != 0) {
    keying::PhoneRepeat = 0;
    Instance<keying::PhoneFrm>().tmrRepeat.SetEnabled(false);
  }
}

void PhoneFunctionKey(int& KeyCode) {
  if (KeyCode == KeyF10) {
    KeyCode = 0;
  } else if (KeyCode >= KeyF1 && KeyCode < KeyF10) {
    Instance<keying::PhoneFrm>().FKeyPhone(KeyCode);
  }
}

void ShowCWSpeed(Form1& form) {
  form.lblDialog.SetCaption(Instance<keying::CWFrm>().Text11.Text() + QStringLiteral(" WPM"));
}

void ToggleKeyboardCW(Form1& form) {
  if (KeyboardCW == 0) {
    KeyboardCW = 1;
    form.lblDialog.SetCaption(QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode."));
    form.lblDialog.SetBackColor(KeyboardCWOnColor);
  } else {
    KeyboardCW = 0;
    form.lblDialog.SetCaption(QString());
    form.lblDialog.SetBackColor(KeyboardCWOffColor);
  }
}

// CW mode with a keying interface chosen: the arrows change the speed, the function keys send.
void CWKey(Form1& form, int& KeyCode) {
  if (KeyCode == KeyDown || KeyCode == KeyUp) {
    keying::CWFrm& cw = Instance<keying::CWFrm>();
    KeyCode == KeyDown ? cw.UpDown1_DownClick() : cw.UpDown1_UpClick();
    ShowCWSpeed(form);
    KeyCode = 0;
    return;
  }
  if (KeyCode < KeyF1 || KeyCode > KeyF12) return;
  if (KeyCode == KeyF12) {
    ToggleKeyboardCW(form);
    return;
  }
  if (KeyCode == KeyF10) KeyCode = keying::F10MessageKeyCode;
  Instance<keying::CWFrm>().FKeyCW(KeyCode);
}

// A voice message plays on whatever the mode turns to meanwhile (the rig's knob, the mode box, the
// Mode menu), and so does its push-to-talk: Esc stops it before the mode decides anything.
bool VoicePlaying() {
  return IsLoaded<keying::PhoneFrm>() && Instance<keying::PhoneFrm>().MMControl1.Mode() == MciModePlay;
}

// Esc while the keyer device holds text it has not sent yet: the device drops it.
bool ClearKeyerDevice() {
  if (keying::KeyingMode != 5 || keying::TPVersion == 0) return false;
  keying::TPStatus = keying::tp_getstatus();
  if (keying::TPStatus <= 0) return false;
  keying::tp_clearbuf();
  keying::CWBuffer.clear();
  return true;
}

// Backspace in keyboard CW takes back the last character not yet sent.
bool TakeBackLastCharacter() {
  if (KeyboardCW != 1) return false;
  if (keying::TPVersion > 0 && keying::TPStatus > 0) {
    keying::tp_backspace();
    return true;
  }
  if (keying::CWSending == 1 && !keying::CWBuffer.isEmpty()) {
    keying::CWBuffer.chop(1);
    return true;
  }
  return false;
}

}  // namespace

void Form1::Form_KeyDown(int& KeyCode, int Shift) {
  // The Ctrl key's own key-down types nothing: it must not swallow the next key's character.
  if (Shift == CtrlMask && KeyCode != KeyControl) {
    CtrlKeyPending = 1;
    // The windows read their files by plain name; one that cannot be made current still opens.
    SkipOnError(lcApp, &SelectProgramFolder);
    if (OpenShortcutWindow(KeyCode)) {
      KeyCode = 0;
      return;
    }
  }
  StopRepeats();
  if (PhoneMode()) {
    PhoneFunctionKey(KeyCode);
    return;
  }
  if (keying::KeyingMode != 0) CWKey(*this, KeyCode);
}

void Form1::Form_KeyPress(int& KeyAscii) {
  if (KeyAscii == KeyEscape && VoicePlaying()) {
    Instance<keying::PhoneFrm>().MMControl1.Command(QStringLiteral("Stop"));
    KeyAscii = 0;
    return;
  }
  // A character the handlers consume goes no further: neither to the focused box nor to the keying.
  if (CtrlKeyPending == 1) {
    CtrlKeyPending = 0;
    KeyAscii = 0;
    return;
  }
  if (KeyAscii == kApostrophe || KeyAscii == kDoubleQuote) {
    KeyAscii = 0;
    return;
  }
  if (KeyAscii == KeyEscape) {
    if (!ClearKeyerDevice()) {
      if (keying::CWSending == 0) {
        cmdClear_Click();
      } else {
        keying::CWBuffer.clear();
      }
    }
    KeyAscii = 0;
    return;
  }
  if (keying::TPVersion > 0) keying::TPStatus = keying::tp_getstatus();
  if (KeyAscii == KeyBack && TakeBackLastCharacter()) {
    KeyAscii = 0;
    return;
  }
  if (CWMode() && KeyboardCW == 1) {
    logging::Capital(KeyAscii);
    keying::CWBuffer += QChar(KeyAscii);
    KeyAscii = 0;
    if (keying::CWSending == 0) Instance<keying::CWFrm>().LoopThroughCWBuffer();
  }
}

}  // namespace app
