#include "spotting/bandmapscale.h"

#include "logging/commit.h"
#include "platform/clock.h"
#include "spotting/globals.h"
#include "spotting/spotstore.h"

#include <cmath>
#include <limits>

namespace spotting {

namespace {

struct BandRange {
  const char16_t* Band;
  FrequencyRange Edges;
};

constexpr BandRange kBandRanges[] = {
    {u"50 M", {50, 54}},       {u"144 M", {144, 148}},     {u"222 M", {218, 225}},
    {u"432 M", {420, 450}},    {u"902 M", {902, 928}},     {u"1.3 G", {1240, 1300}},
    {u"2.3 G", {2300, 2450}},  {u"3.5 G", {3300, 3500}},   {u"5.8 G", {5650, 5925}},
    {u"10 G", {10000, 10500}},
};

constexpr qint64 kAgeOfEmptySlot = std::numeric_limits<qint64>::max();

// The default rounding mode takes a tie to the even neighbour.
double RoundedToThreeDecimals(double value) { return std::nearbyint(value * 1000) / 1000; }

}  // namespace

FrequencyRange BandEdges(const QString& band) {
  for (const BandRange& range : kBandRanges) {
    if (band.compare(QStringView(range.Band), Qt::CaseInsensitive) == 0) return range.Edges;
  }
  return {};
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
