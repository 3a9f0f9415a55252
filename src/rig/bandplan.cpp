#include "rig/bandplan.h"

#include <QStringList>
#include <iterator>
#include <optional>

#include "platform/errors.h"
#include "platform/trace.h"
#include "rig/replyfields.h"

namespace rig {

namespace {

constexpr qsizetype kRowValues = 5;

[[noreturn]] void DamagedLine(int line, const QString& why) {
  throw platform::RuntimeError(QStringLiteral("BandPlan.txt line %1: %2").arg(line).arg(why));
}

float Edge(const QString& value, int line) {
  const std::optional<double> megahertz = ReceivedNumber(value);
  if (!megahertz) DamagedLine(line, QStringLiteral("the edge \"%1\" is no number of MHz").arg(value));
  return static_cast<float>(*megahertz);
}

}  // namespace

BandPlanReader::BandPlanReader(const QString& path) : file_(path) {
  const QStringList date = file_.ReadRecord();
  if (date.isEmpty()) DamagedLine(line_, QStringLiteral("no date line"));
  if (date.size() != 1) DamagedLine(line_, QStringLiteral("the date line holds %1 values, not 1").arg(date.size()));
  effectiveDate_ = date.front();
}

BandPlanRow BandPlanReader::NextRow() {
  ++line_;
  const QStringList values = file_.ReadRecord();
  if (values.size() != kRowValues) {
    DamagedLine(line_, QStringLiteral("%1 values where a row holds %2").arg(values.size()).arg(kRowValues));
  }
  return {values[0], values[1], values[2], Edge(values[3], line_), Edge(values[4], line_)};
}

std::vector<BandPlanRow> LoadBandPlan(const QString& path) {
  std::vector<BandPlanRow> rows;
  try {
    BandPlanReader file(path);
    while (!file.AtEnd() && std::ssize(rows) < MaxBandPlanRows) {
      BandPlanRow row = file.NextRow();
      if (row.ClassLetter == u"E") rows.push_back(std::move(row));
    }
    // A longer plan is cut rather than overrunning the table.
    if (!file.AtEnd())
      qCWarning(lcRig) << "BandPlan.txt: the table is full at" << MaxBandPlanRows
                       << "rows; the rest of the file is left out";
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcRig, error);
  }
  return rows;
}

QString BandPlanModeForFrequency(const std::vector<BandPlanRow>& rows, double megahertz, const QString& mode) {
  // The edges are held in single precision; the frequency is compared at theirs, so one typed as
  // an edge's text lies on that edge.
  const auto frequency = static_cast<float>(megahertz);
  QString band;
  QString chosen = mode;
  for (const BandPlanRow& row : rows) {
    if (row.LowerMHz < frequency && frequency < row.UpperMHz) {
      band = row.Band;
      chosen = row.Mode;
      break;
    }
  }
  if (band == u"160") return QString();
  if (chosen != u"PH") return chosen;
  // Phone on the 60 m channels is upper sideband only, as everywhere above 10 MHz.
  return band == u"80" || band == u"40" ? QStringLiteral("LSB") : QStringLiteral("USB");
}

}  // namespace rig
