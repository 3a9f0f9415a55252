#pragma once

#include <QString>
#include <Qt>

class QKeyEvent;

namespace platform {

// Key codes as the windows' handlers compare them: virtual-key numbers, letters as upper-case ASCII.
inline constexpr int KeyBack = 8;
inline constexpr int KeyTab = 9;
inline constexpr int KeyReturn = 13;
inline constexpr int KeyShift = 16;
inline constexpr int KeyControl = 17;
inline constexpr int KeyMenu = 18;  // Alt
inline constexpr int KeyEscape = 27;
inline constexpr int KeySpace = 32;
inline constexpr int KeyPageUp = 33;
inline constexpr int KeyPageDown = 34;
inline constexpr int KeyEnd = 35;
inline constexpr int KeyHome = 36;
inline constexpr int KeyLeft = 37;
inline constexpr int KeyUp = 38;
inline constexpr int KeyRight = 39;
inline constexpr int KeyDown = 40;
inline constexpr int KeyInsert = 45;
inline constexpr int KeyDelete = 46;
inline constexpr int KeyF1 = 112;  // F2 = 113 ... F12 = 123
inline constexpr int KeyF10 = 121;
inline constexpr int KeyF12 = 123;

// Shift state bits of key and mouse events.
inline constexpr int ShiftMask = 1;
inline constexpr int CtrlMask = 2;
inline constexpr int AltMask = 4;

// Mouse buttons of mouse events (MouseMove reports the buttons held, as a bit mask).
inline constexpr int LeftButton = 1;
inline constexpr int RightButton = 2;
inline constexpr int MiddleButton = 4;

// Translation between Qt's key and mouse events and the codes above.
int KeyCodeOf(const QKeyEvent& event);   // 0 when the key has no code
int KeyAsciiOf(const QKeyEvent& event);  // 0 when the key types no character (Tab types none)
// Alt with a key (and without Ctrl) is a menu's access key: it types nothing, in no control.
bool IsAccessKey(const QKeyEvent& event);
int ShiftStateOf(Qt::KeyboardModifiers modifiers);
int MouseButtonOf(Qt::MouseButton button);
int MouseButtonsOf(Qt::MouseButtons buttons);
Qt::Key QtKeyForAscii(int keyAscii);

// Queues keystrokes to whatever control has the focus when they are processed, as if typed:
// the window's key preview sees them, and "{TAB}" moves the focus on in tab order.
// Understood: plain characters, "~" (Enter), {TAB} {ENTER} {ESC} {BACKSPACE} {BS} {DELETE} {DEL}
// {UP} {DOWN} {LEFT} {RIGHT} {HOME} {END} {F1}..{F12}, and "{{}" style braces for literal characters.
// With wait set, the keys are processed before SendKeys returns. An unknown {NAME} throws RuntimeError 5.
void SendKeys(const QString& keys, bool wait = false);

// Types text as an operator would, one character after another: each is typed to the control
// that has the focus then, once whatever the keys before it queued has run (a Tab that a handler
// sent), and the window's key preview and the control's KeyPress see it as a typed key.
// Every character is typed as it stands, "~" and "{" included.
void TypeText(const QString& text);

// Lets every pending event run (queued keystrokes, timers that are due, repaints).
void DoEvents();

}  // namespace platform
