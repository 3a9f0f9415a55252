#include "logging/heading.h"

#include "app/form1.h"
#include "app/globals.h"
#include "platform/instances.h"

#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

#include "formtesting.h"

#include <cmath>
#include <numbers>

namespace {

using logging::GeoPoint;

// A second way to the same figures: the haversine distance and the atan2 initial bearing.
logging::HeadingDistance GreatCircle(const GeoPoint& from, const GeoPoint& to) {
  constexpr double kRadians = std::numbers::pi / 180;
  const double lat1 = from.Latitude * kRadians;
  const double lat2 = to.Latitude * kRadians;
  const double eastward = (from.Longitude - to.Longitude) * kRadians;  // the longitudes are west positive
  const double h = std::pow(std::sin((lat2 - lat1) / 2), 2) +
                   std::cos(lat1) * std::cos(lat2) * std::pow(std::sin(eastward / 2), 2);
  const double arc = 2 * std::asin(std::sqrt(h));
  const double bearing = std::atan2(std::sin(eastward) * std::cos(lat2),
                                    std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(eastward));
  return {std::fmod(bearing / kRadians + 360, 360), arc * 3955.75791314991};
}

TEST(GridCornerPoint, SouthWestCornerOfFieldSquareAndSubsquareFromUpToSixCharacters) {
  const struct {
    const char* grid;
    double latitude, longitude;
  } cases[] = {
      {"FN42", 42, 72},
      {"FN", 40, 80},
      {"FN3", 40, 74},
      {"FN31p", 41, 72.75},
      {"FN31pr", 41 + 17.0 / 24, 72.75},
      {"FN31PR", 41 + 17.0 / 24, 72.75},  // subsquare letters in either case
      {"fn31pr", 41 + 17.0 / 24, 72.75},
      {"FN31pr12", 41 + 17.0 / 24, 72.75},  // the first six only
      {"AA00aa", -90, 180},
      {"RR99xx", 89 + 23.0 / 24, -178 - 23.0 / 12},
      {"F1", -250, 80},  // a digit for the field letter: absurd, but a point all the same
  };
  for (const auto& c : cases) {
    const std::optional<GeoPoint> point = logging::GridCornerPoint(c.grid);
    ASSERT_TRUE(point) << c.grid;
    EXPECT_DOUBLE_EQ(point->Latitude, c.latitude) << c.grid;
    EXPECT_DOUBLE_EQ(point->Longitude, c.longitude) << c.grid;
  }
  for (const char* noPoint : {"", "F", "FNx1", "FN3x", "FN 1"}) EXPECT_FALSE(logging::GridCornerPoint(noPoint)) << noPoint;
}

TEST(HDCalc, AgreesWithAnIndependentGreatCircleComputation) {
  const GeoPoint own{41.5, 72.5};
  const struct {
    const char* name;
    GeoPoint far;
    double lowestHeading, highestHeading;
  } cases[] = {
      {"north-east, FN42", {42, 72}, 0, 90},
      {"west, EN82", {42, 84}, 180, 360},
      {"FN31pr", {41 + 17.0 / 24, 72.75}, 270, 360},
      {"south-east, GF15", {-35, 58}, 90, 180},
      {"far side, OF58", {-32, -110}, 0, 360},
      {"over the pole, PP", {60, -140}, 270, 360},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<logging::HeadingDistance> result = logging::HDCalc(own, c.far);
    ASSERT_TRUE(result);
    const logging::HeadingDistance expected = GreatCircle(own, c.far);
    EXPECT_NEAR(result->Heading, expected.Heading, 1e-4);
    EXPECT_NEAR(result->Distance, expected.Distance, 1e-3);
    EXPECT_GT(result->Heading, c.lowestHeading);
    EXPECT_LT(result->Heading, c.highestHeading);
  }
}

TEST(HDCalc, TheStationItselfAndItsAntipodeHaveNoHeading) {
  for (const GeoPoint own : {GeoPoint{41, 74}, GeoPoint{41.5, 72.5}, GeoPoint{-33.875, -151.25}, GeoPoint{60.25, -25.5}, GeoPoint{0, 0}}) {
    EXPECT_FALSE(logging::HDCalc(own, own)) << own.Latitude;
    EXPECT_FALSE(logging::HDCalc(own, {-own.Latitude, own.Longitude - 180})) << own.Latitude;
  }
}

TEST(HDCalc, APointOnTheOwnMeridianCountsAsWest) {
  const GeoPoint own{41.5, 72.5};
  for (const auto& [far, heading] : {std::pair{GeoPoint{50, 72.5}, 360.0}, std::pair{GeoPoint{30, 72.5}, 180.0}}) {
    const std::optional<logging::HeadingDistance> result = logging::HDCalc(own, far);
    if (result) {
      EXPECT_NEAR(result->Heading, heading, 1e-4) << far.Latitude;  // or no heading at all
    }
  }
}

TEST(HeadingAndDistanceTexts, WholeNumbersRoundedNothingForZeroAndTheLocalesThousandsSeparator) {
  const QLocale english(QLocale::English, QLocale::UnitedStates);
  const QLocale german(QLocale::German, QLocale::Germany);
  const struct {
    double miles;
    const char* english;
    const char* german;
  } distances[] = {{1234.6, "1,235", "1.235"}, {999.4, "999", "999"},     {999.5, "1,000", "1.000"},
                   {12427.4, "12,427", "12.427"}, {0.4, "", ""},           {0.5, "1", "1"},
                   {123456.0, "123,456", "123.456"}};
  for (const auto& d : distances) {
    EXPECT_EQ(logging::DistanceText(d.miles, english), d.english) << d.miles;
    EXPECT_EQ(logging::DistanceText(d.miles, german), d.german) << d.miles;
  }
  const std::pair<double, const char*> headings[] = {{359.6, "360"}, {45.5, "46"}, {45.49, "45"}, {0.4, ""}, {1234, "1234"}};
  for (const auto& [heading, text] : headings) EXPECT_EQ(logging::HeadingText(heading), text) << heading;
}

// The main window of a fixed station at 41.5 N, 72.5 W, the caret in the grid box.
class GridHeadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    app::OwnLatitude = 41.5;
    app::OwnLongitude = 72.5;
    ShowActive(form);
    form.txtSec.SetFocus();
  }
  void TearDown() override { QLocale::setDefault(QLocale::system()); }

  void TypeGrid(const QString& grid) {
    form.txtSec.SetText("");
    QTest::keyClicks(form.txtSec.Widget(), grid);
  }
  QStringList Shown() const { return {form.Label23.Caption(), form.Label24.Caption()}; }

  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

