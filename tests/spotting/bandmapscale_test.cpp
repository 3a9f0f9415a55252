#include "spotting/bandmapscale.h"
#include "spotting/globals.h"
#include "spotting/spotstore.h"

#include "logging/bandfrequency.h"
#include "logging/logstore.h"
#include "platform/clock.h"

#include <gtest/gtest.h>

using namespace spotting;

namespace {

using Captions = std::array<QString, 5>;

Captions CaptionsOf(std::initializer_list<const char*> texts) {
  Captions captions;
  int k = 0;
  for (const char* text : texts) captions[k++] = QString::fromLatin1(text);
  return captions;
}

class BandMap : public ::testing::Test {
 protected:
  void SetUp() override { platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(18, 0)), 0); }

  // The labels the main band map shows for a band, read back from its scale as the map does.
  static std::vector<PlacedSpot> Shown(const QString& band, float utcOffset = 0) {
    const Captions captions = BandMapScaleCaptions(band);
    return SpotsOnBandMap(captions[0].toFloat(), captions[4].toFloat(), utcOffset);
  }

  static void Store(int count, float megahertz) {
    static int next = 0;
    for (int i = 0; i < count; ++i) StoreSpot(QStringLiteral("Q3B%1").arg(next++), megahertz);
  }
};

}  // namespace

TEST(BandEdges, TheTenBandsInAnyCaseAndNothingElse) {
  EXPECT_EQ(BandEdges(QStringLiteral("50 M")).Low, 50);
  EXPECT_EQ(BandEdges(QStringLiteral("144 m")).High, 148);
  EXPECT_EQ(BandEdges(QStringLiteral("222 M")).Low, 218);
  EXPECT_EQ(BandEdges(QStringLiteral("10 g")).High, 10500);
  for (const char* band : {"24 G", "300 G", "", "144M"}) {
    EXPECT_EQ(BandEdges(QString::fromLatin1(band)).Low, 0) << band;
    EXPECT_EQ(BandEdges(QString::fromLatin1(band)).High, 0) << band;
  }
  // Each band's scale spans the log's band of that name, whatever their edges.
  for (int index = 0; index < 10; ++index) {
    const QString& band = logging::BandNames[index];
    const FrequencyRange edges = BandEdges(band);
    EXPECT_EQ(logging::BandOfFrequency(static_cast<float>((edges.Low + edges.High) / 2)), band) << band.toStdString();
  }
}

TEST(ThreeDecimalText, AsTheScalesShowValues) {
  const std::pair<double, const char*> cases[] = {
      {0, ".000"},       {0.5, ".500"},        {1, "1.000"},         {144, "144.000"},
      {144.2f, "144.200"}, {144.2245001, "144.225"}, {10499.9996, "10500.000"}, {-0.25, "-.250"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(ThreeDecimalText(value), QString::fromLatin1(text)) << value;
}

TEST_F(BandMap, OneSpotKeepsTheWholeBandAndSits5PercentAlong) {
  StoreSpot(QStringLiteral("Q1XYZ"), 144.2f);
  EXPECT_EQ(BandMapScaleCaptions(QStringLiteral("144 M")),
            CaptionsOf({"144.000", "145.000", "146.000", "147.000", "148.000"}));
  const std::vector<PlacedSpot> shown = Shown(QStringLiteral("144 M"));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Slot, 49);
  EXPECT_NEAR(shown[0].Along, 0.05, 0.0001);
  EXPECT_EQ(shown[0].Caption, QStringLiteral("Q1"));
  EXPECT_EQ(shown[0].ForeColor, YoungSpotColor);
}

TEST_F(BandMap, TwoFrequenciesNarrowTheScaleToAMillihertzBeyondThem) {
  StoreSpot(QStringLiteral("Q1XYZ"), 144.2f);
  StoreSpot(QStringLiteral("Q2ABC"), 144.3f);
  EXPECT_EQ(BandMapScaleCaptions(QStringLiteral("144 M")),
            CaptionsOf({"144.199", "144.224", "144.250", "144.276", "144.301"}));
  const std::vector<PlacedSpot> shown = Shown(QStringLiteral("144 M"));
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].Slot, 49);
  EXPECT_NEAR(shown[0].Along, 0.99, 0.001);
  EXPECT_EQ(shown[1].Slot, 48);
  EXPECT_NEAR(shown[1].Along, 0.01, 0.001);
}

TEST_F(BandMap, SpotsOnOneFrequencyOrOnTheBandEdgeKeepTheWholeBand) {
  Store(2, 144.2f);
  Store(1, 148.0f);
  EXPECT_EQ(BandMapScaleCaptions(QStringLiteral("144 M"))[0], QStringLiteral("144.000"));
  EXPECT_EQ(BandMapScaleCaptions(QStringLiteral("144 M"))[4], QStringLiteral("148.000"));
}

TEST_F(BandMap, ASpotOnTheBandEdgeIsNotShown) {
  StoreSpot(QStringLiteral("Q1XYZ"), 50.0f);
  StoreSpot(QStringLiteral("Q2ABC"), 54.0f);
  EXPECT_EQ(BandMapScaleCaptions(QStringLiteral("50 M")),
            CaptionsOf({"50.000", "51.000", "52.000", "53.000", "54.000"}));
  EXPECT_TRUE(Shown(QStringLiteral("50 M")).empty());
}

