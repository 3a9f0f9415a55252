#include "platform/asidefile.h"

#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "asordinaryuser.h"
#include "fulldisk.h"

using namespace platform;

namespace {

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteInPlace(const QString& path, const QByteArray& bytes, int mode) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(bytes), bytes.size());
  file.close();
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)), 0);
}

struct stat Status(const QString& path) {
  struct stat status {};
  EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
  return status;
}

class AsideFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    savedMask_ = ::umask(022);
  }
  void TearDown() override { ::umask(savedMask_); }

  QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

  QTemporaryDir dir_;
  QString target_ = dir_.filePath(QStringLiteral("SharedUserPreferences.xml"));
  mode_t savedMask_ = 0;
};

TEST_F(AsideFileTest, ANewFileIsMadeAsAnyNewFileAndAnOldOneIsReplacedWithItsPermissionBits) {
  WriteFileAside(target_, "first\r\n");
  EXPECT_EQ(Contents(target_), "first\r\n");
  EXPECT_EQ(Status(target_).st_mode & 07777, 0644u) << "the umask applies to a new file";

  WriteInPlace(target_, "old\r\n", 0640);
  const ino_t oldFile = Status(target_).st_ino;
  WriteFileAside(target_, "second\r\n");
  EXPECT_EQ(Contents(target_), "second\r\n");
  EXPECT_EQ(Status(target_).st_mode & 07777, 0640u);
  EXPECT_NE(Status(target_).st_ino, oldFile) << "a new file took the old one's place; it was not written in place";
  EXPECT_EQ(Files(), QStringList{"SharedUserPreferences.xml"});
}

// Another program may keep the file elsewhere and leave a link in its place.
TEST_F(AsideFileTest, ALinkStaysALinkAndTheFileItLeadsToIsReplaced) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("elsewhere")));
  const QString real = dir_.filePath(QStringLiteral("elsewhere/prefs.xml"));
  WriteInPlace(real, "old\r\n", 0600);
  ASSERT_TRUE(QFile::link(real, target_));

  WriteFileAside(target_, "new\r\n");

  EXPECT_TRUE(S_ISLNK(Status(target_).st_mode));
  EXPECT_EQ(Contents(real), "new\r\n");
  EXPECT_EQ(Status(real).st_mode & 07777, 0600u);
}

TEST_F(AsideFileTest, AFailedOrAbandonedWriteLeavesTheOldFileByteForByteAndNothingBesideIt) {
  const QByteArray old(5000, 'o');
  WriteInPlace(target_, old, 0644);
  {
    FullDisk full;
    EXPECT_THROW(WriteFileAside(target_, QByteArray(6000, 'n')), RuntimeError);
  }
  EXPECT_EQ(Contents(target_), old);
  EXPECT_EQ(Files(), QStringList{"SharedUserPreferences.xml"});

  {
    AsideFile abandoned(target_);
    abandoned.Write("half of it");
    EXPECT_EQ(Files().size(), 2);
  }
  EXPECT_EQ(Contents(target_), old);
  EXPECT_EQ(Files(), QStringList{"SharedUserPreferences.xml"});
}

// Writing in place would be refused for a file the user may not write, and for what is no file.
TEST_F(AsideFileTest, AFileTheUserMayNotWriteOrAFolderIsRefusedAndLeftAsItWas) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder")));
  EXPECT_THROW(WriteFileAside(dir_.filePath(QStringLiteral("folder")), "x"), RuntimeError);
  EXPECT_TRUE(QFileInfo(dir_.filePath(QStringLiteral("folder"))).isDir());

  WriteInPlace(target_, "kept\r\n", 0444);
  ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0755), 0);  // others may look in
  bool ordinary = false;
  {
    const AsOrdinaryUser user;
    ordinary = user.Active();
    try {
      WriteFileAside(target_, "new\r\n");
      if (ordinary) ADD_FAILURE() << "written";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), 70);
    }
  }
  if (!ordinary) GTEST_SKIP() << "cannot check file access as an ordinary user";
  EXPECT_EQ(Contents(target_), "kept\r\n");
  EXPECT_EQ(Files(), QStringList{"SharedUserPreferences.xml"});
}

}  // namespace
