#include "logtools/exportfile.h"

#include "logging/storeddatetime.h"
#include "platform/asidefile.h"
#include "platform/paths.h"

#include <QStringView>

#include <algorithm>
#include <charconv>
#include <optional>

namespace logtools {

namespace {

// C0, DEL and C1: the characters that are no text to a reader.
bool IsControlCharacter(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); }

}  // namespace

void AppendLatin1(std::string& out, QStringView text) {
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(text.size()));
  char* byte = out.data() + start;
  for (const QChar c : text) *byte++ = c.unicode() < 0x100 ? static_cast<char>(c.unicode()) : '?';
}

QString OneLineText(const QString& text) {
  if (std::none_of(text.begin(), text.end(), IsControlCharacter)) return text;
  QString line;
  line.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (!IsControlCharacter(text[i])) {
      line += text[i];
      continue;
    }
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;  // one line break
    line += u' ';
  }
  return line;
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

QString TimeHhmm(QStringView storedTime) {
  if (const std::optional<int> seconds = logging::ReadContactTime(storedTime)) {
    std::string hhmm;
    AppendZeroPadded(hhmm, *seconds / 3600, 2);
    AppendZeroPadded(hhmm, *seconds / 60 % 60, 2);
    return QString::fromLatin1(hhmm);
  }
  const QStringView time = storedTime.trimmed();
  const qsizetype colon = time.indexOf(u':');
  QString hhmm = time.left(colon < 0 ? time.size() : colon).toString();
  if (colon >= 0) hhmm += time.mid(colon + 1, 2);
  hhmm.truncate(4);
  return hhmm.rightJustified(4, u'0');
}

}  // namespace logtools
