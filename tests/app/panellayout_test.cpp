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
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "programfolderfixture.h"

namespace {

using app::Form1;
using platform::Control;
using platform::ControlKind;

// The main window of a program in a folder of its own on a screen twice the design's size, laid
// out for the whole screen as the load lays it out.
class PanelLayout : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    platform::Screen::SetSizeForTesting(19200, 14400);
    app::FormSize = 100;
    app::ModFormResize::FillScreen(form);
    form.ResizeBandLists();
    logging::CreateContactListColumns(form);
    for (const char* column : {"Call", "Frequency", "Comments"}) form.txtDX.ColumnHeaders.Add(column, 1800);
  }
  void TearDown() override {
    platform::UnloadAll();
    ProgramFolderTest::TearDown();
  }

  QString PreferencesPath() const { return folder.filePath(logging::PreferencesFileName); }
  std::optional<logging::PreferenceValues> Saved() const {
    if (!QFile::exists(PreferencesPath())) return std::nullopt;
    return logging::ReadPreferencesFile(PreferencesPath());
  }

  platform::ScriptedDialogs dialogs;
  Form1& form = platform::InstanceWithoutLoad<Form1>();
};

// Every place and size on the window: boxes, line ends, both lists' columns.
std::vector<double> Geometry(const Form1& form) {
  std::vector<double> values;
  for (const Control* control : form.Controls()) {
    if (control->Kind() == ControlKind::Line) {
      const auto* line = static_cast<const platform::Line*>(control);
      values.insert(values.end(), {line->X1(), line->X2(), line->Y1(), line->Y2()});
    } else if (control->Widget()) {
      values.insert(values.end(), {control->Left(), control->Top(), control->Width(), control->Height()});
    }
  }
  for (const platform::ListView* list : {&form.ListView1, &form.txtDX}) {
    for (int column = 1; column <= list->ColumnHeaders.Count(); ++column) {
      values.push_back(list->ColumnHeaders(column).Width());
    }
  }
  return values;
}

// ---- The form-size menu

TEST_F(PanelLayout, TheFormSizeIsAskedBroughtIntoRangeAndSavedForTheNextStart) {
  const struct {
    std::optional<QString> answer;  // none: Cancel
    int taken;                      // 0: refused
  } cases[] = {
      {"150", 100}, {"10", 30}, {"29.5", 30}, {"75", 75}, {" 90.5 ", 90}, {"85", 85},  // 85 again: unchanged
      {"abc", 0},   {"", 0},    {std::nullopt, 0},
  };
  app::FormSize = 85;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer.value_or("Cancel").toStdString());
    QFile::remove(PreferencesPath());
    const int before = app::FormSize;
    const std::size_t boxesBefore = dialogs.MessageBoxes().size();
    c.answer ? dialogs.AnswerInputBox(*c.answer) : dialogs.CancelInputBox();

    form.mnuFormSize.Action()->trigger();

    const platform::InputBoxShown& asked = dialogs.InputBoxes().back();
    EXPECT_EQ(asked.prompt,
              "Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for best results.  "
              "Values below 75 do not display well.");
    EXPECT_EQ(asked.title, "Please enter screen percentage.");
    EXPECT_EQ(asked.defaultText, QString::number(before));
    ASSERT_EQ(dialogs.MessageBoxes().size(), boxesBefore + 1);
    const platform::MessageBoxShown& box = dialogs.MessageBoxes().back();
    EXPECT_EQ(box.style, platform::MsgBoxStyle::OKOnly);
    if (c.taken == 0) {
      EXPECT_EQ(box.prompt, "Please enter only numeric values.");
      EXPECT_EQ(box.title, "Numeric Values Required");
      EXPECT_EQ(app::FormSize, before);
      EXPECT_FALSE(Saved());
    } else {
      EXPECT_EQ(box.prompt, "This program must be closed and restarted for this setting to take effect.");
      EXPECT_EQ(box.title, "For this setting to take effect please restart this program.");
      EXPECT_EQ(app::FormSize, c.taken);
      ASSERT_TRUE(Saved());
      EXPECT_EQ(Saved()->FormSize, c.taken);
    }
  }
  EXPECT_DOUBLE_EQ(form.Width(), 19200) << "a new size waits for the next start";
}

// ---- The task-bar layout

TEST_F(PanelLayout, TheTaskBarLayoutWaitsForTheFullFormSize) {
  app::FormSize = 99;
  const std::vector<double> before = Geometry(form);
  form.mnuTaskBar.Action()->trigger();
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "The form size must be set to 100% to use the taskbar display option.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Please set your form size to 100% to use this option.");
  EXPECT_EQ(app::TaskBarDisplay, 0);
  EXPECT_FALSE(Saved());

  // As the load runs it at that size with the option saved on: only the check mark follows.
  app::TaskBarDisplay = 1;
  form.ResizeForTaskBar();
  EXPECT_TRUE(form.mnuTaskBar.Checked());
  EXPECT_EQ(Geometry(form), before);
  EXPECT_DOUBLE_EQ(form.Height(), 14400);
  EXPECT_FALSE(form.Visible());
}

