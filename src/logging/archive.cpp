#include "app/folders.h"
#include "app/form1.h"
#include "app/globalpreferences.h"
#include "app/globals.h"
#include "logging/logstore.h"
#include "logging/logtable.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/trace.h"

namespace app {

namespace {

const QString ArchiveInformation = QStringLiteral(
    "This function is designed to create a permanent copy of your currently open log file following the contest.  "
    "It can only be run if this is the only PC connected to the log file.  If others are also connected, you will "
    "receive a 'Permission Denied' error.\r\n\r\n"
    "This program also creates a backup of your log file automatically every 15 minutes during the contest.\r\n\r\n"
    "To open your log file at a later date, click File > Combine or Restore from Backup.");

const QString ArchiveErrorTitle = QStringLiteral("Error Archiving Log");

// The data folder's backup folder, the own call's file-name stem and today's date: "W1AB2024-03-02.mdb".
QString DefaultArchiveName() {
  return DataFolder + modGlobalPreferences::BackupFolder + QStringLiteral("\\") +
         modGlobalPreferences::CallToFileStem(OwnCall) + platform::Now().date().toString(QStringLiteral("yyyy-MM-dd")) +
         QStringLiteral(".mdb");
}

// Throws RuntimeError CancelSelectedError when the operator cancels.
QString ChooseArchiveName(platform::CommonDialog& dialog) {
  dialog.CancelError = true;
  SelectProgramFolder();
  dialog.InitDir = DataFolder + modGlobalPreferences::BackupFolder;
  dialog.FileName = DefaultArchiveName();
  dialog.Filter = QStringLiteral("Log Files (*.mdb) | *.mdb");
  dialog.FilterIndex = 1;
  dialog.Flags = platform::CommonDialogFlags::OverwritePrompt;
  dialog.ShowSave();
  return dialog.FileName;
}

void ReportArchiveError(const platform::RuntimeError& error) {
  platform::TraceError(lcLogging, error);
  platform::SkipOnError(lcLogging, [] { SelectProgramFolder(); });
  platform::MsgBox(error.Description(), platform::MsgBoxStyle::OKOnly, ArchiveErrorTitle);
}

// A log that cannot be opened again is reported here; the poll, running again, then reports it
// on every tick as any unreachable log.
void ReopenLog() {
  try {
    logging::OpenLogDatabase(LogFilePath);
  } catch (const platform::RuntimeError& error) {
    ReportArchiveError(error);
  }
}

}  // namespace

// The copy is taken through a connection of its own, consistent even while other PCs write; the
// program's own connection is closed meanwhile and the poll is off, and both come back however
// the archive ends.
void Form1::mnuArchive_Click() {
  platform::MsgBox(ArchiveInformation, platform::MsgBoxStyle::OKOnly, QStringLiteral("Archive Information"));
  Timer3.SetEnabled(false);
  try {
    if (logging::LogConnection.IsOpen()) logging::LogConnection.Close();
    platform::CopyLogDatabase(LogFilePath, ChooseArchiveName(cdbFile));
  } catch (const platform::RuntimeError& error) {
    if (error.Number() != platform::CancelSelectedError) ReportArchiveError(error);
  }
  ReopenLog();
  Timer3.SetEnabled(true);
  platform::SkipOnError(lcLogging, [] { SelectProgramFolder(); });
}

}  // namespace app
