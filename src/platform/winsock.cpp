#include "platform/winsock.h"

#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/form.h"
#include "platform/trace.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtEndian>

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <map>
#include <optional>

namespace platform {

namespace {

constexpr int DefaultStationPort = 1001;
constexpr int HighestPort = 65535;

// Connections waiting for Accept, by request identifier, across every listening control.
struct PendingRequests {
  std::int32_t next = 1;
  std::map<std::int32_t, QPointer<QTcpSocket>> sockets;
};

PendingRequests& Requests() {
  static PendingRequests requests;
  return requests;
}

std::int32_t AddRequest(QTcpSocket* socket) {
  PendingRequests& requests = Requests();
  const std::int32_t id = requests.next;
  requests.next = id == std::numeric_limits<std::int32_t>::max() ? 1 : id + 1;
  requests.sockets[id] = socket;
  return id;
}

// The pending socket of a request, out of the registry; null when it is gone or unknown.
QTcpSocket* TakeRequest(std::int32_t id) {
  auto found = Requests().sockets.find(id);
  if (found == Requests().sockets.end()) return nullptr;
  QTcpSocket* socket = found->second.data();
  Requests().sockets.erase(found);
  return socket;
}

// Lets a socket go: no more events, what was written still goes out, then it is deleted.
void Discard(QTcpSocket* socket) {
  socket->disconnect();
  QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
  socket->disconnectFromHost();
  if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
}

struct SocketFailure {
  int number;
  const char* description;
};

// The control's numbers and texts for what Qt reports.
SocketFailure FailureOf(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
      return {10061, "Connection is forcefully rejected"};
    case QAbstractSocket::HostNotFoundError:
      return {11001, "Authoritative answer: Host not found"};
    case QAbstractSocket::SocketAccessError:
      return {10013, "Permission denied"};
    case QAbstractSocket::SocketTimeoutError:
      return {10060, "Connection timed out"};
    case QAbstractSocket::AddressInUseError:
      return {10048, "Address in use"};
    case QAbstractSocket::SocketAddressNotAvailableError:
      return {10049, "Address not available from the local machine"};
    case QAbstractSocket::SocketResourceError:
      return {10055, "No buffer space is available"};
    case QAbstractSocket::NetworkError:
      return {10051, "The network cannot be reached from this host at this time"};
    default:
      return {10053, "Connection is aborted due to timeout or other failure"};
  }
}

// An IPv4 address mapped into IPv6 (a dual-stack listener's view of an IPv4 peer) as IPv4.
QHostAddress Unmapped(const QHostAddress& address) {
  bool isIpv4 = false;
  const quint32 ipv4 = address.toIPv4Address(&isIpv4);
  return isIpv4 ? QHostAddress(ipv4) : address;
}

bool IsLanAddress(const QHostAddress& address) {
  static const std::array<std::pair<QHostAddress, int>, 8> lan = {{
      QHostAddress::parseSubnet(QStringLiteral("127.0.0.0/8")),
      QHostAddress::parseSubnet(QStringLiteral("10.0.0.0/8")),
      QHostAddress::parseSubnet(QStringLiteral("172.16.0.0/12")),
      QHostAddress::parseSubnet(QStringLiteral("192.168.0.0/16")),
      QHostAddress::parseSubnet(QStringLiteral("169.254.0.0/16")),
      QHostAddress::parseSubnet(QStringLiteral("::1/128")),
      QHostAddress::parseSubnet(QStringLiteral("fc00::/7")),
      QHostAddress::parseSubnet(QStringLiteral("fe80::/10")),
  }};
  return std::any_of(lan.begin(), lan.end(), [&](const auto& net) { return address.isInSubnet(net); });
}

using Subnet = std::pair<QHostAddress, int>;

// Four decimal numbers without leading zeros (QHostAddress refuses those above 255): QHostAddress
// alone also reads "203" as 0.0.0.203, "10.1" as 10.0.0.1 and "010.1.2.3" as octal.
bool IsDottedQuad(const QString& text) {
  static const QRegularExpression dottedQuad(
      QRegularExpression::anchoredPattern(QStringLiteral("(0|[1-9][0-9]{0,2})(\\.(0|[1-9][0-9]{0,2})){3}")));
  return dottedQuad.match(text).hasMatch();
}

std::optional<QHostAddress> WholeAddress(const QString& text) {
  const QHostAddress address(text);
  if (address.protocol() == QAbstractSocket::IPv4Protocol && IsDottedQuad(text)) return address;
  if (address.protocol() == QAbstractSocket::IPv6Protocol) return address;  // Qt reads IPv6 strictly
  return std::nullopt;
}

// An entry as written: a whole address, alone or "/" and its prefix length.
std::optional<Subnet> WrittenSubnet(const QString& entry) {
  const QStringList parts = entry.split(QLatin1Char('/'));
  if (parts.size() > 2) return std::nullopt;
  const std::optional<QHostAddress> address = WholeAddress(parts[0]);
  if (!address) return std::nullopt;
  const int longest = address->protocol() == QAbstractSocket::IPv4Protocol ? 32 : 128;
  if (parts.size() == 1) return Subnet{*address, longest};
  static const QRegularExpression prefixLength(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,3}")));
  if (!prefixLength.match(parts[1]).hasMatch() || parts[1].toInt() > longest) return std::nullopt;
  return Subnet{*address, parts[1].toInt()};
}

// "::ffff:203.0.113.5", an IPv4 address written in IPv6. Not "::", which QHostAddress also reads as IPv4.
bool IsIpv4Mapped(const QHostAddress& address) {
  if (address.protocol() != QAbstractSocket::IPv6Protocol) return false;
  constexpr std::array<quint8, 12> mappedPrefix = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
  const Q_IPV6ADDR bytes = address.toIPv6Address();
  return std::equal(mappedPrefix.begin(), mappedPrefix.end(), bytes.c);
}

// Peers are compared as IPv4, so an IPv4 subnet written in IPv6 is read as the IPv4 subnet it
// maps ("::ffff:203.0.113.0/120" as 203.0.113.0/24); one shorter than the mapping's 96 bits maps none.
std::optional<Subnet> AsIpv4WhereMapped(const Subnet& net) {
  constexpr int mappingLength = 96;
  if (!IsIpv4Mapped(net.first)) return net;
  if (net.second < mappingLength) return std::nullopt;
  return Subnet{QHostAddress(net.first.toIPv4Address()), net.second - mappingLength};
}

// The address's bytes, the most significant first.
QByteArray AddressBytes(const QHostAddress& address) {
  if (address.protocol() == QAbstractSocket::IPv4Protocol) {
    const quint32 ipv4 = qToBigEndian(address.toIPv4Address());
    return QByteArray(reinterpret_cast<const char*>(&ipv4), sizeof ipv4);
  }
  const Q_IPV6ADDR ipv6 = address.toIPv6Address();
  return QByteArray(reinterpret_cast<const char*>(ipv6.c), sizeof ipv6.c);
}

// Whether the subnet is written with its network's own address: "203.0.113.5/24" has bits set past
// its prefix length, and whether its writer meant 203.0.113.0/24 or the one PC cannot be told.
bool IsNetworkAddress(const Subnet& net) {
  const QByteArray bytes = AddressBytes(net.first);
  for (int i = 0; i < static_cast<int>(bytes.size()); ++i) {
    const int networkBits = std::clamp(net.second - 8 * i, 0, 8);
    const auto hostBits = static_cast<quint8>(0xFFu >> networkBits);
    if ((static_cast<quint8>(bytes[i]) & hostBits) != 0) return false;
  }
  return true;
}

// An entry that no peer can match, though its writer meant some: the unspecified address alone
// ("0.0.0.0", perhaps meant as every address, which is 0.0.0.0/0; "::"), and an IPv4 address in
// the IPv4-compatible IPv6 form ("::203.0.113.5") that no system uses any more.
bool MatchesNoPeer(const Subnet& net) {
  constexpr int ipv4InIpv6 = 96;
  if (net.first.protocol() == QAbstractSocket::IPv4Protocol) return net.first.toIPv4Address() == 0 && net.second == 32;
  const QByteArray bytes = AddressBytes(net.first);
  const bool ipv4Compatible = std::all_of(bytes.begin(), bytes.begin() + 12, [](char byte) { return byte == 0; });
  return ipv4Compatible && net.second >= ipv4InIpv6 && !(net.first.isLoopback() && net.second == 128);
}

// An entry of CORVANE_STATION_ALLOW as the subnet it admits; none when it would admit more or
// other addresses than its writer meant.
std::optional<Subnet> AllowedSubnet(const QString& entry) {
  const std::optional<Subnet> written = WrittenSubnet(entry);
  if (!written) return std::nullopt;
  const std::optional<Subnet> net = AsIpv4WhereMapped(*written);
  if (!net || !IsNetworkAddress(*net) || MatchesNoPeer(*net)) return std::nullopt;
  return net;
}

QStringList StationAllowEntries() {
  static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
  return Environ(QStringLiteral("CORVANE_STATION_ALLOW")).split(separators, Qt::SkipEmptyParts);
}

bool NamedInStationAllow(const QHostAddress& address) {
  const QStringList entries = StationAllowEntries();
  return std::any_of(entries.begin(), entries.end(), [&](const QString& entry) {
    const std::optional<Subnet> net = AllowedSubnet(entry);
    return net && (Unmapped(address).isInSubnet(*net) || address.isInSubnet(*net));
  });
}

std::optional<QString>& ScriptedPeerAddress() {
  static std::optional<QString> address;
  return address;
}

// What RemoteHostIP shows of a peer.
QString PeerAddressText(const QTcpSocket& socket) {
  if (ScriptedPeerAddress()) return *ScriptedPeerAddress();
  return Unmapped(socket.peerAddress()).toString();
}

struct End {
  QHostAddress address;
  quint16 port = 0;
};

struct Link {
  End nearEnd;
  End farEnd;
};

std::optional<End> EndOf(const sockaddr_storage& name) {
  const QHostAddress address(reinterpret_cast<const sockaddr*>(&name));
  if (name.ss_family == AF_INET) {
    sockaddr_in ipv4{};
    std::memcpy(&ipv4, &name, sizeof ipv4);
    return End{address, ntohs(ipv4.sin_port)};
  }
  if (name.ss_family == AF_INET6) {
    sockaddr_in6 ipv6{};
    std::memcpy(&ipv6, &name, sizeof ipv6);
    return End{address, ntohs(ipv6.sin6_port)};
  }
  return std::nullopt;
}

// Both ends of a connection as the system has them. Qt learns them only once it has seen the
// connection made, which on this PC may be after its listener has seen the request.
std::optional<Link> LinkOf(const QTcpSocket& socket) {
  const auto descriptor = static_cast<int>(socket.socketDescriptor());
  if (descriptor < 0) return std::nullopt;
  sockaddr_storage nearName{};
  sockaddr_storage farName{};
  socklen_t nearLength = sizeof nearName;
  socklen_t farLength = sizeof farName;
  if (::getsockname(descriptor, reinterpret_cast<sockaddr*>(&nearName), &nearLength) != 0 ||
      ::getpeername(descriptor, reinterpret_cast<sockaddr*>(&farName), &farLength) != 0) {
    return std::nullopt;
  }
  const std::optional<End> nearEnd = EndOf(nearName);
  const std::optional<End> farEnd = EndOf(farName);
  if (!nearEnd || !farEnd) return std::nullopt;
  return Link{*nearEnd, *farEnd};
}

bool SameEnd(const End& a, const End& b) {
  return a.port == b.port && a.address.isEqual(b.address, QHostAddress::TolerantConversion);
}

[[noreturn]] void Fail(const SocketFailure& failure) {
  throw RuntimeError(QString::fromLatin1(failure.description), failure.number);
}

void RequirePort(int port) {
  if (port < 0 || port > HighestPort) InvalidPropertyValue();
}

}  // namespace

