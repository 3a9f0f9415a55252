#include "logging/heading.h"

#include "app/gridposition.h"

#include <cmath>

namespace logging {

namespace {

// The log's figures have always used these two factors; keeping them keeps every heading and
// distance the same as before.
constexpr double kDegreesPerRadian = 57.29577951;
constexpr double kMilesPerRadian = 3955.75791314991;

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// arccos(x) as atan(-x / sqrt(1 - x^2)) + 2 atan(1); nothing at or beyond +-1, where the square
// root would be of zero or less.
std::optional<double> ArcCos(double x) {
  const double rest = 1 - x * x;
  if (!(rest > 0)) return std::nullopt;
  return std::atan(-x / std::sqrt(rest)) + 2 * std::atan(1.0);
}

GeoPoint Antipode(const GeoPoint& point) { return {-point.Latitude, point.Longitude - 180}; }

// Longitudes a whole turn apart are the same meridian.
bool IsSamePoint(const GeoPoint& a, const GeoPoint& b) {
  return a.Latitude == b.Latitude && std::remainder(a.Longitude - b.Longitude, 360.0) == 0;
}

// The whole number a figure shows, halves rounded away from zero.
QString WholeNumber(double value) {
  const long long whole = std::llround(value);
  return whole == 0 ? QString() : QString::number(whole);
}

}  // namespace

std::optional<GeoPoint> GridCornerPoint(const QString& grid) {
  const QString places = grid.left(6);
  for (qsizetype digit : {2, 3}) {
    if (places.size() > digit && !IsDigit(places[digit])) return std::nullopt;
  }
  const app::GridCorner corner = app::GridSquareCorner(places, 6);
  if (!corner.latitude || !corner.longitude) return std::nullopt;
  return GeoPoint{*corner.latitude, *corner.longitude};
}

std::optional<HeadingDistance> HDCalc(const GeoPoint& own, const GeoPoint& far) {
  // Mathematically c is 1 or -1 for these two, but rounding may leave it just inside and yield a
  // heading that means nothing.
  if (IsSamePoint(own, far) || IsSamePoint(own, Antipode(far))) return std::nullopt;
  constexpr double R = kDegreesPerRadian;
  const double lat1 = own.Latitude / R;
  const double lat2 = far.Latitude / R;
  const double eastOfStation = (own.Longitude - far.Longitude) / R;  // longitudes are west positive

  const double c = std::sin(lat2) * std::sin(lat1) + std::cos(lat2) * std::cos(lat1) * std::cos(eastOfStation);
  const std::optional<double> arc = ArcCos(c);
  if (!arc) return std::nullopt;
  const double angularDistance = *arc * R;
  const double divisor = std::sin(angularDistance / R) * std::cos(lat1);
  if (divisor == 0) return std::nullopt;
  const std::optional<double> bearing = ArcCos((std::sin(lat2) - std::sin(lat1) * c) / divisor);
  if (!bearing) return std::nullopt;

  const double fromNorth = *bearing * R;
  // A point on the station's own meridian counts as west: due north is 360.
  const double heading = std::sin(eastOfStation) > 0 ? fromNorth : 360 - fromNorth;
  return HeadingDistance{heading, *arc * kMilesPerRadian};
}

QString HeadingText(double heading) { return WholeNumber(heading); }

QString DistanceText(double miles, const QLocale& locale) {
  QString text = WholeNumber(miles);
  for (qsizetype at = text.size() - 3; at > 0; at -= 3) text.insert(at, locale.groupSeparator());
  return text;
}

}  // namespace logging
