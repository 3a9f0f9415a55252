#include "platform/agwframe.h"

#include <QtEndian>

#include <cstring>

namespace platform {

namespace {

constexpr int PortAt = 0;
constexpr int KindAt = 4;
constexpr int PidAt = 6;
constexpr int CallFromAt = 8;
constexpr int CallToAt = 18;
constexpr int LengthAt = 28;

void PutCall(QByteArray& header, int at, const QByteArray& call) {
  const QByteArray field = call.left(AgwCallSize);
  std::memcpy(header.data() + at, field.constData(), static_cast<std::size_t>(field.size()));
}

// A call field up to its first NUL.
QByteArray CallAt(const char* header, int at) { return QByteArray(header + at, static_cast<qsizetype>(qstrnlen(header + at, AgwCallSize))); }

bool IsLetter(char kind) { return (kind >= 'A' && kind <= 'Z') || (kind >= 'a' && kind <= 'z'); }

}  // namespace

QByteArray EncodeAgwFrame(const AgwFrame& frame) {
  QByteArray bytes(AgwHeaderSize, '\0');
  bytes[PortAt] = static_cast<char>(frame.port);
  bytes[KindAt] = frame.kind;
  bytes[PidAt] = static_cast<char>(frame.pid);
  PutCall(bytes, CallFromAt, frame.callFrom);
  PutCall(bytes, CallToAt, frame.callTo);
  qToLittleEndian<quint32>(static_cast<quint32>(frame.data.size()), bytes.data() + LengthAt);
  return bytes + frame.data;
}

void AgwFrameReader::Append(const QByteArray& bytes) {
  if (!fault_.isEmpty()) return;
  if (start_ > 0) {
    pending_.remove(0, start_);
    start_ = 0;
  }
  pending_ += bytes;
}

std::optional<AgwFrame> AgwFrameReader::Next() {
  if (!fault_.isEmpty() || pending_.size() - start_ < AgwHeaderSize) return std::nullopt;
  const char* header = pending_.constData() + start_;
  const char kind = header[KindAt];
  const quint32 length = qFromLittleEndian<quint32>(header + LengthAt);
  if (!IsLetter(kind)) {
    fault_ = QStringLiteral("frame kind %1 is no letter").arg(static_cast<unsigned char>(kind));
    return std::nullopt;
  }
  if (length > AgwLargestData) {
    fault_ = QStringLiteral("data length %1 is beyond %2").arg(length).arg(AgwLargestData);
    return std::nullopt;
  }
  if (pending_.size() - start_ < AgwHeaderSize + static_cast<qsizetype>(length)) return std::nullopt;
  AgwFrame frame;
  frame.port = static_cast<std::uint8_t>(header[PortAt]);
  frame.kind = kind;
  frame.pid = static_cast<std::uint8_t>(header[PidAt]);
  frame.callFrom = CallAt(header, CallFromAt);
  frame.callTo = CallAt(header, CallToAt);
  frame.data = pending_.mid(start_ + AgwHeaderSize, length);
  start_ += AgwHeaderSize + length;
  return frame;
}

}  // namespace platform
