// A loopback port that a test keeps for itself: bound and never listened on, so every connection
// to it is refused, and no other program takes it while the test runs (a port closed a moment ago
// may be taken by anyone). A server of the test's own listens on it meanwhile, so a peer can go
// away and come back on the port the program knows.
#pragma once

#include <QTcpServer>

namespace peertesting {

class ReservedPort {
 public:
  ReservedPort();  // throws std::runtime_error
  ~ReservedPort();
  ReservedPort(const ReservedPort&) = delete;
  ReservedPort& operator=(const ReservedPort&) = delete;

  int Port() const { return port_; }

  // Makes `server` listen on the port until it closes; the port stays reserved afterwards.
  // False when the system refuses.
  bool ListenOn(QTcpServer& server) const;

 private:
  int socket_ = -1;
  int port_ = 0;
};

}  // namespace peertesting
