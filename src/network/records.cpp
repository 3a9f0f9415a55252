#include "network/records.h"

#include "platform/numbertext.h"

#include <QLatin1String>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <utility>

namespace network {

namespace {

const QLatin1String ArrayMarker("<Array:");
const QLatin1String NameMarker("<Name:");
const QLatin1String BandMarker("<Bnd:");
const QLatin1String ModeMarker("<Mde:");
const QLatin1String OperatorMarker("<Opr:");
const QLatin1String EndMarker("<EOR>");
const QLatin1String MessageMarker("<MessageFrom>");
const QLatin1String RecipientMarker("<MessageTo>");
const QLatin1String TextMarker("<MessageText>");
const QLatin1String DateMarker("<Date:>");
const QLatin1String TimeMarker("<Time:>");

// The markers a record begins with, and what each begins.
const std::array<std::pair<QLatin1String, RecordKind>, 3> StartMarkers = {{
    {ArrayMarker, RecordKind::Station},
    {MessageMarker, RecordKind::Message},
    {DateMarker, RecordKind::Clock},
}};
constexpr qsizetype LongestStartMarker = 13;  // "<MessageFrom>"
constexpr qsizetype LongestTimeText = 32;     // any longer text after "<Time:>" is no time
const QLatin1String CrLf2("\r\n\r\n");

// The first occurrence of a marker (each begins with "<") at or after `from`, any letter case.
qsizetype FindMarker(QStringView text, qsizetype from, QLatin1String marker) {
  for (qsizetype p = text.indexOf(u'<', from); p >= 0; p = text.indexOf(u'<', p + 1)) {
    if (text.mid(p).startsWith(marker, Qt::CaseInsensitive)) return p;
  }
  return -1;
}

const std::pair<QLatin1String, RecordKind>* StartMarkerAt(QStringView rest) {
  for (const auto& start : StartMarkers) {
    if (rest.startsWith(start.first, Qt::CaseInsensitive)) return &start;
  }
  return nullptr;
}

// The end of a text that a start marker may still complete.
bool CouldBeginStartMarker(QStringView rest) {
  if (rest.size() >= LongestStartMarker) return false;
  return std::any_of(StartMarkers.begin(), StartMarkers.end(),
                     [rest](const auto& start) { return start.first.startsWith(rest, Qt::CaseInsensitive); });
}

// The text between a marker's first occurrence and the first closing marker after it; empty
// when either is missing.
QStringView TextBetween(QStringView record, QLatin1String open, QLatin1String close) {
  const qsizetype p = FindMarker(record, 0, open);
  if (p < 0) return {};
  const qsizetype start = p + open.size();
  const qsizetype end = FindMarker(record, start, close);
  if (end < 0) return {};
  return record.mid(start, end - start);
}

QTime ClockTime(const QString& text) {
  const QTime time = QTime::fromString(text, QStringLiteral("H:mm:ss"));
  return time.isValid() ? time : QTime::fromString(text, QStringLiteral("h:mm:ss AP"));
}

// Whether " AM" or " PM" after a time text would read as another time than the text alone.
bool AmOrPmWouldChange(const QString& timeText) {
  const QTime alone = ClockTime(timeText);
  for (const QLatin1String suffix : {QLatin1String(" AM"), QLatin1String(" PM")}) {
    const QTime withSuffix = ClockTime(timeText + suffix);
    if (withSuffix.isValid() && withSuffix != alone) return true;
  }
  return false;
}

int LeadingWholeNumber(QStringView text) {
  constexpr int FarOutside = 1000000;
  qsizetype i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  int value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = std::min(value * 10 + (text[i].unicode() - u'0'), FarOutside);
  }
  return negative ? -value : value;
}

}  // namespace

QString TableRecord(int row, const QString& name, const QString& band, const QString& mode,
                    const QString& operatorName) {
  return QStringLiteral("<Array:") + QString::number(row) + QStringLiteral("> <Name:") + name +
         QStringLiteral(">: <Bnd:") + band + QStringLiteral("> <Mde: ") + mode + QStringLiteral("> <Opr: ") +
         operatorName + QStringLiteral("> <EOR>");
}

QString StatusRecord(const QString& name, const QString& band, const QString& mode) {
  return TableRecord(0, name, band, mode, QString());
}

QString FieldValue(QStringView record, QLatin1String marker) {
  const qsizetype p = record.indexOf(marker, 0, Qt::CaseInsensitive);
  if (p < 0) return QString();
  const qsizetype valueStart = p + marker.size();
  const qsizetype q = record.indexOf(u'>', valueStart);
  if (q < 0) return QString();
  return platform::TrimBlanks(record.mid(valueStart, q - valueStart)).toString();
}

StationFields ReadStationFields(QStringView record) {
  return {FieldValue(record, NameMarker), FieldValue(record, BandMarker), FieldValue(record, ModeMarker),
          FieldValue(record, OperatorMarker)};
}

std::optional<int> TableRow(QStringView record) {
  const qsizetype p = record.indexOf(ArrayMarker, 0, Qt::CaseInsensitive);
  if (p < 0) return std::nullopt;
  const qsizetype valueStart = p + ArrayMarker.size();
  const qsizetype q = record.indexOf(u'>', valueStart);
  if (q < 0) return std::nullopt;
  return LeadingWholeNumber(record.mid(valueStart, q - valueStart));
}

QString MessageRecord(const QString& sender, const QString& recipient, const QString& text) {
  return MessageMarker + sender + RecipientMarker + QLatin1Char(' ') + recipient + TextMarker + text + CrLf2 +
         EndMarker;
}

