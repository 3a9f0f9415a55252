#include "platform/winsock.h"

#include "platform/controlarray.h"
#include "platform/errors.h"
#include "platform/form.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "reservedport.h"
#include "testbound.h"

using namespace platform;

namespace {

constexpr int kWait = peertesting::kBoundMs;  // bound of every wait

// A window with a listening socket array, as a server keeps one, and a client socket. Element 0
// listens on a free port; a request is accepted on a new element unless the test says otherwise.
class SocketForm : public Form {
 public:
  SocketForm() : Form("SocketForm") {
    server.Add(0);
    server.OnConnectionRequest = [this](int index, std::int32_t id) {
      requests.push_back(id);
      requesters.push_back(server[0].RemoteHostIP());
      if (beforeAccept) beforeAccept();
      if (!acceptRequests || index != 0) return;
      const int n = server.UBound() + 1;
      server.Load(n).Accept(id);
    };
    server.OnDataArrival = [this](int index, std::int32_t bytes) {
      arrivals.push_back(bytes);
      QString data;
      server[index].GetData(data);
      received += data;
      if (duringArrival) std::exchange(duringArrival, nullptr)();
    };
    server.OnClose = [this](int index) { closedElements.push_back(index); };
    server.OnError = [this](int, int number, const QString& text) { errors.push_back({number, text}); };
    client.OnConnect = [this] { ++connects; };
    client.OnError = [this](int number, const QString& text) { errors.push_back({number, text}); };
    client.OnDataArrival = [this](std::int32_t) {
      QString data;
      client.GetData(data);
      clientReceived += data;
    };
  }

  int Listen() {
    server[0].SetLocalPort(0);
    server[0].Listen();
    return server[0].LocalPort();
  }

  ControlArray<Winsock> server{this, "server"};
  Winsock client{this, "client"};

  bool acceptRequests = true;
  std::function<void()> beforeAccept;
  std::function<void()> duringArrival;
  std::vector<std::int32_t> requests;
  std::vector<QString> requesters;  // RemoteHostIP of the listening socket during each request
  std::vector<std::int32_t> arrivals;
  std::vector<int> closedElements;
  std::vector<std::pair<int, QString>> errors;
  QString received;
  QString clientReceived;
  int connects = 0;
};

// A peer on the loopback: a plain socket.
std::unique_ptr<QTcpSocket> RawPeer(int port) {
  auto peer = std::make_unique<QTcpSocket>();
  peer->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  EXPECT_TRUE(peer->waitForConnected(kWait));
  return peer;
}

int ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

TEST(Winsock, AcceptedPeerExchangesLatin1TextAndItsCloseIsTheCloseEvent) {
  SocketForm form;
  const int port = form.Listen();
  EXPECT_GT(port, 0) << "port 0 listens on a free port and reads it back";
  EXPECT_EQ(form.server[0].State(), SocketListening);

  auto peer = RawPeer(port);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.server.Exists(1); }, kWait));
  Winsock& accepted = form.server[1];
  EXPECT_EQ(accepted.State(), SocketConnected);
  EXPECT_EQ(accepted.LocalPort(), port);
  EXPECT_EQ(form.server[0].State(), SocketListening) << "element 0 goes on listening";

  peer->write("Gr\xFC\xDF <EOR>");
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.received.size() == 10; }, kWait));
  EXPECT_EQ(form.received, QStringLiteral("Grüß <EOR>"));
  EXPECT_EQ(form.arrivals.front(), 10);

  accepted.SendData(QStringLiteral("Stra\u00DFe \u20AC"));
  QByteArray bytes;
  ASSERT_TRUE(QTest::qWaitFor([&] {
    bytes += peer->readAll();
    return bytes.size() >= 8;
  }, kWait));
  EXPECT_EQ(bytes, QByteArray("Stra\xDF" "e ?")) << "one byte a character; none beyond Latin-1";

  peer->disconnectFromHost();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.closedElements.empty(); }, kWait));
  EXPECT_EQ(form.closedElements, std::vector<int>{1});
  EXPECT_EQ(accepted.State(), SocketClosing);
  accepted.Close();
  EXPECT_EQ(accepted.State(), SocketClosed);
}

