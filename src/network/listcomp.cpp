#include "network/listcomp.h"

#include "network/globals.h"

#include <algorithm>

namespace network {

namespace {

constexpr qsizetype NameBufferLength = 255;

// "\\name" with no further backslash names a computer; "\\name\share" is a resource on one.
bool NamesComputer(const QString& remoteName) {
  return remoteName.startsWith(QLatin1String("\\\\")) && remoteName.indexOf(QLatin1Char('\\'), 2) < 0;
}

}  // namespace

void EnumerateNetworkPCs(std::vector<QString>& pcs) {
  pcs.assign(1, QString());
  PCCount = 0;
  EnumerateContainer(platform::NetworkNeighbourhood(), pcs);
}

// A computer's own entries are walked too: its shares hold a further backslash and stay out.
void EnumerateContainer(const platform::NetworkResource& container, std::vector<QString>& pcs) {
  if (!container.container) return;  // only a container opens
  for (const platform::NetworkResource& entry : container.entries) {
    const QString name = PointerToString(entry.remoteName);
    if (NamesComputer(name)) {
      pcs.push_back(name.mid(2));
      PCCount += 1;
      if (PCCount > MaxListedPCs) return;
    }
    EnumerateContainer(entry, pcs);
  }
}

QString PointerToString(const QString& stored) {
  const qsizetype zero = stored.indexOf(QChar(0));
  return stored.left(zero < 0 ? NameBufferLength : std::min(zero, NameBufferLength));
}

}  // namespace network
