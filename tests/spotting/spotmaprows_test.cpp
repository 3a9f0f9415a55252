#include "spotting/spotmaprows.h"

#include "platform/clock.h"
#include "spotting/globals.h"
#include "spotting/spotstore.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <optional>

namespace {

using spotting::SpectrumRowScale;
using spotting::SpectrumSpot;

const QDateTime kNow(QDate(2024, 6, 8), QTime(18, 0));

class SpectrumRowsTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::Clock::SetFake(kNow, 0); }

  // A spot put straight into a slot, arrived ageSeconds ago.
  static void Put(int slot, const QString& call, float megahertz, int ageSeconds = 0) {
    spotting::DXSpotCall[slot] = call;
    spotting::DXSpotFreq[slot] = megahertz;
    spotting::DXSpotTime[slot] = kNow.addSecs(-ageSeconds);
    spotting::DXSpotPrefix[slot] = spotting::CallPrefix(call);
  }

  static QStringList Captions(int row) {
    QStringList captions;
    for (double value : SpectrumRowScale(row)) captions << spotting::ThreeDecimalText(value);
    return captions;
  }

  // The labels the map shows, placed on the scales as drawn now.
  static std::vector<SpectrumSpot> Shown() {
    spotting::SpectrumScaleEnds ends;
    for (int row = 0; row < spotting::SpectrumRows; ++row) {
      const std::array<double, 5> scale = SpectrumRowScale(row);
      ends[row] = {scale[0], scale[4]};
    }
    return spotting::SpotsOnSpectrumMap(ends, 0);
  }
  static std::vector<int> ShownSlots() {
    std::vector<int> shownSlots;
    for (const SpectrumSpot& spot : Shown()) shownSlots.push_back(spot.Label.Slot);
    return shownSlots;
  }
};

