// A simulated rig on a serial line (one end of a pseudo-terminal pair).
//
//   rigsim LINE TRANSCRIPT
//
// It appends every byte the host sends to TRANSCRIPT as "<milliseconds since start> <hex byte>"
// lines; the transcript file appears once the line is open. Each line of standard input is hex
// bytes to send to the host (the rig's answers); it ends when standard input closes or the line
// hangs up.
#include <cstdint>
#include <cstdio>
#include <string>

#include "peerline.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rigsim LINE TRANSCRIPT\n");
    return 2;
  }
  peerline::PeerLine peer("rigsim");
  if (!peer.Open(argv[1], argv[2])) return 1;
  return peerline::Serve(
      peer, [&](std::uint8_t byte) { peer.RecordTimed(byte); }, [&](const std::string& hex) { peer.SendHex(hex); });
}
