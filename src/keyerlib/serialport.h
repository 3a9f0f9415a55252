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
  // TP_PORT_STATE_SET_FAILED with no port held and errno at the system's reason. Reads then time
  // out after 250 ms.
  int SerialOpen(const std::string& path);
  // 0 once every byte was written, else the system's reason: ETIMEDOUT when the line had not
  // taken them all by the deadline (a link whose device stopped reading), EIO for a line gone.
  int SerialWrite(const std::uint8_t* bytes, std::size_t count, Deadline deadline);
  // 0 once all bytes arrived, ETIMEDOUT when they did not within the read time-out, else the
  // system's reason of a line that failed (EIO for one hung up: a device unplugged).
  int SerialRead(std::uint8_t* buffer, std::size_t count);
  void SetReadTimeout(Milliseconds timeout) { readTimeout_ = timeout; }
  // Gives the line until `lastBytesBy` to send what it still holds and drops the rest, so the
  // close never waits on a line that takes nothing; then drops DTR and lets the device go.
  void Close(Deadline lastBytesBy);
  void Close() { Close(Deadline{}); }
  bool IsHeld() const { return fd_ >= 0; }

  // The DTR state last asked for: pseudo-terminals have no modem lines to read it back from.
  bool DtrRaisedForTesting() const { return dtrRaised_; }

 private:
  int Configure();
  bool SetDtr(bool raised);
  void SendHeldBytes(Deadline lastBytesBy);

  int fd_ = -1;
  Milliseconds readTimeout_{250};
  bool dtrRaised_ = false;
};

}  // namespace tapplink
