// The grid box's "New" indicator searches the band's worked-grid list on every change of the box;
// with 5000 grids on the band a key, with its dispatch and repaint, must stay far below the time
// between two keystrokes.

#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/instances.h"

#include "benchsupport.h"

#include <benchmark/benchmark.h>


namespace {

constexpr int kGrids = 5000;

// 5000 different grids on 144 M, as a rover's list (received grid, blank, own grid) or a fixed
// station's.
void FillBandList(bool roverEntries) {
  logging::ClearLogStore();
  for (int slot = 1; slot <= kGrids; ++slot) {
    const int i = slot - 1;
    QString grid = QString(QChar('A' + i % 18)) + QChar('A' + (i / 18) % 18) + QString::number(i / 324 % 10) +
                   QString::number(i / 3240 % 10);
    if (roverEntries) grid += QStringLiteral(" FN31");
    logging::BandGrids[1].Set(slot, grid);
  }
  logging::BandGridCount[1] = kGrids;
}

// A grid not on the list (the whole list is searched), the last grid listed in lower case, the first.
QString GridTyped(std::int64_t which) {
  if (which == 0) return QStringLiteral("FN20ab");
  const QString listed = logging::BandGrids[1][which == 1 ? kGrids : 1].left(4);
  return which == 1 ? listed.toLower() : listed;
}

// The grid's last character typed into the grid box as the operator types it: the window's key
// dispatch, the box's handlers (the "New" indicator, heading and distance) and the repaint of
// what they changed. The box is given back the grid without that character, untimed, after each key.
void BM_GridBoxKey(benchmark::State& state) {
  const bool rover = state.range(1) != 0;
  FillBandList(rover);
  app::Rover = rover ? 1 : 0;
  app::ContestType = 5;
  app::OwnGrid = "FN31";
  app::OwnLatitude = 41.5;
  app::OwnLongitude = 73;
  logging::CurrentBand = "144 M";
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  form.Show();
  const QString grid = GridTyped(state.range(0));
  const QString before = grid.chopped(1);
  const char last = grid.back().toLatin1();
  form.txtSec.SetFocus();
  for (auto _ : state) {
    form.txtSec.SetText(before);
    form.txtSec.SetSelStart(static_cast<int>(before.size()));
    QApplication::processEvents();
    state.SetIterationTime(TypeKeyMicroseconds(form.txtSec.Widget(), last) / 1e6);
  }
  state.SetLabel(form.txtSec.Text().toStdString() + (rover ? " rover" : "") +
                 (form.Label3.Visible() ? " new" : " worked"));
  platform::UnloadAll();
}
BENCHMARK(BM_GridBoxKey)->ArgsProduct({{0, 1, 2}, {0, 1}})->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
