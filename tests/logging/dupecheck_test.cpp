#include "logging/dupecheck.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logdatabasefixture.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/logtable.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/mciwave.h"
#include "platform/paths.h"

#include <QDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "formtesting.h"
#include "mainwindowonfreshlog.h"
#include "testbound.h"
#include "wavefile.h"

#include <ostream>

namespace {

using logging::LogContact;

const platform::Color kRed = platform::RGB(255, 0, 0);
const platform::Color kMessageTeal = platform::RGB(0, 192, 192);

LogContact Contact(const QString& call, const QString& grid, const QString& band, const QString& ownGrid = "FN31",
                   const QString& time = "01:30:00", const QString& mode = "PH") {
  return {call, "59", grid, "57", ownGrid, "2024/03/03", time, band, mode};
}

// The main window on a fresh log, a fixed station in FN31 on 144 M phone, at 20:30 local time on
// 2 March 2024; the program folder holds the operator's 1.5-second dupe cue.
class DupeCheckTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    SetFixedStationInFN31OnTwoMetrePhone();
    app::ProgramDir = dir_.path();
    ASSERT_TRUE(WriteWaveFile(dir_.filePath("Dupe.wav"), 1500));
    start_ = platform::Now();
    ShowActive(form);
    form.txtCall.SetFocus();
  }

  // Rows that this or another PC stored; the in-memory log knows them only after a reload.
  void InTable(std::initializer_list<LogContact> contacts) {
    for (const LogContact& contact : contacts) logging::InsertContact(contact);
  }
  void InMemory(std::initializer_list<LogContact> contacts) {
    for (const LogContact& contact : contacts) logging::AppendContact(contact);
  }
  void TypeEntryLine(const QString& call, const QString& grid) {
    QTest::keyClicks(form.txtCall.Widget(), call);
    QTest::keyClicks(form.txtRSTR.Widget(), "59");
    QTest::keyClicks(form.txtSec.Widget(), grid);
    QTest::keyClicks(form.txtRSTS.Widget(), "57");
  }
  // Enter in the call box commits; the RST box's focus runs the in-memory check.
  void CommitEntryLine() { QTest::keyClick(form.txtCall.Widget(), Qt::Key_Return); }
  void FocusRstReceived() { form.txtRSTR.SetFocus(); }
  QString Cue() const { return QDir(dir_.path()).filePath("Dupe.wav"); }

  QDateTime start_;
  platform::ScriptedDialogs dialogs;
  platform::ScriptedWavePlayback playback;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

// ---- The dupe key ----

struct KeyCase {
  const char* what;
  const char* call;
  const char* grid;
  const char* band;
  const char* ownGrid;
  bool dupe;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.what; }

class DupeKeyTest : public DupeCheckTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DupeKeyTest, SameCallBandGridAndOwnGridIsADupeInTheTableAndInMemory) {
  const KeyCase& c = GetParam();
  const LogContact earlier = Contact("W1AW", "FN20", "144 M", "FN31", "01:30:00", "CW");
  InTable({earlier});
  InMemory({earlier});
  logging::CurrentBand = c.band;
  app::OwnGrid = c.ownGrid;
  TypeEntryLine(c.call, c.grid);

  FocusRstReceived();
  EXPECT_EQ(form.lblDialog.Caption().startsWith("Duplicate Unless Rover! "), c.dupe)
      << form.lblDialog.Caption().toStdString();
  CommitEntryLine();
  EXPECT_EQ(logging::DupeFound, c.dupe ? 1 : 0);
  EXPECT_EQ(logging::CountLogRows(), c.dupe ? 1 : 2);
  EXPECT_EQ(dialogs.Beeps(), c.dupe ? 2 : 0) << "a warning on the RST box, then the refusal";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DupeKeyTest,
    ::testing::Values(KeyCase{"same in another mode", "W1AW", "FN20", "144 M", "FN31", true},
                      KeyCase{"same in other letter cases", "w1aw", "fn20", "144 m", "fn31", true},
                      KeyCase{"another grid: a rover worked again", "W1AW", "FN21", "144 M", "FN31", false},
                      KeyCase{"another own grid: this rover moved", "W1AW", "FN20", "144 M", "FN32", false},
                      KeyCase{"another band", "W1AW", "FN20", "432 M", "FN31", false},
                      KeyCase{"another call", "W1AX", "FN20", "144 M", "FN31", false}));

// ---- The binding check on the table ----

