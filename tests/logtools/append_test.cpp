#include "app/form1.h"
#include "app/globals.h"
#include "logging/contactlist.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/reload.h"
#include "logtools/frmimport.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/screen.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

#include "anotherpc.h"
#include "damagedfiles.h"
#include "formtesting.h"
#include "logdatabasefixture.h"
#include "modalwindowtesting.h"

namespace {

using logtools::frmImport;

QStringList Contact(const QString& call, const QString& band = QStringLiteral("144 M"),
                    const QString& gridRcvd = QStringLiteral("FN20")) {
  return {call, "59", gridRcvd, "57", "FN31", "2024/03/02", "12:00:00", band, "PH"};
}

QByteArray BackupLine(const QStringList& values) {
  QByteArray line;
  for (const QString& value : values) line += (line.isEmpty() ? "\"" : ",\"") + value.toLatin1() + "\"";
  return line + "\r\n";
}

QByteArray BackupLines(const QList<QStringList>& rows) {
  QByteArray lines;
  for (const QStringList& row : rows) lines += BackupLine(row);
  return lines;
}

void WriteFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

// A station's main window on its shared log; the operator opens "Combine or Restore from Backup"
// from the File menu and works in the append window.
class AppendTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    app::ProgramDir = dir_.path();
    app::LogFilePath = path_;
    logging::CreateContactListColumns(form);
    ShowActive(form);
  }
  void TearDown() override {
    platform::Screen::ResetForTesting();
    LogDatabaseTest::TearDown();
  }

  void Log(const QList<QStringList>& rows) {
    for (const QStringList& row : rows) InsertFromAnotherPc(path_, row);
    form.WorkList();
  }

  QString PathOf(const QString& name) const { return dir_.filePath(name); }

  // A log database of another station holding these contacts.
  QString OtherLog(const QString& name, const QList<QStringList>& rows) const {
    const QString path = PathOf(name);
    platform::CreateLogDatabase(path);
    for (const QStringList& row : rows) InsertFromAnotherPc(path, row);
    return path;
  }

  static void Click(platform::CommandButton& button) { QTest::mouseClick(button.Widget(), Qt::LeftButton); }

  // The File menu's entry, with the operator's work in the window it shows.
  void Combine(const std::function<void(frmImport&)>& work) {
    bool shown = false;
    OperateModalWindowOnceShown<frmImport>([&](frmImport& window) {
      shown = true;
      work(window);
    });
    form.mnuCombine.Action()->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(platform::IsLoaded<frmImport>());
  }

  // Types the path, untick elimination when asked to (answering Yes), appends and closes.
  void AppendFile(const QString& path, bool eliminate = true) {
    Combine([&](frmImport& window) {
      QTest::keyClicks(window.Text1.Widget(), path);
      if (!eliminate) {
        dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);
        QTest::mouseClick(window.Check1.Widget(), Qt::LeftButton);
        ASSERT_EQ(window.Check1.Value(), 0);
      }
      Click(window.Command2);
      EXPECT_EQ(window.MousePointer(), platform::MousePointerDefault);
      EXPECT_TRUE(window.Command1.HasFocus());
      Click(window.Command1);
    });
  }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

TEST_F(AppendTest, TheMenuReloadsTheLogAndShowsTheWindowAQuarterDownWithDoneFocused) {
  platform::Screen::SetSizeForTesting(19200, 14400);
  InsertFromAnotherPc(path_, Contact("K1"));
  Combine([&](frmImport& window) {
    EXPECT_EQ(logging::LogCount, 1) << "reloaded before the window opened";
    EXPECT_TRUE(window.Command1.HasFocus());
    EXPECT_EQ(window.Check1.Value(), 1);
    EXPECT_DOUBLE_EQ(window.Top(), (14400 - window.Height()) / 4);
    EXPECT_DOUBLE_EQ(window.Left(), (19200 - window.Width()) / 2);
    Click(window.Command1);
  });
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(AppendTest, ALogThatCannotBeReadOpensNoWindow) {
  Log({Contact("K1")});
  logging::LogConnection.Close();
  // A window shown would wait for the operator: it is noted and closed at once.
  bool shown = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (!platform::IsLoaded<frmImport>() || !platform::Instance<frmImport>().Visible()) return;
    shown = true;
    platform::Instance<frmImport>().Hide();
  });
  closer.start(5);

  form.mnuCombine.Action()->trigger();

  EXPECT_FALSE(shown);
  EXPECT_FALSE(platform::IsLoaded<frmImport>());
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes().back().prompt, "Error opening file.");
  EXPECT_EQ(logging::LogCount, 1) << "the log held stays";
}

