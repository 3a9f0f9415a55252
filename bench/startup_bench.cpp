// The program's start-up beyond the logo, on a contest log of 14,000 contacts (and of 100,000):
// from the logo's click through the station set-up and "Open existing log?" to the main window
// shown with its events run, the operator answering at once. Each repetition starts on a fresh
// copy of the log. Goal: under 250 ms at 14,000 contacts. The memory the process holds once the
// program has started on the 14,000-contact log is reported beside it (run this benchmark alone,
// first, for a figure of its own): no more than 74 MiB.

#include "benchsupport.h"
#include "programstart.h"

#include "platform/paths.h"

#include <QFileInfo>
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

namespace {

double MaxResidentMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_StartUpBeyondTheLogo(benchmark::State& state) {
  const LogFile& log = ContestLogWith(static_cast<int>(state.range(0)));
  const QString folder = platform::CurDir();
  double resident = 0;
  for (auto _ : state) {
    LogCopy copy(log);
    platform::ChDir(QFileInfo(copy.Path()).path());
    ProgramStart start;
    const bool started = start.Run();
    resident = ResidentMiB();
    platform::UnloadAll();
    platform::ChDir(folder);  // out of the copy's folder before it goes
    if (!started) {
      state.SkipWithError("the program did not start on the log as it should");
      break;
    }
    state.SetIterationTime(start.MillisecondsBeyondLogo() / 1000.0);
  }
  state.counters["rss_MiB"] = resident;
  state.counters["max_rss_MiB"] = MaxResidentMiB();
}
BENCHMARK(BM_StartUpBeyondTheLogo)
    ->Arg(14000)
    ->Arg(100000)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
