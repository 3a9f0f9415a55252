#pragma once

#include "platform/modulevalues.h"

#include <QDateTime>
#include <QString>

#include <cstdint>

// Program-wide values of contact logging that other subsystems read or write.
namespace logging {

MODULE_VALUE(QString, CurrentBand);  // one of the 17 band names, "50 M" to "300 G"
MODULE_VALUE(QString, CurrentMode);  // "PH" or "CW"

MODULE_VALUE(std::uint8_t, RstRecord, 0);     // 1 = record RST reports; any other value skips the RST boxes
MODULE_VALUE(std::uint8_t, ListPrevious, 0);  // 1 = list earlier contacts of a call
MODULE_VALUE(std::uint8_t, DupeFound, 0);     // the commit stores nothing while it is 1
MODULE_VALUE(QDateTime, DupeTime);            // local moment the last dupe was found
MODULE_VALUE(std::uint8_t, DupCheckOn, 1);     // the partial-call check is on
MODULE_VALUE(std::uint8_t, ReloadPending, 0);  // another PC's rows wait for the call box
MODULE_VALUE(std::uint8_t, ListAllContacts, 0);  // 1 = the contact list shows every contact, 0 the last 20

// The operator's time-on clock.
MODULE_VALUE(std::uint8_t, LoggedOn, 0);
MODULE_VALUE(float, StoredOnTime, 0);  // seconds
MODULE_VALUE(QDateTime, LogOnStart);
MODULE_VALUE(float, OnTime, 0);  // seconds

MODULE_VALUE(float, RefreshRate, 0);  // milliseconds between shared-log polls, 6000 to 60000

MODULE_VALUE(std::int32_t, WorkedGridColor, 0);     // &HBBGGRR
MODULE_VALUE(std::int32_t, RemainingGridColor, 0);  // &HBBGGRR

// The grid map's shift from the own square, in degrees north and west; only its arrow buttons
// change it, and it is never saved.
MODULE_VALUE(float, GridMapLatOffset, 0);
MODULE_VALUE(float, GridMapLonOffset, 0);

MODULE_VALUE(std::uint8_t, VoiceNavigation, 0);  // 0 off, 1 call only, 2 all data fields

// Copies of the texts of txtCall and txtRSTS, taken at each change; the CW macros read them. A CW
// message's "*" turns an empty or "599" CurrentRstSent into "5NN", which holds until the box changes.
MODULE_VALUE(QString, CurrentCall);
MODULE_VALUE(QString, CurrentRstSent);

}  // namespace logging
