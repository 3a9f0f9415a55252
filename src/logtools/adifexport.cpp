#include "logtools/adifexport.h"

#include "logging/logstore.h"
#include "logtools/exportfile.h"
#include "platform/clock.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <optional>

namespace logtools {

namespace {

// The ADIF band of each of the 17 band names, in their order; "300 G" has none.
const std::array<QByteArray, logging::BandCount> kAdifBands = {
    "6M",  "2M",  "1.25M", "70CM", "35CM",  "23CM", "13CM", "9CM", "6CM",
    "3CM", "1.25CM", "6MM", "4MM",  "2.5MM", "2MM",  "1MM",  ""};

constexpr char kLineEnd[] = "\r\n";

// "<Name:length>value" and what follows it; the length counts the bytes of the value as written.
// A type goes between the length and ">" as ":type".
void AppendField(QByteArray& out, QByteArrayView name, const QByteArray& value, QByteArrayView after,
                 QByteArrayView type = {}) {
  out += '<';
  out += name;
  out += ':';
  out += QByteArray::number(value.size());
  if (!type.isEmpty()) {
    out += ':';
    out += type;
  }
  out += '>';
  out += value;
  out += after;
}

QByteArray AdifBand(const QString& band) {
  const std::int32_t index = logging::BandIndex(band);
  return index < 0 ? QByteArray() : kAdifBands[index];
}

QByteArray AdifHeader(const QString& mainWindowCaption) {
  const QString program = ExportingProgram(mainWindowCaption);
  QByteArray header = "ADIF Export from " + program.toLatin1() + kLineEnd;
  // The program's name without its version number (" 2.5").
  AppendField(header, "PROGRAMID", program.left(program.size() - 4).trimmed().toLatin1(), kLineEnd);
  header += "Log exported on: " + platform::Now().date().toString(QStringLiteral("M/d/yyyy")).toLatin1() + kLineEnd;
  header += kLineEnd;
  header += "<EOH>";
  header += kLineEnd;
  return header;
}

// The pieces of one record that are present, in the order and on the lines readers are used to:
// call, date and band; mode; power, time, reports, grid and comment; "<eor>"; an empty line.
void AppendRecord(QByteArray& out, std::int32_t slot, const AdifAnswers& answers, const QByteArray& phoneMode) {
  const QString& call = logging::LogCalls[slot];
  if (!call.isEmpty()) AppendField(out, "Call", call.toLatin1(), " ");
  if (const std::optional<QDate> date = ReadContactDate(logging::LogDate[slot])) {
    AppendField(out, "Qso_Date", date->toString(QStringLiteral("yyyyMMdd")).toLatin1(), " ", "d");
  }
  const QString& band = logging::LogBand[slot];
  if (!band.isEmpty()) AppendField(out, "Band", AdifBand(band), kLineEnd);
  const QString& mode = logging::LogMode[slot];
  const QByteArray writtenMode = mode.compare(u"PH", Qt::CaseInsensitive) == 0 ? phoneMode : mode.toUpper().toLatin1();
  if (!writtenMode.isEmpty()) AppendField(out, "Mode", writtenMode, kLineEnd);
  if (!answers.Power.isEmpty()) AppendField(out, "Tx_Pwr", answers.Power.toLatin1(), " ");
  const QString time = TimeHhmm(logging::LogTime[slot]);
  if (time.compare(u"0000", Qt::CaseInsensitive) >= 0) AppendField(out, "Time_On", time.toLatin1(), " ");
  const QString& rstSent = logging::LogRstSent[slot];
  if (!rstSent.isEmpty()) AppendField(out, "RST_Sent", rstSent.toLatin1(), " ");
  const QString& rstRcvd = logging::LogRstRcvd[slot];
  if (!rstRcvd.isEmpty()) AppendField(out, "RST_Rcvd", rstRcvd.toLatin1(), " ");
  const QString& grid = logging::LogGridRcvd[slot];
  if (!grid.isEmpty()) {
    QStringView kept(grid);
    while (kept.endsWith(u' ')) kept.chop(1);
    AppendField(out, "Gridsquare", kept.toLatin1(), " ");
  }
  if (!answers.Comment.isEmpty()) AppendField(out, "Comment", answers.Comment.toLatin1(), kLineEnd);
  out += "<eor>";
  out += kLineEnd;
  out += kLineEnd;
}

}  // namespace

QString AdifCommentDefault(std::uint8_t contestType) { return contestType == 5 ? QString() : ContestName(contestType); }

void WriteAdifFile(const QString& path, const AdifAnswers& answers, const QString& mainWindowCaption) {
  QByteArray out = AdifHeader(mainWindowCaption);
  // About 130 bytes a contact: one allocation for the whole file.
  out.reserve(out.size() + 160 * qsizetype(logging::LogCount));
  const QByteArray phoneMode = answers.PhoneMode.toUpper().toLatin1();
  for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot) AppendRecord(out, slot, answers, phoneMode);
  WriteWholeFile(path, out);
}

}  // namespace logtools
