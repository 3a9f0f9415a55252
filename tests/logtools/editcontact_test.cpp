#include "app/form1.h"
#include "app/globals.h"
#include "logging/contactlist.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logtools/frmeditcon.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"

#include <QFile>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "anotherpc.h"
#include "modalwindowtesting.h"
#include "formtesting.h"
#include "logdatabasefixture.h"
#include "stationviews.h"

namespace {

using logtools::frmEditCon;

QStringList Contact(const QString& call, const QString& time = QStringLiteral("12:00:00"),
                    const QString& band = QStringLiteral("144 M")) {
  return {call, "59", "FN20", "57", "FN31", "2024/03/02", time, band, "PH"};
}

// The main window of a station on a shared log with the contacts other PCs logged, listed newest
// first; the operator picks a row and edits it through the Edit button.
class EditContactTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    app::ProgramDir = dir_.path();
    logging::CurrentBand = QStringLiteral("144 M");
    logging::CurrentMode = QStringLiteral("PH");
    logging::CreateContactListColumns(form);
    ShowActive(form);
  }

  void Log(const QList<QStringList>& rows) {
    for (const QStringList& row : rows) InsertFromAnotherPc(path_, row);
    form.WorkList();
  }

  static void Click(platform::CommandButton& button) { QTest::mouseClick(button.Widget(), Qt::LeftButton); }

  // Edits the contact of a row of the list (1 the top): the operator's work runs in the edit
  // window, which the close box closes unless the work closed it. The log is reloaded after.
  void EditRow(int row, const std::function<void(frmEditCon&)>& work) {
    ClickContactRow(row);
    bool shown = false;
    OperateModalWindowOnceShown<frmEditCon>([&](frmEditCon& edit) {
      shown = true;
      work(edit);
    });
    Click(form.cmdEdit);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(platform::IsLoaded<frmEditCon>());
  }

  // Selects the box's text and types over it, as the operator replaces a value.
  static void Retype(platform::TextBox& box, const char* typed) {
    box.SetFocus();
    box.SetSelStart(0);
    box.SetSelLength(static_cast<int>(box.Text().size()));
    QTest::keyClicks(box.Widget(), typed);
  }
  static void Enter(platform::TextBox& box) { QTest::keyClick(box.Widget(), Qt::Key_Return); }
  static void Leave(platform::TextBox& box) { QTest::keyClick(box.Widget(), Qt::Key_Tab); }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

// A rover logs the same call on the same band in the same minute from two grids: an edit of one
// contact must leave the other as it is.
TEST_F(EditContactTest, TheBoxesShowTheContactAndAChangedReportRewritesItsOneRowOnly) {
  QStringList otherGrid = Contact("K1");
  otherGrid[2] = "FN21";
  Log({Contact("K1"), otherGrid, Contact("K2", "12:01:00")});
  EditRow(3, [&](frmEditCon& edit) {
    EXPECT_EQ(QStringList({edit.txtEditCall.Text(), edit.txtEditCk.Text(), edit.txtEditSec.Text(),
                           edit.txtEditNum.Text(), edit.txtEditPre.Text(), edit.txtEditDate.Text(),
                           edit.txtEditTime.Text(), edit.txtEditBnd.Text(), edit.txtEditMode.Text()}),
              Contact("K1"));
    EXPECT_FALSE(edit.Label1.Visible() || edit.cmdDeleteDupe.Visible() || edit.Label3.Visible() ||
                 edit.Label5.Visible());
    EXPECT_TRUE(edit.txtEditCall.HasFocus());
    Retype(edit.txtEditCk, "55");
    Enter(edit.txtEditCk);
    EXPECT_FALSE(edit.Visible()) << "stored and closed";
  });

  QStringList edited = Contact("K1");
  edited[1] = "55";
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({edited, otherGrid, Contact("K2", "12:01:00")}));
  EXPECT_EQ(form.ListView1.ListItems(3).SubItems(2), "55");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(dialogs.Beeps(), 0);
  EXPECT_TRUE(form.Timer3.Enabled());
}