TEST_F(PanelLayout, TheTaskBarOptionLaysTheWindowOnTheWorkAreaAndBackOnTheScreen) {
  // A task bar down the left: the window still goes to the screen's top left.
  platform::Screen::SetWorkAreaForTesting(1200, 0, 18000, 13500);
  const std::vector<double> fullScreen = Geometry(form);
  const double clearLeft = form.cmdClear.Left();
  const double clearTop = form.cmdClear.Top();
  const double firstContactColumn = form.ListView1.ColumnHeaders(1).Width();

  form.mnuTaskBar.Action()->trigger();
  EXPECT_EQ(app::TaskBarDisplay, 1);
  EXPECT_TRUE(form.mnuTaskBar.Checked());
  ASSERT_TRUE(Saved());
  EXPECT_EQ(Saved()->TaskBarDisplay, 1);
  EXPECT_DOUBLE_EQ(form.Left(), 0);
  EXPECT_DOUBLE_EQ(form.Top(), 0);
  EXPECT_DOUBLE_EQ(form.Width(), 18000);
  EXPECT_DOUBLE_EQ(form.Height(), 13500);
  EXPECT_TRUE(form.Visible());
  EXPECT_DOUBLE_EQ(form.cmdClear.Left(), clearLeft * 18000 / 19200);
  EXPECT_DOUBLE_EQ(form.cmdClear.Top(), clearTop * 13500 / 14400);
  EXPECT_DOUBLE_EQ(form.txtDX.ColumnHeaders(1).Width(), 1800.0 * 18000 / 19200);
  EXPECT_DOUBLE_EQ(form.ListView1.ColumnHeaders(1).Width(), firstContactColumn) << "the contact list keeps its own";
  EXPECT_DOUBLE_EQ(form.List7.Height(), form.Label10.Top() - form.List1.Top());
  EXPECT_TRUE(dialogs.MessageBoxes().empty());

  form.mnuTaskBar.Action()->trigger();
  EXPECT_EQ(app::TaskBarDisplay, 0);
  EXPECT_FALSE(form.mnuTaskBar.Checked());
  EXPECT_EQ(Saved()->TaskBarDisplay, 0);
  EXPECT_DOUBLE_EQ(form.Width(), 19200);
  EXPECT_DOUBLE_EQ(form.Height(), 14400);
  const std::vector<double> restored = Geometry(form);
  ASSERT_EQ(restored.size(), fullScreen.size());
  for (std::size_t i = 0; i < restored.size(); ++i) EXPECT_NEAR(restored[i], fullScreen[i], 1e-6) << i;
}

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

// ---- The percentage rescale

TEST_F(PanelLayout, AFormSizeShrinksTheWindowEveryControlAndBothListsColumns) {
  form.lblCallHeader.SetWidth(1200);
  form.lblCallHeader.SetFontSize(10);
  const double hiddenEditWidth = form.cmdEdit.Width();
  const double lineEnd = form.LineDX.X2();
  const double contactColumn = form.ListView1.ColumnHeaders(2).Width();
  const double windowFont = form.FontSize();
  app::FormSize = 50;

  form.ResizeControls();

  EXPECT_DOUBLE_EQ(form.Width(), 9600);
  EXPECT_DOUBLE_EQ(form.Height(), 7200);
  EXPECT_DOUBLE_EQ(form.Left(), 4800);
  EXPECT_DOUBLE_EQ(form.Top(), 3600);
  EXPECT_DOUBLE_EQ(form.FontSize(), windowFont / 2);
  EXPECT_DOUBLE_EQ(form.lblCallHeader.Width(), 600);
  EXPECT_DOUBLE_EQ(form.lblCallHeader.FontSize(), 5);
  EXPECT_DOUBLE_EQ(form.cmdEdit.Width(), hiddenEditWidth / 2) << "hidden controls too";
  EXPECT_DOUBLE_EQ(form.LineDX.X2(), lineEnd / 2);
  EXPECT_DOUBLE_EQ(form.ListView1.ColumnHeaders(2).Width(), contactColumn / 2);
  EXPECT_DOUBLE_EQ(form.txtDX.ColumnHeaders(3).Width(), 900);
  for (platform::ListView* list : {&form.ListView1, &form.txtDX}) {
    EXPECT_DOUBLE_EQ(static_cast<QTableView*>(list->Widget())->horizontalHeader()->font().pointSizeF(),
                     list->FontSize())
        << "headers as small as their rows, so that they fit their columns";
  }
  EXPECT_DOUBLE_EQ(form.List10.Height(), form.Label10.Top() - form.List1.Top());
  EXPECT_EQ(app::FormSize, 50);
  EXPECT_FALSE(Saved());
}

TEST_F(PanelLayout, AFailingRescaleFallsBackToTheFullScreenSilently) {
  form.Label10.SetTop(0);  // above the lists: their fitted height would be negative
  app::FormSize = 60;

  form.ResizeControls();

  EXPECT_EQ(app::FormSize, 100);
  ASSERT_TRUE(Saved());
  EXPECT_EQ(Saved()->FormSize, 100);
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_DOUBLE_EQ(form.Width(), 0.6 * 19200) << "what was scaled stays scaled";
}

}  // namespace
