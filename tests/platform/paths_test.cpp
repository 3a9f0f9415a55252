#include "platform/paths.h"

#include "platform/environment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "damagedfiles.h"

using namespace platform;

namespace {

void Touch(const QString& path, const QByteArray& content = "x") {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(content);
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A scratch folder made current for the test: cw.txt, Data/, both cases of one name, and a
// folder standing in for a mounted share.
class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    root_ = QDir(dir_.path()).canonicalPath();
    Touch(root_ + "/cw.txt");
    QDir(root_).mkdir("Data");
    Touch(root_ + "/Data/BandPlan.txt");
    Touch(root_ + "/both.txt", "lower");
    Touch(root_ + "/BOTH.txt", "upper");
    QDir(root_).mkpath("share mount/Logs");
    Touch(root_ + "/share mount/Logs/Corvane.mdb");
    QString mountPoint = root_ + "/share mount";
    Touch(root_ + "/mounts",
          "//otherpc/logs /mnt/other cifs rw 0 0\n"
          "//PC/Share " + mountPoint.replace(" ", "\\040").toUtf8() + " cifs rw,relatime 0 0\n"
          "/dev/sda1 / ext4 rw 0 0\n");
    SetMountTableForTesting(root_ + "/mounts");
    previous_ = QDir::currentPath();
    ChDir(root_);
  }
  void TearDown() override {
    QDir::setCurrent(previous_);
    SetMountTableForTesting("/proc/mounts");
  }

  QTemporaryDir dir_;
  QString root_;
  QString previous_;
};

}  // namespace

TEST_F(PathsTest, ProgramPathsBecomeNativePaths) {
  const struct {
    QString written;
    QString expected;
  } cases[] = {
      {"c:\\Pegasus\\PEGASUS.OUT", "/Pegasus/PEGASUS.OUT"},
      {"C:", "/"},
      {"\\\\server\\logs\\Corvane.mdb", "//server/logs/Corvane.mdb"},
      {"\\\\pc\\SHARE\\logs\\corvane.MDB", root_ + "/share mount/Logs/Corvane.mdb"},
      {"\\\\PC\\Share", root_ + "/share mount"},
      {"CW.txt", root_ + "/cw.txt"},
      {"c:CW.TXT", root_ + "/cw.txt"},
      {root_ + "\\CW.txt", root_ + "/cw.txt"},
      {"data\\bandplan.TXT", root_ + "/Data/BandPlan.txt"},
      {"data\\new.txt", root_ + "/Data/new.txt"},
      {"DATA\\NewFolder\\new.txt", root_ + "/Data/NewFolder/new.txt"},
      {"Data\\..\\Cw.txt", root_ + "/cw.txt"},
      {"both.txt", root_ + "/both.txt"},
      {"BOTH.txt", root_ + "/BOTH.txt"},
      {root_ + "/Data/", root_ + "/Data"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(NativePath(c.written), c.expected) << c.written.toStdString();
}

TEST_F(PathsTest, CurrentFolderFollowsChDirAndIgnoresDrives) {
  ChDrive("C");
  ChDrive("/");
  ChDir("DATA");
  EXPECT_EQ(CurDir(), root_ + "/Data");
  EXPECT_EQ(NativePath("bandplan.txt"), root_ + "/Data/BandPlan.txt");
  ChDir("..");
  EXPECT_EQ(CurDir(), root_);

  try {
    ChDir("missing");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 76);
    EXPECT_EQ(e.Description(), "Path not found");
  }
  EXPECT_THROW(ChDir("cw.txt"), RuntimeError);
  EXPECT_THROW(ChDrive("1"), RuntimeError);
}

TEST_F(PathsTest, ExistenceIgnoresLetterCase) {
  EXPECT_TRUE(FileExists("CW.TXT"));
  EXPECT_FALSE(FileExists("data"));
  EXPECT_TRUE(DirExists("data"));
  EXPECT_FALSE(DirExists("cw.txt"));
  EXPECT_FALSE(FileExists("nothing.txt"));
}

TEST_F(PathsTest, MkDirMakesOneLevelAndReportsFailures) {
  MkDir(root_ + "\\Varnek Software");
  EXPECT_TRUE(QFileInfo(root_ + "/Varnek Software").isDir());

  const struct {
    QString path;
    int number;
  } failures[] = {
      {"varnek software", 75},  // exists, in another letter case
      {"Missing\\Corvane", 76},
      {"", 76},
  };
  for (const auto& f : failures) {
    try {
      MkDir(f.path);
      ADD_FAILURE() << f.path.toStdString();
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), f.number) << f.path.toStdString();
    }
  }
}

