// The cost of exporting a large log as ADIF and as Cabrillo, against a bare write of the same
// bytes to the same folder. Each export must stay within 30 times its bare write, and twice the
// contacts within 2.2 times the time: no system call per piece, no string growing quadratically.

#include "benchsupport.h"

#include "logging/logstore.h"
#include "logtools/adifexport.h"
#include "logtools/cabrillo.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTime>
#include <benchmark/benchmark.h>

#include <functional>
#include <vector>

namespace {

const QString kCaption = QStringLiteral("Varnek's Corvane Log 2.5").leftJustified(64, u' ');

// A contest log of the given size over every band, both modes and a day and a half of times.
void FillLog(int contacts) {
  std::vector<logging::LogContact> log;
  log.reserve(static_cast<std::size_t>(contacts));
  for (int i = 0; i < contacts; ++i) {
    const int minute = i / 8;
    log.push_back({.Call = QStringLiteral("K%1ABC").arg(i),
                   .RstRcvd = QStringLiteral("57"),
                   .GridRcvd = QStringLiteral("FN%1").arg(10 + i % 90),
                   .RstSent = QStringLiteral("59"),
                   .GridSent = QStringLiteral("FN31"),
                   .Date = minute < 1440 ? QStringLiteral("2024/06/08") : QStringLiteral("2024/06/09"),
                   .Time = QTime(minute / 60 % 24, minute % 60).toString(QStringLiteral("HH:mm:ss")),
                   .Band = logging::BandNames[i % logging::BandCount],
                   .Mode = i % 3 ? QStringLiteral("PH") : QStringLiteral("CW")});
  }
  logging::ReplaceContacts(log);
}

void WriteAdif(const QString& path) {
  const logtools::AdifAnswers answers{QStringLiteral("100"), QStringLiteral("ARRL June VHF QSO Party"),
                                      QStringLiteral("SSB")};
  logtools::WriteAdifFile(path, answers, kCaption);
}

void WriteCabrillo(const QString& path) {
  logtools::CabrilloEntry entry;
  entry.MainWindowCaption = kCaption;
  entry.ContestType = 2;
  entry.OwnCall = QStringLiteral("W1XYZ");
  entry.ClaimedScore = QStringLiteral("123456");
  logtools::WriteCabrilloLog(path, entry);
}

void Export(benchmark::State& state, const std::function<void(const QString&)>& write) {
  QTemporaryDir folder;
  FillLog(static_cast<int>(state.range(0)));
  const QString path = folder.filePath(QStringLiteral("export"));
  for (auto _ : state) write(path);
  state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
  logging::ClearLogStore();
}

// The export's bytes written with one open, one write and one close.
void BareWrite(benchmark::State& state, const std::function<void(const QString&)>& write) {
  QTemporaryDir folder;
  FillLog(static_cast<int>(state.range(0)));
  const QString exported = folder.filePath(QStringLiteral("export"));
  write(exported);
  logging::ClearLogStore();
  QFile source(exported);
  source.open(QIODevice::ReadOnly);
  const QByteArray bytes = source.readAll();
  const QString path = folder.filePath(QStringLiteral("bare"));
  for (auto _ : state) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) state.SkipWithError("no bare write");
    file.close();
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_AdifExport(benchmark::State& state) { Export(state, WriteAdif); }
void BM_AdifBareWrite(benchmark::State& state) { BareWrite(state, WriteAdif); }
void BM_CabrilloExport(benchmark::State& state) { Export(state, WriteCabrillo); }
void BM_CabrilloBareWrite(benchmark::State& state) { BareWrite(state, WriteCabrillo); }

BENCHMARK(BM_AdifExport)->Arg(14000)->Arg(28000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdifBareWrite)->Arg(14000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CabrilloExport)->Arg(14000)->Arg(28000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CabrilloBareWrite)->Arg(14000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
