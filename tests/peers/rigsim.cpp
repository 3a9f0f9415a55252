// A simulated rig on a serial line (one end of a pseudo-terminal pair).
//
//   rigsim LINE TRANSCRIPT
//
// It appends every byte the host sends to TRANSCRIPT as "<milliseconds since start> <hex byte>"
// lines; the transcript file appears once the line is open. Each line of standard input is hex
// bytes to send to the host (the rig's answers); it ends when standard input closes or the line
// hangs up.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

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

void Record(std::FILE* transcript, std::chrono::steady_clock::time_point start, std::uint8_t byte) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  std::fprintf(transcript, "%lld %02X\n", static_cast<long long>(elapsed.count()), byte);
  std::fflush(transcript);
}

void Send(int line, const std::vector<std::uint8_t>& bytes) {
  if (!bytes.empty() && write(line, bytes.data(), bytes.size()) < 0) std::perror("rigsim: write");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rigsim LINE TRANSCRIPT\n");
    return 2;
  }
  const int line = open(argv[1], O_RDWR | O_NOCTTY);
  if (line < 0) {
    std::perror("rigsim: line");
    return 1;
  }
  MakeRaw(line);
  std::FILE* transcript = std::fopen(argv[2], "w");
  if (transcript == nullptr) {
    std::perror("rigsim: transcript");
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  std::string input;
  for (;;) {
    pollfd watched[2] = {{line, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    if (poll(watched, 2, -1) < 0) continue;
    if ((watched[0].revents & (POLLHUP | POLLERR)) && !(watched[0].revents & POLLIN)) return 1;  // pair gone
    if (watched[0].revents & POLLIN) {
      std::uint8_t bytes[256];
      const ssize_t n = read(line, bytes, sizeof bytes);
      for (ssize_t i = 0; i < n; ++i) Record(transcript, start, bytes[i]);
    }
    if (watched[1].revents & (POLLIN | POLLHUP)) {
      char chunk[256];
      const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
      if (n <= 0) return 0;  // the test is done with us
      input.append(chunk, static_cast<std::size_t>(n));
      for (std::size_t end; (end = input.find('\n')) != std::string::npos; input.erase(0, end + 1)) {
        Send(line, ParseHexBytes(input.substr(0, end)));
      }
    }
  }
}
