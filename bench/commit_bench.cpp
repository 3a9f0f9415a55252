// The cost of committing one contact from the main window (Form1::Mains and the repaint it leaves)
// against a bare durable insert of a row into a log of the same size (rollback journal,
// synchronous FULL, as the program writes), timed side by side in the same run. Each repetition
// starts the program on a fresh copy of a contest log of 0, 1,000, 14,000 or 100,000 contacts, so
// no repetition finds the log grown by an earlier one; the contacts are stamped over the contest's
// hours, so the last hour holds what a busy contest holds.
//
// Three commits: with the contact list showing the last 20 (the grid worked already), a grid new
// on the band (the grid map and the band's list take it), and the list showing every contact.
// After the run, one line per size and list: "commit/insert SIZE LIST RATIO", the ratio of the
// median commit to the median bare insert. Goals: last20 and newgrid at most 1.5, all at most 2,
// flat from 1,000 to 100,000 contacts.

#include "benchsupport.h"
#include "programstart.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/paths.h"

#include <QDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSizes[] = {0, 1000, 14000, 100000};
enum class ListKind { Last20, NewGrid, All };
constexpr const char* kListNames[] = {"last20", "newgrid", "all"};
constexpr int kCommitsPerRepetition = 10;
constexpr int kRepetitions = 7;

// A grid the contest log holds on every band from its first station on (ContestLogRow).
const QString kWorkedGrid = QStringLiteral("DL00");

// Wall-clock times, and the processor time of this thread, which the disk's flushes leave out.
struct Samples {
  std::vector<double> commits, inserts, commitsOnProcessor, insertsOnProcessor;  // microseconds
};
std::map<std::pair<int, int>, Samples> results;

double Microseconds(Clock::duration elapsed) { return std::chrono::duration<double, std::micro>(elapsed).count(); }

double ThreadMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// A call not in the log, so that no commit is refused as a dupe.
QString NewCall() {
  static int serial = 0;
  return QStringLiteral("N%1").arg(++serial, 6, 10, QLatin1Char('0'));
}

// The grid map's squares the log has not worked on the current band, for the new-grid commits.
QStringList NewGridsOnTheMap(app::Form1& form) {
  const std::int32_t band = logging::BandIndex(logging::CurrentBand);
  QStringList grids;
  for (int square : form.lblGrid.Indexes()) {
    const QString grid = form.lblGrid[square].Caption();
    if (grid.size() == 4 && !logging::BandHasGrid(band, grid)) grids << grid;
  }
  return grids;
}

// The contact typed into the entry line, and what typing it drew, before the commit is timed.
void TypeContact(app::Form1& form, const QString& grid) {
  form.txtCall.SetFocus();
  form.txtCall.SetText(NewCall());
  form.txtRSTR.SetText(QStringLiteral("59"));
  form.txtRSTS.SetText(QStringLiteral("57"));
  form.txtSec.SetText(grid);
  platform::DoEvents();
}

// The program's own connection must write as the bare insert does.
bool WritesDurably() {
  platform::Recordset pragma;
  pragma.Open(QStringLiteral("pragma synchronous"), logging::LogConnection);
  const bool full = pragma.Fields(0) == QLatin1String("2");
  pragma.Close();
  pragma.Open(QStringLiteral("pragma journal_mode"), logging::LogConnection);
  const bool rollback = pragma.Fields(0) == QLatin1String("delete");
  pragma.Close();
  return full && rollback;
}

// A bare durable insert of one new contact, through a statement prepared once, as the program
// keeps its statements. Zero when it failed.
Clock::duration BareInsert(sqlite3_stmt* insert) {
  const QByteArray call = NewCall().toLatin1();
  const char* row[] = {call.constData(), "59", "FN20", "57", "FN31", "2024/03/03", "01:30:00", "144 M", "PH"};
  const Clock::time_point start = Clock::now();
  bool bound = true;
  for (int column = 0; column < 9; ++column) {
    bound = bound && sqlite3_bind_text(insert, column + 1, row[column], -1, SQLITE_STATIC) == SQLITE_OK;
  }
  const int rc = bound ? sqlite3_step(insert) : SQLITE_ERROR;
  sqlite3_reset(insert);
  sqlite3_clear_bindings(insert);
  const Clock::duration elapsed = Clock::now() - start;
  return rc == SQLITE_DONE ? elapsed : Clock::duration::zero();
}

