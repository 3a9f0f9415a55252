#pragma once

#include <QString>

#include <optional>

namespace app {

// The south-west corner of the field or square a grid square names, longitude positive west.
// Only the first four characters count; a grid too short for a coordinate leaves it out.
struct GridCorner {
  std::optional<double> longitude;  // from one character on
  std::optional<double> latitude;   // from two characters on
};

// "FN20" gives 76 W, 40 N. Letters count in either case; a non-digit where a digit belongs
// adds nothing.
GridCorner GridSquareCorner(const QString& grid);

// The set-up's rule for a position left at zero: when either coordinate is exactly 0, each
// coordinate the grid yields replaces the typed one; the others stay.
void FillPositionFromGrid(const QString& grid, double& latitude, double& longitude);

}  // namespace app
