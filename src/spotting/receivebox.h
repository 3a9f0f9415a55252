#pragma once

#include "platform/controls.h"

#include <QString>

#include <functional>

namespace spotting {

// The spotting window's receive box keeps its text here, exactly as it came: CR LF kept, one
// character per received byte. Lengths, searches, the caret and trims count in this text. The
// box only shows it, once the running event is over however often the event changed it, so a
// burst of lines never rebuilds the box line by line.
class ReceiveBoxText {
 public:
  explicit ReceiveBoxText(platform::TextBox& box);
  ReceiveBoxText(const ReceiveBoxText&) = delete;
  ReceiveBoxText& operator=(const ReceiveBoxText&) = delete;

  const QString& Text() const { return text_; }
  void SetText(const QString& text);
  void Append(const QString& text);
  // Changes the text in place (lines appended, the text cut), to be shown as any change is.
  void Edit(const std::function<void(QString&)>& change);
  int SelStart() const { return selStart_; }
  // The caret, at most at the end of the text.
  void SetSelStart(int start);

 private:
  void ShowLater();
  void Show();

  platform::TextBox& box_;
  QString text_;
  int selStart_ = 0;
  bool showPending_ = false;
};

}  // namespace spotting
