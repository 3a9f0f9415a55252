#include "platform/controls.h"

#include "platform/controltext.h"
#include "platform/errors.h"
#include "platform/keys.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <limits>

namespace platform {

namespace {

constexpr int kNoLimit = std::numeric_limits<int>::max();

// The most characters one paste types: far more than a line of boxes holds, and few enough that
// a whole document pasted by mistake does not keep the window busy.
constexpr qsizetype kLongestTypedPaste = 255;

// What a paste into a single-line box types: its first line, without control characters.
QString PastedLine(const QString& pasted) {
  QString line = pasted.section(QLatin1Char('\n'), 0, 0).section(QLatin1Char('\r'), 0, 0);
  line.removeIf([](QChar c) { return c.unicode() < 32 || c.unicode() == 127 || c.isSurrogate(); });
  return line.left(kLongestTypedPaste);
}

// The first `units` UTF-16 units of a text, one fewer where the cut would fall between the two
// halves of a surrogate pair: half a character is no text any file or log can store, so what a
// box holds would differ from what is stored of it.
QString LeftWholeCharacters(const QString& text, qsizetype units) {
  if (units >= text.size()) return text;
  if (units > 0 && text.at(units - 1).isHighSurrogate() && text.at(units).isLowSurrogate()) --units;
  return text.left(units);
}

// Whether a key types its text, rather than acting (Backspace, Return, Ctrl with a letter).
bool TypesText(const QKeyEvent& event) {
  const QString text = event.text();
  return !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
}

// A line edit that can type what is pasted into it instead of inserting it.
class TypingLineEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

  bool typesPastes = false;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (typesPastes && event->matches(QKeySequence::Paste)) {
      TypePaste(QClipboard::Clipboard);
      return;
    }
    const QString fits = WholeCharactersThatFit(event->text());
    if (fits.size() == event->text().size() || !TypesText(*event)) {
      QLineEdit::keyPressEvent(event);
      return;
    }
    if (fits.isEmpty()) return;
    QKeyEvent cut(event->type(), event->key(), event->modifiers(), fits, event->isAutoRepeat(), event->count());
    QLineEdit::keyPressEvent(&cut);
  }

