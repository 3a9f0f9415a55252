// The main window's band map: spot labels placed along a frequency scale of the current band.
// It shows only while lblDX is visible, which takes a spot source.
#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "platform/instances.h"
#include "platform/trace.h"
#include "spotting/bandmapscale.h"
#include "spotting/packetspotfrm.h"

#include <algorithm>
#include <set>

namespace app {

namespace {

using platform::Control;
using platform::ControlKind;

// Opening the DX area takes a tenth of the controls' span; closing gives it back (0.9 x 1.1111111,
// not quite 1).
constexpr double kOpenFactor = 0.9;
constexpr double kCloseFactor = 1.1111111;
// Where a closed DX area's controls wait, hidden.
constexpr double kParkedTop = 1000;

// Nothing chosen yet counts as no source, as "None" does.
bool IsNoSpotSource(const QString& source) {
  return source.isEmpty() || source.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0;
}

bool MovesWithTheSpan(ControlKind kind) {
  switch (kind) {
    case ControlKind::ListBox:
    case ControlKind::ListView:
    case ControlKind::CommandButton:
    case ControlKind::TextBox:
    case ControlKind::Label:
      return true;
    default:
      return false;
  }
}

// Scales every list, button, text box and label's top and height, and every line's ends down the
// window, by a factor. Returns the lowest bottom edge among them afterwards.
double ScaleControlSpan(Form1& form, double factor) {
  double lowestBottom = 0;
  for (Control* control : form.Controls()) {
    if (MovesWithTheSpan(control->Kind())) {
      control->SetHeight(control->Height() * factor);
      control->SetTop(control->Top() * factor);
      lowestBottom = std::max(lowestBottom, control->Top() + control->Height());
    } else if (auto* line = dynamic_cast<platform::Line*>(control)) {
      line->SetY1(line->Y1() * factor);
      line->SetY2(line->Y2() * factor);
    }
  }
  return lowestBottom;
}

void ShowBandMapFrame(Form1& form, bool visible) {
  form.lblDX.SetVisible(visible);
  form.LineDX.SetVisible(visible);
  for (int k : form.lblFreqSpot.Indexes()) form.lblFreqSpot[k].SetVisible(visible);
}

void ShowSpotLabels(Form1& form, bool visible) {
  for (int slot : form.lblDXSpot.Indexes()) form.lblDXSpot[slot].SetVisible(visible);
}

// The DX area across the bottom, from the lowest control to the window's foot: list and map share
// one rectangle, the axis runs across the middle with the scale just below it.
void LayOutDXArea(Form1& form, double top) {
  form.txtDX.Move(0.01 * form.Width(), top, 0.97 * form.Width(), form.ScaleHeight() - top);
  form.lblDX.Move(form.txtDX.Left(), form.txtDX.Top(), form.txtDX.Width(), form.txtDX.Height());
  const double halfScaleLabel = form.lblFreqSpot[0].Width() / 2;
  const double axis = form.lblDX.Top() + form.lblDX.Height() / 2;
  form.LineDX.SetEnds(form.lblDX.Left() + halfScaleLabel, axis,
                      form.lblDX.Left() + form.lblDX.Width() - halfScaleLabel, axis);
  for (int k : form.lblFreqSpot.Indexes()) form.lblFreqSpot[k].SetTop(axis + 0.004 * form.Height());
}

// Each scale label centred on its quarter point of the axis.
void PlaceScaleLabels(Form1& form) {
  const double x1 = form.LineDX.X1();
  const double x2 = form.LineDX.X2();
  for (int k : form.lblFreqSpot.Indexes()) {
    platform::Label& scale = form.lblFreqSpot[k];
    scale.SetLeft(x1 + k * 0.25 * (x2 - x1) - scale.Width() / 2);
  }
}

void ParkDXArea(Form1& form) {
  form.txtDX.SetVisible(false);
  form.txtDX.SetTop(kParkedTop);
  form.lblDX.SetVisible(false);
  form.lblDX.SetTop(kParkedTop);
  form.LineDX.SetY1(kParkedTop);
  form.LineDX.SetY2(kParkedTop);
  form.LineDX.SetVisible(false);
  for (platform::ControlArray<platform::Label>* labels : {&form.lblDXSpot, &form.lblFreqSpot}) {
    for (int i : labels->Indexes()) {
      (*labels)[i].SetVisible(false);
      (*labels)[i].SetTop(kParkedTop);
    }
  }
}

}  // namespace

void Form1::BandMapScale() {
  try {
    const std::array<QString, 5> captions = spotting::BandMapScaleCaptions(logging::CurrentBand);
    for (int k = 0; k < 5; ++k) lblFreqSpot[k].SetCaption(captions[k]);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// Only the labels of the spots placed now stay visible, so a spot that left the range, aged past
// the hour or was removed vanishes; the others are hidden without being shown in between. The
// range is read back from the scale as it is shown.
void Form1::DisplayBandMapLabels() {
  try {
    if (!lblDX.Visible()) return;
    BandMapScale();
    const float low = lblFreqSpot[0].Caption().toFloat();
    const float high = lblFreqSpot[4].Caption().toFloat();
    const double x1 = LineDX.X1();
    const double x2 = LineDX.X2();
    std::set<int> placed;
    for (const spotting::PlacedSpot& spot : spotting::SpotsOnBandMap(low, high, UtcOffset)) {
      platform::Label& label = lblDXSpot[spot.Slot];
      label.SetToolTipText(spot.ToolTip);
      label.SetCaption(spot.Caption);
      label.SetTop(LineDX.Y1() - label.Height() - 0.004 * Height());
      label.SetLeft(x1 + spot.Along * (x2 - x1) - label.Width() / 2);
      label.SetForeColor(spot.ForeColor);
      placed.insert(spot.Slot);
    }
    for (int slot : lblDXSpot.Indexes()) lblDXSpot[slot].SetVisible(placed.count(slot) != 0);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// A band map that cannot be drawn now is left as it is; the next refresh tries again.
void Form1::RefreshBandMap() {
  if (!lblDX.Visible()) return;
  platform::SkipOnError(lcSpotting, [this] { DisplayBandMapLabels(); });
}

// The spotting window's choice against the DX area's state: switch between list and map, open
// the area for a source, close it for none.
void Form1::PacketResize() {
  try {
    spotting::PacketSpotfrm& spotting = platform::Instance<spotting::PacketSpotfrm>();
    const bool listChosen = spotting.OptList.Value();
    const bool noSource = IsNoSpotSource(spotting.List1.Text());
    if (txtDX.Visible() && !listChosen) {
      txtDX.SetVisible(false);
      ShowBandMapFrame(*this, true);
      ShowSpotLabels(*this, true);
    } else if (lblDX.Visible() && listChosen) {
      txtDX.SetVisible(true);
      ShowBandMapFrame(*this, false);
      ShowSpotLabels(*this, false);
    }
    if (!txtDX.Visible() && !lblDX.Visible() && !noSource) {
      const double top = ScaleControlSpan(*this, kOpenFactor);
      ResizeBandLists();
      LayOutDXArea(*this, top);
      BandMapScale();
      PlaceScaleLabels(*this);
      if (listChosen) {
        txtDX.SetVisible(true);
        ShowBandMapFrame(*this, false);
        ShowSpotLabels(*this, false);
      } else {
        txtDX.SetVisible(false);
        ShowBandMapFrame(*this, true);
      }
    }
    if (noSource && (txtDX.Visible() || lblDX.Visible())) {
      ScaleControlSpan(*this, kCloseFactor);
      ResizeBandLists();
      ParkDXArea(*this);
    }
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

}  // namespace app
