#include "spotting/bandmapscale.h"

#include "logging/commit.h"
#include "logging/logstore.h"
#include "platform/clock.h"
#include "spotting/globals.h"
#include "spotting/spotstore.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace spotting {

namespace {

// The scale's edges of "50 M" to "10 G", in the order of logging::BandNames. They are the band
// map's own and differ from the log's frequency ranges (logging/bandfrequency.cpp) on purpose:
// those reach 0.0001 MHz past the lower bands' edges and start 222 M above 218.9999, not at 218.
constexpr std::array<FrequencyRange, 10> kBandEdges = {{
    {50, 54},     {144, 148},   {218, 225},   {420, 450},   {902, 928},
    {1240, 1300}, {2300, 2450}, {3300, 3500}, {5650, 5925}, {10000, 10500},
}};

constexpr qint64 kAgeOfEmptySlot = std::numeric_limits<qint64>::max();

// The default rounding mode takes a tie to the even neighbour.
double RoundedToThreeDecimals(double value) { return std::nearbyint(value * 1000) / 1000; }

}  // namespace

FrequencyRange BandEdges(const QString& band) {
  const std::int32_t index = logging::BandIndex(band);
  if (index < 0 || index >= static_cast<std::int32_t>(kBandEdges.size())) return {};
  return kBandEdges[static_cast<std::size_t>(index)];
}

FrequencyRange NarrowToSpots(FrequencyRange range, int firstSlot) {
  double lowest = range.High;
  double highest = range.Low;
  for (int slot = std::max(firstSlot, 0); slot < StoredSpots; ++slot) {
    const double frequency = DXSpotFreq[slot];
    if (!(range.Low < frequency && frequency < range.High)) continue;
    lowest = std::min(lowest, frequency);
    highest = std::max(highest, frequency);
  }
  if (highest > lowest) return {lowest - 0.001, highest + 0.001};
  return range;
}

std::array<double, 5> ScaleValues(FrequencyRange range) {
  std::array<double, 5> values{};
  for (int k = 0; k < 5; ++k) values[k] = RoundedToThreeDecimals(range.Low + k * 0.25 * (range.High - range.Low));
  return values;
}

QString ThreeDecimalText(double value) {
  const double rounded = RoundedToThreeDecimals(value);
  QString text = QString::number(std::fabs(rounded), 'f', 3);
  if (text.startsWith(u'0')) text.remove(0, 1);
  return rounded < 0 ? QStringLiteral("-") + text : text;
}

std::array<QString, 5> BandMapScaleCaptions(const QString& band) {
  const std::array<double, 5> values = ScaleValues(NarrowToSpots(BandEdges(band), 1));
  std::array<QString, 5> captions;
  for (int k = 0; k < 5; ++k) captions[k] = ThreeDecimalText(values[k]);
  return captions;
}

// Read from the two wall clocks: asking the local time zone for the moments costs a look at the
// zone file per reading, fifty times a redraw.
qint64 SpotAgeSeconds(const QDateTime& arrival, const QDateTime& now) {
  if (!arrival.isValid()) return kAgeOfEmptySlot;
  const qint64 milliseconds = arrival.date().daysTo(now.date()) * 86'400'000 +
                              (now.time().msecsSinceStartOfDay() - arrival.time().msecsSinceStartOfDay());
  return milliseconds / 1000;
}

std::optional<platform::Color> SpotAgeColor(qint64 ageSeconds) {
  if (ageSeconds < 600) return YoungSpotColor;
  if (ageSeconds < 1800) return RecentSpotColor;
  if (ageSeconds < 3600) return OldSpotColor;
  return std::nullopt;
}

QString SpotToolTip(int slot, float utcOffsetHours) {
  const QString blanks = QStringLiteral("  ");
  const QDateTime utc = logging::UtcMomentOf(DXSpotTime[slot], utcOffsetHours);
  return DXSpotCall[slot] + blanks + ThreeDecimalText(DXSpotFreq[slot]) + blanks +
         utc.toString(QStringLiteral("HH:mm:ss"));
}

std::vector<PlacedSpot> SpotsOnBandMap(float low, float high, float utcOffsetHours) {
  const QDateTime now = platform::Now();
  std::vector<PlacedSpot> placed;
  for (int slot = NewestSpotSlot; slot >= 0; --slot) {
    const float frequency = DXSpotFreq[slot];
    if (!(low < frequency && frequency < high)) continue;
    const std::optional<platform::Color> color = SpotAgeColor(SpotAgeSeconds(DXSpotTime[slot], now));
    if (!color) break;
    const double along = (static_cast<double>(frequency) - low) / (static_cast<double>(high) - low);
    placed.push_back({slot, along, DXSpotPrefix[slot], SpotToolTip(slot, utcOffsetHours), *color});
  }
  return placed;
}

}  // namespace spotting
