#pragma once

// The main window of one PC of the station, on a real shared log file that other PCs fill: the
// exports reload it through WorkList before they write, so what they write is what the file
// holds. Dialogs are scripted.

#include "app/form1.h"
#include "app/globalpreferences.h"
#include "app/globals.h"
#include "logging/contactlist.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include "anotherpc.h"
#include "formtesting.h"
#include "logdatabasefixture.h"

// A contact row as another PC stores it: calls, rstr, gridr, rsts, grids, flddate, fldtime, uband,
// umode.
inline QStringList Row(const QString& call, const QString& band, const QString& mode, const QString& date,
                       const QString& time, const QString& gridRcvd = QStringLiteral("FN42"),
                       const QString& gridSent = QStringLiteral("FN31")) {
  return {call, "57", gridRcvd, "59", gridSent, date, time, band, mode};
}

// The program folder is the log's folder, the data folder a folder in it; the current folder is
// elsewhere until an export selects the program folder.
class ExportWindowTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    app::ProgramDir = dir_.path();
    app::ProgramDrive = QStringLiteral("/");
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Corvane")));
    app::DataFolder = DataFolderPath();
    app::modGlobalPreferences::LoadPreferencesText(SharedPreferencesPath());
    app::OwnCall = QStringLiteral("W1XYZ");
    app::OwnGrid = QStringLiteral("FN31");
    app::ContestType = 2;
    logging::CreateContactListColumns(form);
    ShowActive(form);
  }

  QString DataFolderPath() const { return dir_.filePath(QStringLiteral("Corvane")); }
  QString SharedPreferencesPath() const { return dir_.filePath(QStringLiteral("SharedUserPreferences.xml")); }
  QString ProgramFolder() const { return QDir(dir_.path()).canonicalPath(); }

  void LoggedElsewhere(const QList<QStringList>& rows) {
    for (const QStringList& row : rows) InsertFromAnotherPc(path_, row);
  }
  void EmptiedElsewhere() { ExecuteFromAnotherPc(path_, "delete from tbllog"); }

  static void Choose(platform::Menu& item) { item.Action()->trigger(); }

  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
  }

  // An existing file an export must leave whole when it fails: its name is as long as names go,
  // so no file can be made beside it under a longer name to take its place.
  QString LongNamedOldFile(const QByteArray& content) const {
    const QString path = dir_.filePath(QString(250, u'x'));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
  }

  // The one message box shown, checked to be the failed write's.
  void ExpectUnableToWrite() const {
    ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
    const platform::MessageBoxShown& box = dialogs.MessageBoxes()[0];
    EXPECT_EQ(box.title, "Unable to write file.");
    EXPECT_FALSE(box.prompt.isEmpty()) << "the failure's description";
    EXPECT_EQ(box.style, platform::MsgBoxStyle::OKOnly);
    EXPECT_EQ(dialogs.Beeps(), 1);
  }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};