TEST_F(EditContactTest, OfAContactStoredTwiceOnlyTheEditedCopyChanges) {
  Log({Contact("K1"), Contact("K1")});
  EditRow(1, [&](frmEditCon& edit) {
    Retype(edit.txtEditCall, "K3");
    Click(edit.cmdDone);
  });
  EXPECT_EQ(RowsOnFile(path_).count(Contact("K1")), 1);
  EXPECT_EQ(RowsOnFile(path_).count(Contact("K3")), 1);
}

// Another program on the shared log stored a call in Latin-1 bytes; the list shows it with U+FFFD,
// and that contact is edited and deleted like any other.
TEST_F(EditContactTest, AContactStoredInBytesThatAreNotUtf8IsEditedAndDeleted) {
  ExecuteFromAnotherPc(path_, "insert into tbllog values (cast(X'4DFC4C4C4552' as text), '59', 'FN20', '57', "
                              "'FN31', '2024/03/02', '12:00:00', '144 M', 'PH')");
  Log({Contact("K2", "12:01:00")});
  ASSERT_EQ(form.ListView1.ListItems(2).SubItems(1), QString::fromUtf8("M\uFFFDLLER"));

  EditRow(2, [&](frmEditCon& edit) {
    Retype(edit.txtEditCk, "55");
    Click(edit.cmdDone);
  });
  ASSERT_EQ(RowsOnFile(path_).size(), 2);
  EXPECT_EQ(RowsOnFile(path_)[0][1], "55");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());

  ClickContactRow(2);
  dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);
  Click(form.cmdDelete);
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>{Contact("K2", "12:01:00")});
  EXPECT_EQ(logging::LogCount, 1);
}

TEST_F(EditContactTest, ADupeBeepsOncePerMatchOffersDeleteDupeAndStoresNothing) {
  Log({Contact("K1"), Contact("K1", "12:05:00"), Contact("K2", "12:10:00")});
  EditRow(1, [&](frmEditCon& edit) {
    Retype(edit.txtEditCall, "K1");
    Click(edit.cmdDone);
    EXPECT_EQ(dialogs.Beeps(), 2);
    EXPECT_TRUE(edit.Visible());
    EXPECT_TRUE(edit.Label1.Visible());
    EXPECT_EQ(edit.Label1.Caption(), "Dupe!");
    EXPECT_TRUE(edit.cmdDeleteDupe.Visible());
    EXPECT_EQ(edit.cmdDeleteDupe.Caption(), "Delete Dupe");

    Retype(edit.txtEditCall, "K3");
    Click(edit.cmdDone);
    EXPECT_EQ(dialogs.Beeps(), 2);
    EXPECT_FALSE(edit.Visible());
    EXPECT_FALSE(edit.Label1.Visible());
    EXPECT_TRUE(edit.cmdDeleteDupe.Visible()) << "the button stays until the window closes";
  });
  EXPECT_EQ(RowsOnFile(path_),
            QList<QStringList>({Contact("K1"), Contact("K1", "12:05:00"), Contact("K3", "12:10:00")}));
}

TEST_F(EditContactTest, AContactIsNoDupeOfItselfAndAnEditOfOtherCaseIsNone) {
  Log({Contact("K1"), Contact("K2", "12:01:00")});
  EditRow(2, [&](frmEditCon& edit) { Click(edit.cmdDone); });
  EditRow(1, [&](frmEditCon& edit) {
    edit.txtEditCall.SetText("k1");  // pasted: no key filter upper-cases it
    Click(edit.cmdDone);
  });
  EXPECT_EQ(dialogs.Beeps(), 0);
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({Contact("K1"), Contact("k1", "12:01:00")}));
}