TEST_F(BandMap, Slot0DoesNotNarrowAndOutsideTheNarrowedScaleIsNotShown) {
  StoreSpot(QStringLiteral("Q9OLD"), 146.0f);
  StoreSpot(QStringLiteral("Q1XYZ"), 144.2f);
  StoreSpot(QStringLiteral("Q2ABC"), 144.3f);
  Store(47, 50.1f);
  ASSERT_EQ(DXSpotCall[0], QStringLiteral("Q9OLD"));
  EXPECT_EQ(BandMapScaleCaptions(QStringLiteral("144 M"))[4], QStringLiteral("144.301"));
  const std::vector<PlacedSpot> shown = Shown(QStringLiteral("144 M"));
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].Slot, 2);
  EXPECT_EQ(shown[1].Slot, 1);
}

TEST_F(BandMap, Slot0InsideTheScaleIsShown) {
  StoreSpot(QStringLiteral("Q9OLD"), 144.25f);
  StoreSpot(QStringLiteral("Q1XYZ"), 144.2f);
  StoreSpot(QStringLiteral("Q2ABC"), 144.3f);
  Store(47, 50.1f);
  const std::vector<PlacedSpot> shown = Shown(QStringLiteral("144 M"));
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[2].Slot, 0);
  EXPECT_NEAR(shown[2].Along, 0.5, 0.01);
}

TEST(SpotAgeColor, YellowWhiteSilverThenNone) {
  const std::pair<qint64, std::optional<platform::Color>> cases[] = {
      {-30, YoungSpotColor},  {0, YoungSpotColor},    {599, YoungSpotColor}, {600, RecentSpotColor},
      {1799, RecentSpotColor}, {1800, OldSpotColor},  {3599, OldSpotColor},  {3600, std::nullopt},
  };
  for (const auto& [age, color] : cases) EXPECT_EQ(SpotAgeColor(age), color) << age;
  EXPECT_EQ(SpotAgeColor(SpotAgeSeconds(QDateTime(), QDateTime::currentDateTime())), std::nullopt);
}

TEST_F(BandMap, LabelsTakeTheirAgesColourUpToTheFirstHourOldSpot) {
  StoreSpot(QStringLiteral("Q1OLD"), 144.15f);
  platform::Clock::Advance(15 * 60'000);
  StoreSpot(QStringLiteral("Q2MID"), 144.2f);
  platform::Clock::Advance(20 * 60'000);
  StoreSpot(QStringLiteral("Q3NEW"), 144.3f);
  platform::Clock::Advance(10 * 60'000);
  // Ages now: 45, 30 and 10 minutes.
  std::vector<PlacedSpot> shown = Shown(QStringLiteral("144 M"));
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].ForeColor, RecentSpotColor);
  EXPECT_EQ(shown[1].ForeColor, OldSpotColor);
  EXPECT_EQ(shown[2].ForeColor, OldSpotColor);

  platform::Clock::Advance(15 * 60'000);  // 60, 45 and 25 minutes
  shown = Shown(QStringLiteral("144 M"));
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].Slot, 49);
  EXPECT_EQ(shown[1].Slot, 48);
}

TEST_F(BandMap, AnHourOldSpotHidesEveryOlderSlotEvenOnAClockSetBack) {
  StoreSpot(QStringLiteral("Q1OLD"), 144.2f);
  platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(16, 0)), 0);
  StoreSpot(QStringLiteral("Q2NEW"), 144.3f);
  platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(17, 0)), 0);
  // The newer spot is an hour old; the older one reads an hour younger.
  EXPECT_TRUE(Shown(QStringLiteral("144 M")).empty());
}

TEST_F(BandMap, TheTooltipShowsCallFrequencyAndUtcTime) {
  StoreSpot(QStringLiteral("Q1XYZ"), 144.2f);
  const std::vector<PlacedSpot> shown = Shown(QStringLiteral("144 M"), 5.5f);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].ToolTip, QStringLiteral("Q1XYZ  144.200  23:30:00"));
  EXPECT_EQ(SpotToolTip(49, -4), QStringLiteral("Q1XYZ  144.200  14:00:00"));
}

TEST_F(BandMap, ABandWithoutARangeShowsZeroScalesAndNoSpot) {
  StoreSpot(QStringLiteral("Q1XYZ"), 24048.1f);
  StoreSpot(QStringLiteral("Q2ABC"), 24048.2f);
  EXPECT_EQ(BandMapScaleCaptions(QStringLiteral("24 G")),
            CaptionsOf({".000", ".000", ".000", ".000", ".000"}));
  EXPECT_TRUE(Shown(QStringLiteral("24 G")).empty());
}

TEST_F(BandMap, RemovedAndEmptySlotsAreNeverShown) {
  StoreSpot(QStringLiteral("Q1XYZ"), 144.2f);
  StoreSpot(QStringLiteral("Q2ABC"), 144.3f);
  RemoveSpot(48);
  const std::vector<PlacedSpot> shown = Shown(QStringLiteral("144 M"));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Slot, 49);
  EXPECT_NEAR(shown[0].Along, 0.075, 0.0001);
}
