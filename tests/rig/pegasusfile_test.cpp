#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

#include <sys/stat.h>

#include "platform/dialogs.h"
#include "platform/environment.h"
#include "asordinaryuser.h"
#include "readingtext.h"
#include "sharedfolder.h"
#include "rig/replyparsers.h"
#include "rig/rigcommands.h"

using namespace rig;

namespace {

// An exchange folder of the test's own, named by the environment for as long as it lives.
class PegasusFile : public ::testing::Test {
 protected:
  PegasusFile() {
    if (qEnvironmentVariableIsSet(kVariable)) saved_ = qgetenv(kVariable);
    qputenv(kVariable, QFile::encodeName(folder_.path()));
  }
  ~PegasusFile() override {
    if (saved_) {
      qputenv(kVariable, *saved_);
    } else {
      qunsetenv(kVariable);
    }
  }

  QString Path() const { return folder_.path() + "/PEGASUS.OUT"; }
  QString InPath() const { return folder_.path() + "/PEGASUS.IN"; }

  QByteArray ReadIn() const {
    QFile file(InPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
  }

  void Write(const QByteArray& content) const {
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  static constexpr const char* kVariable = "CORVANE_PEGASUS_DIR";
  QTemporaryDir folder_;
  std::optional<QByteArray> saved_;
};

}  // namespace

TEST_F(PegasusFile, FrequencyAndModeAsTheControlProgramWritesThem) {
  const struct {
    const char* content;
    std::string reading;
  } cases[] = {
      {"14.25,\"CW\"\r\n", "14.25 CW"},
      {"14.25,\"cw\"\r\n", "14.25 PH"},  // only "CW" exactly is CW
      {"14.25,\"\"\r\n", "14.25 \"\""},  // an empty mode stays empty
      {"144.2,\"USB\"", "144.2 PH"},
      {"14.25\r\n\"CW\"\r\n", "14.25 CW"},  // a line end separates as a comma does
      {"14.25,CW\n", "14.25 CW"},
      {" 14. , \"CW\"", "14 CW"},
      {"14.25", "14.25 -"},  // the mode cannot
                             // be read: the
                             // frequency stays
      {"14.25,", "14.25 \"\""},
      {"fourteen,\"CW\"", "- -"},
      {"inf,\"CW\"", "- -"},
      {"", "- -"},
  };
  for (const auto& c : cases) {
    Write(c.content);
    EXPECT_EQ(ReadingText(ReadPegasusFile()), c.reading) << c.content;
  }
}

TEST_F(PegasusFile, NothingWithoutAReadableFile) {
  EXPECT_EQ(ReadingText(ReadPegasusFile()), "- -");
  ASSERT_TRUE(QDir().mkpath(Path()));  // a folder where the file should be
  EXPECT_EQ(ReadingText(ReadPegasusFile()), "- -");
}

TEST_F(PegasusFile, TheFolderIsThePrograms) {
  EXPECT_EQ(platform::PegasusFolder(), folder_.path());
  qunsetenv(kVariable);
  EXPECT_EQ(platform::PegasusFolder(), "/Pegasus");
}

TEST(PegasusIn, FrequencyAndCurrentModeAsTwoLines) {
  EXPECT_EQ(PegasusInContent(14.25f, "PH"), "14.25\r\nPH\r\n");
  EXPECT_EQ(PegasusInContent(1.80001f, " CW "), "1.80001\r\nCW\r\n");
  EXPECT_EQ(PegasusInContent(1270, ""), "1270\r\n\r\n");
}

TEST_F(PegasusFile, TheExchangeFileIsReplacedWhole) {
  WritePegasusFile(14.25f, "PH");
  EXPECT_EQ(ReadIn(), "14.25\r\nPH\r\n");
  WritePegasusFile(7.15f, "CW");
  EXPECT_EQ(ReadIn(), "7.15\r\nCW\r\n");
  EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{"PEGASUS.IN"});  // nothing left aside
}

// The rig follows the logger only through the file: the operator is told once a session that it
// no longer does, with the file and the system's reason, and the frequency change goes on.
TEST_F(PegasusFile, AFailedWriteIsShownOnceASession) {
  platform::ScriptedDialogs dialogs;
  const QString missing = folder_.path() + "/missing";
  qputenv(kVariable, QFile::encodeName(missing));
  EXPECT_NO_THROW(WritePegasusFile(14.25f, "PH"));
  EXPECT_FALSE(QFile::exists(missing + "/PEGASUS.IN"));
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt,
            "The rig's exchange file could not be written: Path not found  " + missing + "/PEGASUS.IN");
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Error Changing Frequency");
  EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::OKOnly);

  ASSERT_TRUE(QDir().mkpath(InPath() + "/x"));  // a folder where the file should be
  qputenv(kVariable, QFile::encodeName(folder_.path()));
  EXPECT_NO_THROW(WritePegasusFile(14.25f, "PH"));
  EXPECT_TRUE(QFileInfo(InPath()).isDir());
  EXPECT_EQ(dialogs.MessageBoxes().size(), 1u) << "once a session";
}

