#pragma once

#include "platform/modulevalues.h"

#include <QString>

#include <cstdint>

namespace keying {

MODULE_VALUE(QString, CWBuffer);             // characters waiting to be keyed
MODULE_VALUE(std::uint8_t, CWSending, 0);   // 1 while the buffer is being keyed
MODULE_VALUE(std::uint8_t, CWRepeat, 0);    // a CW message repeat is armed
MODULE_VALUE(std::uint8_t, PhoneRepeat, 0); // a voice message repeat is armed
MODULE_VALUE(std::uint8_t, KeyingMode, 0);  // 0 none, 1 RTS, 2 DTR, 3 printer port, 5 keyer device
// The value of the "#" macro. Nothing gives the contests a number to send, so it stays empty.
MODULE_VALUE(QString, CurrentNumber);
MODULE_VALUE(std::uint8_t, TPPort, 0);      // serial port number of the keyer device
MODULE_VALUE(std::uint8_t, TPPinConfig, 0); // the device's pin 5: 4, 5, 6 or 8
MODULE_VALUE(std::uint8_t, TPMode, 0);      // the device's keyer mode: 0x00, 0x10, 0x20 or 0x30
MODULE_VALUE(std::uint8_t, TPVersion, 0);   // 0 while the keyer device is closed
MODULE_VALUE(std::int32_t, TPStatus, 0);    // last value tp_getstatus returned
MODULE_VALUE(std::uint8_t, PrinterPortReported, 0);  // the operator was told the printer port fails

}  // namespace keying
