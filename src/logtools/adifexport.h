#pragma once

#include <QString>

#include <cstdint>

// The log as an ADIF file, for general logging programs (the main window's ADIF export).
namespace logtools {

// The operator's answers to the export's three questions; any may be empty.
struct AdifAnswers {
  QString Power;      // written into every record
  QString Comment;    // written into every record
  QString PhoneMode;  // the mode that stands for "PH", such as "SSB"
};

// The comment the export proposes: the contest's name, none for the CQ contest (type 5).
QString AdifCommentDefault(std::uint8_t contestType);

// Writes contacts 1 to LogCount of the in-memory log, in its order, as an ADIF file at `path` (a
// path as the program writes it): the header naming the program (from the main window's caption)
// and today's local date, then one record per contact. The own grid is not exported. Texts are
// written in ASCII, a letter with an accent as its base letter and any other character as "?".
// Throws platform::RuntimeError with the description when the file cannot be written; the old
// file at the path is then left as it was.
void WriteAdifFile(const QString& path, const AdifAnswers& answers, const QString& mainWindowCaption);

}  // namespace logtools