MessageFields ReadMessageFields(QStringView record) {
  return {platform::TrimBlanks(TextBetween(record, MessageMarker, RecipientMarker)).toString(),
          platform::TrimBlanks(TextBetween(record, RecipientMarker, TextMarker)).toString(),
          TextBetween(record, TextMarker, EndMarker).toString()};
}

QString ClockRecord(const QDateTime& now) {
  return DateMarker + now.toString(QStringLiteral("yyyy/MM/dd")) + TimeMarker + now.toString(QStringLiteral("HH:mm:ss"));
}

std::optional<ClockSetting> ReadClockRecord(QStringView record) {
  const qsizetype date = FindMarker(record, 0, DateMarker);
  if (date < 0) return std::nullopt;
  const qsizetype dateStart = date + DateMarker.size();
  const qsizetype time = FindMarker(record, dateStart, TimeMarker);
  if (time < 0) return std::nullopt;
  const QString dateText = platform::TrimBlanks(record.mid(dateStart, time - dateStart)).toString();
  const QString timeText = platform::TrimBlanks(record.mid(time + TimeMarker.size())).toString();
  return ClockSetting{QDate::fromString(dateText, QStringLiteral("yyyy/M/d")), ClockTime(timeText)};
}

QString LongTimeFormat() {
  const QString format = QLocale().timeFormat(QLocale::LongFormat);
  QString withoutZone;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == u'\'') quoted = !quoted;
    if (!quoted && c == u't') continue;
    withoutZone += c;
  }
  return withoutZone.trimmed();
}

void RecordBuffer::Append(QStringView received) {
  if (head_ > 0) {
    buffer_.remove(0, head_);
    scan_ -= head_;
    timeScan_ = std::max<qsizetype>(timeScan_ - head_, 0);
    if (start_ >= 0) start_ -= head_;
    if (time_ >= 0) time_ -= head_;
    head_ = 0;
  }
  buffer_.append(received);
}

std::optional<Record> RecordBuffer::Next() {
  std::optional<qsizetype> end;
  if (FindStart()) end = kind_ == RecordKind::Clock ? ClockEnd() : StationOrMessageEnd();
  if (!end) {
    if (Pending() > MaxPending) Clear();
    return std::nullopt;
  }
  Record record{kind_, buffer_.mid(start_, *end - start_)};
  head_ = scan_ = *end;
  start_ = -1;
  return record;
}

void RecordBuffer::DropWholeRecords() {
  while (Next()) {
  }
}

void RecordBuffer::Clear() {
  buffer_.clear();
  head_ = scan_ = timeScan_ = 0;
  start_ = time_ = -1;
}

// Looks for the next record's marker; text before it is dropped.
bool RecordBuffer::FindStart() {
  if (start_ >= 0) return true;
  const QStringView text(buffer_);
  for (qsizetype p = text.indexOf(u'<', scan_); p >= 0; p = text.indexOf(u'<', p + 1)) {
    const QStringView rest = text.mid(p);
    if (const auto* start = StartMarkerAt(rest)) {
      head_ = start_ = p;
      kind_ = start->second;
      scan_ = timeScan_ = p + start->first.size();
      time_ = -1;
      return true;
    }
    if (CouldBeginStartMarker(rest)) {
      head_ = scan_ = p;
      return false;
    }
  }
  head_ = scan_ = buffer_.size();
  return false;
}

std::optional<qsizetype> RecordBuffer::StationOrMessageEnd() {
  const qsizetype end = FindMarker(buffer_, scan_, EndMarker);
  if (end >= 0) return end + EndMarker.size();
  scan_ = std::max(scan_, buffer_.size() - (EndMarker.size() - 1));  // "<EO" may still become "<EOR>"
  return std::nullopt;
}

std::optional<qsizetype> RecordBuffer::ClockEnd() {
  const QStringView text(buffer_);
  for (qsizetype p = text.indexOf(u'<', scan_); p >= 0; p = text.indexOf(u'<', p + 1)) {
    if (StartMarkerAt(text.mid(p))) return p;
  }
  scan_ = std::max(scan_, buffer_.size() - (LongestStartMarker - 1));
  if (ClockTimeComplete()) return buffer_.size();
  return std::nullopt;
}

// The time text, everything after "<Time:>", is a whole time that nothing still to come could
// change: one cut short ("13:05:4", "1:05:42 P") is not, nor one an " AM" or " PM" would move
// ("1:05:42" may yet become "1:05:42 PM"): such a time waits for the next record to end it.
bool RecordBuffer::ClockTimeComplete() {
  static const QRegularExpression wholeTime(QStringLiteral("^\\d{1,2}:\\d{2}:\\d{2}( [AaPp][Mm])?$"));
  const QStringView text(buffer_);
  if (time_ < 0) {
    time_ = FindMarker(text, timeScan_, TimeMarker);
    if (time_ < 0) {
      timeScan_ = std::max(timeScan_, buffer_.size() - (TimeMarker.size() - 1));
      return false;
    }
  }
  const QStringView timeText = text.mid(time_ + TimeMarker.size());
  if (timeText.isEmpty() || timeText.size() > LongestTimeText) return false;
  const QRegularExpressionMatch match = wholeTime.match(timeText.toString());
  if (!match.hasMatch()) return false;
  return match.hasCaptured(1) || !AmOrPmWouldChange(timeText.toString());
}

}  // namespace network
