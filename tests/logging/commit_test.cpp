#include "logging/commit.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/bandlists.h"
#include "logging/contactlist.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/dialogs.h"
#include "platform/instances.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "anotherpc.h"
#include "damagedfiles.h"
#include "drawntesting.h"
#include "formtesting.h"
#include "fulldisk.h"
#include "mainwindowonfreshlog.h"

#include <functional>
#include <ostream>
#include <string>

namespace {

using logging::LogCount;

QStringList InMemory(std::int32_t slot) {
  using namespace logging;
  return {LogCalls[slot], LogRstRcvd[slot], LogGridRcvd[slot], LogRstSent[slot], LogGridSent[slot],
          LogDate[slot],  LogTime[slot],    LogBand[slot],     LogMode[slot]};
}

class CommitTest : public MainWindowOnFreshLog {
 protected:
  void SetUp() override {
    app::Rover = 0;
    logging::DupeFound = 0;
    MainWindowOnFreshLog::SetUp();
  }
  // The test main puts the windows, the module values and the clock back before the next test.
  void TearDown() override {
    QLocale::setDefault(QLocale::system());
    MainWindowOnFreshLog::TearDown();
  }

  void TypeContact(const QString& call, const QString& rstRcvd, const QString& grid, const QString& rstSent) {
    QTest::keyClicks(form.txtCall.Widget(), call);
    QTest::keyClicks(form.txtRSTR.Widget(), rstRcvd);
    QTest::keyClicks(form.txtSec.Widget(), grid);
    QTest::keyClicks(form.txtRSTS.Widget(), rstSent);
  }

  // Enter in any entry box commits the contact.
  void CommitEntryLine() { QTest::keyClick(form.txtRSTS.Widget(), Qt::Key_Return); }

  QStringList EntryLine() const {
    return {form.txtCall.Text(), form.txtRSTR.Text(), form.txtSec.Text(), form.txtRSTS.Text()};
  }
};

TEST_F(CommitTest, StoresTheEntryLineAsOneRowAtUtcAndKeepsTheSameContactInMemory) {
  TypeContact("W1AW", "59", "FN20", "57");
  CommitEntryLine();

  const QStringList expected = {"W1AW", "59", "FN20", "57", "FN31", "2024/03/03", "01:30:00", "144 M", "PH"};
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>{expected});
  ASSERT_EQ(LogCount, 1);
  EXPECT_EQ(InMemory(1), expected);
  EXPECT_EQ(logging::LogRowCount, 1.0) << "this PC's own row must not make its next poll reload";
  EXPECT_EQ(logging::BandQsoCount[1], 1);
  EXPECT_EQ(logging::BandGridCount[1], 1);
  EXPECT_EQ(ItemsOf(form.List2), QStringList{"FN20"});
  EXPECT_EQ(logging::ActivatedGridCount, 1);
  EXPECT_EQ(logging::ActivatedGrids[1], "FN31");

  EXPECT_EQ(EntryLine(), QStringList({"", "", "", ""}));
  EXPECT_TRUE(form.txtCall.HasFocus());
  EXPECT_EQ(form.lblDialog.Caption(), "");
  EXPECT_EQ(form.lblDialog.BackColor(), platform::RGB(0, 192, 192));
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(dialogs.Beeps(), 0);
}

TEST_F(CommitTest, AGridAlreadyWorkedOnTheBandOnlyCountsTheContact) {
  TypeContact("W1AW", "59", "FN20", "57");
  EXPECT_TRUE(form.Label3.Visible()) << "new on the band";
  CommitEntryLine();
  TypeContact("K2XY", "59", "FN20", "57");
  EXPECT_FALSE(form.Label3.Visible());
  CommitEntryLine();

  EXPECT_EQ(RowsOnFile(path_).size(), 2);
  EXPECT_EQ(logging::BandQsoCount[1], 2);
  EXPECT_EQ(logging::BandGridCount[1], 1);
  EXPECT_EQ(ItemsOf(form.List2), QStringList{"FN20"});
  EXPECT_EQ(logging::ActivatedGridCount, 1) << "the own grid is listed once";
}

