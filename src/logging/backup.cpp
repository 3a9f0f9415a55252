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
    // The backup runs unseen on the poll timer: the operator learns that the last backup is
    // getting old.
    platform::ShowWriteFailureOnce(logging::BackupFailureShown, QStringLiteral("The backup file"),
                                   QString::fromUtf8(error.what()), platform::NativePath(path),
                                   QStringLiteral("Error Backing Up Log"));
  }
}

}  // namespace app