  // An input method hands over whole words, an emoji picker a character of two halves.
  void inputMethodEvent(QInputMethodEvent* event) override {
    const QString fits = WholeCharactersThatFit(event->commitString());
    if (fits.size() == event->commitString().size()) {
      QLineEdit::inputMethodEvent(event);
      return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(fits, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&cut);
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    if (typesPastes && event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
      TypePaste(QClipboard::Selection);
      return;
    }
    QLineEdit::mouseReleaseEvent(event);
  }

  void contextMenuEvent(QContextMenuEvent* event) override {
    if (!typesPastes) {
      QLineEdit::contextMenuEvent(event);
      return;
    }
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The Paste item is the one connected to paste(), whatever the language of its caption (the
    // connection is by name in some Qt versions, by member in others).
    for (QAction* action : menu->actions()) {
      if (!disconnect(action, &QAction::triggered, this, &QLineEdit::paste) &&
          !disconnect(action, SIGNAL(triggered()), this, SLOT(paste()))) {
        continue;
      }
      action->setObjectName(QStringLiteral("edit-paste"));
      connect(action, &QAction::triggered, this, [this] { TypePaste(QClipboard::Clipboard); });
    }
    menu->popup(event->globalPos());
  }

 private:
  void TypePaste(QClipboard::Mode mode) {
    if (!isReadOnly()) TypeText(PastedLine(QGuiApplication::clipboard()->text(mode)));
  }

  // What the line edit takes of a typed text at its limit, whole characters only: on its own it
  // would keep the first half of a character that does not fit.
  QString WholeCharactersThatFit(const QString& typed) const {
    const qsizetype room = maxLength() - text().size() + selectedText().size();
    return LeftWholeCharacters(typed, std::max<qsizetype>(room, 0));
  }
};

}  // namespace

TextBox::TextBox(Container* parent, const QString& name, int index)
    : Control(ControlKind::TextBox, parent, name, index, new TypingLineEdit(parent->ClientWidget())) {
  line_ = static_cast<QLineEdit*>(Widget());
  line_->setMaxLength(kNoLimit);
  QObject::connect(line_, &QLineEdit::textChanged, line_, [this] {
    ApplyLineLimit();
    Raise(Change);
  });
}

TextBox::TextBox(Container* parent, const QString& name, MultiLineTag, int index)
    : Control(ControlKind::TextBox, parent, name, index, new QPlainTextEdit(parent->ClientWidget())) {
  plain_ = static_cast<QPlainTextEdit*>(Widget());
  plain_->setTabChangesFocus(true);
  QObject::connect(plain_, &QPlainTextEdit::textChanged, plain_, [this] {
    if (cutting_) return;
    CutTypedExcess();
    shownLength_ = TextLength();
    Raise(Change);
  });
}

TextBox::~TextBox() { DestroyWidget(); }

QString TextBox::Text() const {
  if (line_) return line_->text();
  return plain_->toPlainText().replace('\n', QStringLiteral("\r\n"));
}

void TextBox::SetText(const QString& text) { ShowText(FittedText(text)); }

// The document counts a line break as one character and has a block per line.
qsizetype TextBox::TextLength() const {
  if (line_) return line_->text().size();
  const QTextDocument* document = plain_->document();
  return (document->characterCount() - 1) + (document->blockCount() - 1);
}

// Without undo the document also lets go of the text it drops; with it, every line ever shown
// would be kept for Undo.
void TextBox::AppendText(const QString& text, qsizetype keepNewest) {
  if (line_) InvalidPropertyValue();
  QTextDocument* document = plain_->document();
  const bool undo = document->isUndoRedoEnabled();
  document->setUndoRedoEnabled(false);
  QTextCursor end(document);
  end.movePosition(QTextCursor::End);
  end.beginEditBlock();
  end.insertText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  if (keepNewest > 0) DropOldestLines(keepNewest);
  end.endEditBlock();
  document->setUndoRedoEnabled(undo);
  plain_->setTextCursor(end);
}

// Whole lines from the top, each with its CR LF, until what is left fits.
void TextBox::DropOldestLines(qsizetype keepNewest) {
  qsizetype length = TextLength();
  QTextBlock first = plain_->document()->firstBlock();
  QTextBlock keptFrom = first;
  while (length > keepNewest && keptFrom.next().isValid()) {
    length -= keptFrom.length() + 1;
    keptFrom = keptFrom.next();
  }
  if (keptFrom == first) return;
  QTextCursor dropped(plain_->document());
  dropped.setPosition(first.position());
  dropped.setPosition(keptFrom.position(), QTextCursor::KeepAnchor);
  dropped.removeSelectedText();
}

void TextBox::SetMaxLength(int length) {
  if (length < 0) InvalidPropertyValue();
  maxLength_ = length;
  if (line_) ApplyLineLimit();
}

// The line edit refuses typing past its own limit but would cut a longer text when given a lower
// one: text already in the box stays, and nothing more can be typed until it is under the limit.
// Setting the line edit's limit sets its text again, which moves the caret to the end: only a new
// limit is set, so typing in the middle of the text goes on where it is.
void TextBox::ApplyLineLimit() {
  const int limit = maxLength_ == 0 ? kNoLimit : std::max<int>(maxLength_, static_cast<int>(line_->text().size()));
  if (line_->maxLength() != limit) line_->setMaxLength(limit);
}

// Text as the widget shows it, cut from its end to MaxLength. A multi-line box counts each line
// break as the two characters CR LF that Text reads back, and drops a CR left without its LF.
QString TextBox::FittedText(const QString& text) const {
  if (line_) return maxLength_ > 0 ? LeftWholeCharacters(text, maxLength_) : text;
  QString crLf = text;
  crLf.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n').replace('\n', QStringLiteral("\r\n"));
  if (maxLength_ > 0 && crLf.size() > maxLength_) {
    crLf = LeftWholeCharacters(crLf, maxLength_);
    if (crLf.endsWith('\r')) crLf.chop(1);
  }
  return crLf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Replaces the text shown unless it is the same; the widget's change signal raises Change.
void TextBox::ShowText(const QString& shown) {
  if (line_) {
    if (shown == line_->text()) return;
    line_->setText(shown);
    line_->setCursorPosition(0);
  } else {
    if (shown == plain_->toPlainText()) return;
    plain_->setPlainText(shown);
    plain_->moveCursor(QTextCursor::Start);
  }
}

// Typing past the limit in a multi-line box: the characters just typed, before the caret, are
// taken back out until the text fits (a line break counting as CR LF). Text that was there before
// a lower limit was set stays.
void TextBox::CutTypedExcess() {
  if (maxLength_ == 0) return;
  const qsizetype length = TextLength();
  qsizetype excess = std::min(length - maxLength_, length - shownLength_);
  if (excess <= 0) return;
  const QTextDocument* document = plain_->document();
  QTextCursor cursor = plain_->textCursor();
  const int end = cursor.position();
  int start = end;
  while (excess > 0 && start > 0) {
    --start;
    excess -= document->characterAt(start) == QChar::ParagraphSeparator ? 2 : 1;
  }
  const bool halfACharacter =
      start > 0 && document->characterAt(start - 1).isHighSurrogate() && document->characterAt(start).isLowSurrogate();
  if (halfACharacter) --start;
  cutting_ = true;
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  cutting_ = false;
}

int TextBox::SelStart() const {
  if (line_) return line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
  return plain_->textCursor().selectionStart();
}

int TextBox::SelLength() const {
  if (line_) return static_cast<int>(line_->selectedText().size());
  const QTextCursor cursor = plain_->textCursor();
  return cursor.selectionEnd() - cursor.selectionStart();
}

void TextBox::SetSelection(int start, int length) {
  if (line_) {
    const int size = static_cast<int>(line_->text().size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    if (length == 0) {
      line_->setCursorPosition(start);
    } else {
      line_->setSelection(start, length);
    }
    return;
  }
  const int size = plain_->document()->characterCount() - 1;
  start = std::clamp(start, 0, size);
  length = std::clamp(length, 0, size - start);
  QTextCursor cursor = plain_->textCursor();
  cursor.setPosition(start);
  cursor.setPosition(start + length, QTextCursor::KeepAnchor);
  plain_->setTextCursor(cursor);
}

void TextBox::SetSelStart(int start) {
  if (start < 0) InvalidPropertyValue();
  SetSelection(start, 0);
}

void TextBox::SetSelLength(int length) {
  if (length < 0) InvalidPropertyValue();
  SetSelection(SelStart(), length);
}

QString TextBox::SelText() const {
  if (line_) return line_->selectedText();
  return plain_->textCursor().selectedText().replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
}

void TextBox::SetSelText(const QString& text) {
  if (line_) {
    line_->insert(text);
    return;
  }
  QString inserted = text;
  inserted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  plain_->textCursor().insertText(inserted);
}

void TextBox::SetLocked(bool locked) {
  locked_ = locked;
  if (line_) {
    line_->setReadOnly(locked);
  } else {
    plain_->setReadOnly(locked);
  }
}

void TextBox::SetAlignment(int alignment) {
  const Qt::Alignment horizontal = detail::HorizontalAlignment(alignment);
  alignment_ = alignment;
  if (line_) {
    line_->setAlignment(horizontal | Qt::AlignVCenter);
    return;
  }
  QTextOption option = plain_->document()->defaultTextOption();
  option.setAlignment(horizontal);
  plain_->document()->setDefaultTextOption(option);
}

void TextBox::SetBorderStyle(int style) {
  if (line_) {
    line_->setFrame(style != 0);
  } else {
    plain_->setFrameShape(style != 0 ? QFrame::StyledPanel : QFrame::NoFrame);
  }
}

bool TextBox::PasteAsTyping() const { return line_ && static_cast<TypingLineEdit*>(line_)->typesPastes; }

void TextBox::SetPasteAsTyping(bool typed) {
  if (!line_) InvalidPropertyValue();
  static_cast<TypingLineEdit*>(line_)->typesPastes = typed;
}

void TextBox::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  const auto& box = static_cast<const TextBox&>(source);
  if (box.line_) SetPasteAsTyping(box.PasteAsTyping());
  SetMaxLength(box.maxLength_);
  SetAlignment(box.alignment_);
  SetLocked(box.locked_);
  SetText(box.Text());
}

}  // namespace platform
