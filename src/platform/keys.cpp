#include "platform/keys.h"

#include "platform/errors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <map>
#include <vector>

namespace platform {

namespace {

// Symbols typed with Shift report the shifted character; the key code is that of the key itself
// (US layout), as the handlers compare key codes of keys, not of characters.
int CodeOfSymbol(int key) {
  static const std::map<int, int> codes = {
      {Qt::Key_Exclam, '1'},      {Qt::Key_At, '2'},          {Qt::Key_NumberSign, '3'},
      {Qt::Key_Dollar, '4'},      {Qt::Key_Percent, '5'},     {Qt::Key_AsciiCircum, '6'},
      {Qt::Key_Ampersand, '7'},   {Qt::Key_Asterisk, '8'},    {Qt::Key_ParenLeft, '9'},
      {Qt::Key_ParenRight, '0'},  {Qt::Key_Semicolon, 186},   {Qt::Key_Colon, 186},
      {Qt::Key_Equal, 187},       {Qt::Key_Plus, 187},        {Qt::Key_Comma, 188},
      {Qt::Key_Less, 188},        {Qt::Key_Minus, 189},       {Qt::Key_Underscore, 189},
      {Qt::Key_Period, 190},      {Qt::Key_Greater, 190},     {Qt::Key_Slash, 191},
      {Qt::Key_Question, 191},    {Qt::Key_QuoteLeft, 192},   {Qt::Key_AsciiTilde, 192},
      {Qt::Key_BracketLeft, 219}, {Qt::Key_BraceLeft, 219},   {Qt::Key_Backslash, 220},
      {Qt::Key_Bar, 220},         {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221},
      {Qt::Key_Apostrophe, 222},  {Qt::Key_QuoteDbl, 222},
  };
  auto found = codes.find(key);
  return found == codes.end() ? 0 : found->second;
}

int CodeOfKeypadKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 96 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: return 110;
    case Qt::Key_Slash: return 111;
    case Qt::Key_Enter: return KeyReturn;
    default: return 0;
  }
}

int CodeOfNamedKey(int key) {
  static const std::map<int, int> codes = {
      {Qt::Key_Backspace, KeyBack}, {Qt::Key_Tab, KeyTab},         {Qt::Key_Backtab, KeyTab},
      {Qt::Key_Return, KeyReturn},  {Qt::Key_Enter, KeyReturn},    {Qt::Key_Shift, KeyShift},
      {Qt::Key_Control, KeyControl}, {Qt::Key_Alt, KeyMenu},       {Qt::Key_Escape, KeyEscape},
      {Qt::Key_Space, KeySpace},    {Qt::Key_PageUp, KeyPageUp},   {Qt::Key_PageDown, KeyPageDown},
      {Qt::Key_End, KeyEnd},        {Qt::Key_Home, KeyHome},       {Qt::Key_Left, KeyLeft},
      {Qt::Key_Up, KeyUp},          {Qt::Key_Right, KeyRight},     {Qt::Key_Down, KeyDown},
      {Qt::Key_Insert, KeyInsert},  {Qt::Key_Delete, KeyDelete},   {Qt::Key_Pause, 19},
      {Qt::Key_CapsLock, 20},       {Qt::Key_NumLock, 144},        {Qt::Key_ScrollLock, 145},
  };
  auto found = codes.find(key);
  return found == codes.end() ? 0 : found->second;
}

}  // namespace

int KeyCodeOf(const QKeyEvent& event) {
  const int key = event.key();
  if (event.modifiers() & Qt::KeypadModifier) {
    if (int code = CodeOfKeypadKey(key)) return code;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return KeyF1 + (key - Qt::Key_F1);
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
  if (int code = CodeOfNamedKey(key)) return code;
  return CodeOfSymbol(key);
}

int KeyAsciiOf(const QKeyEvent& event) {
  const int key = event.key();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return 0;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return KeyReturn;
  if (key == Qt::Key_Escape) return KeyEscape;
  if (key == Qt::Key_Backspace) return KeyBack;
  if (IsAccessKey(event)) return 0;
  // Ctrl with a letter types the control character (Ctrl+A is 1), whatever text Qt attached.
  if ((event.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
    return key - Qt::Key_A + 1;
  }
  const QString text = event.text();
  if (text.isEmpty()) return 0;
  const int code = text.at(0).unicode();
  return (code >= 32 && code != 127) ? code : 0;
}

bool IsAccessKey(const QKeyEvent& event) {
  return (event.modifiers() & Qt::AltModifier) && !(event.modifiers() & Qt::ControlModifier);
}

int ShiftStateOf(Qt::KeyboardModifiers modifiers) {
  return ((modifiers & Qt::ShiftModifier) ? ShiftMask : 0) |
         ((modifiers & Qt::ControlModifier) ? CtrlMask : 0) | ((modifiers & Qt::AltModifier) ? AltMask : 0);
}

int MouseButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return LeftButton;
    case Qt::RightButton: return RightButton;
    case Qt::MiddleButton: return MiddleButton;
    default: return 0;
  }
}

