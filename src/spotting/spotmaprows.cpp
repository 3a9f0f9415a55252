#include "spotting/spotmaprows.h"

#include "platform/clock.h"
#include "spotting/globals.h"
#include "spotting/spotstore.h"

namespace spotting {

namespace {

struct RowEdges {
  float Low;
  float High;
};

constexpr RowEdges kRowEdges[SpectrumRows] = {
    {1.8f, 2.0f},      {3.5f, 4.0f},      {7.0f, 7.3f},     {10.1f, 10.15f},  {14.0f, 14.35f},  {18.068f, 18.168f},
    {21.0f, 21.45f},   {24.89f, 24.99f},  {28.0f, 29.7f},   {50.0f, 54.0f},   {144.0f, 148.0f},
};

}  // namespace

FrequencyRange SpectrumRowEdges(int row) { return {kRowEdges[row].Low, kRowEdges[row].High}; }

std::optional<int> SpectrumRowOf(float megahertz) {
  for (int row = 0; row < SpectrumRows; ++row) {
    if (kRowEdges[row].Low < megahertz && megahertz < kRowEdges[row].High) return row;
  }
  return std::nullopt;
}

FrequencyRange ZoomToSpots(FrequencyRange edges) {
  const FrequencyRange zoomed = NarrowToSpots(edges, 0);
  return {static_cast<float>(zoomed.Low), static_cast<float>(zoomed.High)};
}

std::array<double, 5> SpectrumRowScale(int row) { return ScaleValues(ZoomToSpots(SpectrumRowEdges(row))); }

std::vector<SpectrumSpot> SpotsOnSpectrumMap(const SpectrumScaleEnds& shownEnds, float utcOffsetHours) {
  const QDateTime now = platform::Now();
  std::vector<SpectrumSpot> shown;
  for (int slot = NewestSpotSlot; slot >= 0; --slot) {
    const std::optional<platform::Color> color = SpotAgeColor(SpotAgeSeconds(DXSpotTime[slot], now));
    if (!color) break;
    const float frequency = DXSpotFreq[slot];
    const std::optional<int> row = SpectrumRowOf(frequency);
    if (!row) continue;
    const FrequencyRange scale = shownEnds[*row];
    const double along = (frequency - scale.Low) / (scale.High - scale.Low);
    shown.push_back({*row, {slot, along, DXSpotPrefix[slot], SpotToolTip(slot, utcOffsetHours), *color}});
  }
  return shown;
}

}  // namespace spotting
