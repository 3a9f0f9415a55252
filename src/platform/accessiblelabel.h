#pragma once

#include <QString>

class QLabel;

namespace platform::detail {

// A label as a screen reader reads it: its name (its caption, or the name it was given after its
// own caption label) and, as its value and its text, the caption it shows.
void ReadAsLabel(QLabel* label);

// Tells a screen reader that a named label shows a new caption (the name of an unnamed one
// changes with it, which Qt reports itself).
void AnnounceLabelText(QLabel* label, const QString& shownBefore);

}  // namespace platform::detail
