#include "app/form1.h"
#include "app/globals.h"
#include "logtools/form5.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/screen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "keptcurrentfolder.h"

#include <optional>

#include "modalwindowtesting.h"

namespace {

using logtools::Form5;

// What the help window showed at one opening.
struct HelpSeen {
  QString text;
  double left = -1, top = -1, width = 0, height = 0;
};

// The main window with the program folder elsewhere than the current folder.
class HelpViewer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(programFolder.isValid());
    ASSERT_TRUE(elsewhere.isValid());
    app::ProgramDir = programFolder.path();
    app::ProgramDrive = "/";
    platform::ChDir(elsewhere.path());
  }
  void TearDown() override {
    platform::UnloadAll();
  }

  void WriteHelp(const QByteArray& content) {
    QFile file(programFolder.filePath(logtools::HelpFileName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(content), content.size());
  }

  // Chooses Help, reads the window once it shows and closes it with its Close button.
  HelpSeen OpenHelp() {
    HelpSeen seen;
    OperateModalWindowOnceShown<Form5>([&seen](Form5& help) {
      seen = {help.Text1.Text(), help.Left(), help.Top(), help.Width(), help.Height()};
      QTest::mouseClick(help.Command1.Widget(), Qt::LeftButton);
    });
    form.mnuHelp.Action()->trigger();
    EXPECT_FALSE(platform::IsLoaded<Form5>()) << "unloaded once closed";
    return seen;
  }

  QTemporaryDir programFolder;
  QTemporaryDir elsewhere;
  KeptCurrentFolder currentFolder;
  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

TEST_F(HelpViewer, ShowsTheFileAsStoredOrNothingWithoutAWord) {
  const struct {
    const char* what;
    std::optional<QByteArray> file;  // none: no file
    QString shown;
  } cases[] = {
      {"missing", std::nullopt, QString()},
      {"empty", QByteArray(), QString()},
      {"Latin-1 with CR LF", QByteArray("Corvane\r\nF12: keyboard CW \xB7 73\r\n"),
       QStringLiteral("Corvane\r\nF12: keyboard CW \u00B7 73\r\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(programFolder.filePath(logtools::HelpFileName));
    if (c.file) WriteHelp(*c.file);
    EXPECT_EQ(OpenHelp().text, c.shown);
  }
  ASSERT_TRUE(QFile::remove(programFolder.filePath(logtools::HelpFileName)));
  ASSERT_TRUE(QDir(programFolder.path()).mkdir(logtools::HelpFileName));
  EXPECT_EQ(OpenHelp().text, QString()) << "a folder in the file's place";
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(HelpViewer, EveryOpeningReadsTheFileAgain) {
  WriteHelp("first words\r\n");
  EXPECT_EQ(OpenHelp().text, "first words\r\n");
  WriteHelp("second words\r\n");
  EXPECT_EQ(OpenHelp().text, "second words\r\n");
}

TEST_F(HelpViewer, TheWindowIsScaledAndCentredExactly) {
  platform::Screen::SetSizeForTesting(19200, 14400);
  WriteHelp("help\r\n");
  const HelpSeen seen = OpenHelp();
  EXPECT_DOUBLE_EQ(seen.width, (8400 + 2 * platform::Form::BorderTwips) * 2);
  EXPECT_DOUBLE_EQ(seen.left, (19200 - seen.width) / 2);
  EXPECT_DOUBLE_EQ(seen.top, (14400 - seen.height) / 2);
}

}  // namespace
