#include "app/form1.h"
#include "app/globals.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/listview.h"
#include "platform/numbertext.h"
#include "platform/screen.h"
#include "platform/trace.h"

#include <algorithm>

namespace app {

namespace {

const QString FormSizePrompt = QStringLiteral(
    "Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for best results.  "
    "Values below 75 do not display well.");

constexpr double SmallestFormSize = 30;
constexpr double LargestFormSize = 100;

// The band-list panel or the grid map in its place: one shows while the other hides.
void ShowPanel(Form1& form, bool bandLists) {
  for (platform::ListBox* list : form.BandLists()) list->SetVisible(bandLists);
  for (platform::Label* label : form.BandNameLabels()) label->SetVisible(bandLists);
  for (platform::Label* label : form.BandCountLabels()) label->SetVisible(bandLists);
  form.Label10.SetVisible(bandLists);
  for (int square = 0; square <= 164; ++square) form.lblGrid(square).SetVisible(!bandLists);
  for (platform::CommandButton* shift : {&form.Command4, &form.Command5, &form.Command6, &form.Command7}) {
    shift->SetVisible(!bandLists);
  }
}

// A length in proportion to the window's change of size, new over old.
double Scaled(double length, double newSize, double oldSize) {
  if (oldSize == 0) throw platform::RuntimeError(QStringLiteral("Division by zero"), 11);
  return length * newSize / oldSize;
}

// Timers and menus have no place on the window; a line has its ends instead of a box.
bool HasBox(const platform::Control& control) {
  return control.Widget() != nullptr && control.Kind() != platform::ControlKind::Line;
}

}  // namespace

void Form1::HideBandLists() { ShowPanel(*this, false); }

void Form1::ShowBandLists() { ShowPanel(*this, true); }

// The lists reach down to the label beneath them; a label standing above the lists' top is a
// negative height the lists refuse, for the caller to handle.
void Form1::ResizeBandLists() {
  List1.SetHeight(Label10.Top() - List1.Top());
  for (platform::ListBox* list : BandLists()) list->SetHeight(List1.Height());
}

// Lays the window out again on the whole screen or on the work area, at the top left, every
// control in proportion to the window's outer size, so that on and then off is the layout of
// before. A statement that fails is skipped, so one control cannot stop the rest. Below 100 %
// the window keeps its rescaled layout and only the check mark follows.
void Form1::ResizeForTaskBar() {
  using platform::SkipOnError;
  using platform::Screen;
  mnuTaskBar.SetChecked(TaskBarDisplay != 0);
  if (FormSize != 100) return;
  Hide();
  const double oldWidth = Width();
  const double oldHeight = Height();
  const bool onWorkArea = TaskBarDisplay == 1;
  SkipOnError(lcApp, [&] { SetWidth(onWorkArea ? Screen::WorkAreaWidth() : Screen::Width()); });
  SkipOnError(lcApp, [&] { SetHeight(onWorkArea ? Screen::WorkAreaHeight() : Screen::Height()); });
  SkipOnError(lcApp, [&] { SetLeft(0); });
  SkipOnError(lcApp, [&] { SetTop(0); });
  const double newWidth = Width();
  const double newHeight = Height();
  const auto across = [&](double length) { return Scaled(length, newWidth, oldWidth); };
  const auto down = [&](double length) { return Scaled(length, newHeight, oldHeight); };

  const auto& controls = Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    platform::Control& control = *controls[i];
    if (HasBox(control)) {
      SkipOnError(lcApp, [&] { control.SetHeight(down(control.Height())); });
      SkipOnError(lcApp, [&] { control.SetLeft(across(control.Left())); });
      SkipOnError(lcApp, [&] { control.SetTop(down(control.Top())); });
      SkipOnError(lcApp, [&] { control.SetWidth(across(control.Width())); });
    }
    if (control.Kind() == platform::ControlKind::Line) {
      auto& line = static_cast<platform::Line&>(control);
      SkipOnError(lcApp, [&] { line.SetX1(across(line.X1())); });
      SkipOnError(lcApp, [&] { line.SetX2(across(line.X2())); });
      SkipOnError(lcApp, [&] { line.SetY1(down(line.Y1())); });
      SkipOnError(lcApp, [&] { line.SetY2(down(line.Y2())); });
    }
  }
  // The spot list's columns follow the window; the contact list keeps its own.
  for (int column = 1; column <= txtDX.ColumnHeaders.Count(); ++column) {
    SkipOnError(lcApp, [&] {
      platform::ColumnHeader header = txtDX.ColumnHeaders(column);
      header.SetWidth(across(header.Width()));
    });
  }
  SkipOnError(lcApp, [&] { ResizeBandLists(); });
  SkipOnError(lcApp, [&] { Show(); });
}

// A new size waits for the next start; out-of-range answers are brought into range silently.
void Form1::mnuFormSize_Click() {
  const QString answer = platform::InputBox(FormSizePrompt, QStringLiteral("Please enter screen percentage."),
                                            QString::number(static_cast<int>(FormSize)));
  const std::optional<double> typed = platform::DecimalOfText(answer);
  if (!typed) {
    platform::MsgBox(QStringLiteral("Please enter only numeric values."), platform::MsgBoxStyle::OKOnly,
                     QStringLiteral("Numeric Values Required"));
    return;
  }
  const double percent = std::max(std::min(*typed, LargestFormSize), SmallestFormSize);
  FormSize = static_cast<std::uint8_t>(platform::RoundHalfEven(percent));
  platform::MsgBox(QStringLiteral("This program must be closed and restarted for this setting to take effect."),
                   platform::MsgBoxStyle::OKOnly,
                   QStringLiteral("For this setting to take effect please restart this program."));
  SavePref();
}

void Form1::mnuTaskBar_Click() {
  if (FormSize != 100) {
    platform::MsgBox(QStringLiteral("The form size must be set to 100% to use the taskbar display option."),
                     platform::MsgBoxStyle::OKOnly,
                     QStringLiteral("Please set your form size to 100% to use this option."));
    return;
  }
  TaskBarDisplay = TaskBarDisplay == 0 ? 1 : 0;
  SavePref();
  ResizeForTaskBar();
}

}  // namespace app
