#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace logging {

// A stored date as the contact list shows it, "mm/dd"; a text that is no date shows as it is.
QString ListDate(const QString& storedDate);

// A stored time as the contact list shows it, "hh:mm"; a text that is no time shows as it is.
QString ListTime(const QString& storedTime);

// The contact list's row of one contact of the in-memory log: its record number, then call, RST
// received, grid received, RST sent, date and time, the band's first three characters, own grid
// and mode.
QStringList ContactListRow(std::int32_t slot);

}  // namespace logging
