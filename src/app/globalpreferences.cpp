#include "app/globalpreferences.h"

#include "platform/paths.h"

#include <QFile>
#include <QRegularExpression>

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

// An element whose closing tag was lost ends with its line; the closing tag is put back there.
qsizetype EndOfLine(const QString& text, qsizetype from) {
  static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
  const qsizetype lineEnd = text.indexOf(lineBreak, from);
  return lineEnd < 0 ? text.size() : lineEnd;
}

}  // namespace

void LoadPreferencesText(const QString& path) {
  PreferencesPath = path;
  const QString nativePath = platform::NativePath(path);
  if (!platform::FileExists(nativePath)) {
    PreferencesText = DeclarationLine;
    return;
  }
  QFile file(nativePath);
  if (!file.open(QIODevice::ReadOnly)) throw platform::FileOpenError(nativePath, false);
  // The file is single-byte text; Latin-1 carries every byte through a load and save unchanged.
  const QString text = WithoutFinalLineEnd(QString::fromLatin1(file.readAll()));
  PreferencesText = text.isEmpty() ? DeclarationLine : text;
}

void SavePreferencesText(const QString& path) {
  PreferencesPath = path;
  const QString nativePath = platform::NativePath(path);
  QFile file(nativePath);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw platform::FileOpenError(nativePath, true);
  const QByteArray bytes = (PreferencesText + LineEnd).toLatin1();
  if (file.write(bytes) != bytes.size() || !file.flush()) throw platform::FileOpenError(nativePath, true);
}

void SetPreference(const QString& key, const QString& value, std::uint8_t saveNow) {
  const QString tag = key.toUpper();
  const QString openingTag = QLatin1Char('<') + tag + QLatin1Char('>');
  const QString closingTag = QStringLiteral("</") + tag + QLatin1Char('>');
  const qsizetype opening = PreferencesText.indexOf(openingTag);
  if (opening < 0) {
    PreferencesText += LineEnd + openingTag + value + closingTag;
  } else {
    const qsizetype valueStart = opening + openingTag.size();
    const qsizetype closing = PreferencesText.indexOf(closingTag, valueStart);
    if (closing >= 0)
      PreferencesText = PreferencesText.left(valueStart) + value + PreferencesText.mid(closing);
    else
      PreferencesText = PreferencesText.left(valueStart) + value + closingTag +
                        PreferencesText.mid(EndOfLine(PreferencesText, valueStart));
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