// Arguments: index into kSizes, then the ListKind. One call is one repetition: the program is
// started on a fresh copy of the log and makes one commit untimed (its first write), then
// kCommitsPerRepetition timed ones, each followed by a bare insert into another fresh copy.
void BM_Commit(benchmark::State& state) {
  const int size = kSizes[state.range(0)];
  const auto list = static_cast<ListKind>(state.range(1));
  const LogFile& log = ContestLogWith(size);
  LogCopy programCopy(log);
  LogCopy bareCopy(log);
  const QString folder = platform::CurDir();
  platform::ChDir(QFileInfo(programCopy.Path()).path());
  ProgramStart start;
  if (!start.Run() || !WritesDurably()) {
    state.SkipWithError("the program did not start on the log as it should");
    platform::UnloadAll();
    platform::ChDir(folder);
    return;
  }
  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::Instance<app::Form1>();
  form.Timer4.Tick();  // the network's switch three seconds after start, not in a timed commit
  if (list == ListKind::All) form.cmdList_Click();
  TypeContact(form, kWorkedGrid);
  form.Mains();
  platform::DoEvents();
  const QStringList newGrids = NewGridsOnTheMap(form);
  sqlite3* bare = bareCopy.Open();
  sqlite3_stmt* bareInsert = nullptr;
  sqlite3_prepare_v2(bare,
                     "insert into tblLog (calls, rstr, gridr, rsts, grids, flddate, fldtime, uband, umode)"
                     "VALUES (?,?,?,?,?,?,?,?,?)",
                     -1, &bareInsert, nullptr);
  Samples samples;
  int typed = 0;
  bool asExpected = newGrids.size() >= kCommitsPerRepetition && bareInsert != nullptr;
  for (auto _ : state) {
    const std::int32_t before = logging::LogCount;
    TypeContact(form, list == ListKind::NewGrid ? newGrids.value(typed++) : kWorkedGrid);
    asExpected = asExpected && form.Label3.Visible() == (list == ListKind::NewGrid);
    const double commitProcessorStart = ThreadMicroseconds();
    const Clock::time_point commitStart = Clock::now();
    form.Mains();
    platform::DoEvents();
    const Clock::duration commit = Clock::now() - commitStart;
    samples.commitsOnProcessor.push_back(ThreadMicroseconds() - commitProcessorStart);
    state.SetIterationTime(std::chrono::duration<double>(commit).count());
    const double insertProcessorStart = ThreadMicroseconds();
    const Clock::duration insert = bareInsert != nullptr ? BareInsert(bareInsert) : Clock::duration::zero();
    samples.insertsOnProcessor.push_back(ThreadMicroseconds() - insertProcessorStart);
    asExpected = asExpected && logging::LogCount == before + 1 && insert != Clock::duration::zero();
    samples.commits.push_back(Microseconds(commit));
    samples.inserts.push_back(Microseconds(insert));
  }
  sqlite3_finalize(bareInsert);
  sqlite3_close_v2(bare);
  if (!asExpected || !dialogs.MessageBoxes().empty()) state.SkipWithError("a commit did not go as it should");
  Samples& all = results[{size, static_cast<int>(list)}];
  for (auto [from, to] : {std::pair{&samples.commits, &all.commits}, {&samples.inserts, &all.inserts},
                          {&samples.commitsOnProcessor, &all.commitsOnProcessor},
                          {&samples.insertsOnProcessor, &all.insertsOnProcessor}}) {
    to->insert(to->end(), from->begin(), from->end());
  }
  state.counters["bare_insert_us"] = Median(samples.inserts);
  state.counters["commit_cpu_us"] = Median(samples.commitsOnProcessor);
  state.counters["insert_cpu_us"] = Median(samples.insertsOnProcessor);
  state.counters["rows_listed"] = form.ListView1.ListItems.Count();
  platform::UnloadAll();
  platform::ResetModuleValues();
  platform::ChDir(folder);  // out of the copy's folder before it goes
}
BENCHMARK(BM_Commit)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2}})
    ->Iterations(kCommitsPerRepetition)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void PrintRatios() {
  for (const auto& [key, samples] : results) {
    const double insert = Median(samples.inserts);
    if (insert <= 0) continue;
    std::printf("commit/insert %d %s %.2f\n", key.first, kListNames[key.second], Median(samples.commits) / insert);
  }
}

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

int main(int argc, char** argv) { return RunBenchmarks(argc, argv, PrintRatios); }