TEST(Winsock, ARequestTheHandlerDoesNotAcceptIsClosedAtOnce) {
  SocketForm form;
  form.acceptRequests = false;
  auto peer = RawPeer(form.Listen());
  ASSERT_TRUE(QTest::qWaitFor([&] { return peer->state() == QAbstractSocket::UnconnectedState; }, kWait));
  EXPECT_EQ(form.requests.size(), 1u);
  EXPECT_FALSE(form.server.Exists(1));
  EXPECT_EQ(ErrorOf([&] { form.server.Load(1).Accept(form.requests.front()); }), 10022) << "no longer pending";
}

TEST(Winsock, WhatCameWhileTheRequestWaitedArrivesAfterTheAccept) {
  SocketForm form;
  std::unique_ptr<QTcpSocket> peer;
  form.beforeAccept = [&] {
    ASSERT_TRUE(peer->waitForConnected(kWait));
    peer->write("<Array:0>");
    ASSERT_TRUE(peer->waitForBytesWritten(kWait));
    peer->disconnectFromHost();
    QTest::qWait(50);  // the bytes and the close most likely reach this side before the accept
  };
  const int port = form.Listen();
  peer = std::make_unique<QTcpSocket>();
  peer->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.closedElements.empty(); }, kWait));
  EXPECT_EQ(form.received, "<Array:0>") << "the data comes before the close";
}

TEST(Winsock, BytesComingWhileTheArrivalHandlerRunsAreAnnouncedAfterIt) {
  SocketForm form;
  auto peer = RawPeer(form.Listen());
  form.duringArrival = [&] {
    peer->write("second");
    peer->flush();
    QTest::qWait(50);  // they most likely reach this side while the handler still runs
  };
  peer->write("first ");
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.received == "first second"; }, kWait)) << form.received.toStdString();
}

TEST(Winsock, AClientConnectsToAListeningSocketAndTalksBothWays) {
  SocketForm form;
  const int port = form.Listen();
  form.client.Connect(QStringLiteral("localhost"), port);
  EXPECT_TRUE(form.client.State() == SocketResolvingHost || form.client.State() == SocketConnecting);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.connects == 1 && form.server.Exists(1); }, kWait));
  EXPECT_EQ(form.client.State(), SocketConnected);
  EXPECT_EQ(form.client.RemotePort(), port);

  form.client.SendData("<Array:0> <EOR>");
  form.server[1].SendData("<Array:1> <EOR>");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.received.isEmpty() && !form.clientReceived.isEmpty(); }, kWait));
  EXPECT_EQ(form.received, "<Array:0> <EOR>");
  EXPECT_EQ(form.clientReceived, "<Array:1> <EOR>");

  form.client.Close();
  EXPECT_EQ(form.client.State(), SocketClosed);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.closedElements.empty(); }, kWait)) << "the peer sees the close";
}

TEST(Winsock, ARefusedConnectionIsTheErrorEvent) {
  const peertesting::ReservedPort reserved;  // bound and never listened on: it refuses
  const int port = reserved.Port();
  SocketForm form;
  form.client.Connect(QStringLiteral("127.0.0.1"), port);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.errors.empty(); }, kWait));
  EXPECT_EQ(form.errors.front().first, 10061);
  EXPECT_EQ(form.client.State(), SocketError);
  EXPECT_EQ(form.connects, 0);
  form.client.Close();
  EXPECT_EQ(form.client.State(), SocketClosed);
}

TEST(Winsock, OperationsInTheWrongStateAreRefusedAsTheControlRefusesThem) {
  SocketForm form;
  const int port = form.Listen();
  SocketForm other;
  other.server[0].SetLocalPort(port);
  const struct {
    const char* what;
    std::function<void()> call;
    int number;
  } cases[] = {
      {"listening twice", [&] { form.server[0].Listen(); }, 40020},
      {"connecting a listening socket", [&] { form.server[0].Connect("127.0.0.1", port); }, 40020},
      {"sending on a closed socket", [&] { form.client.SendData("x"); }, 40006},
      {"sending on a listening socket", [&] { form.server[0].SendData("x"); }, 40006},
      {"accepting a request nobody made", [&] { form.client.Accept(999999); }, 10022},
      {"a port in use", [&] { other.server[0].Listen(); }, 10048},
      {"a port beyond 65535", [&] { form.client.SetRemotePort(65536); }, 380},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ErrorOf(c.call), c.number);
  }
  EXPECT_EQ(other.server[0].State(), SocketClosed);
}

