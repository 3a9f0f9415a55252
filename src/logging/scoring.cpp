#include "logging/scoring.h"

#include "platform/errors.h"

#include <array>
#include <limits>

namespace logging {

namespace {

// QSO points per contact on each band, in band order; 0 marks a band that counts for nothing
// (no points, no multipliers, no contacts). Bands from 2.3 G up share one weight.
using BandWeights = std::array<std::int64_t, BandCount>;

constexpr BandWeights Weights(std::int64_t m50, std::int64_t m144, std::int64_t m222, std::int64_t m432,
                              std::int64_t m902, std::int64_t g13, std::int64_t microwave) {
  BandWeights weights{m50, m144, m222, m432, m902, g13};
  for (std::size_t band = 6; band < weights.size(); ++band) weights[band] = microwave;
  return weights;
}

// Contest types 1 to 5, in the order of the set-up dialog's contests.
constexpr std::array<BandWeights, 5> ContestWeights = {
    Weights(1, 1, 2, 2, 4, 4, 8),   // 1: January VHF Sweepstakes
    Weights(1, 1, 2, 2, 3, 3, 4),   // 2: June VHF QSO Party
    Weights(0, 0, 3, 3, 6, 6, 12),  // 3: UHF Contest
    Weights(1, 1, 2, 2, 3, 3, 4),   // 4: September VHF QSO Party
    Weights(1, 2, 0, 0, 0, 0, 0),   // 5: CQ VHF Contest, 50 and 144 MHz only
};

constexpr std::uint8_t UhfContest = 3;
constexpr std::uint8_t LastContestWithRoverGrids = 4;

std::int32_t Total(std::int64_t sum) {
  if (sum > std::numeric_limits<std::int32_t>::max()) throw platform::RuntimeError(QStringLiteral("Overflow"), 6);
  return static_cast<std::int32_t>(sum);
}

}  // namespace

ContestScore ScoreOf(const BandCounts& qsoCount, const BandCounts& gridCount, std::uint8_t contestType,
                     std::uint8_t rover, std::int32_t activatedGridCount) {
  ContestScore score;
  if (contestType >= 1 && contestType <= ContestWeights.size()) {
    const BandWeights& weights = ContestWeights[contestType - 1];
    std::int64_t contacts = 0, points = 0, multipliers = 0;
    for (std::size_t band = 0; band < weights.size(); ++band) {
      if (weights[band] == 0) continue;
      contacts += qsoCount[band];
      points += qsoCount[band] * weights[band];
      multipliers += gridCount[band];
    }
    score.Contacts = Total(contacts);
    score.Points = Total(points);
    score.Multipliers = Total(multipliers);
  }
  if (contestType <= LastContestWithRoverGrids && rover == 1) {
    score.Multipliers = Total(std::int64_t{score.Multipliers.value_or(0)} + activatedGridCount);
  }
  score.Score = std::int64_t{score.Points.value_or(0)} * score.Multipliers.value_or(0);
  return score;
}

QString BandInContest(const QString& band, std::uint8_t contestType) {
  if (contestType == UhfContest && (BandIndex(band) == 0 || BandIndex(band) == 1)) return BandNames[2];
  return band;
}

}  // namespace logging
