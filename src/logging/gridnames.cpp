#include "logging/gridnames.h"

#include <algorithm>
#include <cmath>

namespace logging {

namespace {

QChar ClampedLetter(double code) { return QChar(static_cast<char16_t>(std::clamp(code, 65.0, 82.0))); }

bool IsWhole(double value) { return value == std::floor(value); }

// Squares are named from inside: a row or column start on a whole degree would lie on a square's
// edge, where rounding could name the neighbour.
double NudgedNorth(double latitude) { return IsWhole(latitude) ? latitude + 0.001 : latitude; }
double NudgedEast(double longitude) { return IsWhole(longitude) ? longitude - 0.001 : longitude; }

}  // namespace

QString GridSquareName(double latitude, double longitude) {
  const double fields = longitude / 20;
  const double bands = latitude / 10;
  const int firstDigit = IsWhole(fields) ? 0 : 9 - static_cast<int>(std::floor(10 * (fields - std::floor(fields))));
  const int secondDigit = static_cast<int>(std::floor(10 * (bands - std::floor(bands))));
  return QString(ClampedLetter(std::floor(-fields) + 74)) + ClampedLetter(std::floor(bands) + 74) +
         QString::number(firstDigit) + QString::number(secondDigit);
}

std::optional<GridMapNames> GridMapSquareNames(double ownLatitude, double ownLongitude, float latOffset,
                                               float lonOffset) {
  const bool placed = std::isfinite(ownLatitude) && std::isfinite(ownLongitude) && ownLatitude > 0 && ownLongitude > 0;
  if (!placed) return std::nullopt;
  const double rowStart = NudgedEast(ownLongitude + 10 + lonOffset);
  double latitude = NudgedNorth(ownLatitude + 7 + latOffset);
  GridMapNames names;
  for (int row = 0; row < GridMapRows; ++row) {
    double longitude = rowStart;
    for (int column = 0; column < GridMapColumns; ++column) {
      names[row * GridMapColumns + column] = GridSquareName(latitude, longitude);
      longitude -= 2;
    }
    latitude -= 1;
  }
  return names;
}

}  // namespace logging
