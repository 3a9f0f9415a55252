#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <cstddef>
#include <cstdint>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// Makes a new, empty log database file holding tbllog (see logschema.h). Refuses a path where a
// file already is, so an operator's log is never overwritten. The program itself never creates
// its log; test fixtures make theirs with this.
void CreateLogDatabase(const QString& path);

// Copies a log database file whole while other PCs may be writing to it: SQLite's online backup
// reads the file under one read lock, so the copy is the log as it stood at one moment, never a
// page caught half-written. It opens connections of its own. The copy is written through an
// AsideFile, so a failure leaves a file already there as it was. Throws RuntimeError when the
// source is refused as Connection::Open refuses a file, when the destination is the source
// itself, or when the copy cannot be written.
void CopyLogDatabase(const QString& sourcePath, const QString& destinationPath);

// One open log database file, shared by several PCs. Each statement is its own transaction; a
// statement that meets another PC's lock waits up to the busy timeout and then fails.
// Values reach SQL only as bound parameters ("?"): a QString binds as text, a whole number as an
// integer, a real number as a real, a null QVariant as NULL. A value SQLite refuses (one over its
// length limit) fails the statement before it runs.
// A statement that meets a damaged file throws RuntimeError carrying SQLite's code
// (SQLITE_CORRUPT or SQLITE_NOTADB) and a description saying the file is damaged.
// A statement that meets the file itself failing, as on a share whose server went away (an I/O
// error, a file or journal that cannot be opened, a file turned read-only or replaced under the
// connection), throws RuntimeError carrying SQLite's code and leaves the connection Lost: the
// handle it holds may be one the server no longer knows, so only a fresh Open reaches the file
// once it works again. Until then the handle stays for what it can still do (a read-only file
// is still read). A damaged file is never taken for a failing one.
// Statements may call text_as_read(value): the value as a Recordset reads it (bytes that are not
// UTF-8 as U+FFFD, NULL as NULL), so a row is found by the values the program holds of it even
// where another program stored other bytes.
// A statement is prepared once per SQL text and kept while the connection stays open: after each
// run it is reset, so it holds no lock on the shared file, and its values are cleared.
class Connection {
 public:
  Connection() = default;
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Opens an existing log database; never creates one. A missing file, a folder, a file that is
  // not a database, a database without tbllog or a damaged one (SQLite's quick check) throws
  // RuntimeError and leaves it closed.
  // A file without any write permission bit is opened read-only, so writes fail even for root.
  // Opening clears Lost only when it succeeds, so a file that still fails stays lost.
  void Open(const QString& path);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  const QString& Path() const { return path_; }
  // Whether a statement found the file failing since it was last opened or closed; LostPath is
  // then the file to open afresh. A failed Open leaves the connection closed, still lost.
  bool Lost() const { return !lostPath_.isEmpty(); }
  const QString& LostPath() const { return lostPath_; }

  // Runs one statement; returns the number of rows it inserted, changed or deleted.
  int Execute(const QString& sql, const QVariantList& params = {});
  // The row id of the row this connection inserted last.
  std::int64_t LastInsertRowId() const;

  void SetBusyTimeout(int milliseconds);
  // Lowers SQLite's limit on the length of one value, so tests can pass a refused one cheaply.
  void SetLengthLimitForTesting(int bytes);

 private:
  friend class Recordset;
  friend void CopyLogDatabase(const QString& sourcePath, const QString& destinationPath);
  class Statement;
  // The statement for sql with params bound, kept from an earlier run or prepared now.
  Statement Prepare(const QString& sql, const QVariantList& params);
  sqlite3_stmt* PrepareNew(const QString& sql);
  // A statement back from its run: reset, its values cleared, and kept for the next run of sql.
  void GiveBack(const QString& sql, sqlite3_stmt* statement) noexcept;
  void FinalizeKeptStatements();
  void RefuseDamagedFile();
  // Closes the file; Lost stays as it was.
  void Release();
  [[noreturn]] void Fail(const QString& what);

  sqlite3* db_ = nullptr;
  QString path_;
  QString lostPath_;
  // Prepared statements by their SQL text. A statement that is running is out of the map, so
  // the same SQL asked for meanwhile (a statement run from within another) gets one of its own.
  QHash<QString, sqlite3_stmt*> kept_;
};

// The rows of one query, read in full when it opens (a static cursor), so no read lock is left
// on the shared file while the rows are walked.
class Recordset {
 public:
  // Throws RuntimeError 3705 while the record set is open: its user must Close it first.
  void Open(const QString& sql, Connection& connection, const QVariantList& params = {});
  void Close();
  bool IsOpen() const { return open_; }

  // EOF is a C library macro, hence the spelling.
  bool Eof() const { return current_ >= RowCount(); }
  void MoveNext();
  void MoveFirst() { current_ = 0; }
  int FieldCount() const { return static_cast<int>(names_.size()); }
  // The current row's value as text: NULL reads as "", numbers as their decimal text.
  QString Fields(int position) const;
  QString Fields(const QString& name) const;
  // Whether the current row's value is NULL, which Fields reads as "".
  bool IsNull(int position) const;
  bool IsNull(const QString& name) const;
  // The current row's value as a whole number (a row id): one stored as such, else its text read
  // as one, 0 for none.
  std::int64_t WholeNumber(int position) const;

 private:
  std::size_t RowCount() const { return names_.empty() ? 0 : cells_.size() / names_.size(); }
  int Position(const QString& name) const;

  bool open_ = false;
  std::vector<QString> names_;
  // A value as read: whole numbers stay numbers until they are read as text, so a column of row
  // ids costs no allocation per row.
  struct Cell {
    enum Kind : std::uint8_t { Text, Null, Whole };
    QString text;
    std::int64_t whole = 0;
    Kind kind = Text;
  };
  const Cell& CurrentCell(int position) const;

  std::vector<Cell> cells_;  // row after row
  std::size_t current_ = 0;
};

}  // namespace platform
