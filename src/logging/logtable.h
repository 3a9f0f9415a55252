#pragma once

#include "logging/logstore.h"
#include "platform/errors.h"

#include <QString>

namespace logging {

// Every statement contact logging sends to tbllog, each with its values bound. A failing statement
// throws platform::RuntimeError and leaves the table as it was; each caller's trap decides what
// the operator sees. Operations that end here release LogRecordset, also when they fail.

// A log database whose tbllog lacks columns that contact logging writes and reads; the
// description names them.
class MissingLogColumns : public platform::RuntimeError {
 public:
  using RuntimeError::RuntimeError;
};

// Opens the log database on LogConnection. Besides what platform::Connection::Open refuses, a
// tbllog without one of the nine columns of a contact (or without row ids) is refused with
// MissingLogColumns before any statement of contact logging meets it; the connection stays closed.
void OpenLogDatabase(const QString& path);

// Stores one contact as a new row; returns the row's id, for the contact's RowId.
std::int64_t InsertContact(const LogContact& contact);

// Opens on LogRecordset the rows whose call equals the given one regardless of case; the caller
// walks them and releases LogRecordset.
void OpenContactsOfCall(const QString& call);

// Replaces the in-memory log by the rows of tbllog, oldest first (a text sort of flddate, then
// fldtime, so a late "hh:mm" comes before the same minute's "hh:mm:ss"). When a row was read,
// LogRowCount becomes LogCount. Every row is read before the in-memory log is touched, so a read
// that fails throws and leaves the log the program holds as it was. Each contact keeps the id of
// its row. The tallies are not touched: RebuildBandTallies follows.
void LoadContactsFromTable();

// The number of rows in tbllog.
double CountLogRows();

// Deletes the contact's own row (its RowId), as long as the row still holds the nine values as
// they were read, letter case included; another row holding the same values stays. Returns the
// rows deleted: 0 when the row is gone or was changed meanwhile.
int DeleteContact(const LogContact& contact);

// Rewrites the stored contact's own row, matched as DeleteContact matches it, with the edited
// values. Returns the rows changed: 0 when the row is gone or was changed meanwhile.
int UpdateContact(const LogContact& stored, const LogContact& edited);

// Deletes every row; the file and the table stay.
void DeleteAllContacts();

}  // namespace logging
