#include "logging/entryline.h"

#include "app/form1.h"
#include "app/globals.h"
#include "keying/blindfrm.h"
#include "logdatabasefixture.h"
#include "logging/globals.h"
#include "logging/keyfilters.h"
#include "logging/logstore.h"
#include "logging/logtable.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/mciwave.h"
#include "platform/paths.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

#include "formtesting.h"
#include "mainwindowonfreshlog.h"
#include "testbound.h"
#include "wavefile.h"

#include <ostream>

namespace {

using logging::LogContact;

LogContact Contact(const QString& call, const QString& grid, const QString& band = "144 M") {
  return {call, "59", grid, "57", "FN31", "2024/03/03", "01:30:00", band, "PH"};
}

// The main window on a fresh log with RST reports recorded: a fixed station in FN31, five hours
// behind UTC, on 144 M phone at 20:30 local time on 2 March 2024, the caret in the call box.
class EntryLineTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    SetFixedStationInFN31OnTwoMetrePhone();
    app::OwnLatitude = 41.5;
    app::OwnLongitude = 72.5;
    app::ProgramDir = dir_.path();
    logging::RstRecord = 1;
    ShowActive(form);
    form.txtCall.SetFocus();
  }

  // Types as an operator does: each key goes to the box that has the focus then, after the keys
  // before it and the Tabs their handlers sent have been handled. "\r" is Enter, "<" the Left arrow.
  void Type(const QString& keys) {
    for (const QChar key : keys) {
      QWidget* focus = QApplication::focusWidget();
      ASSERT_NE(focus, nullptr);
      if (key == '\r') {
        QTest::keyClick(focus, Qt::Key_Return);
      } else if (key == '<') {
        QTest::keyClick(focus, Qt::Key_Left);
      } else {
        QTest::keyClick(focus, key.toLatin1());
      }
      // Each pass handles what was queued before it: a Tab, then the Tab of a box it passed over.
      for (int pass = 0; pass < 3; ++pass) platform::DoEvents();
    }
  }

  QStringList EntryLine() const {
    return {form.txtCall.Text(), form.txtRSTR.Text(), form.txtSec.Text(), form.txtRSTS.Text()};
  }

  // The stored row of a call, in column order.
  QStringList StoredRow(const QString& call) {
    QStringList row;
    logging::OpenContactsOfCall(call);
    if (!logging::LogRecordset.Eof()) {
      for (const char* field : {"calls", "rstr", "gridr", "rsts", "grids", "flddate", "fldtime", "uband", "umode"}) {
        row << logging::LogRecordset.Fields(field);
      }
    }
    logging::LogRecordset.Close();
    return row;
  }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

// ---- Key filters

TEST(KeyFilters, CapitalRaisesOnlyLowerCaseLettersAndNumberLetsOnlyDigitsAndBackspaceThrough) {
  const struct {
    int key, capital, number;
  } cases[] = {{'a', 'A', 0}, {'z', 'Z', 0}, {'A', 'A', 0}, {'`', '`', 0}, {'{', '{', 0}, {'0', '0', '0'},
               {'9', '9', '9'}, {'/', '/', 0}, {':', ':', 0}, {8, 8, 8},      {9, 9, 0},      {13, 13, 0},
               {' ', ' ', 0}, {0xE9, 0xE9, 0}};
  for (const auto& c : cases) {
    int capital = c.key;
    int number = c.key;
    logging::Capital(capital);
    logging::number(number);
    EXPECT_EQ(capital, c.capital) << c.key;
    EXPECT_EQ(number, c.number) << c.key;
  }
}

// ---- A digit after a call starts the RST received

struct DigitCase {
  const char* typed;
  const char* call;
  const char* rstRcvd;
};

void PrintTo(const DigitCase& c, std::ostream* os) { *os << '"' << c.typed << '"'; }

class DigitJumpTest : public EntryLineTest, public ::testing::WithParamInterface<DigitCase> {};

