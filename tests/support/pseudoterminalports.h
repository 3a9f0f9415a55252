// Serial port n opens /dev/ttyS<n-1> unless CORVANE_PORT<n> names another device, so a test
// that reaches a port it set up no line for would open a real port of the machine: one a normal
// user may not open, and one root would drive. These point every port number a test can reach at
// a pseudo-terminal of the test's own process instead. Plain C++, no Qt.
#pragma once

#include <string>
#include <vector>

namespace peertesting {

class PseudoTerminalPorts {
 public:
  // Ports 1 to 32: the most serial ports Linux makes without a boot option of its own.
  static constexpr int kPorts = 32;

  // Opens a pseudo-terminal for each port; throws std::runtime_error when one cannot be had.
  PseudoTerminalPorts();
  ~PseudoTerminalPorts();
  PseudoTerminalPorts(const PseudoTerminalPorts&) = delete;
  PseudoTerminalPorts& operator=(const PseudoTerminalPorts&) = delete;

  // Points CORVANE_PORT1 to CORVANE_PORT<kPorts> at them, over whatever a test or the user's own
  // environment set or unset, and drops what the program wrote to them.
  void Apply() const;

 private:
  std::vector<int> masters_;
  std::vector<std::string> devices_;
};

}  // namespace peertesting
