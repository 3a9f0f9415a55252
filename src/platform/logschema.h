#pragma once

#include <sqlite3.h>

#include <string>

namespace platform {

// The log table as the shipped empty database holds it, with an index on the call: nine text columns in this order (readers
// take them by position), no key column. Jet compared text without regard to case, so every column
// does too.
inline constexpr char LogTableSchema[] =
    "CREATE TABLE tbllog ("
    "calls TEXT COLLATE NOCASE, rstr TEXT COLLATE NOCASE, gridr TEXT COLLATE NOCASE, "
    "rsts TEXT COLLATE NOCASE, grids TEXT COLLATE NOCASE, flddate TEXT COLLATE NOCASE, "
    "fldtime TEXT COLLATE NOCASE, uband TEXT COLLATE NOCASE, umode TEXT COLLATE NOCASE);"
    // Each commit asks the table for the call's earlier contacts: an index keeps that one lookup,
    // not a scan of the whole log. A log file without it works the same, only slower.
    "CREATE INDEX tbllog_calls ON tbllog (calls)";

// Writes tbllog into a database file, creating the file when it is missing. Returns why it failed,
// or "" on success. Free of Qt and of the rest of the program, so the build step that ships the
// empty database needs nothing else.
inline std::string WriteLogTable(const char* nativePath) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(nativePath, &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, LogTableSchema, nullptr, nullptr, nullptr);
  const std::string reason = rc == SQLITE_OK ? std::string() : sqlite3_errmsg(db);
  sqlite3_close_v2(db);
  return reason;
}

}  // namespace platform
