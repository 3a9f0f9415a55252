#pragma once

#include <QDate>
#include <QDateTime>
#include <QLatin1String>
#include <QString>
#include <QStringView>
#include <QTime>

#include <optional>

// The text records the station's PCs exchange over TCP: a client's status, the server's table
// rows, station messages and clock settings. Fields are found by their markers, in any letter
// case; records carry no length, so a receiver cuts them from what arrives (RecordBuffer).
namespace network {

// A client's own station, sent to the server: always row 0, no operator.
QString StatusRecord(const QString& name, const QString& band, const QString& mode);
// One row of the server's station table, sent to each client.
QString TableRecord(int row, const QString& name, const QString& band, const QString& mode,
                    const QString& operatorName);

// The value of a field: the text from the end of the marker's first occurrence to the first ">"
// after it, blanks trimmed; empty when the marker or the ">" is missing.
QString FieldValue(QStringView record, QLatin1String marker);

struct StationFields {
  QString name, band, mode, operatorName;
};
StationFields ReadStationFields(QStringView record);

// The row a table record names: the leading number after "<Array:" (blanks, a sign, digits; no
// digits give 0). Nothing when "<Array:" or its ">" is missing. A number of many digits gives a
// row far outside the table, never an overflow.
std::optional<int> TableRow(QStringView record);

// A station message; an empty recipient is everyone. The text travels with two line breaks after
// it, which the receivers keep.
QString MessageRecord(const QString& sender, const QString& recipient, const QString& text);

struct MessageFields {
  QString sender, recipient, text;
};
// Sender and recipient trimmed, the text as sent; a field whose markers are missing is empty.
MessageFields ReadMessageFields(QStringView record);

// This PC's clock for the others to take: the date as "yyyy/mm/dd", the time as "HH:mm:ss" (a
// locale's long time format may carry a zone name that no other PC reads).
QString ClockRecord(const QDateTime& now);

// What a clock record sets: the date and the time where its text is one (invalid where not, so
// that part of the clock stays). Dates are read as "yyyy/mm/dd", times as "H:mm:ss" or
// "h:mm:ss AM". Nothing when "<Date:>" or the "<Time:>" after it is missing.
struct ClockSetting {
  QDate date;
  QTime time;
};
std::optional<ClockSetting> ReadClockRecord(QStringView record);

// The PC's long time format without a time zone, as the message log shows times.
QString LongTimeFormat();

enum class RecordKind {
  Station,  // status or table: "<Array:" ... "<EOR>"
  Message,  // "<MessageFrom>" ... "<EOR>"
  Clock,    // "<Date:>" ... "<Time:>" and the time, no end marker
};

struct Record {
  RecordKind kind;
  QString text;
};

// What one connection has received and not yet handled. Whole records are cut from the front
// in order; text before the first record marker is dropped, the incomplete tail kept for the
// next receive. A clock record ends at the next record marker, or at the end of what has come
// once its time text is a whole time that nothing to come could change ("13:05:42", "1:05:42 PM";
// not "1:05:42", which " PM" may still follow). Each character is looked at once
// however the text is split, and more than MaxPending characters without a whole record are
// dropped.
class RecordBuffer {
 public:
  static constexpr qsizetype MaxPending = 64 * 1024;

  void Append(QStringView received);
  // The next whole record; nothing while none is complete.
  std::optional<Record> Next();
  // Drops the whole records waiting, keeping the incomplete tail.
  void DropWholeRecords();
  void Clear();
  qsizetype Pending() const { return buffer_.size() - head_; }

 private:
  bool FindStart();
  std::optional<qsizetype> StationOrMessageEnd();
  std::optional<qsizetype> ClockEnd();
  bool ClockTimeComplete();

  QString buffer_;
  qsizetype head_ = 0;    // where the unhandled text begins
  qsizetype scan_ = 0;    // where the next search resumes
  qsizetype start_ = -1;  // the current record's marker; -1 while none is found
  RecordKind kind_ = RecordKind::Station;
  qsizetype time_ = -1;       // a clock record's "<Time:>"; -1 while not found
  qsizetype timeScan_ = 0;    // where the search for it resumes
};

}  // namespace network