// The exchange folder is the control program's, shared: the operator may write PEGASUS.IN there
// but not add files. The file is written in place, and the rig follows.
TEST_F(PegasusFile, AnExchangeFolderThatTakesNoNewFileHasTheFileWrittenInPlace) {
  platform::ScriptedDialogs dialogs;
  WritePegasusFile(14.25f, "PH");
  const QByteArray folder = QFile::encodeName(folder_.path());
  ASSERT_EQ(::chmod(QFile::encodeName(InPath()).constData(), 0666), 0);
  ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
  {
    const AsOrdinaryUser user;  // root may add files to any folder
    WritePegasusFile(7.15f, "CW");
  }
  ::chmod(folder.constData(), 0755);
  EXPECT_EQ(ReadIn(), "7.15\r\nCW\r\n");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

// Another user of the PC plants PEGASUS.IN in the shared exchange folder, leading to the
// operator's open log or to where a file would be made: nothing is written, and the operator is
// told once that the rig no longer follows.
TEST_F(PegasusFile, APlantedLinkInASharedExchangeFolderIsRefusedAndShown) {
  if (!MayPlantForAnotherUser()) GTEST_SKIP() << "only root can make another user's link";
  platform::ScriptedDialogs dialogs;
  ShareFolder(folder_.path());
  const QTemporaryDir operatorsFolder;
  const QString log = operatorsFolder.filePath(QStringLiteral("contest.db"));
  const QByteArray logBytes("SQLite format 3\0 the contest", 29);
  {
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(logBytes), logBytes.size());
  }
  for (const QString& leadsTo : {log, operatorsFolder.filePath(QStringLiteral("made"))}) {
    SCOPED_TRACE(leadsTo.toStdString());
    QFile::remove(InPath());
    PlantLink(leadsTo, InPath(), kAnotherUser);
    WritePegasusFile(144.2f, "PH");
    EXPECT_TRUE(QFileInfo(InPath()).isSymLink());
  }
  QFile file(log);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), logBytes);
  EXPECT_EQ(QDir(operatorsFolder.path()).entryList(QDir::Files), QStringList{"contest.db"});
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt,
            "The rig's exchange file could not be written: Permission denied  " + InPath());
}

// The control program runs as another user and made PEGASUS.IN for everyone to write, in a
// folder shared as exchange folders are: the operator's program writes it in place.
TEST_F(PegasusFile, TheControlProgramsFileInASharedExchangeFolderIsWrittenInPlace) {
  if (!MayPlantForAnotherUser()) GTEST_SKIP() << "only root can make another user's file";
  platform::ScriptedDialogs dialogs;
  ShareFolder(folder_.path());
  WritePegasusFile(14.25f, "PH");
  ASSERT_EQ(::chmod(QFile::encodeName(InPath()).constData(), 0666), 0);
  ASSERT_EQ(::chown(QFile::encodeName(InPath()).constData(), kAnotherUser, static_cast<gid_t>(-1)), 0);
  {
    const AsOrdinaryUser user;
    ASSERT_TRUE(user.Active());
    WritePegasusFile(7.15f, "CW");
  }
  EXPECT_EQ(ReadIn(), "7.15\r\nCW\r\n");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}
