#include "logging/reload.h"

#include "app/form1.h"
#include "app/globals.h"
#include "keying/globals.h"
#include "logdatabasefixture.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/preferences.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/trace.h"

#include "anotherpc.h"
#include "damagedfiles.h"
#include "formtesting.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include <numeric>
#include <ostream>
#include <string>

namespace {

using logging::LogCount;
using logging::LogRowCount;
using logging::ReloadPending;

const QString ReloadErrorText = QStringLiteral("Error opening file.");

int TotalBandQsos() { return std::accumulate(logging::BandQsoCount.begin(), logging::BandQsoCount.end(), 0); }
int TotalBandGrids() { return std::accumulate(logging::BandGridCount.begin(), logging::BandGridCount.end(), 0); }

// The main window of one PC of the station on a fresh shared log, a fixed station in FN31.
class ReloadTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    app::ProgramDir = dir_.path();
    app::OwnGrid = QStringLiteral("FN31");
    app::Rover = 0;
    app::ContestType = 1;
    ShowActive(form);
  }

  // A contact another PC logs from FN31.
  void LoggedElsewhere(const QString& call, const QString& band, const QString& grid,
                       const QString& time = QStringLiteral("12:00:00")) {
    InsertFromAnotherPc(path_, {call, "59", grid, "57", "FN31", "2024/03/02", time, band, "PH"});
  }
  void DeletedElsewhere() { ExecuteFromAnotherPc(path_, "delete from tbllog"); }

  // Timer3 fires, as it does every refresh interval.
  void Tick() { form.Timer3.Tick(); }
  void TypeCall(const QString& call) { QTest::keyClicks(form.txtCall.Widget(), call); }
  void EraseCall() {
    while (!form.txtCall.Text().isEmpty()) QTest::keyClick(form.txtCall.Widget(), Qt::Key_Backspace);
  }

  int ReloadErrorsShown() const {
    int shown = 0;
    for (const platform::MessageBoxShown& box : dialogs.MessageBoxes()) {
      EXPECT_EQ(box.prompt, ReloadErrorText) << "no other message is expected";
      EXPECT_EQ(box.title, "File or Network Error");
      EXPECT_EQ(box.style, platform::MsgBoxStyle::OKOnly);
      ++shown;
    }
    return shown;
  }

  QString BackupPath() const { return dir_.filePath(QStringLiteral("BckUpLog.dat")); }
  bool BackupWritten() const { return QFile::exists(BackupPath()); }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

TEST_F(ReloadTest, ReloadRebuildsTheLogOldestFirstWithItsTalliesListsAndGridMap) {
  LoggedElsewhere("K1", "50 M", "FN20", "12:05:00");
  LoggedElsewhere("K2", "50 m", "fn20", "12:01:00");  // earlier: the list shows its spelling
  LoggedElsewhere("K3", "144 M", "FN32", "12:03:00");
  LoggedElsewhere("K4", "10 G", "FN42", "12:04:00");
  LoggedElsewhere("K5", "24 G", "FN43", "12:06:00");
  LoggedElsewhere("K6", "6 M", "EM10", "12:07:00");
  form.List3.AddItem("STALE");
  logging::RemainingGridColor = 0x00FF00;
  form.lblGrid[7].SetForeColor(0x0000FF);
  ReloadPending = 1;

  form.WorkList();

  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(ReloadPending, 0);
  ASSERT_EQ(LogCount, 6);
  EXPECT_EQ(LogRowCount, 6.0);
  QStringList calls;
  for (std::int32_t slot = 1; slot <= LogCount; ++slot) calls << logging::LogCalls[slot];
  EXPECT_EQ(calls, QStringList({"K2", "K3", "K4", "K1", "K5", "K6"}));

  EXPECT_EQ(logging::BandQsoCount[0], 2);
  EXPECT_EQ(logging::BandQsoCount[9], 1);
  EXPECT_EQ(logging::BandQsoCount[10], 1);
  EXPECT_EQ(TotalBandQsos(), 5) << "a band outside the 17 counts nowhere";
  EXPECT_EQ(ItemsOf(form.List1), QStringList{"fn20"});
  EXPECT_EQ(ItemsOf(form.List2), QStringList{"FN32"});
  EXPECT_EQ(ItemsOf(form.List3), QStringList{});
  EXPECT_EQ(ItemsOf(form.List10), QStringList{"FN42"});
  EXPECT_EQ(logging::BandGrids[10][1], "FN43") << "24 G is listed, though it has no list box";
  EXPECT_EQ(logging::ActivatedGridCount, 1);
  for (int square : form.lblGrid.Indexes()) {
    ASSERT_EQ(form.lblGrid[square].ForeColor(), 0x00FF00) << "square " << square;
  }
  EXPECT_FALSE(logging::LogRecordset.IsOpen());
}