TEST_F(AppendTest, TheLiveLogIsRefusedHoweverItsPathIsSpelt) {
  Log({Contact("K1")});
  const QString linkFolder = PathOf("links");
  ASSERT_TRUE(QDir().mkdir(linkFolder));
  ASSERT_TRUE(QFile::link(path_, linkFolder + "/archive.MDB"));
  // Relative paths start from the program folder, where the menu's reload leaves the current folder.
  const QString spellings[] = {path_,          PathOf("CORVANE.mdb"), linkFolder + "/archive.MDB", "links/archive.MDB",
                               "links/../corvane.MDB", "  " + path_ + " "};
  for (const QString& spelling : spellings) {
    SCOPED_TRACE(spelling.toStdString());
    logging::BackupTickCount = 9;
    const std::size_t shownBefore = dialogs.MessageBoxes().size();
    const int beepsBefore = dialogs.Beeps();
    Combine([&](frmImport& window) {
      window.Text1.SetText(spelling);
      Click(window.Command2);
      EXPECT_EQ(window.MousePointer(), platform::MousePointerDefault);
      Click(window.Command1);
    });
    ASSERT_EQ(dialogs.MessageBoxes().size(), shownBefore + 1);
    EXPECT_EQ(dialogs.MessageBoxes().back().prompt, "You can not append the same file onto itself.");
    EXPECT_EQ(dialogs.MessageBoxes().back().title, "Invalid Request!");
    EXPECT_EQ(dialogs.Beeps(), beepsBefore + 1);
    EXPECT_EQ(logging::BackupTickCount, 0);
    EXPECT_EQ(RowsOnFile(path_).size(), 1);
  }
}

TEST_F(AppendTest, ADatabaseByItsNameAndBackupFilesOfAnyOtherNameAreAppended) {
  Log({Contact("K1")});
  const QList<QStringList> added = {Contact("K2"), Contact("X' or '1'='1", "50 M")};
  const QString sources[] = {OtherLog("other station.mdb", added), PathOf("BckUpLog.dat"), PathOf("restore.txt")};
  WriteFile(sources[1], BackupLines(added));
  WriteFile(sources[2], BackupLines(added));
  for (const QString& source : sources) {
    SCOPED_TRACE(source.toStdString());
    ExecuteFromAnotherPc(path_, "delete from tbllog where calls <> 'K1'");
    logging::BackupTickCount = 9;

    AppendFile(source);

    EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({Contact("K1"), added[0], added[1]}));
    EXPECT_EQ(logging::LogCount, 3) << "reloaded";
    EXPECT_EQ(logging::BackupTickCount, 0);
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(dialogs.Beeps(), 0);
}

