#pragma once

#include "platform/modulevalues.h"

#include <cstdint>

// The reload of the shared log (Form1::mnuopen2, WorkList, mnuOpen_Click, AskOpenExistingLog in
// reload.cpp) and its poll (Form1::FileSize, Timer3_Timer, mnuRefreshrate_Click in poll.cpp).
namespace logging {

// Refresh ticks since the last backup, 0 to 16: every 16th tick writes the backup file.
MODULE_VALUE(std::uint8_t, BackupTickCount, 0);

// 1 once a failed backup has been shown to the operator: it is shown once a session.
MODULE_VALUE(std::uint8_t, BackupFailureShown, 0);

// 1 while the last reload could not read the table. The log held is then older than the table,
// or empty at start-up, and the backup file keeps its last good copy instead of taking it.
MODULE_VALUE(std::uint8_t, ReloadFailed, 0);

// Closes the log and opens it afresh when a statement found its file failing
// (LogConnection.Lost()), as on a share whose server went away, so that logging resumes by itself
// once the file works again. The commit and the poll call it before they use the log. A file that
// still fails leaves the log closed and lost, and is only traced: the statement that follows
// reports it as it always does.
void ReopenLostLog();

// Rebuilds the in-memory log from tbllog, oldest first, then the per-band counts, worked-grid
// lists and activated grids from it. Throws platform::RuntimeError when the table cannot be read;
// the in-memory log, the tallies and LogRowCount are then left as they were.
void ReloadLogStore(std::uint8_t rover, std::uint8_t contestType);

}  // namespace logging
