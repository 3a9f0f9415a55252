#include "reservedport.h"

#include <cstdint>
#include <stdexcept>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace peertesting {

namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

// A socket that shares its port only with sockets of this user that ask for it alike: the
// reserving one and each server that listens on the port in turn. Without SO_REUSEADDR, a server
// of another program (Qt's ask for that) cannot bind the port while no one listens on it.
int SharingSocket() {
  const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket < 0) return -1;
  const int on = 1;
  if (::setsockopt(socket, SOL_SOCKET, SO_REUSEPORT, &on, sizeof on) != 0) {
    ::close(socket);
    return -1;
  }
  return socket;
}

bool Bind(int socket, int port) {
  sockaddr_in address = Loopback(port);
  return ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace

ReservedPort::ReservedPort() : socket_(SharingSocket()) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (socket_ < 0 || !Bind(socket_, 0) ||
      ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (socket_ >= 0) ::close(socket_);
    throw std::runtime_error("No loopback port could be reserved");
  }
  port_ = ntohs(address.sin_port);
}

ReservedPort::~ReservedPort() { ::close(socket_); }

bool ReservedPort::ListenOn(QTcpServer& server) const {
  const int socket = SharingSocket();
  if (socket < 0) return false;
  if (!Bind(socket, port_) || ::listen(socket, SOMAXCONN) != 0 || !server.setSocketDescriptor(socket)) {
    ::close(socket);
    return false;
  }
  return true;
}

}  // namespace peertesting