// The rate figures are kept as contacts arrive; a delete and another PC's contact reach them
// through a reload of the log.
TEST_F(CommitTest, TheRateFiguresCountEachCommitADeleteAndAnotherPcsContact) {
  const auto rates = [&] { return QStringList{form.lblAQSO60.Caption(), form.lblAQSO20.Caption()}; };
  logging::CreateContactListColumns(form);
  TypeContact("W1AW", "59", "FN20", "57");
  CommitEntryLine();
  TypeContact("K2XY", "59", "FN12", "57");
  CommitEntryLine();
  EXPECT_EQ(rates(), QStringList({"2", "6"}));

  form.ListView1.ListItems(1).SetSelected(true);  // K2XY, the newest
  dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);
  form.cmdDelete_Click();
  form.Timer1.Tick();
  EXPECT_EQ(rates(), QStringList({"1", "3"}));

  InsertFromAnotherPc(path_, {"N3ZZ", "59", "FN41", "57", "FN31", "2024/03/03", "01:10:00", "144 M", "PH"});
  form.Timer3.Tick();  // the poll finds the row and reloads
  form.Timer1.Tick();
  EXPECT_EQ(rates(), QStringList({"2", "3"})) << "20 minutes old: outside the last 20";
  platform::Clock::Advance(61 * 60 * 1000);
  form.Timer1.Tick();
  EXPECT_EQ(rates(), QStringList({"0", "0"}));
}

// The band's list box shows the worked-grid list after a new grid, whether it held the earlier
// grids (the grid is added) or something else (the list is filled again).
TEST_F(CommitTest, ANewGridLeavesTheBandListShowingTheBandsWorkedGrids) {
  const struct {
    const char* name;
    std::function<void()> disturb;
  } cases[] = {
      {"the list in step", [] {}},
      {"an entry gone from the list", [&] { form.List2.RemoveItem(0); }},
      {"another entry last", [&] { form.List2.SetList(form.List2.ListCount() - 1, "AA00"); }},
  };
  int serial = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* grid : {"FN10", "FN11"}) {
      TypeContact(QStringLiteral("K%1AA").arg(++serial), "59", grid, "57");
      CommitEntryLine();
    }
    c.disturb();
    const QString newGrid = QStringLiteral("EM%1").arg(++serial, 2, 10, QLatin1Char('0'));
    TypeContact(QStringLiteral("K%1AA").arg(serial), "59", newGrid, "57");
    CommitEntryLine();
    QStringList worked;
    for (std::int32_t slot = 1; slot <= logging::BandGridCount[1]; ++slot) worked << logging::BandGrids[1][slot];
    EXPECT_EQ(worked.last(), newGrid);
    EXPECT_EQ(ItemsOf(form.List2), worked);
  }
}

// The band's list takes the new grid as a drawing of the whole list would show it: the grid alone
// is drawn where the list shows it, and nothing of the rows when it goes beyond them.
TEST_F(CommitTest, ANewGridIsDrawnIntoItsBandListAsTheWholeListWouldShowIt) {
  const struct {
    const char* name;
    const char* band;
    int gridsBefore;
    bool shown;
  } cases[] = {
      {"at the end of the grids shown", "144 M", 3, true},
      {"beyond the rows shown", "222 M", 60, false},
  };
  int serial = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    logging::CurrentBand = QString::fromLatin1(c.band);
    const std::int32_t band = logging::BandIndex(logging::CurrentBand);
    for (int n = 0; n < c.gridsBefore; ++n) {
      logging::AddWorkedGrid(logging::CurrentBand, QStringLiteral("EM%1").arg(10 + n), app::OwnGrid, 0, 1);
    }
    logging::FillBandList(form, band);
    auto* list = static_cast<QListWidget*>(form.BandLists()[band]->Widget());
    TypeContact(QStringLiteral("K%1AA").arg(++serial), "59", "DM79", "57");
    Settle();
    const DrawnParts rows(list->viewport());

    CommitEntryLine();
    Settle();

    ASSERT_EQ(list->count(), c.gridsBefore + 1);
    EXPECT_EQ(list->item(c.gridsBefore)->text(), "DM79");
    EXPECT_EQ(rows.drawn, ItemPlacesFrom(*list, c.gridsBefore));
    EXPECT_EQ(rows.drawn.isEmpty(), !c.shown);
    EXPECT_EQ(OnScreen(*list), DrawnAfresh(*list));
  }
}

