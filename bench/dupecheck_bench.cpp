// The partial-call check runs on every key typed into the call box and scans the whole in-memory
// log; on a 14000-contact log a key, with its dispatch and repaint, must stay far below the time
// between two keystrokes.

#include "app/form1.h"
#include "app/globals.h"
#include "logging/dupecheck.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/dialogs.h"
#include "platform/instances.h"

#include "benchsupport.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

constexpr int kContacts = 14000;

// A contest's worth of contacts: calls of common prefixes, spread over four bands and two own
// grids.
void FillLog() {
  static const std::array<const char*, 8> prefixes = {"W", "K", "N", "AA", "KB", "WA", "VE", "KD"};
  static const std::array<const char*, 4> bands = {"50 M", "144 M", "222 M", "432 M"};
  logging::ClearLogStore();
  for (int i = 0; i < kContacts; ++i) {
    const QString call = QString::fromLatin1(prefixes[i % prefixes.size()]) + QString::number((i / 8) % 10) +
                         QChar('A' + (i / 80) % 26) + QChar('A' + (i / 2080) % 26) + QChar('A' + i % 3);
    logging::AppendContact({call, "59", "FN20", "57", i % 5 ? "FN31" : "FN32", "2024/06/08", "18:00:00",
                            bands[(i / 80) % bands.size()], "PH"});
  }
}

// The text already in the call box, then the key typed: a common start that fills the list at
// once, a call that matches nothing (the whole log is scanned), a first key that matches nothing.
struct Typing {
  const char* before;
  char key;
};
constexpr std::array<Typing, 3> kTypings = {{{"W", '1'}, {"W1AB", 'Q'}, {"", 'Q'}}};

void BM_PartialCallMatches(benchmark::State& state) {
  FillLog();
  const Typing& typing = kTypings[static_cast<std::size_t>(state.range(0))];
  const QString typed = QString::fromLatin1(typing.before) + QChar(typing.key);
  for (auto _ : state) benchmark::DoNotOptimize(logging::PartialCallMatches(typed, "144 M", "FN31"));
  state.SetLabel(typed.toStdString());
}
BENCHMARK(BM_PartialCallMatches)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// A key typed into the call box as the operator types it: the window's key dispatch, the call
// box's handlers (the partial-call check among them) and the repaint of what they changed. The
// box is given back its text, untimed, after each key.
void BM_CallBoxKey(benchmark::State& state) {
  FillLog();
  app::OwnGrid = "FN31";
  logging::CurrentBand = "144 M";
  logging::DupCheckOn = 1;
  platform::ScriptedDialogs dialogs;  // the third-character beep sounds nowhere
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  form.Show();
  const Typing& typing = kTypings[static_cast<std::size_t>(state.range(0))];
  form.txtCall.SetFocus();
  for (auto _ : state) {
    form.txtCall.SetText(QString::fromLatin1(typing.before));
    form.txtCall.SetSelStart(static_cast<int>(qstrlen(typing.before)));
    QApplication::processEvents();
    state.SetIterationTime(TypeKeyMicroseconds(form.txtCall.Widget(), typing.key) / 1e6);
  }
  state.SetLabel(form.txtCall.Text().toStdString());
  platform::UnloadAll();
}
BENCHMARK(BM_CallBoxKey)->DenseRange(0, 2)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