int WinsockErrorNumber(QAbstractSocket::SocketError error) { return FailureOf(error).number; }

int StationPort() {
  const QString setting = Environ(QStringLiteral("CORVANE_STATION_PORT")).trimmed();
  if (setting.isEmpty()) return DefaultStationPort;
  bool isNumber = false;
  const int port = setting.toInt(&isNumber);
  if (isNumber && port >= 0 && port <= HighestPort) return port;
  qCWarning(lcPlatform) << "CORVANE_STATION_PORT" << setting << "is no port number; the station port is"
                        << DefaultStationPort;
  return DefaultStationPort;
}

QString LocalHostName() {
  const QString name = Environ(QStringLiteral("CORVANE_HOST_NAME"));
  return name.isEmpty() ? QHostInfo::localHostName() : name;
}

bool StationPeerAllowed(const QString& address) {
  const QHostAddress peer(address);
  if (peer.isNull()) return false;
  return IsLanAddress(Unmapped(peer)) || NamedInStationAllow(peer);
}

QStringList MalformedStationAllowEntries() {
  QStringList malformed = StationAllowEntries();
  malformed.removeIf([](const QString& entry) { return AllowedSubnet(entry).has_value(); });
  return malformed;
}

PeerAddressForTesting::PeerAddressForTesting(const QString& address) { ScriptedPeerAddress() = address; }

