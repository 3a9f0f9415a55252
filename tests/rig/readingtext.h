#pragma once

#include <QByteArray>
#include <QString>
#include <charconv>
#include <string>

#include "rig/replyparsers.h"

// A reading as one line, so that a table of cases reads as what the rig window would show:
// "14.235 CW", "14.25 -" (mode left as it was), "- -" (nothing taken), "14.25 CW vfo=1".
// A frequency is written in its shortest exact form, so equal text means the same single.
inline std::string ReadingText(const rig::RigReading& reading) {
  std::string text = "-";
  if (reading.frequency) {
    char digits[32];
    text.assign(digits, std::to_chars(digits, digits + sizeof digits, *reading.frequency).ptr);
  }
  if (!reading.mode) {
    text += " -";
  } else {
    text += reading.mode->isEmpty() ? std::string(" \"\"") : " " + reading.mode->toStdString();
  }
  if (reading.kenwoodVfo) text += " vfo=" + std::to_string(*reading.kenwoodVfo);
  return text;
}

// Bytes written as hex pairs, blanks ignored: Bytes("FE FE 64 E0 03 FD").
inline QByteArray Bytes(const char* hexPairs) { return QByteArray::fromHex(hexPairs); }