// Readers take only regular files, whole and capped: a FIFO would block for ever and a device
// such as /dev/zero would read until memory runs out.
TEST_F(PathsTest, OnlyRegularFilesUpToTheCapAreRead) {
  ASSERT_EQ(::mkfifo(QFile::encodeName(root_ + "/fifo").constData(), 0600), 0);
  ASSERT_TRUE(QFile::link("/dev/zero", root_ + "/zero"));
  Touch(root_ + "/big.txt", QByteArray(1001, 'x'));
  ASSERT_TRUE(QFile::link(root_ + "/big.txt", root_ + "/big link"));
  const struct {
    const char* name;
    int number;
    const char* reason;
  } refused[] = {
      {"fifo", 75, "is not a regular file"},
      {"zero", 75, "is not a regular file"},
      {"Data", 75, "is not a regular file"},
      {"big.txt", 75, "is larger than 1000 bytes"},
      {"big link", 75, "is larger than 1000 bytes"},
      {"absent.txt", 53, "File not found"},
  };
  EXPECT_TRUE(FinishesWithoutAWriter(root_ + "/fifo", [&] {
    for (const auto& r : refused) {
      SCOPED_TRACE(r.name);
      try {
        ReadRegularFile(root_ + '/' + r.name, 1000);
        ADD_FAILURE() << "read";
      } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), r.number);
        EXPECT_TRUE(e.Description().contains(r.reason)) << e.Description().toStdString();
      }
    }
  }));
  EXPECT_EQ(ReadRegularFile(root_ + "/big link", 1001), QByteArray(1001, 'x')) << "a link is followed";
  EXPECT_EQ(ReadRegularFile(root_ + "/cw.txt", 1), "x");
}

TEST_F(PathsTest, FileCopyReplacesTheDestination) {
  Touch(root_ + "/Data/archive.mdb", "old");
  FileCopy("BOTH.txt", "DATA\\ARCHIVE.MDB");
  EXPECT_EQ(Contents(root_ + "/Data/archive.mdb"), "upper");
  FileCopy("cw.txt", "cw.txt");  // onto itself: no harm done
  EXPECT_EQ(Contents(root_ + "/cw.txt"), "x");

  try {
    FileCopy("absent.mdb", "Data\\copy.mdb");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 53);
    EXPECT_EQ(e.Description(), "File not found");
  }
  EXPECT_THROW(FileCopy("cw.txt", "NoFolder\\copy.txt"), RuntimeError);
}

namespace {

// Sets environment variables for one test and puts the old values back.
class EnvironmentTest : public ::testing::Test {
 protected:
  void Set(const char* name, const char* value) {
    if (!saved_.contains(name)) saved_[name] = qgetenv(name);
    if (value) {
      qputenv(name, value);
    } else {
      qunsetenv(name);
    }
  }
  void TearDown() override {
    for (auto it = saved_.cbegin(); it != saved_.cend(); ++it) {
      if (it.value().isNull()) {
        qunsetenv(it.key().constData());
      } else {
        qputenv(it.key().constData(), it.value());
      }
    }
  }

 private:
  QMap<QByteArray, QByteArray> saved_;
};

}  // namespace

TEST_F(EnvironmentTest, ProfileAndAppDataFallBackToHomeAndConfig) {
  Set("HOME", "/home/op");
  Set("USERPROFILE", nullptr);
  Set("APPDATA", nullptr);
  Set("XDG_CONFIG_HOME", nullptr);
  Set("CORVANE_TEST_VALUE", "42");
  EXPECT_EQ(Environ("USERPROFILE"), "/home/op");
  EXPECT_EQ(Environ("AppData"), "/home/op/.config");
  EXPECT_EQ(Environ("CORVANE_TEST_VALUE"), "42");
  EXPECT_EQ(Environ("CORVANE_TEST_UNSET"), "");

  Set("XDG_CONFIG_HOME", "/xdg");
  EXPECT_EQ(Environ("APPDATA"), "/xdg");

  Set("USERPROFILE", "/profiles/op");
  Set("APPDATA", "/profiles/op/AppData");
  EXPECT_EQ(Environ("USERPROFILE"), "/profiles/op");
  EXPECT_EQ(Environ("APPDATA"), "/profiles/op/AppData");

  Set("USERPROFILE", "");  // empty counts as unset
  EXPECT_EQ(Environ("USERPROFILE"), "/home/op");
}
