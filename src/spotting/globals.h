#pragma once

#include <QDateTime>
#include <QString>

#include <array>

namespace spotting {

// The spot store: slot 49 is the newest spot, slots 50 and 51 are never used.
// A frequency of 0 marks an empty or removed slot.
inline constexpr int SpotSlots = 52;
inline std::array<QString, SpotSlots> DXSpotCall;
inline std::array<float, SpotSlots> DXSpotFreq{};  // MHz
inline std::array<QDateTime, SpotSlots> DXSpotTime;
inline std::array<QString, SpotSlots> DXSpotPrefix;

}  // namespace spotting
