#include "logtools/form6.h"

#include "app/modformresize.h"
#include "logging/globals.h"
#include "platform/design.h"
#include "platform/errors.h"
#include "platform/trace.h"

namespace logtools {

namespace {

// Taller than the two lines of its caption at design size: the font grows with the screen's width
// alone, so on a wide screen the two lines need more than the height grows.
void DesignPreview(platform::Label& label, const QString& caption, double left) {
  platform::DesignCaption(label, caption, left, 840, 1935, 570);
  label.SetFontName(QStringLiteral("Arial"));
  label.SetFontSize(9);
}

}  // namespace

Form6::Form6() : Form(QStringLiteral("Form6")) {
  SetCaption(QStringLiteral(" Modify Multiplier Color Selections"));
  SetBorderStyle(platform::BorderFixedSingle);
  // Designed by its client area.
  Move(0, 0, 5595 + 2 * BorderTwips, 2115 + CaptionTwips + BorderTwips);
  platform::DesignCaption(Command1, QStringLiteral("Change \"Remaining\" Color"), 120, 120, 2535, 495);
  platform::DesignCaption(Command3, QStringLiteral("Change \"Worked\" Color"), 2880, 120, 2535, 495);
  DesignPreview(Label2, QStringLiteral("Appearance of multiplier remaining"), 480);
  DesignPreview(Label1, QStringLiteral("Appearance of multiplier worked"), 3240);
  Line2.SetEnds(2760, 0, 2760, 1440);
  Line1.SetEnds(120, 1440, 5520, 1440);
  platform::DesignCaption(Command6, QStringLiteral("Done"), 2160, 1680, 1095, 375);
  WIRE(Command1, Click);
  WIRE(Command3, Click);
  WIRE(Command6, Click);
}

void Form6::Form_Load() {
  using namespace app::ModFormResize;
  platform::SkipOnError(lcLogtools, [this] {
    FitToScreen(*this, FitRule{ScreenPlacement::Centred, FitArea::Screen, FontFactor::ScreenWidth});
  });
  Label1.SetForeColor(logging::WorkedGridColor);
  Label2.SetForeColor(logging::RemainingGridColor);
}

void Form6::Command1_Click() { PickColor(logging::RemainingGridColor, Label2); }

void Form6::Command3_Click() { PickColor(logging::WorkedGridColor, Label1); }

// The menu that showed the dialog unloads it.
void Form6::Command6_Click() { Hide(); }

// The dialog opens on black. Cancel leaves the colour as it was, where taking the dialog's black
// would store black as a choice the operator never made.
void Form6::PickColor(std::int32_t& color, platform::Label& preview) {
  try {
    cmdColor.Flags = platform::CommonDialogFlags::ColorInitial;
    cmdColor.Color = 0;
    cmdColor.CancelError = true;
    cmdColor.ShowColor();
    color = cmdColor.Color;
    preview.SetForeColor(color);
  } catch (const platform::RuntimeError& error) {
    if (error.Number() != platform::CancelSelectedError) platform::TraceError(lcLogtools, error);
  }
}

}  // namespace logtools
