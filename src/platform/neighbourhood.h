#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace platform {

// One entry of the network neighbourhood. A container can be opened for the entries inside it:
// the network's root holds the domains (or workgroups), a domain its computers, a computer its
// shared resources. Remote names are written as a walk reads them: a computer "\\name", a
// resource on it "\\name\resource", a domain its bare name.
struct NetworkResource {
  QString remoteName;
  bool container = false;
  std::vector<NetworkResource> entries;
};

// The network's root. On Linux it is what a DNS-SD (mDNS) browse of the local network finds:
// every host that announces a service is a computer of its domain ("local"), each of its services
// a resource on it. The browse is `avahi-browse` (Debian package avahi-utils), run for at most a
// few seconds; without it, or without its daemon, the root is empty.
NetworkResource NetworkNeighbourhood();

// The root as the parsable output of `avahi-browse --all --terminate --resolve --parsable`
// describes it: resolved entries only, each host and service once, in the order first seen.
NetworkResource NeighbourhoodFromBrowse(const QByteArray& output);

// Test seam: while one of these lives, NetworkNeighbourhood is the given tree and runs nothing.
class ScriptedNetworkNeighbourhood {
 public:
  explicit ScriptedNetworkNeighbourhood(NetworkResource root);
  ~ScriptedNetworkNeighbourhood();
  ScriptedNetworkNeighbourhood(const ScriptedNetworkNeighbourhood&) = delete;
  ScriptedNetworkNeighbourhood& operator=(const ScriptedNetworkNeighbourhood&) = delete;
};

}  // namespace platform
