#pragma once

#include "logging/logstore.h"

#include <QString>

#include <vector>

// Adding the contacts of another log or of a backup file to the live log table, row by row through
// the commit's own insert, without a transaction: other PCs go on storing their contacts meanwhile.
namespace logtools {

// Whether a path names a log database (it ends in "MDB" in any letter case); any other path is
// read as a backup file.
bool IsLogDatabasePath(const QString& path);

// Whether a path leads to the live log file itself, however it is spelt: relative, through a
// link, or in another letter case where the file system has only the one name.
bool IsLiveLogFile(const QString& path, const QString& liveLogPath);

// A contact of a source file. A database may leave a value out (NULL): it is added as "", but a
// contact whose call, band or either grid is missing is never a duplicate.
struct SourceContact {
  logging::LogContact Contact;
  bool KeyMissing = false;
};

// Every contact of tbllog in a log database file, through a connection of its own that is closed
// again before this returns, so nothing is added while the file is still being read. Columns are
// taken by position. Throws platform::RuntimeError when the file is no log database, is damaged or
// its table has fewer than nine columns.
std::vector<SourceContact> ReadLogDatabase(const QString& path);

// Whether the live table holds a contact with the same call, band, received grid and own grid,
// letter case ignored; a live row missing one of them (NULL) matches nothing. One indexed query
// by call per contact.
bool LiveLogHoldsDupeOf(const logging::LogContact& contact);

// Adds one contact to the live table unless duplicate elimination is on and the table holds it
// already. DupeFound marks the contact found as a dupe, as it does for the entry line.
void AppendContact(const SourceContact& source, bool eliminateDuplicates);

// Appends every contact of a log database or backup file, in the order the source holds them.
// A backup file is read one contact a line, blank lines skipped: a line without exactly nine values
// or with a quote it never closes stops the append there (platform::RuntimeError), the contacts
// before it stay added.
void AppendLogFile(const QString& path, bool eliminateDuplicates);

}  // namespace logtools
