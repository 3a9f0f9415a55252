#include "app/form1.h"
#include "app/globals.h"
#include "logdatabasefixture.h"
#include "logging/contactlist.h"
#include "logging/entryarea.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/preferences.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"

#include "anotherpc.h"
#include "editwindowtesting.h"
#include "formtesting.h"
#include "logpeerprocess.h"
#include "stationviews.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>

namespace {

using logging::LogCount;

QStringList Contact(const QString& call, const QString& time = QStringLiteral("12:00:00")) {
  return {call, "59", "FN20", "57", "FN31", "2024/03/02", time, "144 M", "PH"};
}

// The main window of a fixed station in FN31 on a shared log, its list's columns made as the load
// makes them, the caret in the call box (which starts the shared-log poll).
class EntryButtonsTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    app::ProgramDir = dir_.path();
    app::OwnGrid = QStringLiteral("FN31");
    app::ContestType = 1;
    logging::CurrentBand = QStringLiteral("144 M");
    logging::CurrentMode = QStringLiteral("PH");
    logging::CreateContactListColumns(form);
    ShowActive(form);
    form.txtCall.SetFocus();
  }

  // Contacts other PCs logged, loaded as the poll loads them.
  void LoadLoggedElsewhere(const QList<QStringList>& rows) {
    for (const QStringList& row : rows) InsertFromAnotherPc(path_, row);
    form.WorkList();
  }

  void Click(platform::CommandButton& button) { QTest::mouseClick(button.Widget(), Qt::LeftButton); }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

TEST_F(EntryButtonsTest, DeleteAsksFirstRemovesThePickedContactOnYesAndAlwaysRestartsThePoll) {
  for (const int answer : {platform::MsgBoxResult::No, platform::MsgBoxResult::Yes}) {
    const bool yes = answer == platform::MsgBoxResult::Yes;
    SCOPED_TRACE(yes ? "Yes" : "No");
    ExecuteFromAnotherPc(path_, "delete from tbllog");
    LoadLoggedElsewhere({Contact("K1", "12:00:00"), Contact("K2", "12:01:00"), Contact("K3", "12:02:00")});
    ClickContactRow(2);  // K2: the list is newest first
    ASSERT_FALSE(form.Timer3.Enabled()) << "picking a contact stops the poll";
    ASSERT_TRUE(form.cmdDelete.Visible());
    dialogs.AnswerMessageBox(answer);

    Click(form.cmdDelete);

    const platform::MessageBoxShown& question = dialogs.MessageBoxes().back();
    EXPECT_EQ(question.prompt, "Are you sure?");
    EXPECT_EQ(question.title, "Are you sure?");
    EXPECT_EQ(question.style, platform::MsgBoxStyle::YesNo);
    const QList<QStringList> kept =
        yes ? QList<QStringList>{Contact("K1", "12:00:00"), Contact("K3", "12:02:00")}
            : QList<QStringList>{Contact("K1", "12:00:00"), Contact("K2", "12:01:00"), Contact("K3", "12:02:00")};
    EXPECT_EQ(RowsOnFile(path_), kept);
    EXPECT_EQ(ListedCalls(), yes ? QStringList({"K3", "K1"}) : QStringList({"K3", "K2", "K1"}));
    EXPECT_FALSE(form.cmdEdit.Visible());
    EXPECT_FALSE(form.cmdDelete.Visible());
    EXPECT_TRUE(form.Timer3.Enabled());
  }
  EXPECT_EQ(dialogs.MessageBoxes().size(), 2u);
}

TEST_F(EntryButtonsTest, DeletingOneOfAContactStoredTwiceLeavesTheOther) {
  LoadLoggedElsewhere({Contact("K1"), Contact("K1"), Contact("K2", "12:01:00")});
  ClickContactRow(2);
  ASSERT_EQ(form.ListView1.SelectedItem()->SubItems(1), "K1");
  dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);

  Click(form.cmdDelete);

  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({Contact("K1"), Contact("K2", "12:01:00")}));
  EXPECT_EQ(ListedCalls(), QStringList({"K2", "K1"}));
  EXPECT_EQ(LogCount, 2);
}

