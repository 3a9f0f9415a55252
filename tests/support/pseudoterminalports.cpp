#include "pseudoterminalports.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>

namespace peertesting {

PseudoTerminalPorts::PseudoTerminalPorts() {
  for (int port = 1; port <= kPorts; ++port) {
    // The master end stays open, so the program can open the other end as its port.
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    char device[128];
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, device, sizeof device) != 0) {
      if (master >= 0) close(master);
      throw std::runtime_error("no pseudo-terminal for serial port " + std::to_string(port));
    }
    masters_.push_back(master);
    devices_.emplace_back(device);
  }
}

PseudoTerminalPorts::~PseudoTerminalPorts() {
  for (const int master : masters_) close(master);
}

void PseudoTerminalPorts::Apply() const {
  char drained[4096];
  for (std::size_t index = 0; index < masters_.size(); ++index) {
    setenv(("CORVANE_PORT" + std::to_string(index + 1)).c_str(), devices_[index].c_str(), 1);
    while (read(masters_[index], drained, sizeof drained) > 0) {
    }
  }
}

}  // namespace peertesting
