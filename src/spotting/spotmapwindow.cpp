#include "spotting/spotmapwindow.h"

#include "app/form1.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/screen.h"
#include "platform/trace.h"
#include "platform/twips.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/globals.h"
#include "spotting/spotmaprows.h"
#include "spotting/spotstore.h"

#include <array>

namespace spotting {

namespace {

constexpr double kRowSpacing = 600;
constexpr double kLineStart = 360;
constexpr double kLineEnd = 9120;
constexpr platform::Color kNavy = 0x800000;
constexpr platform::Color kBlack = 0x000000;
constexpr platform::Color kWhite = 0xFFFFFF;
// Not installed on most systems: the nearest installed face of the same size stands in.
const QString kLabelFont = QStringLiteral("MS Serif");
constexpr double kLabelFontSize = 6.75;

// The busy pointer over the window for as long as a redraw runs, however it ends.
class BusyPointer {
 public:
  explicit BusyPointer(platform::Form& form) : form_(form) { form_.SetMousePointer(platform::MousePointerHourglass); }
  ~BusyPointer() { form_.SetMousePointer(platform::MousePointerDefault); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  platform::Form& form_;
};

void DesignMapLabel(platform::Label& label, const QString& caption, double width, double height) {
  label.SetCaption(caption);
  label.Move(0, 0, width, height);
  label.SetAlignment(platform::AlignCenter);
  label.SetBackStyle(0);
  label.SetForeColor(kWhite);
  label.SetFontName(kLabelFont);
  label.SetFontSize(kLabelFontSize);
  label.SetVisible(false);
}

}  // namespace

SpectrumMap::SpectrumMap() : Form(QStringLiteral("SpectrumMap")) {
  SetCaption(QStringLiteral(" HF Spectrum Map"));
  Move(0, 0, platform::DesignScreen.width, platform::DesignScreen.height);
  // White scale text that reaches past a strip's end still reads on the field around the strips.
  SetBackColor(kBlack);
  for (int row = 0; row < SpectrumRows; ++row) {
    platform::Label& strip = lblHFSpots.Add(row);
    strip.Move(120, 120 + kRowSpacing * row, 9255, 495);
    strip.SetBackColor(kNavy);
    strip.SetAccessibleName(QStringLiteral("Spectrum strip"));
  }
  for (int row = 0; row < SpectrumRows; ++row) {
    platform::Line& line = lineHF.Add(row);
    line.SetEnds(kLineStart, kLineStart + kRowSpacing * row, kLineEnd, kLineStart + kRowSpacing * row);
    line.SetBorderColor(kWhite);
  }
  for (int k = 0; k < 5 * SpectrumRows; ++k) {
    DesignMapLabel(lblFreqSpot.Add(k), QString(), 600, 195);
    lblFreqSpot[k].SetAccessibleName(QStringLiteral("Frequency scale, MHz"));
  }
  for (int slot = 0; slot < StoredSpots; ++slot) DesignMapLabel(lblDXSpot.Add(slot), QStringLiteral("DXLBL"), 600, 180);
  WIRE(lblDXSpot, MouseDown);
}

// A load that fails stops where it failed; the window still shows what was done.
void SpectrumMap::Form_Load() {
  try {
    app::ModFormResize::ScaleToScreenWidthFonts(*this, app::ModFormResize::ScreenPlacement::Centred);
    DrawFrequencyScale();
    for (int k : lblFreqSpot.Indexes()) lblFreqSpot[k].SetVisible(true);
    ResizeControls();
    platform::DoEvents();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

void SpectrumMap::Form_Activate() { BandMapLabelDisplay(); }

// Only the labels of the spots placed now stay visible; the others are hidden without being shown
// in between.
void SpectrumMap::BandMapLabelDisplay() {
  const BusyPointer busy(*this);
  try {
    DrawFrequencyScale();
    SpectrumScaleEnds shownEnds;
    for (int row = 0; row < SpectrumRows; ++row) {
      shownEnds[row] = {lblFreqSpot[5 * row].Caption().toDouble(), lblFreqSpot[5 * row + 4].Caption().toDouble()};
    }
    std::array<bool, StoredSpots> placed{};
    for (const SpectrumSpot& spot : SpotsOnSpectrumMap(shownEnds, app::UtcOffset)) {
      platform::Label& label = lblDXSpot[spot.Label.Slot];
      const platform::Line& line = lineHF[spot.Row];
      label.SetToolTipText(spot.Label.ToolTip);
      label.SetCaption(spot.Label.Caption);
      label.Move(line.X1() + spot.Label.Along * (line.X2() - line.X1()) - label.Width() / 2, line.Y1() - label.Height());
      // A new palette costs more than the rest of the label; most spots keep their colour.
      if (label.ForeColor() != spot.Label.ForeColor) label.SetForeColor(spot.Label.ForeColor);
      placed[spot.Label.Slot] = true;
    }
    for (int slot = 0; slot < StoredSpots; ++slot) lblDXSpot[slot].SetVisible(placed[slot]);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// Each row's five scale labels centred under its line's start, quarter points and end.
void SpectrumMap::DrawFrequencyScale() {
  for (int row = 0; row < SpectrumRows; ++row) {
    const std::array<double, 5> values = SpectrumRowScale(row);
    const platform::Line& line = lineHF[row];
    for (int j = 0; j < 5; ++j) {
      platform::Label& scale = lblFreqSpot[5 * row + j];
      scale.SetCaption(ThreeDecimalText(values[j]));
      scale.Move(line.X1() + (line.X2() - line.X1()) * j * 0.25 - scale.Width() / 2, line.Y1() + 0.004 * Height());
    }
  }
}

// The whole work area (the screen less its panels), the controls following the change of size
// and their fonts as they are.
void SpectrumMap::ResizeControls() {
  const double oldWidth = Width();
  const double oldHeight = Height();
  Move(platform::Screen::WorkAreaLeft(), platform::Screen::WorkAreaTop(), platform::Screen::WorkAreaWidth(),
       platform::Screen::WorkAreaHeight());
  app::ModFormResize::ScaleControlsBy(*this, Width() / oldWidth, Height() / oldHeight, 1);
}

// Right button: the spot is taken (rig tuned, whole call into the entry line, map closed); any
// other removes it from the maps. The index comes from the mouse, so it is checked.
void SpectrumMap::lblDXSpot_MouseDown(int Index, int Button, int, float, float) {
  try {
    if (!IsSpotSlot(Index)) return;
    if (Button == platform::RightButton) {
      TakeSpot(Index);
      return;
    }
    RemoveSpot(Index);
    BandMapLabelDisplay();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// The spot is read before tuning: the rig command lets events run, and a spot arriving meanwhile
// moves the slots.
void SpectrumMap::TakeSpot(int slot) {
  const QString call = DXSpotCall[slot];
  const double megahertz = DXSpotFreq[slot];
  platform::Instance<rig::RigControlfrm>().ChangeFrequency(megahertz);
  app::Form1& main = platform::Instance<app::Form1>();
  main.txtCall.SetText(call);
  Hide();
  main.txtCall.SetFocus();
}

}  // namespace spotting