TEST_F(AppendTest, AnEmptyBackupFileAddsNothingButStillReloads) {
  Log({Contact("K1")});
  InsertFromAnotherPc(path_, Contact("K2"));
  WriteFile(PathOf("BckUpLog.dat"), "");
  AppendFile(PathOf("BckUpLog.dat"));
  EXPECT_EQ(RowsOnFile(path_).size(), 2);
  EXPECT_EQ(logging::LogCount, 2);
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

// A line end separates values as a comma does: blank lines, also of blanks only, hold no contact.
TEST_F(AppendTest, BlankLinesInABackupFileAreSkipped) {
  Log({Contact("K1")});
  WriteFile(PathOf("BckUpLog.dat"), "\r\n" + BackupLine(Contact("K2")) + "\r\n  \t\r\n\n" + BackupLine(Contact("K3")) +
                                        "\r\n\r\n");
  AppendFile(PathOf("BckUpLog.dat"));
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({Contact("K1"), Contact("K2"), Contact("K3")}));
  EXPECT_EQ(logging::LogCount, 3);
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

// A missing value (NULL) compares equal to nothing, not even to the "" it is added as: a contact
// missing its call, band or a grid is no duplicate, and neither is a live contact missing one.
TEST_F(AppendTest, AContactMissingItsCallBandOrAGridIsNeverADuplicate) {
  // Each live contact holds "" where its source row holds NULL.
  const struct {
    QStringList live;
    const char* source;
  } pairs[] = {
      {{"", "59", "FN20", "57", "FN31", "2024/03/02", "12:00:00", "144 M", "PH"},
       "null, '59', 'FN20', '57', 'FN31', '2024/03/02', '12:00:00', '144 M', 'PH'"},
      {{"K1", "59", "", "57", "FN31", "2024/03/02", "12:00:00", "144 M", "PH"},
       "'K1', '59', null, '57', 'FN31', '2024/03/02', '12:00:00', '144 M', 'PH'"},
      {{"K2", "59", "FN20", "57", "", "2024/03/02", "12:00:00", "144 M", "PH"},
       "'K2', '59', 'FN20', '57', null, '2024/03/02', '12:00:00', '144 M', 'PH'"},
      {{"K3", "59", "FN20", "57", "FN31", "2024/03/02", "12:00:00", "", "PH"},
       "'K3', '59', 'FN20', '57', 'FN31', '2024/03/02', '12:00:00', null, 'PH'"},
  };
  const QString other = OtherLog("other station.mdb", {});
  for (const auto& pair : pairs) {
    InsertFromAnotherPc(path_, pair.live);
    ExecuteFromAnotherPc(other, (QByteArray("insert into tbllog values (") + pair.source + ")").constData());
  }
  // And the other way round: a live contact missing its own grid, a backup line with "".
  ExecuteFromAnotherPc(path_, "insert into tbllog values ('K4', '59', 'FN20', '57', null, '2024/03/02', "
                              "'12:00:00', '144 M', 'PH')");
  WriteFile(PathOf("BckUpLog.dat"),
            BackupLine({"K4", "59", "FN20", "57", "", "2024/03/02", "12:00:00", "144 M", "PH"}));

  AppendFile(other);
  AppendFile(PathOf("BckUpLog.dat"));

  const QList<QStringList> rows = RowsOnFile(path_);
  ASSERT_EQ(rows.size(), 5 + 4 + 1) << "every row added";
  for (int pair = 0; pair < 4; ++pair) {
    EXPECT_EQ(rows[5 + pair], pairs[pair].live) << "a missing value is added as \"\"";
  }
}

TEST_F(AppendTest, EliminationSkipsWhatTheLogHoldsByCallBandAndBothGridsAndAddsARepeatedRowOnce) {
  Log({Contact("K1")});
  const QStringList sameKeyOtherDetails = {"k1", "55", "fn20", "53", "fn31", "2024/03/03", "01:00:00", "144 m", "CW"};
  const QList<QStringList> source = {
      sameKeyOtherDetails, Contact("K2"), Contact("K2"), Contact("K1", "432 M"), Contact("K1", "144 M", "FN21"),
  };
  WriteFile(PathOf("BckUpLog.dat"), BackupLines(source));

  AppendFile(PathOf("BckUpLog.dat"));

  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({Contact("K1"), Contact("K2"), Contact("K1", "432 M"),
                                                   Contact("K1", "144 M", "FN21")}));
}

TEST_F(AppendTest, ALogWithoutTheIndexOnCallsEliminatesAllTheSame) {
  ExecuteFromAnotherPc(path_, "drop index tbllog_calls");
  Log({Contact("K1")});
  WriteFile(PathOf("BckUpLog.dat"), BackupLines({Contact("k1"), Contact("K2")}));
  AppendFile(PathOf("BckUpLog.dat"));
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({Contact("K1"), Contact("K2")}));
}

TEST_F(AppendTest, WithoutEliminationARestoreOfTheBackupDoublesEveryContact) {
  Log({Contact("K1"), Contact("K2", "50 M")});
  form.BackupLog();
  AppendFile(PathOf("BckUpLog.dat"), /*eliminate=*/false);
  EXPECT_EQ(RowsOnFile(path_), QList<QStringList>({Contact("K1"), Contact("K2", "50 M"), Contact("K1"),
                                                   Contact("K2", "50 M")}));
  EXPECT_EQ(logging::LogCount, 4);
}

TEST_F(AppendTest, AnArchiveCopyOfTheLiveLogAddsNothingWithEliminationAndEachRowOnceWithout) {
  Log({Contact("K1"), Contact("K2", "50 M")});
  const QString archive = PathOf("Corvane 2024-03-02.MDB");
  platform::CopyLogDatabase(path_, archive);
  AppendFile(archive);
  EXPECT_EQ(RowsOnFile(path_).size(), 2);
  AppendFile(archive, /*eliminate=*/false);
  EXPECT_EQ(RowsOnFile(path_).size(), 4) << "the archive is read whole before the first row is added";
}

TEST_F(AppendTest, UntickingEliminationAsksAndAnythingButYesTicksItAgain) {
  Combine([&](frmImport& window) {
    dialogs.AnswerMessageBox(platform::MsgBoxResult::No);
    QTest::mouseClick(window.Check1.Widget(), Qt::LeftButton);
    EXPECT_EQ(window.Check1.Value(), 1);
    EXPECT_TRUE(window.Check1.HasFocus());
    ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
    EXPECT_EQ(dialogs.MessageBoxes()[0].prompt,
              "Are you sure?  Once imported, duplicates can only be removed manually and will not be identified by "
              "the program.");
    EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Are you sure");
    EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::YesNo);

    dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);
    QTest::mouseClick(window.Check1.Widget(), Qt::LeftButton);
    EXPECT_EQ(window.Check1.Value(), 0);
    QTest::mouseClick(window.Check1.Widget(), Qt::LeftButton);
    EXPECT_EQ(window.Check1.Value(), 1);
    EXPECT_EQ(dialogs.MessageBoxes().size(), 2u) << "ticking asks nothing";
  });
}

