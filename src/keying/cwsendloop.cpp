// The CW window's sending: a function key's message with its macros filled in, the send buffer
// keyed one character at a time with the events running between characters, and the repeat of
// F1's message.
#include "app/form1.h"
#include "app/globals.h"
#include "keying/cwfrm.h"
#include "keying/cwmacros.h"
#include "keying/frmtappler.h"
#include "keying/globals.h"
#include "logging/globals.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/numbertext.h"
#include "platform/trace.h"

namespace keying {

namespace {

constexpr int KeyF11 = 122;
constexpr std::uint8_t KeyerDeviceMode = 5;
const QString KeyboardCWOnText = QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit.");

// The value of "*": the report the entry line holds, sent as "5NN" when it is empty or 599, and
// kept so in the entry line's copy.
QString RstSentForMessage() {
  if (logging::CurrentRstSent.isEmpty() || logging::CurrentRstSent == QLatin1String("599")) {
    logging::CurrentRstSent = QStringLiteral("5NN");
  }
  return platform::TrimBlanks(logging::CurrentRstSent);
}

QString ExpandMessageMacros(QString message) {
  message = ExpandMacro(message, QLatin1Char('$'), [] { return platform::TrimBlanks(logging::CurrentCall); });
  message = ExpandMacro(message, QLatin1Char('#'), [] { return platform::TrimBlanks(CurrentNumber); });
  return ExpandMacro(message, QLatin1Char('*'), &RstSentForMessage);
}

}  // namespace

QString CWFrm::MessageOfKey(int keyCode) const {
  if (keyCode >= platform::KeyF1 && keyCode < platform::KeyF10) {
    const platform::TextBox* const messages[] = {&Text1, &Text2, &Text3, &Text4, &Text5,
                                                 &Text6, &Text7, &Text8, &Text9};
    return messages[keyCode - platform::KeyF1]->Text();
  }
  if (keyCode == F10MessageKeyCode) return Text12.Text();
  if (keyCode == KeyF11) return Text13.Text();
  return {};
}

// A key pressed while a message goes out empties the buffer first: its own message replaces the
// rest of the one being sent.
void CWFrm::FKeyCW(int& KeyCode) {
  CWBuffer.clear();
  try {
    if (KeyingMode == 0) {
      platform::DoEvents();
      return;
    }
    const bool functionKey = KeyCode >= platform::KeyF1 && KeyCode <= F10MessageKeyCode;
    if (!functionKey && app::KeyboardCW != 1) return;
    QString message = MessageOfKey(KeyCode);
    if (KeyCode == platform::KeyF1 && platform::ValOfNumberText(txtCWLoop.Text()).value_or(0) > 0) CWRepeat = 1;
    if (KeyCode < platform::KeyF1 && app::KeyboardCW == 1) {
      if (KeyCode < 0) return;  // no character has the code
      message = QString(QChar(KeyCode)).toUpper();
    }
    if (!message.isEmpty()) message = ExpandMessageMacros(message);
    CWBuffer += message;
    LoopThroughCWBuffer();
    platform::DoEvents();
  } catch (const std::exception& error) {
    platform::TraceError(lcKeying, error);
  }
}

// The buffer is read afresh for each character: what the events between characters add is sent
// by this same loop, and emptying it stops the loop after the character being keyed.
void CWFrm::LoopThroughCWBuffer() {
  if (KeyingMode == KeyerDeviceMode) {
    HandToKeyerDevice();
    return;
  }
  CWSending = 1;
  while (!CWBuffer.isEmpty()) {
    const QString character = CWBuffer.left(1);
    CWBuffer.remove(0, 1);
    Transmit(character);
    if (Check1.Value() == 1) EchoOnMainWindow(CWBuffer);
    platform::DoEvents();
  }
  if (CWRepeat == 1) tmrRepeat.SetEnabled(true);
  CWSending = 0;
  if (Check1.Value() == 1) EchoOnMainWindow(app::KeyboardCW == 1 ? KeyboardCWOnText : QString());
}

// The device keys the text itself, so a "!" in it logs the contact before any of it is sent.
void CWFrm::HandToKeyerDevice() {
  platform::SkipOnError(lcKeying, [] {
    app::Form1& form = platform::Instance<app::Form1>();
    if (!form.txtCall.Text().isEmpty() && CWBuffer.contains(QLatin1Char('!'))) form.Mains();
  });
  platform::SkipOnError(lcKeying, [] { platform::Instance<frmTappler>().TPTransmit(); });
  if (CWRepeat == 1) tmrRepeat.SetEnabled(true);
}

void CWFrm::EchoOnMainWindow(const QString& text) {
  if (platform::IsLoaded<app::Form1>()) platform::Instance<app::Form1>().lblDialog.SetCaption(text);
}

// F1's message again, which arms the next repeat while the repeat time is above 0.
void CWFrm::tmrRepeat_Timer() {
  tmrRepeat.SetEnabled(false);
  int keyCode = platform::KeyF1;
  FKeyCW(keyCode);
}

}  // namespace keying