TEST(Winsock, ASocketUnloadedOrOfAnUnloadedWindowIsClosed) {
  SocketForm form;
  const int port = form.Listen();
  auto peer = RawPeer(port);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.server.Exists(1); }, kWait));
  form.server.Unload(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return peer->state() == QAbstractSocket::UnconnectedState; }, kWait));
  EXPECT_TRUE(form.closedElements.empty()) << "an unloaded element raises no more events";

  form.Load();
  form.Unload();
  QTcpSocket late;
  late.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  EXPECT_FALSE(late.waitForConnected(kWait)) << "the window's listening socket went with it";
}

// The program's own client is known while it may still be connecting: its listener often hears
// of the request first.
TEST(Winsock, AListenerTellsWhoAsksAndKnowsARequestOfTheProgramsOwnClient) {
  SocketForm form;
  std::vector<bool> fromClient;
  form.beforeAccept = [&] { fromClient.push_back(form.server[0].IsRequestFrom(form.requests.back(), form.client)); };
  const int port = form.Listen();
  auto peer = RawPeer(port);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.server.Exists(1); }, kWait));
  EXPECT_EQ(form.server[1].RemoteHostIP(), "127.0.0.1") << "an IPv4 peer shows as IPv4 on a listener of both kinds";
  {
    PeerAddressForTesting from("203.0.113.9");
    auto distant = RawPeer(port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.server.Exists(2); }, kWait));
    form.client.Connect("127.0.0.1", port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.server.Exists(3) && form.connects == 1; }, kWait));
  }
  auto another = RawPeer(port);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.server.Exists(4); }, kWait));
  EXPECT_EQ(form.requesters, (std::vector<QString>{"127.0.0.1", "203.0.113.9", "203.0.113.9", "127.0.0.1"}));
  EXPECT_EQ(fromClient, (std::vector<bool>{false, false, true, false}))
      << "whatever address the request shows, and another peer on this PC while the client is connected";
  EXPECT_FALSE(form.server[3].IsRequestFrom(form.requests[2], form.client)) << "no listener, no longer pending";
}

// The peer takes nothing: what waits for it is capped, and only what waits.
TEST(Winsock, AConnectionWithMoreThanItsQueueWaitingIsCutAndTheErrorFollows) {
  SocketForm form;
  auto peer = RawPeer(form.Listen());
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.server.Exists(1); }, kWait));
  Winsock& accepted = form.server[1];
  const QString block(64 * 1024, QLatin1Char('x'));

  // A peer that reads keeps its connection however much goes to it.
  qint64 read = 0;
  for (int i = 0; i < 64; ++i) {
    accepted.SendData(block);
    ASSERT_TRUE(QTest::qWaitFor([&] {
      read += peer->readAll().size();
      return read == (i + 1) * block.size();
    }, kWait));
  }
  EXPECT_EQ(accepted.State(), SocketConnected);

  qint64 sent = 0;
  while (accepted.State() == SocketConnected && sent < 256 * Winsock::MaxQueuedBytes) {
    accepted.SendData(block);
    sent += block.size();
  }
  EXPECT_EQ(accepted.State(), SocketError);
  EXPECT_GT(sent, Winsock::MaxQueuedBytes);
  EXPECT_TRUE(form.errors.empty()) << "the event comes from the event loop";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.errors.empty(); }, kWait));
  EXPECT_EQ(form.errors.front(), (std::pair<int, QString>{10055, "No buffer space is available"}));
  EXPECT_EQ(ErrorOf([&] { accepted.SendData("x"); }), 40006);
  ASSERT_TRUE(QTest::qWaitFor([&] {
    peer->readAll();
    return peer->state() == QAbstractSocket::UnconnectedState;
  }, kWait)) << "the peer is cut off";
}

