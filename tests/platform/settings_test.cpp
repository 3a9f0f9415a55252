#include "platform/settings.h"

#include "platform/errors.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

#include "damagedfiles.h"
#include "fulldisk.h"

using namespace platform;

namespace {

// Keeps the user's own settings out of reach: the settings live in a scratch config folder of
// the test's own, and the config folder is given back as it was.
class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.isValid());
    folder_ = scratch_.path();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder_));
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", savedConfig_); }

  QTemporaryDir scratch_;
  QByteArray savedConfig_ = qgetenv("XDG_CONFIG_HOME");
  QString folder_;
};

}  // namespace

TEST_F(SettingsTest, SavedValuesComeBackAndDeletedOnesGiveTheDefault) {
  EXPECT_EQ(GetSetting("Varnek_Software", "Settings", "UserCWSelection", "Timer"), "Timer");

  SaveSetting("Varnek_Software", "Settings", "UserCWSelection", "Sleep");
  SaveSetting("Varnek_Software", "Settings", "UserCWLoopOffset", "12.5");
  EXPECT_EQ(GetSetting("Varnek_Software", "Settings", "UserCWSelection", "Timer"), "Sleep");
  EXPECT_EQ(GetSetting("Varnek_Software", "Settings", "usercwselection"), "Sleep");
  EXPECT_EQ(GetSetting("Varnek_Software", "Other", "UserCWSelection", "none"), "none");

  SaveSetting("Varnek_Software", "Settings", "USERCWSELECTION", "Loop");  // one key, any case
  EXPECT_EQ(GetSetting("Varnek_Software", "Settings", "UserCWSelection"), "Loop");

  DeleteSetting("Varnek_Software", "Settings", "UserCWSelection");
  EXPECT_EQ(GetSetting("Varnek_Software", "Settings", "UserCWSelection", "Timer"), "Timer");
  EXPECT_EQ(GetSetting("Varnek_Software", "Settings", "UserCWLoopOffset", "0"), "12.5");

  QFile file(folder_ + "/Varnek_Software.ini");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "[Settings]\nUserCWLoopOffset=12.5\n");
}

TEST_F(SettingsTest, TheFirstSaveMakesAConfigFolderThatIsNotThereYet) {
  const QString config = folder_ + "/new-account/.config";
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));

  SaveSetting("Varnek_Software", "Settings", "UserCWSelection", "Sleep");

  EXPECT_EQ(GetSetting("Varnek_Software", "Settings", "UserCWSelection", "Timer"), "Sleep");
  EXPECT_TRUE(QFile::exists(config + "/Varnek_Software.ini"));
}

// Another program, or a hand edit, left lines QSettings cannot parse: storing refuses, and the file
// keeps every byte rather than being rewritten without them.
TEST_F(SettingsTest, AFailedSaveLeavesAnUnparseableFileAsItWas) {
  const QByteArray files[] = {
      "[Settings]\nUserCWSelection=Sleep\na line without a value\nUserCWLoopOffset=12.5\n",
      "[Settings\nUserCWSelection=Sleep\n",
  };
  for (const QByteArray& bytes : files) {
    SCOPED_TRACE(bytes.toStdString());
    QFile file(folder_ + "/Varnek_Software.ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    const std::function<void()> stores[] = {
        [] { SaveSetting("Varnek_Software", "Settings", "UserCWSelection", "Loop"); },
        [] { DeleteSetting("Varnek_Software", "Settings", "UserCWSelection"); },
    };
    for (const auto& store : stores) {
      try {
        store();
        ADD_FAILURE() << "stored";
      } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), 70);
      }
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      EXPECT_EQ(file.readAll(), bytes);
      file.close();
    }
  }
}

// A FIFO in the settings file's place would hold the program for ever, a huge file fill its memory.
TEST_F(SettingsTest, WhatIsNoSettingsFileGivesTheDefaultsAndIsNeverReplaced) {
  const QString file = folder_ + "/Varnek_Software.ini";
  ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
  EXPECT_TRUE(FinishesWithoutAWriter(file, [] {
    EXPECT_EQ(GetSetting("Varnek_Software", "Settings", "UserCWSelection", "Timer"), "Timer");
    EXPECT_THROW(SaveSetting("Varnek_Software", "Settings", "UserCWSelection", "Loop"), RuntimeError);
  }));
  struct stat status {};
  EXPECT_TRUE(::stat(QFile::encodeName(file).constData(), &status) == 0 && S_ISFIFO(status.st_mode))
      << "the FIFO is still there";
  ASSERT_TRUE(QFile::remove(file));

  const QByteArray huge = "[Settings]\nUserCWSelection=Sleep\n" + QByteArray(5 * 1024 * 1024, '\n');
  {
    QFile big(file);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(huge);
  }
  EXPECT_EQ(GetSetting("Varnek_Software", "Settings", "UserCWSelection", "Timer"), "Timer");
  EXPECT_THROW(SaveSetting("Varnek_Software", "Settings", "UserCWSelection", "Loop"), RuntimeError);
  QFile big(file);
  ASSERT_TRUE(big.open(QIODevice::ReadOnly));
  EXPECT_EQ(big.readAll(), huge);
}

// On a full disk the save names the system's reason, which the operator can act on, and the file
// stays as it was: whether the disk of the settings folder is full, or every disk, the temporary
// folder's too.
TEST_F(SettingsTest, ASaveOnAFullDiskNamesTheReasonAndLeavesTheFileAsItWas) {
  const QByteArray old = "[Settings]\nUserCWSelection=Sleep\nUserClubName=Society of the Hilltop\n";
  QFile file(folder_ + "/Varnek_Software.ini");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(old);
  file.close();
  const struct {
    const char* disk;
    std::string folder;
  } disks[] = {{"the settings folder's", QFile::encodeName(folder_).toStdString()}, {"every", {}}};
  for (const auto& d : disks) {
    SCOPED_TRACE(d.disk);
    try {
      const FullDisk full(16, d.folder);
      SaveSetting("Varnek_Software", "Settings", "UserCWSelection", "Loop");
      ADD_FAILURE() << "stored";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), 75);
      EXPECT_EQ(error.Description(), "No space left on device");
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    file.close();
  }
}
