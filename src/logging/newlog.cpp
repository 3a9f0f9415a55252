#include "app/form1.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/logtable.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/trace.h"

namespace app {

namespace {

const QString NewLogPrompt =
    QStringLiteral("Are you sure that you want to start a new log file?  This function will ERASE the existing log "
                   "file!\r\n\r\nTo verify that you want to start a new log file, please type: YES");

// Only the typed word itself, in any letter case, erases the log.
bool ConfirmsErase(const QString& answer) { return answer.toUpper() == QLatin1String("YES"); }

}  // namespace

void Form1::mnuNew_Click() { NewLog(); }

// Empties the shared table; the file stays, and every other PC reloads an empty log at its next
// poll. An erase that fails changes nothing here either: the log and the on-time totals stay.
// The zeroed on-time is saved at once, so a restart does not bring the old one back.
void Form1::NewLog() {
  const QString answer =
      platform::InputBox(NewLogPrompt, QStringLiteral("WARNING - Your existing log file will be ERASED!"));
  if (!ConfirmsErase(answer)) return;
  try {
    logging::DeleteAllContacts();
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcLogging, error);
    platform::MsgBox(error.Description(), platform::MsgBoxStyle::OKOnly, QStringLiteral("Error Erasing Log"));
    return;
  }
  logging::OnTime = 0;
  logging::StoredOnTime = 0;
  SavePref();
  WorkList();
}

}  // namespace app
