#pragma once

#include "platform/modulevalues.h"

#include <QString>

#include <array>
#include <cstdint>

namespace network {

// 1 while the station network functions are on; the network window's timers and load act only then.
MODULE_VALUE(std::uint8_t, NetworkEnabled, 0);

// This station's name on the network, at most 10 characters.
MODULE_VALUE(QString, StationName);

// The station table: one row per operating position, rows 0 to 200. Row 0 is the server's own
// station; on the server row k is the station behind peer socket k, and each client mirrors the
// server's rows. While a PC has neither peers nor a server, row 0 is this PC.
inline constexpr int StationTableRows = 201;
using StationColumn = std::array<QString, StationTableRows>;
MODULE_VALUE(StationColumn, NetStationName);
MODULE_VALUE(StationColumn, NetStationBand);  // a band name, "50 M" to "300 G"
MODULE_VALUE(StationColumn, NetStationMode);  // "PH", "CW" or "DIG"
MODULE_VALUE(StationColumn, NetStationOpr);   // the operator; this program sends it empty

// Computer names collected by the current walk of the LAN's computers (ListComp).
MODULE_VALUE(float, PCCount, 0);

}  // namespace network
