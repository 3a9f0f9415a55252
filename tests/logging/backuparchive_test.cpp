// The two copies of the log that leave the program: the backup file written every 16th refresh
// tick, and the archive copy of the log database made from the File menu.

#include "app/form1.h"
#include "app/globals.h"
#include "logdatabasefixture.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"

#include "anotherpc.h"
#include "damagedfiles.h"
#include "formtesting.h"
#include "fulldisk.h"
#include "mainwindowonfreshlog.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace {

using logging::LogCount;

QStringList Contact(const QString& call, const QString& time = QStringLiteral("12:00:00")) {
  return {call, "59", "FN20", "57", "FN31", "2024/03/02", time, "144 M", "PH"};
}

// The main window of a fixed station W1AB/P in FN31 on 144 M phone, on a shared log, at 20:30
// local time on 2 March 2024, five hours behind UTC.
class LogCopiesTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    SetFixedStationInFN31OnTwoMetrePhone();
    app::ContestType = 1;
    app::OwnCall = QStringLiteral("W1AB/P");
    app::LogFilePath = path_;
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("program")));
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("Corvane/BACKUP")));
    app::ProgramDir = dir_.filePath(QStringLiteral("program"));
    app::DataFolder = dir_.filePath(QStringLiteral("Corvane"));
    ShowActive(form);
    form.txtCall.SetFocus();
  }

  void TypeAndLog(const QString& call) {
    QTest::keyClicks(form.txtCall.Widget(), call);
    QTest::keyClicks(form.txtRSTR.Widget(), "59");
    QTest::keyClicks(form.txtSec.Widget(), "FN20");
    QTest::keyClicks(form.txtRSTS.Widget(), "57");
    QTest::keyClick(form.txtRSTS.Widget(), Qt::Key_Return);
  }
  void Ticks(int count) {
    for (int tick = 0; tick < count; ++tick) form.Timer3.Tick();
  }
  QStringList CallsInMemory() const {
    QStringList calls;
    for (std::int32_t slot = 1; slot <= LogCount; ++slot) calls << logging::LogCalls[slot];
    return calls;
  }

  QString BackupPath() const { return dir_.filePath(QStringLiteral("program/BckUpLog.dat")); }
  QString ArchivePath() const { return dir_.filePath(QStringLiteral("Corvane/BACKUP/W1AB2024-03-02.mdb")); }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

// ---- Backup file

TEST_F(LogCopiesTest, TheBackupHoldsEveryContactOfTheLogHeldOneLineOfNineQuotedValuesEach) {
  InsertFromAnotherPc(path_, Contact("K2XY", "12:01:00"));
  InsertFromAnotherPc(path_, {"K1AB", "55", "FN42", "59", "FN31", "2024/03/02", "11:59", "1.3 G", "CW"});
  form.WorkList();
  TypeAndLog("W1AW");
  ASSERT_EQ(LogCount, 3);

  Ticks(16);

  EXPECT_EQ(FileContents(BackupPath()),
            "\"K1AB\",\"55\",\"FN42\",\"59\",\"FN31\",\"2024/03/02\",\"11:59\",\"1.3 G\",\"CW\"\r\n"
            "\"K2XY\",\"59\",\"FN20\",\"57\",\"FN31\",\"2024/03/02\",\"12:01:00\",\"144 M\",\"PH\"\r\n"
            "\"W1AW\",\"59\",\"FN20\",\"57\",\"FN31\",\"2024/03/03\",\"01:30:00\",\"144 M\",\"PH\"\r\n");

  ExecuteFromAnotherPc(path_, "delete from tbllog");
  Ticks(16);
  EXPECT_EQ(LogCount, 0);
  EXPECT_TRUE(QFile::exists(BackupPath()));
  EXPECT_EQ(FileContents(BackupPath()), "") << "an empty log gives an empty file";
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(LogCopiesTest, ABackupThatFailsPartWayLeavesTheLastBackupWholeAndIsSaidOnceASession) {
  InsertFromAnotherPc(path_, Contact("K2XY"));
  form.WorkList();
  form.BackupLog();
  const QByteArray lastBackup = FileContents(BackupPath());
  ASSERT_FALSE(lastBackup.isEmpty());
  FillLog(path_, 14000);
  form.WorkList();
  ASSERT_EQ(LogCount, 14001);

  {
    const FullDisk diskFull(64 * 1024);  // the full log takes about 900 KB
    Ticks(16 * 3);                       // three backups
  }

  EXPECT_EQ(FileContents(BackupPath()), lastBackup);
  EXPECT_EQ(QDir(app::ProgramDir).entryList(QDir::Files), QStringList{"BckUpLog.dat"}) << "nothing left beside it";
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u) << "said once, not at every backup";
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt,
            "The backup file could not be written: No space left on device  " + BackupPath());
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Error Backing Up Log");
  EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::OKOnly);
  form.BackupLog();
  EXPECT_EQ(FileContents(BackupPath()).count("\r\n"), 14001);
  EXPECT_EQ(dialogs.MessageBoxes().size(), 1u);
}

