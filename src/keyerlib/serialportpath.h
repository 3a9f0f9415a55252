// Which device a serial port number stands for. Shared by the keyer library and the program's
// serial ports, so it uses nothing but the standard library.
#pragma once

#include <cstdlib>
#include <string>

namespace tapplink {

// Port n is /dev/ttyS<n-1> unless the environment variable CORVANE_PORT<n> names another
// device (a USB adapter, or a pseudo-terminal in tests). Port 0 has no device of its own.
inline std::string SerialPortPath(int portNumber) {
  const std::string variable = "CORVANE_PORT" + std::to_string(portNumber);
  if (const char* device = std::getenv(variable.c_str()); device != nullptr && *device != '\0') {
    return device;
  }
  if (portNumber < 1) return {};
  return "/dev/ttyS" + std::to_string(portNumber - 1);
}

}  // namespace tapplink