TEST_F(DupeCheckTest, ADupeInTheTableIsAnnouncedRefusedAndTheEntryLineCleared) {
  InTable({Contact("W1AW", "FN20", "144 M")});  // another PC's row, not yet reloaded here
  logging::LoggedOn = 1;
  TypeEntryLine("W1AW", "FN20");
  CommitEntryLine();

  EXPECT_EQ(form.lblDialog.Caption(), "Dupe: W1AW FN20 ON 2024/03/03 01:30:00");
  EXPECT_EQ(form.lblDialog.BackColor(), kRed);
  EXPECT_EQ(form.lblDupe.Caption(), "");
  EXPECT_EQ(form.lblDupe.BackColor(), platform::ButtonFaceColor());
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_EQ(playback.Played(), QStringList{Cue()}) << "the cue plays with voice navigation off too";
  for (platform::TextBox* box : {&form.txtCall, &form.txtRSTR, &form.txtSec, &form.txtRSTS}) {
    EXPECT_EQ(box->Text(), "") << box->Name().toStdString();
  }
  EXPECT_TRUE(form.txtCall.HasFocus());
  EXPECT_EQ(logging::DupeFound, 1);
  EXPECT_EQ(logging::DupeTime, start_);
  EXPECT_EQ(logging::CountLogRows(), 1);
  EXPECT_EQ(logging::LogCount, 0);
  EXPECT_FALSE(logging::LogRecordset.IsOpen());
}

TEST_F(DupeCheckTest, AnEmptyGridIsFilledFromTheFirstEarlierContactTableOrderForTheTableLogOrderInMemory) {
  InTable({Contact("W1AW", "FN20", "50 M"), Contact("W1AW", "FN21", "144 M")});
  InMemory({Contact("W1AW", "FN21", "144 M"), Contact("W1AW", "FN20", "50 M")});
  QTest::keyClicks(form.txtCall.Widget(), "W1AW");

  FocusRstReceived();
  EXPECT_EQ(form.txtSec.Text(), "FN21");
  EXPECT_EQ(form.txtSec.SelLength(), 4) << "typing replaces it";
  EXPECT_TRUE(form.lblDialog.Caption().startsWith("Duplicate Unless Rover! W1AW FN21"))
      << "the filled grid is a dupe on 144 M";

  form.txtSec.SetText("");
  CommitEntryLine();
  EXPECT_EQ(form.txtSec.Text(), "FN20") << "the table's first row; not a dupe on 144 M";
  EXPECT_EQ(form.txtSec.SelLength(), 4);
  EXPECT_EQ(logging::DupeFound, 0);
}

// ---- The in-memory check and List Previous ----

class ListPreviousTest : public DupeCheckTest {
 protected:
  void SetUp() override {
    DupeCheckTest::SetUp();
    InMemory({Contact("K1ABC", "FN20", "144 M"), Contact("W1AW", "FN20", "144 M"),
              Contact("W1AW", "FN20", "50 M", "FN31", "02:10"), Contact("w1aw", "FN22", "432 M"),
              Contact("W1AW", "FN20", "144 M", "FN31", "03:00:00")});
    TypeEntryLine("W1AW", "FN20");
  }
};

TEST_F(ListPreviousTest, ListsEveryEarlierContactOfTheCallOnAllBandsAndWarnsOfEachDupe) {
  form.mnuListPrevious.SetChecked(true);
  form.ListView1.SetRows({{"1", "OLD"}});
  FocusRstReceived();

  QStringList listed;
  for (int i = 1; i <= form.ListView1.ListItems.Count(); ++i) listed << form.ListView1.ListItems(i).Text();
  EXPECT_EQ(listed, QStringList({"2", "3", "4", "5"}));
  const platform::ListItem late = form.ListView1.ListItems(2);
  QStringList row = {late.Text()};
  for (int column = 1; column <= 8; ++column) row << late.SubItems(column);
  EXPECT_EQ(row, QStringList({"3", "W1AW", "59", "FN20", "57", "03/03 02:10", "50 ", "FN31", "PH"}));
  EXPECT_EQ(form.lblDialog.Caption(), "Duplicate Unless Rover! W1AW FN20 03/03 03:00:00  Rec# 5");
  EXPECT_EQ(form.lblDialog.BackColor(), kRed);
  EXPECT_EQ(dialogs.Beeps(), 2) << "both dupes were announced";
  EXPECT_EQ(form.txtCall.Text(), "W1AW") << "a warning clears nothing";
  EXPECT_EQ(logging::DupeFound, 0);
}

