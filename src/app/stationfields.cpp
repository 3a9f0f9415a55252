#include "app/stationfields.h"

namespace app {

QString LogFilePathShown(const QString& logFilePath, const QString& programDir) {
  if (logFilePath.size() >= 3) return logFilePath;
  // The program folder is a native path: the operator reads it with "/" throughout.
  const QString separator = programDir.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
  return programDir + separator + QStringLiteral("Corvane.MDB");
}

}  // namespace app