struct MissingField {
  const char* call;
  const char* grid;
  const char* message;
  int beeps;
  const char* focus;
};

void PrintTo(const MissingField& c, std::ostream* os) { *os << "call \"" << c.call << "\" grid \"" << c.grid << '"'; }

class CommitMissingFieldTest : public CommitTest, public ::testing::WithParamInterface<MissingField> {};

TEST_P(CommitMissingFieldTest, RefusesWithMessageBeepAndFocusStoringNothing) {
  const MissingField& c = GetParam();
  TypeContact(c.call, "59", c.grid, "57");
  CommitEntryLine();

  EXPECT_EQ(form.lblDialog.Caption(), c.message);
  EXPECT_EQ(dialogs.Beeps(), c.beeps);
  EXPECT_TRUE((c.focus == std::string("txtCall") ? form.txtCall : form.txtSec).HasFocus()) << c.focus;
  EXPECT_EQ(logging::EntryIncomplete, 1);
  EXPECT_TRUE(RowsOnFile(path_).isEmpty());
  EXPECT_EQ(LogCount, 0);
  EXPECT_EQ(EntryLine(), QStringList({c.call, "59", c.grid, "57"})) << "the fields keep their text";
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Fields, CommitMissingFieldTest,
                         ::testing::Values(MissingField{"W1", "FN20", "Need Call Sign!", 1, "txtCall"},
                                           MissingField{"W1AW", "", "Need Grid!", 1, "txtSec"},
                                           MissingField{"W1", "", "Need Call Sign!", 2, "txtCall"}));

struct PostContestEntry {
  QLocale::Language language;
  QLocale::Territory territory;
  const char* typedDate;
  const char* typedTime;
  const char* date;  // as stored; "" when refused
  const char* time;
  const char* message;  // lblDialog after a refusal
};

void PrintTo(const PostContestEntry& c, std::ostream* os) {
  *os << QLocale(c.language, c.territory).name().toStdString() << " \"" << c.typedDate << "\" \"" << c.typedTime << '"';
}

class PostContestTest : public CommitTest, public ::testing::WithParamInterface<PostContestEntry> {};

