#include "logtools/siblingexport.h"

#include "logging/logstore.h"
#include "logtools/exportfile.h"
#include "platform/quotedtext.h"

namespace logtools {

void WriteSiblingLoggerFile(const QString& path, std::uint8_t contestType) {
  using platform::QuotedValue;
  const QString contest = ContestName(contestType);
  const QuotedValue contestValue = contest.isEmpty() ? QuotedValue::None() : QuotedValue(contest);
  const QuotedValue none = QuotedValue::None();
  platform::QuotedTextWriter file(path);
  const auto text = [](const QString& value) { return QuotedValue(OneLineText(value)); };
  for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot) {
    file.WriteRecord({text(logging::LogCalls[slot]), text(logging::LogDate[slot]),
                      text(logging::LogBand[slot].left(3).trimmed()), text(logging::LogMode[slot]), none,
                      text(logging::LogTime[slot]), text(logging::LogRstSent[slot]), text(logging::LogRstRcvd[slot]),
                      none, none, none, none, text(logging::LogGridRcvd[slot]), none, none, contestValue});
  }
  file.Close();
}

QString ContactListClipboardText(const QStringList& headers, const std::vector<QStringList>& rows) {
  const QString lineEnd = QStringLiteral("\r\n");
  QString text = headers.join(u'\t') + lineEnd;
  for (const QStringList& row : rows) {
    for (qsizetype column = 0; column < headers.size(); ++column) {
      text += row.value(column);
      text += column < headers.size() - 1 ? QStringLiteral("\t") : lineEnd;
    }
  }
  return text;
}

}  // namespace logtools
