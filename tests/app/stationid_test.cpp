#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/globalpreferences.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logtools/form5.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/endprogram.h"
#include "platform/forms.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "anotherpc.h"
#include "damagedfiles.h"
#include "programfolderfixture.h"
#include "testbound.h"

namespace {

using app::frmStationID;
namespace prefs = app::modGlobalPreferences;

const QString OpenFailureText = QStringLiteral(
    "Unable to find your log file (Corvane.MDB).  Please very the location of the log file and try again.\r\n"
    "\r\n"
    "If you are using Windows 95 and are:\r\n"
    "\r\n"
    "1. Certain you have entered the path correctly.\r\n"
    "2. Certain your network is set up correctly (or are accessing the log file on this local PC).\r\n"
    "\r\n"
    "The probable cause is that you did not install dcom95 before installing this program.  If you suspect that "
    "is the case, perform the following steps :\r\n"
    "\r\n"
    "- Exit this program\r\n"
    "- Double Click My Computer\r\n"
    "- Double Click Control Panel\r\n"
    "- Double Click Add/Remove Programs\r\n"
    "- Select this program\r\n"
    "- Click OK\r\n"
    "- Using Windows Explorer, navigate to your installation files\r\n"
    "- Double Click DCOM95.EXE\r\n"
    "- After DCOM95.EXE has completed installation, Double Click Setup.exe");

class StationSetup : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    platform::Screen::SetSizeForTesting(9600, 7200);
    app::OwnCall = QStringLiteral("N0CALL");
    app::OwnGrid = QStringLiteral("EM10");
    app::UtcOffset = -5.5f;
    app::OwnLatitude = 30.25;
    app::OwnLongitude = 97.5;
    app::ContestType = 2;
    app::Rover = 0;
    app::LogFilePath = LogPath();
    app::ServerName = QStringLiteral("stale");
    platform::CreateLogDatabase(LogPath());
    prefs::PreferencesText = prefs::DeclarationLine;
    prefs::PreferencesPath = folder.path() + prefs::SharedPreferencesFile;
  }

  void TearDown() override {
    platform::UnloadAll();
    logging::LogConnection.Close();
    platform::Screen::ResetForTesting();
    ProgramFolderTest::TearDown();
  }

  QString LogPath() const { return folder.path() + QStringLiteral("/Corvane.MDB"); }
  QString PreferencesFile() const { return folder.path() + QStringLiteral("/SharedUserPreferences.xml"); }
  QByteArray PreferencesBytes() const {
    QFile file(PreferencesFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  frmStationID& ShowDialog() {
    frmStationID& dialog = platform::Instance<frmStationID>();
    dialog.Show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.Widget(), peertesting::kBoundMs));
    return dialog;
  }

  // As the operator does it: select the field's text and type over it.
  static void TypeInto(platform::TextBox& box, const QString& keys) {
    box.SetSelStart(0);
    box.SetSelLength(box.Text().size());
    QTest::keyClick(box.Widget(), Qt::Key_Delete);
    QTest::keyClicks(box.Widget(), keys);
  }
  static void Click(platform::CommandButton& button) { QTest::mouseClick(button.Widget(), Qt::LeftButton); }

  platform::ScriptedDialogs dialogs;
  platform::ScriptedEndProgram endProgram;
};

