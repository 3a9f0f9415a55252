#include "logging/preferences.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/modulevalues.h"
#include "platform/paths.h"
#include "rig/globals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include "programfolderfixture.h"

namespace {

using logging::PreferenceValues;

// The main window of a program started in a program folder of its own.
class PreferencesFile : public ProgramRestartTest {
 protected:
  void SetUp() override {
    ProgramRestartTest::SetUp();
    StartProgram();
  }

  // What a new start of the program has: its folder and a fresh main window, no values yet.
  void StartProgram() { NewStart(); }

  QString FilePath() const { return folder.path() + "/corvaneprf.txt"; }
  QByteArray FileBytes() const {
    QFile file(FilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void WriteFile(const QByteArray& bytes) const {
    QFile file(FilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  platform::ScriptedDialogs dialogs;
};

TEST_F(PreferencesFile, All21ValuesAreWrittenInTheirFormatsAndReadBackAtTheNextStart) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // a decimal comma must not matter
  app::OwnCall = "W1AW/R";
  app::OwnGrid = "FN31pr";
  app::UtcOffset = -4.5f;
  logging::CurrentMode = "PH";
  logging::CurrentBand = "1.3 G";
  logging::StoredOnTime = 5432.25f;
  app::ContestType = 5;
  logging::RstRecord = 2;
  app::FormSize = 85;
  app::Rover = 1;
  app::OwnLongitude = 72.7012345678901;
  app::OwnLatitude = -0.25;
  form->Command2.SetCaption("View Bands");
  logging::WorkedGridColor = 0x800000;
  logging::RemainingGridColor = 0;
  app::LogFilePath = "\\\\shack\\logs\\Corvane.MDB";
  logging::RefreshRate = 7000;
  logging::VoiceNavigation = 2;
  rig::RigType = "IC-706";
  app::TaskBarDisplay = 1;
  logging::ListPrevious = 1;
  const PreferenceValues saved = logging::CurrentPreferences("View Bands");

  form->SavePref();
  EXPECT_EQ(FileBytes().toStdString(),
            "\"W1AW/R\"\r\n\"FN31pr\"\r\n-4.5\r\n\"PH\"\r\n\"1.3 G\"\r\n5432.25\r\n5\r\n2\r\n85\r\n1\r\n"
            "72.7012345678901\r\n-.25\r\n\"View Bands\"\r\n8388608\r\n0\r\n\"\\\\shack\\logs\\Corvane.MDB\"\r\n"
            "7000\r\n2\r\n\"IC-706\"\r\n1\r\n1\r\n");

  StartProgram();
  EXPECT_EQ(form->ReadPreferences(), "View Bands");
  EXPECT_TRUE(logging::CurrentPreferences("View Bands") == saved);
  EXPECT_EQ(app::OwnLatitude, -0.25);
  EXPECT_EQ(logging::RefreshRate, 7000);
  EXPECT_TRUE(form->mnuListPrevious.Checked());
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(PreferencesFile, AFirstStartWithoutAFileTakesTheBuiltInValues) {
  EXPECT_EQ(form->ReadPreferences(), "View Grids");
  const PreferenceValues values = logging::CurrentPreferences("View Grids");
  EXPECT_EQ(values.CurrentMode, "CW");
  EXPECT_EQ(values.CurrentBand, "50 M");
  EXPECT_EQ(values.ContestType, 1);
  EXPECT_EQ(values.RstRecord, 1);
  EXPECT_EQ(values.FormSize, 100);
  EXPECT_EQ(values.Rover, 0);
  EXPECT_EQ(values.WorkedGridColor, 255);
  EXPECT_EQ(values.RemainingGridColor, 0);
  EXPECT_EQ(values.RefreshRate, 60000);
  EXPECT_EQ(values.RigType, "None");
  EXPECT_TRUE(values == PreferenceValues{}) << "call, grid, offset, log path and the switches empty or off";
  EXPECT_FALSE(form->mnuListPrevious.Checked());
  EXPECT_FALSE(QFile::exists(FilePath())) << "written at the first save only";
}

// A file whose values cannot all be read fails the load whole: no value is taken from it.
TEST_F(PreferencesFile, ADamagedFileFailsAndChangesNothing) {
  logging::WritePreferencesFile(FilePath(), PreferenceValues{});
  const QList<QByteArray> good = FileBytes().split('\n');
  const auto withLine = [&good](int line, const QByteArray& value) {
    QList<QByteArray> lines = good;
    lines[line - 1] = value + '\r';
    return lines.join('\n');
  };
  const struct {
    const char* what;
    QByteArray content;
    int error;
  } cases[] = {
      {"empty", "", 62},
      {"20 values", good.mid(0, 20).join('\n') + '\n', 62},
      {"text for the contest type", withLine(7, "\"one\""), 13},
      {"contest type past a byte", withLine(7, "300"), 6},
      {"negative form size", withLine(9, "-1"), 6},
      {"colour past a long", withLine(14, "4294967296"), 6},
      {"refresh rate past a single", withLine(17, "1E+39"), 6},
      {"longitude not a number", withLine(11, "nan"), 13},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(c.content);
    app::OwnCall = "K1ABC";
    logging::ListPrevious = 1;
    try {
      form->ReadPreferences();
      ADD_FAILURE() << "read";
    } catch (const platform::RuntimeError& error) {
      EXPECT_EQ(error.Number(), c.error) << error.Description().toStdString();
    }
    EXPECT_EQ(app::OwnCall, "K1ABC");
    EXPECT_EQ(logging::ListPrevious, 1);
  }
}

TEST_F(PreferencesFile, ACallHoldingADoubleQuoteComesBackWithEveryOtherValueInPlace) {
  app::OwnCall = "W1\"AW";
  app::OwnGrid = "FN42";
  app::UtcOffset = 5;
  rig::RigType = "FT-817";
  form->SavePref();

  StartProgram();
  form->ReadPreferences();
  EXPECT_EQ(app::OwnCall, "W1'AW");
  EXPECT_EQ(app::OwnGrid, "FN42");
  EXPECT_EQ(app::UtcOffset, 5);
  EXPECT_EQ(rig::RigType, "FT-817");
}

TEST_F(PreferencesFile, AFileThatCannotBeWrittenIsReportedOnceAndTheProgramGoesOn) {
  const struct {
    const char* what;
    std::function<void()> spoil;
  } cases[] = {
      {"program folder gone", [this] { app::ProgramDir = folder.path() + "/gone"; }},
      {"a folder where the file goes", [this] { ASSERT_TRUE(QDir(folder.path()).mkdir("corvaneprf.txt")); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t before = dialogs.MessageBoxes().size();
    c.spoil();
    form->SavePref();
    ASSERT_EQ(dialogs.MessageBoxes().size(), before + 1);
    const platform::MessageBoxShown& shown = dialogs.MessageBoxes().back();
    EXPECT_EQ(shown.title, "File, Network or Install Error.");
    EXPECT_TRUE(shown.prompt.endsWith("corvaneprf.txt")) << shown.prompt.toStdString();
    app::ProgramDir = folder.path();
  }
  EXPECT_TRUE(QFileInfo(FilePath()).isDir());
}

}  // namespace
