#pragma once

#include <QString>

namespace app {

// The log file path the station set-up dialog shows: the stored one, as stored, or the empty log
// database installed beside the program (a native path) when none of at least three characters is
// stored.
QString LogFilePathShown(const QString& logFilePath, const QString& programDir);

}  // namespace app
