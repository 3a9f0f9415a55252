// The cost of the main window's band map and spot list as spots arrive. Drawing the band map with
// 50 spots in range against a bare loop that makes the drawing's own calls on the labels with
// what it left on them (so it shows and hides the same labels); and taking a spot into a full
// store and a full 200-row list (band map hidden) against a bare insert of the same row at the
// top of that list, its bottom row dropped; and redrawing the spectrum map with 50 spots over its
// eleven rows against a bare loop that makes the redraw's calls on the 55 scale labels and the 50
// spot labels. Each must stay within 2 times its bare counterpart.

#include "benchsupport.h"

#include "app/form1.h"
#include "logging/globals.h"
#include "platform/instances.h"
#include "platform/modulevalues.h"
#include "spotting/globals.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotintake.h"
#include "spotting/spotlist.h"
#include "spotting/spotmapwindow.h"
#include "spotting/spotstore.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// A DX line's record: spotter, frequency, call, comment, then time and grid at columns 68-76.
QString Record(int i) {
  return (QStringLiteral("de Q2ABC:     %1.0  Q%2X%3").arg(144100 + i).arg(i % 9 + 1).arg(i).leftJustified(34, u' ') +
          QStringLiteral("FN42 up 5"))
             .leftJustified(67, u' ') +
         QStringLiteral("1234Z FN31");
}

// The main window shown with its DX area open, as the spotting window's Done leaves it.
app::Form1& MainWindowWithDXArea(bool listChosen) {
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  spotting::CreateSpotListColumns(form);
  spotting::PacketSpotfrm& spotting = platform::Instance<spotting::PacketSpotfrm>();
  for (int i = 0; i < spotting.List1.ListCount(); ++i) {
    if (spotting.List1.List(i) == spotting::TNCSource) spotting.List1.SetListIndex(i);
  }
  spotting.OptList.SetValue(listChosen);
  form.PacketResize();
  form.Show();
  logging::CurrentBand = QStringLiteral("144 M");
  return form;
}

// 50 spots of distinct calls across 144.100 to 144.345 MHz.
void FillStore() {
  for (int i = 0; i < spotting::StoredSpots; ++i) {
    spotting::StoreSpot(QStringLiteral("Q%1X%2").arg(i % 9 + 1).arg(i), 144.1f + i * 0.005f);
  }
}

// What a drawing left on a label, to be set again by a bare loop.
struct LabelLook {
  platform::Label* label;
  QString caption, toolTip;
  double left, top;
  platform::Color color;
  bool visible;
};

std::vector<LabelLook> LooksOf(platform::ControlArray<platform::Label>& labels) {
  std::vector<LabelLook> looks;
  for (int slot : labels.Indexes()) {
    platform::Label& label = labels[slot];
    looks.push_back(
        {&label, label.Caption(), label.ToolTipText(), label.Left(), label.Top(), label.ForeColor(), label.Visible()});
  }
  return looks;
}

void TearDown() {
  platform::UnloadAll();
  platform::ResetModuleValues();
}

void BM_DisplayBandMapLabels(benchmark::State& state) {
  app::Form1& form = MainWindowWithDXArea(false);
  FillStore();
  for (auto _ : state) form.DisplayBandMapLabels();
  int shown = 0;
  for (int slot : form.lblDXSpot.Indexes()) shown += form.lblDXSpot[slot].Visible();
  state.counters["labels_shown"] = shown;
  TearDown();
}

// The drawing's own calls with what it left on the labels, in a plain loop: the five scale
// captions; on each spot placed its tooltip, caption, top, left and colour; every label shown or
// hidden as the drawing left it.
void BM_BareLabelLoop(benchmark::State& state) {
  app::Form1& form = MainWindowWithDXArea(false);
  FillStore();
  form.DisplayBandMapLabels();
  const std::vector<LabelLook> scale = LooksOf(form.lblFreqSpot);
  const std::vector<LabelLook> spots = LooksOf(form.lblDXSpot);
  for (auto _ : state) {
    for (std::size_t k = 0; k < 5; ++k) scale[k].label->SetCaption(scale[k].caption);
    for (const LabelLook& look : spots) {
      if (!look.visible) continue;
      look.label->SetToolTipText(look.toolTip);
      look.label->SetCaption(look.caption);
      look.label->SetTop(look.top);
      look.label->SetLeft(look.left);
      look.label->SetForeColor(look.color);
    }
    for (const LabelLook& look : spots) look.label->SetVisible(look.visible);
  }
  int shown = 0;
  for (int slot : form.lblDXSpot.Indexes()) shown += form.lblDXSpot[slot].Visible();
  state.counters["labels_shown"] = shown;
  TearDown();
}

