#include "spotting/globals.h"
#include "spotting/spotstore.h"

#include "platform/clock.h"

#include <gtest/gtest.h>

using namespace spotting;

namespace {

class SpotStore : public ::testing::Test {
 protected:
  void SetUp() override { platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(18, 0)), 0); }

  // Files spots of distinct calls Q1A0, Q1A1, ... on 144.1xx MHz, one minute apart.
  static void StoreOthers(int count) {
    static int next = 0;
    for (int i = 0; i < count; ++i, ++next) {
      StoreSpot(QStringLiteral("Q1A%1").arg(next), 144.1f + next % 100 * 0.001f);
      platform::Clock::Advance(60'000);
    }
  }
};

}  // namespace

TEST(CallPrefix, TakesWhereTheStationIs) {
  const std::pair<const char*, const char*> cases[] = {
      {"Q1XYZ", "Q1"},     {"QXYZ", "QXYZ"},     {"QQ/Q1XYZ", "QQ"},  {"Q1XYZ/7", "Q7"},
      {"Q1XYZ/QP", "QP"},  {"Q1XYZ/QRPP", "QR"}, {"Q1", ""},          {"", ""},
      {"Q12XYZ", "Q12"},   {"QQ1XYZ/", ""},      {"q1xyz", "q1"},
  };
  for (const auto& [call, prefix] : cases) {
    EXPECT_EQ(CallPrefix(QString::fromLatin1(call)), QString::fromLatin1(prefix)) << call;
  }
}

TEST_F(SpotStore, StartsEmpty) {
  for (int slot = 0; slot < StoredSpots; ++slot) {
    EXPECT_TRUE(DXSpotCall[slot].isEmpty());
    EXPECT_EQ(DXSpotFreq[slot], 0.0f);
    EXPECT_FALSE(DXSpotTime[slot].isValid());
    EXPECT_TRUE(DXSpotPrefix[slot].isEmpty());
  }
}

TEST_F(SpotStore, NewestSpotTakesSlot49WithItsPrefixAndTime) {
  StoreSpot(QStringLiteral("Q1XYZ/7"), 50.125f);
  EXPECT_EQ(DXSpotCall[49], QStringLiteral("Q1XYZ/7"));
  EXPECT_EQ(DXSpotFreq[49], 50.125f);
  EXPECT_EQ(DXSpotTime[49], platform::Now());
  EXPECT_EQ(DXSpotPrefix[49], QStringLiteral("Q7"));
  EXPECT_EQ(DXSpotFreq[48], 0.0f);
}

TEST_F(SpotStore, The51stSpotDropsTheOldest) {
  StoreSpot(QStringLiteral("Q9OLD"), 144.05f);
  const QDateTime secondTime = platform::Now().addSecs(60);
  platform::Clock::Advance(60'000);
  StoreSpot(QStringLiteral("Q8SECOND"), 144.06f);
  platform::Clock::Advance(60'000);
  StoreOthers(49);
  for (int slot = 0; slot < StoredSpots; ++slot) EXPECT_NE(DXSpotCall[slot], QStringLiteral("Q9OLD"));
  EXPECT_EQ(DXSpotCall[0], QStringLiteral("Q8SECOND"));
  EXPECT_EQ(DXSpotFreq[0], 144.06f);
  EXPECT_EQ(DXSpotTime[0], secondTime);
  EXPECT_EQ(DXSpotPrefix[0], QStringLiteral("Q8"));
  for (int slot = 1; slot < StoredSpots; ++slot) EXPECT_EQ(DXSpotPrefix[slot], CallPrefix(DXSpotCall[slot])) << slot;
}

TEST_F(SpotStore, ASecondSpotOfACallClearsTheFirstInAnyLetterCase) {
  StoreSpot(QStringLiteral("q1xyz"), 144.2f);
  StoreOthers(3);
  StoreSpot(QStringLiteral("Q1XYZ"), 144.3f);
  EXPECT_EQ(DXSpotCall[45], QStringLiteral("q1xyz"));
  EXPECT_EQ(DXSpotFreq[45], 0.0f);
  EXPECT_EQ(DXSpotFreq[49], 144.3f);
  for (int slot = 46; slot < 49; ++slot) EXPECT_NE(DXSpotFreq[slot], 0.0f);
}

TEST_F(SpotStore, AThirdSpotClearsOnlyTheSecond) {
  StoreSpot(QStringLiteral("Q1XYZ"), 144.2f);
  StoreOthers(1);
  StoreSpot(QStringLiteral("Q1XYZ"), 144.25f);
  ASSERT_EQ(DXSpotFreq[47], 0.0f);
  ASSERT_EQ(DXSpotFreq[49], 144.25f);
  StoreOthers(1);
  StoreSpot(QStringLiteral("Q1XYZ"), 144.3f);
  EXPECT_EQ(DXSpotFreq[45], 0.0f);  // the first, cleared at the second
  EXPECT_EQ(DXSpotFreq[47], 0.0f);  // the second, cleared now
  EXPECT_EQ(DXSpotFreq[49], 144.3f);
  EXPECT_NE(DXSpotFreq[46], 0.0f);
  EXPECT_NE(DXSpotFreq[48], 0.0f);
}

TEST_F(SpotStore, AnEarlierSpotInSlot0IsNotCleared) {
  StoreSpot(QStringLiteral("Q1XYZ"), 144.2f);
  StoreOthers(48);
  ASSERT_EQ(DXSpotCall[1], QStringLiteral("Q1XYZ"));
  StoreSpot(QStringLiteral("Q1XYZ"), 144.3f);
  EXPECT_EQ(DXSpotCall[0], QStringLiteral("Q1XYZ"));
  EXPECT_EQ(DXSpotFreq[0], 144.2f);
  EXPECT_EQ(DXSpotFreq[49], 144.3f);
}

TEST_F(SpotStore, RemovingTakesOnlySlotsOfTheStore) {
  StoreSpot(QStringLiteral("Q1XYZ"), 144.2f);
  for (const int index : {-1, 50, 51, 32767}) {
    EXPECT_FALSE(IsSpotSlot(index));
    RemoveSpot(index);
  }
  EXPECT_EQ(DXSpotFreq[49], 144.2f);
  EXPECT_TRUE(IsSpotSlot(49));
  RemoveSpot(49);
  EXPECT_EQ(DXSpotFreq[49], 0.0f);
  EXPECT_EQ(DXSpotCall[49], QStringLiteral("Q1XYZ"));
}
