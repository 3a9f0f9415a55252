#include "serialport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "tapplink.h"

namespace tapplink {
namespace {

constexpr Milliseconds kOpenReadTimeout{250};
// How often a close looks whether the line has sent what it held.
constexpr Milliseconds kSentCheck{5};

// A line without modem control (a pseudo-terminal) refuses modem-line requests; that is no fault.
bool LacksModemLines(int error) { return error == ENOTTY || error == EINVAL; }

bool SetModemLine(int fd, int line, bool raised) {
  if (ioctl(fd, raised ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
  return LacksModemLines(errno);
}

}  // namespace

SerialPort::~SerialPort() { Close(); }

int SerialPort::SerialOpen(const std::string& path) {
  if (IsHeld()) {
    errno = EBUSY;
    return TP_PORT_OPEN_FAILED;
  }
  if (path.empty()) {
    errno = ENOENT;
    return TP_PORT_OPEN_FAILED;
  }
  fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return TP_PORT_OPEN_FAILED;
  const int result = Configure();
  if (result != TP_OK) {
    const int reason = errno;
    Close();
    errno = reason;
  }
  return result;
}

int SerialPort::Configure() {
  struct stat status {};
  // Only a character device is a port; a second holder anywhere makes it busy.
  if (fstat(fd_, &status) != 0) return TP_PORT_OPEN_FAILED;
  if (!S_ISCHR(status.st_mode)) {
    errno = ENOTTY;
    return TP_PORT_OPEN_FAILED;
  }
  if (flock(fd_, LOCK_EX | LOCK_NB) != 0) return TP_PORT_OPEN_FAILED;

  termios settings{};
  if (tcgetattr(fd_, &settings) != 0) return TP_PORT_STATE_READ_FAILED;
  ioctl(fd_, TIOCEXCL);  // keeps other openers out; the lock above already decides
  cfmakeraw(&settings);
  cfsetispeed(&settings, B1200);
  cfsetospeed(&settings, B1200);
  // One flag covers CTS output flow and RTS input flow here, and RTS must stay off.
  settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
  settings.c_cflag |= CS8 | CREAD | CLOCAL;
  settings.c_iflag &= ~(IXON | IXOFF | IXANY);
  settings.c_cc[VMIN] = 0;  // reads are timed by poll(): VTIME counts only tenths
  settings.c_cc[VTIME] = 0;
  if (tcsetattr(fd_, TCSANOW, &settings) != 0) return TP_PORT_STATE_SET_FAILED;
  if (!SetDtr(true) || !SetModemLine(fd_, TIOCM_RTS, false)) return TP_PORT_STATE_SET_FAILED;
  readTimeout_ = kOpenReadTimeout;
  return TP_OK;
}

bool SerialPort::SetDtr(bool raised) {
  dtrRaised_ = raised;
  return SetModemLine(fd_, TIOCM_DTR, raised);
}

int SerialPort::SerialWrite(const std::uint8_t* bytes, std::size_t count, Deadline deadline) {
  std::size_t written = 0;
  while (written < count) {
    const ssize_t n = write(fd_, bytes + written, count - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return errno;
    pollfd waitForRoom{fd_, POLLOUT, 0};
    const int ready = poll(&waitForRoom, 1, MillisecondsLeft(deadline));
    if (ready == 0) return ETIMEDOUT;
    if (ready < 0 && errno != EINTR) return errno;
  }
  return 0;
}

int SerialPort::SerialRead(std::uint8_t* buffer, std::size_t count) {
  const Deadline deadline = DeadlineAfter(readTimeout_);
  std::size_t received = 0;
  while (received < count) {
    pollfd waitForData{fd_, POLLIN, 0};
    const int ready = poll(&waitForData, 1, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return errno;
    if (ready == 0) return ETIMEDOUT;
    const ssize_t n = read(fd_, buffer + received, count - received);
    if (n > 0) {
      received += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n < 0) return errno;  // EIO: a pseudo-terminal whose other end is gone
    if (waitForData.revents & (POLLHUP | POLLERR | POLLNVAL)) return EIO;  // a serial line hung up reads as its end
    WaitUntil(deadline);  // nothing to read after all: the time-out is used up rather than spun away
    return ETIMEDOUT;
  }
  return 0;
}

// A port closed with bytes still queued would wait for the line for as long as its driver allows.
// Only what is still held then is dropped: a pseudo-terminal holds nothing, and flushing it would
// take back what its other end has not read yet.
void SerialPort::SendHeldBytes(Deadline lastBytesBy) {
  const auto held = [this] {
    int bytes = 0;
    return ioctl(fd_, TIOCOUTQ, &bytes) == 0 && bytes > 0;
  };
  while (held()) {
    if (MillisecondsLeft(lastBytesBy) == 0) {
      tcflush(fd_, TCOFLUSH);
      return;
    }
    WaitUntil(std::min(lastBytesBy, DeadlineAfter(kSentCheck)));
  }
}

void SerialPort::Close(Deadline lastBytesBy) {
  if (!IsHeld()) return;
  SendHeldBytes(lastBytesBy);
  SetDtr(false);
  ioctl(fd_, TIOCNXCL);  // a pseudo-terminal keeps exclusive mode past our close
  close(fd_);
  fd_ = -1;
}

}  // namespace tapplink