TEST_F(StationSetup, LoadShowsTheStationAndTheLogPath) {
  frmStationID& dialog = ShowDialog();
  EXPECT_EQ(dialog.Caption(), QStringLiteral(" Amateur Station I.D."));
  EXPECT_EQ(dialog.Text1.Text(), QStringLiteral("N0CALL"));
  EXPECT_EQ(dialog.Text5.Text(), QStringLiteral("EM10"));
  EXPECT_EQ(dialog.Text6.Text(), QStringLiteral("-5.5"));
  EXPECT_EQ(dialog.Text3.Text(), QStringLiteral("30.25"));
  EXPECT_EQ(dialog.Text2.Text(), QStringLiteral("97.5"));
  EXPECT_EQ(dialog.Text8.Text(), LogPath());
  EXPECT_TRUE(dialog.Option2.Value());
  EXPECT_FALSE(dialog.Option1.Value());
  EXPECT_TRUE(dialog.Option5.Value());
  EXPECT_FALSE(dialog.Command3.Visible());
  EXPECT_FALSE(dialog.Command4.Visible());
  // Focus order: call, grid, UTC offset, latitude, longitude.
  EXPECT_TRUE(dialog.Text1.HasFocus());
  for (platform::TextBox* next : {&dialog.Text5, &dialog.Text6, &dialog.Text3, &dialog.Text2}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(next->HasFocus()) << next->Name().toStdString();
  }
}

TEST_F(StationSetup, LoadSelectsContestAndRoverAndDefaultsTheLogPath) {
  struct Case {
    std::uint8_t contest;
    std::uint8_t rover;
    QString logFilePath;
    QString selected;  // the contest option, "" for none
    QString shownPath;
  };
  const QString installed = folder.path() + QStringLiteral("/Corvane.MDB");
  for (const Case& c : {Case{5, 1, QString(), "Option7", installed}, Case{1, 0, "ab", "Option1", installed},
                        Case{0, 1, "abc", "", "abc"}}) {
    SCOPED_TRACE(c.logFilePath.toStdString());
    app::ContestType = c.contest;
    app::Rover = c.rover;
    app::LogFilePath = c.logFilePath;
    frmStationID& dialog = platform::Instance<frmStationID>();
    for (platform::OptionButton* option :
         {&dialog.Option1, &dialog.Option2, &dialog.Option3, &dialog.Option4, &dialog.Option7}) {
      EXPECT_EQ(option->Value(), option->Name() == c.selected) << option->Name().toStdString();
    }
    EXPECT_EQ(dialog.Option6.Value(), c.rover == 1);
    EXPECT_EQ(dialog.Option5.Value(), c.rover == 0);
    EXPECT_EQ(dialog.Text8.Text(), c.shownPath);
    platform::UnloadAll();
  }
}

TEST_F(StationSetup, KeyFiltersUpperCaseAndKeepUtcNumeric) {
  frmStationID& dialog = ShowDialog();
  TypeInto(dialog.Text1, QStringLiteral("k1abc/p"));
  TypeInto(dialog.Text5, QStringLiteral("fn20x"));  // four characters at most
  TypeInto(dialog.Text6, QStringLiteral(",a-5:.9/"));  // minus to nine only: "-./" and digits
  EXPECT_EQ(dialog.Text1.Text(), QStringLiteral("K1ABC/P"));
  EXPECT_EQ(dialog.Text5.Text(), QStringLiteral("FN20"));
  EXPECT_EQ(dialog.Text6.Text(), QStringLiteral("-5.9/"));
  QTest::keyClick(dialog.Text6.Widget(), Qt::Key_Backspace);
  EXPECT_EQ(dialog.Text6.Text(), QStringLiteral("-5.9"));
  TypeInto(dialog.Text3, QStringLiteral("ab1234567"));  // no filter, six characters
  EXPECT_EQ(dialog.Text3.Text(), QStringLiteral("ab1234"));
  EXPECT_TRUE(dialog.Visible());
}

