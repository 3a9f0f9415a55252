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
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "peerline.h"

namespace {

using Bytes = std::string;

Bytes ParseHex(const std::string& text) {
  const std::vector<std::uint8_t> bytes = peerline::ParseHexBytes(text);
  return Bytes(bytes.begin(), bytes.end());
}

struct Answer {
  Bytes request;
  std::vector<Bytes> replies;
  std::size_t next = 0;
};

class Responder {
 public:
  explicit Responder(const peerline::PeerLine& line) : line_(line) {}

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
    std::fwrite(bytes.data(), 1, bytes.size(), line_.Transcript());
    std::fflush(line_.Transcript());
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

  void Send(const Bytes& bytes) { line_.Send(bytes.data(), bytes.size()); }

  const peerline::PeerLine& line_;
  std::vector<Answer> answers_;
  Bytes pending_;
  bool holding_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rigresponder LINE TRANSCRIPT\n");
    return 2;
  }
  peerline::PeerLine peer("rigresponder");
  if (!peer.Open(argv[1], argv[2])) return 1;
  Responder responder(peer);
  std::string input;
  for (;;) {
    pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0},
                         {peer.Line(), static_cast<short>(responder.holding() ? 0 : POLLIN), 0}};
    if (poll(watched, 2, -1) < 0) continue;
    if (watched[0].revents & (POLLIN | POLLHUP)) {
      const auto order = [&](const std::string& line) { responder.Order(line); };
      if (!peerline::TakeInputLines(input, order)) return 0;  // the test is done with us
      continue;  // orders first: the line's bytes are looked at on the next pass
    }
    if ((watched[1].revents & (POLLHUP | POLLERR)) && !(watched[1].revents & POLLIN)) return 1;  // pair gone
    if (watched[1].revents & POLLIN) {
      char bytes[4096];
      const ssize_t n = read(peer.Line(), bytes, sizeof bytes);
      if (n > 0) responder.Received(Bytes(bytes, static_cast<std::size_t>(n)));
    }
  }
}
