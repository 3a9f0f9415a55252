#include "logging/contactlist.h"

#include "logging/contactrow.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logdatabasefixture.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/preferences.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/trace.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "editwindowtesting.h"
#include "formtesting.h"
#include "mainwindowonfreshlog.h"

#include <functional>

namespace {

using logging::LogContact;

LogContact Contact(int n, const QString& band = "144 M", const QString& time = "01:30:00") {
  return {QStringLiteral("K%1").arg(n), "59", "FN20", "57", "FN31", "2024/03/03", time, band, "PH"};
}

// Records 1 to `count` on one band.
void Log(int count, const QString& band = "144 M") {
  for (int n = logging::LogCount + 1, last = logging::LogCount + count; n <= last; ++n) {
    logging::AppendContact(Contact(n, band));
  }
}

QStringList Records(int newest, int oldest) {
  QStringList records;
  for (int n = newest; n >= oldest; --n) records << QString::number(n);
  return records;
}

TEST(ContactListRow, StoredDatesAndTimesShowAsMonthDayAndHourMinuteOtherTextsAsTheyAre) {
  const std::pair<const char*, const char*> dates[] = {
      {"2024/03/03", "03/03"}, {"2024/3/2", "03/02"},   {"2024/12/31", "12/31"},     {"2024/02/30", "2024/02/30"},
      {"2024-03-03", "03/03"}, {"6/8/2024", "06/08"},   {"24/03/03x", "24/03/03x"}, {"", ""},
  };
  for (const auto& [stored, shown] : dates) EXPECT_EQ(logging::ListDate(stored), shown) << stored;
  const std::pair<const char*, const char*> times[] = {
      {"01:30:00", "01:30"}, {"23:59", "23:59"},       {"1:30:00", "01:30"}, {"7:05", "07:05"},
      {"7:5:3", "07:05"},    {" 18:05:33", "18:05"},   {"24:00", "24:00"},   {"12:60:00", "12:60:00"},
      {"12:3x", "12:3x"},    {"", ""},
  };
  for (const auto& [stored, shown] : times) EXPECT_EQ(logging::ListTime(stored), shown) << stored;
}

// The main window of a fixed station in FN31 on 144 M phone, its list's columns made as the load
// makes them, the caret in the call box (which starts the shared-log poll).
class ContactListTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    SetFixedStationInFN31OnTwoMetrePhone();
    app::ProgramDir = dir_.path();
    logging::RstRecord = 1;
    logging::CreateContactListColumns(form);
    ShowActive(form);
    form.txtCall.SetFocus();
  }

  // What cmdList's click leaves behind for "All".
  void ListAll() {
    logging::ListAllContacts = 1;
    form.cmdList.SetCaption("All");
  }

  platform::ListView& List() { return form.ListView1; }
  QStringList Listed(int column = 0) {
    QStringList texts;
    for (int i = 1; i <= List().ListItems.Count(); ++i) {
      texts << (column == 0 ? List().ListItems(i).Text() : List().ListItems(i).SubItems(column));
    }
    return texts;
  }
  QStringList Row(int index) {
    QStringList row = {List().ListItems(index).Text()};
    for (int column = 1; column <= 8; ++column) row << List().ListItems(index).SubItems(column);
    return row;
  }

  void ClickList(Qt::MouseButton button) {
    QTableView* table = List().View();
    QTest::mouseClick(table->viewport(), button, {}, QPoint(10, 5));
  }
  void ClickHeader(int section) {
    QHeaderView* header = List().View()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(section) + 5, 5));
  }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

