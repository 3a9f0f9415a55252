#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

// What the log's export files share: how a file is put in place, the program and contest names
// they record, and how stored dates and times are read. Exports are Latin-1, the 8-bit code page
// their readers expect; a character outside it is written as "?", one byte per character.
namespace logtools {

// Writes a whole export file in one piece. It is written aside and takes the place of the old
// file only when complete, so a failure never leaves a truncated file behind. Throws
// platform::RuntimeError with the failure's description.
void WriteWholeFile(const QString& path, const QByteArray& bytes);

// The program as exports name it: the main window's caption cut to 60 characters, trimmed.
QString ExportingProgram(const QString& mainWindowCaption);

// The contest's name by contest type 1 to 5; "" for any other type.
QString ContestName(std::uint8_t contestType);

// A stored contact date, read by its explicit forms only, never by the locale: "yyyy/mm/dd",
// "yyyy-mm-dd" or "m/d/yyyy", month and day of one or two digits. Empty for anything else.
std::optional<QDate> ReadContactDate(const QString& text);

// The hour and minute of a stored time as four digits: the part before the first ":" and the two
// characters after it, "0"-padded in front ("18:05:33" and "18:05" give "1805", "7:05" gives
// "0705", "" gives "0000").
QString TimeHhmm(const QString& storedTime);

}  // namespace logtools
