#include "logging/gridnames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using logging::GridMapSquareNames;
using logging::GridSquareName;

TEST(GridSquareName, NamesTheSquareOfAnyPointWithTheLettersStoppingAtAAndR) {
  const struct {
    double latitude, longitude;
    const char* name;
  } cases[] = {
      {41.5, 72.5, "FN31"},
      {40.001, 99.999, "EN00"},
      {-33.9, -151.2, "QF56"},  // south of the equator, east of the zero meridian
      {41.5, 190.5, "AN41"},    // beyond 180 degrees west
      {41.5, -190.5, "RN51"},   // beyond 180 degrees east
      {95.5, 72.5, "FR35"},     // beyond the north pole
      {-95.5, 72.5, "FA34"},    // beyond the south pole
      {41.5, 80, "FN01"},       // a longitude on a field's edge takes the square east of it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GridSquareName(c.latitude, c.longitude).toStdString(), c.name);
  }
}

TEST(GridMapSquareNames, RunElevenSquaresEastThenRowsSouthAroundTheOwnSquareMovedByTheOffsets) {
  const struct {
    const char* what;
    double latitude, longitude;
    float latOffset, lonOffset;
    int square;
    const char* name;
  } cases[] = {
      {"own square in the middle", 41.5, 72.5, 0, 0, 82, "FN31"},
      {"north-west corner", 41.5, 72.5, 0, 0, 0, "EN88"},
      {"end of the first row", 41.5, 72.5, 0, 0, 10, "FN88"},
      {"start of the second row", 41.5, 72.5, 0, 0, 11, "EN87"},
      {"south-east corner", 41.5, 72.5, 0, 0, 164, "FM84"},
      {"one column west", 41.5, 72.5, 0, 2, 82, "FN21"},
      {"one column west, corner", 41.5, 72.5, 0, 2, 0, "EN78"},
      {"one column east", 41.5, 72.5, 0, -2, 82, "FN41"},
      {"one row north", 41.5, 72.5, 1, 0, 82, "FN32"},
      {"one row south", 41.5, 72.5, -1, 0, 82, "FN30"},
      // Whole degrees start a hundredth of a minute inside: north of a row's edge, east of a
      // column's, so every square is named from inside it.
      {"whole degrees, first row", 40, 100, 0, 0, 0, "DN57"},
      {"whole degrees, second row", 40, 100, 0, 0, 11, "DN56"},
      {"whole degrees, own square", 40, 100, 0, 0, 82, "EN00"},
      {"whole latitude whose tenth rounds low", 36, 100, 0, 0, 0, "DN53"},
      {"shifted across the date line", 41.5, 72.5, 0, 200, 82, "AN31"},
      {"shifted across the equator", 3.5, 72.5, -10, 0, 82, "FI33"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto names = GridMapSquareNames(c.latitude, c.longitude, c.latOffset, c.lonOffset);
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ((*names)[c.square].toStdString(), c.name);
  }
}

TEST(GridMapSquareNames, NoMapWithoutAPositionNorthOfTheEquatorAndWestOfTheZeroMeridian) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double latitude, longitude;
  } cases[] = {{0, 72.5}, {41.5, 0}, {0, 0}, {-33.9, 72.5}, {41.5, -151.2}, {nan, 72.5}, {41.5, INFINITY}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.latitude << " " << c.longitude);
    EXPECT_FALSE(GridMapSquareNames(c.latitude, c.longitude, 0, 0).has_value());
  }
}

}  // namespace