TEST_P(PostContestTest, TypedDateAndTimeAreStoredInTheLogFormatsOrRefused) {
  const PostContestEntry& c = GetParam();
  QLocale::setDefault(QLocale(c.language, c.territory));
  form.mnuPostContest.Action()->trigger();
  QTest::keyClicks(form.txtPostConDate.Widget(), c.typedDate);
  QTest::keyClicks(form.txtPostConTime.Widget(), c.typedTime);
  TypeContact("W1AW", "59", "FN20", "57");
  form.lblDupe.SetCaption("W1AW W1AX");
  CommitEntryLine();

  if (*c.date != '\0') {
    const QStringList expected = {"W1AW", "59", "FN20", "57", "FN31", c.date, c.time, "144 M", "PH"};
    EXPECT_EQ(RowsOnFile(path_), QList<QStringList>{expected});
    EXPECT_EQ(InMemory(1), expected);
    EXPECT_EQ(form.txtPostConDate.Text(), c.date) << "a run of late contacts shares one date and time";
    EXPECT_EQ(form.txtPostConTime.Text(), c.time);
    EXPECT_EQ(dialogs.Beeps(), 0);
  } else {
    EXPECT_TRUE(RowsOnFile(path_).isEmpty());
    EXPECT_EQ(LogCount, 0);
    EXPECT_EQ(form.lblDialog.Caption(), c.message);
    EXPECT_EQ(dialogs.Beeps(), 1);
    EXPECT_EQ(EntryLine(), QStringList({"W1AW", "59", "FN20", "57"}));
    EXPECT_EQ(form.lblDupe.Caption(), "W1AW W1AX") << "a refused date or time ends the commit at once";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, PostContestTest,
    ::testing::Values(
        PostContestEntry{QLocale::English, QLocale::UnitedStates, "2024/03/02", "0930", "2024/03/02", "09:30", ""},
        PostContestEntry{QLocale::English, QLocale::UnitedStates, "2024/03/02", "930", "2024/03/02", "09:30", ""},
        PostContestEntry{QLocale::English, QLocale::UnitedStates, "3/2/2024", "14:05", "2024/03/02", "14:05", ""},
        PostContestEntry{QLocale::English, QLocale::UnitedStates, "03/02/24", "7:05", "2024/03/02", "07:05", ""},
        PostContestEntry{QLocale::English, QLocale::UnitedKingdom, "3/2/2024", "2359", "2024/02/03", "23:59", ""},
        PostContestEntry{QLocale::German, QLocale::Germany, "02/03/2024", "0000", "2024/03/02", "00:00", ""},
        PostContestEntry{QLocale::English, QLocale::UnitedStates, "2024/03/02", "25:00", "", "", "Invalid time format!"},
        PostContestEntry{QLocale::English, QLocale::UnitedStates, "2024/03/02", "2500", "", "", "Invalid time format!"},
        PostContestEntry{QLocale::English, QLocale::UnitedStates, "2024/03/02", "9:60", "", "", "Invalid time format!"},
        PostContestEntry{QLocale::English, QLocale::UnitedStates, "2024/03/02", "", "", "", "Invalid time format!"},
        PostContestEntry{QLocale::English, QLocale::UnitedStates, "2/30/2024", "0930", "", "", "Invalid date format!"},
        PostContestEntry{QLocale::English, QLocale::UnitedKingdom, "3/13/2024", "0930", "", "", "Invalid date format!"},
        PostContestEntry{QLocale::English, QLocale::UnitedStates, "20240302", "0930", "", "", "Invalid date format!"},
        PostContestEntry{QLocale::English, QLocale::UnitedStates, "", "0930", "", "", "Invalid date format!"}));

struct RoverBand {
  const char* band;
  int bandIndex;
  const char* entry;  // "" when the band lists no grid
};

void PrintTo(const RoverBand& c, std::ostream* os) { *os << c.band; }

class RoverContestFiveTest : public CommitTest, public ::testing::WithParamInterface<RoverBand> {};

TEST_P(RoverContestFiveTest, ListsReceivedAndOwnGridOn50And144MhzOnly) {
  const RoverBand& c = GetParam();
  app::Rover = 1;
  app::ContestType = 5;
  logging::CurrentBand = c.band;
  TypeContact("W1AW", "59", "FN20", "57");
  CommitEntryLine();

  EXPECT_EQ(RowsOnFile(path_).size(), 1);
  EXPECT_EQ(logging::BandQsoCount[c.bandIndex], 1);
  const QStringList listed = *c.entry ? QStringList{c.entry} : QStringList{};
  EXPECT_EQ(logging::BandGridCount[c.bandIndex], listed.size());
  EXPECT_EQ(ItemsOf(*form.BandLists()[c.bandIndex]), listed);
}

INSTANTIATE_TEST_SUITE_P(Bands, RoverContestFiveTest,
                         ::testing::Values(RoverBand{"50 M", 0, "FN20 FN31"}, RoverBand{"144 M", 1, "FN20 FN31"},
                                           RoverBand{"222 M", 2, ""}, RoverBand{"10 G", 9, ""}));

TEST_F(CommitTest, AnApostropheInAPastedCallOrGridIsStoredIntact) {
  // A recall, or a spot clicked into the entry line, puts text into the boxes without the key filters.
  form.txtCall.SetText("O'BRIEN");
  form.txtSec.SetText("FN'2");
  CommitEntryLine();

  const QList<QStringList> rows = RowsOnFile(path_);
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0][0], "O'BRIEN");
  EXPECT_EQ(rows[0][2], "FN'2");
  EXPECT_EQ(logging::LogCalls[1], "O'BRIEN");
}

