// What a PC does with the text its connections receive: whole records cut from a buffer per
// connection. The cut must cost about what a bare split of the same text at "<EOR>" costs,
// however the text comes in (TCP may hand it over in pieces of any size): nothing buffered is
// scanned twice.

#include "network/records.h"

#include <QByteArray>
#include <QString>
#include <benchmark/benchmark.h>

#include <algorithm>

#include "benchsupport.h"

namespace {

constexpr qsizetype kTextSize = 1024 * 1024;

// 1 MB of table records, as the server sends its table again and again.
const QByteArray& TableText() {
  static const QByteArray text = [] {
    QByteArray bytes;
    for (int i = 0; bytes.size() < kTextSize; ++i) {
      const int row = i % 196;
      bytes += network::TableRecord(row, QStringLiteral("Tent%1").arg(row), i % 2 ? "432 M" : "144 M",
                                    i % 3 ? "CW" : "PH", QString())
                   .toLatin1();
    }
    return bytes;
  }();
  return text;
}

void BM_BareSplitAtEndMarker(benchmark::State& state) {
  const QByteArray& text = TableText();
  for (auto _ : state) {
    qsizetype records = 0;
    for (qsizetype at = 0;;) {
      const qsizetype end = text.indexOf("<EOR>", at);
      if (end < 0) break;
      benchmark::DoNotOptimize(QString::fromLatin1(text.mid(at, end + 5 - at)));
      ++records;
      at = end + 5;
    }
    benchmark::DoNotOptimize(records);
  }
  state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_BareSplitAtEndMarker)->Unit(benchmark::kMillisecond);

// The text in pieces of range(0) bytes, each decoded and handed to the buffer as a receive is.
void BM_RecordBuffer(benchmark::State& state) {
  const QByteArray& text = TableText();
  const qsizetype piece = state.range(0);
  for (auto _ : state) {
    network::RecordBuffer buffer;
    qsizetype records = 0;
    for (qsizetype at = 0; at < text.size(); at += piece) {
      buffer.Append(QString::fromLatin1(text.constData() + at, std::min(piece, text.size() - at)));
      while (std::optional<network::Record> record = buffer.Next()) {
        benchmark::DoNotOptimize(record->text);
        ++records;
      }
    }
    benchmark::DoNotOptimize(records);
  }
  state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_RecordBuffer)->Arg(16)->Arg(1024)->Arg(64 * 1024)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
