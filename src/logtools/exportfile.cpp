#include "logtools/exportfile.h"

#include "platform/paths.h"

#include <QList>
#include <QSaveFile>
#include <QStringView>

namespace logtools {

namespace {

// The number written by all-digit text of minDigits to maxDigits characters; -1 for other text.
int DigitsValue(QStringView text, qsizetype minDigits, qsizetype maxDigits) {
  if (text.size() < minDigits || text.size() > maxDigits) return -1;
  int value = 0;
  for (const QChar c : text) {
    if (c < u'0' || c > u'9') return -1;
    value = value * 10 + (c.unicode() - u'0');
  }
  return value;
}

}  // namespace

void WriteWholeFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(platform::NativePath(path));
  if (!file.open(QIODevice::WriteOnly)) throw platform::FileOpenError(file.fileName(), true);
  if (file.write(bytes) != bytes.size() || !file.commit()) throw platform::FileOpenError(file.fileName(), true);
}

QString ExportingProgram(const QString& mainWindowCaption) { return mainWindowCaption.left(60).trimmed(); }

QString ContestName(std::uint8_t contestType) {
  switch (contestType) {
    case 1: return QStringLiteral("ARRL January VHF Sweepstakes");
    case 2: return QStringLiteral("ARRL June VHF QSO Party");
    case 3: return QStringLiteral("ARRL UHF Contest");
    case 4: return QStringLiteral("ARRL September VHF QSO Party");
    case 5: return QStringLiteral("CQ VHF Contest");
    default: return {};
  }
}

std::optional<QDate> ReadContactDate(const QString& text) {
  for (const char16_t separator : {u'/', u'-'}) {
    const QList<QStringView> parts = QStringView(text).split(separator);
    if (parts.size() != 3) continue;
    const bool yearFirst = parts[0].size() == 4;
    if (!yearFirst && separator != u'/') return std::nullopt;
    const int year = DigitsValue(parts[yearFirst ? 0 : 2], 4, 4);
    const int month = DigitsValue(parts[yearFirst ? 1 : 0], 1, 2);
    const int day = DigitsValue(parts[yearFirst ? 2 : 1], 1, 2);
    if (year < 0 || !QDate::isValid(year, month, day)) return std::nullopt;
    return QDate(year, month, day);
  }
  return std::nullopt;
}

QString TimeHhmm(const QString& storedTime) {
  QString time = storedTime.trimmed();
  const qsizetype colon = time.indexOf(u':');
  if (colon >= 0) time = time.left(colon) + time.mid(colon + 1, 2);
  return time.left(4).rightJustified(4, u'0');
}

}  // namespace logtools
