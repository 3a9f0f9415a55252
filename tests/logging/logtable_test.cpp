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

TEST_F(LogTableTest, DeleteRemovesOneRowHoldingExactlyTheNineValues) {
  const LogContact picked = Contact("W1AW", "50 M", "2024/03/03", "01:30:00");
  InsertContact(picked);
  InsertContact(picked);                                              // stored twice
  InsertContact({"W1AW", "59", "FN32", "57", "FN20", "2024/03/03", "01:30:00", "50 M", "PH"});  // another grid
  InsertContact({"W1AW", "59", "FN31", "57", "FN20", "2024/03/03", "01:30:00", "50 M", "CW"});  // another mode
  InsertContact({"w1aw", "59", "FN31", "57", "FN20", "2024/03/03", "01:30:00", "50 M", "PH"});  // another case

  EXPECT_EQ(DeleteContact(picked), 1);
  EXPECT_FALSE(LogRecordset.IsOpen());
  const QList<QStringList> rows = RowsOnFile(path_);
  ASSERT_EQ(rows.size(), 4);
  EXPECT_EQ(rows.count(QStringList({"W1AW", "59", "FN31", "57", "FN20", "2024/03/03", "01:30:00", "50 M", "PH"})), 1);
  EXPECT_EQ(rows.count(QStringList({"w1aw", "59", "FN31", "57", "FN20", "2024/03/03", "01:30:00", "50 M", "PH"})), 1);

  EXPECT_EQ(DeleteContact(picked), 1);
  EXPECT_EQ(DeleteContact(picked), 0) << "nothing left to match";
  EXPECT_EQ(RowsOnFile(path_).size(), 3);
}

TEST_F(LogTableTest, DeleteMatchesAValueAnotherPcLeftMissingAsEmpty) {
  ExecuteFromAnotherPc(path_, "insert into tbllog (calls, flddate, fldtime, uband) values ('K2XY', '2024/03/03', "
                              "'01:29:00', '144 M')");
  LoadContactsFromTable();
  ASSERT_EQ(LogCount, 1);
  EXPECT_EQ(DeleteContact({LogCalls[1], LogRstRcvd[1], LogGridRcvd[1], LogRstSent[1], LogGridSent[1], LogDate[1],
                           LogTime[1], LogBand[1], LogMode[1]}),
            1);
  EXPECT_TRUE(RowsOnFile(path_).isEmpty());
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
  EXPECT_THROW(DeleteContact(Contact("W1AW", "50 M", "2024/03/03", "01:30:00")), RuntimeError);
  EXPECT_THROW(UpdateContact(Contact("W1AW", "50 M", "2024/03/03", "01:30:00"),
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
