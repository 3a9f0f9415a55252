// The cost of taking DX spots from received text: 10,000 cluster lines, one in ten a repeat in
// another letter case, cut into lines, filtered, parsed and filed in the spot store with their
// spot list rows. The TNC path (repeat filter, receive box text) and the telnet path (DX lines
// only) each run on tick-sized chunks and on one chunk, against the same lines split beforehand
// and handed straight to the store. Each path must stay within 2 times the straight hand-off, and
// one chunk must cost no more per line than the chunked run.

#include "benchsupport.h"

#include "spotting/spotintake.h"
#include "spotting/spotlines.h"

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

// Files each spot as the spot input hands it on; returns how many were filed.
int HandOn(const std::vector<spotting::DXLine>& spots) {
  int filed = 0;
  for (const spotting::DXLine& spot : spots) {
    filed += spotting::FileSpot(spot.Call, spot.Frequency, spotting::SpotRecord(spot.Line)).has_value();
  }
  return filed;
}

// The TNC's ticks: each chunk cut into lines, repeats dropped, shown lines kept in the box's text.
void TncPath(benchmark::State& state, qsizetype chunk) {
  const QString& text = ReceivedText();
  int filed = 0;
  for (auto _ : state) {
    spotting::SpotLineBuffer buffer;
    QString receivedText;
    filed = 0;
    for (qsizetype at = 0; at < text.size(); at += chunk) {
      buffer.Append(QStringView(text).mid(at, chunk));
      filed += HandOn(spotting::TakeReceivedLines(buffer, receivedText, false));
    }
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  state.counters["spots"] = filed;
}

// The telnet cluster's reads: every whole DX line, no repeat filter.
void TelnetPath(benchmark::State& state, qsizetype chunk) {
  const QString& text = ReceivedText();
  int filed = 0;
  for (auto _ : state) {
    spotting::SpotLineBuffer buffer;
    filed = 0;
    for (qsizetype at = 0; at < text.size(); at += chunk) {
      buffer.Append(QStringView(text).mid(at, chunk));
      filed += HandOn(spotting::TakeDXLines(buffer));
    }
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  state.counters["spots"] = filed;
}

void BM_TncTicks(benchmark::State& state) { TncPath(state, kTickChars); }
void BM_TncOneChunk(benchmark::State& state) { TncPath(state, ReceivedText().size()); }
void BM_TelnetTicks(benchmark::State& state) { TelnetPath(state, kTickChars); }
void BM_TelnetOneChunk(benchmark::State& state) { TelnetPath(state, ReceivedText().size()); }

// The same lines, split on LF beforehand, each parsed and handed straight to the store.
void BM_StraightToStore(benchmark::State& state) {
  QStringList lines = ReceivedText().split(u'\n', Qt::SkipEmptyParts);
  for (QString& line : lines) line += u'\n';
  int filed = 0;
  for (auto _ : state) {
    filed = 0;
    for (const QString& line : lines) {
      const spotting::DXLine spot = spotting::ParseDXLine(line);
      filed += spotting::FileSpot(spot.Call, spot.Frequency, spotting::SpotRecord(line)).has_value();
    }
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  state.counters["spots"] = filed;
}

BENCHMARK(BM_StraightToStore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TncTicks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TncOneChunk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TelnetTicks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TelnetOneChunk)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
