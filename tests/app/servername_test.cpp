#include "app/servername.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "mountedshare.h"

namespace {

TEST(ServerNameFromUncPath, NameBetweenLeadingDoubleBackslashAndNextBackslash) {
  const struct {
    const char* path;
    const char* server;
  } cases[] = {
      {R"(\\SHACK\Logs\Corvane.MDB)", "SHACK"},
      {R"(\\shack-pc2\c\Corvane\Corvane.MDB)", "shack-pc2"},
      {R"(\\SHACK\)", "SHACK"},
      {R"(\\SHACK)", ""},
      {R"(\\\Logs\Corvane.MDB)", ""},
      {R"(C:\Corvane\Corvane.MDB)", ""},
      // A "\\" further in would give a negative length: no PC is named.
      {R"(C:\Logs\\SHACK\Corvane.MDB)", ""},
      {R"(x\\SHACK\Corvane.MDB)", ""},
      {"/mnt/shack/Corvane.MDB", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(app::ServerNameFromUncPath(c.path), c.server) << c.path;
}

const QString Mounts = QStringLiteral(
    "sysfs /sys sysfs rw,nosuid 0 0\n"
    "/dev/sda1 / ext4 rw,relatime 0 0\n"
    "//shackpc/logs /mnt/shack cifs rw,vers=3.0,addr=192.168.1.5 0 0\n"
    "tmpfs /mnt/shack/cache tmpfs rw 0 0\n"
    "nas.local:/export/contest /mnt/contest nfs4 rw,vers=4.2 0 0\n"
    "[fd00::5]:/export /mnt/v6 nfs rw 0 0\n"
    "//other/share\\040two /mnt/with\\040blank cifs rw 0 0\n"
    "/dev/sdb1 /mnt/stacked ext4 rw 0 0\n"
    "//top/share /mnt/stacked smb3 rw 0 0\n");

TEST(MountHostOfPath, HostOfTheShareHoldingThePath) {
  const struct {
    const char* path;
    const char* host;
  } cases[] = {
      {"/mnt/shack/Corvane.MDB", "shackpc"},
      {"/mnt/shack", "shackpc"},
      {"/mnt/shack/cache/Corvane.MDB", ""},
      {"/mnt/shackle/Corvane.MDB", ""},
      {"/mnt/contest/2024/Corvane.MDB", "nas.local"},
      {"/mnt/contest/../shack/Corvane.MDB", "shackpc"},
      {"/mnt/v6/Corvane.MDB", "fd00::5"},
      {"/mnt/with blank/Corvane.MDB", "other"},
      {"/mnt/stacked/Corvane.MDB", "top"},
      {"/home/op/Corvane.MDB", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(app::MountHostOfPath(c.path, Mounts), c.host) << c.path;
}

TEST(ServerNameForLogFile, UncNameFirstThenTheMountOfTheResolvedFile) {
  EXPECT_EQ(app::ServerNameForLogFile(R"(\\SHACK\Logs\Corvane.MDB)", Mounts), "SHACK");
  EXPECT_EQ(app::ServerNameForLogFile("/mnt/contest/Corvane.MDB", Mounts), "nas.local");
  EXPECT_EQ(app::ServerNameForLogFile("/home/op/Corvane.MDB", Mounts), "");

  // A link in a local folder that points into a share counts as the share.
  QTemporaryDir folder;
  ASSERT_TRUE(QDir(folder.path()).mkdir("share"));
  const QString share = QDir(folder.path() + "/share").canonicalPath();
  QFile(share + "/Corvane.MDB").open(QIODevice::WriteOnly);
  ASSERT_TRUE(QFile::link(share, folder.path() + "/link"));
  const QString table = "//fileserver/logs " + share + " cifs rw 0 0\n";
  EXPECT_EQ(app::ServerNameForLogFile(folder.path() + "/link/Corvane.MDB", table), "fileserver");
}

// The set-up names no table: the platform's mount table is read, the one "\\host\share" paths read.
TEST(ServerNameForLogFile, TheSetUpReadsThePlatformsMountTable) {
  const MountedShare share("127.0.0.1", "log");
  EXPECT_EQ(app::ServerNameForLogFile(share.FilePath("Corvane.MDB")), "127.0.0.1");
}

}  // namespace
