#include "spotting/spotintake.h"

#include "platform/numbertext.h"
#include "spotting/spotstore.h"

#include <cmath>
#include <limits>

namespace spotting {

std::optional<double> SpotNumber(const QString& text) {
  const std::optional<double> value = platform::DecimalOfText(text);
  if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
  return value;
}

bool IsOwnCallSpotted(const QString& spottedCall, const QString& ownCall) {
  return !spottedCall.isEmpty() && spottedCall.compare(ownCall, Qt::CaseInsensitive) == 0;
}

QString SpottedDialogCaption() { return QStringLiteral("You've been spotted! "); }

QString SpottedDupeCaption(const QString& record) { return QStringLiteral("You've been spotted!  ") + record; }

QString RecordBeforeCarriageReturn(const QString& record) {
  const qsizetype carriageReturn = record.indexOf(u'\r');
  return carriageReturn < 0 ? record : record.left(carriageReturn);
}

QStringList SpotListRow(const QString& call, double megahertz, const QString& record) {
  // Record columns count from 1; QString::mid gives what lies within the record, never beyond.
  const auto column = [&record](qsizetype position, qsizetype width) { return record.mid(position - 1, width); };
  using platform::TrimBlanks;
  return {call,
          platform::NumberText(megahertz),
          QString(),
          QString(),
          TrimBlanks(column(1, 11)) + QStringLiteral("  ") + TrimBlanks(column(35, 25)),
          TrimBlanks(column(62, 5)),
          column(68, 4),
          TrimBlanks(column(73, 4))};
}

std::optional<QStringList> FileSpot(const QString& call, const QString& kilohertz, const QString& record) {
  const std::optional<double> frequency = SpotNumber(kilohertz);
  if (!frequency) return std::nullopt;
  const double megahertz = *frequency / 1000;
  StoreSpot(call, megahertz);
  return SpotListRow(call, megahertz, RecordBeforeCarriageReturn(record));
}

}  // namespace spotting
