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

// The file says it is UTF-8 and is written so. A file that is not valid UTF-8 came from an earlier
// version of this program or from another program writing the 8-bit code page: Latin-1 reads
// each of its bytes as the character it stood for there. A byte-order mark is kept as text, so
// a save writes it back.
QString DecodedPreferences(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  const QString text = utf8(bytes);
  return utf8.hasError() ? QString::fromLatin1(bytes) : text;
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
