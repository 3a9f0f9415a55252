#pragma once

#include <QByteArray>
#include <QString>

namespace rig {

// Hex digits of bytes, hex-pair commands and the digit texts of BCD frequencies.

// One hex digit: 0-9 and "A"-"F" for 10-15; empty text for any other value.
QString NibbleToHex(int nibble);

// Each byte as two upper-case hex digits and a blank, a blank after the last byte too
// ("FE FE E0 64 03 00 50 23 14 00 FD "): how a raw reply is shown.
QString BytesToHexText(const QByteArray& bytes);

// The hex text of a reply without separators: byte k is hex digits 2k-1 and 2k. The binary
// parsers address their fields by digit position in it.
QString Yaesu757Digits(const QByteArray& bytes);

// A hex-pair command ("FE FE 64 E0 03 FD", pairs at characters 1, 4, 7, ...) as its bytes. A
// single digit left at the end is a one-digit value ("FEFE" gives FE 0E); upper- and lower-case
// digits count. A pair that is not hex makes the whole result empty.
QByteArray HexTextToBytes(const QString& hexPairs);

// Hex digits without separators ("FEFE64E005...") as their bytes: pairs at characters 1, 3, 5, ...
// The set-frequency and set-mode commands are built this way. A single digit left at the end is
// a one-digit value; a pair that is not hex makes the whole result empty.
QByteArray HexStringToBytes(const QString& hexDigits);

// The frequency in MHz as text from 8 digits, hundreds of MHz down to 10 Hz: leading zeros left
// out down to the MHz digit, then the point and five decimals ("02847500" gives "28.47500",
// "00050000" gives "0.50000").
QString DigitsToFreqText(const QString& digits);

// The frequency in MHz as text from 10 digits, GHz down to 1 Hz: leading zeros left out down to
// the 10 MHz digit, the MHz digit, the point and six decimals ("0028475000" gives "28.475000").
// Missing digits are left out, so an empty text gives ".".
QString BcdToFreqText(const QString& digits);

}  // namespace rig
