#include "logtools/cabrillo.h"

#include "logging/logstore.h"
#include "logging/storeddatetime.h"
#include "logtools/exportfile.h"

#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <string>

namespace logtools {

namespace {

// The band code of each of the 17 band names, in their order.
constexpr std::array<QStringView, logging::BandCount> kBandCodes = {
    u"50", u"144", u"222", u"432", u"902", u"1.2", u"2.3", u"3.4", u"5.7",
    u"10", u"24",  u"47",  u"75",  u"120", u"142", u"241", u"300"};

constexpr char kLineEnd[] = "\r\n";

QString ContestValue(std::uint8_t contestType) {
  switch (contestType) {
    case 1: return QStringLiteral("ARRL-VHF-JAN");
    case 2: return QStringLiteral("ARRL-VHF-JUN");
    case 3: return QStringLiteral("ARRL-UHF-AUG");
    case 4: return QStringLiteral("ARRL-VHF-SEP");
    case 5: return QStringLiteral("CQ-VHF");
    default: return {};
  }
}

QString OperatorWord(OperatorOption option, bool cq) {
  switch (option) {
    case OperatorOption::Option1: return cq ? QStringLiteral("SINGLE-OP ALL HIGH") : QStringLiteral("SINGLE-OP");
    case OperatorOption::Option2:
      return cq ? QStringLiteral("SINGLE-OP ALL QRP") : QStringLiteral("SINGLE-OP-PORTABLE");
    case OperatorOption::Option3: return cq ? QStringLiteral("SINGLE-OP 6M HIGH") : QStringLiteral("ROVER");
    case OperatorOption::Option6: return cq ? QStringLiteral("SINGLE-OP 2M HIGH") : QStringLiteral("MULTI-LIMITED");
    case OperatorOption::Option7: return cq ? QStringLiteral("MULTI-ONE ALL HIGH") : QStringLiteral("MULTI-UNLIMITED");
    case OperatorOption::Option4: return cq ? QStringLiteral("ROVER ALL HIGH") : QStringLiteral("CHECKLOG");
  }
  return {};
}

QString BandWord(BandOption option) {
  switch (option) {
    case BandOption::Option8: return QStringLiteral("ALL");
    case BandOption::Option5: return QStringLiteral("LIMITED");
    case BandOption::Option12: return QStringLiteral("VHF-3-BAND");
    case BandOption::Option13: return QStringLiteral("VHF-FM-ONLY");
  }
  return {};
}

// A single operator's category carries band and power words, each followed by a blank even when
// empty (the CQ layout has neither): readers have always seen those trailing blanks.
QString CategoryText(const CabrilloEntry& entry) {
  const bool cq = entry.ContestType == 5;
  const QString word = OperatorWord(entry.Operator, cq);
  if (entry.Operator != OperatorOption::Option1) return word;
  const QString band = cq ? QString() : BandWord(entry.Band);
  const QString power = cq                                    ? QString()
                        : entry.Power == PowerOption::Option18 ? QStringLiteral("HIGH")
                                                               : QStringLiteral("LOW");
  return word + u' ' + band + u' ' + power + u' ';
}

QStringList HeaderLines(const CabrilloEntry& entry) {
  const bool cq = entry.ContestType == 5;
  QStringList lines = {QStringLiteral("START-OF-LOG: 2.0"),
                       QStringLiteral("CREATED-BY: ") + ExportingProgram(entry.MainWindowCaption)};
  if (!cq) lines << QStringLiteral("ARRL-SECTION: ") + entry.Section;
  lines << QStringLiteral("CONTEST: ") + ContestValue(entry.ContestType)
        << QStringLiteral("CALLSIGN: ") + entry.OwnCall << QStringLiteral("CATEGORY: ") + CategoryText(entry);
  if (cq) {
    lines << QStringLiteral("CATEGORY-ASSISTED: ") +
                 (entry.Power == PowerOption::Option18 ? QStringLiteral("NON-ASSISTED") : QStringLiteral("ASSISTED"));
  }
  lines << QStringLiteral("CLAIMED-SCORE: ") + entry.ClaimedScore
        << QStringLiteral("OPERATORS: ") + (entry.Operators.isEmpty() ? entry.OwnCall : entry.Operators)
        << QStringLiteral("CLUB: ") + entry.Club << QStringLiteral("NAME: ") + entry.Name
        << QStringLiteral("ADDRESS: ") + entry.AddressLine1 << QStringLiteral("ADDRESS: ") + entry.AddressLine2
        << QStringLiteral("ADDRESS: (e-mail) ") + entry.Email << QStringLiteral("SOAPBOX: ") + entry.Soapbox
        << QStringLiteral("SOAPBOX:") << QStringLiteral("SOAPBOX:");
  return lines;
}

// A line whose fields start at fixed 1-based columns, blanks filling the gaps, as readers that
// count columns expect. A value too wide for its columns runs on and the next field follows it
// after one blank, its own last one if it ends in a blank: the contact stays on its one tagged
// line and its fields stay apart.
class ColumnLine {
 public:
  // Starts the line with its tag.
  ColumnLine(std::string& out, const char* tag) : out_(out), lineStart_(out.size()) { out_ += tag; }