TEST_F(GridHeadingTest, ATypedGridShowsTheRoundedHeadingAndDistanceToItsSouthWestCorner) {
  const struct {
    const char* typed;
    GeoPoint corner;
  } cases[] = {
      {"FN42", {42, 72}}, {"EN82", {42, 84}}, {"FN31pr", {41 + 17.0 / 24, 72.75}}, {"FN31PR", {41 + 17.0 / 24, 72.75}},
      {"FN", {40, 80}},   {"FN3", {40, 74}},  {"OF58", {-32, -110}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    TypeGrid(c.typed);
    const logging::HeadingDistance expected = GreatCircle({41.5, 72.5}, c.corner);
    EXPECT_EQ(form.Label23.Caption(), QString::number(std::lround(expected.Heading)));
    EXPECT_EQ(form.Label24.Caption().remove(','), QString::number(std::lround(expected.Distance)));
  }
  TypeGrid("OF58");
  EXPECT_TRUE(form.Label24.Caption().contains(',')) << "more than 10,000 miles: " << form.Label24.Caption().toStdString();
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  TypeGrid("OF58");
  EXPECT_TRUE(form.Label24.Caption().contains('.')) << form.Label24.Caption().toStdString();
}

TEST_F(GridHeadingTest, ADigitPlaceWithoutADigitOrTheOwnCornerEmptiesBothLabels) {
  TypeGrid("FN42");
  ASSERT_FALSE(form.Label23.Caption().isEmpty());
  TypeGrid("FNx1");
  EXPECT_EQ(Shown(), QStringList({"", ""}));

  app::OwnLatitude = 41;  // the position the set-up takes from the own grid FN31
  app::OwnLongitude = 74;
  TypeGrid("FN42");
  ASSERT_FALSE(form.Label23.Caption().isEmpty());
  TypeGrid("FN31");
  EXPECT_EQ(Shown(), QStringList({"", ""}));
  TypeGrid("FN31bb");
  EXPECT_FALSE(form.Label24.Caption().isEmpty()) << "a subsquare of the own square has a heading again";
}

}  // namespace
