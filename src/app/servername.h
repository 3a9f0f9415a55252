#pragma once

#include <QString>

namespace app {

// The PC that holds the log file, for the station network: the name in a "\\PC\share\file"
// path; on Linux also the host of the network share a native path lies on. Empty for a
// local file.

// The PC name of a "\\PC\..." path; empty when the path has no such name.
QString ServerNameFromUncPath(const QString& path);

// The host of the cifs ("//host/share") or nfs ("host:/path") mount that holds nativePath,
// judged by the longest mount point in mountsTable (text laid out as /proc/mounts) that
// contains it; empty when that mount is no network share.
QString MountHostOfPath(const QString& nativePath, const QString& mountsTable);

// The server name for a log file path as typed: the "\\PC" name, else the host of the network
// share that the file (its native path, links resolved) lies on. Without a table, the platform's
// mount table.
QString ServerNameForLogFile(const QString& logFilePath, const QString& mountsTable);
QString ServerNameForLogFile(const QString& logFilePath);

}  // namespace app