TEST_F(ReloadTest, AnEmptyTableEmptiesTheLogTalliesAndListsButKeepsTheRowCount) {
  FillLog(path_, 120);
  form.WorkList();
  ASSERT_EQ(LogCount, 120);
  ASSERT_EQ(form.List2.ListCount(), 90);
  DeletedElsewhere();

  form.WorkList();

  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(LogCount, 0);
  EXPECT_EQ(TotalBandQsos(), 0);
  EXPECT_EQ(TotalBandGrids(), 0);
  EXPECT_EQ(logging::ActivatedGridCount, 0);
  for (platform::ListBox* list : form.BandLists()) EXPECT_EQ(list->ListCount(), 0) << list->Name().toStdString();
  EXPECT_EQ(LogRowCount, 120.0) << "the next poll notices the empty table";
}

TEST_F(ReloadTest, RowsDeletedElsewhereAreSeenByTheNextPollWhichReloadsOnce) {
  FillLog(path_, 120);
  form.WorkList();
  DeletedElsewhere();

  Tick();
  EXPECT_EQ(LogRowCount, 0.0);
  EXPECT_EQ(LogCount, 0);
  EXPECT_EQ(form.List2.ListCount(), 0);

  form.List2.AddItem("MARK");  // a reload would clear it
  Tick();
  EXPECT_EQ(ItemsOf(form.List2), QStringList{"MARK"});
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(ReloadTest, RowsAddedElsewhereWaitWhileACallIsTypedAndLoadAtAPollWithAnEmptyCallBox) {
  LoggedElsewhere("K1", "144 M", "FN20");
  form.WorkList();
  TypeCall("W1A");
  LoggedElsewhere("K2", "144 M", "FN21");

  Tick();
  EXPECT_EQ(ReloadPending, 1);
  EXPECT_EQ(LogRowCount, 2.0);
  EXPECT_EQ(LogCount, 1) << "the log under a call being typed stays still";
  Tick();
  EXPECT_EQ(LogCount, 1);
  EXPECT_EQ(ItemsOf(form.List2), QStringList{"FN20"});

  EraseCall();
  Tick();
  EXPECT_EQ(ReloadPending, 0);
  EXPECT_EQ(LogCount, 2);
  EXPECT_EQ(ItemsOf(form.List2), QStringList({"FN20", "FN21"}));
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(ReloadTest, TheOpenMenuReloadsAndLeavesAWaitingReloadPending) {
  LoggedElsewhere("K1", "144 M", "FN20");
  form.WorkList();
  TypeCall("W1A");
  LoggedElsewhere("K2", "144 M", "FN21");
  Tick();
  ASSERT_EQ(ReloadPending, 1);

  form.mnuOpen.Action()->trigger();

  EXPECT_EQ(LogCount, 2);
  EXPECT_EQ(ReloadPending, 1);
}

TEST_F(ReloadTest, NoPollWhileCwIsSent) {
  LoggedElsewhere("K1", "144 M", "FN20");
  form.WorkList();
  LoggedElsewhere("K2", "144 M", "FN21");
  logging::LogConnection.Close();  // any query would now fail and say so
  keying::CWSending = 1;

  Tick();
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(LogRowCount, 1.0);
  EXPECT_EQ(ReloadPending, 0);

  keying::CWSending = 0;
  logging::LogConnection.Open(path_);
  Tick();
  EXPECT_EQ(LogCount, 2);
}

// What takes the table away from a reload.
enum class Loss { DamagedPageMidway, ConnectionLost };

void PrintTo(Loss loss, std::ostream* os) {
  *os << (loss == Loss::DamagedPageMidway ? "damaged page midway" : "connection lost");
}

class FailingReloadTest : public ReloadTest, public ::testing::WithParamInterface<Loss> {
 protected:
  void LoseTable() {
    if (GetParam() == Loss::DamagedPageMidway) {
      saved_ = FileContents(path_);
      DamagePages(path_, 12, 1);
    } else {
      logging::LogConnection.Close();
    }
  }
  void RegainTable() {
    if (GetParam() == Loss::DamagedPageMidway) {
      QFile file(path_);
      ASSERT_TRUE(file.open(QIODevice::ReadWrite));
      ASSERT_EQ(file.write(saved_), saved_.size());
    } else {
      logging::LogConnection.Open(path_);
    }
  }
  QByteArray saved_;
};

TEST_P(FailingReloadTest, KeepsTheLogItsCountsAndListsAndTheNextPollReloads) {
  FillLog(path_, 3000);
  form.WorkList();
  ASSERT_EQ(LogCount, 3000);
  LoggedElsewhere("K9", "50 M", "EM10");
  LoseTable();

  Tick();

  EXPECT_EQ(ReloadErrorsShown(), 1);
  EXPECT_EQ(LogCount, 3000);
  EXPECT_EQ(logging::LogCalls[3000], "K3000");
  EXPECT_EQ(logging::BandQsoCount[1], 3000);
  EXPECT_EQ(logging::BandGridCount[1], 90);
  EXPECT_EQ(logging::BandQsoCount[0], 0);
  EXPECT_EQ(form.List2.ListCount(), 90);
  EXPECT_EQ(logging::ActivatedGridCount, 1);
  EXPECT_FALSE(logging::LogRecordset.IsOpen());

  RegainTable();
  Tick();
  EXPECT_EQ(ReloadErrorsShown(), 1) << "no further message";
  EXPECT_EQ(LogCount, 3001);
  EXPECT_EQ(ItemsOf(form.List1), QStringList{"EM10"});
  EXPECT_EQ(LogRowCount, 3001.0);
}

INSTANTIATE_TEST_SUITE_P(Losses, FailingReloadTest, ::testing::Values(Loss::DamagedPageMidway, Loss::ConnectionLost));

TEST_F(ReloadTest, APollThatCannotCountReloadsAtOnceEvenWhileACallIsTyped) {
  LoggedElsewhere("K1", "144 M", "FN20");
  form.WorkList();
  TypeCall("W1A");
  logging::LogConnection.Close();

  Tick();

  EXPECT_EQ(ReloadErrorsShown(), 1);
  EXPECT_EQ(LogCount, 1);
  EXPECT_EQ(form.txtCall.Text(), "W1A");
}

TEST_F(ReloadTest, TheBackupFollowsEvery16thTick) {
  for (int tick = 1; tick <= 15; ++tick) Tick();
  EXPECT_FALSE(BackupWritten());
  EXPECT_EQ(logging::BackupTickCount, 15);
  Tick();
  EXPECT_TRUE(BackupWritten());
  EXPECT_EQ(logging::BackupTickCount, 0);
  ASSERT_TRUE(QFile::remove(BackupPath()));
  for (int tick = 17; tick <= 31; ++tick) Tick();
  EXPECT_FALSE(BackupWritten());
  EXPECT_EQ(logging::BackupTickCount, 15);
  Tick();
  EXPECT_TRUE(BackupWritten());
  EXPECT_EQ(logging::BackupTickCount, 0);
}

TEST_F(ReloadTest, TheBackupKeepsItsLastGoodCopyWhileTheTableCannotBeRead) {
  LoggedElsewhere("K1", "144 M", "FN20");
  logging::LogConnection.Close();  // as at a start-up whose reload failed: nothing held
  form.WorkList();
  for (int tick = 1; tick <= 16; ++tick) Tick();
  EXPECT_FALSE(BackupWritten()) << "an empty log would replace the last good copy";
  EXPECT_EQ(logging::BackupTickCount, 0);
  EXPECT_EQ(ReloadErrorsShown(), 17);

  logging::LogConnection.Open(path_);
  for (int tick = 1; tick <= 16; ++tick) Tick();
  EXPECT_EQ(FileContents(BackupPath()), "\"K1\",\"59\",\"FN20\",\"57\",\"FN31\",\"2024/03/02\",\"12:00:00\",\"144 M\",\"PH\"\r\n");
  EXPECT_EQ(LogCount, 1);
}

struct RefreshAnswer {
  const char* answer;  // nullptr: Cancel
  int interval;        // Timer3's interval afterwards
  bool invalid;
};

void PrintTo(const RefreshAnswer& c, std::ostream* os) { *os << '"' << (c.answer ? c.answer : "<Cancel>") << '"'; }

class RefreshRateTest : public ReloadTest, public ::testing::WithParamInterface<RefreshAnswer> {};

TEST_P(RefreshRateTest, TakesSixToSixtySecondsIgnoresOtherNumbersAndRefusesText) {
  const RefreshAnswer& c = GetParam();
  form.Timer3.SetInterval(30000);
  logging::RefreshRate = 30000;
  c.answer ? dialogs.AnswerInputBox(c.answer) : dialogs.CancelInputBox();

  form.mnuRefreshrate.Action()->trigger();

  ASSERT_EQ(dialogs.InputBoxes().size(), 1u);
  const platform::InputBoxShown& box = dialogs.InputBoxes()[0];
  EXPECT_EQ(box.title, "Refresh Rate Settings");
  EXPECT_EQ(box.defaultText, "30000");
  EXPECT_EQ(box.prompt,
            "How often do you want the program to check the log to update the contact list and score statistics?  "
            "This does not effect dupe checking.  Dupe checking is always done in real time.  Use 60000 for slower "
            "PC's (less than 300 MHz)\r\n\r\nPlease enter a value in milliseconds from 6000 (six seconds) to 60000 "
            "(one minute).");
  EXPECT_EQ(form.Timer3.Interval(), c.interval);
  EXPECT_EQ(logging::RefreshRate, static_cast<float>(c.interval));
  const QString preferences = dir_.filePath(logging::PreferencesFileName);
  EXPECT_EQ(QFile::exists(preferences), c.interval != 30000) << "saved when taken";
  if (c.interval != 30000) {
    EXPECT_EQ(logging::ReadPreferencesFile(preferences).RefreshRate, c.interval);
  }
  if (c.invalid) {
    EXPECT_EQ(dialogs.Beeps(), 1);
    ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
    EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "Invalid value.");
    EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Invalid Value.");
    EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::OKOnly);
  } else {
    EXPECT_EQ(dialogs.Beeps(), 0);
    EXPECT_TRUE(dialogs.MessageBoxes().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, RefreshRateTest,
                         ::testing::Values(RefreshAnswer{"6000", 6000, false}, RefreshAnswer{"60000", 60000, false},
                                           RefreshAnswer{"5999", 30000, false}, RefreshAnswer{"60001", 30000, false},
                                           RefreshAnswer{"ten", 30000, true}, RefreshAnswer{"", 30000, true},
                                           RefreshAnswer{nullptr, 30000, true}));

// Rows that Combine or another program wrote in forms of their own. The reload sorts them as text:
// the dashed date ahead of every "yyyy/" date, the time with a blank ahead of its day's others, and
// the month-first dates after every "2024/" date, where the rate figures' walk back meets them first.
TEST_F(ReloadTest, RowsInOtherFormsSortedAsTextKeepTheRateFiguresGoing) {
  platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(13, 30)), -5.0);
  app::UtcOffset = 5;  // 18:30:00 UTC
  const auto logged = [this](const QString& call, const QString& date, const QString& time) {
    InsertFromAnotherPc(path_, {call, "59", "FN20", "57", "FN31", date, time, "144 M", "PH"});
  };
  logged("K1", "2024/06/08", "18:25:00");
  logged("K2", "2024-06-08", "18:20:00");
  logged("K3", "2024/06/08", " 18:05:33");
  logged("K4", "6/8/2024", "18:15:00");
  logged("K5", "6/7/2024", "12:00:00");
  logged("K6", "2024/06/08", "12:00:00");

  form.mnuOpen_Click();

  QStringList calls;
  for (std::int32_t slot = 1; slot <= LogCount; ++slot) calls << logging::LogCalls[slot];
  EXPECT_EQ(calls, QStringList({"K2", "K3", "K6", "K1", "K5", "K4"}));
  // K4 and K1 are counted, K5 is passed over, and the old K6 ends the walk: K2 and K3, sorted ahead
  // of it, are not reached.
  EXPECT_EQ(form.lblAQSO60.Caption(), "2");
  EXPECT_EQ(form.lblAQSO20.Caption(), "6");
}

