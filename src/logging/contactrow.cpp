#include "logging/contactrow.h"

#include "logging/logstore.h"

#include <QDate>
#include <QTime>

namespace logging {

QString ListDate(const QString& storedDate) {
  const QDate date = QDate::fromString(storedDate, QStringLiteral("yyyy/M/d"));
  return date.isValid() ? date.toString(QStringLiteral("MM/dd")) : storedDate;
}

QString ListTime(const QString& storedTime) {
  for (const QString& format : {QStringLiteral("H:m:s"), QStringLiteral("H:m")}) {
    const QTime time = QTime::fromString(storedTime, format);
    if (time.isValid()) return time.toString(QStringLiteral("HH:mm"));
  }
  return storedTime;
}

QStringList ContactListRow(std::int32_t slot) {
  return {QString::number(slot),
          LogCalls[slot],
          LogRstRcvd[slot],
          LogGridRcvd[slot],
          LogRstSent[slot],
          ListDate(LogDate[slot]) + QLatin1Char(' ') + ListTime(LogTime[slot]),
          LogBand[slot].left(3),
          LogGridSent[slot],
          LogMode[slot]};
}

}  // namespace logging
