#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <string>
#include <string_view>

// What the log's export files share: how a file is put in place, the program and contest names
// they record, and how a stored time is written. The Cabrillo and sibling-logger files are
// Latin-1, the 8-bit code page their readers expect; ADIF is ASCII. A whole file is built in
// memory and written at once: a large log costs one system call, not one per piece.
namespace logtools {

// Appends text in Latin-1, one byte per UTF-16 unit ("?" for a character outside Latin-1), so the
// bytes appended always number text.size().
void AppendLatin1(std::string& out, QStringView text);

// A value as one line of a file that other programs read: each line break (CR LF, CR or LF) and
// every other control character becomes one blank, so a text that another program stored in the
// shared log can neither start a line of its own nor shift the fields after it. The program's own
// quoted-text files replace line breaks only, so their other characters come back as written.
QString OneLineText(const QString& text);

// Appends a number in decimal with at least `width` digits, "0"-padded in front.
void AppendZeroPadded(std::string& out, int number, int width = 1);

// Writes a whole export file in one piece through platform::AsideFile, so a failure never leaves
// a truncated file behind. Throws platform::RuntimeError with the failure's description.
void WriteWholeFile(const QString& path, std::string_view bytes);

// The program as exports name it: the main window's caption cut to 60 characters, trimmed.
QString ExportingProgram(const QString& mainWindowCaption);

// The contest's name by contest type 1 to 5; "" for any other type.
QString ContestName(std::uint8_t contestType);

// The hour and minute of a stored time as four digits ("18:05:33" and "18:05" give "1805",
// "7:5:3" gives "0705"). A text that is no time keeps the part before the first ":" and the two
// characters after it, "0"-padded in front to four ("" gives "0000").
QString TimeHhmm(QStringView storedTime);

}  // namespace logtools
