#include "spotting/receivebox.h"

#include "platform/control.h"

#include <algorithm>

namespace spotting {

ReceiveBoxText::ReceiveBoxText(platform::TextBox& box) : box_(box) {}

void ReceiveBoxText::SetText(const QString& text) {
  text_ = text;
  selStart_ = 0;
  ShowLater();
}

void ReceiveBoxText::Append(const QString& text) {
  text_ += text;
  ShowLater();
}

void ReceiveBoxText::Edit(const std::function<void(QString&)>& change) {
  change(text_);
  selStart_ = std::min(selStart_, static_cast<int>(text_.size()));
  ShowLater();
}

void ReceiveBoxText::SetSelStart(int start) {
  selStart_ = std::clamp(start, 0, static_cast<int>(text_.size()));
  ShowLater();
}

void ReceiveBoxText::ShowLater() {
  if (showPending_) return;
  showPending_ = true;
  platform::detail::WhenHandlersIdle(box_.Widget(), [this] { Show(); });
}

// The box counts a line break as one place where the text holds CR LF.
void ReceiveBoxText::Show() {
  showPending_ = false;
  box_.SetText(text_);
  const int breaksBefore = static_cast<int>(QStringView(text_).left(selStart_).count(QStringLiteral("\r\n")));
  box_.SetSelStart(selStart_ - breaksBefore);
}

}  // namespace spotting