TEST_F(CommitTest, ALogOfMoreThan14000ContactsAndBandsOfMoreThan5000GridsGrow) {
  for (std::int32_t i = 1; i <= 14000; ++i) {
    logging::AppendContact({"K" + QString::number(i), "59", "FN20", "57", "FN31", "2024/03/02", "12:00:00", "50 M", "PH"});
  }
  for (std::int32_t slot = 1; slot <= 5000; ++slot) logging::BandGrids[1].Set(slot, "G" + QString::number(slot));
  logging::BandGridCount[1] = 5000;
  logging::LogRowCount = 14000;

  TypeContact("W1AW", "59", "FN20", "57");
  CommitEntryLine();

  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  ASSERT_EQ(LogCount, 14001);
  EXPECT_EQ(logging::LogCalls[14001], "W1AW");
  EXPECT_EQ(logging::BandGridCount[1], 5001);
  EXPECT_EQ(logging::BandGrids[1][5001], "FN20");
  EXPECT_EQ(form.List2.ListCount(), 5001);
}

// The shared file goes away under the open connection: its folder is renamed, it turns read-only
// or it is damaged.
class UnreachableLogTest : public CommitTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void MakeUnreachable() {
    if (GetParam() == std::string("folder renamed")) {
      // The store's folder is the temporary folder itself; a statement needs its journal beside the file.
      ASSERT_TRUE(QDir().rename(dir_.path(), dir_.path() + "-gone"));
      renamed_ = true;
    } else if (GetParam() == std::string("damaged file")) {
      DamagePages(path_, 2, 1);  // the table's root
    } else {
      logging::LogConnection.Close();
      QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
      logging::LogConnection.Open(path_);
    }
  }
  void MakeReachable() {
    if (renamed_) renamed_ = !QDir().rename(dir_.path() + "-gone", dir_.path());
  }
  void TearDown() override {
    MakeReachable();
    CommitTest::TearDown();
  }
  bool renamed_ = false;
};

TEST_P(UnreachableLogTest, ReportsANetworkErrorKeepingTheFieldsAndTheLog) {
  TypeContact("W1AW", "59", "FN20", "57");
  QTest::mouseClick(form.txtRSTS.Widget(), Qt::LeftButton);
  ASSERT_TRUE(form.txtRSTS.HasFocus());
  MakeUnreachable();
  CommitEntryLine();

  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "Network Error, please try again.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Network Error!");
  EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::OKOnly);
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_EQ(EntryLine(), QStringList({"W1AW", "59", "FN20", "57"}));
  EXPECT_TRUE(form.txtCall.HasFocus()) << "committed from the sent report, the next keys go to the call box";
  QTest::keyClicks(QApplication::focusWidget(), "/P");
  EXPECT_EQ(EntryLine(), QStringList({"W1AW/P", "59", "FN20", "57"}));
  EXPECT_EQ(LogCount, 0);
  EXPECT_EQ(logging::LogRowCount, 0.0);
  EXPECT_EQ(logging::BandQsoCount[1], 0);
  EXPECT_EQ(logging::BandGridCount[1], 0);
  EXPECT_FALSE(logging::LogRecordset.IsOpen());
  MakeReachable();
  EXPECT_TRUE(RowsOnFile(path_).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Ways, UnreachableLogTest, ::testing::Values("folder renamed", "read-only file", "damaged file"));

// The log on a share whose server goes away under the open log and comes back. The handle the
// program held dies with the server's session, so only a fresh open of the file reaches it again.
struct ShareOutage {
  const char* name;
  unsigned failingCalls;
};

