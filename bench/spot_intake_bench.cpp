// The cost of taking DX spots from received text: 10,000 cluster lines, one in ten a repeat in
// another letter case, taken by the spotting window as its TNC ticks and its cluster reads hand
// them over, cut into lines, filtered, parsed and handed to the main window's spot intake (store,
// spot list). The TNC path (repeat filter, receive box text) and the telnet path (each read shown,
// every DX line posted) each run on tick-sized chunks and on one chunk, against the same lines
// split beforehand and handed straight to the intake. Each path must stay within 2 times the
// straight hand-off, and one chunk must cost no more per line than the chunked run.

#include "benchsupport.h"

#include "app/form1.h"
#include "platform/instances.h"
#include "platform/modulevalues.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotlines.h"
#include "spotting/spotlist.h"

#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

constexpr int kLines = 10'000;
// What a 9600-baud TNC delivers in one 333 ms tick.
constexpr qsizetype kTickChars = 320;

// An 80-column cluster line with CR LF: spotter, kHz in columns 16-24, call at 27, comment, time
// and the spotter's grid.
QString ClusterLine(int i) {
  const QString spotter = QStringLiteral("DX de Q%1ABC:").arg(i % 7).leftJustified(15, u' ');
  const QString kilohertz = QStringLiteral("%1.%2").arg(144000 + i % 4000).arg(i % 10).rightJustified(9, u' ');
  const QString call = QStringLiteral("Q%1X%2").arg(i % 9 + 1).arg(i).leftJustified(13, u' ');
  const QString comment = QStringLiteral("FN%1 up %2").arg(i % 90 + 10).arg(i % 5 + 1).leftJustified(31, u' ');
  const QString time = QStringLiteral("%1Z FN31").arg(1200 + i % 60);
  return (spotter + kilohertz + QStringLiteral("  ") + call + comment + time).leftJustified(80, u' ') +
         QStringLiteral("\r\n");
}

// The received text: every tenth line repeats the one before it in lower case.
const QString& ReceivedText() {
  static const QString text = [] {
    QString all;
    QString previous;
    for (int i = 0; i < kLines; ++i) {
      const QString line = i % 10 == 9 ? previous.toLower() : ClusterLine(i);
      all += line;
      previous = line;
    }
    return all;
  }();
  return text;
}

// The main window with its spot list, and the spotting window taking its source's text.
spotting::PacketSpotfrm& SpottingWindow() {
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  spotting::CreateSpotListColumns(form);
  return platform::Instance<spotting::PacketSpotfrm>();
}

void TearDown() {
  platform::UnloadAll();
  platform::ResetModuleValues();
}

int SpotRows() { return platform::Instance<app::Form1>().txtDX.ListItems.Count(); }

// The TNC's ticks: each chunk cut into lines, repeats dropped, shown lines kept in the box's text.
void TncPath(benchmark::State& state, qsizetype chunk) {
  const QString& text = ReceivedText();
  for (auto _ : state) {
    state.PauseTiming();
    spotting::PacketSpotfrm& window = SpottingWindow();
    state.ResumeTiming();
    for (qsizetype at = 0; at < text.size(); at += chunk) {
      window.SpotBuffer.Append(QStringView(text).mid(at, chunk));
      window.ProcessTNCBuffer();
    }
    state.PauseTiming();
    state.counters["rows"] = SpotRows();
    TearDown();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

// The cluster's reads: each shown, every whole DX line posted, no repeat filter.
void TelnetPath(benchmark::State& state, qsizetype chunk) {
  const QString& text = ReceivedText();
  for (auto _ : state) {
    state.PauseTiming();
    spotting::PacketSpotfrm& window = SpottingWindow();
    state.ResumeTiming();
    for (qsizetype at = 0; at < text.size(); at += chunk) window.TakeTelnetText(text.mid(at, chunk));
    state.PauseTiming();
    state.counters["rows"] = SpotRows();
    TearDown();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_TncTicks(benchmark::State& state) { TncPath(state, kTickChars); }
void BM_TncOneChunk(benchmark::State& state) { TncPath(state, ReceivedText().size()); }
void BM_TelnetTicks(benchmark::State& state) { TelnetPath(state, kTickChars); }
void BM_TelnetOneChunk(benchmark::State& state) { TelnetPath(state, ReceivedText().size()); }

// The same lines, split on LF beforehand, each parsed and handed straight to the intake.
void BM_StraightToBandMapSpots(benchmark::State& state) {
  QStringList lines = ReceivedText().split(u'\n', Qt::SkipEmptyParts);
  for (QString& line : lines) line += u'\n';
  for (auto _ : state) {
    state.PauseTiming();
    SpottingWindow();
    app::Form1& form = platform::Instance<app::Form1>();
    state.ResumeTiming();
    for (const QString& line : lines) {
      const spotting::DXLine spot = spotting::ParseDXLine(line);
      form.BandMapSpots(spot.Call, spot.Frequency, spotting::SpotRecord(line));
    }
    state.PauseTiming();
    state.counters["rows"] = SpotRows();
    TearDown();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

BENCHMARK(BM_StraightToBandMapSpots)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TncTicks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TncOneChunk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TelnetTicks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TelnetOneChunk)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
