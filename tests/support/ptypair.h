// A serial line for tests: a socat pseudo-terminal pair, and the far end opened by the test.
// Plain C++, no Qt, so the keyer library's tests use it too.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "childprocess.h"

namespace peertesting {

// Two linked pseudo-terminals: what is written on one end arrives at the other, byte for byte.
// The program opens HostEnd() as a serial port (CORVANE_PORT<n> names it); the test or a
// simulated device takes PeerEnd(). Pseudo-terminals have no modem lines.
class PtyPair {
 public:
  // Throws std::runtime_error when socat does not bring both ends up in time.
  PtyPair();
  std::string HostEnd() const { return folder_.Path("host"); }
  std::string PeerEnd() const { return folder_.Path("peer"); }
  // Ends the pair, as a pulled-out adapter would: both ends hang up.
  void Unplug() { socat_->Stop(); }

 private:
  ScratchFolder folder_;
  std::unique_ptr<ChildProcess> socat_;
};

// A serial device at a path of its own that leads to a pair's host end, as a USB adapter's device
// name leads to its port: pulled out, its line hangs up and the path is gone; plugged in again, a
// new pair comes up behind the same path.
class PluggableLine {
 public:
  explicit PluggableLine(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }
  // The pair's other end, where the device sits; only while plugged in.
  std::string PeerEnd() const { return pair_->PeerEnd(); }
  // A new pair; `startDevice` brings the device up on its peer end before the path appears.
  // Throws std::runtime_error as PtyPair does.
  void PlugIn(const std::function<void(const std::string& peerEnd)>& startDevice = {});
  void PullOut();
  // Both ends hang up, the path staying.
  void HangUp() { pair_->Unplug(); }

 private:
  std::string path_;
  std::unique_ptr<PtyPair> pair_;
};

// One end of a pair, opened raw by the test, standing in for the device on the line.
class PtyEnd {
 public:
  explicit PtyEnd(const std::string& path);  // throws std::runtime_error
  ~PtyEnd();
  PtyEnd(const PtyEnd&) = delete;
  PtyEnd& operator=(const PtyEnd&) = delete;
  // Writes every byte or throws.
  void Write(const std::string& bytes) const;
  // What has arrived; empty when nothing waits. Never waits.
  std::string Read() const;

 private:
  int fd_ = -1;
};

}  // namespace peertesting