TEST_F(EditContactTest, KeysAreFilteredBoxByBox) {
  Log({Contact("K1")});
  const struct {
    platform::TextBox frmEditCon::*box;
    const char* typed;
    const char* shown;
  } cases[] = {
      {&frmEditCon::txtEditCall, "w1 'a\"w/p", "W1AW/P"},
      {&frmEditCon::txtEditCk, "5'9\" a", "5'9 A"},
      {&frmEditCon::txtEditPre, "fn31", "FN31"},
      {&frmEditCon::txtEditMode, "cw", "CW"},
      {&frmEditCon::txtEditDate, "2024/03-/0x2", "2024/03/02"},
      {&frmEditCon::txtEditTime, "12:3a4-5", "12:345"},
  };
  EditRow(1, [&](frmEditCon& edit) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.typed);
      Retype(edit.*c.box, c.typed);
      EXPECT_EQ((edit.*c.box).Text(), c.shown);
    }
  });
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({Contact("K1")})) << "the close box stores nothing";
}

TEST_F(EditContactTest, ABandOrModeOutsideTheEditsListIsRefusedOnLeavingButEnterStoresIt) {
  Log({Contact("K1")});
  EditRow(1, [&](frmEditCon& edit) {
    Retype(edit.txtEditBnd, "24 G");
    Leave(edit.txtEditBnd);
    EXPECT_EQ(dialogs.Beeps(), 1);
    EXPECT_TRUE(edit.Label3.Visible());
    EXPECT_EQ(edit.Label3.Caption(), "   Invalid!");
    EXPECT_EQ(edit.txtEditBnd.Text(), "144 M");
    EXPECT_TRUE(edit.txtEditBnd.HasFocus());
    Leave(edit.txtEditBnd);
    EXPECT_FALSE(edit.Label3.Visible());

    Retype(edit.txtEditMode, "ssb");
    EXPECT_EQ(edit.txtEditMode.Text(), "SSB");
    Leave(edit.txtEditMode);
    EXPECT_EQ(dialogs.Beeps(), 2);
    EXPECT_TRUE(edit.Label5.Visible());
    EXPECT_EQ(edit.txtEditMode.Text(), "PH");
    EXPECT_TRUE(edit.txtEditMode.HasFocus());
    Retype(edit.txtEditMode, "cw");
    Leave(edit.txtEditMode);
    EXPECT_FALSE(edit.Label5.Visible());

    Retype(edit.txtEditBnd, "24 G");
    Enter(edit.txtEditBnd);
    EXPECT_FALSE(edit.Visible());
  });
  QStringList edited = Contact("K1", "12:00:00", "24 G");
  edited[8] = "CW";
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({edited}));
  EXPECT_EQ(dialogs.Beeps(), 2);
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(EditContactTest, DoneChecksTheTimeBeforeTheDateAndStoresBothInTheLogsForms) {
  Log({Contact("K1")});
  EditRow(1, [&](frmEditCon& edit) {
    // Pasted, so that no box is left before Done runs.
    edit.txtEditDate.SetText("2024/02/30");
    edit.txtEditTime.SetText("24:00");
    Enter(edit.txtEditCall);
    ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
    EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "You have entered an invalid time format!");
    EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Invalid Time Format!");
    EXPECT_TRUE(edit.txtEditTime.HasFocus());

    edit.txtEditTime.SetText("7:5");
    Enter(edit.txtEditTime);
    ASSERT_EQ(dialogs.MessageBoxes().size(), 2u);
    EXPECT_EQ(dialogs.MessageBoxes()[1].prompt, "You have entered an invalid date format!");
    EXPECT_EQ(dialogs.MessageBoxes()[1].title, "Invalid Date Format!");
    EXPECT_TRUE(edit.txtEditDate.HasFocus());
    EXPECT_EQ(dialogs.Beeps(), 2);

    edit.txtEditDate.SetText("1/21/2024");
    Enter(edit.txtEditDate);
  });
  QStringList edited = Contact("K1", "07:05");
  edited[5] = "2024/01/21";
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({edited}));
}

TEST_F(EditContactTest, LeavingAnInvalidDateOrTimeSaysSoAndTakesTheFocusBack) {
  Log({Contact("K1")});
  EditRow(1, [&](frmEditCon& edit) {
    Retype(edit.txtEditDate, "13/1/2024");
    Leave(edit.txtEditDate);
    ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
    EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Invalid Date Format!");
    EXPECT_TRUE(edit.txtEditDate.HasFocus());
    EXPECT_EQ(edit.txtEditDate.Text(), "13/1/2024") << "the text stays";

    Retype(edit.txtEditDate, "2024/1/5");
    Retype(edit.txtEditTime, "12:60");
    Leave(edit.txtEditTime);
    ASSERT_EQ(dialogs.MessageBoxes().size(), 2u);
    EXPECT_EQ(dialogs.MessageBoxes()[1].title, "Invalid Time Format!");
    EXPECT_TRUE(edit.txtEditTime.HasFocus());
  });
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({Contact("K1")}));
}