TEST_F(StationSetup, EnterInCallGridOrUtcPressesDone) {
  for (auto field : {&frmStationID::Text1, &frmStationID::Text5, &frmStationID::Text6}) {
    frmStationID& dialog = ShowDialog();
    SCOPED_TRACE((dialog.*field).Name().toStdString());
    QTest::keyClick((dialog.*field).Widget(), Qt::Key_Return);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(logging::LogConnection.IsOpen());
    logging::LogConnection.Close();
    platform::UnloadAll();
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(StationSetup, UnusableLogPathKeepsTheDialogAndWritesNothing) {
  QFile notADatabase(folder.path() + QStringLiteral("/notes.MDB"));
  ASSERT_TRUE(notADatabase.open(QIODevice::WriteOnly));
  notADatabase.write("This is no database, just some text that is long enough to be read.\n");
  notADatabase.close();
  QDir(folder.path()).mkdir(QStringLiteral("logs"));
  const QString damaged = folder.path() + QStringLiteral("/damaged.MDB");
  platform::CreateLogDatabase(damaged);
  FillLog(damaged, 3000);
  DamagePages(damaged, 20, 2);

  for (const QString& path : {folder.path() + QStringLiteral("/missing.MDB"), folder.path() + QStringLiteral("/logs"),
                              notADatabase.fileName(), damaged}) {
    SCOPED_TRACE(path.toStdString());
    const std::size_t boxesBefore = dialogs.MessageBoxes().size();
    const int beepsBefore = dialogs.Beeps();
    frmStationID& dialog = ShowDialog();
    TypeInto(dialog.Text8, path);
    Click(dialog.Command1);

    ASSERT_EQ(dialogs.MessageBoxes().size(), boxesBefore + 1);
    const platform::MessageBoxShown& box = dialogs.MessageBoxes().back();
    EXPECT_EQ(box.prompt, OpenFailureText);
    EXPECT_EQ(box.title, QStringLiteral("File, Network or Install Error."));
    EXPECT_EQ(box.style, platform::MsgBoxStyle::OKOnly);
    EXPECT_EQ(dialogs.Beeps(), beepsBefore + 1);
    EXPECT_TRUE(dialog.Visible());
    EXPECT_TRUE(dialog.Command3.Visible());
    EXPECT_TRUE(dialog.Command4.Visible());
    EXPECT_FALSE(logging::LogConnection.IsOpen());
    EXPECT_FALSE(QFile::exists(PreferencesFile()));
    EXPECT_EQ(endProgram.Calls(), 0);
    platform::UnloadAll();
  }
}

TEST_F(StationSetup, DoneOpensTheLogAndWritesTheStation) {
  frmStationID& dialog = ShowDialog();
  TypeInto(dialog.Text1, QStringLiteral("w1aw"));
  TypeInto(dialog.Text5, QStringLiteral("fn31"));
  TypeInto(dialog.Text6, QStringLiteral("5"));
  TypeInto(dialog.Text3, QStringLiteral("41.7"));
  TypeInto(dialog.Text2, QStringLiteral("72.7"));
  TypeInto(dialog.Text8, QStringLiteral("  ") + LogPath() + QStringLiteral(" "));
  Click(dialog.Command1);

  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_FALSE(dialog.Visible());
  EXPECT_TRUE(logging::LogConnection.IsOpen());
  EXPECT_EQ(app::LogFilePath, LogPath());
  EXPECT_EQ(app::ServerName, QString());
  EXPECT_EQ(PreferencesBytes(), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                           "<OWN_CALL>W1AW</OWN_CALL>\r\n"
                                           "<OWN_UTC>5</OWN_UTC>\r\n"
                                           "<OWN_GRID>FN31</OWN_GRID>\r\n"
                                           "<OWN_LONGITUDE>72.7</OWN_LONGITUDE>\r\n"
                                           "<OWN_LATITUDE>41.7</OWN_LATITUDE>\r\n"));
}

// A log another program made: one lacking a column every commit writes would open and then fail
// every commit, so it is refused here, naming what it lacks. More columns, in any order, are fine.
TEST_F(StationSetup, ALogWhoseTableLacksTheColumnsOfAContactIsRefusedNamingThem) {
  const struct {
    const char* name;
    const char* table;
    const char* missing;  // nullptr: taken
  } cases[] = {
      {"two columns missing",
       "create table tbllog (calls text, rstr text, gridr text, grids text, flddate text, fldtime text, uband text)",
       "rsts, umode"},
      {"no row ids",
       "create table tbllog (calls text primary key, rstr text, gridr text, rsts text, grids text, flddate text, "
       "fldtime text, uband text, umode text) without rowid",
       "rowid"},
      {"another order and one column more",
       "create table TBLLOG (ID integer primary key, UMODE text, UBand text, fldtime text, flddate text, grids text, "
       "rsts text, gridr text, rstr text, calls text, notes text)",
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = folder.path() + "/" + c.name + ".MDB";
    QFile(path).open(QIODevice::WriteOnly);  // an empty file is an empty database
    ExecuteFromAnotherPc(path, c.table);
    const std::size_t boxesBefore = dialogs.MessageBoxes().size();
    frmStationID& dialog = ShowDialog();
    TypeInto(dialog.Text8, path);
    Click(dialog.Command1);

    if (c.missing == nullptr) {
      EXPECT_EQ(dialogs.MessageBoxes().size(), boxesBefore);
      EXPECT_TRUE(logging::LogConnection.IsOpen());
      logging::LogConnection.Close();
    } else {
      ASSERT_EQ(dialogs.MessageBoxes().size(), boxesBefore + 1);
      const platform::MessageBoxShown& box = dialogs.MessageBoxes().back();
      EXPECT_EQ(box.prompt, "The table tbllog of the log database file \"" + path + "\" has no column " +
                                c.missing + ".\r\n\r\n" + OpenFailureText);
      EXPECT_EQ(box.title, QStringLiteral("File, Network or Install Error."));
      EXPECT_TRUE(dialog.Visible());
      EXPECT_TRUE(dialog.Command3.Visible());
      EXPECT_FALSE(logging::LogConnection.IsOpen());
    }
    platform::UnloadAll();
  }
}

// The log opened: a shared preferences file that cannot be written is reported as what it is,
// and the set-up goes on with the open log.
TEST_F(StationSetup, UnwritablePreferencesFileDoesNotClaimTheLogIsMissing) {
  prefs::PreferencesPath = folder.path() + QStringLiteral("/no such folder") + prefs::SharedPreferencesFile;
  frmStationID& dialog = ShowDialog();
  TypeInto(dialog.Text8, LogPath());
  Click(dialog.Command1);

  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_NE(dialogs.MessageBoxes().back().prompt, OpenFailureText);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(dialog.Command3.Visible());
  EXPECT_TRUE(logging::LogConnection.IsOpen());
}

TEST_F(StationSetup, NonNumericUtcAndPositionBecomeZero) {
  frmStationID& dialog = ShowDialog();
  TypeInto(dialog.Text3, QStringLiteral("north"));
  TypeInto(dialog.Text2, QString());
  TypeInto(dialog.Text6, QStringLiteral("1-2"));  // passes the key filter, yet is no number
  QTest::keyClick(dialog.Text6.Widget(), Qt::Key_Return);

  EXPECT_FALSE(dialog.Visible());
  EXPECT_EQ(dialog.Text6.Text(), QStringLiteral("0"));
  EXPECT_EQ(dialog.Text3.Text(), QStringLiteral("0"));
  EXPECT_EQ(dialog.Text2.Text(), QStringLiteral("0"));
  const QByteArray xml = PreferencesBytes();
  for (const char* element : {"<OWN_UTC>0</OWN_UTC>", "<OWN_LONGITUDE>0</OWN_LONGITUDE>",
                              "<OWN_LATITUDE>0</OWN_LATITUDE>"}) {
    EXPECT_TRUE(xml.contains(element)) << element;
  }
}

TEST_F(StationSetup, LeavingANonNumericUtcOffsetIsRefused) {
  frmStationID& dialog = ShowDialog();
  dialog.Text6.SetFocus();
  TypeInto(dialog.Text6, QStringLiteral("-"));
  QTest::keyClick(dialog.Text6.Widget(), Qt::Key_Tab);

  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, QStringLiteral("Please enter a numeric value!"));
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, QStringLiteral("Numeric value required."));
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_TRUE(dialog.Text6.HasFocus());

  TypeInto(dialog.Text6, QStringLiteral("-4"));
  QTest::keyClick(dialog.Text6.Widget(), Qt::Key_Tab);
  EXPECT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_TRUE(dialog.Text3.HasFocus());
}