TEST_F(ContactListTest, ListsNewestFirstTheLastTwentyOrAllOfAllBandsOrTheCurrentBand) {
  const struct {
    const char* name;
    std::function<void()> log;
    bool all;
    bool currentBand;
    QStringList records;
  } cases[] = {
      {"5 contacts, last 20", [] { Log(5); }, false, false, Records(5, 1)},
      {"20 contacts, last 20", [] { Log(20); }, false, false, Records(20, 1)},
      {"25 contacts, last 20", [] { Log(25); }, false, false, Records(25, 6)},
      {"25 contacts, all", [] { Log(25); }, true, false, Records(25, 1)},
      {"30 elsewhere then 3 here, last 20", [] { Log(30, "432 M"); Log(3); }, false, true, Records(33, 31)},
      {"band names in either case", [] { Log(2, "144 m"); Log(1, "50 M"); }, false, true, Records(2, 1)},
      {"25 here between others, last 20 of the band",
       [] { Log(10, "50 M"); Log(25); Log(5, "50 M"); }, false, true, Records(35, 16)},
      {"25 here between others, all of the band", [] { Log(10, "50 M"); Log(25); Log(5, "50 M"); }, true, true,
       Records(35, 11)},
      {"an empty log", [] {}, true, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    logging::ClearLogStore();
    logging::ListAllContacts = 0;
    form.cmdList.SetCaption("Last 20");
    form.Command3.SetCaption(c.currentBand ? "Current Band" : "All Bands");
    if (c.all) ListAll();
    c.log();
    form.ListContacts();
    EXPECT_EQ(Listed(), c.records);
  }
}

TEST_F(ContactListTest, ACommittedContactHeadsTheListWithItsDateTimeAndTheBandsFirstThreeCharacters) {
  logging::AppendContact({"W9XYZ", "55", "EN52", "57", "FN31", "2024/03/02", "23:59", "1.3 G", "CW"});  // after the contest
  logging::AppendContact({"K1ABC", "59", "FN42", "59", "FN31", "2024/03/02", "23:58:07", "50 M", "PH"});

  QTest::keyClicks(form.txtCall.Widget(), "W1AW");
  QTest::keyClicks(form.txtRSTR.Widget(), "59");
  QTest::keyClicks(form.txtSec.Widget(), "FN20");
  QTest::keyClicks(form.txtRSTS.Widget(), "57");
  QTest::keyClick(form.txtRSTS.Widget(), Qt::Key_Return);

  ASSERT_EQ(List().ListItems.Count(), 3);
  EXPECT_EQ(Row(1), QStringList({"3", "W1AW", "59", "FN20", "57", "03/03 01:30", "144", "FN31", "PH"}));
  EXPECT_EQ(Row(2), QStringList({"2", "K1ABC", "59", "FN42", "59", "03/02 23:58", "50 ", "FN31", "PH"}));
  EXPECT_EQ(Row(3), QStringList({"1", "W9XYZ", "55", "EN52", "57", "03/02 23:59", "1.3", "FN31", "CW"}));
  EXPECT_EQ(form.ListView1.ToolTipText(), "Click record to edit or delete.");
}

// After each commit the list shows what filling it again would show. In step with the log, it
// takes the contact as one row put in at the top; anything else fills it again.
TEST_F(ContactListTest, ACommitTakesItsRowAsARefillWouldShowIt) {
  const struct {
    const char* name;
    std::function<void()> before;  // the log and the view, the list filled after it
    std::function<void()> disturb;  // what happens to the list or the log before the commits
    bool oneRow;
  } cases[] = {
      {"all bands, last 20", [] { Log(25); }, [] {}, true},
      {"all bands, last 20 of a short log", [] { Log(18); }, [] {}, true},
      {"all bands, all", [&] { Log(25); ListAll(); }, [] {}, true},
      {"current band, last 20", [&] { Log(10, "50 M"); Log(22); form.Command3.SetCaption("Current Band"); }, [] {},
       true},
      {"current band, all", [&] { Log(10, "50 M"); Log(22); form.Command3.SetCaption("Current Band"); ListAll(); },
       [] {}, true},
      {"sorted by a column", [] { Log(25); }, [&] { ClickHeader(1); }, false},
      {"another PC's row taken in without the list", [] { Log(25); }, [] { Log(1); }, false},
      {"a new log", [] { Log(25); }, [] { logging::ClearContacts(); }, false},
      {"the earlier contacts of a call listed", [] { Log(25); },
       [&] {
         form.mnuListPrevious.SetChecked(true);
         QTest::keyClicks(form.txtCall.Widget(), "K3");
         form.txtRSTR.SetFocus();
         form.mnuListPrevious.SetChecked(false);
       },
       false},
  };
  int serial = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    logging::ClearLogStore();
    logging::ListAllContacts = 0;
    form.cmdList.SetCaption("Last 20");
    form.Command3.SetCaption("All Bands");
    form.txtCall.SetText(QString());
    c.before();
    form.ListContacts();
    c.disturb();
    for (int commit = 1; commit <= 3; ++commit) {
      QSignalSpy refills(List().Model(), &QAbstractItemModel::modelReset);
      form.txtCall.SetText(QString());
      QTest::keyClicks(form.txtCall.Widget(), QStringLiteral("N%1AA").arg(++serial));
      QTest::keyClicks(form.txtSec.Widget(), "FN20");
      QTest::keyClick(form.txtSec.Widget(), Qt::Key_Return);
      ASSERT_EQ(logging::LogCalls[logging::LogCount], QStringLiteral("N%1AA").arg(serial));
      EXPECT_EQ(refills.count(), c.oneRow || commit > 1 ? 0 : 1) << "commit " << commit;
      QList<QStringList> shown;
      for (int i = 1; i <= List().ListItems.Count(); ++i) shown << Row(i);
      form.ListContacts();
      QList<QStringList> refilled;
      for (int i = 1; i <= List().ListItems.Count(); ++i) refilled << Row(i);
      EXPECT_EQ(shown, refilled) << "commit " << commit;
    }
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(ContactListTest, TheBandButtonSwitchesBetweenAllBandsAndTheCurrentBand) {
  Log(2, "50 M");
  Log(1);
  Log(1, "50 M");
  form.ListContacts();
  ASSERT_EQ(Listed(), Records(4, 1));

  QTest::mouseClick(form.Command3.Widget(), Qt::LeftButton);
  EXPECT_EQ(form.Command3.Caption(), "Current Band");
  EXPECT_EQ(Listed(), QStringList{"3"});
  EXPECT_TRUE(form.txtCall.HasFocus());

  QTest::mouseClick(form.Command3.Widget(), Qt::LeftButton);
  EXPECT_EQ(form.Command3.Caption(), "All Bands");
  EXPECT_EQ(Listed(), Records(4, 1));
}

TEST_F(ContactListTest, ARecordCountBeyondTheStoredContactsListsNothingAndTheProgramGoesOn) {
  Log(3);
  logging::LogCount = 5;
  form.ListContacts();
  EXPECT_EQ(List().ListItems.Count(), 0);
  logging::LogCount = 3;
  form.ListContacts();
  EXPECT_EQ(Listed(), Records(3, 1));
}

TEST_F(ContactListTest, AColumnHeaderSortsOnceByItsTextUntilTheNextRefill) {
  for (const char* call : {"W1AW", "K1ABC", "n2xy", "AA1A", "W1AA", "K9Z", "VE3X", "N2AB", "G4C", "K2A", "W3B", "AB1C"}) {
    LogContact contact = Contact(0);
    contact.Call = call;
    logging::AppendContact(contact);
  }
  ListAll();
  form.ListContacts();

  ClickHeader(1);
  EXPECT_EQ(Listed(1), QStringList({"AA1A", "AB1C", "G4C", "K1ABC", "K2A", "K9Z", "N2AB", "n2xy", "VE3X", "W1AA",
                                    "W1AW", "W3B"}));
  EXPECT_FALSE(List().Sorted());
  ClickHeader(0);
  EXPECT_EQ(Listed(), QStringList({"1", "10", "11", "12", "2", "3", "4", "5", "6", "7", "8", "9"})) << "as text";

  form.ListContacts();
  EXPECT_EQ(Listed(), Records(12, 1));
}

TEST_F(ContactListTest, ALeftClickOnAnEmptyListLeavesThePollRunning) {
  ASSERT_TRUE(form.Timer3.Enabled());
  ClickList(Qt::LeftButton);
  EXPECT_TRUE(form.Timer3.Enabled());
  EXPECT_FALSE(form.cmdEdit.Visible());
  EXPECT_FALSE(form.cmdDelete.Visible());
}

TEST_F(ContactListTest, ALeftClickOnAFilledListStopsThePollAndOffersEditAndDeleteUntilTheCallBoxHasTheFocus) {
  Log(2);
  form.ListContacts();
  ASSERT_TRUE(form.Timer3.Enabled());
  ClickList(Qt::LeftButton);
  EXPECT_FALSE(form.Timer3.Enabled());
  EXPECT_TRUE(form.cmdEdit.Visible());
  EXPECT_TRUE(form.cmdDelete.Visible());

  form.txtCall.SetFocus();
  EXPECT_TRUE(form.Timer3.Enabled());
  EXPECT_FALSE(form.cmdEdit.Visible());
}

TEST_F(ContactListTest, ARightClickOnAFilledListOpensTheEdit) {
  Log(1);
  form.ListContacts();
  bool editShown = false;
  CloseEditWindowOnceShown([&] { editShown = true; });
  ClickList(Qt::RightButton);
  EXPECT_TRUE(editShown);
  EXPECT_FALSE(platform::IsLoaded<logtools::frmEditCon>());
}

TEST_F(ContactListTest, ThePanelButtonSwitchesToTheGridMapAndBackAndSavesTheChoice) {
  const auto savedView = [] {
    return logging::ReadPreferencesFile(app::ProgramDir + QStringLiteral("\\") + logging::PreferencesFileName).PanelView;
  };
  QTest::mouseClick(form.Command2.Widget(), Qt::LeftButton);
  EXPECT_EQ(form.Command2.Caption(), "View Bands");
  EXPECT_TRUE(form.lblGrid(0).Visible());
  EXPECT_FALSE(form.List1.Visible());
  EXPECT_EQ(savedView(), "View Bands");
  EXPECT_TRUE(form.txtCall.HasFocus());

  QTest::mouseClick(form.Command2.Widget(), Qt::LeftButton);
  EXPECT_EQ(form.Command2.Caption(), "View Grids");
  EXPECT_FALSE(form.lblGrid(0).Visible());
  EXPECT_TRUE(form.List1.Visible());
  EXPECT_EQ(savedView(), "View Grids");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

}  // namespace