TEST(StoredContactForms, TypedDatesAndTimesTakeTheLogsForms) {
  const struct {
    const char* typed;
    const char* date;  // nullptr: no date
    const char* time;  // nullptr: no time
  } cases[] = {
      {"2024/03/02", "2024/03/02", nullptr}, {"2024/3/2", "2024/03/02", nullptr}, {"1/21/2012", "2012/01/21", nullptr},
      {"12/31/2023", "2023/12/31", nullptr}, {"2024/02/29", "2024/02/29", nullptr}, {"2023/02/29", nullptr, nullptr},
      {"21/1/2012", nullptr, nullptr},       {"2024/03", nullptr, nullptr},         {"", nullptr, nullptr},
      {"18:05:33", nullptr, "18:05:33"},     {"7:5:3", nullptr, "07:05:03"},        {"7:05", nullptr, "07:05"},
      {"23:59", nullptr, "23:59"},           {"0:00:00", nullptr, "00:00:00"},      {"24:00", nullptr, nullptr},
      {"12:60", nullptr, nullptr},           {"1805", nullptr, nullptr},            {"12:00:00:00", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::optional<QString> date = logtools::StoredContactDate(QString::fromUtf8(c.typed));
    const std::optional<QString> time = logtools::StoredContactTime(QString::fromUtf8(c.typed));
    EXPECT_EQ(date.has_value(), c.date != nullptr);
    if (c.date && date) {
      EXPECT_EQ(*date, c.date);
    }
    EXPECT_EQ(time.has_value(), c.time != nullptr);
    if (c.time && time) {
      EXPECT_EQ(*time, c.time);
    }
  }
}

TEST_F(EditContactTest, OnlyTheCallTheirGridAndTheReportSentAreTrimmed) {
  Log({Contact("K1")});
  EditRow(1, [&](frmEditCon& edit) {
    // Pasted values: no key filter sees their blanks.
    edit.txtEditCall.SetText("  K1  ");
    edit.txtEditCk.SetText(" 59 ");
    edit.txtEditSec.SetText(" FN20 ");
    edit.txtEditNum.SetText(" 57 ");
    edit.txtEditPre.SetText("FN31 ");
    Click(edit.cmdDone);
  });
  EXPECT_EQ(RowsOnFile(path_),
            QList<QStringList>({{"K1", " 59 ", "FN20", "57", "FN31 ", "2024/03/02", "12:00:00", "144 M", "PH"}}));
}

TEST_F(EditContactTest, AValueWithAnApostropheIsStoredAsTyped) {
  Log({Contact("K1"), Contact("K2", "12:01:00")});
  ExecuteFromAnotherPc(path_, "update tbllog set calls = ? where calls = 'K1'", {"X' or '1'='1"});
  form.WorkList();
  EditRow(2, [&](frmEditCon& edit) {
    Retype(edit.txtEditSec, "FN20' --");
    Click(edit.cmdDone);
  });
  QStringList edited = Contact("X' or '1'='1");
  edited[2] = "FN20' --";
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({edited, Contact("K2", "12:01:00")}));
}

