#include "app/servername.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace app {

namespace {

// One line of the mount table, its fields decoded.
struct MountEntry {
  QString source;
  QString mountPoint;
  QString type;
};

// The table writes blanks, tabs, line ends and backslashes in its fields as "\" and three octal digits.
QString DecodeMountField(const QString& field) {
  QString decoded;
  for (qsizetype i = 0; i < field.size(); ++i) {
    bool octal = false;
    if (field[i] == QLatin1Char('\\') && i + 3 < field.size()) {
      const int code = field.mid(i + 1, 3).toInt(&octal, 8);
      if (octal) {
        decoded += QChar(code);
        i += 3;
      }
    }
    if (!octal) decoded += field[i];
  }
  return decoded;
}

QList<MountEntry> ParseMountsTable(const QString& mountsTable) {
  QList<MountEntry> entries;
  for (const QString& line : mountsTable.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 3) continue;
    entries.append({DecodeMountField(fields[0]), DecodeMountField(fields[1]), fields[2]});
  }
  return entries;
}

bool MountPointHolds(const QString& mountPoint, const QString& path) {
  if (mountPoint == QLatin1String("/")) return path.startsWith(QLatin1Char('/'));
  return path == mountPoint || path.startsWith(mountPoint + QLatin1Char('/'));
}

// A later line with the same mount point is mounted over the earlier one.
const MountEntry* MountHolding(const QList<MountEntry>& entries, const QString& path) {
  const MountEntry* holding = nullptr;
  for (const MountEntry& entry : entries) {
    if (MountPointHolds(entry.mountPoint, path) &&
        (holding == nullptr || entry.mountPoint.size() >= holding->mountPoint.size()))
      holding = &entry;
  }
  return holding;
}

bool IsCifsType(const QString& type) {
  return type == QLatin1String("cifs") || type == QLatin1String("smb3") || type == QLatin1String("smbfs");
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
  const QList<MountEntry> entries = ParseMountsTable(mountsTable);
  const MountEntry* mount = MountHolding(entries, QDir::cleanPath(nativePath));
  if (mount == nullptr) return {};
  if (IsCifsType(mount->type)) return CifsHost(mount->source);
  if (IsNfsType(mount->type)) return NfsHost(mount->source);
  return {};
}

QString ReadMountsTable() {
  QFile file(QStringLiteral("/proc/mounts"));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  return QString::fromUtf8(file.readAll());
}

QString ServerNameForLogFile(const QString& logFilePath, const QString& mountsTable) {
  const QString uncName = ServerNameFromUncPath(logFilePath);
  if (!uncName.isEmpty()) return uncName;
  return MountHostOfPath(ResolvedNativePath(logFilePath), mountsTable);
}

QString ServerNameForLogFile(const QString& logFilePath) { return ServerNameForLogFile(logFilePath, ReadMountsTable()); }

}  // namespace app