// What the peer sends waits in the connection until the program takes it, a piece at a time.
TEST(Winsock, APeerThatSendsFasterThanTheProgramTakesIsHeldBackByTheConnection) {
  SocketForm form;
  auto peer = RawPeer(form.Listen());
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.server.Exists(1); }, kWait));
  const QByteArray flood(8 * 1024 * 1024, 'x');
  peer->write(flood);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.received.size() == flood.size(); }, kWait));
  EXPECT_LE(*std::max_element(form.arrivals.begin(), form.arrivals.end()), Winsock::MaxReceivedBytes);
}

TEST(StationSettings, OnlyTheLanAndTheAddressesNamedMayJoinTheStation) {
  const QByteArray saved = qgetenv("CORVANE_STATION_ALLOW");
  const struct {
    const char* address;
    bool allowed;                // without CORVANE_STATION_ALLOW
    bool allowedWhenNamed;       // with the setting below
  } cases[] = {
      {"127.0.0.1", true, true},        {"127.8.9.10", true, true},     {"::1", true, true},
      {"10.1.2.3", true, true},         {"172.16.0.1", true, true},     {"172.31.255.254", true, true},
      {"192.168.1.5", true, true},      {"169.254.3.4", true, true},    {"fd12:3456::1", true, true},
      {"fe80::1", true, true},          {"fe80::1%lo", true, true},     {"::ffff:192.168.1.5", true, true},
      {"::ffff:127.0.0.1", true, true}, {"172.32.0.1", false, false},   {"100.64.0.1", false, false},
      {"8.8.8.8", false, false},        {"::ffff:8.8.8.8", false, false}, {"2001:db8::1", false, true},
      {"203.0.113.7", false, true},     {"203.0.113.8", false, false},  {"198.51.100.99", false, true},
      {"::ffff:198.51.100.1", false, true}, {"", false, false},          {"Tent2", false, false},
  };
  qunsetenv("CORVANE_STATION_ALLOW");
  for (const auto& c : cases) EXPECT_EQ(StationPeerAllowed(c.address), c.allowed) << c.address;
  qputenv("CORVANE_STATION_ALLOW", "203.0.113.7, 198.51.100.0/24  2001:db8::/32,no-such-net");
  for (const auto& c : cases) EXPECT_EQ(StationPeerAllowed(c.address), c.allowedWhenNamed) << c.address << " named";
  qputenv("CORVANE_STATION_ALLOW", saved);
  if (saved.isNull()) qunsetenv("CORVANE_STATION_ALLOW");
}

