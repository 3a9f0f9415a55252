#include "platform/asidefile.h"

#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "asordinaryuser.h"
#include "fulldisk.h"
#include "sharedfolder.h"

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

// The sibling logger takes the export file away once it has read it, and leaves the link it reads
// it through: the next export is made where the link leads, through a chain of links, relative ones
// read from their own folder.
TEST_F(AsideFileTest, ALinkToAFileNotThereYetStaysALinkAndTheFileIsMadeWhereItLeads) {
  ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("sibling/inbox")));
  const QString links = dir_.filePath(QStringLiteral("sibling/export.adi"));
  ASSERT_EQ(::symlink("inbox/new.adi", QFile::encodeName(links).constData()), 0);  // relative
  ASSERT_TRUE(QFile::link(links, target_));                                         // absolute, to a link

  WriteFileAside(target_, "exported\r\n");

  EXPECT_TRUE(S_ISLNK(Status(target_).st_mode));
  EXPECT_TRUE(S_ISLNK(Status(links).st_mode));
  EXPECT_EQ(Contents(dir_.filePath(QStringLiteral("sibling/inbox/new.adi"))), "exported\r\n");
  EXPECT_EQ(QDir(dir_.filePath(QStringLiteral("sibling/inbox"))).entryList(QDir::Files), QStringList{"new.adi"});

  const QString loop = dir_.filePath(QStringLiteral("loop"));
  ASSERT_EQ(::symlink("loop", QFile::encodeName(loop).constData()), 0);
  EXPECT_THROW(WriteFileAside(loop, "x"), RuntimeError);
  EXPECT_TRUE(S_ISLNK(Status(loop).st_mode));
}

TEST_F(AsideFileTest, AFailedOrAbandonedWriteLeavesTheOldFileByteForByteAndNothingBesideIt) {
  const QByteArray old(5000, 'o');
  WriteInPlace(target_, old, 0644);
  {
    FullDisk full;
    try {
      WriteFileAside(target_, QByteArray(6000, 'n'));
      ADD_FAILURE() << "written";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), 75);
      EXPECT_EQ(error.Description(), "No space left on device") << "the system's reason is named";
    }
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

void SetOwners(const QString& path, uid_t owner, gid_t group) {
  ASSERT_EQ(::chown(QFile::encodeName(path).constData(), owner, group), 0) << path.toStdString();
}

// The operator shares a file with a group (the station's users) and may give it a new owner as
// root: the rewrite keeps both, where the system lets the writer give them.
TEST_F(AsideFileTest, TheOwnerAndTheGroupOfTheReplacedFileAreKept) {
  const std::optional<gid_t> group = AnotherGroupOfOurs();
  if (!group) GTEST_SKIP() << "the user is a member of no other group";
  const uid_t owner = AnotherOwnerWhereAllowed();
  WriteInPlace(target_, "old\r\n", 0664);
  SetOwners(target_, owner, *group);

  WriteFileAside(target_, "new\r\n");

  EXPECT_EQ(Contents(target_), "new\r\n");
  EXPECT_EQ(Status(target_).st_uid, owner);
  EXPECT_EQ(Status(target_).st_gid, *group);
  EXPECT_EQ(Status(target_).st_mode & 07777, 0664u);
}

// The writer may write the file (it owns it) but is no member of its group: the new file is in the
// writer's group, which must not gain what only the old group was given.
TEST_F(AsideFileTest, AGroupThatCannotBeKeptGetsNoMoreThanEveryoneHad) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to a group the writer is no member of";
  const gid_t foreign = 12345;  // no group of this process
  ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0777), 0);
  const struct {
    int mode;
    mode_t kept;
  } cases[] = {{0664, 0644}, {0660, 0600}, {0666, 0666}, {0640, 0600}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    WriteInPlace(target_, "old\r\n", c.mode);
    SetOwners(target_, 65534, foreign);
    {
      const AsOrdinaryUser user;
      ASSERT_TRUE(user.Active());
      WriteFileAside(target_, "new\r\n");
    }
    EXPECT_EQ(Contents(target_), "new\r\n");
    EXPECT_NE(Status(target_).st_gid, foreign);
    EXPECT_EQ(Status(target_).st_mode & 07777, c.kept);
  }
}

