#include "logging/bandfrequency.h"
#include "logging/scoring.h"

#include "platform/errors.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

using logging::BandCounts;
using logging::ContestScore;

// Per-band tallies by band name: {"50 M", contacts, grids}.
struct BandTally {
  const char* band;
  std::int32_t contacts;
  std::int32_t grids;
};

struct Tallies {
  BandCounts qsos{};
  BandCounts grids{};
};

Tallies TalliesOf(std::initializer_list<BandTally> bands) {
  Tallies tallies;
  for (const BandTally& b : bands) {
    const std::int32_t index = logging::BandIndex(QString::fromLatin1(b.band));
    tallies.qsos[index] = b.contacts;
    tallies.grids[index] = b.grids;
  }
  return tallies;
}

// 3 contacts in 2 grids on 50 M, 2 in 2 on 432 M, 1 in 1 on 10 G.
const Tallies kSmallLog = TalliesOf({{"50 M", 3, 2}, {"432 M", 2, 2}, {"10 G", 1, 1}});

std::string Shown(const std::optional<std::int32_t>& total) { return total ? std::to_string(*total) : "empty"; }

TEST(Scoring, EachContestWeighsAndCountsItsBands) {
  const struct {
    const char* what;
    Tallies tallies;
    std::uint8_t contestType, rover;
    std::int32_t activated;
    const char *contacts, *points, *multipliers;
    std::int64_t score;
  } cases[] = {
      {"type 1", kSmallLog, 1, 0, 0, "6", "15", "5", 75},
      {"type 3 counts nothing on 50 M", kSmallLog, 3, 0, 0, "3", "18", "3", 54},
      {"type 2 microwave weight", kSmallLog, 2, 0, 0, "6", "11", "5", 55},
      {"type 4 as type 2", TalliesOf({{"902 M", 2, 1}, {"300 G", 1, 1}}), 4, 0, 0, "3", "10", "2", 20},
      {"type 5 weighs 144 M double", TalliesOf({{"50 M", 2, 2}, {"144 M", 3, 1}}), 5, 0, 0, "5", "8", "3", 24},
      {"type 5 counts nothing above 144 M", TalliesOf({{"222 M", 4, 3}, {"10 G", 1, 1}}), 5, 0, 0, "0", "0", "0", 0},
      {"empty log", Tallies{}, 1, 0, 0, "0", "0", "0", 0},
      {"rover adds its activated grids", TalliesOf({{"144 M", 12, 10}}), 2, 1, 4, "12", "12", "14", 168},
      {"no activated grids in type 5", TalliesOf({{"144 M", 12, 10}}), 5, 1, 4, "12", "24", "10", 240},
      {"activated grids count for rovers only", TalliesOf({{"144 M", 12, 10}}), 2, 0, 4, "12", "12", "10", 120},
      {"type 0 has no rules", kSmallLog, 0, 0, 3, "empty", "empty", "empty", 0},
      {"type 0 rover keeps its activated grids", kSmallLog, 0, 1, 3, "empty", "empty", "3", 0},
      {"type 6 has no rules, not even a rover's", kSmallLog, 6, 1, 3, "empty", "empty", "empty", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ContestScore score = logging::ScoreOf(c.tallies.qsos, c.tallies.grids, c.contestType, c.rover, c.activated);
    EXPECT_EQ(Shown(score.Contacts), c.contacts);
    EXPECT_EQ(Shown(score.Points), c.points);
    EXPECT_EQ(Shown(score.Multipliers), c.multipliers);
    EXPECT_EQ(score.Score, c.score);
  }
}

TEST(Scoring, TheScoreOfTheLargestTotalsIsExactAndLargerTotalsOverflow) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const Tallies largest = TalliesOf({{"50 M", kMax, kMax}});
  EXPECT_EQ(logging::ScoreOf(largest.qsos, largest.grids, 1, 0, 0).Score, std::int64_t{kMax} * kMax);

  const Tallies tooManyPoints = TalliesOf({{"10 G", kMax / 8 + 1, 1}});
  const Tallies tooManyGrids = TalliesOf({{"50 M", 1, kMax}});
  try {
    logging::ScoreOf(tooManyPoints.qsos, tooManyPoints.grids, 1, 0, 0);
    ADD_FAILURE() << "points past 32 bits";
  } catch (const platform::RuntimeError& error) {
    EXPECT_EQ(error.Number(), 6);
  }
  EXPECT_THROW(logging::ScoreOf(tooManyGrids.qsos, tooManyGrids.grids, 2, 1, 1), platform::RuntimeError)
      << "the rover's activated grids push the multipliers past 32 bits";
}

TEST(Scoring, TheUhfContestLogs222MInPlaceOf50And144M) {
  EXPECT_EQ(logging::BandInContest("144 M", 3), "222 M");
  EXPECT_EQ(logging::BandInContest("50 m", 3), "222 M");
  EXPECT_EQ(logging::BandInContest("432 M", 3), "432 M");
  EXPECT_EQ(logging::BandInContest("144 M", 1), "144 M");
  EXPECT_EQ(logging::BandInContest("144 M", 5), "144 M");
}

TEST(BandOfFrequency, TenOpenRangesInSinglePrecision) {
  const struct {
    float megahertz;
    const char* band;
  } cases[] = {
      {50.0f, "50 M"},     {54.0f, "50 M"},     {49.9999f, ""},      {54.0001f, ""},      {52.0f, "50 M"},
      {144.0f, "144 M"},   {148.0f, "144 M"},   {146.52f, "144 M"},  {143.9999f, ""},     {223.5f, "222 M"},
      {219.0f, "222 M"},   {432.1f, "432 M"},   {420.0f, "432 M"},   {450.0f, "432 M"},   {903.1f, "902 M"},
      {1296.1f, "1.3 G"},  {1240.0f, "1.3 G"},  {1300.0f, "1.3 G"},  {2300.0f, ""},       {2300.1f, "2.3 G"},
      {2450.0f, ""},       {3456.1f, "3.5 G"},  {3500.0f, ""},       {5760.1f, "5.8 G"},  {10368.1f, "10 G"},
      {10000.0f, ""},      {10500.0f, ""},      {28.5f, ""},         {11000.0f, ""},      {24192.1f, ""},
      {0.0f, ""},          {-146.0f, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(logging::BandOfFrequency(c.megahertz), QString::fromLatin1(c.band)) << c.megahertz;
  }
}

}  // namespace