TEST_F(StationSetup, CancelAndFrameCloseEndTheProgram) {
  // Cancel after a failed Done, on a connection left open by an earlier set-up.
  frmStationID& dialog = ShowDialog();
  TypeInto(dialog.Text8, folder.path() + QStringLiteral("/missing.MDB"));
  Click(dialog.Command1);
  logging::LogConnection.Open(LogPath());
  Click(dialog.Command3);
  EXPECT_EQ(endProgram.Calls(), 1);
  EXPECT_FALSE(logging::LogConnection.IsOpen());

  // Closing by the window frame acts as Cancel.
  logging::LogConnection.Open(LogPath());
  dialog.Widget()->close();
  EXPECT_EQ(endProgram.Calls(), 2);
  EXPECT_FALSE(logging::LogConnection.IsOpen());
  // Unloading from code (the set-up does) is no Cancel.
  dialog.Unload();
  EXPECT_EQ(endProgram.Calls(), 2);
}

TEST_F(StationSetup, HelpShowsTheHelpTextModallyAndUnloadsIt) {
  frmStationID& dialog = ShowDialog();
  TypeInto(dialog.Text8, folder.path() + QStringLiteral("/missing.MDB"));
  Click(dialog.Command1);
  bool shownModally = false;
  QTimer::singleShot(0, [&] {
    logtools::Form5& help = platform::Instance<logtools::Form5>();
    shownModally = help.Visible() && help.Widget()->isModal();
    help.Widget()->close();
  });
  Click(dialog.Command4);
  EXPECT_TRUE(shownModally);
  EXPECT_FALSE(platform::IsLoaded<logtools::Form5>());
  // The dialog's focus is on Done, for when its window is active again.
  EXPECT_EQ(dialog.Widget()->focusWidget(), dialog.Command1.Widget());
}