// ---- Archive copy

const QString ArchiveInformation = QStringLiteral(
    "This function is designed to create a permanent copy of your currently open log file following the contest.  "
    "It can only be run if this is the only PC connected to the log file.  If others are also connected, you will "
    "receive a 'Permission Denied' error.\r\n\r\n"
    "This program also creates a backup of your log file automatically every 15 minutes during the contest.\r\n\r\n"
    "To open your log file at a later date, click File > Combine or Restore from Backup.");

class ArchiveTest : public LogCopiesTest {
 protected:
  void Archive() { form.mnuArchive.Action()->trigger(); }

  // What the operator sees of logging afterwards: the next contact is stored and the poll
  // brings other PCs' contacts.
  void ExpectLoggingWorks(const QString& nextCall) {
    EXPECT_TRUE(logging::LogConnection.IsOpen());
    EXPECT_TRUE(form.Timer3.Enabled());
    EXPECT_EQ(platform::CurDir(), platform::NativePath(app::ProgramDir));
    const qsizetype rowsBefore = RowsOnFile(path_).size();
    TypeAndLog(nextCall);
    EXPECT_EQ(RowsOnFile(path_).size(), rowsBefore + 1);
    InsertFromAnotherPc(path_, Contact("K9EL", "23:00:00"));
    form.Timer3.Tick();
    EXPECT_TRUE(CallsInMemory().contains("K9EL"));
  }
};

TEST_F(ArchiveTest, ExplainsItselfThenOffersTheCallsStemAndTodaysDateInTheBackupFolder) {
  dialogs.CancelFileDialog();
  Archive();

  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u) << "Cancel shows nothing more";
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, ArchiveInformation);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Archive Information");
  EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::OKOnly);
  ASSERT_EQ(dialogs.CommonDialogs().size(), 1u);
  const platform::CommonDialogShown& save = dialogs.CommonDialogs()[0];
  EXPECT_EQ(save.kind, platform::CommonDialogKind::Save);
  EXPECT_EQ(save.fileName, app::DataFolder + "\\BACKUP\\W1AB2024-03-02.mdb");
  EXPECT_EQ(save.initDir, app::DataFolder + "\\BACKUP");
  EXPECT_EQ(save.filter, "Log Files (*.mdb) | *.mdb");
  EXPECT_EQ(save.filterIndex, 1);
  EXPECT_EQ(save.flags, platform::CommonDialogFlags::OverwritePrompt);
  EXPECT_TRUE(QDir(app::DataFolder + "/BACKUP").isEmpty());
}

// Another PC logging as fast as any station ever could, on a connection and a thread of its own:
// contacts T1, T2, ... a few milliseconds apart. The pause lets readers in: a writer that never
// lets go of the file starves every other PC's reads, whatever they are.
class BusyWriter {
 public:
  explicit BusyWriter(const QString& path) : thread_([this, name = QFile::encodeName(path)] { Run(name); }) {}
  ~BusyWriter() { Stop(); }
  BusyWriter(const BusyWriter&) = delete;
  BusyWriter& operator=(const BusyWriter&) = delete;

  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  int Stored() const { return stored_; }
  bool Failed() const { return failed_; }
  // Waits, with a bound, until the writer has stored more than count contacts.
  bool WaitBeyond(int count) const {
    const QDeadlineTimer deadline(std::chrono::minutes(1));
    while (stored_ <= count && !failed_ && !deadline.hasExpired()) std::this_thread::yield();
    return stored_ > count;
  }

 private:
  void Run(const QByteArray& name) {
    sqlite3* db = nullptr;
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
      sqlite3_busy_timeout(db, 30000);
      sqlite3_prepare_v2(db, "insert into tbllog values (?, '59', 'FN20', '57', 'FN31', '2024/03/02', '12:00:00', "
                             "'144 M', 'PH')", -1, &insert, nullptr);
    }
    for (int n = 1; insert != nullptr && !stop_; ++n) {
      const QByteArray call = "T" + QByteArray::number(n);
      const bool stored = sqlite3_bind_text(insert, 1, call.constData(), int(call.size()), SQLITE_TRANSIENT) ==
                              SQLITE_OK &&
                          sqlite3_step(insert) == SQLITE_DONE;
      sqlite3_reset(insert);
      if (!stored) break;
      ++stored_;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    failed_ = !stop_;
    sqlite3_finalize(insert);
    sqlite3_close_v2(db);
  }

