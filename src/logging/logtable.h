#pragma once

#include "logging/logstore.h"

#include <QString>

namespace logging {

// Every statement contact logging sends to tbllog, each with its values bound. A failing statement
// throws platform::RuntimeError and leaves the table as it was; each caller's trap decides what
// the operator sees. Operations that end here release LogRecordset, also when they fail.

// Stores one contact as a new row.
void InsertContact(const LogContact& contact);

// Opens on LogRecordset the rows whose call equals the given one regardless of case; the caller
// walks them and releases LogRecordset.
void OpenContactsOfCall(const QString& call);

// Replaces the in-memory log by the rows of tbllog, oldest first (a text sort of flddate, then
// fldtime, so a late "hh:mm" comes before the same minute's "hh:mm:ss"). When a row was read,
// LogRowCount becomes LogCount. Every row is read before the in-memory log is touched, so a read
// that fails throws and leaves the log the program holds as it was.
// The tallies are not touched: RebuildBandTallies follows.
void LoadContactsFromTable();

// The number of rows in tbllog.
double CountLogRows();

// Deletes one row holding exactly these nine values, letter case included, even where another
// row holds the same (a contact stored twice loses one copy). Returns the rows deleted: 0 when no
// row matches any more.
int DeleteContact(const LogContact& contact);

// Rewrites one row holding exactly the stored values, matched as DeleteContact matches them, with
// the edited ones. Returns the rows changed: 0 when no row holds the stored values any more.
int UpdateContact(const LogContact& stored, const LogContact& edited);

// Deletes every row; the file and the table stay.
void DeleteAllContacts();

}  // namespace logging