// A shared exchange folder the operator may not add files to, holding a file the operator may
// write: there is no room for a new file beside it, so the file is written in place.
TEST_F(AsideFileTest, AFileTheUserMayWriteInAFolderTheUserMayNotAddFilesToIsWrittenInPlace) {
  WriteInPlace(target_, "an old content longer than the new\r\n", 0666);
  const ino_t file = Status(target_).st_ino;
  const QByteArray folder = QFile::encodeName(dir_.path());
  ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
  {
    const AsOrdinaryUser user;  // root may add files to any folder
    EXPECT_NE(::faccessat(AT_FDCWD, folder.constData(), W_OK, AT_EACCESS), 0) << "the folder takes no file";
    WriteFileAside(target_, "new\r\n");
  }
  ::chmod(folder.constData(), 0755);
  EXPECT_EQ(Contents(target_), "new\r\n");
  EXPECT_EQ(Status(target_).st_ino, file);
  EXPECT_EQ(Status(target_).st_mode & 07777, 0666u);
  EXPECT_EQ(Files(), QStringList{"SharedUserPreferences.xml"});
}

// Anyone may plant a link in a shared sticky folder, one leading to the operator's log or to a
// file of root's, or to where a file is to be made. It is followed only when it is the writer's
// or the folder owner's; otherwise the write is refused and nothing is written or made.
TEST_F(AsideFileTest, ALinkInASharedStickyFolderIsFollowedOnlyWhenTheWritersOrTheFolderOwners) {
  if (!MayPlantForAnotherUser()) GTEST_SKIP() << "only root can make another user's link";
  const uid_t writer = ::geteuid();
  const struct {
    const char* what;
    mode_t folderMode;
    uid_t folderOwner;
    uid_t linkOwner;
    bool followed;
  } cases[] = {
      {"another user's link in the writer's shared folder", 01777, writer, kAnotherUser, false},
      {"a third user's link in another user's shared folder", 01777, kAnotherUser, AsOrdinaryUser::kNobody, false},
      {"the writer's own link in another user's shared folder", 01777, kAnotherUser, writer, true},
      {"the folder owner's link", 01777, kAnotherUser, kAnotherUser, true},
      {"another user's link in a folder everyone may write, not sticky", 0777, writer, kAnotherUser, true},
      {"another user's link in a sticky folder only its group may write", 01775, writer, kAnotherUser, true},
  };
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("private")));
  const QString log = dir_.filePath(QStringLiteral("private/contest.db"));
  const QString notThere = dir_.filePath(QStringLiteral("private/made.db"));
  for (const auto& c : cases) {
    for (const QString& leadsTo : {log, notThere}) {
      SCOPED_TRACE(std::string(c.what) + (leadsTo == log ? ", to the log" : ", to a file not there"));
      WriteInPlace(log, "the log\r\n", 0600);
      QFile::remove(notThere);
      QTemporaryDir shared;
      ShareFolder(shared.path(), c.folderMode, c.folderOwner);
      const QString link = shared.filePath(QStringLiteral("PEGASUS.IN"));
      PlantLink(leadsTo, link, c.linkOwner);

      try {
        WriteFileAside(link, "144.2\r\nPH\r\n");
        EXPECT_TRUE(c.followed) << "followed";
        EXPECT_EQ(Contents(leadsTo), "144.2\r\nPH\r\n");
      } catch (const RuntimeError& error) {
        EXPECT_FALSE(c.followed) << error.Description().toStdString();
        EXPECT_EQ(error.Number(), 70);
        EXPECT_EQ(error.Description(), "Permission denied");
        EXPECT_EQ(Contents(log), "the log\r\n");
        EXPECT_FALSE(QFile::exists(notThere));
      }
      EXPECT_TRUE(S_ISLNK(Status(link).st_mode));
      EXPECT_EQ(QDir(shared.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                QStringList{"PEGASUS.IN"});
    }
  }
}