  std::atomic<bool> stop_{false};
  std::atomic<bool> failed_{false};
  std::atomic<int> stored_{0};
  std::thread thread_;  // last: it starts once the values it uses exist
};

TEST_F(ArchiveTest, TheCopyIsTheWholeLogAsItStoodAtOneMomentWhileAnotherPcWrites) {
  FillLog(path_, 14000);
  form.WorkList();
  BusyWriter otherPc(path_);
  ASSERT_TRUE(otherPc.WaitBeyond(20));
  const int storedBefore = otherPc.Stored();
  dialogs.ChooseFile(ArchivePath());

  Archive();

  const int storedAfter = otherPc.Stored();
  EXPECT_TRUE(otherPc.WaitBeyond(storedAfter)) << "the other PC logs on after the archive";
  otherPc.Stop();
  EXPECT_FALSE(otherPc.Failed());
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u) << dialogs.MessageBoxes().back().prompt.toStdString();

  platform::Connection copy;
  ASSERT_NO_THROW(copy.Open(ArchivePath()));
  platform::Recordset rows;
  rows.Open(QStringLiteral("pragma integrity_check"), copy);
  EXPECT_EQ(rows.Fields(0), "ok");
  rows.Close();
  rows.Open(QStringLiteral("select count(*) from tbllog where calls like 'K%'"), copy);
  EXPECT_EQ(rows.Fields(0), "14000");
  rows.Close();
  // The other PC's contacts are T1 to Tn without a gap: a copy of one moment.
  rows.Open(QStringLiteral("select count(*), min(cast(substr(calls, 2) as integer)), "
                           "max(cast(substr(calls, 2) as integer)) from tbllog where calls like 'T%'"),
            copy);
  const int copied = rows.Fields(0).toInt();
  EXPECT_GE(copied, storedBefore);
  EXPECT_LE(copied, storedAfter);
  EXPECT_EQ(rows.Fields(1), "1");
  EXPECT_EQ(rows.Fields(2).toInt(), copied);
  rows.Close();
  ExpectLoggingWorks("W1AW");
}

TEST_F(ArchiveTest, CancelOrACopyThatFailsLeavesLoggingWorking) {
  const struct {
    const char* name;
    std::function<void()> answer;
    bool reported;
    const char* nextCall;
  } cases[] = {
      {"Cancel", [&] { dialogs.CancelFileDialog(); }, false, "W1AW"},
      {"a folder that does not exist", [&] { dialogs.ChooseFile(dir_.filePath(QStringLiteral("gone/W1AB.mdb"))); },
       true, "W2AW"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t shownBefore = dialogs.MessageBoxes().size();
    c.answer();

    Archive();

    ASSERT_EQ(dialogs.MessageBoxes().size(), shownBefore + (c.reported ? 2 : 1));
    if (c.reported) {
      EXPECT_EQ(dialogs.MessageBoxes().back().prompt, "Path not found");
      EXPECT_EQ(dialogs.MessageBoxes().back().title, "Error Archiving Log");
      EXPECT_EQ(dialogs.MessageBoxes().back().style, platform::MsgBoxStyle::OKOnly);
    }
    ExpectLoggingWorks(c.nextCall);
  }
}

TEST_F(ArchiveTest, ALogThatCannotBeOpenedAgainIsReportedAndThePollRunsOnToReportIt) {
  ASSERT_TRUE(QFile::rename(path_, path_ + ".moved"));  // the PC holding the log went away
  dialogs.CancelFileDialog();

  Archive();

  ASSERT_EQ(dialogs.MessageBoxes().size(), 2u);
  EXPECT_EQ(dialogs.MessageBoxes()[1].title, "Error Archiving Log");
  EXPECT_TRUE(dialogs.MessageBoxes()[1].prompt.contains("does not exist"));
  EXPECT_FALSE(logging::LogConnection.IsOpen());
  EXPECT_TRUE(form.Timer3.Enabled());
  form.Timer3.Tick();
  ASSERT_EQ(dialogs.MessageBoxes().size(), 3u);
  EXPECT_EQ(dialogs.MessageBoxes()[2].prompt, "Error opening file.");
}

}  // namespace
