#pragma once

#include <QString>

#include <optional>

namespace app {

// The south-west corner of the field, square or subsquare a grid square names, longitude
// positive west; a grid too short for a coordinate leaves it out.
struct GridCorner {
  std::optional<double> longitude;  // from one character on
  std::optional<double> latitude;   // from two characters on
};

// Fields of 20 by 10 degrees ("A" to "R"), squares of 2 by 1 ("0" to "9"), subsquares of 1/12
// by 1/24 ("a" to "x"). "FN20" gives 76 W, 40 N. Only the first `places` characters count: the
// set-up reads four, the heading six. Letters count in either case; a non-digit where a digit
// belongs adds nothing.
GridCorner GridSquareCorner(const QString& grid, int places = 4);

// The set-up's rule for a position left at zero: when either coordinate is exactly 0, each
// coordinate the grid yields replaces the typed one; the others stay.
void FillPositionFromGrid(const QString& grid, double& latitude, double& longitude);

}  // namespace app
