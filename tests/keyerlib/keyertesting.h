// Test helpers for the keyer library: a simulated keyer device on a socat pseudo-terminal pair,
// bounded waits, and a record of the library's callbacks.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace keyertesting {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kDeviceVersion = 0x17;  // what keyer_device answers to host open
inline constexpr std::chrono::seconds kBound{10};     // no wait in a test lasts longer

// Polls `condition` until it holds or `bound` has passed; returns its last value.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound = kBound);

// A fresh scratch folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string Path(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A started process, stopped by its id when this goes.
class ChildProcess {
 public:
  // stdinPipe: give the child a pipe on its standard input that Write() feeds.
  ChildProcess(const std::vector<std::string>& arguments, const std::string& logFile, bool stdinPipe = false);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  void Write(const std::string& text) const;
  // Waits for the child to end by itself; its exit status, or -1 when it did not end in time.
  int WaitForExit();

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
};

// The simulated keyer device on one end of a socat pair; the library opens HostLine().
class KeyerDevicePeer {
 public:
  explicit KeyerDevicePeer(const std::string& mode = "normal");
  std::string HostLine() const { return folder_.Path("host"); }
  // Makes the device send bytes to the host, written as hex: "C5", "41 42".
  void Send(const std::string& hexBytes) const { device_->Write(hexBytes + "\n"); }
  // Everything the device received after the first host open, in order.
  Bytes Transcript() const;
  // Waits until the transcript ends with `tail`.
  bool WaitForTranscriptEnding(const Bytes& tail) const;

 private:
  ScratchFolder folder_;
  std::unique_ptr<ChildProcess> socat_;
  std::unique_ptr<ChildProcess> device_;
};

// How many of this process's descriptors are open on the device behind `path`.
int DescriptorsOn(const std::string& path);

// Callbacks the library made: (kind, value) in order.
class CallbackLog {
 public:
  static void Record(std::int32_t kind, std::int32_t value);
  static void Clear();
  static bool WaitFor(std::int32_t kind, std::int32_t value);
};

// Text as the bytes a test queues and expects.
Bytes TextBytes(const std::string& text);
Bytes Concat(std::initializer_list<Bytes> parts);

}  // namespace keyertesting
