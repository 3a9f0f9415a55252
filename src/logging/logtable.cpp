#include "logging/logtable.h"

#include <QStringList>

#include <vector>

namespace logging {

namespace {

// The columns of a contact, in the order of LogContact; another program's table may hold more.
const QStringList ContactColumns = {QStringLiteral("calls"),   QStringLiteral("rstr"),    QStringLiteral("gridr"),
                                    QStringLiteral("rsts"),    QStringLiteral("grids"),   QStringLiteral("flddate"),
                                    QStringLiteral("fldtime"), QStringLiteral("uband"),   QStringLiteral("umode")};

// Each column in turn put into a pattern ("%1=?"), joined by a separator.
QString EachColumn(const QString& pattern, const QString& separator) {
  QStringList parts;
  for (const QString& column : ContactColumns) parts << pattern.arg(column);
  return parts.join(separator);
}

const QString InsertStatement = QStringLiteral("insert into tbllog (%1) values (?,?,?,?,?,?,?,?,?)")
                                    .arg(ContactColumns.join(QStringLiteral(", ")));
const QString SelectByCallStatement = QStringLiteral("select * from tbllog where calls=?");
// By name: another program's table may hold its columns in another order.
const QString ReloadStatement = QStringLiteral("select %1, rowid from tbllog order by flddate, fldtime")
                                    .arg(ContactColumns.join(QStringLiteral(", ")));
const QString RowCountStatement = QStringLiteral("select count(*) as fsizeold from tbllog");
// A contact's row is the one it was read from or stored in, as long as that row still holds the
// values the log holds of it: a row id that another PC's delete freed for a new row matches
// nothing. The values compare as they were read, letter case included, so bytes another program
// stored that are not UTF-8 match too, and a missing value matches the "" it read as.
const QString RowOfContact = QStringLiteral("rowid = ? And ") +
                             EachColumn(QStringLiteral("ifnull(text_as_read(%1), '') = ?"), QStringLiteral(" And "));
const QString DeleteContactStatement = QStringLiteral("delete from tbllog where ") + RowOfContact;
const QString UpdateContactStatement =
    QStringLiteral("update tbllog set %1 where ").arg(EachColumn(QStringLiteral("%1=?"), QStringLiteral(", "))) +
    RowOfContact;
const QString DeleteAllStatement = QStringLiteral("delete * from tbllog");

// Releases the shared record set when the operation ends, however it ends.
struct ReleaseLogRecordset {
  ReleaseLogRecordset() = default;
  ReleaseLogRecordset(const ReleaseLogRecordset&) = delete;
  ReleaseLogRecordset& operator=(const ReleaseLogRecordset&) = delete;
  ~ReleaseLogRecordset() { LogRecordset.Close(); }
};

QVariantList ValuesOf(const LogContact& contact) {
  return {contact.Call, contact.RstRcvd, contact.GridRcvd, contact.RstSent, contact.GridSent,
          contact.Date, contact.Time, contact.Band, contact.Mode};
}

// The row a contact was read from and its values, as the row's own key picks it.
QVariantList RowOf(const LogContact& contact) {
  return QVariantList{contact.RowId ? QVariant(static_cast<qlonglong>(*contact.RowId)) : QVariant()} +
         ValuesOf(contact);
}

// A row of the reload's statement: the nine columns, then the row id.
LogContact ContactOfCurrentRow() {
  return {LogRecordset.Fields(0), LogRecordset.Fields(1), LogRecordset.Fields(2),
          LogRecordset.Fields(3), LogRecordset.Fields(4), LogRecordset.Fields(5),
          LogRecordset.Fields(6), LogRecordset.Fields(7), LogRecordset.Fields(8),
          LogRecordset.WholeNumber(9)};
}

// The columns of a contact that tbllog lacks, and "rowid" for a table without row ids, by which a
// contact is deleted or edited.
QStringList MissingColumns() {
  QStringList held;
  platform::Recordset columns;
  columns.Open(QStringLiteral("select name from pragma_table_info(?)"), LogConnection, {QStringLiteral("tbllog")});
  for (; !columns.Eof(); columns.MoveNext()) held << columns.Fields(0).toLower();
  QStringList missing;
  for (const QString& column : ContactColumns) {
    if (!held.contains(column)) missing << column;
  }
  try {
    LogConnection.Execute(QStringLiteral("select rowid from tbllog limit 0"));
  } catch (const platform::RuntimeError&) {
    missing << QStringLiteral("rowid");
  }
  return missing;
}

}  // namespace

void OpenLogDatabase(const QString& path) {
  LogConnection.Open(path);
  QStringList missing;
  try {
    missing = MissingColumns();
  } catch (const platform::RuntimeError&) {
    LogConnection.Close();
    throw;
  }
  if (missing.isEmpty()) return;
  LogConnection.Close();
  throw MissingLogColumns(QStringLiteral("The table tbllog of the log database file \"%1\" has no column %2.")
                              .arg(path, missing.join(QStringLiteral(", "))));
}

std::int64_t InsertContact(const LogContact& contact) {
  ReleaseLogRecordset release;
  LogConnection.Execute(InsertStatement, ValuesOf(contact));
  return LogConnection.LastInsertRowId();
}

void OpenContactsOfCall(const QString& call) { LogRecordset.Open(SelectByCallStatement, LogConnection, {call}); }

void LoadContactsFromTable() {
  std::vector<LogContact> rows;
  {
    ReleaseLogRecordset release;
    LogRecordset.Open(ReloadStatement, LogConnection);
    for (; !LogRecordset.Eof(); LogRecordset.MoveNext()) rows.push_back(ContactOfCurrentRow());
  }
  ReplaceContacts(rows);
  if (LogCount > 0) LogRowCount = LogCount;
}

double CountLogRows() {
  ReleaseLogRecordset release;
  LogRecordset.Open(RowCountStatement, LogConnection);
  return LogRecordset.Fields(QStringLiteral("fsizeold")).toDouble();
}

int DeleteContact(const LogContact& contact) {
  ReleaseLogRecordset release;
  return LogConnection.Execute(DeleteContactStatement, RowOf(contact));
}

int UpdateContact(const LogContact& stored, const LogContact& edited) {
  ReleaseLogRecordset release;
  return LogConnection.Execute(UpdateContactStatement, ValuesOf(edited) + RowOf(stored));
}

void DeleteAllContacts() {
  ReleaseLogRecordset release;
  LogConnection.Execute(DeleteAllStatement);
}

}  // namespace logging
