#include "app/globalpreferences.h"

#include "platform/asidefile.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <optional>

namespace app::modGlobalPreferences {

namespace {

const QString LineEnd = QStringLiteral("\r\n");

QString WithoutFinalLineEnd(QString text) {
  if (text.endsWith(LineEnd))
    text.chop(2);
  else if (text.endsWith(QLatin1Char('\n')))
    text.chop(1);
  return text;
}

qsizetype EndOfLine(const QString& text, qsizetype from) {
  static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
  const qsizetype lineEnd = text.indexOf(lineBreak, from);
  return lineEnd < 0 ? text.size() : lineEnd;
}

struct ValueSpan {
  qsizetype start;
  qsizetype end;
};

// The value of the first element that opens and closes on one line. Another program may write an
// element across lines, or a line may have lost its closing tag: such lines are left alone, as
// whatever stands up to a closing tag further on holds other programs' values.
std::optional<ValueSpan> ValueOnOneLine(const QString& text, const QString& openingTag, const QString& closingTag) {
  for (qsizetype opening = text.indexOf(openingTag); opening >= 0;) {
    const qsizetype start = opening + openingTag.size();
    const qsizetype lineEnd = EndOfLine(text, start);
    const qsizetype closing = QStringView(text).left(lineEnd).indexOf(closingTag, start);
    if (closing >= 0) return ValueSpan{start, closing};
    opening = text.indexOf(openingTag, lineEnd);
  }
  return std::nullopt;
}

// The characters of the bytes 0x80-0x9F in the Windows code page; the five it leaves unassigned
// keep their Latin-1 code points. From 0xA0 on, the code page is Latin-1.
constexpr char16_t kWindows1252From0x80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString FromWindows1252(QByteArrayView bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? kWindows1252From0x80[byte - 0x80] : char16_t{byte});
  }
  return text;
}

// A byte-order mark that starts a line is text, kept as it stands.
QString DecodedLine(QByteArrayView line) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  const QString text = utf8(line);
  return utf8.hasError() ? FromWindows1252(line) : text;
}

// A file a Windows editor saved as "Unicode" is UTF-16 from its byte-order mark on, every line of
// it; its mark is kept as text, so a save writes the file in UTF-8 with a UTF-8 mark.
std::optional<QString> DecodedUtf16(QByteArrayView bytes) {
  const bool littleEndian = bytes.startsWith("\xFF\xFE");
  if (!littleEndian && !bytes.startsWith("\xFE\xFF")) return std::nullopt;
  QStringDecoder utf16(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                       QStringDecoder::Flag::Stateless);
  return QChar(QChar::ByteOrderMark) + QString(utf16(bytes.sliced(2)));
}

// The file says it is UTF-8 and is written so, but the station's other programs, and earlier
// versions of this one, add lines in the Windows code page. Each line is read on its own, so one
// such line leaves every other value whole: a line that is valid UTF-8 is UTF-8, any other is the
// code page. Line-end bytes never occur within a character of either. The file's byte-order mark
// is kept as text, so a save writes it back, whatever the code of the line after it.
QString DecodedPreferences(QByteArrayView bytes) {
  if (std::optional<QString> text = DecodedUtf16(bytes)) return *text;
  static constexpr QByteArrayView byteOrderMark("\xEF\xBB\xBF");
  QString text;
  if (bytes.startsWith(byteOrderMark)) {
    text += QChar(QChar::ByteOrderMark);
    bytes = bytes.sliced(byteOrderMark.size());
  }
  for (qsizetype start = 0;;) {
    qsizetype end = start;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    text += DecodedLine(bytes.sliced(start, end - start));
    if (end == bytes.size()) return text;
    text += QLatin1Char(bytes[end]);
    start = end + 1;
  }
}

}  // namespace

void LoadPreferencesText(const QString& path) {
  const QString nativePath = platform::NativePath(path);
  QString text;
  if (QFileInfo::exists(nativePath)) {
    text = WithoutFinalLineEnd(DecodedPreferences(platform::ReadRegularFile(nativePath, platform::MaxTextFileBytes)));
  }
  PreferencesText = text.isEmpty() ? DeclarationLine : text;
  // Only a file that was read, or is not there yet, becomes the one that saves write: what cannot
  // be read is never overwritten.
  PreferencesPath = path;
}

void SavePreferencesText(const QString& path) {
  PreferencesPath = path;
  // Other programs' lines are in this file too: a failed save must leave every one of them.
  platform::WriteFileAside(platform::NativePath(path), (PreferencesText + LineEnd).toUtf8());
}

void SetPreference(const QString& key, const QString& value, std::uint8_t saveNow) {
  const QString tag = key.toUpper();
  const QString openingTag = QLatin1Char('<') + tag + QLatin1Char('>');
  const QString closingTag = QStringLiteral("</") + tag + QLatin1Char('>');
  const std::optional<ValueSpan> span = ValueOnOneLine(PreferencesText, openingTag, closingTag);
  if (span) {
    PreferencesText.replace(span->start, span->end - span->start, value);
  } else {
    PreferencesText += LineEnd + openingTag + value + closingTag;
  }
  if (saveNow == 1) SavePreferencesText(PreferencesPath);
}

QString CallToFileStem(const QString& call) {
  qsizetype length = 0;
  while (length < call.size()) {
    const QChar c = call[length];
    if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')))) break;
    ++length;
  }
  return length == 0 ? QStringLiteral("YourCall") : call.left(length);
}

}  // namespace app::modGlobalPreferences
