#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the log's export files share: how a file is put in place, the program and contest names
// they record, and how stored dates and times are read. Exports are Latin-1, the 8-bit code page
// their readers expect. A whole file is built in memory and written at once: a large log costs
// one system call, not one per piece.
namespace logtools {

// Appends text in Latin-1, one byte per UTF-16 unit ("?" for a character outside Latin-1), so the
// bytes appended always number text.size().
void AppendLatin1(std::string& out, QStringView text);

// Appends a number in decimal with at least `width` digits, "0"-padded in front.
void AppendZeroPadded(std::string& out, int number, int width = 1);

// Writes a whole export file in one piece through platform::AsideFile, so a failure never leaves
// a truncated file behind. Throws platform::RuntimeError with the failure's description.
void WriteWholeFile(const QString& path, std::string_view bytes);

// The program as exports name it: the main window's caption cut to 60 characters, trimmed.
QString ExportingProgram(const QString& mainWindowCaption);

// The contest's name by contest type 1 to 5; "" for any other type.
QString ContestName(std::uint8_t contestType);

// A day of the calendar, as a stored contact date gives it.
struct ContactDate {
  int Year;
  int Month;
  int Day;
};

// A stored contact date, read by its explicit forms only, never by the locale: "yyyy/mm/dd",
// "yyyy-mm-dd" or "m/d/yyyy", month and day of one or two digits. Empty for anything else or a
// day that does not exist.
std::optional<ContactDate> ReadContactDate(QStringView text);

// A stored contact time as seconds after midnight, read by its explicit forms only: "h:m:s" or
// "h:m" (the form of contacts logged after the contest), each part of one or two digits, blanks
// around ignored. Empty for anything else or a time that does not exist.
std::optional<int> ReadContactTime(QStringView text);

// The hour and minute of a stored time as four digits: the part before the first ":" and the two
// characters after it, "0"-padded in front ("18:05:33" and "18:05" give "1805", "7:05" gives
// "0705", "" gives "0000").
QString TimeHhmm(QStringView storedTime);

}  // namespace logtools
