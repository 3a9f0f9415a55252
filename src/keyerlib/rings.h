// The two fixed rings of the keyer library. Neither locks: the library's mutex guards them.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

namespace tapplink {

// Text and buffered commands waiting for the writer. 64 slots, at most 63 bytes pending.
// The host xoff flag tells a caller to stop feeding: raised above 42 pending, lowered once the
// writer has sent enough to leave 20 or fewer.
class TransmitRing {
 public:
  static constexpr int kSlots = 64;
  static constexpr int kCapacity = kSlots - 1;
  static constexpr int kXoffAbove = 42;
  static constexpr int kXonAtMost = 20;

  // Queues all the bytes or, when they do not fit, none of them.
  bool Queue(std::initializer_list<std::uint8_t> bytes);
  // The oldest byte, for the writer to send.
  std::uint8_t TakeOldest();
  // Takes back the newest byte before it was sent.
  void TakeBackNewest();
  // Forgets every pending byte and lowers the xoff flag.
  void Empty();

  bool IsEmpty() const { return pending_ == 0; }
  int Pending() const { return pending_; }
  bool Xoff() const { return xoff_; }

 private:
  std::array<std::uint8_t, kSlots> bytes_{};
  int readIndex_ = 0;
  int pending_ = 0;
  bool xoff_ = false;
};

// Echo bytes from the device until a caller reads them; a full ring drops its oldest byte.
class EchoRing {
 public:
  static constexpr int kSlots = 16;

  void Store(std::uint8_t byte);
  // The next unread byte, or 0 when there is none.
  std::uint8_t Next();

 private:
  std::array<std::uint8_t, kSlots> bytes_{};
  int readIndex_ = 0;
  int unread_ = 0;
};

}  // namespace tapplink
