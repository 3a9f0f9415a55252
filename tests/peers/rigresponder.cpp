// A rig that answers polls, on a serial line (one end of a pseudo-terminal pair).
//
//   rigresponder LINE TRANSCRIPT
//
// Every byte the host sends is appended to TRANSCRIPT as it arrives (raw bytes); the file
// appears once the line is open. Standard input carries the test's orders, one a line, in hex:
//   answer REQUEST = REPLY [| REPLY ...]   when REQUEST has arrived, send the next REPLY (the
//                                           last one repeats); replaces the answers to REQUEST
//   forget                                  answer nothing any more
//   send BYTES                              send the bytes now
//   hold / release                          stop / start reading the line (it fills up)
// Orders are taken before the line's bytes that arrive at the same moment. It ends when standard
// input closes or the line hangs up.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::string;

Bytes ParseHex(const std::string& text) {
  Bytes bytes;
  std::istringstream words(text);
  for (std::string word; words >> word;) bytes.push_back(static_cast<char>(std::stoul(word, nullptr, 16)));
  return bytes;
}

struct Answer {
  Bytes request;
  std::vector<Bytes> replies;
  std::size_t next = 0;
};

class Responder {
 public:
  Responder(int line, std::FILE* transcript) : line_(line), transcript_(transcript) {}

  bool holding() const { return holding_; }

  void Order(const std::string& order) {
    std::istringstream words(order);
    std::string verb;
    words >> verb;
    std::string rest;
    std::getline(words, rest);
    if (verb == "answer") Learn(rest);
    if (verb == "forget") answers_.clear();
    if (verb == "send") Send(ParseHex(rest));
    if (verb == "hold") holding_ = true;
    if (verb == "release") holding_ = false;
  }

  void Received(const Bytes& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), transcript_);
    std::fflush(transcript_);
    pending_ += bytes;
    while (AnswerFirstRequest()) {
    }
    if (pending_.size() > 4096) pending_.erase(0, pending_.size() - 4096);
  }

 private:
  void Learn(const std::string& text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) return;
    Answer answer{ParseHex(text.substr(0, equals)), {}, 0};
    std::istringstream replies(text.substr(equals + 1));
    for (std::string reply; std::getline(replies, reply, '|');) answer.replies.push_back(ParseHex(reply));
    for (Answer& known : answers_) {
      if (known.request == answer.request) {
        known = answer;
        return;
      }
    }
    answers_.push_back(answer);
  }

  // Answers the request that arrived first; what came before it is dropped.
  bool AnswerFirstRequest() {
    Answer* first = nullptr;
    std::size_t at = Bytes::npos;
    for (Answer& answer : answers_) {
      const std::size_t found = answer.request.empty() ? Bytes::npos : pending_.find(answer.request);
      if (found < at) {
        at = found;
        first = &answer;
      }
    }
    if (first == nullptr) return false;
    pending_.erase(0, at + first->request.size());
    if (!first->replies.empty()) {
      Send(first->replies[first->next]);
      if (first->next + 1 < first->replies.size()) ++first->next;
    }
    return true;
  }

  void Send(const Bytes& bytes) {
    if (!bytes.empty() && write(line_, bytes.data(), bytes.size()) < 0) std::perror("rigresponder: write");
  }

  int line_;
  std::FILE* transcript_;
  std::vector<Answer> answers_;
  Bytes pending_;
  bool holding_ = false;
};

void MakeRaw(int line) {
  termios settings{};
  if (tcgetattr(line, &settings) != 0) return;
  cfmakeraw(&settings);
  tcsetattr(line, TCSANOW, &settings);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rigresponder LINE TRANSCRIPT\n");
    return 2;
  }
  const int line = open(argv[1], O_RDWR | O_NOCTTY);
  if (line < 0) {
    std::perror("rigresponder: line");
    return 1;
  }
  MakeRaw(line);
  std::FILE* transcript = std::fopen(argv[2], "wb");
  if (transcript == nullptr) {
    std::perror("rigresponder: transcript");
    return 1;
  }
  Responder responder(line, transcript);
  std::string input;
  for (;;) {
    pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {line, static_cast<short>(responder.holding() ? 0 : POLLIN), 0}};
    if (poll(watched, 2, -1) < 0) continue;
    if (watched[0].revents & (POLLIN | POLLHUP)) {
      char chunk[4096];
      const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
      if (n <= 0) return 0;  // the test is done with us
      input.append(chunk, static_cast<std::size_t>(n));
      for (std::size_t end; (end = input.find('\n')) != std::string::npos; input.erase(0, end + 1)) {
        responder.Order(input.substr(0, end));
      }
      continue;  // orders first: the line's bytes are looked at on the next pass
    }
    if ((watched[1].revents & (POLLHUP | POLLERR)) && !(watched[1].revents & POLLIN)) return 1;  // pair gone
    if (watched[1].revents & POLLIN) {
      char bytes[4096];
      const ssize_t n = read(line, bytes, sizeof bytes);
      if (n > 0) responder.Received(Bytes(bytes, static_cast<std::size_t>(n)));
    }
  }
}
