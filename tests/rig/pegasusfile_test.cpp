#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

#include "platform/environment.h"
#include "readingtext.h"
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

TEST_F(PegasusFile, AFailedWriteIsSilent) {
  qputenv(kVariable, QFile::encodeName(folder_.path() + "/missing"));
  EXPECT_NO_THROW(WritePegasusFile(14.25f, "PH"));
  EXPECT_FALSE(QFile::exists(folder_.path() + "/missing/PEGASUS.IN"));
  ASSERT_TRUE(QDir().mkpath(InPath() + "/x"));  // a folder where the file should be
  qputenv(kVariable, QFile::encodeName(folder_.path()));
  EXPECT_NO_THROW(WritePegasusFile(14.25f, "PH"));
  EXPECT_TRUE(QFileInfo(InPath()).isDir());
}
