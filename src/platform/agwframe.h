#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace platform {

// The frames of the AGW packet engine's TCP interface. Each is a 36-byte header, numbers little
// endian, then the data:
//   0  radio port (0 is the engine's first), 3 bytes reserved
//   4  kind, a letter ('X' register, 'm' monitor, 'C' connect, 'd' disconnect, 'D' data,
//      'U' monitored unnumbered frame, ...), 1 byte reserved
//   6  PID (F0 for plain text), 1 byte reserved
//   8  CallFrom, 10 bytes, NUL-padded
//  18  CallTo, 10 bytes, NUL-padded
//  28  data length, 32 bits
//  32  user, 32 bits, reserved (0)
inline constexpr int AgwHeaderSize = 36;
inline constexpr int AgwCallSize = 10;
// The longest data accepted from the engine; a longer length is a damaged or hostile stream.
inline constexpr std::uint32_t AgwLargestData = 64 * 1024;

struct AgwFrame {
  std::uint8_t port = 0;
  char kind = 0;
  std::uint8_t pid = 0;
  QByteArray callFrom{};  // at most 10 bytes, without NUL padding
  QByteArray callTo{};
  QByteArray data{};
};

// The frame as it goes on the wire; calls longer than their field are cut to it.
QByteArray EncodeAgwFrame(const AgwFrame& frame);

// Takes the engine's byte stream in pieces as they arrive and hands out whole frames. A header
// whose kind is no letter or whose length is beyond AgwLargestData ends the stream: nothing
// further is handed out, and Fault says why.
class AgwFrameReader {
 public:
  void Append(const QByteArray& bytes);
  // The next whole frame; nothing while the next one is incomplete or after a fault.
  std::optional<AgwFrame> Next();
  const QString& Fault() const { return fault_; }
  // Whether part of a frame has come and waits for its rest.
  bool WithinFrame() const { return pending_.size() > start_; }

 private:
  QByteArray pending_;
  qsizetype start_ = 0;  // where the next frame begins in pending_
  QString fault_;
};

}  // namespace platform