PeerAddressForTesting::~PeerAddressForTesting() { ScriptedPeerAddress().reset(); }

Winsock::Winsock(Container* parent, const QString& name, int index)
    : Control(ControlKind::Winsock, parent->OwnerForm(), name, index) {}

Winsock::~Winsock() { Close(); }

void Winsock::SetLocalPort(int port) {
  RequirePort(port);
  localPort_ = port;
}

void Winsock::SetRemotePort(int port) {
  RequirePort(port);
  remotePort_ = port;
}

void Winsock::RequireClosed() const {
  if (state_ != SocketClosed) throw RuntimeError(QStringLiteral("Invalid operation at current state"), 40020);
}

void Winsock::Listen() {
  RequireClosed();
  auto* server = new QTcpServer(&owner_);
  if (!server->listen(QHostAddress::Any, static_cast<quint16>(localPort_))) {
    const SocketFailure failure = FailureOf(server->serverError());
    delete server;
    Fail(failure);
  }
  server_ = server;
  localPort_ = server->serverPort();
  state_ = SocketListening;
  QObject::connect(server, &QTcpServer::newConnection, &owner_, [this] { TakeRequests(); });
}

// Each new connection is offered once; the handler may run the event loop, and further requests
// (of this socket, too) are offered meanwhile.
void Winsock::TakeRequests() {
  while (server_ && server_->hasPendingConnections()) {
    QTcpSocket* request = server_->nextPendingConnection();
    request->setReadBufferSize(MaxReceivedBytes);
    remoteHostIP_ = PeerAddressText(*request);
    const std::int32_t id = AddRequest(request);
    Raise(OnConnectionRequest, id);
    if (QTcpSocket* unaccepted = TakeRequest(id)) Discard(unaccepted);
  }
}

