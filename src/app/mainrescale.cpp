#include "app/form1.h"
#include "app/globals.h"
#include "platform/controls.h"
#include "platform/listview.h"
#include "platform/screen.h"
#include "platform/trace.h"

#include <exception>

namespace app {

namespace {

// The kinds that have a font and a box on the main window; every control there that has a place
// is one of them or a line.
bool IsBoxKind(platform::ControlKind kind) {
  switch (kind) {
    case platform::ControlKind::ListBox:
    case platform::ControlKind::ListView:
    case platform::ControlKind::CommandButton:
    case platform::ControlKind::TextBox:
    case platform::ControlKind::Label:
      return true;
    default:
      return false;
  }
}

double PercentOf(double value) { return value * FormSize / 100; }

// Font first, then the box; a line's ends. Hidden controls alike: the kind alone decides.
void ScaleToFormSize(platform::Control& control) {
  if (IsBoxKind(control.Kind())) {
    control.SetFontSize(PercentOf(control.FontSize()));
    control.SetHeight(PercentOf(control.Height()));
    control.SetLeft(PercentOf(control.Left()));
    control.SetTop(PercentOf(control.Top()));
    control.SetWidth(PercentOf(control.Width()));
  } else if (control.Kind() == platform::ControlKind::Line) {
    auto& line = static_cast<platform::Line&>(control);
    line.SetX1(PercentOf(line.X1()));
    line.SetX2(PercentOf(line.X2()));
    line.SetY1(PercentOf(line.Y1()));
    line.SetY2(PercentOf(line.Y2()));
  }
}

void ScaleColumnsToFormSize(platform::ListView& list) {
  for (int column = 1; column <= list.ColumnHeaders.Count(); ++column) {
    platform::ColumnHeader header = list.ColumnHeaders(column);
    header.SetWidth(PercentOf(header.Width()));
  }
}

}  // namespace

// Shrinks the window laid out for the whole screen to FormSize percent of it, centred, with
// everything in it by the same share. A failure leaves what was scaled and falls back to the
// whole screen at the next start, silently: the window is shown as it is and the load goes on.
void Form1::ResizeControls() {
  using platform::Screen;
  try {
    SetWidth(PercentOf(Screen::Width()));
    SetHeight(PercentOf(Screen::Height()));
    SetLeft((Screen::Width() - Width()) / 2);
    SetTop((Screen::Height() - Height()) / 2);
    SetFontSize(PercentOf(FontSize()));
    const auto& controls = Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) ScaleToFormSize(*controls[i]);
    ScaleColumnsToFormSize(ListView1);
    ScaleColumnsToFormSize(txtDX);
    ResizeBandLists();
  } catch (const std::exception& error) {
    platform::TraceError(lcApp, error);
    FormSize = 100;
    SavePref();
    Show();
  }
}

}  // namespace app
