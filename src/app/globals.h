#pragma once

#include "platform/modulevalues.h"

#include <QString>

#include <cstdint>

// Program-wide values of start-up and the main window's frame; other subsystems read them.
namespace app {

// The station, as the set-up dialog states it.
MODULE_VALUE(QString, OwnCall);
MODULE_VALUE(QString, OwnGrid);
MODULE_VALUE(float, UtcOffset, 0);       // hours added to local time to give UTC
MODULE_VALUE(double, OwnLatitude, 0);    // degrees, north positive
MODULE_VALUE(double, OwnLongitude, 0);   // degrees, west positive
MODULE_VALUE(std::uint8_t, ContestType, 0);  // 1 to 5
MODULE_VALUE(std::uint8_t, Rover, 0);        // 1 = rover

// The log database file and the PC that holds it ("\\host\..." paths; empty for a local file).
MODULE_VALUE(QString, LogFilePath);
MODULE_VALUE(QString, ServerName);

// Folders, written with "\" as the program writes them.
MODULE_VALUE(QString, ProgramDir);
MODULE_VALUE(QString, ProgramDrive);
MODULE_VALUE(QString, DataFolder);
MODULE_VALUE(QString, SharedFolder);

// Main-window size policy.
MODULE_VALUE(std::uint8_t, FormSize, 0);        // percent of the screen, 30 to 100
MODULE_VALUE(std::uint8_t, TaskBarDisplay, 0);  // 1 = lay out on the desktop work area

MODULE_VALUE(std::uint8_t, KeyboardCW, 0);  // F12 toggles it in CW mode

}  // namespace app
