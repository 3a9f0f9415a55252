#pragma once

#include <QString>

namespace app {

// The station set-up dialog's texts, as its load fills them and its Done button reads them.

// A number as the dialog accepts one: a decimal number as platform::DecimalOfText reads it
// (blanks around it, a sign, digits with at most one ".", an optional exponent).
bool IsNumericText(const QString& text);

// The number a numeric text holds; 0 for any other text.
double NumberInText(const QString& text);

// Done leaves no non-numeric UTC offset, latitude or longitude behind: such a text becomes "0".
QString NumericTextOrZero(const QString& text);

// A number in its ordinary shortest text form ("76", "-5.5", "40.25").
QString NumberText(double value);
QString NumberText(float value);

// Blanks (spaces) removed from both ends; other white space stays.
QString TrimBlanks(const QString& text);

// The log file path the dialog shows: the stored one, as stored, or the empty log database
// installed beside the program (a native path) when none of at least three characters is stored.
QString LogFilePathShown(const QString& logFilePath, const QString& programDir);

}  // namespace app