TEST_F(EntryButtonsTest, ADeleteThatCannotBeMadeEndsSilentlyAndRestartsThePoll) {
  const struct {
    const char* name;
    std::function<void()> prepare;
  } cases[] = {
      {"no row selected", [&] { form.ListView1.ListItems(1).SetSelected(false); }},
      {"a record number the log no longer holds", [&] { logging::LogCount = 1; }},
      {"the log file unreachable", [&] { logging::LogConnection.Close(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    logging::LogConnection.Close();
    logging::LogConnection.Open(path_);
    ExecuteFromAnotherPc(path_, "delete from tbllog");
    LoadLoggedElsewhere({Contact("K1"), Contact("K2", "12:01:00")});
    ClickContactRow(1);
    c.prepare();
    const std::size_t shownBefore = dialogs.MessageBoxes().size();
    dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);

    Click(form.cmdDelete);

    EXPECT_EQ(RowsOnFile(path_).size(), 2);
    EXPECT_EQ(dialogs.MessageBoxes().size(), shownBefore + 1) << "only the question";
    EXPECT_FALSE(logging::LogRecordset.IsOpen());
    EXPECT_FALSE(form.cmdDelete.Visible());
    EXPECT_TRUE(form.Timer3.Enabled());
  }
}

TEST_F(EntryButtonsTest, EditShowsTheEditWindowWithThePollOffThenReloadsTheLog) {
  LoadLoggedElsewhere({Contact("K1")});
  ClickContactRow(1);
  bool pollStoppedWhileShown = false;
  CloseEditWindowOnceShown([&] {
    pollStoppedWhileShown = !form.Timer3.Enabled();
    InsertFromAnotherPc(path_, Contact("K2", "12:01:00"));  // as the edit window or another PC changes the table
  });
  currentFolder_.Restore();

  Click(form.cmdEdit);

  EXPECT_TRUE(pollStoppedWhileShown);
  EXPECT_FALSE(platform::IsLoaded<logtools::frmEditCon>());
  EXPECT_EQ(ListedCalls(), QStringList({"K2", "K1"}));
  EXPECT_EQ(LogCount, 2);
  EXPECT_EQ(platform::CurDir(), platform::NativePath(app::ProgramDir));
  EXPECT_FALSE(form.cmdEdit.Visible());
  EXPECT_FALSE(form.cmdDelete.Visible());
  EXPECT_TRUE(form.Timer3.Enabled());
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(EntryButtonsTest, ThePartialCallButtonSwitchesTheCheckAndNamesItsState) {
  LoadLoggedElsewhere({Contact("K1ABC")});
  form.lblDupe.SetBackColor(logging::MessageBackColor);
  Click(form.cmdDup);
  EXPECT_EQ(form.cmdDup.Caption(), "Off");
  EXPECT_EQ(logging::DupCheckOn, 0);
  EXPECT_EQ(form.lblDupe.BackColor(), platform::ButtonFaceColor());
  EXPECT_TRUE(form.txtCall.HasFocus());
  QTest::keyClicks(form.txtCall.Widget(), "K1A");
  EXPECT_EQ(form.lblDupe.Caption(), "") << "no partial-call list while the check is off";

  Click(form.cmdDup);
  EXPECT_EQ(form.cmdDup.Caption(), "On");
  EXPECT_EQ(logging::DupCheckOn, 1);
  EXPECT_TRUE(form.txtCall.HasFocus());
  QTest::keyClick(form.txtCall.Widget(), 'B');
  EXPECT_TRUE(form.lblDupe.Caption().contains("K1ABC"));
}

TEST_F(EntryButtonsTest, TheListButtonSwitchesBetweenAllContactsAndTheLast20) {
  QList<QStringList> rows;
  for (int n = 1; n <= 25; ++n) rows << Contact(QStringLiteral("K%1").arg(n), QStringLiteral("12:%1:00").arg(n, 2, 10, QLatin1Char('0')));
  LoadLoggedElsewhere(rows);
  ASSERT_EQ(form.ListView1.ListItems.Count(), 20);

  Click(form.cmdList);
  EXPECT_EQ(form.cmdList.Caption(), "All");
  EXPECT_EQ(form.ListView1.ListItems.Count(), 25);
  EXPECT_TRUE(form.txtCall.HasFocus());

  Click(form.cmdList);
  EXPECT_EQ(form.cmdList.Caption(), "Last 20");
  EXPECT_EQ(form.ListView1.ListItems.Count(), 20);
  EXPECT_EQ(ListedCalls().front(), "K25");
}

TEST_F(EntryButtonsTest, ClearEmptiesTheEntryLineAndItsMessagesButKeepsThePostContestFields) {
  form.txtCall.SetText("W1AW");
  form.txtRSTR.SetText("59");
  form.txtSec.SetText("FN20");
  form.txtRSTS.SetText("57");
  form.txtPostConDate.SetText("2024/03/03");
  form.txtPostConTime.SetText("01:30");
  form.lblDupe.SetCaption("W1AW");
  form.lblDupe.SetBackColor(logging::MessageBackColor);
  form.lblDialog.SetCaption("Dupe: W1AW FN20 144 M");
  form.lblDialog.SetBackColor(logging::DupeColor);
  form.txtSec.SetFocus();

  Click(form.cmdClear);

  EXPECT_EQ(QStringList({form.txtCall.Text(), form.txtRSTR.Text(), form.txtSec.Text(), form.txtRSTS.Text()}),
            QStringList({"", "", "", ""}));
  EXPECT_EQ(form.txtPostConDate.Text(), "2024/03/03");
  EXPECT_EQ(form.txtPostConTime.Text(), "01:30");
  EXPECT_EQ(form.lblDupe.Caption(), "");
  EXPECT_EQ(form.lblDupe.BackColor(), platform::ButtonFaceColor());
  EXPECT_EQ(form.lblDialog.Caption(), " ");
  EXPECT_EQ(form.lblDialog.BackColor(), logging::MessageBackColor);
  EXPECT_TRUE(form.txtCall.HasFocus());
}

// ---- New log

class NewLogTest : public EntryButtonsTest {
 protected:
  void SetUp() override {
    EntryButtonsTest::SetUp();
    StartWithTwoContacts();
  }
  void StartWithTwoContacts() {
    ExecuteFromAnotherPc(path_, "delete from tbllog");
    LoadLoggedElsewhere({Contact("K1"), Contact("K2", "12:01:00")});
    logging::OnTime = 3600;
    logging::StoredOnTime = 3000;
  }
  QString PreferencesPath() const { return dir_.filePath(logging::PreferencesFileName); }
  void ChooseNew() { form.mnuNew.Action()->trigger(); }
};

TEST_F(NewLogTest, OnlyYesInAnyLetterCaseErasesTheLogAndTheOnTime) {
  const struct {
    const char* answer;  // nullptr: Cancel
    bool erases;
  } cases[] = {
      {"YES", true}, {"yes", true}, {"yEs", true}, {"yes please", false}, {" yes", false}, {"no", false},
      {"", false}, {nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer ? c.answer : "Cancel");
    StartWithTwoContacts();
    if (c.answer) {
      dialogs.AnswerInputBox(c.answer);
    } else {
      dialogs.CancelInputBox();
    }

    ChooseNew();

    const platform::InputBoxShown& asked = dialogs.InputBoxes().back();
    EXPECT_EQ(asked.title, "WARNING - Your existing log file will be ERASED!");
    EXPECT_EQ(asked.prompt,
              "Are you sure that you want to start a new log file?  This function will ERASE the existing log file!"
              "\r\n\r\nTo verify that you want to start a new log file, please type: YES");
    EXPECT_EQ(asked.defaultText, "");
    EXPECT_EQ(RowsOnFile(path_).size(), c.erases ? 0 : 2);
    EXPECT_EQ(LogCount, c.erases ? 0 : 2);
    EXPECT_EQ(form.ListView1.ListItems.Count(), c.erases ? 0 : 2);
    EXPECT_EQ(logging::OnTime, c.erases ? 0.0f : 3600.0f);
    EXPECT_EQ(logging::StoredOnTime, c.erases ? 0.0f : 3000.0f);
    EXPECT_EQ(QFile::exists(PreferencesPath()), c.erases);
    if (c.erases) {
      EXPECT_EQ(logging::ReadPreferencesFile(PreferencesPath()).StoredOnTime, 0.0f);
    }
    QFile::remove(PreferencesPath());
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(NewLogTest, AnEraseThatFailsSaysSoAndKeepsTheLogAndTheOnTime) {
  logging::LogConnection.Close();
  ASSERT_TRUE(QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  logging::LogConnection.Open(path_);  // opened read-only: every write fails
  dialogs.AnswerInputBox("YES");

  ChooseNew();

  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Error Erasing Log");
  EXPECT_FALSE(dialogs.MessageBoxes()[0].prompt.isEmpty());
  EXPECT_EQ(RowsOnFile(path_).size(), 2);
  EXPECT_EQ(LogCount, 2);
  EXPECT_EQ(logging::OnTime, 3600.0f);
  EXPECT_EQ(logging::StoredOnTime, 3000.0f);
  EXPECT_FALSE(QFile::exists(PreferencesPath()));
}

TEST_F(NewLogTest, AnotherPcReloadsAnEmptyLogAtItsNextPoll) {
  const QDeadlineTimer deadline(std::chrono::minutes(2));
  Peer peer(path_, QStringLiteral("PA"), 3);
  ASSERT_TRUE(peer.WaitForLine("ready", deadline));
  peer.Send("go");
  ASSERT_TRUE(peer.WaitForLine("done", deadline));
  ASSERT_EQ(peer.Stored().size(), 3);
  dialogs.AnswerInputBox("yes");

  ChooseNew();
  peer.Send("poll");

  ASSERT_TRUE(peer.WaitUntil([&] { return peer.HasPrintedLog(); }, deadline));
  EXPECT_EQ(peer.LogAfterPoll(), QStringList());
  EXPECT_TRUE(RowsOnFile(path_).isEmpty());
}

}  // namespace
