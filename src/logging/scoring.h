#pragma once

#include "logging/logstore.h"

#include <QString>

#include <cstdint>
#include <optional>

// The five contests' scoring: QSO points per band, which bands count, and the score.
namespace logging {

// A log's totals under one contest. A contest type outside 1 to 5 has no rules: its contact
// total, points and multipliers stay empty, except a rover's multipliers, which still count the
// activated grids.
struct ContestScore {
  std::optional<std::int32_t> Contacts;
  std::optional<std::int32_t> Points;
  std::optional<std::int32_t> Multipliers;
  std::int64_t Score = 0;  // points x multipliers, empty ones counting 0: never overflows
};

// Scores the per-band tallies (band order of BandNames). A rover (rover 1) in a contest type
// below 5 adds its activated grids to the multipliers. A total beyond 32 bits throws
// platform::RuntimeError 6 "Overflow".
ContestScore ScoreOf(const BandCounts& qsoCount, const BandCounts& gridCount, std::uint8_t contestType,
                     std::uint8_t rover, std::int32_t activatedGridCount);

// The band a contest logs when this band is selected: contest type 3 has no 50 M or 144 M and
// logs "222 M" for them; every other band, and every other contest, keeps the band.
QString BandInContest(const QString& band, std::uint8_t contestType);

}  // namespace logging
