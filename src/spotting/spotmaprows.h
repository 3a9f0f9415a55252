#pragma once

#include "spotting/bandmapscale.h"

#include <array>
#include <optional>
#include <vector>

// The spectrum map's numbers without its labels: eleven band rows from 1.8 to 148 MHz, each row's
// scale narrowed to the stored spots, and the spots to draw on the rows.
namespace spotting {

inline constexpr int SpectrumRows = 11;

// Row k's fixed edges (row 0 1.8 to 2.0 MHz ... row 10 144 to 148 MHz), single-precision values.
FrequencyRange SpectrumRowEdges(int row);

// The row whose fixed edges hold a frequency strictly; none for a removed spot (0), a band edge
// or a frequency between the rows.
std::optional<int> SpectrumRowOf(float megahertz);

// A row's edges narrowed to the spots strictly inside them, every slot 0 to 49 whatever its age,
// kept in single precision as the scale holds them.
FrequencyRange ZoomToSpots(FrequencyRange edges);

// The five values a row's scale shows: its zoomed range at the start, quarter points and end.
std::array<double, 5> SpectrumRowScale(int row);

// The shown ends of each row's scale (its first and last values), where the spots are placed.
using SpectrumScaleEnds = std::array<FrequencyRange, SpectrumRows>;

// One spot label to show: its row and, along that row's shown scale, its place.
struct SpectrumSpot {
  int Row = 0;
  PlacedSpot Label;
};

// The labels to show, from the newest slot back to the first slot an hour old or more, which ends
// the map: a slot never filled counts as older, a removed spot by its age. A spot on no row is
// passed over.
std::vector<SpectrumSpot> SpotsOnSpectrumMap(const SpectrumScaleEnds& shownEnds, float utcOffsetHours);

}  // namespace spotting
