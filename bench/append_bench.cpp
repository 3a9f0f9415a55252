// The cost of appending a 14000-contact backup file to a 14000-contact shared log through the
// append window with duplicate elimination on (a lookup by call, then an insert, per contact, and
// the reload at the end), against the same number of bare single-row inserts into a copy of the
// same log. Each row is its own statement, as other PCs' commits must go on meanwhile, so both
// sides pay the same write per row; the append must stay within three times the bare inserts.
// Restoring contacts the log already holds costs the lookups alone.

#include "benchsupport.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/logstore.h"
#include "logtools/frmimport.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/quotedtext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kContacts = 14000;

// The contact a backup line or a bare insert carries: "N<i>" for contacts the log lacks, "K<i>"
// for the log's own (see LogFile).
QStringList BackupContact(int i, bool logged) {
  const QString grid = QStringLiteral("FN%1").arg(100 + i % 900);
  return {(logged ? QStringLiteral("K%1") : QStringLiteral("N%1")).arg(i), QStringLiteral("59"), grid,
          QStringLiteral("57"), QStringLiteral("FN31"), QStringLiteral("2024/03/02"), QStringLiteral("12:00:00"),
          i % 2 ? QStringLiteral("50 M") : QStringLiteral("144 M"), QStringLiteral("PH")};
}

QString WriteBackupFile(const QString& path, bool logged) {
  platform::QuotedTextWriter writer(path);
  for (int i = 0; i < kContacts; ++i) {
    const QStringList c = BackupContact(i, logged);
    writer.WriteRecord({c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8]});
  }
  writer.Close();
  return path;
}

// A fresh copy of the 14000-contact log for each run, so every run appends to the same log.
class LogCopy {
 public:
  LogCopy() { platform::FileCopy(LogFileWith(kContacts).Path(), path_); }
  const QString& Path() const { return path_; }

 private:
  QTemporaryDir dir_;
  QString path_ = dir_.filePath(QStringLiteral("Corvane.MDB"));
};

// Argument: 1 restores the log's own contacts (every one a dupe), 0 appends contacts it lacks.
void BM_AppendBackupWithElimination(benchmark::State& state) {
  const bool logged = state.range(0) == 1;
  QTemporaryDir folder;
  const QString backup = WriteBackupFile(folder.filePath(QStringLiteral("BckUpLog.dat")), logged);
  app::ProgramDir = folder.path();
  platform::ScriptedDialogs dialogs;
  platform::InstanceWithoutLoad<app::Form1>();  // the main window the append reloads at its end
  std::int32_t contactsAfter = 0;
  for (auto _ : state) {
    state.PauseTiming();
    LogCopy log;
    logging::LogConnection.Open(log.Path());
    app::LogFilePath = log.Path();
    logtools::frmImport& window = platform::Instance<logtools::frmImport>();
    window.Text1.SetText(backup);
    state.ResumeTiming();
    window.Command2_Click();
    state.PauseTiming();
    contactsAfter = logging::LogCount;
    window.Unload();
    logging::LogConnection.Close();
    state.ResumeTiming();
  }
  if (!dialogs.MessageBoxes().empty()) state.SkipWithError("the append reported an error");
  if (contactsAfter != (logged ? kContacts : 2 * kContacts)) state.SkipWithError("the append added the wrong rows");
  state.counters["contacts_after"] = contactsAfter;
  logging::ClearLogStore();
  platform::UnloadAll();
}
BENCHMARK(BM_AppendBackupWithElimination)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

void BM_BareInserts(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    LogCopy log;
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(log.Path()).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db, 5000);
    sqlite3_exec(db, "pragma journal_mode = delete", nullptr, nullptr, nullptr);
    state.ResumeTiming();
    // Prepared once, as the program keeps its statements.
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into tblLog (calls, rstr, gridr, rsts, grids, flddate, fldtime, uband, umode)"
                       "VALUES (?,?,?,?,?,?,?,?,?)",
                       -1, &insert, nullptr);
    for (int i = 0; i < kContacts; ++i) {
      const QStringList contact = BackupContact(i, false);
      for (int column = 0; column < 9; ++column) {
        const QByteArray text = contact[column].toUtf8();
        sqlite3_bind_text(insert, column + 1, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      }
      benchmark::DoNotOptimize(sqlite3_step(insert));
      sqlite3_reset(insert);
      sqlite3_clear_bindings(insert);
    }
    state.PauseTiming();
    sqlite3_finalize(insert);
    sqlite3_close_v2(db);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BareInserts)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
