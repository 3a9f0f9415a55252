#pragma once

#include <QString>
#include <vector>

#include "platform/quotedtext.h"

namespace rig {

// One segment of the band plan file BandPlan.txt: a band's frequencies that a licence class may
// use, and whether they are a CW or a phone segment. Class letters: "N" Novice, "T" Technician,
// "P" Technician Plus, "G" General, "A" Advanced, "E" Extra, "O" the outline of the whole band.
struct BandPlanRow {
  QString Band;         // "160", "80", "60", "40", "20", ...
  QString ClassLetter;  // one letter
  QString Mode;         // "CW" or "PH"
  float LowerMHz = 0;
  float UpperMHz = 0;
};

// The most rows a band plan table holds.
inline constexpr int MaxBandPlanRows = 200;

// Reads BandPlan.txt, a quoted-text file: the effective date alone on the first line, then one
// row per line of band, class letter, mode, lower and upper edge in MHz. The rig window and the
// band plan viewer both read it through here; each decides how many rows it keeps.
class BandPlanReader {
 public:
  // Opens the file (a path as the program writes it) and reads the date line. Throws
  // RuntimeError when the file cannot be read, is no regular file or is too large, and when the
  // date line is missing or holds more than one value.
  explicit BandPlanReader(const QString& path);

  const QString& EffectiveDate() const { return effectiveDate_; }
  // Whether only blanks and line ends are left.
  bool AtEnd() const { return file_.AtEnd(); }
  // The next line's row. Throws RuntimeError naming the line when it does not hold exactly five
  // values or an edge is no number; the reader is then of no further use.
  BandPlanRow NextRow();

 private:
  platform::QuotedTextReader file_;
  QString effectiveDate_;
  int line_ = 1;
};

// The rig window's table: the first MaxBandPlanRows "E" rows of the file at the path, in file
// order. Nothing is reported: a file that cannot be read gives no rows, and a damaged line ends
// the table with the rows before it (each failure is traced).
std::vector<BandPlanRow> LoadBandPlan(const QString& path);

// The rig mode for a frequency in MHz, given the mode as it stands: the mode of the first row
// with LowerMHz < frequency < UpperMHz (a frequency on an edge matches no row), then "" on the
// "160" band (no mode command there), and "PH" as "LSB" on "80" and "40" and "USB" anywhere else,
// "60" too. Without a matching row the mode stays as given, a "PH" becoming "USB".
QString BandPlanModeForFrequency(const std::vector<BandPlanRow>& rows, double megahertz, const QString& mode);

}  // namespace rig
