#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// The log handed to other programs: the record file LogExp.txt for the sibling logger's import,
// and the contact list as text for the clipboard.
namespace logtools {

// Writes contacts 1 to LogCount of the in-memory log, in its order, as quoted-text records at
// `path` (a path as the program writes it; the export names it LogExp.txt in the program folder):
// call, date, band, mode, time, reports, the other station's grid and the contest's name, in the
// sibling logger's 16 columns; a line break or another control character in a value goes as a
// blank (see OneLineText). Throws platform::RuntimeError with the description when the file
// cannot be written; the old file is then left as it was.
void WriteSiblingLoggerFile(const QString& path, std::uint8_t contestType);

// The contact list as the clipboard takes it: the column headers, then each row as listed (its
// own text, then its cells), cells separated by a Tab, lines ended by CR LF. A row short of cells
// gives empty ones.
QString ContactListClipboardText(const QStringList& headers, const std::vector<QStringList>& rows);

}  // namespace logtools