void Winsock::Accept(std::int32_t requestID) {
  RequireClosed();
  QTcpSocket* socket = TakeRequest(requestID);
  if (!socket) throw RuntimeError(QStringLiteral("Invalid argument"), 10022);
  Attach(socket);
  state_ = SocketConnected;
  localPort_ = socket->localPort();
  remotePort_ = socket->peerPort();
  remoteHostIP_ = PeerAddressText(*socket);
  // Bytes or a close may have come while the request waited: they were announced to nobody.
  QTimer::singleShot(0, &owner_, [this] { DeliverWhatCameBeforeAccept(); });
}

bool Winsock::IsRequestFrom(std::int32_t requestID, const Winsock& other) const {
  const auto found = Requests().sockets.find(requestID);
  if (!server_ || !other.socket_ || found == Requests().sockets.end() || !found->second) return false;
  const QTcpSocket& request = *found->second;
  if (request.parent() != server_) return false;
  const std::optional<Link> requestLink = LinkOf(request);
  const std::optional<Link> otherLink = LinkOf(*other.socket_);
  return requestLink && otherLink && SameEnd(requestLink->nearEnd, otherLink->farEnd) &&
         SameEnd(requestLink->farEnd, otherLink->nearEnd);
}

void Winsock::DeliverWhatCameBeforeAccept() {
  if (!socket_ || state_ != SocketConnected) return;
  DeliverArrivals();
  if (socket_ && socket_->state() == QAbstractSocket::UnconnectedState) PeerClosed();
}

void Winsock::Connect(const QString& host, int port) {
  SetRemoteHost(host);
  SetRemotePort(port);
  Connect();
}