// A folder on the way may be a link planted in a shared folder too. The system holds the links it
// follows itself to the same rule only where its protection is on; the writer holds them to it
// always, also where the shared folder is reached through a link of the writer's own.
TEST_F(AsideFileTest, AFolderOnTheWayThatIsALinkInASharedStickyFolderIsHeldToTheSameRule) {
  if (!MayPlantForAnotherUser()) GTEST_SKIP() << "only root can make another user's link";
  const struct {
    const char* what;
    uid_t linkOwner;
    bool throughOwnLink;
    bool followed;
  } cases[] = {
      {"another user's folder link", kAnotherUser, false, false},
      {"another user's folder link, the shared folder reached through a link", kAnotherUser, true, false},
      {"the writer's own folder link", ::geteuid(), false, true},
      {"the writer's own folder link, the shared folder reached through a link", ::geteuid(), true, true},
  };
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("private")));
  const QString log = dir_.filePath(QStringLiteral("private/PEGASUS.IN"));
  for (const auto& c : cases) {
    for (const bool fileThere : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (fileThere ? ", to a file there" : ", to a file not there"));
      QFile::remove(log);
      if (fileThere) WriteInPlace(log, "the log\r\n", 0600);
      QTemporaryDir shared, own;
      ShareFolder(shared.path());
      PlantLink(dir_.filePath(QStringLiteral("private")), shared.filePath(QStringLiteral("exchange")), c.linkOwner);
      PlantLink(shared.path(), own.filePath(QStringLiteral("shared")), ::geteuid());
      const QString folder = c.throughOwnLink ? own.filePath(QStringLiteral("shared")) : shared.path();

      try {
        WriteFileAside(folder + QStringLiteral("/exchange/PEGASUS.IN"), "144.2\r\nPH\r\n");
        EXPECT_TRUE(c.followed) << "followed";
        EXPECT_EQ(Contents(log), "144.2\r\nPH\r\n");
      } catch (const RuntimeError& error) {
        EXPECT_FALSE(c.followed) << error.Description().toStdString();
        EXPECT_EQ(error.Number(), 70);
        EXPECT_EQ(QFile::exists(log), fileThere) << "nothing made";
        if (fileThere) {
          EXPECT_EQ(Contents(log), "the log\r\n");
        }
      }
    }
  }
}

// Each link of a chain is checked in its own folder, for the user the system checks files with.
TEST_F(AsideFileTest, EachLinkOfAChainIsCheckedForTheUserTheSystemChecksFilesWith) {
  if (!MayPlantForAnotherUser()) GTEST_SKIP() << "only root can make another user's link";
  QTemporaryDir exchange, relay;
  ShareFolder(exchange.path());
  ShareFolder(relay.path());
  ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0755), 0);  // nobody may look in
  WriteInPlace(target_, "the log\r\n", 0666);
  const QString link = exchange.filePath(QStringLiteral("PEGASUS.IN"));
  PlantLink(relay.filePath(QStringLiteral("next")), link, ::geteuid());
  PlantLink(target_, relay.filePath(QStringLiteral("next")), AsOrdinaryUser::kNobody);

  EXPECT_THROW(WriteFileAside(link, "144.2\r\nPH\r\n"), RuntimeError) << "nobody's link, for root";
  EXPECT_EQ(Contents(target_), "the log\r\n");
  {
    const AsOrdinaryUser nobody;
    ASSERT_TRUE(nobody.Active());
    WriteFileAside(link, "144.2\r\nPH\r\n");  // the folder owner's link, then its own
  }
  EXPECT_EQ(Contents(target_), "144.2\r\nPH\r\n");
}

// The sticky bit lets no one but the owners and root rename over another user's file: one the
// user may write is written in place there, while the user's own is still replaced whole.
TEST_F(AsideFileTest, AnotherUsersFileTheUserMayWriteInASharedStickyFolderIsWrittenInPlace) {
  if (!MayPlantForAnotherUser()) GTEST_SKIP() << "only root can make another user's file";
  ShareFolder(dir_.path());
  WriteInPlace(target_, "an old content longer than the new\r\n", 0666);
  SetOwners(target_, kAnotherUser, ::getegid());
  const ino_t file = Status(target_).st_ino;
  {
    const AsOrdinaryUser user;
    ASSERT_TRUE(user.Active());
    WriteFileAside(target_, "new\r\n");
  }
  EXPECT_EQ(Contents(target_), "new\r\n");
  EXPECT_EQ(Status(target_).st_ino, file);
  EXPECT_EQ(Status(target_).st_uid, kAnotherUser);
  EXPECT_EQ(Status(target_).st_mode & 07777, 0666u);
  EXPECT_EQ(Files(), QStringList{"SharedUserPreferences.xml"});

  SetOwners(target_, AsOrdinaryUser::kNobody, ::getegid());
  {
    const AsOrdinaryUser user;
    WriteFileAside(target_, "its own\r\n");
  }
  EXPECT_EQ(Contents(target_), "its own\r\n");
  EXPECT_NE(Status(target_).st_ino, file) << "the user's own file is replaced by a new one";
}

}  // namespace
