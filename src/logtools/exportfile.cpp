#include "logtools/exportfile.h"

#include "platform/asidefile.h"
#include "platform/paths.h"

#include <QDate>
#include <QStringView>

#include <charconv>

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

void AppendLatin1(std::string& out, QStringView text) {
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(text.size()));
  char* byte = out.data() + start;
  for (const QChar c : text) *byte++ = c.unicode() < 0x100 ? static_cast<char>(c.unicode()) : '?';
}

void AppendZeroPadded(std::string& out, int number, int width) {
  char digits[16];
  const int count = static_cast<int>(std::to_chars(digits, digits + sizeof digits, number).ptr - digits);
  if (count < width) out.append(static_cast<std::size_t>(width - count), '0');
  out.append(digits, static_cast<std::size_t>(count));
}

void WriteWholeFile(const QString& path, std::string_view bytes) {
  platform::WriteFileAside(platform::NativePath(path),
                           QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
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

std::optional<ContactDate> ReadContactDate(QStringView text) {
  const char16_t separator = text.contains(u'/') ? u'/' : u'-';
  const qsizetype first = text.indexOf(separator);
  const qsizetype second = first < 0 ? -1 : text.indexOf(separator, first + 1);
  if (second < 0 || text.indexOf(separator, second + 1) >= 0) return std::nullopt;
  const QStringView parts[] = {text.left(first), text.mid(first + 1, second - first - 1), text.mid(second + 1)};
  const bool yearFirst = parts[0].size() == 4;
  if (!yearFirst && separator != u'/') return std::nullopt;
  const int year = DigitsValue(parts[yearFirst ? 0 : 2], 4, 4);
  const int month = DigitsValue(parts[yearFirst ? 1 : 0], 1, 2);
  const int day = DigitsValue(parts[yearFirst ? 2 : 1], 1, 2);
  if (year < 0 || !QDate::isValid(year, month, day)) return std::nullopt;
  return ContactDate{year, month, day};
}

std::optional<int> ReadContactTime(QStringView text) {
  const QStringView time = text.trimmed();
  const qsizetype firstColon = time.indexOf(u':');
  const qsizetype secondColon = firstColon < 0 ? -1 : time.indexOf(u':', firstColon + 1);
  if (firstColon < 0 || (secondColon >= 0 && time.indexOf(u':', secondColon + 1) >= 0)) return std::nullopt;
  const qsizetype minuteEnd = secondColon < 0 ? time.size() : secondColon;
  const int hours = DigitsValue(time.left(firstColon), 1, 2);
  const int minutes = DigitsValue(time.mid(firstColon + 1, minuteEnd - firstColon - 1), 1, 2);
  const int seconds = secondColon < 0 ? 0 : DigitsValue(time.mid(secondColon + 1), 1, 2);
  if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) return std::nullopt;
  return (hours * 60 + minutes) * 60 + seconds;
}

QString TimeHhmm(QStringView storedTime) {
  const QStringView time = storedTime.trimmed();
  const qsizetype colon = time.indexOf(u':');
  QString hhmm = time.left(colon < 0 ? time.size() : colon).toString();
  if (colon >= 0) hhmm += time.mid(colon + 1, 2);
  hhmm.truncate(4);
  return hhmm.rightJustified(4, u'0');
}

}  // namespace logtools
