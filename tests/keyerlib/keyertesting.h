// Test helpers for the keyer library: a simulated keyer device on a socat pseudo-terminal pair
// and a record of the library's callbacks.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
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

// The simulated keyer device on one end of a socat pair; the library opens HostLine().
class KeyerDevicePeer {
 public:
  explicit KeyerDevicePeer(const std::string& mode = "normal");
  std::string HostLine() const { return line_.HostEnd(); }
  // Makes the device send bytes to the host, written as hex: "C5", "41 42".
  void Send(const std::string& hexBytes) const { device_->Write(hexBytes + "\n"); }
  // Everything the device received after the first host open, in order.
  Bytes Transcript() const;
  // Waits until the transcript ends with `tail`.
  bool WaitForTranscriptEnding(const Bytes& tail) const;

 private:
  peertesting::PtyPair line_;
  ScratchFolder folder_;
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