TEST_P(DigitJumpTest, DigitTypedAfterACompleteCallGoesToTheRstReceivedBox) {
  const DigitCase& c = GetParam();
  Type(c.typed);
  EXPECT_EQ(form.txtCall.Text(), c.call);
  EXPECT_EQ(form.txtRSTR.Text(), c.rstRcvd);
  const bool jumped = *c.rstRcvd != '\0';
  EXPECT_EQ(form.txtRSTR.HasFocus(), jumped);
  if (jumped) {
    EXPECT_EQ(form.txtRSTR.SelStart(), form.txtRSTR.Text().size()) << "the caret after the digits";
    EXPECT_EQ(form.txtRSTS.Text(), "59") << "the RST sent got the default";
    EXPECT_EQ(logging::PendingKeyTarget, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Calls, DigitJumpTest,
                         ::testing::Values(DigitCase{"w1ab5", "W1AB", "5"}, DigitCase{"W1AB59", "W1AB", "59"},
                                           DigitCase{"W15", "W15", ""},           // fewer than 3 characters
                                           DigitCase{"W1A<2", "W12A", ""},        // the caret inside the call
                                           DigitCase{"9A15", "9A15", ""},         // its only digit is its last
                                           DigitCase{"W1AB/3", "W1AB/3", ""},     // a portable call
                                           DigitCase{"2AB5", "2AB5", ""},         // the first digit is not counted
                                           DigitCase{"w1\"ab", "W1AB", ""}));     // a double quote is dropped

// ---- Space, carried keys and the RST defaults

TEST_F(EntryLineTest, SpaceMovesCallRstReceivedGridRstSentWithoutTypingABlank) {
  Type("w1ab ");
  EXPECT_TRUE(form.txtRSTR.HasFocus());
  EXPECT_EQ(form.txtRSTR.SelLength(), 2) << "the default is selected, so typing replaces it";
  Type("57 ");
  EXPECT_TRUE(form.txtSec.HasFocus());
  Type("fn20ab ");
  EXPECT_TRUE(form.txtRSTS.HasFocus());
  Type("55");
  EXPECT_EQ(EntryLine(), QStringList({"W1AB", "57", "FN20ab", "55"})) << "the subsquare keeps its case";
  EXPECT_EQ(logging::CurrentCall, "W1AB");
  EXPECT_EQ(logging::CurrentRstSent, "55");
}

TEST_F(EntryLineTest, ALetterTypedIntoTheRstReceivedBoxStartsTheGrid) {
  Type("W1AB ");
  Type("f");
  EXPECT_TRUE(form.txtSec.HasFocus());
  EXPECT_EQ(form.txtRSTR.Text(), "59");
  Type("n20");
  EXPECT_EQ(form.txtSec.Text(), "FN20");
  EXPECT_EQ(logging::PendingKeyTarget, 0);
}

TEST_F(EntryLineTest, TheRstDefaultsFollowTheModeAndFillOnlyEmptyBoxes) {
  const struct {
    const char* mode;
    const char* rstSentBefore;
    const char* rstRcvd;
    const char* rstSent;
  } cases[] = {{"PH", "", "59", "59"}, {"CW", "", "599", "599"}, {"cw", "", "599", "599"}, {"CW", "57", "599", "57"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    logging::CurrentMode = c.mode;
    form.txtCall.SetFocus();
    form.txtRSTR.SetText("");
    form.txtRSTS.SetText(c.rstSentBefore);
    form.txtCall.SetText("W1AB");
    Type(" ");
    EXPECT_EQ(form.txtRSTR.Text(), c.rstRcvd);
    EXPECT_EQ(form.txtRSTR.SelLength(), form.txtRSTR.Text().size());
    EXPECT_EQ(form.txtRSTS.Text(), c.rstSent);
  }
}

TEST_F(EntryLineTest, WithRstReportsNotRecordedBothRstBoxesArePassedOver) {
  logging::RstRecord = 2;
  Type("W1AB ");
  EXPECT_TRUE(form.txtSec.HasFocus());
  Type("FN20 ");
  EXPECT_TRUE(form.txtCall.HasFocus()) << "the RST sent box passed the focus on";
  EXPECT_EQ(EntryLine(), QStringList({"W1AB", "", "FN20", ""}));
  Type("\r");
  EXPECT_EQ(StoredRow("W1AB"), QStringList({"W1AB", "", "FN20", "", "FN31", "2024/03/03", "01:30:00", "144 M", "PH"}));
}

// ---- A whole contact, key by key

TEST_F(EntryLineTest, AContactTypedKeyByKeyIsStoredAsOneRow) {
  const struct {
    const char* keys;
    const char* rstRcvd;
  } typings[] = {{"w1ab 57 fn20ab 55\r", "57"}, {"k2xy579 fn20ab 55\r", "579"}};
  for (const auto& typing : typings) {
    SCOPED_TRACE(typing.keys);
    Type(typing.keys);
    const QString call = QString(typing.keys).left(4).toUpper();
    EXPECT_EQ(StoredRow(call),
              QStringList({call, typing.rstRcvd, "FN20ab", "55", "FN31", "2024/03/03", "01:30:00", "144 M", "PH"}));
    EXPECT_EQ(EntryLine(), QStringList({"", "", "", ""}));
    EXPECT_TRUE(form.txtCall.HasFocus());
  }
  EXPECT_EQ(logging::CountLogRows(), 2);
  EXPECT_EQ(dialogs.Beeps(), 0);
}

TEST_F(EntryLineTest, EnterInAnyEntryBoxCommits) {
  for (platform::TextBox* box : {&form.txtCall, &form.txtRSTR, &form.txtSec, &form.txtRSTS}) {
    SCOPED_TRACE(box->Name().toStdString());
    form.lblDialog.SetCaption("");
    QTest::keyClick(box->Widget(), Qt::Key_Return);
    EXPECT_EQ(form.lblDialog.Caption(), "Need Call Sign!");
  }
}

// ---- The "New" indicator, heading and distance

struct NewCase {
  const char* what;
  const char* band;
  std::uint8_t rover, contestType;
  const char* ownGrid;
  const char* typed;
  bool shown;
};

void PrintTo(const NewCase& c, std::ostream* os) { *os << c.what; }

class NewGridTest : public EntryLineTest, public ::testing::WithParamInterface<NewCase> {};

TEST_P(NewGridTest, NewShowsForAGridOfFourOrMoreCharactersNotInTheBandsWorkedList) {
  const NewCase& c = GetParam();
  logging::BandGrids[1].Set(1, "fn20");
  logging::BandGrids[1].Set(2, "FN22 FN21");
  logging::BandGridCount[1] = 2;
  logging::CurrentBand = c.band;
  app::Rover = c.rover;
  app::ContestType = c.contestType;
  app::OwnGrid = c.ownGrid;
  form.txtSec.SetFocus();
  Type(c.typed);
  EXPECT_EQ(form.Label3.Visible(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, NewGridTest,
    ::testing::Values(NewCase{"3 characters", "144 M", 0, 1, "FN31", "FN2", false},
                      NewCase{"worked, other case", "144 M", 0, 1, "FN31", "FN20", false},
                      NewCase{"band name in other case", "144 m", 0, 1, "FN31", "FN20", false},
                      NewCase{"not worked", "144 M", 0, 1, "FN31", "FN21", true},
                      NewCase{"worked on another band", "432 M", 0, 1, "FN31", "FN20", true},
                      NewCase{"no such band", "6 M", 0, 1, "FN31", "FN20", true},
                      NewCase{"6 characters", "144 M", 0, 1, "FN31", "FN20ab", true},
                      NewCase{"rover in contest 5, from that grid", "144 M", 1, 5, "FN21", "FN22", false},
                      NewCase{"rover in contest 5, from another grid", "144 M", 1, 5, "FN31", "FN22", true},
                      NewCase{"rover in another contest", "144 M", 1, 4, "FN21", "FN20", false}));

TEST_F(EntryLineTest, ABandChangeReevaluatesTheGridStanding) {
  logging::BandGrids[1].Set(1, "FN20");
  logging::BandGridCount[1] = 1;
  form.txtSec.SetFocus();
  Type("FN20");
  ASSERT_FALSE(form.Label3.Visible());
  logging::CurrentBand = "432 M";
  form.txtSec_Change();  // as the band and mode menus run it
  EXPECT_TRUE(form.Label3.Visible());
}

TEST_F(EntryLineTest, HeadingAndDistanceAreClearedForAGridOfFewerThanTwoCharacters) {
  const struct {
    const char* grid;
    bool cleared;
  } cases[] = {{"F", true}, {"", true}, {"FN", false}, {"FN42", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.grid);
    form.txtSec.SetText("EN82");
    form.Label23.SetCaption("45");
    form.Label24.SetCaption("120");
    form.txtSec.SetText(c.grid);
    EXPECT_EQ(form.Label23.Caption().isEmpty(), c.cleared);
    EXPECT_EQ(form.Label24.Caption().isEmpty(), c.cleared);
  }
}

// ---- Recall

TEST_F(EntryLineTest, RecallWithAnEmptyLogDoesNothing) {
  form.txtSec.SetFocus();
  form.mnuRecall.Action()->trigger();
  platform::DoEvents();
  EXPECT_TRUE(form.txtSec.HasFocus());
  EXPECT_EQ(EntryLine(), QStringList({"", "", "", ""}));
}

TEST_F(EntryLineTest, RecallRefillsTheLastCallAndGridAndMovesOnToTheRstBoxWhichWarnsOfTheDupe) {
  logging::AppendContact(Contact("K2XY", "FN12"));
  logging::AppendContact(Contact("W1AW", "FN20"));
  form.txtSec.SetFocus();
  form.mnuRecall.Action()->trigger();
  platform::DoEvents();

  EXPECT_TRUE(form.txtRSTR.HasFocus());
  EXPECT_EQ(EntryLine(), QStringList({"W1AW", "59", "FN20", "59"}));
  EXPECT_EQ(form.txtSec.SelLength(), 4);
  EXPECT_TRUE(form.lblDialog.Caption().startsWith("Duplicate Unless Rover! W1AW FN20"))
      << form.lblDialog.Caption().toStdString();
}

// ---- Menus

TEST_F(EntryLineTest, TheRstAndListPreviousMenusSetTheirOptionsAndCheckMarks) {
  form.mnuRstDontRecord.Action()->trigger();
  EXPECT_EQ(logging::RstRecord, 2);
  EXPECT_FALSE(form.mnuRstRecord.Checked());
  EXPECT_TRUE(form.mnuRstDontRecord.Checked());
  form.mnuRstRecord.Action()->trigger();
  EXPECT_EQ(logging::RstRecord, 1);
  EXPECT_TRUE(form.mnuRstRecord.Checked());
  EXPECT_FALSE(form.mnuRstDontRecord.Checked());

  form.mnuListPrevious.Action()->trigger();
  EXPECT_TRUE(form.mnuListPrevious.Checked());
  EXPECT_EQ(logging::ListPrevious, 1);
  form.mnuListPrevious.Action()->trigger();
  EXPECT_FALSE(form.mnuListPrevious.Checked());
  EXPECT_EQ(logging::ListPrevious, 0);
}

// ---- Focus on the call box

TEST_F(EntryLineTest, FocusOnAnEmptyCallBoxHidesTheListButtonsClearsTheReportsAndStartsThePoll) {
  form.txtRSTR.SetFocus();
  form.txtRSTR.SetText("57");
  form.txtRSTS.SetText("55");
  form.cmdEdit.SetVisible(true);
  form.cmdDelete.SetVisible(true);
  form.Timer3.SetEnabled(false);  // as a click in the contact list stops it
  form.txtCall.SetFocus();
  EXPECT_EQ(EntryLine(), QStringList({"", "", "", ""}));
  EXPECT_FALSE(form.cmdEdit.Visible());
  EXPECT_FALSE(form.cmdDelete.Visible());
  EXPECT_TRUE(form.Timer3.Enabled());
}

// ---- Voice cues

class VoiceCueTest : public EntryLineTest {
 protected:
  void SetUp() override {
    EntryLineTest::SetUp();
    for (const char* cue : {"Call", "RstRcvd", "Grid", "RstSnt"}) {
      ASSERT_TRUE(WriteWaveFile(dir_.filePath(QString(cue) + ".wav"), 300));
    }
    // Loaded already, so that only the boxes' cues are heard: its load announces the stored mode.
    platform::Instance<keying::BlindFrm>();
  }
  // The cues played from the given one on, by name.
  QStringList CuesFrom(qsizetype first) const {
    QStringList cues;
    for (const QString& file : playback.Played().mid(first)) cues << QFileInfo(file).baseName();
    return cues;
  }
  platform::ScriptedWavePlayback playback;
};

TEST_F(VoiceCueTest, EachBoxAnnouncesItselfAsItGetsTheFocusAndAPassedOverBoxSaysNothing) {
  const struct {
    std::uint8_t voice, rstRecord;
    const char* keys;
    QStringList cues;
  } cases[] = {{0, 1, "W1AB 59 FN20 ", {}},
               {1, 1, "W1AB 59 FN20 ", {"Call"}},
               {2, 1, "W1AB 59 FN20 ", {"Call", "RstRcvd", "Grid", "RstSnt"}},
               {2, 2, "W1AB FN20 ", {"Call", "Grid", "Call"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    logging::VoiceNavigation = 0;
    form.txtSec.SetFocus();
    form.txtCall.SetText("");
    logging::VoiceNavigation = c.voice;
    logging::RstRecord = c.rstRecord;
    const qsizetype before = playback.Played().size();
    form.txtCall.SetFocus();
    Type(c.keys);
    EXPECT_EQ(CuesFrom(before), c.cues);
  }
}

// ---- Post-contest entry

TEST_F(EntryLineTest, PostContestModeShowsTheDateAndTimeBoxesWithTodayFilledInAsTheDateBoxGetsTheFocus) {
  form.mnuPostContest.Action()->trigger();
  EXPECT_TRUE(form.mnuPostContest.Checked());
  for (platform::Control* control : std::initializer_list<platform::Control*>{
           &form.lblPostConDate, &form.txtPostConDate, &form.lblPostConTime, &form.txtPostConTime}) {
    EXPECT_TRUE(control->Visible()) << control->Name().toStdString();
  }

  form.txtPostConDate.SetFocus();
  EXPECT_EQ(form.txtPostConDate.Text(), "2024/03/02");
  EXPECT_EQ(form.txtPostConDate.SelLength(), 10);
  form.txtPostConDate.SetText("2024/03/01");
  form.txtCall.SetFocus();
  form.txtPostConDate.SetFocus();
  EXPECT_EQ(form.txtPostConDate.Text(), "2024/03/01") << "a date typed before stays";

  form.txtPostConTime.SetText("09:30");
  form.txtPostConTime.SetFocus();
  EXPECT_EQ(form.txtPostConTime.SelLength(), 5);
  Type("1 ");
  EXPECT_TRUE(form.txtPostConDate.HasFocus()) << "Space moves on";
  EXPECT_EQ(form.txtPostConTime.Text(), "1");

  form.mnuPostContest.Action()->trigger();
  EXPECT_FALSE(form.mnuPostContest.Checked());
  EXPECT_FALSE(form.txtPostConDate.Visible());
  EXPECT_FALSE(form.lblPostConTime.Visible());
}

TEST_F(EntryLineTest, ThePostContestBoxesTakeOnlyTheCharactersOfADateOrATime) {
  form.mnuPostContest.Action()->trigger();
  const struct {
    platform::TextBox* box;
    const char* typed;
    const char* shown;
  } cases[] = {{&form.txtPostConDate, "2024-03/0a2:", "202403/02"}, {&form.txtPostConTime, "1/2:3a0", "12:30"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box->Name().toStdString());
    c.box->SetFocus();
    c.box->SetText("");
    Type(c.typed);
    Type("\b");
    EXPECT_EQ(c.box->Text(), QString(c.shown).chopped(1)) << "Backspace goes through";
  }
  Type("\r");
  EXPECT_EQ(form.lblDialog.Caption(), "Invalid date format!") << "Enter commits, which refuses the date";
}

// ---- Pasting

TEST_F(EntryLineTest, APasteIsTypedIntoTheEntryLineKeyByKey) {
  platform::Clipboard::SetText("w1\"ab59 fn20");
  // Shift+Insert: the main window swallows the character of every Ctrl key, Ctrl+V's included.
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_Insert, Qt::ShiftModifier);
  ASSERT_TRUE(QTest::qWaitFor([this] { return form.txtSec.Text() == "FN20"; }, peertesting::kBoundMs));
  EXPECT_EQ(EntryLine(), QStringList({"W1AB", "59", "FN20", "59"}));
  EXPECT_TRUE(form.txtSec.HasFocus());
}

}  // namespace
