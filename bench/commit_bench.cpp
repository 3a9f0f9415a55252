// The cost of committing one contact from the main window into a large shared log, against a
// bare SQLite insert of the same row into the same file. The difference is the commit's own work
// (field checks, the in-memory log, the per-band store, the contact list refilled with the last 20
// or with every contact, the score), which must stay within the insert's own cost again.

#include "benchsupport.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/contactlist.h"
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

// A call not logged before on every commit, so that each one stores its row rather than being
// refused as a dupe.
void TypeContact(app::Form1& form) {
  static int serial = 0;
  form.txtCall.SetText(QStringLiteral("N%1").arg(++serial, 6, 10, QLatin1Char('0')));
  form.txtRSTR.SetText(kRow[1]);
  form.txtSec.SetText(kRow[2]);
  form.txtRSTS.SetText(kRow[3]);
}

// Arguments: contacts in the log; 1 when the list shows all of them, 0 for the last 20.
void BM_Commit(benchmark::State& state) {
  const LogFile& file = LogFileWith(static_cast<int>(state.range(0)));
  logging::ListAllContacts = static_cast<std::uint8_t>(state.range(1));
  app::ProgramDir = QDir::currentPath();
  app::OwnGrid = kRow[4];
  logging::CurrentBand = kRow[7];
  logging::CurrentMode = kRow[8];
  logging::LogConnection.Open(file.Path());
  logging::ReloadLogStore(app::Rover, app::ContestType);
  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  logging::CreateContactListColumns(form);
  form.Show();
  form.Label3.SetVisible(false);  // the grid is worked already: no band list refill in the loop
  const std::int32_t before = logging::LogCount;
  for (auto _ : state) {
    state.PauseTiming();
    TypeContact(form);
    state.ResumeTiming();
    form.Mains();
  }
  if (!dialogs.MessageBoxes().empty()) state.SkipWithError("the commit reported an error");
  if (logging::LogCount - before != state.iterations()) state.SkipWithError("a commit stored nothing");
  state.counters["contacts_in_memory"] = logging::LogCount;
  state.counters["rows_listed"] = form.ListView1.ListItems.Count();
  logging::ListAllContacts = 0;
  logging::LogConnection.Close();
  logging::ClearLogStore();
  platform::UnloadAll();
}
BENCHMARK(BM_Commit)->Args({0, 0})->Args({14000, 0})->Args({14000, 1})->Unit(benchmark::kMicrosecond);

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
