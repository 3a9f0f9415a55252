#pragma once

#include "platform/control.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

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
// use (10048), a request that is no longer pending (10022).
//
// A connection request that the ConnectionRequest handler does not accept is closed when the
// handler returns: left pending, the peer would think itself connected to nobody.
class Winsock : public Control {
 public:
  Winsock(Container* parent, const QString& name, int index = -1);
  ~Winsock() override;

  int State() const { return state_; }
  int LocalPort() const { return localPort_; }
  void SetLocalPort(int port);
  int RemotePort() const { return remotePort_; }
  void SetRemotePort(int port);
  const QString& RemoteHost() const { return remoteHost_; }
  void SetRemoteHost(const QString& host) { remoteHost_ = host; }
  QString LocalHostName() const { return platform::LocalHostName(); }

  // Listens on LocalPort on every address of this PC; LocalPort then reads the port taken.
  void Listen();
  // Takes over a pending request of a listening socket (its ConnectionRequest's requestID).
  void Accept(std::int32_t requestID);
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

  QObject owner_;  // parent of the server and sockets; they go with the control
  QPointer<QTcpServer> server_;
  QPointer<QTcpSocket> socket_;
  QByteArray received_;
  int state_ = SocketClosed;
  int localPort_ = 0;
  int remotePort_ = 0;
  QString remoteHost_;
};

}  // namespace platform

// Connects a socket's (or socket array's) event to the handler named control_Event:
// WIRE_SOCKET(tcpWinsock, DataArrival) connects tcpWinsock.OnDataArrival to tcpWinsock_DataArrival.
#define WIRE_SOCKET(control, Event)                                                  \
  Wire(control.On##Event, QStringLiteral(#control "_" #Event), [this](auto&&... args) { \
    control##_##Event(std::forward<decltype(args)>(args)...);                        \
  })