// What QHostAddress alone reads as a subnet ("203" as 203.0.0.0/8, "/0" as everything, "203.0.113.5/0"
// as everything too) would let in more than the entry's writer meant: an entry is a whole address,
// alone or as its network's own address with a prefix length.
TEST(StationSettings, AnAllowEntryIsAWholeAddressAloneOrWithAPrefixLength) {
  const QByteArray saved = qgetenv("CORVANE_STATION_ALLOW");
  const QStringList probes = {"203.0.113.5", "203.0.113.6", "198.51.100.1", "2001:db8::5"};
  const struct {
    const char* entry;
    const char* admitted;  // of the probes; a malformed entry admits none
    bool wellFormed;
  } cases[] = {
      {"203.0.113.5", "203.0.113.5", true},
      {"203.0.113.5/32", "203.0.113.5", true},
      {"203.0.113.0/24", "203.0.113.5 203.0.113.6", true},
      {"203.0.113.4/30", "203.0.113.5 203.0.113.6", true},
      {"203.0.113.6/31", "203.0.113.6", true},
      {"0.0.0.0/0", "203.0.113.5 203.0.113.6 198.51.100.1", true},
      {"2001:db8::5", "2001:db8::5", true},
      {"2001:DB8::/32", "2001:db8::5", true},
      {"2001:db8::4/126", "2001:db8::5", true},
      {"::/0", "2001:db8::5", true},
      // An IPv4 address or subnet written in IPv6 is the IPv4 one it maps.
      {"::ffff:203.0.113.5", "203.0.113.5", true},
      {"::FFFF:cb00:7106", "203.0.113.6", true},
      {"::ffff:203.0.113.0/120", "203.0.113.5 203.0.113.6", true},
      {"::ffff:0.0.0.0/96", "203.0.113.5 203.0.113.6 198.51.100.1", true},
      {"::ffff:0.0.0.0/90", "", false},
      // Bits set past the prefix length: the entry says more than it means.
      {"203.0.113.77/24", "", false},
      {"203.0.113.5/0", "", false},
      {"203.0.113.5/8", "", false},
      {"203.0.113.5/31", "", false},
      {"2001:db8::5/64", "", false},
      {"2001:db8::1/0", "", false},
      {"::ffff:203.0.113.5/120", "", false},
      // Entries no peer can match: the unspecified address alone, the IPv4-compatible form.
      {"0.0.0.0", "", false},
      {"::", "", false},
      {"::203.0.113.5", "", false},
      {"::cb00:7100/120", "", false},
      {"::1", "", true},
      {"/0", "", false},
      {"/16", "", false},
      {"/24", "", false},
      {"203", "", false},
      {"198.51", "", false},
      {"10.1", "", false},
      {"203.0.113", "", false},
      {"203.0.113.05", "", false},
      {"0xcb.0.113.5", "", false},
      {"203.0.113.256", "", false},
      {"203.0.113.5/33", "", false},
      {"203.0.113.0/", "", false},
      {"203.0.113.0/+24", "", false},
      {"203.0.113.0/24/8", "", false},
      {"203.0.113.0/255.255.255.0", "", false},
      {"2001:db8::/129", "", false},
      {"2001:db8::/x", "", false},
      {"::ffff:203.0.113", "", false},
      {"shack.example", "", false},
  };
  for (const auto& c : cases) {
    qputenv("CORVANE_STATION_ALLOW", c.entry);
    QStringList admitted;
    for (const QString& probe : probes) {
      if (StationPeerAllowed(probe)) admitted << probe;
    }
    EXPECT_EQ(admitted.join(' ').toStdString(), c.admitted) << c.entry;
    EXPECT_EQ(MalformedStationAllowEntries().join(' ').toStdString(), c.wellFormed ? "" : c.entry);
  }
  qputenv("CORVANE_STATION_ALLOW", "203, 198.51.100.0/24 /0");
  EXPECT_EQ(MalformedStationAllowEntries().join(' ').toStdString(), "203 /0");
  EXPECT_TRUE(StationPeerAllowed("198.51.100.1")) << "the well-formed entries still count";
  EXPECT_FALSE(StationPeerAllowed("203.0.113.5"));
  qputenv("CORVANE_STATION_ALLOW", saved);
  if (saved.isNull()) qunsetenv("CORVANE_STATION_ALLOW");
}

TEST(StationSettings, PortAndHostNameComeFromTheEnvironment) {
  const QByteArray savedPort = qgetenv("CORVANE_STATION_PORT");
  const QByteArray savedHost = qgetenv("CORVANE_HOST_NAME");
  qunsetenv("CORVANE_STATION_PORT");
  qunsetenv("CORVANE_HOST_NAME");
  EXPECT_EQ(StationPort(), 1001);
  EXPECT_FALSE(LocalHostName().isEmpty());
  qputenv("CORVANE_STATION_PORT", "4711");
  qputenv("CORVANE_HOST_NAME", "Tent2");
  EXPECT_EQ(StationPort(), 4711);
  EXPECT_EQ(LocalHostName(), "Tent2");
  SocketForm form;
  EXPECT_EQ(form.client.LocalHostName(), "Tent2");
  qputenv("CORVANE_STATION_PORT", "port");
  EXPECT_EQ(StationPort(), 1001) << "not a number";
  qputenv("CORVANE_STATION_PORT", "70000");
  EXPECT_EQ(StationPort(), 1001) << "no port";
  qputenv("CORVANE_STATION_PORT", savedPort);
  qputenv("CORVANE_HOST_NAME", savedHost);
  if (savedPort.isNull()) qunsetenv("CORVANE_STATION_PORT");
  if (savedHost.isNull()) qunsetenv("CORVANE_HOST_NAME");
}

}  // namespace
