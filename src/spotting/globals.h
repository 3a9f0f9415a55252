#pragma once

#include "platform/modulevalues.h"

#include <QDateTime>
#include <QString>

#include <array>

namespace spotting {

// The spot store: slot 49 is the newest spot, slots 50 and 51 are never used.
// A frequency of 0 marks an empty or removed slot.
inline constexpr int SpotSlots = 52;
using SpotTexts = std::array<QString, SpotSlots>;
using SpotFrequencies = std::array<double, SpotSlots>;  // MHz as the spot gave it, for the rig
using SpotTimes = std::array<QDateTime, SpotSlots>;
MODULE_VALUE(SpotTexts, DXSpotCall);
MODULE_VALUE(SpotFrequencies, DXSpotFreq);  // MHz
MODULE_VALUE(SpotTimes, DXSpotTime);
MODULE_VALUE(SpotTexts, DXSpotPrefix);

}  // namespace spotting
