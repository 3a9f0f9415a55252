#include "app/form1.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "logging/contactlist.h"
#include "logging/preferences.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/forms.h"
#include "platform/listview.h"
#include "platform/screen.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using app::Form1;
using platform::Control;
using platform::ControlKind;

// The main window of a program in a folder of its own on a screen twice the design's size, laid
// out for the whole screen as the load lays it out.
class PanelLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    app::ProgramDir = folder.path();
    app::ProgramDrive = "/";
    platform::Screen::SetSizeForTesting(19200, 14400);
    app::FormSize = 100;
    app::ModFormResize::FillScreen(form);
    form.ResizeBandLists();
    logging::CreateContactListColumns(form);
    for (const char* column : {"Call", "Frequency", "Comments"}) form.txtDX.ColumnHeaders.Add(column, 1800);
  }
  void TearDown() override { platform::UnloadAll(); }

  QString PreferencesPath() const { return folder.filePath(logging::PreferencesFileName); }
  std::optional<logging::PreferenceValues> Saved() const {
    if (!QFile::exists(PreferencesPath())) return std::nullopt;
    return logging::ReadPreferencesFile(PreferencesPath());
  }

  QTemporaryDir folder;
  platform::ScriptedDialogs dialogs;
  Form1& form = platform::InstanceWithoutLoad<Form1>();
};

// ---- The panels

TEST_F(PanelLayout, TheBandListsReachDownToTheLabelBeneathThem) {
  form.Label10.SetTop(form.List1.Top() + 2000);
  form.ResizeBandLists();
  for (platform::ListBox* list : form.BandLists()) {
    SCOPED_TRACE(list->Name().toStdString());
    EXPECT_DOUBLE_EQ(list->Height(), 2000);
    EXPECT_DOUBLE_EQ(list->Top(), form.List1.Top());
  }
  // A label above the lists is a height they refuse; the caller handles it.
  form.Label10.SetTop(form.List1.Top() - 15);
  EXPECT_THROW(form.ResizeBandLists(), platform::RuntimeError);
}

TEST_F(PanelLayout, TheGridMapAndTheBandListsTakeTurns) {
  const auto bandPanel = [&] {
    std::vector<Control*> controls{&form.Label10};
    for (Control* list : form.BandLists()) controls.push_back(list);
    for (Control* label : form.BandNameLabels()) controls.push_back(label);
    for (Control* label : form.BandCountLabels()) controls.push_back(label);
    return controls;
  }();
  std::vector<Control*> gridMap{&form.Command4, &form.Command5, &form.Command6, &form.Command7};
  for (int square = 0; square <= 164; ++square) gridMap.push_back(&form.lblGrid(square));
  const auto expectShown = [](const std::vector<Control*>& controls, bool shown) {
    for (const Control* control : controls) {
      EXPECT_EQ(control->Visible(), shown) << control->Name().toStdString() << "(" << control->Index() << ")";
    }
  };

  form.HideBandLists();
  expectShown(bandPanel, false);
  expectShown(gridMap, true);
  form.ShowBandLists();
  expectShown(bandPanel, true);
  expectShown(gridMap, false);
}

}  // namespace
