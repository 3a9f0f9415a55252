#include "app/gridposition.h"

namespace app {

namespace {

int Code(QChar c) { return c.unicode(); }

int DigitValue(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : 0; }

}  // namespace

GridCorner GridSquareCorner(const QString& grid) {
  const QString g = grid.left(4).toUpper();
  GridCorner corner;
  if (g.size() >= 1) corner.longitude = 20.0 * (74 - Code(g[0])) - (g.size() > 2 ? 2 * DigitValue(g[2]) : 0);
  if (g.size() >= 2) corner.latitude = 10.0 * (Code(g[1]) - 74) + (g.size() > 3 ? DigitValue(g[3]) : 0);
  return corner;
}

void FillPositionFromGrid(const QString& grid, double& latitude, double& longitude) {
  if (latitude != 0 && longitude != 0) return;
  const GridCorner corner = GridSquareCorner(grid);
  if (corner.longitude) longitude = *corner.longitude;
  if (corner.latitude) latitude = *corner.latitude;
}

}  // namespace app