TEST_F(StationSetup, BrowsePutsTheChosenFileIntoThePath) {
  frmStationID& dialog = ShowDialog();
  const QString chosen = folder.path() + QStringLiteral("/Other.MDB");
  dialogs.ChooseFile(chosen);
  platform::ChDir(QDir::rootPath());
  Click(dialog.Command2);

  EXPECT_EQ(dialog.Text8.Text(), chosen);
  ASSERT_EQ(dialogs.CommonDialogs().size(), 1u);
  EXPECT_EQ(dialogs.CommonDialogs()[0].filter, QStringLiteral("(*.MDB)|*.MDB|(All Files)|*.*"));
  EXPECT_EQ(dialogs.CommonDialogs()[0].filterIndex, 1);
  EXPECT_EQ(dialogs.CommonDialogs()[0].fileName, QString());
  EXPECT_EQ(platform::CurDir(), QDir(folder.path()).canonicalPath());
  EXPECT_EQ(dialogs.Beeps(), 0);

  dialogs.CancelFileDialog();
  Click(dialog.Command2);
  EXPECT_EQ(dialog.Text8.Text(), chosen);
  EXPECT_EQ(dialogs.Beeps(), 1);
}

// The whole set-up from the menu: the modal dialog is driven while it is up.
class SetupMenu : public StationSetup {
 protected:
  // Runs mnuSetup_Click, doing `operate` in the dialog while it is shown modally.
  void RunSetup(const std::function<void(frmStationID&)>& operate) {
    QTimer::singleShot(0, [&] {
      frmStationID& dialog = platform::Instance<frmStationID>();
      pollStoppedDuringDialog = !form.Timer3.Enabled();
      connectionClosedDuringDialog = !logging::LogConnection.IsOpen();
      dialogWasModal = dialog.Visible() && dialog.Widget()->isModal();
      operate(dialog);
    });
    form.mnuSetup_Click();
  }

  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  bool pollStoppedDuringDialog = false;
  bool connectionClosedDuringDialog = false;
  bool dialogWasModal = false;
};