void PrintTo(const ShareOutage& c, std::ostream* os) { *os << c.name; }

class LostShareTest : public CommitTest, public ::testing::WithParamInterface<ShareOutage> {
 protected:
  const QStringList W1awAsStored = {"W1AW", "59", "FN20", "57", "FN31", "2024/03/03", "01:30:00", "144 M", "PH"};
  FailingShare share{dir_.path().toStdString(), GetParam().failingCalls};
};

TEST_P(LostShareTest, TheNextCommitOnceTheShareIsBackLogsTheContactOnce) {
  TypeContact("W1AW", "59", "FN20", "57");
  share.GoAway();
  CommitEntryLine();
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Network Error!");
  EXPECT_EQ(LogCount, 0);

  share.ComeBack();
  CommitEntryLine();  // the operator tries again

  EXPECT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>{W1awAsStored});
  ASSERT_EQ(LogCount, 1);
  EXPECT_EQ(InMemory(1), W1awAsStored);
  EXPECT_EQ(EntryLine(), QStringList({"", "", "", ""}));
  EXPECT_TRUE(form.txtCall.HasFocus());
}

INSTANTIATE_TEST_SUITE_P(Outages, LostShareTest,
                         ::testing::Values(ShareOutage{"every call", FailingShare::ReadsWritesAndFlushes},
                                           ShareOutage{"writes", FailingShare::Writes},
                                           ShareOutage{"flushes", FailingShare::Flushes},
                                           ShareOutage{"reads", FailingShare::Reads}));

class LostShareOnEveryCallTest : public LostShareTest {};

TEST_P(LostShareOnEveryCallTest, TheOneMinuteCheckOnceTheShareIsBackReadsTheLogAgain) {
  share.GoAway();
  form.Timer3.Tick();
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "File or Network Error");

  share.ComeBack();
  InsertFromAnotherPc(path_, {"K2XY", "59", "FN12", "57", "FN31", "2024/03/03", "01:10:00", "144 M", "PH"});
  form.Timer3.Tick();

  EXPECT_EQ(dialogs.MessageBoxes().size(), 1u);
  ASSERT_EQ(LogCount, 1);
  EXPECT_EQ(logging::LogCalls[1], "K2XY");
  EXPECT_EQ(ItemsOf(form.List2), QStringList{"FN12"});
}

// Remounted read-only first, the share takes no contact; once it takes writes again, the next
// commit logs.
TEST_P(LostShareOnEveryCallTest, AShareBackReadOnlyFirstLogsOnceItTakesWritesAgain) {
  const QFile::Permissions writable = QFile::permissions(path_);
  TypeContact("W1AW", "59", "FN20", "57");
  share.GoAway();
  CommitEntryLine();
  share.ComeBack();
  ASSERT_TRUE(QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  CommitEntryLine();
  EXPECT_EQ(dialogs.MessageBoxes().size(), 2u);
  EXPECT_EQ(LogCount, 0);

  ASSERT_TRUE(QFile::setPermissions(path_, writable));
  CommitEntryLine();

  EXPECT_EQ(dialogs.MessageBoxes().size(), 2u);
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>{W1awAsStored});
  EXPECT_EQ(LogCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Outage, LostShareOnEveryCallTest,
                         ::testing::Values(ShareOutage{"every call", FailingShare::ReadsWritesAndFlushes}));

// The first try reached the file, but the removal of its journal, which ends the write, lost its
// reply: the operator was asked to try again, and the retry finds the contact already logged.
class LostReplyTest : public LostShareTest {};

TEST_P(LostReplyTest, ARetryOfAContactThatReachedTheFileStoresNoSecondRow) {
  TypeContact("W1AW", "59", "FN20", "57");
  share.GoAway();
  CommitEntryLine();
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Network Error!");
  EXPECT_EQ(LogCount, 0) << "nothing is shown as logged that was reported as failed";

  share.ComeBack();
  CommitEntryLine();

  EXPECT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>{W1awAsStored});
  EXPECT_EQ(form.lblDialog.Caption(), "Dupe: W1AW FN20 ON 2024/03/03 01:30:00");
  form.txtCall.SetText("");
  form.Timer3.Tick();
  ASSERT_EQ(LogCount, 1) << "the poll brings the logged contact in";
  EXPECT_EQ(InMemory(1), W1awAsStored);
}

