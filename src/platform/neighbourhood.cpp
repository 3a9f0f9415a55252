#include "platform/neighbourhood.h"

#include <QDeadlineTimer>
#include <QList>
#include <QProcess>

#include <algorithm>
#include <optional>

namespace platform {

namespace {

constexpr int BrowseBound = 5000;                   // milliseconds the browse may take in all
constexpr qsizetype MaxBrowseOutput = 1024 * 1024;  // more than any LAN announces
constexpr qsizetype ResolvedFields = 9;             // "=", interface, protocol, name, type, domain, host, address, port

std::optional<NetworkResource> scriptedRoot;

// A name in the browse's parsable output: "\." and "\\" stand for the character, "\DDD" for the
// byte of that decimal value; the bytes are UTF-8.
QString Unescaped(const QByteArray& field) {
  QByteArray bytes;
  for (qsizetype i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 >= field.size()) {
      bytes += field[i];
    } else if (i + 3 < field.size() && std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                                                   [](char c) { return c >= '0' && c <= '9'; })) {
      bytes += static_cast<char>(field.mid(i + 1, 3).toInt() & 0xFF);
      i += 3;
    } else {
      bytes += field[++i];
    }
  }
  return QString::fromUtf8(bytes);
}

NetworkResource& EntryNamed(std::vector<NetworkResource>& entries, const QString& remoteName, bool container) {
  auto found = std::find_if(entries.begin(), entries.end(), [&](const NetworkResource& entry) {
    return entry.remoteName.compare(remoteName, Qt::CaseInsensitive) == 0;
  });
  if (found != entries.end()) return *found;
  return entries.emplace_back(NetworkResource{remoteName, container, {}});
}

// "shack.local" in domain "local" is the computer "shack".
QString ComputerName(const QString& host, const QString& domain) {
  const QString suffix = QLatin1Char('.') + domain;
  if (host.size() > suffix.size() && host.endsWith(suffix, Qt::CaseInsensitive)) return host.chopped(suffix.size());
  return host;
}

}  // namespace

NetworkResource NeighbourhoodFromBrowse(const QByteArray& output) {
  NetworkResource root{QString(), true, {}};
  QList<QByteArray> lines = output.left(MaxBrowseOutput).split('\n');
  lines.removeLast();  // what follows the last line break is no whole line
  for (const QByteArray& line : lines) {
    const QList<QByteArray> fields = line.split(';');
    if (fields.size() < ResolvedFields || fields[0] != "=") continue;
    const QString domain = Unescaped(fields[5]);
    const QString host = ComputerName(QString::fromUtf8(fields[6]), domain);
    if (domain.isEmpty() || host.isEmpty()) continue;
    NetworkResource& pc =
        EntryNamed(EntryNamed(root.entries, domain, true).entries, QStringLiteral("\\\\") + host, true);
    EntryNamed(pc.entries, pc.remoteName + QLatin1Char('\\') + Unescaped(fields[3]), false);
  }
  return root;
}

NetworkResource NetworkNeighbourhood() {
  if (scriptedRoot) return *scriptedRoot;
  const QDeadlineTimer deadline(BrowseBound);
  QProcess browse;
  browse.setStandardErrorFile(QProcess::nullDevice());
  browse.start(QStringLiteral("avahi-browse"), {QStringLiteral("--all"), QStringLiteral("--terminate"),
                                                QStringLiteral("--resolve"), QStringLiteral("--parsable")});
  if (!browse.waitForStarted(static_cast<int>(deadline.remainingTime()))) return NetworkResource{QString(), true, {}};
  if (!browse.waitForFinished(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
    browse.kill();
    browse.waitForFinished();
  }
  return NeighbourhoodFromBrowse(browse.readAllStandardOutput());
}

ScriptedNetworkNeighbourhood::ScriptedNetworkNeighbourhood(NetworkResource root) { scriptedRoot = std::move(root); }

ScriptedNetworkNeighbourhood::~ScriptedNetworkNeighbourhood() { scriptedRoot.reset(); }

}  // namespace platform