TEST_F(SetupMenu, TakesTheStationFromTheDialogAndRestartsThePoll) {
  logging::CurrentMode = QStringLiteral("PH");
  logging::RemainingGridColor = 0x00C000;
  logging::LogConnection.Open(LogPath());
  form.Timer3.SetEnabled(true);

  RunSetup([&](frmStationID& dialog) {
    TypeInto(dialog.Text1, QStringLiteral("w1aw/r"));
    TypeInto(dialog.Text5, QStringLiteral("fn20"));
    TypeInto(dialog.Text6, QStringLiteral("4"));
    TypeInto(dialog.Text3, QStringLiteral("north"));
    TypeInto(dialog.Text2, QStringLiteral("12.5"));
    QTest::mouseClick(dialog.Option7.Widget(), Qt::LeftButton);
    QTest::mouseClick(dialog.Option6.Widget(), Qt::LeftButton);
    Click(dialog.Command1);
  });

  EXPECT_TRUE(pollStoppedDuringDialog);
  EXPECT_TRUE(connectionClosedDuringDialog);
  EXPECT_TRUE(dialogWasModal);
  EXPECT_EQ(app::OwnCall, QStringLiteral("W1AW/R"));
  EXPECT_EQ(app::OwnGrid, QStringLiteral("FN20"));
  EXPECT_FLOAT_EQ(app::UtcOffset, 4);
  EXPECT_EQ(app::ContestType, 5);
  EXPECT_EQ(app::Rover, 1);
  // A latitude left at 0 takes both coordinates from the grid square.
  EXPECT_DOUBLE_EQ(app::OwnLatitude, 40);
  EXPECT_DOUBLE_EQ(app::OwnLongitude, 76);
  EXPECT_EQ(form.Label2.Caption(), QStringLiteral("W1AW/R"));
  EXPECT_EQ(form.Label4.Caption(), QStringLiteral("FN20"));
  EXPECT_EQ(form.Label30.Caption(), QStringLiteral("PH"));
  EXPECT_EQ(form.List1.ToolTipText(), QStringLiteral("Click list to reduce font size"));
  EXPECT_EQ(form.List2.ToolTipText(), QStringLiteral("Click list to reduce font size"));
  EXPECT_EQ(form.lblGrid[0].ForeColor(), 0x00C000);
  EXPECT_EQ(form.lblGrid[164].ForeColor(), 0x00C000);
  EXPECT_FALSE(platform::IsLoaded<frmStationID>());
  EXPECT_TRUE(logging::LogConnection.IsOpen());
  EXPECT_TRUE(form.Timer3.Enabled());
}

TEST_F(SetupMenu, PositionFromTheGridOnlyWhereTheGridGivesIt) {
  struct Case {
    const char* grid;
    const char* latitude;
    const char* longitude;
    double expectedLatitude;
    double expectedLongitude;
  };
  for (const Case& c : {Case{"fn20", "41.5", "71.25", 41.5, 71.25},  // both typed: kept
                        Case{"fn20", "41.5", "0", 40, 76},           // one zero: both from the grid
                        Case{"f", "41.5", "x", 41.5, 80}}) {         // one character: longitude only
    SCOPED_TRACE(testing::Message() << c.grid << " " << c.latitude << " " << c.longitude);
    RunSetup([&](frmStationID& dialog) {
      TypeInto(dialog.Text5, QString::fromLatin1(c.grid));
      TypeInto(dialog.Text3, QString::fromLatin1(c.latitude));
      TypeInto(dialog.Text2, QString::fromLatin1(c.longitude));
      Click(dialog.Command1);
    });
    EXPECT_DOUBLE_EQ(app::OwnLatitude, c.expectedLatitude);
    EXPECT_DOUBLE_EQ(app::OwnLongitude, c.expectedLongitude);
    EXPECT_EQ(app::Rover, 0);
    EXPECT_EQ(form.List1.ToolTipText(), QString());
  }
}

}  // namespace
