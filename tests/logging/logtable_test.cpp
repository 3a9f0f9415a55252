#include "logging/logtable.h"

#include "anotherpc.h"
#include "logdatabasefixture.h"
#include "platform/errors.h"

#include "damagedfiles.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using namespace logging;
using platform::RuntimeError;

LogContact Contact(const QString& call, const QString& band, const QString& date, const QString& time) {
  return {call, "59", "FN31", "57", "FN20", date, time, band, "PH"};
}

using LogTableTest = LogDatabaseTest;

TEST_F(LogTableTest, InsertStoresTheNineValuesInColumnOrderAsTyped) {
  InsertContact({"O'BRIEN", "59", "FN'31", "57", "FN20", "2024/03/03", "01:30:00", "50 M", "PH"});
  const QStringList stored = {"O'BRIEN", "59", "FN'31", "57", "FN20", "2024/03/03", "01:30:00", "50 M", "PH"};
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>{stored});
  EXPECT_FALSE(LogRecordset.IsOpen());
}

TEST_F(LogTableTest, SelectByCallIgnoresCase) {
  InsertContact(Contact("W1AW", "50 M", "2024/03/03", "01:30:00"));
  InsertContact(Contact("K2XY", "50 M", "2024/03/03", "01:31:00"));
  InsertContact(Contact("w1aw", "144 M", "2024/03/03", "01:32:00"));
  OpenContactsOfCall("W1aw");
  QStringList bands;
  for (; !LogRecordset.Eof(); LogRecordset.MoveNext()) bands << LogRecordset.Fields(QStringLiteral("uband"));
  EXPECT_EQ(bands, QStringList({"50 M", "144 M"}));
}

TEST_F(LogTableTest, ReloadPutsContactsInDateThenTimeOrder) {
  // A late contact typed after the contest carries "hh:mm" and sorts before the same minute's seconds.
  const QStringList stamps = {"2024/03/02 12:05:00", "2024/03/03 00:00:00", "2024/03/02 12:05",
                              "2024/03/01 23:59:59", "2024/03/02 12:04:59"};
  for (const QString& stamp : stamps) {
    InsertContact(Contact("W1AW", "50 M", stamp.section(' ', 0, 0), stamp.section(' ', 1)));
  }
  LoadContactsFromTable();

  ASSERT_EQ(LogCount, 5);
  QStringList order;
  for (std::int32_t slot = 1; slot <= LogCount; ++slot) order << LogDate[slot] + ' ' + LogTime[slot];
  EXPECT_EQ(order, QStringList({"2024/03/01 23:59:59", "2024/03/02 12:04:59", "2024/03/02 12:05",
                                "2024/03/02 12:05:00", "2024/03/03 00:00:00"}));
  EXPECT_EQ(QStringList({LogCalls[1], LogRstRcvd[1], LogGridRcvd[1], LogRstSent[1], LogGridSent[1], LogBand[1],
                         LogMode[1]}),
            QStringList({"W1AW", "59", "FN31", "57", "FN20", "50 M", "PH"}));
  EXPECT_EQ(LogRowCount, 5);
  EXPECT_FALSE(LogRecordset.IsOpen());
}

TEST_F(LogTableTest, NewLogEmptiesTheTableAndTheReloadKeepsTheLastRowCount) {
  InsertContact(Contact("W1AW", "50 M", "2024/03/03", "01:30:00"));
  InsertContact(Contact("K2XY", "50 M", "2024/03/03", "01:31:00"));
  LoadContactsFromTable();
  DeleteAllContacts();
  EXPECT_EQ(CountLogRows(), 0);

  LoadContactsFromTable();
  EXPECT_EQ(LogCount, 0);
  EXPECT_EQ(LogRowCount, 2) << "an empty table leaves the row count for the next poll to notice";
}

// The list shows a contact of the log held; its delete takes the row it was read from, and only
// while that row still holds what was read.
TEST_F(LogTableTest, DeleteTakesTheContactsOwnRowOnlyWhileItHoldsTheValuesRead) {
  const LogContact picked = Contact("W1AW", "50 M", "2024/03/03", "01:30:00");
  InsertContact(picked);
  InsertContact(picked);                                              // stored twice
  InsertContact({"w1aw", "59", "FN31", "57", "FN20", "2024/03/03", "01:31:00", "50 M", "PH"});
  LoadContactsFromTable();
  ASSERT_EQ(LogCount, 3);
  const LogContact first = ContactInSlot(1);
  ASSERT_EQ(first.Call, "W1AW");

  EXPECT_EQ(DeleteContact(first), 1);
  EXPECT_FALSE(LogRecordset.IsOpen());
  EXPECT_EQ(RowsOnFile(path_),
            QList<QStringList>({{"W1AW", "59", "FN31", "57", "FN20", "2024/03/03", "01:30:00", "50 M", "PH"},
                                {"w1aw", "59", "FN31", "57", "FN20", "2024/03/03", "01:31:00", "50 M", "PH"}}));
  EXPECT_EQ(DeleteContact(first), 0) << "its row is gone; the copy is another contact";

  // Another PC deletes the last row and stores a contact of its own, which takes the freed row id.
  const LogContact last = ContactInSlot(3);
  ASSERT_EQ(last.Call, "w1aw");
  ExecuteFromAnotherPc(path_, "delete from tbllog where fldtime = '01:31:00'");
  ExecuteFromAnotherPc(path_, "insert into tbllog (calls, uband) values ('K2XY', '144 M')");
  EXPECT_EQ(DeleteContact(last), 0);
  EXPECT_EQ(UpdateContact(last, picked), 0);
  EXPECT_EQ(RowsOnFile(path_).size(), 2);
}

