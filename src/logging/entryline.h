#pragma once

#include "platform/modulevalues.h"

#include <QString>

#include <cstdint>

// The entry line's field flow (the Form1 handlers of txtCall, txtRSTR, txtSec, txtRSTS and the
// post-contest boxes, defined in entryline.cpp) and the rule it applies to a digit typed after a call.
namespace logging {

// A key carried from one entry box into the next within one key press: its code as decimal
// digits, and the box it starts (PendingKeyTarget 0 while no key is carried).
MODULE_VALUE(QString, PendingKey);
MODULE_VALUE(std::uint8_t, PendingKeyTarget, 0);
inline constexpr std::uint8_t CarriedIntoGrid = 3;
inline constexpr std::uint8_t CarriedIntoRstReceived = 4;

// Whether a digit typed into the call box starts the RST received instead of extending the call:
// the call has at least 3 characters, a digit after its first character that is not its last
// character, no character below "0" after its first ("/", "-" or a blank make a portable call
// that may end in a digit), and the caret stands at its end.
bool DigitStartsRstReceived(const QString& call, int keyAscii, int caret);

}  // namespace logging
