#pragma once

#include <QString>

#include <cstdint>

// The preferences file "corvaneprf.txt" in the program folder: the station and the main window's
// settings, 21 values one per line in the shared quoted-text format, written whole on each change.
namespace logging {

inline const QString PreferencesFileName = QStringLiteral("corvaneprf.txt");

// The file's values in file order. The initial values are those of a first start, before any
// file has been written.
struct PreferenceValues {
  QString OwnCall;
  QString OwnGrid;
  float UtcOffset = 0;
  QString CurrentMode = QStringLiteral("CW");
  QString CurrentBand = QStringLiteral("50 M");
  float StoredOnTime = 0;
  std::uint8_t ContestType = 1;
  std::uint8_t RstRecord = 1;
  std::uint8_t FormSize = 100;
  std::uint8_t Rover = 0;
  double OwnLongitude = 0;
  double OwnLatitude = 0;
  QString PanelView = QStringLiteral("View Grids");  // the caption of the main window's Command2
  std::int32_t WorkedGridColor = 255;
  std::int32_t RemainingGridColor = 0;
  QString LogFilePath;
  float RefreshRate = 60000;
  std::uint8_t VoiceNavigation = 0;
  QString RigType = QStringLiteral("None");
  std::uint8_t TaskBarDisplay = 0;
  std::uint8_t ListPrevious = 0;

  bool operator==(const PreferenceValues&) const = default;
};

// Replaces the file at path (as the program writes paths) only once it is written whole.
// Throws platform::RuntimeError when it cannot be written.
void WritePreferencesFile(const QString& path, const PreferenceValues& values);

// The values of the file at path; a first start's values when there is no file. Throws
// platform::RuntimeError when the file is there but cannot be read, has fewer than 21 values
// (62 "Input past end of file"), or holds a value that is not a number where one belongs
// (13 "Type mismatch") or lies outside its type (6 "Overflow").
PreferenceValues ReadPreferencesFile(const QString& path);

// The module values the file holds, and the panel view shown.
PreferenceValues CurrentPreferences(const QString& panelView);
// Puts the values into the module values; the panel view is the caller's to apply.
void TakePreferences(const PreferenceValues& values);

}  // namespace logging
