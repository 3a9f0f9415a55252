#include "platform/database.h"

#include "platform/asidefile.h"
#include "platform/errors.h"
#include "platform/logschema.h"
#include "platform/paths.h"

#include <QFile>
#include <QRegularExpression>

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdint>
#include <limits>
#include <utility>

namespace platform {

namespace {

// Several PCs write one file; a statement that finds it locked waits this long before failing.
constexpr int DefaultBusyTimeoutMs = 5000;

// The program runs a handful of SQL texts; past this many kept, a statement is prepared per run.
constexpr qsizetype MaxKeptStatements = 32;

// Jet accepts "delete * from"; SQLite knows only "delete from".
QString TranslateJetSql(const QString& sql) {
  static const QRegularExpression jetDeleteAll(R"(^(\s*delete)\s+\*(\s+from\b))",
                                               QRegularExpression::CaseInsensitiveOption);
  QString translated = sql;
  return translated.replace(jetDeleteAll, QStringLiteral("\\1\\2"));
}

QString ErrorText(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

bool IsDamage(int code) {
  const int primary = code & 0xff;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

QString DamagedFileText(const QString& path) {
  return QStringLiteral("The log database file \"%1\" is damaged.").arg(path);
}

// The file itself failing under a statement, as a share whose server went away makes it fail (an
// I/O error, a file or journal that cannot be opened, a file turned read-only or replaced); a
// fresh open may reach it again. SQLite reports a read that the system failed with EIO as a
// damaged file: only the system's error tells it from a file that is damaged indeed.
bool IsFileFailure(int code, int systemError) {
  if (IsDamage(code)) return systemError != 0;
  const int primary = code & 0xff;
  return primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN || primary == SQLITE_READONLY;
}

// The system's error of the call that failed the statement, 0 for none. A read of the database
// file that failed reaches the statement as damage, without the error, which the file keeps.
int SystemErrorOf(sqlite3* db) {
  int error = sqlite3_system_errno(db);
  if (error == 0) sqlite3_file_control(db, "main", SQLITE_FCNTL_LAST_ERRNO, &error);
  return error;
}

int BindText(sqlite3_stmt* statement, int index, const QString& value) {
  const QByteArray text = value.toUtf8();
  // A non-null pointer even for "", which would otherwise bind as NULL.
  return sqlite3_bind_text64(statement, index, text.isEmpty() ? "" : text.constData(),
                             static_cast<sqlite3_uint64>(text.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// Returns what SQLite made of it: a value it refuses (one over its length limit) would otherwise
// travel as NULL.
int Bind(sqlite3_stmt* statement, int index, const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
      return sqlite3_bind_null(statement, index);
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
      return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
      // SQLite integers are signed 64-bit; a larger number keeps its exact digits as text.
      const qulonglong number = value.toULongLong();
      if (number > static_cast<qulonglong>(std::numeric_limits<std::int64_t>::max())) {
        return BindText(statement, index, QString::number(number));
      }
      return sqlite3_bind_int64(statement, index, static_cast<sqlite3_int64>(number));
    }
    case QMetaType::Float:
    case QMetaType::Double:
      return sqlite3_bind_double(statement, index, value.toDouble());
    default:
      return BindText(statement, index, value.toString());
  }
}

// Text as the program reads it: bytes that are not UTF-8 (another program's) become U+FFFD.
QString ReadText(const unsigned char* text, int bytes) {
  if (text == nullptr) return QString();
  return QString::fromUtf8(reinterpret_cast<const char*>(text), bytes);
}

// Whether text holds exactly these bytes, all of them ASCII.
bool IsSameAscii(const QString& text, const unsigned char* bytes, int size) {
  if (bytes == nullptr || text.size() != size) return false;
  for (int i = 0; i < size; ++i) {
    if (bytes[i] >= 0x80 || text.at(i).unicode() != bytes[i]) return false;
  }
  return true;
}

// A column's text. Rows read in order repeat many of their values (the date, the band, the mode,
// the reports): the same text as the row above shares that row's copy instead of allocating one.
QString ColumnText(sqlite3_stmt* statement, int column, const QString& above) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  const int size = sqlite3_column_bytes(statement, column);
  return IsSameAscii(above, text, size) ? above : ReadText(text, size);
}

// The SQL function text_as_read(value): the value as a record set reads it, NULL for NULL.
void TextAsRead(sqlite3_context* context, int, sqlite3_value** values) {
  const unsigned char* text = sqlite3_value_text(values[0]);
  if (text == nullptr) {
    sqlite3_result_null(context);
    return;
  }
  const QByteArray read = ReadText(text, sqlite3_value_bytes(values[0])).toUtf8();
  sqlite3_result_text64(context, read.isEmpty() ? "" : read.constData(), static_cast<sqlite3_uint64>(read.size()),
                        SQLITE_TRANSIENT, SQLITE_UTF8);
}

bool IsOnlyWhitespaceOrSemicolons(const char* text) {
  for (; *text != '\0'; ++text) {
    if (*text != ';' && !QChar::isSpace(static_cast<unsigned char>(*text))) return false;
  }
  return true;
}

// Opening a file that carries no write permission at all read-only makes writes fail as they
// would for an ordinary user, also when the program runs as root.
bool HasNoWritePermission(const struct stat& status) {
  return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// The copy's own connection, closed however the copy ends.
struct CopyConnection {
  sqlite3* db = nullptr;
  CopyConnection() = default;
  CopyConnection(const CopyConnection&) = delete;
  CopyConnection& operator=(const CopyConnection&) = delete;
  ~CopyConnection() { sqlite3_close_v2(db); }
};

bool IsSameFile(const QByteArray& first, const QByteArray& second) {
  struct stat a {};
  struct stat b {};
  return ::stat(first.constData(), &a) == 0 && ::stat(second.constData(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

// Every page of source into the empty database file copyName, in one step: the source stays
// read-locked for the whole copy, so no other PC's write can come between two of its pages. A
// writer holding the file makes the step wait up to the source's busy timeout.
void WriteCopy(sqlite3* source, const QByteArray& copyName, const QString& destinationPath) {
  CopyConnection copy;
  int rc = sqlite3_open_v2(copyName.constData(), &copy.db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_backup* backup = sqlite3_backup_init(copy.db, "main", source, "main");
    if (backup == nullptr) {
      rc = sqlite3_errcode(copy.db);
    } else {
      sqlite3_backup_step(backup, -1);
      rc = sqlite3_backup_finish(backup);
    }
  }
  if (rc != SQLITE_OK) {
    throw RuntimeError(
        QStringLiteral("Cannot copy the log database to \"%1\": %2").arg(destinationPath, ErrorText(copy.db)), rc);
  }
}

}  // namespace

// A statement lent out for one run; it goes back to its connection however the run ends.
class Connection::Statement {
 public:
  Statement(Connection& owner, const QString& sql) : owner_(&owner), sql_(sql), handle_(owner.kept_.take(sql)) {}
  Statement(Statement&& other) noexcept
      : owner_(other.owner_), sql_(std::move(other.sql_)), handle_(std::exchange(other.handle_, nullptr)) {}
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement& operator=(Statement&&) = delete;
  ~Statement() {
    if (handle_ != nullptr) owner_->GiveBack(sql_, handle_);
  }

  sqlite3_stmt* Handle() const { return handle_; }
  void SetHandle(sqlite3_stmt* handle) { handle_ = handle; }

 private:
  Connection* owner_;
  QString sql_;
  sqlite3_stmt* handle_;
};

Connection::~Connection() { Close(); }

void Connection::Open(const QString& path) {
  Release();
  const QString native = NativePath(path);
  const QByteArray nativeBytes = QFile::encodeName(native);
  struct stat status {};
  if (native.isEmpty() || ::stat(nativeBytes.constData(), &status) != 0) {
    throw RuntimeError(QStringLiteral("The log database file \"%1\" does not exist.").arg(path));
  }
  if (S_ISDIR(status.st_mode)) {
    throw RuntimeError(QStringLiteral("\"%1\" is a folder, not a log database file.").arg(path));
  }
  if (!S_ISREG(status.st_mode)) {
    throw RuntimeError(QStringLiteral("\"%1\" is not a log database file.").arg(path));
  }

  const int flags = HasNoWritePermission(status) ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(nativeBytes.constData(), &db, flags, nullptr);
  db_ = db;
  path_ = path;
  if (rc != SQLITE_OK) {
    const QString reason = ErrorText(db);
    Release();
    throw RuntimeError(QStringLiteral("Cannot open the log database file \"%1\": %2").arg(path, reason), rc);
  }
  sqlite3_extended_result_codes(db_, 1);
  SetBusyTimeout(DefaultBusyTimeoutMs);
  if (sqlite3_create_function_v2(db_, "text_as_read", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                 nullptr, TextAsRead, nullptr, nullptr, nullptr) != SQLITE_OK) {
    const QString reason = ErrorText(db_);
    Release();
    throw RuntimeError(QStringLiteral("Cannot open the log database file \"%1\": %2").arg(path, reason));
  }

  try {
    Recordset tables;
    tables.Open(QStringLiteral("select count(*) from sqlite_master where type = 'table' and name = ? collate nocase"),
                *this, {QStringLiteral("tbllog")});
    if (tables.Fields(0) == QLatin1String("0")) {
      throw RuntimeError(QStringLiteral("The log database file \"%1\" holds no table tbllog.").arg(path));
    }
    RefuseDamagedFile();
    // A rollback journal, not WAL: WAL needs shared memory, which network file systems lack.
    Execute(QStringLiteral("pragma journal_mode = delete"));
  } catch (const RuntimeError& error) {
    Release();
    if (error.Number() == SQLITE_NOTADB) {
      throw RuntimeError(QStringLiteral("\"%1\" is not a log database file.").arg(path), error.Number());
    }
    if (IsDamage(error.Number())) throw RuntimeError(DamagedFileText(path), error.Number());
    throw;
  }
  lostPath_.clear();
}

// A damaged file opens without complaint; only a statement that meets the damage fails, and
// rows may be added to it meanwhile. The whole file is checked once, before it is used.
void Connection::RefuseDamagedFile() {
  Recordset check;
  check.Open(QStringLiteral("pragma quick_check(1)"), *this);
  if (check.Fields(0) != QLatin1String("ok")) throw RuntimeError(DamagedFileText(path_), SQLITE_CORRUPT);
}

void Connection::Close() {
  Release();
  lostPath_.clear();
}

void Connection::Release() {
  FinalizeKeptStatements();
  if (db_ != nullptr) sqlite3_close_v2(db_);
  db_ = nullptr;
  path_.clear();
}

std::int64_t Connection::LastInsertRowId() const { return db_ == nullptr ? 0 : sqlite3_last_insert_rowid(db_); }

void Connection::SetBusyTimeout(int milliseconds) {
  if (db_ != nullptr) sqlite3_busy_timeout(db_, milliseconds);
}

void Connection::SetLengthLimitForTesting(int bytes) {
  if (db_ != nullptr) sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, bytes);
}

int Connection::Execute(const QString& sql, const QVariantList& params) {
  Statement statement = Prepare(sql, params);
  // sqlite3_changes keeps the count of the last insert, update or delete, so a statement of
  // another kind would report that one's rows.
  const sqlite3_int64 before = sqlite3_total_changes64(db_);
  int rc;
  while ((rc = sqlite3_step(statement.Handle())) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) Fail(QStringLiteral("The statement failed"));
  return static_cast<int>(sqlite3_total_changes64(db_) - before);
}

Connection::Statement Connection::Prepare(const QString& sql, const QVariantList& params) {
  if (db_ == nullptr) throw RuntimeError(QStringLiteral("The log database is not open."));

  Statement statement(*this, sql);
  if (statement.Handle() == nullptr) statement.SetHandle(PrepareNew(sql));
  sqlite3_stmt* handle = statement.Handle();
  if (sqlite3_bind_parameter_count(handle) != params.size()) {
    throw RuntimeError(QStringLiteral("The statement takes %1 values, %2 were given: %3")
                           .arg(sqlite3_bind_parameter_count(handle))
                           .arg(params.size())
                           .arg(sql));
  }
  for (int i = 0; i < params.size(); ++i) {
    const int rc = Bind(handle, i + 1, params[i]);
    if (rc != SQLITE_OK) {
      throw RuntimeError(QStringLiteral("Value %1 cannot be passed to the statement: %2 (log database \"%3\")")
                             .arg(i + 1)
                             .arg(QString::fromUtf8(sqlite3_errstr(rc)), path_),
                         rc);
    }
  }
  return statement;
}

sqlite3_stmt* Connection::PrepareNew(const QString& sql) {
  const QByteArray text = TranslateJetSql(sql).toUtf8();
  sqlite3_stmt* handle = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db_, text.constData(), static_cast<int>(text.size()), &handle, &tail) != SQLITE_OK) {
    Fail(QStringLiteral("The statement failed"));
  }
  if (handle == nullptr || !IsOnlyWhitespaceOrSemicolons(tail)) {
    sqlite3_finalize(handle);
    throw RuntimeError(QStringLiteral("Exactly one statement is expected: %1").arg(sql));
  }
  return handle;
}

void Connection::GiveBack(const QString& sql, sqlite3_stmt* statement) noexcept {
  // The result of the run was taken from the step; resetting only repeats it.
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  // A statement of a connection closed meanwhile, or one prepared beside a kept one, is not kept.
  if (sqlite3_db_handle(statement) != db_ || kept_.contains(sql) || kept_.size() >= MaxKeptStatements) {
    sqlite3_finalize(statement);
    return;
  }
  kept_.insert(sql, statement);
}

void Connection::FinalizeKeptStatements() {
  for (sqlite3_stmt* statement : std::as_const(kept_)) sqlite3_finalize(statement);
  kept_.clear();
}

void Connection::Fail(const QString& what) {
  const int code = sqlite3_extended_errcode(db_);
  const int systemError = SystemErrorOf(db_);
  const bool fileFailed = IsFileFailure(code, systemError);
  QString reason = ErrorText(db_);
  if (fileFailed && systemError != 0) reason += QStringLiteral(": ") + qt_error_string(systemError);
  // Autocommit normally undoes a failed statement by itself; make sure no transaction is left
  // holding a lock or half a change on the shared file.
  if (sqlite3_get_autocommit(db_) == 0) sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
  if (IsDamage(code) && !fileFailed) {
    throw RuntimeError(DamagedFileText(path_) + QStringLiteral(" (%1)").arg(reason), code);
  }
  if (fileFailed) lostPath_ = path_;
  throw RuntimeError(QStringLiteral("%1: %2 (log database \"%3\")").arg(what, reason, path_), code);
}

void Recordset::Open(const QString& sql, Connection& connection, const QVariantList& params) {
  // One record set serves every query in turn: opening it while a caller still walks its rows
  // would move that caller's rows under it.
  if (open_) throw RuntimeError(QStringLiteral("Operation is not allowed when the object is open."), 3705);
  const Connection::Statement statement = connection.Prepare(sql, params);
  sqlite3_stmt* handle = statement.Handle();
  const int columns = sqlite3_column_count(handle);
  std::vector<QString> names;
  for (int c = 0; c < columns; ++c) names.push_back(QString::fromUtf8(sqlite3_column_name(handle, c)));
  std::vector<Cell> cells;
  int rc;
  while ((rc = sqlite3_step(handle)) == SQLITE_ROW) {
    const std::size_t rowStart = cells.size();
    for (int c = 0; c < columns; ++c) {
      const QString above = rowStart == 0 ? QString() : cells[rowStart - columns + c].text;
      switch (sqlite3_column_type(handle, c)) {
        case SQLITE_NULL: cells.push_back({QString(), 0, Cell::Null}); break;
        case SQLITE_INTEGER:
          cells.push_back({QString(), sqlite3_column_int64(handle, c), Cell::Whole});
          break;
        default: cells.push_back({ColumnText(handle, c, above), 0, Cell::Text}); break;
      }
    }
  }
  if (rc != SQLITE_DONE) connection.Fail(QStringLiteral("The query failed"));
  names_ = std::move(names);
  cells_ = std::move(cells);
  current_ = 0;
  open_ = true;
}

void Recordset::Close() {
  open_ = false;
  names_.clear();
  cells_.clear();
  current_ = 0;
}

void Recordset::MoveNext() {
  if (!open_ || Eof()) throw RuntimeError(QStringLiteral("There is no current record."));
  ++current_;
}

QString Recordset::Fields(int position) const {
  const Cell& cell = CurrentCell(position);
  return cell.kind == Cell::Whole ? QString::number(cell.whole) : cell.text;
}

QString Recordset::Fields(const QString& name) const { return Fields(Position(name)); }

bool Recordset::IsNull(int position) const { return CurrentCell(position).kind == Cell::Null; }

bool Recordset::IsNull(const QString& name) const { return IsNull(Position(name)); }

std::int64_t Recordset::WholeNumber(int position) const {
  const Cell& cell = CurrentCell(position);
  return cell.kind == Cell::Whole ? cell.whole : cell.text.toLongLong();
}

int Recordset::Position(const QString& name) const {
  for (int position = 0; position < FieldCount(); ++position) {
    if (names_[position].compare(name, Qt::CaseInsensitive) == 0) return position;
  }
  throw RuntimeError(QStringLiteral("The record set has no field \"%1\".").arg(name));
}

const Recordset::Cell& Recordset::CurrentCell(int position) const {
  if (!open_ || Eof()) throw RuntimeError(QStringLiteral("There is no current record."));
  if (position < 0 || position >= FieldCount()) {
    throw RuntimeError(QStringLiteral("The record set has no field at position %1.").arg(position));
  }
  return cells_[current_ * names_.size() + static_cast<std::size_t>(position)];
}

void CreateLogDatabase(const QString& path) {
  const QString native = NativePath(path);
  if (QFile::exists(native)) {
    throw RuntimeError(QStringLiteral("\"%1\" already exists; a log database is never overwritten.").arg(path));
  }
  const std::string reason = WriteLogTable(QFile::encodeName(native).constData());
  if (!reason.empty()) {
    QFile::remove(native);
    throw RuntimeError(
        QStringLiteral("Cannot create the log database \"%1\": %2").arg(path, QString::fromStdString(reason)));
  }
}

void CopyLogDatabase(const QString& sourcePath, const QString& destinationPath) {
  Connection source;
  source.Open(sourcePath);
  const QString target = NativePath(destinationPath);
  const QByteArray targetName = QFile::encodeName(target);
  // Renaming a copy over the log itself would leave other PCs writing to a file no longer there.
  if (IsSameFile(QFile::encodeName(NativePath(sourcePath)), targetName)) {
    throw RuntimeError(
        QStringLiteral("\"%1\" is the log database itself; it cannot take a copy of itself.").arg(destinationPath));
  }
  AsideFile aside(target);
  WriteCopy(source.db_, aside.Name(), destinationPath);
  aside.PutInPlace();
}

}  // namespace platform
