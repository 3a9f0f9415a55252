#include "app/form1.h"
#include "keying/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/logtable.h"
#include "logging/reload.h"
#include "platform/dialogs.h"
#include "platform/numbertext.h"
#include "platform/trace.h"

#include <cmath>

namespace app {

namespace {

constexpr std::uint8_t TicksPerBackup = 16;
constexpr int FallbackRefreshRate = 60000;

const QString RefreshRatePrompt =
    QStringLiteral("How often do you want the program to check the log to update the contact list and score "
                   "statistics?  This does not effect dupe checking.  Dupe checking is always done in real time.  "
                   "Use 60000 for slower PC's (less than 300 MHz)\r\n\r\nPlease enter a value in milliseconds from "
                   "6000 (six seconds) to 60000 (one minute).");

bool IsRefreshRate(double milliseconds) { return milliseconds > 5999 && milliseconds < 60001; }

}  // namespace

// Other PCs are seen only through the table's row count. A change reloads at once when the call
// box is empty; otherwise the reload waits, so the log under a call being typed stays still.
void Form1::FileSize() {
  if (keying::CWSending != 0) return;  // a query would break up the keying's timing
  logging::ReopenLostLog();
  double rows = 0;
  try {
    rows = logging::CountLogRows();
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
    WorkList();
    return;
  }
  if (rows != logging::LogRowCount) {
    logging::ReloadPending = 1;
    logging::LogRowCount = rows;
  }
  if (logging::ReloadPending == 1 && txtCall.Text().isEmpty()) WorkList();
}

// The backup follows the poll on every 16th tick, so it writes the log as just reloaded. It is
// left out while the table cannot be read: the log held may be empty or older than the file.
void Form1::Timer3_Timer() {
  ++logging::BackupTickCount;
  FileSize();
  if (logging::BackupTickCount >= TicksPerBackup) {
    logging::BackupTickCount = 0;
    if (logging::ReloadFailed == 0) BackupLog();
  }
}

void Form1::mnuRefreshrate_Click() {
  try {
    const QString answer = platform::InputBox(RefreshRatePrompt, QStringLiteral("Refresh Rate Settings"),
                                              QString::number(Timer3.Interval()));
    const std::optional<double> typed = platform::DecimalOfText(answer);
    if (!typed) {
      platform::Beep();
      platform::MsgBox(QStringLiteral("Invalid value."), platform::MsgBoxStyle::OKOnly,
                       QStringLiteral("Invalid Value."));
      return;
    }
    const double milliseconds = *typed;
    if (!IsRefreshRate(milliseconds)) return;
    Timer3.SetInterval(static_cast<int>(std::nearbyint(milliseconds)));
    logging::RefreshRate = static_cast<float>(milliseconds);
    SavePref();
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
    Timer3.SetInterval(FallbackRefreshRate);
    logging::RefreshRate = FallbackRefreshRate;
    SavePref();
  }
}

}  // namespace app
