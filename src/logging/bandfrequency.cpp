#include "logging/bandfrequency.h"

#include "logging/logstore.h"

#include <array>

namespace logging {

namespace {

struct FrequencyRange {
  float Above;
  float Below;
};

// Bands "50 M" to "10 G", in band order.
constexpr std::array<FrequencyRange, 10> RigRanges = {{
    {49.9999f, 54.0001f},
    {143.9999f, 148.0001f},
    {218.9999f, 225.0001f},
    {419.9999f, 450.0001f},
    {901.9999f, 928.0001f},
    {1239.9999f, 1300.0001f},
    {2300.0f, 2450.0f},
    {3300.0f, 3500.0f},
    {5650.0f, 5925.0f},
    {10000.0f, 10500.0f},
}};

}  // namespace

QString BandOfFrequency(float megahertz) {
  for (std::size_t band = 0; band < RigRanges.size(); ++band) {
    if (RigRanges[band].Above < megahertz && megahertz < RigRanges[band].Below) return BandNames[band];
  }
  return {};
}

}  // namespace logging