TEST_F(EditContactTest, AContactAnotherPcChangedOrDeletedMeanwhileIsReportedAndNothingIsStored) {
  const struct {
    const char* name;
    const char* statement;
    QList<QStringList> rowsAfter;
  } cases[] = {
      {"deleted", "delete from tbllog where calls = 'K1'", {Contact("K2", "12:01:00")}},
      {"changed", "update tbllog set rstr = '33' where calls = 'K1'",
       {{"K1", "33", "FN20", "57", "FN31", "2024/03/02", "12:00:00", "144 M", "PH"}, Contact("K2", "12:01:00")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExecuteFromAnotherPc(path_, "delete from tbllog");
    Log({Contact("K1"), Contact("K2", "12:01:00")});
    const std::size_t shownBefore = dialogs.MessageBoxes().size();
    EditRow(2, [&](frmEditCon& edit) {
      ExecuteFromAnotherPc(path_, c.statement);
      Retype(edit.txtEditNum, "44");
      Click(edit.cmdDone);
    });
    ASSERT_EQ(dialogs.MessageBoxes().size(), shownBefore + 1);
    EXPECT_EQ(dialogs.MessageBoxes().back().title, "Contact Not Found");
    EXPECT_EQ(RowsOnFile(path_), c.rowsAfter);
    EXPECT_EQ(logging::LogCount, c.rowsAfter.size()) << "reloaded";
  }
}

TEST_F(EditContactTest, AnEditTheLogRefusesStoresNothingAndKeepsTheWindowOpenWithWhatWasTyped) {
  Log({Contact("K1")});
  EditRow(1, [&](frmEditCon& edit) {
    logging::LogConnection.Close();
    ASSERT_TRUE(QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    logging::LogConnection.Open(path_);  // opened read-only: the update fails
    Retype(edit.txtEditNum, "44");
    Click(edit.cmdDone);
    EXPECT_TRUE(edit.Visible());
    EXPECT_EQ(edit.txtEditNum.Text(), "44");
    EXPECT_FALSE(logging::LogRecordset.IsOpen());
  });
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({Contact("K1")}));
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(EditContactTest, DeleteDupeClosesTheEditAndDeletesTheContactAsLoadedOnlyOnYes) {
  for (const int answer : {platform::MsgBoxResult::No, platform::MsgBoxResult::Yes}) {
    const bool yes = answer == platform::MsgBoxResult::Yes;
    SCOPED_TRACE(yes ? "Yes" : "No");
    ExecuteFromAnotherPc(path_, "delete from tbllog");
    Log({Contact("K1"), Contact("K2", "12:01:00")});
    EditRow(1, [&](frmEditCon& edit) {
      Retype(edit.txtEditCall, "K1");
      Click(edit.cmdDone);
      ASSERT_TRUE(edit.cmdDeleteDupe.Visible());
      dialogs.AnswerMessageBox(answer);
      Click(edit.cmdDeleteDupe);
      EXPECT_FALSE(edit.Visible());
    });
    EXPECT_EQ(dialogs.MessageBoxes().back().prompt, "Are you sure?");
    EXPECT_EQ(RowsOnFile(path_), yes ? QList<QStringList>({Contact("K1")})
                                     : QList<QStringList>({Contact("K1"), Contact("K2", "12:01:00")}));
    EXPECT_EQ(ListedCalls(), yes ? QStringList({"K1"}) : QStringList({"K2", "K1"}));
    EXPECT_TRUE(form.Timer3.Enabled());
  }
}

TEST_F(EditContactTest, TheEditOpensOnlyForAContactTheLogHolds) {
  const struct {
    const char* name;
    std::function<void()> prepare;
  } cases[] = {
      {"no row selected", [&] { form.ListView1.ListItems(1).SetSelected(false); }},
      {"a record number beyond the log held", [&] { logging::LogCount = 1; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExecuteFromAnotherPc(path_, "delete from tbllog");
    Log({Contact("K1"), Contact("K2", "12:01:00")});
    ClickContactRow(1);
    c.prepare();
    bool opened = false;
    QTimer watch;  // closes a window that should not have opened, so the test cannot hang on it
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (!platform::IsLoaded<frmEditCon>() || !platform::Instance<frmEditCon>().Visible()) return;
      opened = true;
      platform::Instance<frmEditCon>().Widget()->close();
    });
    watch.start(1);

    Click(form.cmdEdit);

    EXPECT_FALSE(opened);
    EXPECT_FALSE(platform::IsLoaded<frmEditCon>());
    EXPECT_EQ(logging::LogCount, 2) << "the log is reloaded all the same";
    EXPECT_TRUE(form.Timer3.Enabled());
  }
}

}  // namespace
