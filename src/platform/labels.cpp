#include "platform/controls.h"

#include "platform/accessiblelabel.h"
#include "platform/controltext.h"
#include "platform/twips.h"

#include <QGroupBox>
#include <QLabel>

namespace platform {

// ---- Label ----

Label::Label(Container* parent, const QString& name, int index)
    : Control(ControlKind::Label, parent, name, index, new QLabel(parent->ClientWidget())) {
  label()->setTextFormat(Qt::PlainText);
  label()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label()->setWordWrap(true);
  label()->setAutoFillBackground(true);
  detail::ReadAsLabel(label());
}

QLabel* Label::label() const { return static_cast<QLabel*>(Widget()); }

void Label::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  const QString shownBefore = label()->text();
  label()->setText(detail::WithoutAccessKeys(caption));
  detail::AnnounceLabelText(label(), shownBefore);
  RenameControlsNamedAfterThis();
  if (autoSize_) FitToCaption();
  Raise(Change);
}

void Label::SetAlignment(int alignment) {
  label()->setAlignment(detail::HorizontalAlignment(alignment) | Qt::AlignTop);
  alignment_ = alignment;
}

void Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  if (autoSize) {
    FitToCaption();
  } else {
    label()->setWordWrap(true);
  }
}

void Label::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  if (autoSize_) FitToCaption();
}

// Without WordWrap the label widens to one line of caption; with it, it keeps its width and
// takes the height its wrapped caption needs.
void Label::FitToCaption() {
  label()->setWordWrap(wordWrap_);
  if (wordWrap_) {
    SetHeight(PixelsToTwips(label()->heightForWidth(TwipsToPixels(Width()))));
    return;
  }
  const QSize size = label()->sizeHint();
  Move(Left(), Top(), PixelsToTwips(size.width()), PixelsToTwips(size.height()));
}

void Label::SetBorderStyle(int style) {
  borderStyle_ = style;
  label()->setFrameStyle(style != 0 ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
}

void Label::SetBackStyle(int style) {
  backStyle_ = style;
  label()->setAutoFillBackground(style != 0);
}

void Label::SetBackColor(Color color) {
  Control::SetBackColor(color);
  label()->setAutoFillBackground(backStyle_ != 0);
}

void Label::ApplyFont() {
  Control::ApplyFont();
  if (autoSize_) FitToCaption();
}

void Label::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  const auto& other = static_cast<const Label&>(source);
  SetAlignment(other.alignment_);
  SetBorderStyle(other.borderStyle_);
  SetBackStyle(other.backStyle_);
  wordWrap_ = other.wordWrap_;
  SetAutoSize(other.autoSize_);
  SetCaption(other.caption_);
}

// ---- Frame ----

Frame::Frame(Container* parent, const QString& name, int index)
    : Control(ControlKind::Frame, parent, name, index, new QGroupBox(parent->ClientWidget())) {}

QString Frame::Caption() const { return static_cast<QGroupBox*>(Widget())->title(); }
void Frame::SetCaption(const QString& caption) { static_cast<QGroupBox*>(Widget())->setTitle(caption); }
void Frame::SetBorderStyle(int style) { static_cast<QGroupBox*>(Widget())->setFlat(style == 0); }

void Frame::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  SetCaption(static_cast<const Frame&>(source).Caption());
}

}  // namespace platform
