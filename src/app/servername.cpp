#include "app/servername.h"

#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace app {

namespace {

bool MountPointHolds(const QString& mountPoint, const QString& path) {
  if (mountPoint == QLatin1String("/")) return path.startsWith(QLatin1Char('/'));
  return path == mountPoint || path.startsWith(mountPoint + QLatin1Char('/'));
}

// A later line with the same mount point is mounted over the earlier one.
const platform::MountEntry* MountHolding(const QList<platform::MountEntry>& entries, const QString& path) {
  const platform::MountEntry* holding = nullptr;
  for (const platform::MountEntry& entry : entries) {
    if (MountPointHolds(entry.mountPoint, path) &&
        (holding == nullptr || entry.mountPoint.size() >= holding->mountPoint.size()))
      holding = &entry;
  }
  return holding;
}

bool IsNfsType(const QString& type) { return type == QLatin1String("nfs") || type == QLatin1String("nfs4"); }

// "//host/share"
QString CifsHost(const QString& source) {
  if (!source.startsWith(QLatin1String("//"))) return {};
  return source.mid(2).section(QLatin1Char('/'), 0, 0);
}

// "host:/path", or "[address]:/path" for an IPv6 address.
QString NfsHost(const QString& source) {
  if (source.startsWith(QLatin1Char('['))) {
    const qsizetype close = source.indexOf(QLatin1String("]:"));
    return close < 0 ? QString() : source.mid(1, close - 1);
  }
  const qsizetype colon = source.indexOf(QLatin1Char(':'));
  return colon < 0 ? QString() : source.left(colon);
}

// The file itself when it exists, so that a link into a share counts as the share.
QString ResolvedNativePath(const QString& logFilePath) {
  const QFileInfo info(platform::NativePath(logFilePath));
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

QString ServerNameFromUncPath(const QString& path) {
  const qsizetype a = path.indexOf(QLatin1String("\\\\"));
  const qsizetype b = path.indexOf(QLatin1Char('\\'), 2);
  // A "\\" that stands after the first "\" from the third character on names no PC.
  if (a < 0 || b < 0 || b < a + 2) return {};
  return path.mid(a + 2, b - a - 2);
}

QString MountHostOfPath(const QString& nativePath, const QString& mountsTable) {
  const QList<platform::MountEntry> entries = platform::ParseMountTable(mountsTable);
  const platform::MountEntry* mount = MountHolding(entries, QDir::cleanPath(nativePath));
  if (mount == nullptr) return {};
  if (mount->IsCifs()) return CifsHost(mount->source);
  if (IsNfsType(mount->type)) return NfsHost(mount->source);
  return {};
}

QString ServerNameForLogFile(const QString& logFilePath, const QString& mountsTable) {
  const QString uncName = ServerNameFromUncPath(logFilePath);
  if (!uncName.isEmpty()) return uncName;
  return MountHostOfPath(ResolvedNativePath(logFilePath), mountsTable);
}

QString ServerNameForLogFile(const QString& logFilePath) {
  return ServerNameForLogFile(logFilePath, platform::MountTableText());
}

}  // namespace app
