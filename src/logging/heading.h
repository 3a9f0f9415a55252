#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// Beam heading and distance from the own station to a received grid square.
namespace logging {

// A point on the globe in degrees, north and west positive.
struct GeoPoint {
  double Latitude;
  double Longitude;
};

// The south-west corner of the field, square or subsquare that the first six characters of a
// typed grid name. Nothing for fewer than two characters, or when a square's place holds no digit.
std::optional<GeoPoint> GridCornerPoint(const QString& grid);

struct HeadingDistance {
  double Heading;   // degrees from north, east of the station up to 180, west of it 180 to 360
  double Distance;  // statute miles
};

// The great-circle heading and distance from `own` to `far`. Nothing when there is none: the
// far point is the station itself or its antipode, or it lies so nearly due north or south that
// the bearing's cosine rounds to 1 or beyond.
std::optional<HeadingDistance> HDCalc(const GeoPoint& own, const GeoPoint& far);

// The heading as a whole number of degrees, rounded; nothing for 0.
QString HeadingText(double heading);
// The distance as a whole number of miles, rounded, the thousands grouped with the locale's
// separator; nothing for 0.
QString DistanceText(double miles, const QLocale& locale = QLocale());

}  // namespace logging