void BM_BandMapSpotsIntoFullList(benchmark::State& state) {
  app::Form1& form = MainWindowWithDXArea(true);
  FillStore();
  for (int i = 0; i < spotting::SpotListRows; ++i) {
    form.BandMapSpots(QStringLiteral("Q1X%1").arg(i), QStringLiteral("%1.0").arg(144100 + i), Record(i));
  }
  // The spots are made beforehand, as the bare insert's row is.
  struct Spot {
    QString call, kilohertz, record;
  };
  std::vector<Spot> spots;
  for (int i = 0; i < 400; ++i) {
    spots.push_back({QStringLiteral("Q1X%1").arg(i), QStringLiteral("%1.0").arg(144100 + i), Record(i)});
  }
  std::size_t next = 0;
  for (auto _ : state) {
    const Spot& spot = spots[next++ % spots.size()];
    form.BandMapSpots(spot.call, spot.kilohertz, spot.record);
  }
  state.counters["rows"] = form.txtDX.ListItems.Count();
  TearDown();
}

void BM_BareInsertIntoFullList(benchmark::State& state) {
  app::Form1& form = MainWindowWithDXArea(true);
  const QStringList row = spotting::SpotListRow(QStringLiteral("Q1X7"), 144.107, Record(7));
  for (int i = 0; i < spotting::SpotListRows; ++i) {
    form.BandMapSpots(QStringLiteral("Q1X%1").arg(i), QStringLiteral("%1.0").arg(144100 + i), Record(i));
  }
  platform::ListItemCollection& items = form.txtDX.ListItems;
  for (auto _ : state) {
    items.Remove(spotting::SpotListRows);
    platform::ListItem item = items.Add(1, row.front());
    for (int column = 1; column < row.size(); ++column) item.SetSubItems(column, row[column]);
  }
  state.counters["rows"] = items.Count();
  TearDown();
}

// 50 spots of distinct calls, spread over the spectrum map's eleven rows.
void FillStoreAcrossTheRows() {
  static const float kRowMiddles[] = {1.9f, 3.75f, 7.15f, 10.125f, 14.175f, 18.118f,
                                      21.225f, 24.94f, 28.85f, 52.0f, 146.0f};
  for (int i = 0; i < spotting::StoredSpots; ++i) {
    spotting::StoreSpot(QStringLiteral("Q%1X%2").arg(i % 9 + 1).arg(i), kRowMiddles[i % 11] + (i / 11) * 0.001f);
  }
}

spotting::SpectrumMap& ShownSpectrumMap() {
  spotting::SpectrumMap& map = platform::Instance<spotting::SpectrumMap>();
  map.Show();
  return map;
}

void BM_SpectrumMapLabelDisplay(benchmark::State& state) {
  FillStoreAcrossTheRows();
  spotting::SpectrumMap& map = ShownSpectrumMap();
  for (auto _ : state) map.BandMapLabelDisplay();
  int shown = 0;
  for (int slot : map.lblDXSpot.Indexes()) shown += map.lblDXSpot[slot].Visible();
  state.counters["labels_shown"] = shown;
  TearDown();
}

// The redraw's own calls with what it left on the labels, in a plain loop: each scale label's
// caption and place; on each spot placed its tooltip, caption and place, and its colour where it
// differs; every spot label shown or hidden as the redraw left it.
void BM_BareSpectrumMapLoop(benchmark::State& state) {
  FillStoreAcrossTheRows();
  spotting::SpectrumMap& map = ShownSpectrumMap();
  map.BandMapLabelDisplay();
  const std::vector<LabelLook> scale = LooksOf(map.lblFreqSpot);
  const std::vector<LabelLook> spots = LooksOf(map.lblDXSpot);
  for (auto _ : state) {
    for (const LabelLook& look : scale) {
      look.label->SetCaption(look.caption);
      look.label->Move(look.left, look.top);
    }
    for (const LabelLook& look : spots) {
      if (!look.visible) continue;
      look.label->SetToolTipText(look.toolTip);
      look.label->SetCaption(look.caption);
      look.label->Move(look.left, look.top);
      if (look.label->ForeColor() != look.color) look.label->SetForeColor(look.color);
    }
    for (const LabelLook& look : spots) look.label->SetVisible(look.visible);
  }
  int shown = 0;
  for (int slot : map.lblDXSpot.Indexes()) shown += map.lblDXSpot[slot].Visible();
  state.counters["labels_shown"] = shown;
  TearDown();
}

BENCHMARK(BM_DisplayBandMapLabels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareLabelLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BandMapSpotsIntoFullList)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareInsertIntoFullList)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpectrumMapLabelDisplay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareSpectrumMapLoop)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
