#pragma once

#include <QString>

namespace logging {

// The band a rig frequency (MHz) lies in: the name of one of the first ten bands, or "" when it
// lies in none. Both ends of each range are excluded and compared in single precision; the
// lower six ranges reach 0.0001 MHz past their round edges, so 50.0 and 54.0 are "50 M".
QString BandOfFrequency(float megahertz);

}  // namespace logging
