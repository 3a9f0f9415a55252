#pragma once

#include "platform/controls.h"

#include <cstdint>

// The keying line on the printer port, as the CW and the voice windows key it.
namespace keying {

// What the printer port's control register takes for the key down and up.
inline constexpr std::int32_t PrinterKeyDown = 3;
inline constexpr std::int32_t PrinterKeyUp = 2;

// The control register of the printer port whose base address the box holds ("&H378" gives 890).
// RuntimeError 13 for a box that holds no number, 6 for an address beyond 32 bits.
std::int32_t PrinterControlRegister(const platform::TextBox& baseAddress);

}  // namespace keying