TEST_F(ListPreviousTest, WithoutListingTheScanStopsAtTheFirstDupeAndLeavesTheListAlone) {
  form.ListView1.SetRows({{"1", "K1ABC"}});
  FocusRstReceived();

  EXPECT_EQ(form.lblDialog.Caption(), "Duplicate Unless Rover! W1AW FN20 03/03 01:30:00  Rec# 2");
  EXPECT_EQ(dialogs.Beeps(), 1);
  ASSERT_EQ(form.ListView1.ListItems.Count(), 1);
  EXPECT_EQ(form.ListView1.ListItems(1).SubItems(1), "K1ABC");
}

// ---- The partial-call check while the call is typed ----

class PartialCallTest : public DupeCheckTest {
 protected:
  void SetUp() override {
    DupeCheckTest::SetUp();
    InMemory({Contact("W1AW", "FN20", "144 M"), Contact("K1ABC", "FN20", "144 M"), Contact("W1AY", "FN20", "50 M"),
              Contact("W1AZ", "FN20", "144 M", "FN32"), Contact("w1ax", "FN21", "144 M")});
  }
};

TEST_F(PartialCallTest, ListsTheCallsOfThisBandAndOwnGridThatBeginWithWhatIsTypedNewestFirst) {
  QTest::keyClicks(form.txtCall.Widget(), "W1A");
  EXPECT_EQ(form.lblDupe.Caption(), "w1ax W1AW ");
  EXPECT_EQ(form.lblDupe.BackColor(), kMessageTeal);
  EXPECT_EQ(form.lblDialog.Caption(), " ") << "the third character is a letter after a digit";

  QTest::keyClick(form.txtCall.Widget(), 'W');
  EXPECT_EQ(form.lblDupe.Caption(), "W1AW ");
  EXPECT_EQ(form.lblDialog.Caption(), "Possible Duplicate!");

  QTest::keyClick(form.txtCall.Widget(), 'Q');
  EXPECT_EQ(form.lblDupe.Caption(), "");
  EXPECT_EQ(form.lblDupe.BackColor(), platform::ButtonFaceColor());
  EXPECT_EQ(form.lblDialog.Caption(), "Possible Duplicate!") << "no match leaves the message as it was";
  EXPECT_EQ(form.lblDialog.BackColor(), kMessageTeal);
  EXPECT_EQ(form.txtCall.Text(), "W1AWQ");
}

TEST_F(PartialCallTest, TheListStopsGrowingOnceItPassesAHundredCharacters) {
  logging::ClearContacts();
  for (int i = 0; i < 30; ++i) InMemory({Contact(QString("W1A%1").arg(i, 2, 10, QChar('0')), "FN20", "144 M")});
  QTest::keyClicks(form.txtCall.Widget(), "W1A");

  QStringList expected;
  for (int i = 16; i >= 0; --i) expected << QString("W1A%1").arg(i, 2, 10, QChar('0'));
  EXPECT_EQ(form.lblDupe.Caption(), expected.join(' ') + ' ') << "the oldest 17 calls: 102 characters";
}

TEST_F(PartialCallTest, BackspaceClearsTheListWithoutAScan) {
  QTest::keyClicks(form.txtCall.Widget(), "W1A");
  ASSERT_FALSE(form.lblDupe.Caption().isEmpty());
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_Backspace);
  EXPECT_EQ(form.lblDupe.Caption(), "");
  EXPECT_EQ(form.lblDupe.BackColor(), platform::ButtonFaceColor());
  EXPECT_EQ(form.txtCall.Text(), "W1");
}

TEST_F(PartialCallTest, ASecondAndThirdCharacterThatAreBothLettersBeepWithTheCheckOnOrOff) {
  const struct {
    const char* typed;
    const char* message;
  } cases[] = {{"WAB", "The second or third character is not numeric!"}, {"W/A", " "}, {"WA/", " "}, {"KA1", " "},
               {"K1A", " "}};
  for (const std::uint8_t checkOn : {1, 0}) {
    logging::DupCheckOn = checkOn;
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.typed) + (checkOn ? " check on" : " check off"));
      form.txtCall.SetText("");
      form.lblDialog.SetCaption("before");
      const int beepsBefore = dialogs.Beeps();
      QTest::keyClicks(form.txtCall.Widget(), c.typed);
      EXPECT_EQ(form.lblDialog.Caption(), c.message);
      EXPECT_EQ(dialogs.Beeps() - beepsBefore, *c.message == ' ' ? 0 : 1);
    }
  }
}

