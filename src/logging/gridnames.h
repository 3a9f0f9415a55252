#pragma once

#include <QString>

#include <array>
#include <optional>

// Names of the grid map's squares, without a window.
namespace logging {

inline constexpr int GridMapColumns = 11;
inline constexpr int GridMapRows = 15;
inline constexpr int GridMapSquareCount = GridMapColumns * GridMapRows;

// The four-character grid square of a point, latitude north positive, longitude west positive.
// The letters stop at "A" and "R" beyond the poles and the date line, so a shifted map still
// names every square.
QString GridSquareName(double latitude, double longitude);

// Square names, left to right and north to south: square i shows row i / 11, column i % 11.
using GridMapNames = std::array<QString, GridMapSquareCount>;

// The map around the own position moved by the offsets (degrees north, and degrees west), one
// degree a row and two a column, the own square in the middle when both offsets are 0. A station
// with no position north of the equator and west of the zero meridian gets no map.
std::optional<GridMapNames> GridMapSquareNames(double ownLatitude, double ownLongitude, float latOffset,
                                               float lonOffset);

}  // namespace logging
