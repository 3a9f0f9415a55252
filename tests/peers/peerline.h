#pragma once

// What the peers on a serial line (one end of a pseudo-terminal pair) share: the line opened raw
// beside the transcript of what the host sends, hex bytes from the test, and the test's orders
// read line by line from standard input.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace peerline {

inline std::vector<std::uint8_t> ParseHexBytes(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  std::istringstream words(text);
  for (std::string word; words >> word;) bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
  return bytes;
}

class PeerLine {
 public:
  explicit PeerLine(const char* program) : program_(program) {}

  // Opens the line raw and then the transcript, so that the transcript's appearing tells the test
  // the line is open. A failure is told on standard error.
  bool Open(const char* linePath, const char* transcriptPath) {
    line_ = open(linePath, O_RDWR | O_NOCTTY);
    if (line_ < 0) return Failed("line");
    MakeRaw();
    transcript_ = std::fopen(transcriptPath, "wb");
    if (transcript_ == nullptr) return Failed("transcript");
    return true;
  }

  int Line() const { return line_; }
  std::FILE* Transcript() const { return transcript_; }

  void Send(const void* bytes, std::size_t size) const {
    if (size != 0 && write(line_, bytes, size) < 0) Failed("write");
  }
  void Send(const std::vector<std::uint8_t>& bytes) const { Send(bytes.data(), bytes.size()); }
  // Hex bytes as the test writes them, "FE 00 13".
  void SendHex(const std::string& hex) const { Send(ParseHexBytes(hex)); }

  // A byte the host sent, as a "<milliseconds since the start> <hex byte>" line.
  void RecordTimed(std::uint8_t byte) const {
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    std::fprintf(transcript_, "%lld %02X\n", static_cast<long long>(elapsed.count()), byte);
    std::fflush(transcript_);
  }

 private:
  void MakeRaw() const {
    termios settings{};
    if (tcgetattr(line_, &settings) != 0) return;
    cfmakeraw(&settings);
    tcsetattr(line_, TCSANOW, &settings);
  }

  bool Failed(const char* what) const {
    std::perror((std::string(program_) + ": " + what).c_str());
    return false;
  }

  const char* program_;
  int line_ = -1;
  std::FILE* transcript_ = nullptr;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Reads what standard input holds and hands each whole line on; false once the test has closed it.
inline bool TakeInputLines(std::string& pending, const std::function<void(const std::string&)>& takeLine) {
  char chunk[4096];
  const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
  if (n <= 0) return false;
  pending.append(chunk, static_cast<std::size_t>(n));
  for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
    takeLine(pending.substr(0, end));
  }
  return true;
}

// Serves the line, each byte from the host to `received` and each line of standard input to
// `order`, until the test closes standard input (0) or the pair goes away (1).
inline int Serve(const PeerLine& peer, const std::function<void(std::uint8_t)>& received,
                 const std::function<void(const std::string&)>& order) {
  std::string input;
  for (;;) {
    pollfd watched[2] = {{peer.Line(), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    if (poll(watched, 2, -1) < 0) continue;
    if ((watched[0].revents & (POLLHUP | POLLERR)) && !(watched[0].revents & POLLIN)) return 1;
    if (watched[0].revents & POLLIN) {
      std::uint8_t bytes[256];
      const ssize_t n = read(peer.Line(), bytes, sizeof bytes);
      for (ssize_t i = 0; i < n; ++i) received(bytes[i]);
    }
    if ((watched[1].revents & (POLLIN | POLLHUP)) && !TakeInputLines(input, order)) return 0;
  }
}

}  // namespace peerline
