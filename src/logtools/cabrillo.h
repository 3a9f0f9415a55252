#pragma once

#include <QString>

#include <cstdint>

// The log as a Cabrillo 2.0 file for the contest sponsor (Form2's "Write Cabrillo Log File").
namespace logtools {

// Form2's option groups, by the names of their options. The ARRL layout's operator options are
// Single, Single Op Portable, Rover, Multi-Limited, Multi-Unlimited and Checklog; under the CQ
// layout (contest type 5) the same options stand for Single Op, Single Op QRP, Single Op 6M,
// Single Op 2M, Multi Op and Rover.
enum class OperatorOption { Option1, Option2, Option3, Option6, Option7, Option4 };
// All, Limited, 3 Band, FM Only (not offered for the CQ contest).
enum class BandOption { Option8, Option5, Option12, Option13 };
// Low and High power; under the CQ layout Assisted and Non-assisted.
enum class PowerOption { Option19, Option18 };

// What the header says besides the log itself. Texts are written as given, untrimmed; in these
// and in the log's values, a line break or another control character is written as a blank.
struct CabrilloEntry {
  QString MainWindowCaption;  // names the program in CREATED-BY
  std::uint8_t ContestType = 0;
  QString OwnCall;             // CALLSIGN, and the own call on every contact line
  QString ClaimedScore;        // the main window's total score as shown
  OperatorOption Operator = OperatorOption::Option1;
  BandOption Band = BandOption::Option8;
  PowerOption Power = PowerOption::Option19;
  QString Section;    // ARRL-SECTION, not written for the CQ contest
  QString Operators;  // OPERATORS; the own call when empty
  QString Club;
  QString Name;
  QString AddressLine1;
  QString AddressLine2;
  QString Email;
  QString Soapbox;
};

// Writes contacts 1 to LogCount of the in-memory log, in its order, as a Cabrillo file at `path`
// (a path as the program writes it): the header lines, one QSO line per contact at the format's
// fixed columns (a value too wide for its columns is followed by one blank on that line), and
// END-OF-LOG. Throws platform::RuntimeError with the description when the file cannot be written;
// the old file at the path is then left as it was.
void WriteCabrilloLog(const QString& path, const CabrilloEntry& entry);

}  // namespace logtools