TEST_F(SpectrumRowsTest, AFrequencyBelongsToTheRowWhoseFixedEdgesHoldItStrictly) {
  const struct {
    float megahertz;
    std::optional<int> row;
  } cases[] = {
      {1.9f, 0},     {3.7f, 1},     {7.1f, 2},       {10.125f, 3},       {14.2f, 4},   {18.1f, 5},
      {21.2f, 6},    {24.9f, 7},    {28.5f, 8},      {52.0f, 9},         {146.0f, 10}, {0.0f, std::nullopt},
      {1.8f, std::nullopt},  {2.0f, std::nullopt},   {14.0f, std::nullopt}, {14.35f, std::nullopt},
      {5.357f, std::nullopt}, {148.0f, std::nullopt}, {432.1f, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(spotting::SpectrumRowOf(c.megahertz), c.row) << c.megahertz;
}

TEST_F(SpectrumRowsTest, AnEmptyStoreShowsEveryRowsWholeBandAndNoLabel) {
  EXPECT_EQ(Captions(0), QStringList({"1.800", "1.850", "1.900", "1.950", "2.000"}));
  EXPECT_EQ(Captions(3), QStringList({"10.100", "10.113", "10.125", "10.137", "10.150"}));
  EXPECT_EQ(Captions(10), QStringList({"144.000", "145.000", "146.000", "147.000", "148.000"}));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(SpectrumRowsTest, TwoSpotsNarrowTheirRowAndStandAtATwelfthFromEachEnd) {
  Put(48, "Q1XYZ", 14.020f);
  Put(49, "Q2ABC", 14.030f);
  EXPECT_EQ(Captions(4), QStringList({"14.019", "14.022", "14.025", "14.028", "14.031"}));
  EXPECT_EQ(Captions(3), QStringList({"10.100", "10.113", "10.125", "10.137", "10.150"})) << "other rows stay whole";
  const std::vector<SpectrumSpot> shown = Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].Row, 4);
  EXPECT_EQ(shown[0].Label.Slot, 49);
  EXPECT_NEAR(shown[0].Label.Along, 11.0 / 12, 1e-4);
  EXPECT_EQ(shown[0].Label.Caption, "Q2");
  EXPECT_EQ(shown[0].Label.ToolTip, "Q2ABC  14.030  18:00:00");
  EXPECT_NEAR(shown[1].Label.Along, 1.0 / 12, 1e-4);
}

TEST_F(SpectrumRowsTest, OneSpotOrSpotsOnOneFrequencyKeepTheWholeBand) {
  Put(49, "Q1XYZ", 7.050f);
  EXPECT_EQ(Captions(2), QStringList({"7.000", "7.075", "7.150", "7.225", "7.300"}));
  Put(48, "Q2ABC", 7.050f);
  EXPECT_EQ(Captions(2), QStringList({"7.000", "7.075", "7.150", "7.225", "7.300"}));
  EXPECT_NEAR(Shown()[0].Label.Along, 50.0 / 300, 1e-4);
}

TEST_F(SpectrumRowsTest, SpotsOnABandEdgeOrBetweenTheRowsAreNeverShownAndMoveNoScale) {
  Put(49, "Q1XYZ", 14.000f);
  Put(48, "Q2ABC", 14.350f);
  Put(47, "Q3DEF", 5.357f);
  Put(46, "Q4GHI", 14.100f);
  EXPECT_EQ(Captions(4), QStringList({"14.000", "14.088", "14.175", "14.263", "14.350"}));
  EXPECT_EQ(ShownSlots(), std::vector<int>{46});
}

TEST_F(SpectrumRowsTest, TheOldestSlotAndSpotsAnHourOldStillCountInTheZoom) {
  Put(0, "Q1XYZ", 21.010f);
  Put(49, "Q2ABC", 21.300f);
  EXPECT_EQ(Captions(6).front(), "21.009") << "slot 0 widens its row";
  EXPECT_EQ(ShownSlots(), std::vector<int>({49}))
      << "the empty slot 48 ends the labels before slot 0";

  Put(48, "Q3DEF", 50.100f, 3600);
  Put(47, "Q4GHI", 50.200f, 3600);
  EXPECT_EQ(Captions(9).front(), "50.099");
  EXPECT_EQ(Captions(9).back(), "50.201");
  EXPECT_EQ(ShownSlots(), std::vector<int>({49}));
}

TEST_F(SpectrumRowsTest, AgesColourTheLabelsAndTheFirstHourOldSlotEndsThePass) {
  const struct {
    int age;
    std::optional<platform::Color> color;  // none: nothing shown from that slot on
  } cases[] = {
      {0, spotting::YoungSpotColor},   {599, spotting::YoungSpotColor}, {600, spotting::RecentSpotColor},
      {1799, spotting::RecentSpotColor}, {1800, spotting::OldSpotColor},  {3599, spotting::OldSpotColor},
      {3600, std::nullopt},             {86400, std::nullopt},
  };
  for (const auto& c : cases) {
    Put(49, "Q1XYZ", 28.400f, c.age);
    Put(48, "Q2ABC", 28.500f);
    const std::vector<SpectrumSpot> shown = Shown();
    if (!c.color) {
      EXPECT_TRUE(shown.empty()) << c.age << ": a younger spot below is not shown either";
      continue;
    }
    ASSERT_EQ(shown.size(), 2u) << c.age;
    EXPECT_EQ(shown[0].Label.ForeColor, *c.color) << c.age;
  }
}

TEST_F(SpectrumRowsTest, ARemovedSpotEndsThePassOnlyByItsAge) {
  Put(48, "Q2ABC", 28.500f);
  Put(49, "Q1XYZ", 28.400f);
  spotting::RemoveSpot(49);
  EXPECT_EQ(ShownSlots(), std::vector<int>{48}) << "removed but young";
  spotting::DXSpotTime[49] = kNow.addSecs(-3600);
  EXPECT_TRUE(ShownSlots().empty()) << "removed and an hour old";
  spotting::DXSpotTime[49] = QDateTime();
  EXPECT_TRUE(ShownSlots().empty()) << "never filled";
}

}  // namespace