void Winsock::Connect() {
  RequireClosed();
  auto* socket = new QTcpSocket(&owner_);
  // Bound first, the socket shows its descriptor while it connects, so a listener of this
  // program that it reaches can tell it is its own (IsRequestFrom). Unbound, it connects as well.
  socket->bind();
  Attach(socket);
  state_ = SocketConnecting;
  QObject::connect(socket, &QAbstractSocket::stateChanged, &owner_, [this](QAbstractSocket::SocketState state) {
    if (state == QAbstractSocket::HostLookupState) state_ = SocketResolvingHost;
    if (state == QAbstractSocket::ConnectingState) state_ = SocketConnecting;
  });
  QObject::connect(socket, &QAbstractSocket::connected, &owner_, [this] {
    if (!socket_) return;
    state_ = SocketConnected;
    localPort_ = socket_->localPort();
    remoteHostIP_ = Unmapped(socket_->peerAddress()).toString();
    Raise(OnConnect);
  });
  socket->connectToHost(remoteHost_, static_cast<quint16>(remotePort_));
}

void Winsock::Attach(QTcpSocket* socket) {
  socket->setParent(&owner_);
  socket->setReadBufferSize(MaxReceivedBytes);
  socket_ = socket;
  ++connection_;
  received_.clear();
  QObject::connect(socket, &QIODevice::readyRead, &owner_, [this] { DeliverArrivals(); });
  QObject::connect(socket, &QAbstractSocket::disconnected, &owner_, [this] { PeerClosed(); });
  QObject::connect(socket, &QAbstractSocket::errorOccurred, &owner_,
                   [this](QAbstractSocket::SocketError error) { SocketFailed(error); });
}

// Qt does not announce bytes that come while the announcement's handler runs, so they are
// announced when it returns.
void Winsock::DeliverArrivals() {
  while (socket_ && socket_->bytesAvailable() > 0) {
    received_ += socket_->readAll();
    Raise(OnDataArrival, static_cast<std::int32_t>(std::min<qsizetype>(received_.size(),
                                                                        std::numeric_limits<std::int32_t>::max())));
  }
}

void Winsock::PeerClosed() {
  DeliverArrivals();
  if (!socket_ || state_ != SocketConnected) return;
  state_ = SocketClosing;
  Raise(OnClose);
}

void Winsock::SocketFailed(int error) {
  // A peer's close is the Close event (disconnected follows), not an error.
  if (error == QAbstractSocket::RemoteHostClosedError) return;
  const SocketFailure failure = FailureOf(static_cast<QAbstractSocket::SocketError>(error));
  state_ = SocketError;
  Raise(OnError, failure.number, QString::fromLatin1(failure.description));
}

void Winsock::SendData(const QString& data) {
  if (state_ != SocketConnected || !socket_) {
    throw RuntimeError(QStringLiteral("Wrong protocol or connection state for the requested transaction or request"),
                       40006);
  }
  const QByteArray bytes = data.toLatin1();
  if (socket_->bytesToWrite() + bytes.size() > MaxQueuedBytes) {
    CutForQueueOverflow();
    return;
  }
  socket_->write(bytes);
  socket_->flush();
}

// Dropped at once, the system's own queue too: a graceful close would keep it all until the
// peer had read it, and the peer would see the close only then.
void Winsock::CutForQueueOverflow() {
  QTcpSocket* socket = socket_;
  socket_ = nullptr;
  socket->disconnect();
  const linger reset{1, 0};
  ::setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
  socket->abort();
  socket->deleteLater();
  received_.clear();
  state_ = SocketError;
  qCWarning(lcPlatform) << "cut the connection to" << remoteHostIP_ << "of" << Name() << Index()
                        << "with more than" << MaxQueuedBytes << "bytes waiting for it";
  QTimer::singleShot(0, &owner_, [this, connection = connection_] {
    if (connection == connection_ && state_ == SocketError) SocketFailed(QAbstractSocket::SocketResourceError);
  });
}

void Winsock::GetData(QString& data) {
  if (socket_) received_ += socket_->readAll();
  data = QString::fromLatin1(received_);
  received_.clear();
}

void Winsock::Close() {
  if (server_) {
    server_->disconnect(&owner_);
    server_->close();
    server_->deleteLater();  // perhaps inside its own signal
    server_ = nullptr;
  }
  if (socket_) {
    QTcpSocket* socket = socket_;
    socket_ = nullptr;
    Discard(socket);
  }
  received_.clear();
  state_ = SocketClosed;
}

void Winsock::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  const auto& model = static_cast<const Winsock&>(source);
  localPort_ = model.localPort_;
  remotePort_ = model.remotePort_;
  remoteHost_ = model.remoteHost_;
}

void Winsock::Retire() {
  Control::Retire();
  Close();
}

}  // namespace platform
