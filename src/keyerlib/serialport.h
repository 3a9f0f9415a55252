// The keyer device's serial port: raw 1200 baud 8N1, not shared, DTR raised while held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "keyerclock.h"

namespace tapplink {

class SerialPort {
 public:
  SerialPort() = default;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;
  ~SerialPort();

  // Opens and configures the device: 0, or TP_PORT_OPEN_FAILED, TP_PORT_STATE_READ_FAILED,
  // TP_PORT_STATE_SET_FAILED with no port held. Reads then time out after 250 ms.
  int SerialOpen(const std::string& path);
  // True only when every byte was written; waits as long as the line needs.
  bool SerialWrite(const std::uint8_t* bytes, std::size_t count);
  // True only when all bytes arrived within the read time-out.
  bool SerialRead(std::uint8_t* buffer, std::size_t count);
  void SetReadTimeout(Milliseconds timeout) { readTimeout_ = timeout; }
  // Drops DTR and lets the device go.
  void Close();
  bool IsHeld() const { return fd_ >= 0; }

  // The DTR state last asked for: pseudo-terminals have no modem lines to read it back from.
  bool DtrRaisedForTesting() const { return dtrRaised_; }

 private:
  int Configure();
  bool SetDtr(bool raised);

  int fd_ = -1;
  Milliseconds readTimeout_{250};
  bool dtrRaised_ = false;
};

}  // namespace tapplink
