// Software keying on the real clock: "PARIS " twice at 13, 25, 35, 45 and 60 WPM on the RTS line of
// a pseudo-terminal, each level noted with the moment the device took it. For each way of timing a
// unit and each speed it reports the keyed time over the ideal (the units keyed x 1200 / WPM ms)
// and the worst element's error; the counted loop is calibrated first and its calibration
// reported. Targets on a quiet machine: the timer within 0.2 % of the ideal and no element more
// than 1 ms off at every speed.

#include "benchsupport.h"

#include "keying/cwfrm.h"
#include "keying/globals.h"
#include "platform/instances.h"
#include "platform/serialcontrol.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

using Clock = std::chrono::steady_clock;
using Level = platform::RecordedSerialLines::Level;

constexpr int kRepeats = 2;

// A pseudo-terminal the keying port opens (port 9 named by CORVANE_PORT9), held while it lives.
class PseudoTerminal {
 public:
  PseudoTerminal() : master_(posix_openpt(O_RDWR | O_NOCTTY)) {
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    qputenv("CORVANE_PORT9", ptsname(master_));
  }
  ~PseudoTerminal() {
    qunsetenv("CORVANE_PORT9");
    if (master_ >= 0) close(master_);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

 private:
  int master_;
};

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// Each unit sets the line once, so an element is a run of equal levels and lasts until the next
// run begins (the last one until keying returned).
double WorstElementErrorMs(const std::vector<Level>& levels, Clock::time_point end, double unitMs) {
  double worst = 0;
  std::size_t first = 0;
  while (first < levels.size()) {
    std::size_t next = first;
    while (next < levels.size() && levels[next].raised == levels[first].raised) ++next;
    const Clock::time_point until = next < levels.size() ? levels[next].at : end;
    const double ideal = static_cast<double>(next - first) * unitMs;
    worst = std::max(worst, std::abs(MillisecondsBetween(levels[first].at, until) - ideal));
    first = next;
  }
  return worst;
}

keying::CWFrm& KeyingWindow(std::int64_t wordsPerMinute) {
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
  cw.Option1.SetValue(true);  // RTS
  cw.Text10.SetText(QStringLiteral("9"));
  cw.Text11.SetText(QString::number(wordsPerMinute));
  cw.txtSpace.SetText(QStringLiteral("0"));
  cw.CWSetup();
  return cw;
}

// Arguments: the method (0 timer, 1 sleep, 2 counted loop) and the speed in WPM.
void BM_KeyParis(benchmark::State& state) {
  PseudoTerminal line;
  keying::CWFrm& cw = KeyingWindow(state.range(1));
  const double unitMs = 1200.0 / static_cast<double>(state.range(1));
  if (!cw.Comm.PortOpen()) return state.SkipWithError("the pseudo-terminal could not be opened");
  platform::OptionButton* methods[] = {&cw.optTimer, &cw.OptSleep, &cw.optLoop};
  methods[state.range(0)]->SetValue(true);  // the loop calibrates as it is chosen
  for (auto _ : state) {
    platform::RecordedSerialLines lines;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
      for (const QChar character : QStringLiteral("PARIS ")) cw.Transmit(QString(character));
    }
    const Clock::time_point end = Clock::now();
    const std::vector<Level>& levels = lines.Levels();
    if (levels.empty()) return state.SkipWithError("nothing was keyed");
    state.counters["units"] = static_cast<double>(levels.size());
    state.counters["keyed_over_ideal"] =
        MillisecondsBetween(levels.front().at, end) / (static_cast<double>(levels.size()) * unitMs);
    state.counters["worst_element_ms"] = WorstElementErrorMs(levels, end, unitMs);
  }
  if (state.range(0) == 2) state.counters["loops_per_60ms"] = cw.LoopOffset;
  platform::UnloadAll();
}

BENCHMARK(BM_KeyParis)
    ->ArgNames({"method", "wpm"})
    ->ArgsProduct({{0, 1, 2}, {13, 25, 35, 45, 60}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
