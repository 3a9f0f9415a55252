#include "app/folders.h"
#include "app/form1.h"
#include "app/globals.h"
#include "logging/logstore.h"
#include "logging/reload.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/quotedtext.h"
#include "platform/trace.h"

namespace app {

namespace {

const QString BackupFileName = QStringLiteral("BckUpLog.dat");

// The backup runs unseen on the poll timer: its first failure in a session is shown, naming the
// file and the system's reason, so the operator knows the last backup is getting old; later ones
// are only traced, or a full disk would put a message in front of the log every few minutes.
void ReportBackupFailure(const std::exception& error, const QString& path) {
  if (logging::BackupFailureShown != 0) return;
  logging::BackupFailureShown = 1;
  platform::MsgBox(QStringLiteral("The backup file could not be written: ") + QString::fromUtf8(error.what()) +
                       QStringLiteral("  ") + platform::NativePath(path),
                   platform::MsgBoxStyle::OKOnly, QStringLiteral("Error Backing Up Log"));
}

}  // namespace

// The log held, one contact a line in the table's column order, for the restore to read back.
// The file is replaced only once it is written whole: a failure part-way leaves the last backup.
void Form1::BackupLog() {
  const QString path = ProgramDir + QStringLiteral("\\") + BackupFileName;
  try {
    SelectProgramFolder();
    platform::QuotedTextWriter backup(path);
    for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot) {
      backup.WriteRecord({logging::LogCalls[slot], logging::LogRstRcvd[slot], logging::LogGridRcvd[slot],
                          logging::LogRstSent[slot], logging::LogGridSent[slot], logging::LogDate[slot],
                          logging::LogTime[slot], logging::LogBand[slot], logging::LogMode[slot]});
    }
    backup.Close();
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
    ReportBackupFailure(error, path);
  }
}

}  // namespace app