TEST_F(PartialCallTest, WithTheCheckOffNothingIsListed) {
  logging::DupCheckOn = 0;
  QTest::keyClicks(form.txtCall.Widget(), "W1AW");
  EXPECT_EQ(form.lblDupe.Caption(), "");
  EXPECT_EQ(form.lblDialog.Caption(), " ");
}

// ---- The hold after a dupe ----

class DupeHoldTest : public DupeCheckTest {
 protected:
  void SetUp() override {
    DupeCheckTest::SetUp();
    InTable({Contact("W1AW", "FN20", "144 M")});
    TypeEntryLine("W1AW", "FN20");
    CommitEntryLine();
    ASSERT_EQ(logging::DupeFound, 1);
  }
};

TEST_F(DupeHoldTest, AKeyTypedOneSecondAfterADupeIsTakenTwoSecondsLaterWithTheKeysAfterIt) {
  platform::Clock::Advance(1000);
  QTest::keyClicks(form.txtCall.Widget(), "K1");
  EXPECT_EQ(form.txtCall.Text(), "");

  platform::Clock::Advance(1999);
  platform::DoEvents();
  platform::DoEvents();
  EXPECT_EQ(form.txtCall.Text(), "") << "still held 2999 ms after the dupe";
  EXPECT_EQ(logging::DupeFound, 1);

  platform::Clock::Advance(1);
  ASSERT_TRUE(QTest::qWaitFor([this] { return form.txtCall.Text() == "K1"; }, peertesting::kBoundMs));
  EXPECT_EQ(logging::DupeFound, 0);
}

TEST_F(DupeHoldTest, AKeyTypedThreeSecondsAfterADupeIsTakenAtOnce) {
  platform::Clock::Advance(3000);
  QTest::keyClicks(form.txtCall.Widget(), "K1");
  EXPECT_EQ(form.txtCall.Text(), "K1");
  EXPECT_EQ(logging::DupeFound, 0);
}

// ---- The wait for the dupe cue with voice navigation on ----

class DupeCueTest : public DupeCheckTest {
 protected:
  void SetUp() override {
    DupeCheckTest::SetUp();
    logging::VoiceNavigation = 1;
    InTable({Contact("W1AW", "FN20", "144 M")});
    TypeEntryLine("W1AW", "FN20");
    // Should the wait never end, the clock jumps far ahead so that the test fails instead of hanging.
    rescue_.setSingleShot(true);
    QObject::connect(&rescue_, &QTimer::timeout, [] { platform::Clock::Advance(60 * 60 * 1000); });
    rescue_.start(20000);
  }
  QTimer rescue_;
};

TEST_F(DupeCueTest, ThePlayerReportingTheEndEndsTheWaitAndAKeyTypedMeanwhileWaitsOutTheHoldAfterTheDupe) {
  QTimer::singleShot(0, [this] {
    EXPECT_EQ(playback.PlayingCount(), 1);
    EXPECT_EQ(form.txtCall.Text(), "W1AW") << "the entry line is cleared after the cue";
    QTest::keyClick(form.txtCall.Widget(), 'K');
    playback.FinishPlaying();
  });
  CommitEntryLine();
  EXPECT_EQ(logging::DupeTime, start_) << "the clock never moved";
  EXPECT_EQ(logging::DupeFound, 1);
  platform::DoEvents();
  EXPECT_EQ(form.txtCall.Text(), "");
  platform::Clock::Advance(3000);
  EXPECT_TRUE(QTest::qWaitFor([this] { return form.txtCall.Text() == "K"; }, peertesting::kBoundMs))
      << "typed into the cleared box";
}

TEST_F(DupeCueTest, APlayerThatNeverReportsTheEndHoldsTheWindowForTheCueAndASecond) {
  bool committed = false;
  bool waitingAtTheLastMillisecond = false;
  QTimer::singleShot(0, [&] {
    platform::Clock::Advance(2499);
    QTimer::singleShot(10, [&] {
      waitingAtTheLastMillisecond = !committed;
      platform::Clock::Advance(1);
    });
  });
  CommitEntryLine();
  committed = true;

  EXPECT_TRUE(waitingAtTheLastMillisecond) << "timers ran during the wait, and it lasted";
  EXPECT_EQ(start_.msecsTo(logging::DupeTime), 1500 + 1000);
  EXPECT_EQ(playback.PlayingCount(), 1);
  EXPECT_EQ(form.txtCall.Text(), "");
}

}  // namespace
