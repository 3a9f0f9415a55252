#include "logging/logtable.h"

#include <vector>

namespace logging {

namespace {

const QString InsertStatement = QStringLiteral(
    "insert into tblLog (calls, rstr, gridr, rsts, grids, flddate, fldtime, uband, umode)"
    "VALUES (?,?,?,?,?,?,?,?,?)");
const QString SelectByCallStatement = QStringLiteral("select * from tbllog where calls=?");
const QString ReloadStatement = QStringLiteral("select * from tbllog order by flddate, fldtime");
const QString RowCountStatement = QStringLiteral("select count(*) as fsizeold from tbllog");
// The table has no key: a contact's row is picked by its values, one row even where another
// holds the same. A missing value reads as "" in the log held, so it matches "" here. The columns
// compare without case, hence the binary collation.
const QString OneRowOfContact = QStringLiteral(
    "(select rowid from tbllog where ifnull(calls, '') = ? collate binary"
    " And ifnull(rstr, '') = ? collate binary And ifnull(gridr, '') = ? collate binary"
    " And ifnull(rsts, '') = ? collate binary And ifnull(grids, '') = ? collate binary"
    " And ifnull(flddate, '') = ? collate binary And ifnull(fldtime, '') = ? collate binary"
    " And ifnull(uband, '') = ? collate binary And ifnull(umode, '') = ? collate binary limit 1)");
const QString DeleteContactStatement = QStringLiteral("delete from tbllog where rowid = ") + OneRowOfContact;
const QString UpdateContactStatement =
    QStringLiteral("update tbllog set calls=?, rstr=?, gridr=?, rsts=?, grids=?, flddate=?, fldtime=?, uband=?, "
                   "umode=? where rowid = ") +
    OneRowOfContact;
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

LogContact ContactOfCurrentRow() {
  return {LogRecordset.Fields(0), LogRecordset.Fields(1), LogRecordset.Fields(2),
          LogRecordset.Fields(3), LogRecordset.Fields(4), LogRecordset.Fields(5),
          LogRecordset.Fields(6), LogRecordset.Fields(7), LogRecordset.Fields(8)};
}

}  // namespace

void InsertContact(const LogContact& contact) {
  ReleaseLogRecordset release;
  LogConnection.Execute(InsertStatement, ValuesOf(contact));
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
  return LogConnection.Execute(DeleteContactStatement, ValuesOf(contact));
}

int UpdateContact(const LogContact& stored, const LogContact& edited) {
  ReleaseLogRecordset release;
  return LogConnection.Execute(UpdateContactStatement, ValuesOf(edited) + ValuesOf(stored));
}

void DeleteAllContacts() {
  ReleaseLogRecordset release;
  LogConnection.Execute(DeleteAllStatement);
}

}  // namespace logging
