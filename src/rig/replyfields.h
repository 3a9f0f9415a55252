#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace rig {

// What the reply parsers share to read fields out of what a rig sent. Positions count from 1,
// as the rig protocols number their characters and bytes.

// The part of a text or reply that starts at a position and is at most `length` long (the rest
// when length is negative). Whatever lies before 1 or past the end is left out: a position past
// the end gives an empty part, never a read beyond the buffer. Every position into a reply goes
// through here.
template <typename Text>
Text Mid(const Text& text, qsizetype position, qsizetype length = -1) {
  const qsizetype size = text.size();
  if (position > size || (length >= 0 && position + length <= 1)) return Text();
  const qsizetype first = position < 1 ? 1 : position;
  const qsizetype last = length < 0 || position + length - 1 > size ? size : position + length - 1;
  return text.sliced(first - 1, last - first + 1);
}

// The position of the first occurrence of a marker at or after `from`, case-sensitive; 0 when it
// is absent. An empty marker is never found, so an empty command box matches nothing.
qsizetype FindMarker(const QByteArray& reply, const QByteArray& marker, qsizetype from = 1);

// The one test for a number in received text: decimal digits with at most one "." and at least
// one digit ("14.", ".5", "14.25"), blanks (spaces) around it allowed. Stricter than
// platform::DecimalOfText on purpose, with no sign and no exponent: a BCD field whose hex digits
// hold an "E" must not read as a power of ten. A value beyond single
// precision is no number either, so every accepted value converts to a finite single.
std::optional<double> ReceivedNumber(const QString& text);

// The units a rig counts a frequency in, per MHz.
inline constexpr double kHzPerMegahertz = 1e6;
inline constexpr double kTenHzPerMegahertz = 1e5;

// A count of units (Hz: 1e6 per MHz, 10 Hz: 1e5) as MHz: rounded to a whole count, halves to
// even, then divided, so the reading keeps every unit the rig told (14235005 Hz is 14.235005).
double RoundedMegahertz(double units, double unitsPerMegahertz);

// A frequency field in Hz as MHz, to the Hz. Nothing when the field is no number.
std::optional<double> MegahertzFromHzField(const QString& field);

}  // namespace rig
