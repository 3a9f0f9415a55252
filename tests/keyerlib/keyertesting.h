// Test helpers for the keyer library: a simulated keyer device on a socat pseudo-terminal pair,
// a line that stops taking bytes, and a record of the library's callbacks.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "childprocess.h"
#include "ptypair.h"

namespace keyertesting {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kDeviceVersion = 0x17;  // what keyer_device answers to host open

using peertesting::ChildProcess;
using peertesting::kBound;
using peertesting::ScratchFolder;
using peertesting::WaitUntil;

// The simulated keyer device on one end of a socat pair. The library opens HostLine(), a link to
// the pair's host end, as a USB adapter's device name leads to its port.
class KeyerDevicePeer {
 public:
  explicit KeyerDevicePeer(const std::string& mode = "normal");
  std::string HostLine() const { return line_.Path(); }
  // Makes the device send bytes to the host, written as hex: "C5", "41 42".
  void Send(const std::string& hexBytes) const { device_->Write(hexBytes + "\n"); }
  // Everything the device received after the first host open, in order, across its plug-ins.
  Bytes Transcript() const;
  // Waits until the transcript ends with `tail`.
  bool WaitForTranscriptEnding(const Bytes& tail) const;
  // The device pulled out: its line hangs up and HostLine() leads nowhere.
  void Unplug();
  // Plugged back in: a new line and a fresh device at the same HostLine().
  void PlugIn();

 private:
  std::string TranscriptPath(int plugIn) const { return folder_.Path("transcript" + std::to_string(plugIn)); }

  ScratchFolder folder_;
  std::string mode_;
  int plugIns_ = 0;
  peertesting::PluggableLine line_{folder_.Path("line")};
  std::unique_ptr<ChildProcess> device_;
};

// The output of a line stopped (tcflow), as a USB or Bluetooth link stops when its device stops
// reading: what the library writes to it waits. The line is opened before the library takes it,
// which keeps later openers out. Whatever still waits on the line at the suite's deadline has it
// let go, so a test that would hang fails instead.
class StalledLink {
 public:
  explicit StalledLink(const std::string& line);  // throws std::runtime_error
  ~StalledLink();
  StalledLink(const StalledLink&) = delete;
  StalledLink& operator=(const StalledLink&) = delete;
  void Stall();
  // Takes bytes again; true when the deadline had come first.
  bool Release();

 private:
  int fd_ = -1;
  std::mutex mutex_;
  std::condition_variable released_;
  bool stalled_ = false;
  bool letGoAtTheDeadline_ = false;
  std::thread deadline_;
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
