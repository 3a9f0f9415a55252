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
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

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
  Device(int line, std::FILE* transcript, Mode mode) : line_(line), transcript_(transcript), mode_(mode) {}

  void Receive(std::uint8_t byte) {
    if (recording_) Record(byte);
    command_.push_back(byte);
    if (command_.size() < CommandLength(command_)) return;
    Answer();
    command_.clear();
  }

  void Send(const std::vector<std::uint8_t>& bytes) const {
    if (!bytes.empty() && write(line_, bytes.data(), bytes.size()) < 0) std::perror("keyer_device: write");
  }

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

  void Record(std::uint8_t byte) {
    const auto now = std::chrono::steady_clock::now() - start_;
    std::fprintf(transcript_, "%lld %02X\n",
                 static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()), byte);
    std::fflush(transcript_);
  }

  int line_;
  std::FILE* transcript_;
  Mode mode_;
  bool recording_ = false;
  std::vector<std::uint8_t> command_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

std::vector<std::uint8_t> ParseHexBytes(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  std::istringstream words(text);
  for (std::string word; words >> word;) bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
  return bytes;
}

void MakeRaw(int line) {
  termios settings{};
  if (tcgetattr(line, &settings) != 0) return;
  cfmakeraw(&settings);
  tcsetattr(line, TCSANOW, &settings);
}

}  // namespace

int main(int argc, char** argv) {
  Mode mode = Mode::Normal;
  if (argc < 3 || argc > 4 || (argc == 4 && !ParseMode(argv[3], mode))) {
    std::fprintf(stderr, "usage: keyer_device LINE TRANSCRIPT [normal|silent|wrong-echo|no-version|garbage]\n");
    return 2;
  }
  const int line = open(argv[1], O_RDWR | O_NOCTTY);
  if (line < 0) {
    std::perror("keyer_device: line");
    return 1;
  }
  MakeRaw(line);
  std::FILE* transcript = std::fopen(argv[2], "w");
  if (transcript == nullptr) {
    std::perror("keyer_device: transcript");
    return 1;
  }
  Device device(line, transcript, mode);
  std::string input;
  for (;;) {
    pollfd watched[2] = {{line, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    if (poll(watched, 2, -1) < 0) continue;
    if ((watched[0].revents & (POLLHUP | POLLERR)) && !(watched[0].revents & POLLIN)) return 1;  // pair gone
    if (watched[0].revents & POLLIN) {
      std::uint8_t bytes[256];
      const ssize_t n = read(line, bytes, sizeof bytes);
      for (ssize_t i = 0; i < n; ++i) device.Receive(bytes[i]);
    }
    if (watched[1].revents & (POLLIN | POLLHUP)) {
      char chunk[256];
      const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
      if (n <= 0) return 0;  // the test is done with us
      input.append(chunk, static_cast<std::size_t>(n));
      for (std::size_t end; (end = input.find('\n')) != std::string::npos; input.erase(0, end + 1)) {
        device.Send(ParseHexBytes(input.substr(0, end)));
      }
    }
  }
}
