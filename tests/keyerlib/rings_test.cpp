// The transmit ring's limits and the echo ring's overflow.
#include <gtest/gtest.h>

#include "rings.h"

using tapplink::EchoRing;
using tapplink::TransmitRing;

namespace {

void QueueLetters(TransmitRing& ring, int count) {
  for (int i = 0; i < count; ++i) ASSERT_TRUE(ring.Queue({static_cast<std::uint8_t>('A' + i % 26)}));
}

}  // namespace

TEST(TransmitRing, XoffFromThe43rdPendingByteUntil20AreLeft) {
  TransmitRing ring;
  QueueLetters(ring, 42);
  EXPECT_FALSE(ring.Xoff());
  QueueLetters(ring, 1);
  EXPECT_TRUE(ring.Xoff());
  ring.TakeBackNewest();  // only sending lowers it
  while (ring.Pending() > 20) {
    EXPECT_TRUE(ring.Xoff()) << ring.Pending() << " pending";
    ring.TakeOldest();
  }
  EXPECT_FALSE(ring.Xoff());
}

TEST(TransmitRing, HoldsAtMost63BytesAndRefusesACommandWhole) {
  TransmitRing ring;
  QueueLetters(ring, 61);
  EXPECT_FALSE(ring.Queue({0x16, 0x01, 5}));
  EXPECT_EQ(ring.Pending(), 61);
  EXPECT_TRUE(ring.Queue({0x1C, 20}));
  EXPECT_FALSE(ring.Queue({'Z'}));
  // The bytes come out in order across the wrap of the slots.
  for (int i = 0; i < 61; ++i) EXPECT_EQ(ring.TakeOldest(), 'A' + i % 26);
  EXPECT_TRUE(ring.Queue({'X', 'Y'}));
  EXPECT_EQ(ring.TakeOldest(), 0x1C);
  EXPECT_EQ(ring.TakeOldest(), 20);
  EXPECT_EQ(ring.TakeOldest(), 'X');
  ring.Empty();
  EXPECT_TRUE(ring.IsEmpty());
}

TEST(EchoRing, FullRingDropsItsOldestByte) {
  EchoRing ring;
  EXPECT_EQ(ring.Next(), 0);
  for (std::uint8_t byte = 1; byte <= EchoRing::kSlots + 1; ++byte) ring.Store(byte);
  for (std::uint8_t byte = 2; byte <= EchoRing::kSlots + 1; ++byte) EXPECT_EQ(ring.Next(), byte);
  EXPECT_EQ(ring.Next(), 0);
}
