#pragma once

#include "platform/controls.h"
#include "platform/printerport.h"

#include <cstdint>

// The keying line on the printer port, as the CW and the voice windows key it.
namespace keying {

// What the printer port's control register takes for the key down and up.
inline constexpr std::int32_t PrinterKeyDown = 3;
inline constexpr std::int32_t PrinterKeyUp = platform::PrinterControlIdle;

// The control register of the printer port whose base address the box holds ("&H378" gives 890).
// RuntimeError 13 for a box that holds no number, 6 for an address beyond 32 bits.
std::int32_t PrinterControlRegister(const platform::TextBox& baseAddress);

// Keys the line down or up on a printer port's control register. A port the program cannot use
// (no device, a device it may not write, no printer port) throws its RuntimeError on; the first
// such failure of a session is also shown to the operator with the device and the remedy.
void KeyPrinterLine(std::int32_t controlRegister, bool down);

}  // namespace keying
