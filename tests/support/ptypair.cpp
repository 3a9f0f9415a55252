#include "ptypair.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>

namespace peertesting {

PtyPair::PtyPair() {
  socat_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"socat", "-d", "-d", "pty,raw,echo=0,link=" + HostEnd(),
                               "pty,raw,echo=0,link=" + PeerEnd()},
      folder_.Path("socat.log"));
  const bool up = WaitUntil([&] { return std::filesystem::exists(HostEnd()) && std::filesystem::exists(PeerEnd()); });
  if (!up) throw std::runtime_error("no socat pair");
}

void PluggableLine::PlugIn(const std::function<void(const std::string& peerEnd)>& startDevice) {
  pair_ = std::make_unique<PtyPair>();
  if (startDevice) startDevice(pair_->PeerEnd());
  std::filesystem::create_symlink(pair_->HostEnd(), path_);
}

void PluggableLine::PullOut() {
  std::filesystem::remove(path_);
  pair_.reset();
}

PtyEnd::PtyEnd(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
  if (fd_ < 0) throw std::runtime_error("cannot open " + path);
}

PtyEnd::~PtyEnd() { close(fd_); }

void PtyEnd::Write(const std::string& bytes) const {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = write(fd_, bytes.data() + written, bytes.size() - written);
    if (count >= 0) {
      written += static_cast<std::size_t>(count);
      continue;
    }
    const int error = errno;
    if (error == EINTR) continue;
    pollfd writable{fd_, POLLOUT, 0};
    if (error != EAGAIN || poll(&writable, 1, kBoundMs) != 1) throw std::runtime_error("line refused the bytes");
  }
}

std::string PtyEnd::Read() const {
  std::string arrived;
  char buffer[4096];
  for (ssize_t count; (count = read(fd_, buffer, sizeof buffer)) > 0;) arrived.append(buffer, count);
  return arrived;
}

}  // namespace peertesting
