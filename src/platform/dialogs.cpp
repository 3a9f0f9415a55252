#include "platform/dialogs.h"

#include "platform/color.h"
#include "platform/errors.h"
#include "platform/keyboardreturn.h"
#include "platform/paths.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>

#include <algorithm>
#include <deque>
#include <optional>

namespace platform {

struct ScriptedDialogs::State {
  std::deque<int> messageBoxAnswers;
  std::deque<std::optional<QString>> inputBoxAnswers;
  std::deque<std::optional<QString>> fileAnswers;
  std::deque<std::optional<std::int32_t>> colorAnswers;
  std::vector<MessageBoxShown> messageBoxes;
  std::vector<InputBoxShown> inputBoxes;
  std::vector<CommonDialogShown> commonDialogs;
  int beeps = 0;
};

namespace {

ScriptedDialogs::State* script = nullptr;

const QString kProgramTitle = QStringLiteral("Corvane");

QString TitleShown(const QString& title) { return title.isEmpty() ? kProgramTitle : title; }

template <typename Answer>
std::optional<Answer> TakeAnswer(std::deque<Answer>& answers) {
  std::optional<Answer> answer;
  if (!answers.empty()) {
    answer.emplace(std::move(answers.front()));
    answers.pop_front();
  }
  return answer;
}

// ---- message box ----

struct ButtonChoice {
  int result;
  QMessageBox::StandardButton button;
};

std::vector<ButtonChoice> ButtonsOf(int style) {
  using B = QMessageBox;
  switch (style & 7) {
    case MsgBoxStyle::OKCancel:
      return {{MsgBoxResult::OK, B::Ok}, {MsgBoxResult::Cancel, B::Cancel}};
    case MsgBoxStyle::AbortRetryIgnore:
      return {{MsgBoxResult::Abort, B::Abort}, {MsgBoxResult::Retry, B::Retry}, {MsgBoxResult::Ignore, B::Ignore}};
    case MsgBoxStyle::YesNoCancel:
      return {{MsgBoxResult::Yes, B::Yes}, {MsgBoxResult::No, B::No}, {MsgBoxResult::Cancel, B::Cancel}};
    case MsgBoxStyle::YesNo:
      return {{MsgBoxResult::Yes, B::Yes}, {MsgBoxResult::No, B::No}};
    case MsgBoxStyle::RetryCancel:
      return {{MsgBoxResult::Retry, B::Retry}, {MsgBoxResult::Cancel, B::Cancel}};
    default:
      return {{MsgBoxResult::OK, B::Ok}};
  }
}

ButtonChoice DefaultButtonOf(int style) {
  const auto buttons = ButtonsOf(style);
  const std::size_t index = (style >> 8) & 3;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

QMessageBox::Icon IconOf(int style) {
  switch (style & 0x70) {
    case MsgBoxStyle::Critical: return QMessageBox::Critical;
    case MsgBoxStyle::Question: return QMessageBox::Question;
    case MsgBoxStyle::Exclamation: return QMessageBox::Warning;
    case MsgBoxStyle::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QString DisplayedText(QString text) { return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\r', '\n'); }

int ShowMessageBox(const QString& prompt, int style, const QString& title) {
  KeyboardReturn keyboardReturn;
  const auto buttons = ButtonsOf(style);
  QMessageBox box(IconOf(style), title, DisplayedText(prompt), QMessageBox::NoButton, QApplication::activeWindow());
  for (const ButtonChoice& choice : buttons) box.addButton(choice.button);
  box.setDefaultButton(DefaultButtonOf(style).button);
  const int pressed = box.exec();
  for (const ButtonChoice& choice : buttons) {
    if (choice.button == pressed) return choice.result;
  }
  return buttons.back().result;  // closed without a button: the last one is the way out
}

int ScriptedMessageBoxAnswer(int style) {
  const auto answer = TakeAnswer(script->messageBoxAnswers);
  if (!answer) return DefaultButtonOf(style).result;
  const auto buttons = ButtonsOf(style);
  const bool offered = std::any_of(buttons.begin(), buttons.end(), [&](const ButtonChoice& c) { return c.result == *answer; });
  if (!offered) qFatal("Scripted message box answer %d is not a button of style %d", *answer, style);
  return *answer;
}

// ---- input box ----

QString ShowInputBox(const QString& prompt, const QString& title, const QString& defaultText) {
  KeyboardReturn keyboardReturn;
  QInputDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(title);
  dialog.setLabelText(DisplayedText(prompt));
  // A long prompt wraps, as a message box's does, so the box and its buttons stay on the screen.
  if (auto* label = dialog.findChild<QLabel*>()) label->setWordWrap(true);
  dialog.setTextValue(defaultText);
  return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

// ---- common dialog ----

QStringList PatternsOf(const QString& patternText) {
  static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
  return patternText.split(separators, Qt::SkipEmptyParts);
}

// Qt matches patterns with letter case; the files may be named in either case.
QStringList WithBothCases(const QStringList& patterns) {
  QStringList all;
  for (const QString& pattern : patterns) {
    for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()}) {
      if (!all.contains(variant)) all << variant;
    }
  }
  return all;
}

// "ADIF Files (*.adi)" loses its "(*.adi)", which the Qt filter adds back with more patterns.
QString WithoutOwnPatterns(const QString& description, const QStringList& patterns) {
  static const QRegularExpression trailingGroup(QStringLiteral("\\(([^()]*)\\)$"));
  const auto match = trailingGroup.match(description);
  if (!match.hasMatch() || PatternsOf(match.captured(1)) != patterns) return description;
  return description.left(match.capturedStart()).trimmed();
}

CommonDialogShown RecordOf(const CommonDialog& dialog, CommonDialogKind kind) {
  return {kind, dialog.DialogTitle, dialog.Filter, dialog.FilterIndex, dialog.FileName,
          dialog.InitDir, dialog.Flags, dialog.Color};
}

bool HasFolderPart(const QString& programPath) { return programPath.contains('\\') || programPath.contains('/'); }

void PlaceFileDialog(QFileDialog& fileDialog, const CommonDialog& dialog) {
  if (HasFolderPart(dialog.FileName)) {
    const QFileInfo initial(NativePath(dialog.FileName));
    fileDialog.setDirectory(initial.path());
    fileDialog.selectFile(initial.fileName());
    return;
  }
  if (!dialog.InitDir.isEmpty()) fileDialog.setDirectory(NativePath(dialog.InitDir));
  if (!dialog.FileName.isEmpty()) fileDialog.selectFile(dialog.FileName);
}

// Returns the chosen native path and the 1-based filter chosen, or nothing on Cancel.
std::optional<std::pair<QString, int>> ShowFileDialog(const CommonDialog& dialog, CommonDialogKind kind) {
  KeyboardReturn keyboardReturn;
  QFileDialog fileDialog(QApplication::activeWindow(), dialog.DialogTitle);
  const QStringList filters = QtNameFilters(dialog.Filter);
  if (!filters.isEmpty()) {
    fileDialog.setNameFilters(filters);
    fileDialog.selectNameFilter(filters.value(qBound(1, dialog.FilterIndex, int(filters.size())) - 1));
  }
  PlaceFileDialog(fileDialog, dialog);
  if (kind == CommonDialogKind::Save) {
    fileDialog.setAcceptMode(QFileDialog::AcceptSave);
    fileDialog.setDefaultSuffix(dialog.DefaultExt);
    fileDialog.setOption(QFileDialog::DontConfirmOverwrite, !(dialog.Flags & CommonDialogFlags::OverwritePrompt));
  } else {
    fileDialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty()) return std::nullopt;
  const int chosenFilter = int(filters.indexOf(fileDialog.selectedNameFilter())) + 1;
  return std::make_pair(fileDialog.selectedFiles().front(), chosenFilter > 0 ? chosenFilter : dialog.FilterIndex);
}

std::optional<std::pair<QString, int>> FileAnswer(const CommonDialog& dialog, CommonDialogKind kind) {
  if (!script) return ShowFileDialog(dialog, kind);
  script->commonDialogs.push_back(RecordOf(dialog, kind));
  const auto answer = TakeAnswer(script->fileAnswers).value_or(std::nullopt);
  if (!answer) return std::nullopt;
  return std::make_pair(*answer, dialog.FilterIndex);
}

std::optional<std::int32_t> ColorAnswer(const CommonDialog& dialog) {
  if (script) {
    script->commonDialogs.push_back(RecordOf(dialog, CommonDialogKind::Color));
    return TakeAnswer(script->colorAnswers).value_or(std::nullopt);
  }
  KeyboardReturn keyboardReturn;
  const QColor chosen = QColorDialog::getColor(ToQColor(dialog.Color), QApplication::activeWindow(), dialog.DialogTitle);
  if (!chosen.isValid()) return std::nullopt;
  return FromQColor(chosen);
}

}  // namespace

void ShowWriteFailureOnce(std::uint8_t& shown, const QString& file, const QString& reason, const QString& nativePath,
                          const QString& title) {
  if (shown != 0) return;
  shown = 1;
  MsgBox(file + QStringLiteral(" could not be written: ") + reason + QStringLiteral("  ") + nativePath,
         MsgBoxStyle::OKOnly, title);
}

int MsgBox(const QString& prompt, int style, const QString& title) {
  const QString shownTitle = TitleShown(title);
  if (!script) return ShowMessageBox(prompt, style, shownTitle);
  const int answer = ScriptedMessageBoxAnswer(style);
  script->messageBoxes.push_back({prompt, style, shownTitle, answer});
  return answer;
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
  const QString shownTitle = TitleShown(title);
  if (!script) return ShowInputBox(prompt, shownTitle, defaultText);
  const QString answer = TakeAnswer(script->inputBoxAnswers).value_or(defaultText).value_or(QString());
  script->inputBoxes.push_back({prompt, shownTitle, defaultText, answer});
  return answer;
}

void Beep() {
  if (script) {
    ++script->beeps;
  } else {
    QApplication::beep();
  }
}

namespace Clipboard {
void Clear() { QGuiApplication::clipboard()->clear(); }
void SetText(const QString& text) { QGuiApplication::clipboard()->setText(text); }
QString GetText() { return QGuiApplication::clipboard()->text(); }
}  // namespace Clipboard

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QStringList patterns = PatternsOf(parts[i + 1]);
    const QString description = WithoutOwnPatterns(parts[i].trimmed(), patterns);
    const QString group = '(' + WithBothCases(patterns).join(' ') + ')';
    filters << (description.isEmpty() ? group : description + ' ' + group);
  }
  return filters;
}

void CommonDialog::ShowOpen() { ShowFile(CommonDialogKind::Open); }

void CommonDialog::ShowSave() { ShowFile(CommonDialogKind::Save); }

void CommonDialog::ShowFile(CommonDialogKind kind) {
  const auto chosen = FileAnswer(*this, kind);
  if (!chosen) {
    FileName.clear();
    return RaiseCancelError();
  }
  FileName = chosen->first;
  FilterIndex = chosen->second;
}

void CommonDialog::ShowColor() {
  const auto chosen = ColorAnswer(*this);
  if (!chosen) return RaiseCancelError();
  Color = *chosen;
}

void CommonDialog::RaiseCancelError() const {
  if (CancelError) throw RuntimeError(QStringLiteral("Cancel was selected."), CancelSelectedError);
}

ScriptedDialogs::ScriptedDialogs() : state_(std::make_unique<State>()) {
  if (script) qFatal("ScriptedDialogs: only one script at a time");
  script = state_.get();
}

ScriptedDialogs::~ScriptedDialogs() { script = nullptr; }

void ScriptedDialogs::AnswerMessageBox(int answer) { state_->messageBoxAnswers.push_back(answer); }
void ScriptedDialogs::AnswerInputBox(const QString& text) { state_->inputBoxAnswers.emplace_back(text); }
void ScriptedDialogs::CancelInputBox() { state_->inputBoxAnswers.emplace_back(std::nullopt); }
void ScriptedDialogs::ChooseFile(const QString& path) { state_->fileAnswers.emplace_back(path); }
void ScriptedDialogs::CancelFileDialog() { state_->fileAnswers.emplace_back(std::nullopt); }
void ScriptedDialogs::ChooseColor(std::int32_t color) { state_->colorAnswers.emplace_back(color); }
void ScriptedDialogs::CancelColorDialog() { state_->colorAnswers.emplace_back(std::nullopt); }

const std::vector<MessageBoxShown>& ScriptedDialogs::MessageBoxes() const { return state_->messageBoxes; }
const std::vector<InputBoxShown>& ScriptedDialogs::InputBoxes() const { return state_->inputBoxes; }
const std::vector<CommonDialogShown>& ScriptedDialogs::CommonDialogs() const { return state_->commonDialogs; }
int ScriptedDialogs::Beeps() const { return state_->beeps; }

}  // namespace platform
