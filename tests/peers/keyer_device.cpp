// A simulated keyer device on a serial line (one end of a pseudo-terminal pair).
//
//   keyer_device LINE TRANSCRIPT [normal|silent|wrong-echo|no-version|garbage]
//
// It reads the host's commands, answers the echo test 00 04 b with b and host open 00 02 with its
// version byte 0x17, and appends every byte received after the first host open to TRANSCRIPT as
// "<milliseconds since start> <hex byte>" lines. The transcript file appears once the line is
// open. Each line of standard input is hex bytes to send to the host (status, speed-pot or echo
// bytes); it ends when standard input closes. The modes script a faulty device: silent answers
// nothing, wrong-echo answers the echo test with another byte, no-version never answers host
// open, garbage answers the echo test with noise.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "peerline.h"

namespace {

constexpr std::uint8_t kVersion = 0x17;

enum class Mode { Normal, Silent, WrongEcho, NoVersion, Garbage };

bool ParseMode(const std::string& name, Mode& mode) {
  const std::pair<const char*, Mode> modes[] = {{"normal", Mode::Normal},        {"silent", Mode::Silent},
                                                {"wrong-echo", Mode::WrongEcho}, {"no-version", Mode::NoVersion},
                                                {"garbage", Mode::Garbage}};
  for (const auto& [text, value] : modes) {
    if (name == text) {
      mode = value;
      return true;
    }
  }
  return false;
}

// The length of the host command that starts the bytes so far, as far as they tell.
std::size_t CommandLength(const std::vector<std::uint8_t>& command) {
  switch (command[0]) {
    case 0x00:  // admin: 00 04 carries the echo test byte
      return command.size() < 2 ? 2 : (command[1] == 0x04 ? 3 : 2);
    case 0x16:  // buffer pointer: 16 00 alone, the others carry a count
      return command.size() < 2 ? 2 : (command[1] == 0x00 ? 2 : 3);
    case 0x04: case 0x1B: return 3;
    case 0x05: return 4;
    case 0x0F: return 18;  // defaults block
    case 0x01: case 0x02: case 0x03: case 0x06: case 0x09: case 0x0B: case 0x0C: case 0x0D:
    case 0x0E: case 0x10: case 0x11: case 0x12: case 0x14: case 0x17: case 0x18: case 0x19:
    case 0x1A: case 0x1C: case 0x1D:
      return 2;
    default: return 1;  // text and one-byte commands
  }
}

class Device {
 public:
  Device(const peerline::PeerLine& line, Mode mode) : line_(line), mode_(mode) {}

  void Receive(std::uint8_t byte) {
    if (recording_) line_.RecordTimed(byte);
    command_.push_back(byte);
    if (command_.size() < CommandLength(command_)) return;
    Answer();
    command_.clear();
  }

  void Send(const std::vector<std::uint8_t>& bytes) const { line_.Send(bytes); }

 private:
  void Answer() {
    if (command_[0] != 0x00 || mode_ == Mode::Silent) return;
    if (command_[1] == 0x04) {
      const std::uint8_t byte = command_[2];
      if (mode_ == Mode::WrongEcho) Send({static_cast<std::uint8_t>(byte ^ 0xFF)});
      if (mode_ == Mode::Garbage) Send({0xFE, 0x00, 0x13});
      if (mode_ == Mode::Normal || mode_ == Mode::NoVersion) Send({byte});
    } else if (command_[1] == 0x02) {
      if (mode_ != Mode::NoVersion) Send({kVersion});
      recording_ = true;
    }
  }

  const peerline::PeerLine& line_;
  Mode mode_;
  bool recording_ = false;
  std::vector<std::uint8_t> command_;
};

}  // namespace

int main(int argc, char** argv) {
  Mode mode = Mode::Normal;
  if (argc < 3 || argc > 4 || (argc == 4 && !ParseMode(argv[3], mode))) {
    std::fprintf(stderr, "usage: keyer_device LINE TRANSCRIPT [normal|silent|wrong-echo|no-version|garbage]\n");
    return 2;
  }
  peerline::PeerLine peer("keyer_device");
  if (!peer.Open(argv[1], argv[2])) return 1;
  Device device(peer, mode);
  return peerline::Serve(
      peer, [&](std::uint8_t byte) { device.Receive(byte); }, [&](const std::string& hex) { peer.SendHex(hex); });
}
