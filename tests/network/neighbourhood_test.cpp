// The network neighbourhood on Linux: what a DNS-SD browse reports, as a tree of domains,
// computers and their services, and the browse program run with a bound.

#include "platform/neighbourhood.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "networktesting.h"

namespace {

using platform::NetworkResource;

// Every entry below the root, one line each: its remote name, indented by depth, "+" for a container.
QStringList Flattened(const NetworkResource& container, const QString& indent = {}) {
  QStringList lines;
  for (const NetworkResource& entry : container.entries) {
    lines << indent + entry.remoteName + (entry.container ? "+" : "");
    lines += Flattened(entry, indent + "  ");
  }
  return lines;
}

// What `avahi-browse --all --terminate --resolve --parsable` prints on a small LAN: a host on two
// interfaces and both protocols, escaped service names, a TXT record with a ";", an entry not
// resolved yet, and a line cut off at the end.
const QByteArray kBrowse =
    "+;eth0;IPv4;shack;_workstation._tcp;local\n"
    "=;eth0;IPv4;shack\\032\\091aa\\058bb\\093;_workstation._tcp;local;shack.local;192.168.1.10;9;\n"
    "=;eth0;IPv6;shack\\032\\091aa\\058bb\\093;_workstation._tcp;local;shack.local;fe80::1;9;\n"
    "=;wlan0;IPv4;Log\\032files;_smb._tcp;local;SHACK.local;192.168.1.10;445;\n"
    "=;eth0;IPv4;Tent2;_workstation._tcp;local;tent2.local;192.168.1.11;9;\n"
    "=;eth0;IPv4;Printer\\046upstairs;_ipp._tcp;local;printer.local;192.168.1.12;631;\"note=a;b\" \"txtvers=1\"\n"
    "=;eth0;IPv4;far;_ssh._tcp;example.org;far.example.org;203.0.113.9;22;\n"
    "=;eth0;IPv4;short;_ssh._tcp;local\n"
    "=;eth0;IPv4;cut;_ssh._tcp;local;cut.local;192.168";

const QStringList kTree = {
    "local+",
    "  \\\\shack+",
    "    \\\\shack\\shack [aa:bb]",
    "    \\\\shack\\Log files",
    "  \\\\tent2+",
    "    \\\\tent2\\Tent2",
    "  \\\\printer+",
    "    \\\\printer\\Printer.upstairs",
    "example.org+",
    "  \\\\far+",
    "    \\\\far\\far",
};

TEST(NetworkNeighbourhood, ABrowseGivesDomainsTheirComputersAndTheirServicesOnceEach) {
  const NetworkResource root = platform::NeighbourhoodFromBrowse(kBrowse);
  EXPECT_TRUE(root.container);
  EXPECT_EQ(Flattened(root), kTree);
  EXPECT_TRUE(platform::NeighbourhoodFromBrowse("Failed to create client object: Daemon not running\n").entries.empty());
}

// The browse program found on PATH: a script of the test's own in its place.
class BrowseProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    environment.Set("PATH", QFile::encodeName(folder.path()));
  }
  void Install(const QByteArray& script) {
    QFile program(QDir(folder.path()).filePath("avahi-browse"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\n" + script);
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  QTemporaryDir folder;
  ScopedEnvironment environment;
};

TEST_F(BrowseProgram, ItsOutputIsTheTreeAndWithoutItTheNetworkIsEmpty) {
  EXPECT_TRUE(platform::NetworkNeighbourhood().entries.empty()) << "no browse program";

  QFile reported(QDir(folder.path()).filePath("reported"));
  ASSERT_TRUE(reported.open(QIODevice::WriteOnly));
  reported.write(kBrowse);
  reported.close();
  Install("[ \"$*\" = '--all --terminate --resolve --parsable' ] || exit 2\nexec /bin/cat '" +
          QFile::encodeName(reported.fileName()) + "'\n");
  EXPECT_EQ(Flattened(platform::NetworkNeighbourhood()), kTree);
}

// A browse that never ends is stopped; what it reported by then counts.
TEST_F(BrowseProgram, ABrowseThatHangsIsStoppedAndWhatItFoundCounts) {
  Install("printf '=;eth0;IPv4;Tent2;_workstation._tcp;local;tent2.local;192.168.1.11;9;\\n'\nexec /bin/sleep 60\n");
  EXPECT_EQ(Flattened(platform::NetworkNeighbourhood()), QStringList({"local+", "  \\\\tent2+", "    \\\\tent2\\Tent2"}));
}

}  // namespace
