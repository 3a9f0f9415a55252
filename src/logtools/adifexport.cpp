#include "logtools/adifexport.h"

#include "logging/logstore.h"
#include "logging/storeddatetime.h"
#include "logtools/exportfile.h"
#include "platform/clock.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace logtools {

namespace {

// The ADIF band of each of the 17 band names, in their order: ADIF's own names, which its readers
// check ("33CM" for 902 to 928 MHz, "SUBMM" for 300 GHz and above).
constexpr std::array<std::string_view, logging::BandCount> kAdifBands = {
    "6M",  "2M",     "1.25M", "70CM", "33CM",  "23CM", "13CM", "9CM", "6CM",
    "3CM", "1.25CM", "6MM",   "4MM",  "2.5MM", "2MM",  "1MM",  "SUBMM"};

constexpr char kLineEnd[] = "\r\n";

// The ASCII letter under a letter with accents (an e with an acute accent gives "e"); empty for
// any other character.
std::optional<char> BaseLetter(char32_t character) {
  const QString parts = QString::fromUcs4(&character, 1).normalized(QString::NormalizationForm_D);
  if (parts.size() < 2 || parts[0].unicode() >= 0x80 || !parts[0].isLetter()) return std::nullopt;
  if (!std::all_of(parts.begin() + 1, parts.end(), [](QChar c) { return c.isMark(); })) return std::nullopt;
  return static_cast<char>(parts[0].unicode());
}

// Text as ADIF strings hold it, printable ASCII: a letter with an accent becomes its base letter
// and any other character, a control character too, "?". One byte per character, so a field's
// length is the size of what this gives.
std::string AsciiText(QStringView text) {
  std::string ascii;
  ascii.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t character = text[i].unicode();
    if (character >= 0x20 && character < 0x7F) {
      ascii += static_cast<char>(character);
      continue;
    }
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      character = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    ascii += BaseLetter(character).value_or('?');
  }
  return ascii;
}

// "<Name:length>", or "<Name:length:type>", before a value of `length` bytes.
void AppendSpecifier(std::string& out, std::string_view name, std::size_t length, std::string_view type = {}) {
  out += '<';
  out += name;
  out += ':';
  AppendZeroPadded(out, static_cast<int>(length));
  if (!type.empty()) {
    out += ':';
    out += type;
  }
  out += '>';
}

// A field of an ASCII value and what follows it.
void AppendField(std::string& out, std::string_view name, std::string_view value, std::string_view after) {
  AppendSpecifier(out, name, value.size());
  out += value;
  out += after;
}

void AppendField(std::string& out, std::string_view name, QStringView value, std::string_view after) {
  AppendField(out, name, AsciiText(value), after);
}

void AppendDateField(std::string& out, const logging::ContactDate& date) {
  AppendSpecifier(out, "Qso_Date", 8, "d");
  AppendZeroPadded(out, date.Year, 4);
  AppendZeroPadded(out, date.Month, 2);
  AppendZeroPadded(out, date.Day, 2);
  out += ' ';
}

std::string_view AdifBand(const QString& band) {
  const std::int32_t index = logging::BandIndex(band);
  return index < 0 ? std::string_view() : kAdifBands[index];
}

void AppendHeader(std::string& out, const QString& mainWindowCaption) {
  const QString program = ExportingProgram(mainWindowCaption);
  out += "ADIF Export from ";
  out += AsciiText(program);
  out += kLineEnd;
  // The program's name without its version number (" 2.5").
  AppendField(out, "PROGRAMID", program.left(program.size() - 4).trimmed(), kLineEnd);
  out += "Log exported on: ";
  out += AsciiText(platform::Now().date().toString(QStringLiteral("M/d/yyyy")));
  out += kLineEnd;
  out += kLineEnd;
  out += "<EOH>";
  out += kLineEnd;
}

// The operator's answers as every record writes them.
struct RecordAnswers {
  std::string Power;
  std::string Comment;
  QString PhoneMode;
};

// The pieces of one record that are present, in the order and on the lines readers are used to:
// call, date and band; mode; power, time, reports, grid and comment; "<eor>"; an empty line.
void AppendRecord(std::string& out, std::int32_t slot, const RecordAnswers& answers) {
  const QString& call = logging::LogCalls[slot];
  if (!call.isEmpty()) AppendField(out, "Call", call, " ");
  const std::optional<logging::ContactDate> date = logging::ReadContactDate(logging::LogDate[slot]);
  if (date) AppendDateField(out, *date);
  const QString& band = logging::LogBand[slot];
  if (!band.isEmpty()) AppendField(out, "Band", AdifBand(band), kLineEnd);
  const QString& mode = logging::LogMode[slot];
  const QString writtenMode = mode.compare(u"PH", Qt::CaseInsensitive) == 0 ? answers.PhoneMode : mode.toUpper();
  if (!writtenMode.isEmpty()) AppendField(out, "Mode", writtenMode, kLineEnd);
  if (!answers.Power.empty()) AppendField(out, "Tx_Pwr", answers.Power, " ");
  const QString time = TimeHhmm(logging::LogTime[slot]);
  if (time.compare(u"0000", Qt::CaseInsensitive) >= 0) AppendField(out, "Time_On", time, " ");
  const QString& rstSent = logging::LogRstSent[slot];
  if (!rstSent.isEmpty()) AppendField(out, "RST_Sent", rstSent, " ");
  const QString& rstRcvd = logging::LogRstRcvd[slot];
  if (!rstRcvd.isEmpty()) AppendField(out, "RST_Rcvd", rstRcvd, " ");
  const QString& grid = logging::LogGridRcvd[slot];
  if (!grid.isEmpty()) {
    QStringView kept(grid);
    while (kept.endsWith(u' ')) kept.chop(1);
    AppendField(out, "Gridsquare", kept, " ");
  }
  if (!answers.Comment.empty()) AppendField(out, "Comment", answers.Comment, kLineEnd);
  out += "<eor>";
  out += kLineEnd;
  out += kLineEnd;
}

}  // namespace

QString AdifCommentDefault(std::uint8_t contestType) { return contestType == 5 ? QString() : ContestName(contestType); }

void WriteAdifFile(const QString& path, const AdifAnswers& answers, const QString& mainWindowCaption) {
  std::string out;
  // About 140 bytes a contact besides the power and comment: one allocation for the whole file.
  const qsizetype perContact = 180 + answers.Power.size() + answers.Comment.size();
  out.reserve(static_cast<std::size_t>(perContact * (logging::LogCount + 1)));
  AppendHeader(out, mainWindowCaption);
  const RecordAnswers recordAnswers{AsciiText(answers.Power), AsciiText(answers.Comment), answers.PhoneMode.toUpper()};
  for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot) AppendRecord(out, slot, recordAnswers);
  WriteWholeFile(path, out);
}

}  // namespace logtools
