#include "app/gridposition.h"

#include <algorithm>

namespace app {

namespace {

int Code(QChar c) { return c.unicode(); }

int DigitValue(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : 0; }

// Field letters in upper case and subsquare letters in lower case, so that either case names
// the same place.
QString CaseFolded(const QString& grid, int places) {
  return grid.left(std::min(places, 4)).toUpper() + grid.mid(4, std::max(places - 4, 0)).toLower();
}

}  // namespace

GridCorner GridSquareCorner(const QString& grid, int places) {
  const QString g = CaseFolded(grid, places);
  GridCorner corner;
  if (g.size() >= 1) {
    double longitude = 20.0 * (74 - Code(g[0]));
    if (g.size() > 2) longitude -= 2 * DigitValue(g[2]);
    if (g.size() > 4) longitude -= 2.0 * (Code(g[4]) - 97) / 24;
    corner.longitude = longitude;
  }
  if (g.size() >= 2) {
    double latitude = 10.0 * (Code(g[1]) - 74);
    if (g.size() > 3) latitude += DigitValue(g[3]);
    if (g.size() > 5) latitude += (Code(g[5]) - 97) / 24.0;
    corner.latitude = latitude;
  }
  return corner;
}

void FillPositionFromGrid(const QString& grid, double& latitude, double& longitude) {
  if (latitude != 0 && longitude != 0) return;
  const GridCorner corner = GridSquareCorner(grid);
  if (corner.longitude) longitude = *corner.longitude;
  if (corner.latitude) latitude = *corner.latitude;
}

}  // namespace app