class OpenExistingLogTest : public ReloadTest, public ::testing::WithParamInterface<int> {};

TEST_P(OpenExistingLogTest, YesReloadsTheLogNoStartsANewOneAndEitherHidesEditAndDelete) {
  const bool yes = GetParam() == platform::MsgBoxResult::Yes;
  LoggedElsewhere("K1", "144 M", "FN20");
  form.cmdEdit.SetVisible(true);
  form.cmdDelete.SetVisible(true);
  dialogs.AnswerMessageBox(GetParam());
  dialogs.AnswerInputBox(QStringLiteral("YES"));  // the new log's confirmation

  form.AskOpenExistingLog();

  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt,
            "Do you want to continue an existing contest? (Yes opens your existing log, No erases any existing log "
            "and starts a new log.)");
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Open existing log?");
  EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::YesNo | platform::MsgBoxStyle::Question);
  EXPECT_EQ(LogCount, yes ? 1 : 0);
  EXPECT_EQ(dialogs.InputBoxes().size(), yes ? 0u : 1u);
  EXPECT_EQ(RowsOnFile(path_).size(), yes ? 1 : 0);
  EXPECT_FALSE(form.cmdEdit.Visible());
  EXPECT_FALSE(form.cmdDelete.Visible());
}

INSTANTIATE_TEST_SUITE_P(Answers, OpenExistingLogTest,
                         ::testing::Values(platform::MsgBoxResult::Yes, platform::MsgBoxResult::No));

}  // namespace
