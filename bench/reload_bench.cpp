// The cost of reloading a large shared log into the main window (the select, the in-memory log,
// the tallies and the ten band lists) against a bare SQLite read of the same rows in the same
// order, and of a poll that finds no change against its count query alone. The reload must stay
// within three times the bare read; the poll must cost no more than its query.

#include "benchsupport.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/dialogs.h"
#include "platform/instances.h"

#include <QDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// The main window of one PC on the log of the given size, loaded once.
class Station {
 public:
  explicit Station(int contacts) {
    app::ProgramDir = QDir::currentPath();
    logging::LogConnection.Open(LogFileWith(contacts).Path());
    form_.Show();
    form_.WorkList();
  }
  ~Station() {
    logging::LogConnection.Close();
    logging::ClearLogStore();
    platform::UnloadAll();
  }
  app::Form1& Form() { return form_; }
  bool Failed() const { return !dialogs_.MessageBoxes().empty(); }

 private:
  platform::ScriptedDialogs dialogs_;
  app::Form1& form_ = platform::InstanceWithoutLoad<app::Form1>();
};

void BM_Reload(benchmark::State& state) {
  Station station(static_cast<int>(state.range(0)));
  for (auto _ : state) station.Form().mnuopen2();
  if (station.Failed() || logging::LogCount != state.range(0)) state.SkipWithError("the reload failed");
}
BENCHMARK(BM_Reload)->Arg(14000)->Unit(benchmark::kMillisecond);

void BM_BareRead(benchmark::State& state) {
  sqlite3* db = LogFileWith(static_cast<int>(state.range(0))).Open();
  // Prepared once, as the program keeps its statements.
  sqlite3_stmt* select = nullptr;
  sqlite3_prepare_v2(db, "select * from tbllog order by flddate, fldtime", -1, &select, nullptr);
  for (auto _ : state) {
    std::size_t bytes = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
      for (int column = 0; column < 9; ++column) {
        benchmark::DoNotOptimize(sqlite3_column_text(select, column));
        bytes += static_cast<std::size_t>(sqlite3_column_bytes(select, column));
      }
    }
    sqlite3_reset(select);
    benchmark::DoNotOptimize(bytes);
  }
  sqlite3_finalize(select);
  sqlite3_close_v2(db);
}
BENCHMARK(BM_BareRead)->Arg(14000)->Unit(benchmark::kMillisecond);

void BM_PollWithoutChange(benchmark::State& state) {
  Station station(static_cast<int>(state.range(0)));
  for (auto _ : state) station.Form().FileSize();
  if (station.Failed() || logging::ReloadPending != 0) state.SkipWithError("the poll saw a change");
}
BENCHMARK(BM_PollWithoutChange)->Arg(14000)->Unit(benchmark::kMicrosecond);

void BM_BareCount(benchmark::State& state) {
  sqlite3* db = LogFileWith(static_cast<int>(state.range(0))).Open();
  sqlite3_stmt* count = nullptr;
  sqlite3_prepare_v2(db, "select count(*) as fsizeold from tbllog", -1, &count, nullptr);
  for (auto _ : state) {
    sqlite3_step(count);
    benchmark::DoNotOptimize(sqlite3_column_double(count, 0));
    sqlite3_reset(count);
  }
  sqlite3_finalize(count);
  sqlite3_close_v2(db);
}
BENCHMARK(BM_BareCount)->Arg(14000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
