// The cost of committing one contact from the main window into a large shared log, against a
// bare SQLite insert of the same row into the same file. The difference is the commit's own work
// (field checks, the in-memory log, the per-band store and the window), which must stay small
// and must not grow with the size of the log.

#include "benchsupport.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/reload.h"
#include "platform/dialogs.h"
#include "platform/instances.h"

#include <QDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

const char* const kRow[] = {"W1AW", "59", "FN20", "57", "FN31", "2024/03/03", "01:30:00", "144 M", "PH"};

void TypeContact(app::Form1& form) {
  form.txtCall.SetText(kRow[0]);
  form.txtRSTR.SetText(kRow[1]);
  form.txtSec.SetText(kRow[2]);
  form.txtRSTS.SetText(kRow[3]);
}

void BM_Commit(benchmark::State& state) {
  const LogFile& file = LogFileWith(static_cast<int>(state.range(0)));
  app::ProgramDir = QDir::currentPath();
  app::OwnGrid = kRow[4];
  logging::CurrentBand = kRow[7];
  logging::CurrentMode = kRow[8];
  logging::LogConnection.Open(file.Path());
  logging::ReloadLogStore(app::Rover, app::ContestType);
  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::Instance<app::Form1>();
  form.Show();
  form.Label3.SetVisible(false);  // the grid is worked already: no list refill in the loop
  for (auto _ : state) {
    state.PauseTiming();
    TypeContact(form);
    state.ResumeTiming();
    form.Mains();
  }
  if (!dialogs.MessageBoxes().empty()) state.SkipWithError("the commit reported an error");
  state.counters["contacts_in_memory"] = logging::LogCount;
  logging::LogConnection.Close();
  logging::ClearLogStore();
  platform::UnloadAll();
}
BENCHMARK(BM_Commit)->Arg(0)->Arg(14000)->Unit(benchmark::kMicrosecond);

void BM_BareInsert(benchmark::State& state) {
  sqlite3* db = LogFileWith(static_cast<int>(state.range(0))).Open();
  for (auto _ : state) {
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into tblLog (calls, rstr, gridr, rsts, grids, flddate, fldtime, uband, umode)"
                       "VALUES (?,?,?,?,?,?,?,?,?)",
                       -1, &insert, nullptr);
    for (int column = 0; column < 9; ++column) sqlite3_bind_text(insert, column + 1, kRow[column], -1, SQLITE_STATIC);
    benchmark::DoNotOptimize(sqlite3_step(insert));
    sqlite3_finalize(insert);
  }
  sqlite3_close_v2(db);
}
BENCHMARK(BM_BareInsert)->Arg(14000)->Unit(benchmark::kMicrosecond);

// Opening the log checks the whole file for damage first; this is its cost at the size of a big
// contest log, against opening the same file without the check.
void BM_OpenLog(benchmark::State& state) {
  const LogFile& file = LogFileWith(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    platform::Connection connection;
    connection.Open(file.Path());
  }
}
BENCHMARK(BM_OpenLog)->Arg(0)->Arg(14000)->Unit(benchmark::kMicrosecond);

void BM_BareOpen(benchmark::State& state) {
  const LogFile& file = LogFileWith(static_cast<int>(state.range(0)));
  for (auto _ : state) sqlite3_close_v2(file.Open());
}
BENCHMARK(BM_BareOpen)->Arg(14000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
