#pragma once

#include <QString>

#include <optional>
#include <vector>

// Received spot text as lines: cutting it at line feeds, the DX spot line's fields, the repeat
// filter and the receive box's length.
namespace spotting {

// Received text not yet taken as whole lines. A line runs from one line feed to the next and
// includes its closing line feed (and the CR before it); text in front of the first line feed
// is dropped. It starts with a line feed, so the first line received is kept.
//
// Lines are taken by moving an offset through the text, which is compacted once, when no whole
// line is left; so a burst of lines costs no more per line than a trickle. An unfinished line of
// more than MaxUnfinished characters (a source that never sends a line feed) is cut to its last
// KeptUnfinished characters, which are dropped when the line feed comes: a cut line is never
// taken.
class SpotLineBuffer {
 public:
  static constexpr qsizetype MaxUnfinished = 16 * 1024;
  static constexpr qsizetype KeptUnfinished = 4 * 1024;

  void Append(QStringView received);
  // The next whole line; none when only an unfinished line is left.
  std::optional<QString> NextLine();
  // Characters held, the line feed that ends the last whole line included.
  qsizetype Size() const { return text_.size() - offset_; }

 private:
  void Compact();

  QString text_ = QStringLiteral("\n");
  qsizetype offset_ = 0;
};

// Whether a line is a DX spot line: it begins with "DX" in any letter case.
bool IsDXLine(QStringView line);

// A DX spot line with what the spot input hands on: the frequency in kHz (columns 16-24) and the
// call (columns 27-39) as texts, blanks removed at both ends; empty when the line ends before them.
// The line's end (CR, LF) belongs to no field.
struct DXLine {
  QString Frequency;
  QString Call;
  QString Line;
};
DXLine ParseDXLine(const QString& line);

// The spot record of a DX line: the line without its first three characters, blanks removed at
// both ends (a line break at its end stays).
QString SpotRecord(const QString& line);

// Whether a line already stands in the last 801 characters of the receive box's text, in any
// letter case.
bool IsRepeatLine(const QString& receivedText, const QString& line);

// Keeps the receive box's text short: beyond 10000 characters only the last 9000 stay.
void CutReceivedText(QString& receivedText);

// The TNC's and the AGW engine's lines of one tick: takes every whole line from the buffer and
// drops those that repeat the receive box's recent text. The rest are appended to receivedText
// (kept short), all of them or, with dxOnly, only the DX lines. Returns the DX lines, in order,
// to hand on.
std::vector<DXLine> TakeReceivedLines(SpotLineBuffer& buffer, QString& receivedText, bool dxOnly);

// The telnet cluster's DX lines: every whole line from the buffer that begins with "DX", with no
// repeat filter.
std::vector<DXLine> TakeDXLines(SpotLineBuffer& buffer);

}  // namespace spotting
