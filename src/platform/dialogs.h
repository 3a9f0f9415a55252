#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// Message box styles: one button set, plus an icon and a default-button flag.
namespace MsgBoxStyle {
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;
}  // namespace MsgBoxStyle

// The button a message box was answered with.
namespace MsgBoxResult {
inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace MsgBoxResult

// Shows a modal message box and returns the MsgBoxResult of the button pressed. An empty title
// shows the program's name, "Corvane". CR LF in the prompt breaks the line.
int MsgBox(const QString& prompt, int style = MsgBoxStyle::OKOnly, const QString& title = {});

// A file the program writes unseen (a backup, an exchange file) that could not be written: the
// first failure of a session is shown in an OK box, "<file> could not be written: <reason>  <path>",
// and `shown` set; later ones are left to the caller's trace, or a full disk would put a box in
// front of the log again and again.
void ShowWriteFailureOnce(std::uint8_t& shown, const QString& file, const QString& reason, const QString& nativePath,
                          const QString& title);

// Asks for one line of text; Cancel gives "". An empty title shows "Corvane".
QString InputBox(const QString& prompt, const QString& title = {}, const QString& defaultText = {});

void Beep();

namespace Clipboard {
void Clear();
void SetText(const QString& text);
QString GetText();
}  // namespace Clipboard

namespace CommonDialogFlags {
inline constexpr int ColorInitial = 1;     // the colour dialog opens on Color
inline constexpr int OverwritePrompt = 2;  // the save dialog asks before replacing a file
}  // namespace CommonDialogFlags

// The error number raised by a cancelled common dialog when CancelError is set.
inline constexpr int CancelSelectedError = 32755;

enum class CommonDialogKind { Open, Save, Color };

// The file open/save and colour dialog, set up through its properties and then shown.
// Paths in FileName and InitDir are written as the program writes them; a chosen FileName
// is the native full path.
class CommonDialog {
 public:
  QString DialogTitle;
  QString Filter;  // "desc|pattern|desc2|pattern2", a pattern being "*.a" or "*.a; *.b"
  int FilterIndex = 1;
  QString FileName;
  QString InitDir;
  QString DefaultExt;
  int Flags = 0;
  std::int32_t Color = 0;  // &HBBGGRR
  bool CancelError = false;

  // On Cancel, FileName becomes "" (or Color stays as it was) and, with CancelError set,
  // RuntimeError 32755 "Cancel was selected." is thrown.
  void ShowOpen();
  void ShowSave();
  void ShowColor();

 private:
  void ShowFile(CommonDialogKind kind);
  void RaiseCancelError() const;
};

// The dialog's filter as Qt name filters: "ADIF Files (*.adi) | *.adi" is
// "ADIF Files (*.adi *.ADI)", "(All Files)|*.*" is "(All Files) (*.*)": patterns are added in
// both letter cases, since Qt matches them with case.
QStringList QtNameFilters(const QString& filter);

// What a test reads back about the dialogs that were shown.
struct MessageBoxShown {
  QString prompt;
  int style = 0;
  QString title;  // as shown: "Corvane" for an empty title
  int answer = 0;
};

struct InputBoxShown {
  QString prompt;
  QString title;
  QString defaultText;
  QString answer;
};

struct CommonDialogShown {
  CommonDialogKind kind = CommonDialogKind::Open;
  QString title;
  QString filter;
  int filterIndex = 0;
  QString fileName;  // the initial file name, as set by the program
  QString initDir;
  int flags = 0;
  std::int32_t color = 0;  // the colour the dialog opened on
};

// Test seam: while one of these lives, no dialog is shown and no real beep sounds. Each dialog
// takes the next scripted answer of its kind and is recorded. With no answer scripted, a
// message box answers its default button, an input box its default text (as Enter would), and
// a file or colour dialog is cancelled. GUI thread only; one at a time.
class ScriptedDialogs {
 public:
  ScriptedDialogs();
  ~ScriptedDialogs();
  ScriptedDialogs(const ScriptedDialogs&) = delete;
  ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

  void AnswerMessageBox(int answer);
  void AnswerInputBox(const QString& text);
  void CancelInputBox();
  void ChooseFile(const QString& path);
  void CancelFileDialog();
  void ChooseColor(std::int32_t color);
  void CancelColorDialog();

  const std::vector<MessageBoxShown>& MessageBoxes() const;
  const std::vector<InputBoxShown>& InputBoxes() const;
  const std::vector<CommonDialogShown>& CommonDialogs() const;
  int Beeps() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace platform