INSTANTIATE_TEST_SUITE_P(Outage, LostReplyTest,
                         ::testing::Values(ShareOutage{"journal removals", FailingShare::Removals}));

TEST_F(CommitTest, AFailureAfterTheRowIsStoredResynchronisesFromTheTableInsteadOfAskingToRetry) {
  InsertFromAnotherPc(path_, {"K2XY", "59", "FN12", "57", "FN31", "2024/03/03", "01:10:00", "144 M", "PH"});
  TypeContact("W1AW", "59", "FN20", "57");
  form.txtCall.SetEnabled(false);  // the focus cannot return to the call box once the row is stored
  CommitEntryLine();

  EXPECT_TRUE(dialogs.MessageBoxes().empty()) << "the contact is logged; a retry would only find a dupe";
  EXPECT_EQ(RowsOnFile(path_).size(), 2);
  ASSERT_EQ(LogCount, 2);
  EXPECT_EQ(logging::LogCalls[1], "K2XY") << "the in-memory log is the table, oldest first";
  EXPECT_EQ(InMemory(2), QStringList({"W1AW", "59", "FN20", "57", "FN31", "2024/03/03", "01:30:00", "144 M", "PH"}));
  EXPECT_EQ(logging::LogRowCount, 2.0);
  EXPECT_EQ(logging::BandQsoCount[1], 2);
  EXPECT_EQ(ItemsOf(form.List2), QStringList({"FN12", "FN20"}));
  EXPECT_EQ(EntryLine(), QStringList({"", "", "", ""}));
}

TEST_F(CommitTest, ARecoveryThatCannotReadTheTableSaysSoOnceAndTheNextPollReloads) {
  TypeContact("W1AW", "59", "FN20", "57");
  app::ProgramDir = dir_.filePath("gone");  // once the row is stored, neither the commit nor a reload gets on
  CommitEntryLine();

  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "Error opening file.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "File or Network Error");
  EXPECT_EQ(RowsOnFile(path_).size(), 1);
  EXPECT_EQ(EntryLine(), QStringList({"", "", "", ""})) << "the contact is logged";

  app::ProgramDir = dir_.path();
  form.Timer3.Tick();
  EXPECT_EQ(dialogs.MessageBoxes().size(), 1u);
  ASSERT_EQ(LogCount, 1);
  EXPECT_EQ(logging::LogRowCount, 1.0);
  EXPECT_EQ(logging::BandQsoCount[1], 1);
  EXPECT_EQ(ItemsOf(form.List2), QStringList{"FN20"});
}

struct UtcCase {
  QDateTime local;
  float offset;
  const char* date;
  const char* time;
};

TEST(UtcStampTest, AddsTheOffsetInWholeMinutesAcrossDayMonthAndYear) {
  const UtcCase cases[] = {
      {QDateTime(QDate(2024, 3, 2), QTime(20, 30)), 5, "2024/03/03", "01:30:00"},
      {QDateTime(QDate(2024, 12, 31), QTime(22, 15, 7)), 5.5f, "2025/01/01", "03:45:07"},
      {QDateTime(QDate(2024, 3, 1), QTime(1, 0)), -3, "2024/02/29", "22:00:00"},
      {QDateTime(QDate(2024, 6, 15), QTime(12, 0)), 0, "2024/06/15", "12:00:00"},
  };
  for (const UtcCase& c : cases) {
    const logging::ContactStamp stamp = logging::UtcStampOf(c.local, c.offset);
    EXPECT_EQ(stamp.Date, c.date) << c.local.toString().toStdString();
    EXPECT_EQ(stamp.Time, c.time) << c.local.toString().toStdString();
  }
}

}  // namespace