TEST_F(AppendTest, BrowseFillsThePathAndReturnsToTheProgramFolderACancelOnlyBeeps) {
  const QString chosen = PathOf("BckUpLog.dat");
  dialogs.ChooseFile(chosen);
  dialogs.CancelFileDialog();
  Combine([&](frmImport& window) {
    currentFolder_.Restore();
    Click(window.Command3);
    EXPECT_EQ(window.Text1.Text(), chosen);
    EXPECT_TRUE(window.Command2.HasFocus());
    EXPECT_EQ(platform::CurDir(), platform::NativePath(app::ProgramDir));
    ASSERT_EQ(dialogs.CommonDialogs().size(), 1u);
    EXPECT_EQ(dialogs.CommonDialogs()[0].filter, "*.DAT; *.MDB|*.DAT; *.MDB");
    EXPECT_EQ(dialogs.CommonDialogs()[0].filterIndex, 1);

    Click(window.Command3);
    EXPECT_EQ(window.Text1.Text(), chosen);
    EXPECT_EQ(dialogs.Beeps(), 1);
  });
}

TEST_F(AppendTest, AnUnreadableSourceSaysSoKeepsTheRowsAddedBeforeAndChangesNothingElse) {
  const QList<QStringList> good = {Contact("K2"), Contact("K3")};
  const QByteArray eightValues = BackupLine(Contact("K9").mid(0, 8));
  const QByteArray tenValues = BackupLine(Contact("K9") << "extra");
  QByteArray unterminated = BackupLine(Contact("K9"));
  unterminated.chop(3);  // the last closing quote and the line end
  unterminated += "\r\n";
  const QString otherTable = PathOf("notes.MDB");
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(otherTable).constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "create table notes (text)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  const QString narrowTable = PathOf("narrow.MDB");
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(narrowTable).constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "create table tbllog (calls, rstr, gridr); insert into tbllog values ('K2', '59', 'FN20')",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  WriteFile(PathOf("junk.dat"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR,,,,", 20));
  WriteFile(PathOf("text.MDB"), BackupLines(good));
  const struct {
    const char* name;
    QString path;
    QByteArray content;  // written to the path when not empty
    int rowsAdded;
  } cases[] = {
      {"a short line", PathOf("short.dat"), BackupLine(good[0]) + eightValues + BackupLine(good[1]), 1},
      {"a long line", PathOf("long.dat"), BackupLine(good[0]) + tenValues + BackupLine(good[1]), 1},
      {"an unterminated quote", PathOf("open.dat"), BackupLine(good[0]) + unterminated, 1},
      {"junk", PathOf("junk.dat"), {}, 0},
      {"a backup file named as a database", PathOf("text.MDB"), {}, 0},
      {"a database without tbllog", otherTable, {}, 0},
      {"a tbllog of three columns", narrowTable, {}, 0},
      {"no such file", PathOf("missing.dat"), {}, 0},
      {"a folder", dir_.path(), {}, 0},
      {"no path at all", QString(), {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.content.isEmpty()) WriteFile(c.path, c.content);
    ExecuteFromAnotherPc(path_, "delete from tbllog");
    Log({Contact("K1")});
    InsertFromAnotherPc(path_, Contact("K0"));  // not reloaded yet
    const std::size_t shownBefore = dialogs.MessageBoxes().size();
    const int beepsBefore = dialogs.Beeps();

    Combine([&](frmImport& window) {
      window.Text1.SetText(c.path);
      Click(window.Command2);
      EXPECT_EQ(window.MousePointer(), platform::MousePointerDefault);
      EXPECT_TRUE(window.Command1.HasFocus());
      Click(window.Command1);
    });

    ASSERT_EQ(dialogs.MessageBoxes().size(), shownBefore + 1);
    EXPECT_EQ(dialogs.MessageBoxes().back().prompt, "Unable to read file.");
    EXPECT_EQ(dialogs.MessageBoxes().back().title, "Append Error");
    EXPECT_EQ(dialogs.Beeps(), beepsBefore + 1);
    QList<QStringList> expected = {Contact("K1"), Contact("K0")};
    if (c.rowsAdded == 1) expected << good[0];
    EXPECT_EQ(RowsOnFile(path_), expected);
    EXPECT_EQ(logging::LogCount, 2) << "reloaded by the menu only, not after the failure";
    EXPECT_FALSE(logging::LogRecordset.IsOpen());
  }
}

}  // namespace
