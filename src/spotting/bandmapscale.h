#pragma once

#include "platform/color.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// The band map's numbers without its labels: the frequency scale of a band narrowed to the
// stored spots, and for each spot to draw its place along the axis, caption, tooltip and colour.
namespace spotting {

// A stretch of frequencies in MHz.
struct FrequencyRange {
  double Low = 0;
  double High = 0;
};

// The edges of the first ten bands ("50 M" 50 to 54 ... "10 G" 10000 to 10500), the band's name
// in any letter case; 0 to 0 for any other band, on which no spot lies.
FrequencyRange BandEdges(const QString& band);

// A range narrowed to the spots strictly inside it, from slot firstSlot to the newest: 0.001 MHz
// beyond the lowest and the highest. Kept whole unless two different frequencies lie inside.
FrequencyRange NarrowToSpots(FrequencyRange range, int firstSlot);

// The five scale values at the start, the quarter points and the end of a range, each rounded to
// 3 decimals (a tie to the even digit).
std::array<double, 5> ScaleValues(FrequencyRange range);

// A value as the scales show it: 3 decimals, no digit before the point below 1 (".000",
// "144.200").
QString ThreeDecimalText(double value);

// The main band map's scale captions for the current band: the band narrowed to the spots of
// slots 1 to 49 (slot 0 draws but does not narrow).
std::array<QString, 5> BandMapScaleCaptions(const QString& band);

// The age colours of spot labels (&HBBGGRR).
inline constexpr platform::Color YoungSpotColor = 0x80FFFF;   // light yellow, under 10 minutes
inline constexpr platform::Color RecentSpotColor = 0xFFFFFF;  // white, under 30 minutes
inline constexpr platform::Color OldSpotColor = 0xC0C0C0;     // silver, under an hour

// Whole seconds from a spot's arrival to now, as the local wall clock reads them; a slot never
// filled counts as far older than an hour.
qint64 SpotAgeSeconds(const QDateTime& arrival, const QDateTime& now);

// The label colour for a spot's age; none from one hour on, where drawing stops.
std::optional<platform::Color> SpotAgeColor(qint64 ageSeconds);

// A slot's tooltip: the call, the frequency as the scales show it and the arrival time in UTC
// "hh:mm:ss", two blanks between them.
QString SpotToolTip(int slot, float utcOffsetHours);

// One spot label to show: the slot (the label's index), its place along the axis (0 at the low
// end of the scale, 1 at the high end: the label centres there), caption, tooltip and colour.
struct PlacedSpot {
  int Slot = 0;
  double Along = 0;
  QString Caption;
  QString ToolTip;
  platform::Color ForeColor = YoungSpotColor;
};

// The spot labels to show between the scale's shown ends (their captions' values, as single
// precision), from the newest slot back: slots strictly inside the scale, up to the first of them
// that is an hour old, which ends the map even where an older slot reads younger on a clock that
// was set back. The rest stay hidden.
std::vector<PlacedSpot> SpotsOnBandMap(float low, float high, float utcOffsetHours);

}  // namespace spotting
