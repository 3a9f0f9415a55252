#include "spotting/spotlines.h"

#include "platform/numbertext.h"

#include <algorithm>

namespace spotting {

void SpotLineBuffer::Append(QStringView received) { text_.append(received); }

std::optional<QString> SpotLineBuffer::NextLine() {
  const qsizetype start = text_.indexOf(u'\n', offset_);
  if (start >= 0) {
    offset_ = start;
    const qsizetype end = text_.indexOf(u'\n', start + 1);
    if (end >= 0) {
      offset_ = end;
      return text_.sliced(start + 1, end - start);
    }
  }
  Compact();
  return std::nullopt;
}

void SpotLineBuffer::Compact() {
  if (offset_ > 0) {
    text_ = text_.sliced(offset_);
    offset_ = 0;
  }
  const qsizetype unfinished = text_.startsWith(u'\n') ? text_.size() - 1 : text_.size();
  if (unfinished > MaxUnfinished) text_ = text_.last(KeptUnfinished);
}

bool IsDXLine(QStringView line) { return line.startsWith(u"DX", Qt::CaseInsensitive); }

DXLine ParseDXLine(const QString& line) {
  // A short line's end would otherwise run into its last field: "Q1XYZ\r\n" is no call.
  QStringView fields(line);
  while (fields.endsWith(u'\n') || fields.endsWith(u'\r')) fields.chop(1);
  const auto field = [fields](qsizetype column, qsizetype width) {
    return platform::TrimBlanks(fields.mid(column - 1, width)).toString();
  };
  return {field(16, 9), field(27, 13), line};
}

QString SpotRecord(const QString& line) { return platform::TrimBlanks(line.mid(3)); }

bool IsRepeatLine(const QString& receivedText, const QString& line) {
  constexpr qsizetype kSearched = 801;
  const qsizetype from = std::max<qsizetype>(0, receivedText.size() - kSearched);
  return receivedText.indexOf(line, from, Qt::CaseInsensitive) >= 0;
}

void CutReceivedText(QString& receivedText) {
  constexpr qsizetype kLongest = 10000;
  constexpr qsizetype kKept = 9000;
  if (receivedText.size() > kLongest) receivedText.remove(0, receivedText.size() - kKept);
}

std::vector<DXLine> TakeReceivedLines(SpotLineBuffer& buffer, QString& receivedText, bool dxOnly) {
  std::vector<DXLine> spots;
  while (std::optional<QString> line = buffer.NextLine()) {
    if (IsRepeatLine(receivedText, *line)) continue;
    const bool dx = IsDXLine(*line);
    if (dx || !dxOnly) {
      receivedText += *line;
      CutReceivedText(receivedText);
    }
    if (dx) spots.push_back(ParseDXLine(*line));
  }
  return spots;
}

std::vector<DXLine> TakeDXLines(SpotLineBuffer& buffer) {
  std::vector<DXLine> spots;
  while (std::optional<QString> line = buffer.NextLine()) {
    if (IsDXLine(*line)) spots.push_back(ParseDXLine(*line));
  }
  return spots;
}

}  // namespace spotting