int MouseButtonsOf(Qt::MouseButtons buttons) {
  return ((buttons & Qt::LeftButton) ? LeftButton : 0) | ((buttons & Qt::RightButton) ? RightButton : 0) |
         ((buttons & Qt::MiddleButton) ? MiddleButton : 0);
}

Qt::Key QtKeyForAscii(int keyAscii) {
  switch (keyAscii) {
    case KeyBack: return Qt::Key_Backspace;
    case KeyTab: return Qt::Key_Tab;
    case KeyReturn: return Qt::Key_Return;
    case KeyEscape: return Qt::Key_Escape;
    default: break;
  }
  if (keyAscii >= 'a' && keyAscii <= 'z') return static_cast<Qt::Key>(keyAscii - 'a' + 'A');
  if (keyAscii >= 32 && keyAscii < 127) return static_cast<Qt::Key>(keyAscii);
  return Qt::Key_unknown;
}

namespace {

struct Keystroke {
  Qt::Key key;
  QString text;
};

Keystroke NamedKeystroke(const QString& name) {
  static const std::map<QString, Keystroke> named = {
      {"TAB", {Qt::Key_Tab, "\t"}},          {"ENTER", {Qt::Key_Return, "\r"}},
      {"ESC", {Qt::Key_Escape, "\x1b"}},     {"ESCAPE", {Qt::Key_Escape, "\x1b"}},
      {"BACKSPACE", {Qt::Key_Backspace, "\b"}}, {"BS", {Qt::Key_Backspace, "\b"}},
      {"DELETE", {Qt::Key_Delete, ""}},      {"DEL", {Qt::Key_Delete, ""}},
      {"UP", {Qt::Key_Up, ""}},              {"DOWN", {Qt::Key_Down, ""}},
      {"LEFT", {Qt::Key_Left, ""}},          {"RIGHT", {Qt::Key_Right, ""}},
      {"HOME", {Qt::Key_Home, ""}},          {"END", {Qt::Key_End, ""}},
  };
  const QString upper = name.toUpper();
  if (auto found = named.find(upper); found != named.end()) return found->second;
  if (upper.startsWith('F')) {
    bool ok = false;
    const int number = upper.mid(1).toInt(&ok);
    if (ok && number >= 1 && number <= 12) return {static_cast<Qt::Key>(Qt::Key_F1 + number - 1), ""};
  }
  if (name.size() == 1) return {QtKeyForAscii(name.at(0).unicode()), name};
  InvalidProcedureCall();
}

std::vector<Keystroke> ParseKeys(const QString& keys) {
  std::vector<Keystroke> strokes;
  for (qsizetype i = 0; i < keys.size(); ++i) {
    const QChar c = keys.at(i);
    if (c == '~') {
      strokes.push_back({Qt::Key_Return, "\r"});
    } else if (c == '{') {
      // "{}}" names the brace itself, so the closing brace is searched from the second character.
      const qsizetype close = keys.indexOf('}', i + 2);
      if (close < 0) InvalidProcedureCall();
      strokes.push_back(NamedKeystroke(keys.mid(i + 1, close - i - 1)));
      i = close;
    } else {
      strokes.push_back({QtKeyForAscii(c.unicode()), QString(c)});
    }
  }
  return strokes;
}

void Type(const Keystroke& stroke) {
  QWidget* target = QApplication::focusWidget();
  if (!target) target = QApplication::activeWindow();
  if (!target) return;
  QPointer<QWidget> alive = target;
  QKeyEvent press(QEvent::KeyPress, stroke.key, Qt::NoModifier, stroke.text);
  QCoreApplication::sendEvent(target, &press);
  if (!alive) return;
  QKeyEvent release(QEvent::KeyRelease, stroke.key, Qt::NoModifier, stroke.text);
  QCoreApplication::sendEvent(alive, &release);
}

}  // namespace

void SendKeys(const QString& keys, bool wait) {
  const std::vector<Keystroke> strokes = ParseKeys(keys);
  if (wait) {
    for (const Keystroke& stroke : strokes) Type(stroke);
    return;
  }
  // Each keystroke goes to the control that has the focus when it is processed, as typed keys do.
  for (const Keystroke& stroke : strokes) {
    QTimer::singleShot(0, qApp, [stroke] { Type(stroke); });
  }
}

namespace {

// Each character is queued once the one before it has been typed, so it follows what that
// character's handlers queued.
void TypeFrom(const QString& text, qsizetype next) {
  if (next >= text.size()) return;
  QTimer::singleShot(0, qApp, [text, next] {
    Type({QtKeyForAscii(text[next].unicode()), QString(text[next])});
    TypeFrom(text, next + 1);
  });
}

}  // namespace

void TypeText(const QString& text) { TypeFrom(text, 0); }

void DoEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace platform
