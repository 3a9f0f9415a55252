#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace logging {

// The stored date "yyyy/mm/dd" as the contact list shows it, "mm/dd"; a text that is no such
// date shows as it is.
QString ListDate(const QString& storedDate);

// The stored time "hh:mm:ss", or "hh:mm" for a contact entered after the contest, as the contact
// list shows it, "hh:mm"; a text that is no such time shows as it is.
QString ListTime(const QString& storedTime);

// The contact list's row of one contact of the in-memory log: its record number, then call, RST
// received, grid received, RST sent, date and time, the band's first three characters, own grid
// and mode.
QStringList ContactListRow(std::int32_t slot);

}  // namespace logging
