#include "rings.h"

namespace tapplink {

bool TransmitRing::Queue(std::initializer_list<std::uint8_t> bytes) {
  if (pending_ + static_cast<int>(bytes.size()) > kCapacity) return false;
  for (const std::uint8_t byte : bytes) {
    bytes_[(readIndex_ + pending_) % kSlots] = byte;
    ++pending_;
  }
  if (pending_ > kXoffAbove) xoff_ = true;
  return true;
}

std::uint8_t TransmitRing::TakeOldest() {
  const std::uint8_t byte = bytes_[readIndex_];
  readIndex_ = (readIndex_ + 1) % kSlots;
  --pending_;
  if (pending_ <= kXonAtMost) xoff_ = false;
  return byte;
}

void TransmitRing::TakeBackNewest() { --pending_; }

void TransmitRing::Empty() {
  readIndex_ = 0;
  pending_ = 0;
  xoff_ = false;
}

void EchoRing::Store(std::uint8_t byte) {
  if (unread_ == kSlots) {
    readIndex_ = (readIndex_ + 1) % kSlots;
    --unread_;
  }
  bytes_[(readIndex_ + unread_) % kSlots] = byte;
  ++unread_;
}

std::uint8_t EchoRing::Next() {
  if (unread_ == 0) return 0;
  const std::uint8_t byte = bytes_[readIndex_];
  readIndex_ = (readIndex_ + 1) % kSlots;
  --unread_;
  return byte;
}

}  // namespace tapplink
