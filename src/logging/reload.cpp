#include "logging/reload.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/bandlists.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/logtable.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/trace.h"

namespace logging {

void ReopenLostLog() {
  if (!LogConnection.Lost()) return;
  const QString path = LogConnection.LostPath();  // a copy: a refused open may forget it
  platform::SkipOnError(lcLogging, [&] { OpenLogDatabase(path); });
}

void ReloadLogStore(std::uint8_t rover, std::uint8_t contestType) {
  LoadContactsFromTable();
  RebuildBandTallies(rover, contestType);
}

}  // namespace logging

namespace app {

namespace {

// The log the program holds stays as it was, and the next poll tries again. Until a reload reads
// the table, the backup leaves the backup file alone: the log held may be empty (a failed first
// reload) or older than the file.
void KeepLogUntilNextPoll() {
  logging::ReloadFailed = 1;
  logging::LogRowCount = -1;  // no table has that many rows, so the next poll reloads
}

// Every view of the log, once the log is read. A view that fails is traced and the others still
// follow: the log itself was read, so no file error is shown for it.
void ShowReloadedLog(Form1& form) {
  form.ResetGridMapColors();
  logging::FillBandLists(form);
  for (void (Form1::*refresh)() :
       {&Form1::ListContacts, &Form1::TimeStats, &Form1::Labeldisplay, &Form1::HighlightWorkedGrids}) {
    platform::SkipOnError(lcLogging, [&] { (form.*refresh)(); });
  }
}

}  // namespace

// Rebuilds the in-memory log, the tallies and every view of them from the table. The table is
// read whole before anything is replaced, so a file that cannot be reached or is damaged leaves
// the log, its counts and its lists as they were. False when the table could not be read, so a
// caller that needs the whole log (an export) stops after the error box.
bool Form1::mnuopen2() {
  try {
    platform::ChDrive(ProgramDrive);
    platform::ChDir(ProgramDir);
    logging::ReloadLogStore(Rover, ContestType);
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
    logging::LogRecordset.Close();
    KeepLogUntilNextPoll();
    platform::MsgBox(QStringLiteral("Error opening file."), platform::MsgBoxStyle::OKOnly,
                     QStringLiteral("File or Network Error"));
    return false;
  }
  logging::ReloadFailed = 0;
  ShowReloadedLog(*this);
  return true;
}

bool Form1::WorkList() {
  logging::ReloadPending = 0;
  return mnuopen2();
}

// A reload on request: a reload waiting for the call box still follows.
void Form1::mnuOpen_Click() { mnuopen2(); }

void Form1::AskOpenExistingLog() {
  const int answer = platform::MsgBox(
      QStringLiteral("Do you want to continue an existing contest? (Yes opens your existing log, No erases any "
                     "existing log and starts a new log.)"),
      platform::MsgBoxStyle::YesNo | platform::MsgBoxStyle::Question, QStringLiteral("Open existing log?"));
  // The start-up reads the log here whatever the answer, the log kept or an erase not confirmed;
  // after an erase the table read is empty (the erase has read it once itself).
  if (answer == platform::MsgBoxResult::No) NewLog();
  WorkList();
  cmdEdit.SetVisible(false);
  cmdDelete.SetVisible(false);
}

}  // namespace app
