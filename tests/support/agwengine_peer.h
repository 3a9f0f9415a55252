// An AGW packet engine for tests: a loopback server speaking the engine's TCP frames.
#pragma once

#include "platform/agwframe.h"
#include "reservedport.h"

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstddef>
#include <optional>
#include <vector>

namespace peertesting {

// A monitored unnumbered frame as the engine passes one on: kind 'U', PID F0, on the first
// radio port, its text ended by the engine's NUL.
platform::AgwFrame MonitoredFrame(const QByteArray& from, const QByteArray& to, const QByteArray& text);

// Listens on a loopback port of its own and points the program's AGW client at itself
// (CORVANE_AGW_HOST, CORVANE_AGW_PORT) until it goes; the port stays its own while it does not
// listen, so it can be refused and come back. It takes one client at a time (a new one
// replaces the last), answers a registration 'X' as the engine does, records every frame the
// clients send and sends what the test asks. GUI thread; its waits run the event loop, with a bound.
class SimulatedAgwEngine {
 public:
  SimulatedAgwEngine();
  ~SimulatedAgwEngine();
  SimulatedAgwEngine(const SimulatedAgwEngine&) = delete;
  SimulatedAgwEngine& operator=(const SimulatedAgwEngine&) = delete;

  int Port() const { return port_.Port(); }

  // Each is true when what it waits for came within the bound.
  bool WaitForClient();
  bool WaitForFrames(std::size_t count);  // frames received from clients since the start
  bool WaitUntilClientGone();

  const std::vector<platform::AgwFrame>& Received() const { return received_; }
  QByteArray KindsReceived() const;  // "XmC...", in order

  // To the client connected now.
  void Send(const platform::AgwFrame& frame);
  void SendBytes(const QByteArray& bytes);
  void DropClient();
  // From now on a client that connects is refused, until Listen() takes clients again on the same
  // port; false when the system refuses.
  void StopListening() { server_.close(); }
  bool Listen() { return port_.ListenOn(server_); }

  bool acceptRegistration = true;  // the answer to 'X'

 private:
  void TakeClient();
  void Receive();

  ReservedPort port_;
  QTcpServer server_;
  QPointer<QTcpSocket> client_;
  platform::AgwFrameReader reader_;
  std::vector<platform::AgwFrame> received_;
  std::optional<QByteArray> savedHost_;
  std::optional<QByteArray> savedPort_;
};

}  // namespace peertesting