TEST_F(LogTableTest, DeleteMatchesAValueAnotherPcLeftMissingAsEmpty) {
  ExecuteFromAnotherPc(path_, "insert into tbllog (calls, flddate, fldtime, uband) values ('K2XY', '2024/03/03', "
                              "'01:29:00', '144 M')");
  LoadContactsFromTable();
  ASSERT_EQ(LogCount, 1);
  EXPECT_EQ(DeleteContact(ContactInSlot(1)), 1);
  EXPECT_TRUE(RowsOnFile(path_).isEmpty());
}

// Another program stored bytes that are not UTF-8 (a Latin-1 name): the log held reads them as
// U+FFFD, and what the list shows can still be edited and deleted.
TEST_F(LogTableTest, ARowInBytesThatAreNotUtf8IsEditedAndDeletedAsRead) {
  ExecuteFromAnotherPc(path_, "insert into tbllog values (cast(X'4DFC4C4C4552' as text), '59', 'FN31', '57', "
                              "cast(X'464E3230E9' as text), '2024/03/03', '01:30:00', '50 M', 'PH')");
  LoadContactsFromTable();
  ASSERT_EQ(LogCount, 1);
  const LogContact read = ContactInSlot(1);
  ASSERT_EQ(read.Call, QString::fromUtf8("M\uFFFDLLER"));

  LogContact edited = read;
  edited.RstRcvd = "55";
  EXPECT_EQ(UpdateContact(read, edited), 1);
  LoadContactsFromTable();
  EXPECT_EQ(ContactInSlot(1).RstRcvd, "55");

  EXPECT_EQ(DeleteContact(ContactInSlot(1)), 1);
  EXPECT_TRUE(RowsOnFile(path_).isEmpty());
}

// Another program's table may order its columns otherwise and hold more of them.
TEST_F(LogTableTest, TheReloadReadsTheColumnsByName) {
  LogConnection.Close();
  const QString other = dir_.filePath(QStringLiteral("other.MDB"));
  QFile(other).open(QIODevice::WriteOnly);
  ExecuteFromAnotherPc(other, "create table tbllog (id integer primary key, umode text, uband text, fldtime text, "
                              "flddate text, grids text, rsts text, gridr text, rstr text, calls text, notes text)");
  ExecuteFromAnotherPc(other, "insert into tbllog values (7, 'CW', '432 M', '01:30:00', '2024/03/03', 'FN20', '57', "
                              "'FN31', '59', 'W1AW', 'a note')");
  OpenLogDatabase(other);
  LoadContactsFromTable();
  ASSERT_EQ(LogCount, 1);
  const LogContact read = ContactInSlot(1);
  EXPECT_EQ(QStringList({read.Call, read.RstRcvd, read.GridRcvd, read.RstSent, read.GridSent, read.Date, read.Time,
                         read.Band, read.Mode}),
            QStringList({"W1AW", "59", "FN31", "57", "FN20", "2024/03/03", "01:30:00", "432 M", "CW"}));
  EXPECT_EQ(DeleteContact(read), 1);
}

TEST_F(LogTableTest, RowsOfAnotherPcAreCountedAndReloaded) {
  platform::Connection otherPc;
  otherPc.Open(path_);
  InsertContact(Contact("W1AW", "50 M", "2024/03/03", "01:30:00"));
  otherPc.Execute(QStringLiteral("insert into tbllog (calls, flddate, fldtime, uband) values (?, ?, ?, ?)"),
                  {"K2XY", "2024/03/03", "01:29:00", "144 M"});

  EXPECT_EQ(CountLogRows(), 2);
  EXPECT_FALSE(LogRecordset.IsOpen());
  LoadContactsFromTable();
  ASSERT_EQ(LogCount, 2);
  EXPECT_EQ(LogCalls[1], QStringLiteral("K2XY"));
  EXPECT_EQ(LogRstRcvd[1], QString()) << "a column the other PC left NULL reads as empty";
}

TEST_F(LogTableTest, FailingStatementsThrowLeaveTheTableAndReleaseTheRecordset) {
  InsertContact(Contact("W1AW", "50 M", "2024/03/03", "01:30:00"));
  LogConnection.Close();
  ASSERT_TRUE(QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  LogConnection.Open(path_);

  EXPECT_THROW(InsertContact(Contact("K2XY", "50 M", "2024/03/03", "01:31:00")), RuntimeError);
  EXPECT_THROW(DeleteAllContacts(), RuntimeError);
  LoadContactsFromTable();
  EXPECT_THROW(DeleteContact(ContactInSlot(1)), RuntimeError);
  EXPECT_THROW(UpdateContact(ContactInSlot(1),
                             Contact("W1AW", "144 M", "2024/03/03", "01:30:00")),
               RuntimeError);
  EXPECT_FALSE(LogRecordset.IsOpen());
  EXPECT_EQ(CountLogRows(), 1);

  LogConnection.Close();
  EXPECT_THROW(LoadContactsFromTable(), RuntimeError);
  EXPECT_THROW(CountLogRows(), RuntimeError);
  EXPECT_FALSE(LogRecordset.IsOpen());
}

TEST_F(LogTableTest, ReloadFromAFileDamagedSinceOpeningSaysSo) {
  InsertContact(Contact("W1AW", "50 M", "2024/03/03", "01:30:00"));
  DamagePages(path_, 2, 1);  // the table's root
  try {
    LoadContactsFromTable();
    ADD_FAILURE() << "reloaded " << LogCount << " contacts";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number() & 0xff, SQLITE_CORRUPT);
    EXPECT_TRUE(error.Description().contains(QStringLiteral("is damaged"))) << error.Description().toStdString();
  }
  EXPECT_FALSE(LogRecordset.IsOpen());
}

}  // namespace
