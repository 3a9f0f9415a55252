#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// Blanks and numbers in texts: how every subsystem trims a field and reads or writes a number.
namespace platform {

// Blanks (spaces) removed from both ends; other white space stays. The view is part of the text
// it was given.
QString TrimBlanks(const QString& text);
QStringView TrimBlanks(QStringView text);

// Numbers as the program reads them from what the operator typed.

// A decimal number: blanks (spaces) around it, a sign, digits with at most one "." (the decimal
// separator everywhere in the program), an optional exponent. Nothing for any other text, nor for
// one beyond the range of a double.
std::optional<double> DecimalOfText(const QString& text);

// The number a decimal text holds, as DecimalOfText reads it; 0 for any other text.
double NumberInText(const QString& text);

// A decimal text as it stands; "0" for any other text, so no non-numeric value is kept.
QString NumericTextOrZero(const QString& text);

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

// A number in its ordinary shortest text form ("76", "-5.5", "40.25"), which DecimalOfText reads
// back as the same value.
QString NumberText(double value);
QString NumberText(float value);

}  // namespace platform
