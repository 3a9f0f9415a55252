#include "rig/hexconversions.h"

#include "rig/replyfields.h"

namespace rig {

namespace {

QString ByteToHex(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return NibbleToHex(value >> 4) + NibbleToHex(value & 0x0F);
}

// The value of one or two hex digits; -1 when any of them is not hex.
int HexValue(const QString& digits) {
  int value = 0;
  for (QChar c : digits) {
    const int digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

// Each pair of digits that starts every `step` characters as one byte.
QByteArray PairsToBytes(const QString& text, qsizetype step) {
  QByteArray bytes;
  for (qsizetype k = 1; k <= text.size(); k += step) {
    const int value = HexValue(Mid(text, k, 2));
    if (value < 0) return QByteArray();
    bytes += static_cast<char>(value);
  }
  return bytes;
}

}  // namespace

QString NibbleToHex(int nibble) {
  if (nibble < 0 || nibble > 15) return QString();
  return QString(QChar(nibble < 10 ? u'0' + nibble : u'A' + nibble - 10));
}

QString BytesToHexText(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size() * 3);
  for (char byte : bytes) text += ByteToHex(byte) + u' ';
  return text;
}

QString Yaesu757Digits(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size() * 2);
  for (char byte : bytes) text += ByteToHex(byte);
  return text;
}

QByteArray HexTextToBytes(const QString& hexPairs) { return PairsToBytes(hexPairs, 3); }

QByteArray HexStringToBytes(const QString& hexDigits) { return PairsToBytes(hexDigits, 2); }

QString DigitsToFreqText(const QString& digits) {
  QString text;
  if (Mid(digits, 1, 1) != u"0") text += Mid(digits, 1, 1);
  if (Mid(digits, 1, 2) != u"00") text += Mid(digits, 2, 1);
  // The MHz digit stays even when it is zero, so 0.5 MHz reads "0.50000", not "50000".
  return text + Mid(digits, 3, 1) + u'.' + Mid(digits, 4, 5);
}

QString BcdToFreqText(const QString& digits) {
  QString text;
  if (Mid(digits, 1, 1) != u"0") text += Mid(digits, 1, 1);
  if (Mid(digits, 1, 2) != u"00") text += Mid(digits, 2, 1);
  if (Mid(digits, 1, 3) != u"000") text += Mid(digits, 3, 1);
  return text + Mid(digits, 4, 1) + u'.' + Mid(digits, 5, 6);
}

}  // namespace rig
