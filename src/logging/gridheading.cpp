#include "app/form1.h"
#include "app/globals.h"
#include "logging/heading.h"

namespace app {

// Heading and distance to the grid typed so far. A grid that names no point, or a point with no
// heading, empties both labels; fewer than two characters leave them as they are.
void Form1::GridHeading() {
  const QString grid = txtSec.Text();
  if (grid.size() < 2) return;
  QString heading;
  QString distance;
  if (const std::optional<logging::GeoPoint> far = logging::GridCornerPoint(grid)) {
    if (const auto result = logging::HDCalc({OwnLatitude, OwnLongitude}, *far)) {
      heading = logging::HeadingText(result->Heading);
      distance = logging::DistanceText(result->Distance);
    }
  }
  Label23.SetCaption(heading);
  Label24.SetCaption(distance);
}

}  // namespace app
