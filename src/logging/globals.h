#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

// Program-wide values of contact logging that other subsystems read or write.
namespace logging {

inline QString CurrentBand;  // one of the 17 band names, "50 M" to "300 G"
inline QString CurrentMode;  // "PH" or "CW"

inline std::uint8_t RstRecord = 0;     // 1 = record RST reports; any other value skips the RST boxes
inline std::uint8_t ListPrevious = 0;  // 1 = list earlier contacts of a call
inline std::uint8_t DupeFound = 0;
inline std::uint8_t DupCheckOn = 0;     // the partial-call check is on
inline std::uint8_t ReloadPending = 0;  // another PC's rows wait for the call box

// The operator's time-on clock.
inline std::uint8_t LoggedOn = 0;
inline float StoredOnTime = 0;  // seconds
inline QDateTime LogOnStart;
inline float OnTime = 0;  // seconds

inline float RefreshRate = 0;  // milliseconds between shared-log polls, 6000 to 60000

inline std::int32_t WorkedGridColor = 0;     // &HBBGGRR
inline std::int32_t RemainingGridColor = 0;  // &HBBGGRR

inline std::uint8_t VoiceNavigation = 0;  // 0 off, 1 call only, 2 all data fields

// Always equal to the texts of txtCall and txtRSTS; the CW macros read them.
inline QString CurrentCall;
inline QString CurrentRstSent;

}  // namespace logging
