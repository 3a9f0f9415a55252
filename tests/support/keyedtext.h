#pragma once

#include "keying/cwelements.h"
#include "platform/printerport.h"

#include <QHash>
#include <QString>

// What a keying line spelled, read back from its levels: "1" key down and "0" key up for each
// unit, as the printer port records them (3 down, 2 up). A word gap reads as a blank; a pattern
// of no known character as "?".
inline QString KeyedText(const QString& levels) {
  static const QHash<QString, QChar> characters = [] {
    QHash<QString, QChar> byPattern;
    for (const QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/=[];\\")) {
      byPattern.insert(keying::ElementPattern(QString(c)), c);
    }
    return byPattern;
  }();
  QString text;
  qsizetype i = 0;
  while (i < levels.size()) {
    if (levels[i] == QLatin1Char('0')) {
      qsizetype gap = 0;
      while (i < levels.size() && levels[i] == QLatin1Char('0')) ++gap, ++i;
      if (gap >= 8) text += QLatin1Char(' ');
      continue;
    }
    const qsizetype end = levels.indexOf(QStringLiteral("000"), i);
    const qsizetype next = end < 0 ? levels.size() : end + 3;
    text += characters.value(levels.mid(i, next - i), QLatin1Char('?'));
    i = next;
  }
  return text;
}

inline QString KeyedText(const platform::RecordedPrinterPort& port) {
  QString levels;
  for (const platform::RecordedPrinterPort::Write& write : port.Writes()) {
    levels += write.value == 3 ? QLatin1Char('1') : QLatin1Char('0');
  }
  return KeyedText(levels);
}
