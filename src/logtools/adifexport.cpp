#include "logtools/adifexport.h"

#include "logging/logstore.h"
#include "logging/storeddatetime.h"
#include "logtools/exportfile.h"
#include "platform/clock.h"

#include <QStringView>

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace logtools {

namespace {

// The ADIF band of each of the 17 band names, in their order; "300 G" has none.
constexpr std::array<QStringView, logging::BandCount> kAdifBands = {
    u"6M",  u"2M",     u"1.25M", u"70CM", u"35CM",  u"23CM", u"13CM", u"9CM", u"6CM",
    u"3CM", u"1.25CM", u"6MM",   u"4MM",  u"2.5MM", u"2MM",  u"1MM",  u""};

constexpr char kLineEnd[] = "\r\n";

// "<Name:length>", or "<Name:length:type>", before a value of `length` bytes.
void AppendSpecifier(std::string& out, std::string_view name, qsizetype length, std::string_view type = {}) {
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

// A field and what follows it; its length is the number of bytes AppendLatin1 writes.
void AppendField(std::string& out, std::string_view name, QStringView value, std::string_view after) {
  AppendSpecifier(out, name, value.size());
  AppendLatin1(out, value);
  out += after;
}

void AppendDateField(std::string& out, const logging::ContactDate& date) {
  AppendSpecifier(out, "Qso_Date", 8, "d");
  AppendZeroPadded(out, date.Year, 4);
  AppendZeroPadded(out, date.Month, 2);
  AppendZeroPadded(out, date.Day, 2);
  out += ' ';
}

QStringView AdifBand(const QString& band) {
  const std::int32_t index = logging::BandIndex(band);
  return index < 0 ? QStringView() : kAdifBands[index];
}

void AppendHeader(std::string& out, const QString& mainWindowCaption) {
  const QString program = ExportingProgram(mainWindowCaption);
  out += "ADIF Export from ";
  AppendLatin1(out, program);
  out += kLineEnd;
  // The program's name without its version number (" 2.5").
  AppendField(out, "PROGRAMID", program.left(program.size() - 4).trimmed(), kLineEnd);
  out += "Log exported on: ";
  AppendLatin1(out, platform::Now().date().toString(QStringLiteral("M/d/yyyy")));
  out += kLineEnd;
  out += kLineEnd;
  out += "<EOH>";
  out += kLineEnd;
}

// The pieces of one record that are present, in the order and on the lines readers are used to:
// call, date and band; mode; power, time, reports, grid and comment; "<eor>"; an empty line.
void AppendRecord(std::string& out, std::int32_t slot, const AdifAnswers& answers, const QString& phoneMode) {
  const QString& call = logging::LogCalls[slot];
  if (!call.isEmpty()) AppendField(out, "Call", call, " ");
  const std::optional<logging::ContactDate> date = logging::ReadContactDate(logging::LogDate[slot]);
  if (date) AppendDateField(out, *date);
  const QString& band = logging::LogBand[slot];
  if (!band.isEmpty()) AppendField(out, "Band", AdifBand(band), kLineEnd);
  const QString& mode = logging::LogMode[slot];
  const QString writtenMode = mode.compare(u"PH", Qt::CaseInsensitive) == 0 ? phoneMode : mode.toUpper();
  if (!writtenMode.isEmpty()) AppendField(out, "Mode", writtenMode, kLineEnd);
  if (!answers.Power.isEmpty()) AppendField(out, "Tx_Pwr", answers.Power, " ");
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
  if (!answers.Comment.isEmpty()) AppendField(out, "Comment", answers.Comment, kLineEnd);
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
  const QString phoneMode = answers.PhoneMode.toUpper();
  for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot) AppendRecord(out, slot, answers, phoneMode);
  WriteWholeFile(path, out);
}

}  // namespace logtools
