#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/preferences.h"
#include "logtools/form6.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "anotherpc.h"
#include "formtesting.h"
#include "programfolderfixture.h"
#include "modalwindowtesting.h"

namespace {

using logtools::Form6;
using platform::Color;

constexpr Color kWorked = 0x0000FF;
constexpr Color kRemaining = 0x008000;

// The main window of a station in square FN31 on 144 M, its log holding one contact with FN42,
// in a program folder of its own.
class ColourDialog : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    app::OwnGrid = "FN31";
    app::OwnLatitude = 41.5;
    app::OwnLongitude = 72.5;
    logging::CurrentBand = "144 M";
    logging::WorkedGridColor = kWorked;
    logging::RemainingGridColor = kRemaining;
    platform::CreateLogDatabase(LogPath());
    logging::LogConnection.Open(LogPath());
    InsertFromAnotherPc(LogPath(), {"W1AW", "59", "FN42", "57", "FN31", "2024/06/08", "18:00:00", "144 M", "PH"});
    ShowActive(form);
    form.GridFill();
  }
  void TearDown() override {
    platform::UnloadAll();
    logging::LogConnection.Close();
    ProgramFolderTest::TearDown();
  }

  QString LogPath() const { return folder.filePath("Corvane.MDB"); }
  QString PreferencesPath() const { return folder.filePath(logging::PreferencesFileName); }

  platform::Label& Square(const QString& name) {
    for (int square : form.lblGrid.Indexes())
      if (form.lblGrid[square].Caption() == name) return form.lblGrid[square];
    ADD_FAILURE() << "no square " << name.toStdString();
    return form.lblGrid[0];
  }

  // Chooses Colors, works in the dialog once it shows and closes it with Done or its close box.
  void ChooseColors(const std::function<void(Form6&)>& work, bool byDone) {
    OperateModalWindowOnceShown<Form6>([&](Form6& dialog) {
      work(dialog);
      if (byDone) Click(dialog.Command6);
    });
    form.mnuColors.Action()->trigger();
    EXPECT_FALSE(platform::IsLoaded<Form6>());
  }

  static void Click(platform::CommandButton& button) { QTest::mouseClick(button.Widget(), Qt::LeftButton); }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

// Each pick is stored and previewed at once, Cancel keeps the colour before it, the dialog always
// opens on black, and whichever way the dialog closes, the menu saves the picks and the grid map
// shows them.
TEST_F(ColourDialog, PicksAreStoredPreviewedSavedAndShownOnTheGridMap) {
  for (const bool byDone : {true, false}) {
    SCOPED_TRACE(byDone ? "Done" : "close box");
    const Color remaining = byDone ? 0x123456 : 0x00C0C0;
    const Color worked = byDone ? 0xFF8000 : 0x400080;
    const std::size_t opened = dialogs.CommonDialogs().size();
    ChooseColors(
        [&](Form6& dialog) {
          EXPECT_EQ(dialog.Label2.ForeColor(), logging::RemainingGridColor) << "previewed from the start";
          EXPECT_EQ(dialog.Label1.ForeColor(), logging::WorkedGridColor);
          dialogs.ChooseColor(remaining);
          Click(dialog.Command1);
          EXPECT_EQ(logging::RemainingGridColor, remaining);
          EXPECT_EQ(dialog.Label2.ForeColor(), remaining);

          const Color workedBefore = logging::WorkedGridColor;
          dialogs.CancelColorDialog();
          Click(dialog.Command3);
          EXPECT_EQ(logging::WorkedGridColor, workedBefore) << "Cancel keeps the colour";
          EXPECT_EQ(dialog.Label1.ForeColor(), workedBefore);

          dialogs.ChooseColor(worked);
          Click(dialog.Command3);
          EXPECT_EQ(logging::WorkedGridColor, worked);
          EXPECT_EQ(dialog.Label1.ForeColor(), worked);
          EXPECT_EQ(dialog.Label2.ForeColor(), remaining);
        },
        byDone);

    ASSERT_EQ(dialogs.CommonDialogs().size(), opened + 3);
    for (std::size_t i = opened; i < dialogs.CommonDialogs().size(); ++i) {
      EXPECT_EQ(dialogs.CommonDialogs()[i].kind, platform::CommonDialogKind::Color);
      EXPECT_EQ(dialogs.CommonDialogs()[i].color, 0) << "opens on black";
      EXPECT_EQ(dialogs.CommonDialogs()[i].flags, platform::CommonDialogFlags::ColorInitial);
    }
    const logging::PreferenceValues saved = logging::ReadPreferencesFile(PreferencesPath());
    EXPECT_EQ(saved.WorkedGridColor, worked);
    EXPECT_EQ(saved.RemainingGridColor, remaining);
    EXPECT_EQ(Square("FN42").ForeColor(), worked);
    EXPECT_EQ(Square("FN31").ForeColor(), remaining);
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

// &HBBGGRR as the colour dialog gives it, in lines 14 and 15 of the preferences file.
TEST_F(ColourDialog, ThePreferencesFileHoldsTheColoursAsTheDialogGivesThem) {
  ChooseColors(
      [&](Form6& dialog) {
        dialogs.ChooseColor(0x0080FF);  // orange: red FF, green 80, blue 00
        Click(dialog.Command3);
        dialogs.CancelColorDialog();
        Click(dialog.Command1);
      },
      true);
  QFile file(PreferencesPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  ASSERT_GE(lines.size(), 15);
  EXPECT_EQ(lines[13].trimmed(), QByteArray::number(0x0080FF));
  EXPECT_EQ(lines[14].trimmed(), QByteArray::number(kRemaining));
}

}  // namespace
