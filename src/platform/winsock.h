#pragma once

#include "platform/control.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class QTcpServer;
class QTcpSocket;

namespace platform {

// State values of the TCP socket control.
inline constexpr int SocketClosed = 0;
inline constexpr int SocketOpen = 1;
inline constexpr int SocketListening = 2;
inline constexpr int SocketConnectionPending = 3;
inline constexpr int SocketResolvingHost = 4;
inline constexpr int SocketHostResolved = 5;
inline constexpr int SocketConnecting = 6;
inline constexpr int SocketConnected = 7;
inline constexpr int SocketClosing = 8;
inline constexpr int SocketError = 9;

// The port the station's PCs talk on: 1001, unless CORVANE_STATION_PORT names another (0 takes
// any free port; a test reads the one listened on from LocalPort).
int StationPort();

// This PC's name on the network: CORVANE_HOST_NAME when set, else the machine's host name.
QString LocalHostName();

// Whether a peer at this address may talk to the station's PCs. The station network trusts its
// LAN and only its LAN: loopback, private (10/8, 172.16/12, 192.168/16, IPv6 unique-local fc00::/7)
// and link-local (169.254/16, fe80::/10) addresses, IPv4 ones also when mapped into IPv6; and
// the addresses and subnets CORVANE_STATION_ALLOW names, separated by commas or blanks
// ("203.0.113.7, 198.51.100.0/24, 2001:db8::/32"). No address is none of these.
bool StationPeerAllowed(const QString& address);

// The entries of CORVANE_STATION_ALLOW that StationPeerAllowed leaves out. An entry is a whole
// address (four decimal numbers for IPv4, or an IPv6 address), alone or with a prefix length of
// 0 to 32 (IPv4) or 0 to 128 (IPv6) after a "/", and then with no bit set past that length (the
// network's own address, "203.0.113.0/24"). Anything else, such as "/0", "203", "10.1" or
// "203.0.113.5/8", would otherwise be read as some wider subnet than its writer meant. An IPv4
// address or subnet written in IPv6 ("::ffff:203.0.113.0/120", a prefix length from 96) is read
// as the IPv4 one it maps. An entry no peer can have ("0.0.0.0" alone, "::", the old
// IPv4-compatible "::203.0.113.5") is left out too.
QStringList MalformedStationAllowEntries();

// Test seam: while one lives, every connection request reads as coming from the given address
// (the listening socket's RemoteHostIP), so a test on the loopback plays a peer from anywhere.
class PeerAddressForTesting {
 public:
  explicit PeerAddressForTesting(const QString& address);
  ~PeerAddressForTesting();
  PeerAddressForTesting(const PeerAddressForTesting&) = delete;
  PeerAddressForTesting& operator=(const PeerAddressForTesting&) = delete;
};

// The control's error number for what Qt reports of a socket: a refused connection is 10061, a
// host not found 11001, a time-out 10060; what the control has no number for is 10053, a
// connection aborted.
int WinsockErrorNumber(QAbstractSocket::SocketError error);

// The TCP socket control over Qt Network, one connection or one listening port, with the
// control's state numbers. Text travels as Latin-1 bytes, without terminator. Everything runs on
// the GUI thread: events come from the event loop, each through the window's handler guard.
// It can be an element of a control array, loaded and unloaded at run time.
//
// Methods refuse what the control refuses, with RuntimeError: Listen, Connect and Accept on a
// socket that is not closed (40020), SendData on one that is not connected (40006), a port in
// use (10048) or below 1024 without the right to it (10013), a request that is no longer pending
// (10022).
//
// A connection request that the ConnectionRequest handler does not accept is closed when the
// handler returns: left pending, the peer would think itself connected to nobody.
//
// What is sent waits in the socket until the peer takes it, at most MaxQueuedBytes: a peer that
// reads nothing would otherwise make the program hold everything ever sent to it. Past that the
// connection is cut at once, what waited is dropped, and the Error event (10055) follows from the
// event loop.
//
// What arrives is taken from the system MaxReceivedBytes at a time, and no more until the handler
// has taken it: a peer that sends faster than the program handles it is held back by the
// connection itself, never by the program's memory.
class Winsock : public Control {
 public:
  static constexpr qint64 MaxQueuedBytes = 1024 * 1024;
  static constexpr qint64 MaxReceivedBytes = 64 * 1024;

  Winsock(Container* parent, const QString& name, int index = -1);
  ~Winsock() override;

  int State() const { return state_; }
  int LocalPort() const { return localPort_; }
  void SetLocalPort(int port);
  int RemotePort() const { return remotePort_; }
  void SetRemotePort(int port);
  const QString& RemoteHost() const { return remoteHost_; }
  void SetRemoteHost(const QString& host) { remoteHost_ = host; }
  // The peer's address ("192.168.1.5", "fe80::1"): of the connection, or on a listening socket
  // during its ConnectionRequest, of the PC that asks.
  const QString& RemoteHostIP() const { return remoteHostIP_; }
  QString LocalHostName() const { return platform::LocalHostName(); }

  // Listens on LocalPort on every address of this PC; LocalPort then reads the port taken.
  void Listen();
  // Takes over a pending request of a listening socket (its ConnectionRequest's requestID).
  void Accept(std::int32_t requestID);
  // Whether a pending request of this listening socket comes from the other socket: both are
  // sockets of this program, as when its client reached its own listener. The other may still be
  // connecting, as it often is when the request is offered.
  bool IsRequestFrom(std::int32_t requestID, const Winsock& other) const;
  // Starts connecting and returns at once (state 4 or 6); Connect or Error follows.
  void Connect();
  void Connect(const QString& host, int port);
  void SendData(const QString& data);
  // Everything received and not yet taken, as text.
  void GetData(QString& data);
  // Back to state 0 from any state; what was sent still goes out. Raises no event.
  void Close();

  void CopyDesignFrom(const Control& source) override;
  void Retire() override;

  // The control's events. Connect and Close are also methods, so the events carry an "On";
  // WIRE_SOCKET connects them to handlers named control_Event all the same.
  std::function<void(std::int32_t requestID)> OnConnectionRequest;
  std::function<void()> OnConnect;
  std::function<void(std::int32_t bytesTotal)> OnDataArrival;
  std::function<void()> OnClose;  // the peer closed: state 8 until Close
  std::function<void(int Number, const QString& Description)> OnError;  // state 9

 private:
  void RequireClosed() const;
  void Attach(QTcpSocket* socket);
  void TakeRequests();
  void DeliverArrivals();
  void PeerClosed();
  void SocketFailed(int error);
  void DeliverWhatCameBeforeAccept();
  void CutForQueueOverflow();

  QObject owner_;  // parent of the server and sockets; they go with the control
  QPointer<QTcpServer> server_;
  QPointer<QTcpSocket> socket_;
  QByteArray received_;
  int state_ = SocketClosed;
  int localPort_ = 0;
  int remotePort_ = 0;
  QString remoteHost_;
  QString remoteHostIP_;
  std::uint64_t connection_ = 0;  // counts the connections taken, so a late event finds its own gone
};

}  // namespace platform

// Connects a socket's (or socket array's) event to the handler named control_Event:
// WIRE_SOCKET(tcpWinsock, DataArrival) connects tcpWinsock.OnDataArrival to tcpWinsock_DataArrival.
#define WIRE_SOCKET(control, Event)                                                  \
  Wire(control.On##Event, QStringLiteral(#control "_" #Event), [this](auto&&... args) { \
    control##_##Event(std::forward<decltype(args)>(args)...);                        \
  })
