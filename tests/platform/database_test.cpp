#include "platform/database.h"
#include "platform/errors.h"

#include "damagedfiles.h"
#include "fulldisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <limits>
#include <thread>

namespace {

using platform::Connection;
using platform::Recordset;
using platform::RuntimeError;

const QString InsertRow = QStringLiteral("insert into tbllog (calls, gridr, uband) values (?, ?, ?)");

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    platform::CreateLogDatabase(path_);
  }

  static QStringList Column(Connection& connection, const QString& sql, const QVariantList& params = {}) {
    Recordset rows;
    rows.Open(sql, connection, params);
    QStringList values;
    for (; !rows.Eof(); rows.MoveNext()) values << rows.Fields(0);
    return values;
  }

  int RowCount() {
    Connection other;
    other.Open(path_);
    return Column(other, QStringLiteral("select count(*) from tbllog")).first().toInt();
  }

  // A second process's view of the file, through SQLite directly.
  sqlite3* OpenRaw() {
    sqlite3* raw = nullptr;
    EXPECT_EQ(sqlite3_open_v2(QFile::encodeName(path_).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    return raw;
  }

  QTemporaryDir dir_;
  QString path_ = dir_.filePath(QStringLiteral("Corvane.MDB"));
};

TEST_F(DatabaseTest, OpenRefusesAnythingButALogDatabase) {
  const QString missing = dir_.filePath(QStringLiteral("missing.mdb"));
  const QString folder = dir_.filePath(QStringLiteral("folder.mdb"));
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.mdb")));
  const QString text = dir_.filePath(QStringLiteral("notes.mdb"));
  QFile textFile(text);
  ASSERT_TRUE(textFile.open(QIODevice::WriteOnly));
  textFile.write("calls,rstr,gridr\nW1AW,59,FN31\n" + QByteArray(200, 'x'));
  textFile.close();
  const QString otherDatabase = dir_.filePath(QStringLiteral("other.mdb"));
  sqlite3* raw = nullptr;
  sqlite3_open(QFile::encodeName(otherDatabase).constData(), &raw);
  ASSERT_EQ(sqlite3_exec(raw, "create table contacts (calls text)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(raw);

  for (const QString& path : {missing, folder, text, otherDatabase, QString()}) {
    SCOPED_TRACE(path.toStdString());
    Connection connection;
    try {
      connection.Open(path);
      ADD_FAILURE() << "opened";
    } catch (const RuntimeError& error) {
      EXPECT_TRUE(error.Description().contains(path)) << error.Description().toStdString();
    }
    EXPECT_FALSE(connection.IsOpen());
  }
  EXPECT_FALSE(QFile::exists(missing)) << "opening must never create the file";
}

// 3000 contacts fill about 45 pages; page 2 is the table's root.
TEST_F(DatabaseTest, DamagedFileIsRefusedAtOpenAndLeftAsItWas) {
  const struct {
    const char* damage;
    std::function<void(const QString&)> make;
  } cases[] = {
      {"middle pages overwritten", [](const QString& path) { DamagePages(path, 20, 2); }},
      {"table root overwritten", [](const QString& path) { DamagePages(path, 2, 1); }},
      {"file cut short", [](const QString& path) { QFile::resize(path, QFileInfo(path).size() / 2); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.damage);
    const QString path = dir_.filePath(QString::fromLatin1(c.damage) + QStringLiteral(".mdb"));
    platform::CreateLogDatabase(path);
    FillLog(path, 3000);
    c.make(path);
    const QByteArray damaged = FileContents(path);

    Connection connection;
    try {
      connection.Open(path);
      ADD_FAILURE() << "opened";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Description(), QStringLiteral("The log database file \"%1\" is damaged.").arg(path));
      EXPECT_EQ(error.Number() & 0xff, SQLITE_CORRUPT);
    }
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(FileContents(path), damaged);
  }
}

TEST_F(DatabaseTest, DamageMetAfterOpeningFailsTheStatementWithSqlitesCode) {
  FillLog(path_, 3000);
  Connection connection;
  connection.Open(path_);
  DamagePages(path_, 2, 1);

  const std::function<void()> statements[] = {
      [&] { connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"}); },
      [&] { Column(connection, QStringLiteral("select * from tbllog order by flddate, fldtime")); },
  };
  for (const auto& statement : statements) {
    try {
      statement();
      ADD_FAILURE() << "the statement went on";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number() & 0xff, SQLITE_CORRUPT);
      EXPECT_TRUE(error.Description().startsWith(QStringLiteral("The log database file \"%1\" is damaged.").arg(path_)))
          << error.Description().toStdString();
    }
    EXPECT_FALSE(connection.Lost()) << "a damaged file is not to be opened afresh as a failing share is";
  }
}

// The file on a share whose server went away fails under a statement; SQLite reports a read that
// failed with EIO as damage, which the connection tells from damage indeed by the system's error.
TEST_F(DatabaseTest, AFileFailingUnderAStatementLeavesTheConnectionLostUntilAFreshOpen) {
  const struct {
    const char* name;
    unsigned failingCalls;
    bool opensWhileAway;
  } cases[] = {
      {"reads", FailingShare::Reads, false},
      {"writes", FailingShare::Writes, true},
      {"flushes", FailingShare::Flushes, true},
  };
  const auto expectFailureNotDamage = [](const std::function<void()>& use) {
    try {
      use();
      ADD_FAILURE() << "the file was used while the share was away";
    } catch (const RuntimeError& error) {
      EXPECT_FALSE(error.Description().contains(QStringLiteral("damaged"))) << error.Description().toStdString();
    }
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FailingShare share(dir_.path().toStdString(), c.failingCalls);
    Connection connection;
    connection.Open(path_);
    share.GoAway();
    expectFailureNotDamage([&] { connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"}); });
    ASSERT_TRUE(connection.Lost());
    const QString lostPath = connection.LostPath();
    EXPECT_EQ(lostPath, path_);
    share.ComeBack();
    EXPECT_THROW(connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"}), RuntimeError) << "the handle died";
    if (!c.opensWhileAway) {
      share.GoAway();
      expectFailureNotDamage([&] { connection.Open(lostPath); });
      EXPECT_FALSE(connection.IsOpen());
      EXPECT_TRUE(connection.Lost()) << "a file that still fails stays lost";
      share.ComeBack();
    }

    connection.Open(lostPath);
    EXPECT_FALSE(connection.Lost());
    connection.Execute(InsertRow, {"K2XY", "FN20", "50 M"});
  }
  EXPECT_EQ(RowCount(), 3) << "a row from each fresh open, none from the tries while the share was away";
}

TEST_F(DatabaseTest, GeneratedDatabaseHoldsTheNineColumnsInOrderWithARollbackJournal) {
  Connection connection;
  connection.Open(path_);
  EXPECT_TRUE(connection.IsOpen());
  EXPECT_EQ(Column(connection, QStringLiteral("pragma journal_mode")), QStringList{QStringLiteral("delete")});

  Recordset rows;
  rows.Open(QStringLiteral("select * from tbllog"), connection);
  EXPECT_EQ(rows.FieldCount(), 9);
  EXPECT_TRUE(rows.Eof());
  EXPECT_EQ(Column(connection, QStringLiteral("select name from pragma_table_info('tbllog') order by cid")),
            QStringList({"calls", "rstr", "gridr", "rsts", "grids", "flddate", "fldtime", "uband", "umode"}));
}

TEST_F(DatabaseTest, CreatingNeverOverwritesAnExistingLog) {
  Connection connection;
  connection.Open(path_);
  connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"});
  EXPECT_THROW(platform::CreateLogDatabase(path_), RuntimeError);
  EXPECT_EQ(RowCount(), 1);
}

TEST_F(DatabaseTest, ValuesAreBoundAndComeBackAsTyped) {
  Connection connection;
  connection.Open(path_);
  const QString hostile = QStringLiteral("W1'AB'); delete from tbllog; --\"");
  EXPECT_EQ(connection.Execute(InsertRow, {hostile, "FN'31", "50 M"}), 1);
  EXPECT_EQ(connection.Execute(InsertRow, {"K2XY", "FN20", "50 M"}), 1);

  Recordset rows;
  rows.Open(QStringLiteral("select * from tbllog where calls = ?"), connection, {hostile});
  ASSERT_FALSE(rows.Eof());
  EXPECT_EQ(rows.Fields(0), hostile);
  EXPECT_EQ(rows.Fields(QStringLiteral("GRIDR")), QStringLiteral("FN'31"));
  EXPECT_EQ(rows.Fields(QStringLiteral("rstr")), QString()) << "NULL reads as empty text";
  EXPECT_EQ(RowCount(), 2);
}

TEST_F(DatabaseTest, ValueSqliteRefusesFailsTheStatementAndStoresNothing) {
  Connection connection;
  connection.Open(path_);
  connection.SetLengthLimitForTesting(1000);
  const QString tooLong(1001, QLatin1Char('W'));
  for (const QVariantList& values : {QVariantList{tooLong, "FN31", "50 M"}, QVariantList{"W1AW", "FN31", tooLong}}) {
    try {
      connection.Execute(InsertRow, values);
      ADD_FAILURE() << "stored";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), SQLITE_TOOBIG);
    }
  }
  Recordset rows;
  EXPECT_THROW(rows.Open(QStringLiteral("select * from tbllog where calls = ?"), connection, {tooLong}), RuntimeError);
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"}), 1) << "the connection goes on";
  EXPECT_EQ(RowCount(), 1);
}

TEST_F(DatabaseTest, NumbersAndNullReadAsText) {
  Connection connection;
  connection.Open(path_);
  Recordset rows;
  rows.Open(QStringLiteral("select ? as whole, ? as real, ? as empty, count(*) as fsizeold from tbllog"), connection,
            {42, 2.5, QVariant()});
  EXPECT_EQ(rows.Fields(0), QStringLiteral("42"));
  EXPECT_EQ(rows.Fields(1), QStringLiteral("2.5"));
  EXPECT_EQ(rows.Fields(2), QString());
  EXPECT_EQ(rows.Fields(QStringLiteral("FSizeOld")), QStringLiteral("0"));
  EXPECT_EQ(std::vector<bool>({rows.IsNull(0), rows.IsNull(1), rows.IsNull(2), rows.IsNull(3)}),
            std::vector<bool>({false, false, true, false}));
  EXPECT_EQ(rows.WholeNumber(0), 42);
}

// Each row reads its own values, however alike the rows around it are.
TEST_F(DatabaseTest, RowsAfterAlikeRowsReadTheirOwnValues) {
  Connection connection;
  connection.Open(path_);
  const QList<QStringList> stored = {{"FN31", "W1AW"}, {"FN31", QString::fromUtf8("W1\xC3\x85W")}, {"FN3", "W1AW"},
                                     {"fn31", "W1AW"}, {"", "W1AW"},  {"FN31", "W1AW"}};
  for (const QStringList& row : stored) connection.Execute(InsertRow, {row[1], row[0], "50 M"});
  connection.Execute(QStringLiteral("insert into tbllog (calls) values ('W1AW')"));
  Recordset rows;
  rows.Open(QStringLiteral("select gridr, calls from tbllog order by rowid"), connection);
  QList<QStringList> read;
  for (; !rows.Eof(); rows.MoveNext()) read << QStringList{rows.Fields(0), rows.Fields(1)};
  const QList<QStringList> expected = stored + QList<QStringList>{{"", "W1AW"}};
  EXPECT_EQ(read, expected);
}

TEST_F(DatabaseTest, UnsignedNumbersBindAsIntegers) {
  Connection connection;
  connection.Open(path_);
  const struct {
    QVariant value;
    const char* type;
    const char* read;
  } cases[] = {
      {QVariant::fromValue<qulonglong>(7000000000ULL), "integer", "7000000000"},
      {QVariant::fromValue<unsigned long>(144UL), "integer", "144"},
      {QVariant::fromValue<qulonglong>(18446744073709551615ULL), "text", "18446744073709551615"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.read);
    Recordset rows;
    rows.Open(QStringLiteral("select typeof(?1), ?1"), connection, {c.value});
    EXPECT_EQ(rows.Fields(0), QString(c.type));
    EXPECT_EQ(rows.Fields(1), QString(c.read));
  }
}

TEST_F(DatabaseTest, StatementsThatChangeNoRowsReportNone) {
  Connection connection;
  connection.Open(path_);
  const struct {
    const char* sql;
    QVariantList params;
  } statements[] = {
      {"select count(*) from tbllog", {}},
      {"create index callsign on tbllog (calls)", {}},
      {"update tbllog set rstr = ? where calls = ?", {"59", "NOBODY"}},
  };
  for (const auto& statement : statements) {
    SCOPED_TRACE(statement.sql);
    EXPECT_EQ(connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"}), 1);
    EXPECT_EQ(connection.Execute(QString::fromUtf8(statement.sql), statement.params), 0);
  }
}

TEST_F(DatabaseTest, TextComparisonsIgnoreCase) {
  Connection connection;
  connection.Open(path_);
  connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"});
  connection.Execute(InsertRow, {"K2XY", "FN20", "144 M"});
  EXPECT_EQ(Column(connection, QStringLiteral("select calls from tbllog where calls=?"), {"w1aw"}),
            QStringList{QStringLiteral("W1AW")});
  EXPECT_EQ(connection.Execute(QStringLiteral("delete from tbllog where uband = ? and gridr = ?"), {"144 m", "fn20"}), 1);
}

TEST_F(DatabaseTest, JetDeleteAllSpellingIsAccepted) {
  Connection connection;
  connection.Open(path_);
  for (const QString& statement : {QStringLiteral("delete * from tbllog"), QStringLiteral("  DELETE  *  FROM tbllog")}) {
    connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"});
    connection.Execute(InsertRow, {"K2XY", "FN20", "50 M"});
    EXPECT_EQ(connection.Execute(statement), 2) << statement.toStdString();
    EXPECT_EQ(RowCount(), 0);
  }
}

TEST_F(DatabaseTest, MalformedStatementsFailWithoutTouchingTheTable) {
  Connection connection;
  connection.Open(path_);
  connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"});
  EXPECT_THROW(connection.Execute(QStringLiteral("delete from tbllog; drop table tbllog")), RuntimeError);
  EXPECT_THROW(connection.Execute(InsertRow, {"K2XY"}), RuntimeError);
  EXPECT_THROW(connection.Execute(QStringLiteral("insert into nosuchtable values (1)")), RuntimeError);
  EXPECT_EQ(RowCount(), 1);
}

TEST_F(DatabaseTest, ReadOnlyFileRefusesWritesEvenForRoot) {
  // As root, permission bits do not stop a write; a file with no write bit at all is therefore
  // opened read-only by the connection itself.
  ASSERT_TRUE(QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  Connection connection;
  connection.Open(path_);
  EXPECT_EQ(Column(connection, QStringLiteral("select count(*) from tbllog")), QStringList{QStringLiteral("0")});
  EXPECT_THROW(connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"}), RuntimeError);
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(DatabaseTest, ALockHeldByAnotherPcIsWaitedForThenFails) {
  Connection connection;
  connection.Open(path_);
  sqlite3* otherPc = OpenRaw();
  ASSERT_EQ(sqlite3_exec(otherPc, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);

  connection.SetBusyTimeout(100);
  EXPECT_THROW(connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"}), RuntimeError);

  // With the default timeout, a lock released within it only delays the statement.
  connection.SetBusyTimeout(5000);
  std::thread release([otherPc] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sqlite3_exec(otherPc, "commit", nullptr, nullptr, nullptr);
  });
  EXPECT_NO_THROW(connection.Execute(InsertRow, {"K2XY", "FN20", "50 M"}));
  release.join();
  sqlite3_close(otherPc);
  EXPECT_EQ(Column(connection, QStringLiteral("select calls from tbllog")), QStringList{QStringLiteral("K2XY")});
}

TEST_F(DatabaseTest, TwoConnectionsOnOneFileSeeEachOthersRows) {
  Connection first, second;
  first.Open(path_);
  second.Open(path_);
  first.Execute(InsertRow, {"W1AW", "FN31", "50 M"});
  EXPECT_EQ(Column(second, QStringLiteral("select calls from tbllog")), QStringList{QStringLiteral("W1AW")});
  second.Execute(InsertRow, {"K2XY", "FN20", "50 M"});
  EXPECT_EQ(Column(first, QStringLiteral("select calls from tbllog order by calls")),
            QStringList({QStringLiteral("K2XY"), QStringLiteral("W1AW")}));
}

TEST_F(DatabaseTest, FileThatVanishedSinceOpeningRefusesWrites) {
  Connection connection;
  connection.Open(path_);
  ASSERT_TRUE(QFile::rename(path_, path_ + QStringLiteral(".moved")));
  EXPECT_THROW(connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"}), RuntimeError);
}

TEST_F(DatabaseTest, ClosedConnectionRefusesStatements) {
  Connection connection;
  connection.Open(path_);
  connection.Close();
  EXPECT_FALSE(connection.IsOpen());
  EXPECT_THROW(connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"}), RuntimeError);
  Recordset rows;
  EXPECT_THROW(rows.Open(QStringLiteral("select * from tbllog"), connection), RuntimeError);
}

TEST_F(DatabaseTest, RecordsetWalksForwardAndBackToTheFirstRow) {
  Connection connection;
  connection.Open(path_);
  connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"});
  connection.Execute(InsertRow, {"K2XY", "FN20", "50 M"});

  Recordset rows;
  rows.Open(QStringLiteral("select calls from tbllog order by calls"), connection);
  EXPECT_TRUE(rows.IsOpen());
  rows.MoveNext();
  EXPECT_EQ(rows.Fields(0), QStringLiteral("W1AW"));
  EXPECT_THROW(rows.Fields(1), RuntimeError);
  EXPECT_THROW(rows.Fields(QStringLiteral("gridr")), RuntimeError);
  rows.MoveNext();
  EXPECT_TRUE(rows.Eof());
  EXPECT_THROW(rows.Fields(0), RuntimeError);
  EXPECT_THROW(rows.MoveNext(), RuntimeError);
  rows.MoveFirst();
  EXPECT_EQ(rows.Fields(QStringLiteral("calls")), QStringLiteral("K2XY"));
  rows.Close();
  EXPECT_FALSE(rows.IsOpen());
  EXPECT_THROW(rows.Fields(0), RuntimeError);
}

TEST_F(DatabaseTest, OpeningARecordsetThatIsBeingWalkedFailsAndKeepsItsRows) {
  Connection connection;
  connection.Open(path_);
  connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"});

  Recordset rows;
  rows.Open(QStringLiteral("select calls from tbllog"), connection);
  try {
    rows.Open(QStringLiteral("select gridr from tbllog"), connection);
    ADD_FAILURE() << "a second open of a walked record set succeeded";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 3705);
  }
  EXPECT_EQ(rows.Fields(0), QStringLiteral("W1AW"));
  rows.Close();
  rows.Open(QStringLiteral("select gridr from tbllog"), connection);
  EXPECT_EQ(rows.Fields(0), QStringLiteral("FN31"));
}

// ---- Statements kept between runs

// Files of the process's open descriptors.
QStringList OpenFiles() {
  QStringList files;
  for (const QFileInfo& descriptor : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System)) {
    files << descriptor.symLinkTarget();
  }
  return files;
}

TEST_F(DatabaseTest, StatementsRunBeforeAReopeningRunOnTheFileOpenedNext) {
  const QString other = dir_.filePath(QStringLiteral("Other.MDB"));
  platform::CreateLogDatabase(other);
  const QString count = QStringLiteral("select count(*) from tbllog where calls = ?");
  Connection connection;
  connection.Open(path_);
  connection.Execute(InsertRow, {"W1AW", "FN31", "50 M"});
  EXPECT_EQ(Column(connection, count, {"W1AW"}), QStringList{"1"});

  connection.Open(other);
  EXPECT_EQ(Column(connection, count, {"W1AW"}), QStringList{"0"});
  connection.Execute(InsertRow, {"K2XY", "FN20", "50 M"});
  EXPECT_EQ(Column(connection, count, {"K2XY"}), QStringList{"1"});
  EXPECT_EQ(RowCount(), 1) << "the first file has only its own row";

  connection.Close();
  const QStringList open = OpenFiles();
  EXPECT_FALSE(open.contains(QFileInfo(path_).canonicalFilePath()) || open.contains(QFileInfo(other).canonicalFilePath()))
      << "a closed connection leaves no file open: " << open.join(' ').toStdString();
}

TEST_F(DatabaseTest, AStatementThatFailedRunsAgainWithNewValues) {
  Connection connection;
  connection.Open(path_);
  const qint64 overflowing = std::numeric_limits<qint64>::min();  // abs() of it fails as the statement runs
  const struct {
    const char* what;
    std::function<QString(qint64)> run;
  } cases[] = {
      {"query", [&](qint64 value) { return Column(connection, QStringLiteral("select abs(?)"), {value}).join(','); }},
      {"statement",
       [&](qint64 value) {
         connection.Execute(QStringLiteral("insert into tbllog (calls) values (abs(?))"), {value});
         return Column(connection, QStringLiteral("select calls from tbllog")).join(',');
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THROW(c.run(overflowing), RuntimeError);
    EXPECT_EQ(c.run(-5), QStringLiteral("5"));
  }
}

// ---- Consistent copy

class CopyLogDatabaseTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    savedMask_ = ::umask(022);
    Connection connection;
    connection.Open(path_);
    for (const char* call : {"W1AW", "K2XY", "N3ZZ"}) connection.Execute(InsertRow, {call, "FN31", "50 M"});
  }
  void TearDown() override { ::umask(savedMask_); }

  QStringList CallsIn(const QString& path) {
    Connection copy;
    copy.Open(path);  // refuses anything but a whole log database
    return Column(copy, QStringLiteral("select calls from tbllog order by rowid"));
  }
  QStringList FilesInFolder() { return QDir(dir_.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }
  static int Mode(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
  }

  QString copy_ = dir_.filePath(QStringLiteral("W1AW2024-03-02.mdb"));
  mode_t savedMask_ = 0;
};

TEST_F(CopyLogDatabaseTest, TheCopyIsALogWithEveryRowMadeAsAnyNewFileIs) {
  Connection program;  // another PC still has the log open
  program.Open(path_);

  platform::CopyLogDatabase(path_, copy_);

  EXPECT_EQ(CallsIn(copy_), QStringList({"W1AW", "K2XY", "N3ZZ"}));
  EXPECT_EQ(Mode(copy_), 0644);
  EXPECT_EQ(FilesInFolder(), QStringList({"Corvane.MDB", "W1AW2024-03-02.mdb"}));
  program.Execute(InsertRow, {"AA1A", "FN20", "50 M"});
  EXPECT_EQ(CallsIn(copy_).size(), 3) << "the copy is a file of its own";
}

TEST_F(CopyLogDatabaseTest, AnOlderArchiveIsReplacedAndKeepsItsPermissions) {
  QFile old(copy_);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("an archive of another contest");
  old.close();
  ASSERT_TRUE(QFile::setPermissions(copy_, QFile::ReadOwner | QFile::WriteOwner));

  platform::CopyLogDatabase(path_, copy_);

  EXPECT_EQ(CallsIn(copy_), QStringList({"W1AW", "K2XY", "N3ZZ"}));
  EXPECT_EQ(Mode(copy_), 0600);
}

TEST_F(CopyLogDatabaseTest, ACopyThatCannotBeMadeLeavesEveryFileAsItWas) {
  const QByteArray oldArchive = "an archive of another contest";
  QFile old(copy_);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write(oldArchive);
  old.close();
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("BACKUP")));
  ASSERT_TRUE(QFile::link(path_, dir_.filePath(QStringLiteral("link.mdb"))));
  const QByteArray log = FileContents(path_);
  const QStringList files = FilesInFolder();
  const struct {
    const char* name;
    QString destination;
    int number;  // 0: any
  } cases[] = {
      {"a folder that does not exist", dir_.filePath(QStringLiteral("missing/W1AW.mdb")), 76},
      {"a folder in the file's place", dir_.filePath(QStringLiteral("BACKUP")), 0},
      {"the log itself", path_, 0},
      {"the log itself under another name", dir_.filePath(QStringLiteral("link.mdb")), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      platform::CopyLogDatabase(path_, c.destination);
      ADD_FAILURE() << "the copy was made";
    } catch (const RuntimeError& error) {
      if (c.number != 0) {
        EXPECT_EQ(error.Number(), c.number);
      }
      EXPECT_FALSE(error.Description().isEmpty());
    }
    EXPECT_EQ(FilesInFolder(), files);
    EXPECT_EQ(FileContents(path_), log);
    EXPECT_EQ(FileContents(copy_), oldArchive);
  }

  DamagePages(path_, 2, 1);
  EXPECT_THROW(platform::CopyLogDatabase(path_, copy_), RuntimeError) << "a damaged log is refused";
  EXPECT_EQ(FileContents(copy_), oldArchive);
  EXPECT_EQ(FilesInFolder(), files);
}

}  // namespace
