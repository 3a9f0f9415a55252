#include "app/stationfields.h"

#include "platform/paths.h"

namespace app {

QString LogFilePathShown(const QString& logFilePath, const QString& programDir) {
  if (logFilePath.size() >= 3) return logFilePath;
  // The program folder is a native path: the operator reads it with "/" throughout.
  return platform::JoinPath(programDir, QStringLiteral("Corvane.MDB"));
}

}  // namespace app
