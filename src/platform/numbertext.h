#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace platform {

// Numbers as the program reads them from what the operator typed.

// A decimal number: blanks (spaces) around it, a sign, digits with at most one "." (the decimal
// separator everywhere in the program), an optional exponent. Nothing for any other text, nor for
// one beyond the range of a double.
std::optional<double> DecimalOfText(const QString& text);

// A number as the keying windows read a port, an address or a pause: a decimal number as above,
// or a hexadecimal one after "&H" in either case ("&H378" and "&h378" are 888), blanks around it
// allowed. Hexadecimal digits are read as an unsigned count of at most 32 bits, so an address is
// never negative. Nothing for any other text.
std::optional<double> ValOfNumberText(const QString& text);

// A value as a whole-number argument takes it: rounded halves to even (2.5 is 2, 3.5 is 4).
// RuntimeError 6 "Overflow" outside 32 bits.
std::int32_t RoundHalfEven(double value);

// The whole number a typed text holds, read by ValOfNumberText and rounded halves to even.
// RuntimeError 13 "Type mismatch" for a text that holds no number, 6 "Overflow" outside 32 bits.
std::int32_t WholeOfNumberText(const QString& text);

}  // namespace platform
