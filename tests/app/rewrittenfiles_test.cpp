// The files the program rewrites while it runs, each with another program's or an earlier run's
// content in it: a write that fails part-way leaves each one byte for byte, and a write that
// succeeds keeps the permission bits the operator gave it.

#include "app/form1.h"
#include "app/globalpreferences.h"
#include "app/globals.h"
#include "logging/logstore.h"
#include "logging/preferences.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <utility>

#include "asordinaryuser.h"
#include "fakehome.h"
#include "fulldisk.h"
#include "keptcurrentfolder.h"

namespace {

namespace prefs = app::modGlobalPreferences;

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

int Mode(const QString& path) {
  struct stat status {};
  return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

// The shared preferences file as the sibling logger leaves it: 800 lines of its own.
QByteArray SiblingPreferences() {
  QByteArray text = R"(<?xml version="1.0" encoding="UTF-8" ?>)";
  for (int line = 1; line <= 800; ++line) {
    text += "\r\n<SIBLING_SETTING_" + QByteArray::number(line) + ">a value the sibling logger keeps here " +
            QByteArray::number(line * 7) + "</SIBLING_SETTING_" + QByteArray::number(line) + ">";
  }
  return text + "\r\n";
}

struct RewrittenFile {
  const char* name;
  QString path;
  QByteArray old;
  std::function<void()> rewrite;
};

class RewrittenFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    savedMask_ = ::umask(022);
    for (const char* folder : {"shared", "program", "settings"}) home_.MakeFolder(folder);
    app::ProgramDir = home_.Path() + "/program";
    app::ProgramDrive = app::ProgramDir.left(1);
    for (int slot = 1; slot <= 3; ++slot) {
      logging::AppendContact({"W" + QString::number(slot) + "AW", "59", "FN31", "57", "FN20", "2024/03/02",
                              "12:00:00", "144 M", "PH"});
    }
  }
  void TearDown() override { ::umask(savedMask_); }

  // Each in a folder of its own, so whatever a write leaves beside the file shows.
  std::vector<RewrittenFile> Files() {
    const QString shared = home_.Path() + "/shared/SharedUserPreferences.xml";
    const QString settingsText = home_.Path() + "/settings/corvaneprf.txt";
    return {
        {"shared preferences", shared, SiblingPreferences(),
         [shared] {
           prefs::LoadPreferencesText(shared);
           prefs::SetPreference("OWN_CALL", "W1AW", 1);
         }},
        {"INI settings", home_.ConfigPath() + "/Varnek_Software.ini",
         "[Settings]\nUserCWSelection=Sleep\nUserClubName=Society of the Hilltop\n",
         [] { platform::SaveSetting("Varnek_Software", "Settings", "UserCWSelection", "Loop"); }},
        {"settings text", settingsText, "\"N0CALL\"\r\n\"EN34\"\r\n",
         [settingsText] { logging::WritePreferencesFile(settingsText, {}); }},
        {"backup file", app::ProgramDir + "/BckUpLog.dat", "\"K2XY\",\"59\",\"FN20\"\r\n",
         [this] { form_.BackupLog(); }},
    };
  }

  platform::ScriptedDialogs dialogs_;  // each caller reports a failure its own way
  FakeHome home_;
  KeptCurrentFolder currentFolder_;
  app::Form1& form_ = platform::InstanceWithoutLoad<app::Form1>();
  mode_t savedMask_ = 0;
};

TEST_F(RewrittenFiles, AWriteThatFailsPartWayLeavesEveryFileByteForByteAndNothingBesideIt) {
  for (const RewrittenFile& file : Files()) {
    SCOPED_TRACE(file.name);
    WriteFile(file.path, file.old);
    const QStringList folder = QDir(QFileInfo(file.path).path()).entryList(QDir::Files | QDir::Hidden);
    {
      FullDisk full;
      try {
        file.rewrite();
      } catch (const std::exception&) {
        // each caller reports the failure its own way; the file is what counts here
      }
    }
    EXPECT_EQ(Contents(file.path), file.old);
    EXPECT_EQ(QDir(QFileInfo(file.path).path()).entryList(QDir::Files | QDir::Hidden), folder);
  }
}

// A file shared with the station's other users (root:users 0664 and the like): the rewrite keeps
// its owner and group as well, where the system lets the writer give them (root may give any;
// another user a group of its own), so the others may go on writing it.
TEST_F(RewrittenFiles, ARewriteKeepsThePermissionBitsOwnerAndGroupOfTheFileItReplaces) {
  const std::optional<gid_t> group = AnotherGroupOfOurs();
  const uid_t owner = AnotherOwnerWhereAllowed();
  for (const RewrittenFile& file : Files()) {
    SCOPED_TRACE(file.name);
    WriteFile(file.path, file.old);
    const QByteArray name = QFile::encodeName(file.path);
    if (group) {
      ASSERT_EQ(::chown(name.constData(), owner, *group), 0);
    }
    ASSERT_EQ(::chmod(name.constData(), 0664), 0);
    file.rewrite();
    EXPECT_NE(Contents(file.path), file.old);
    EXPECT_EQ(Mode(file.path), 0664);
    struct stat status {};
    ASSERT_EQ(::stat(name.constData(), &status), 0);
    if (group) {
      EXPECT_EQ(std::pair(status.st_uid, status.st_gid), std::pair(owner, *group));
    }
  }
  if (!group) GTEST_SKIP() << "the user is a member of no other group: only the bits were checked";
}

}  // namespace
