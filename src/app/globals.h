#pragma once

#include <QString>

#include <cstdint>

// Program-wide values of start-up and the main window's frame; other subsystems read them.
namespace app {

// The station, as the set-up dialog states it.
inline QString OwnCall;
inline QString OwnGrid;
inline float UtcOffset = 0;       // hours added to local time to give UTC
inline double OwnLatitude = 0;    // degrees, north positive
inline double OwnLongitude = 0;   // degrees, west positive
inline std::uint8_t ContestType = 0;  // 1 to 5
inline std::uint8_t Rover = 0;        // 1 = rover

// The log database file and the PC that holds it ("\\host\..." paths; empty for a local file).
inline QString LogFilePath;
inline QString ServerName;

// Folders, written with "\" as the program writes them.
inline QString ProgramDir;
inline QString ProgramDrive;
inline QString DataFolder;
inline QString SharedFolder;

// Main-window size policy.
inline std::uint8_t FormSize = 0;        // percent of the screen, 30 to 100
inline std::uint8_t TaskBarDisplay = 0;  // 1 = lay out on the desktop work area

inline std::uint8_t KeyboardCW = 0;  // F12 toggles it in CW mode

}  // namespace app