  // The file, ready for the field that starts at the column.
  std::string& At(std::size_t column) {
    const std::size_t next = out_.size() - lineStart_ + 1;
    if (next < column) {
      out_.append(column - next, ' ');
    } else if (out_.back() != ' ') {
      out_ += ' ';
    }
    return out_;
  }

 private:
  std::string& out_;
  std::size_t lineStart_;
};

// A field's text in Latin-1, on the line it belongs to.
void AppendText(std::string& out, const QString& text) { AppendLatin1(out, OneLineText(text)); }

QStringView BandCode(const QString& band) {
  const std::int32_t index = logging::BandIndex(band);
  return index < 0 ? QStringView() : kBandCodes[index];
}

// The stored date as yyyy-mm-dd; a text that is no date goes as it is.
void AppendDate(std::string& out, const QString& storedDate) {
  const std::optional<logging::ContactDate> date = logging::ReadContactDate(storedDate);
  if (!date) {
    AppendText(out, storedDate);
    return;
  }
  AppendZeroPadded(out, date->Year, 4);
  out += '-';
  AppendZeroPadded(out, date->Month, 2);
  out += '-';
  AppendZeroPadded(out, date->Day, 2);
}

void AppendQsoLine(std::string& out, std::int32_t slot, const QString& ownCall) {
  ColumnLine line(out, "QSO:");
  const QStringView code = BandCode(logging::LogBand[slot]);
  AppendLatin1(line.At(11 - static_cast<std::size_t>(code.size())), code);  // ends in column 10
  AppendText(line.At(12), logging::LogMode[slot]);
  AppendDate(line.At(15), logging::LogDate[slot]);
  AppendText(line.At(26), TimeHhmm(logging::LogTime[slot]));
  AppendText(line.At(31), ownCall);  // columns 31 to 44, and 45 to 48 blank
  AppendText(line.At(49), logging::LogGridSent[slot]);
  AppendText(line.At(56), logging::LogCalls[slot]);  // columns 56 to 69, and 70 to 73 blank
  AppendText(line.At(74), logging::LogGridRcvd[slot]);
  line.At(81) += ' ';
  out += kLineEnd;
}

}  // namespace

void WriteCabrilloLog(const QString& path, const CabrilloEntry& entry) {
  std::string out;
  // About 83 bytes a contact after a header of a few hundred: one allocation for the whole file.
  out.reserve(1024 + 96 * static_cast<std::size_t>(logging::LogCount));
  for (const QString& line : HeaderLines(entry)) {
    AppendText(out, line);
    out += kLineEnd;
  }
  for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot) AppendQsoLine(out, slot, entry.OwnCall);
  out += "END-OF-LOG:";
  out += kLineEnd;
  WriteWholeFile(path, out);
}

}  // namespace logtools
