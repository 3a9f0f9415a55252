#pragma once

#include "platform/controls.h"
#include "platform/timer.h"

#include <QString>

#include <cstdint>
#include <optional>

// The CW window's number boxes as its handlers read and write them.
namespace keying {

// The number the box holds; RuntimeError 13 "Type mismatch" when it holds none.
double NumberIn(const platform::TextBox& box);

bool HoldsNumber(const platform::TextBox& box);

// The number the box holds as a byte, rounded halves to even; nothing when it holds no number or
// one that does not fit a byte (never wrapped).
std::optional<std::uint8_t> ByteIn(const platform::TextBox& box);

// Whole numbers as whole digits, however large the loop count grows.
QString TextOfNumber(double value);

// Selects the whole text, so that typing replaces it.
void SelectAll(platform::TextBox& box);

// The repeat pause boxes take digits, "." and Backspace.
void RepeatPauseKey(int& KeyAscii);

// A repeat pause from 0 up to, not including, a minute sets the repeat timer in whole
// milliseconds; anything else puts the box to "0" and the timer's interval to 0 (no repeat).
void TakeRepeatPause(platform::TextBox& box, platform::Timer& repeat);

}  // namespace keying
