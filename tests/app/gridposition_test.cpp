#include "app/gridposition.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(GridSquareCorner, SouthWestCornerOfFieldOrSquare) {
  const struct {
    const char* grid;
    std::optional<double> longitude;
    std::optional<double> latitude;
  } cases[] = {
      {"FN20", 76, 40},       {"fn20", 76, 40},  {"FN20ab", 76, 40},     {"FN", 80, 40},
      {"FN2", 76, 40},        {"F", 80, {}},     {"", {}, {}},           {"AA00", 180, -90},
      {"RR99", -178, 89},     {"FNx1", 80, 41},  {"FN2x", 76, 40},
  };
  for (const auto& c : cases) {
    const app::GridCorner corner = app::GridSquareCorner(c.grid);
    EXPECT_EQ(corner.longitude, c.longitude) << c.grid;
    EXPECT_EQ(corner.latitude, c.latitude) << c.grid;
  }
}

TEST(FillPositionFromGrid, ZeroCoordinateTakesBothFromGrid) {
  double latitude = 0, longitude = 72.5;
  app::FillPositionFromGrid("FN20", latitude, longitude);
  EXPECT_EQ(longitude, 76);
  EXPECT_EQ(latitude, 40);
}

TEST(FillPositionFromGrid, TypedPositionStays) {
  double latitude = 41.5, longitude = 72.5;
  app::FillPositionFromGrid("FN20", latitude, longitude);
  EXPECT_EQ(longitude, 72.5);
  EXPECT_EQ(latitude, 41.5);
}

TEST(FillPositionFromGrid, OneCharacterGridSetsLongitudeOnly) {
  double latitude = 41.5, longitude = 0;
  app::FillPositionFromGrid("F", latitude, longitude);
  EXPECT_EQ(longitude, 80);
  EXPECT_EQ(latitude, 41.5);
}

}  // namespace
