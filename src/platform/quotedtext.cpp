#include "platform/quotedtext.h"

#include "platform/errors.h"
#include "platform/paths.h"

#include <QRegularExpression>

namespace platform {

namespace {

QString FormatNumber(double value, int significantDigits) {
  if (value == 0) return QStringLiteral("0");
  QString text = QString::number(value, 'g', significantDigits).toUpper();
  if (text.startsWith(QLatin1String("0."))) {
    text.remove(0, 1);
  } else if (text.startsWith(QLatin1String("-0."))) {
    text.remove(1, 1);
  }
  return text;
}

// The format has no escapes: a double quote would end the value early and a line break would
// end the record, shifting every value after it. A quote becomes ' and a line break a blank.
QString WritableText(const QString& text) {
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  QString writable = text;
  return writable.replace('"', '\'').replace(lineBreak, QStringLiteral(" "));
}

bool IsLineEnd(QChar c) { return c == '\r' || c == '\n'; }
bool IsBlank(QChar c) { return c == ' ' || c == '\t'; }

}  // namespace

QuotedValue::QuotedValue(const QString& text) : written_('"' + WritableText(text) + '"') {}
QuotedValue::QuotedValue(const char* text) : QuotedValue(QString::fromUtf8(text)) {}
QuotedValue::QuotedValue(bool yes) : written_(yes ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#")) {}
QuotedValue::QuotedValue(float number) : written_(FormatNumber(number, 7)) {}
QuotedValue::QuotedValue(double number) : written_(FormatNumber(number, 15)) {}

QuotedValue QuotedValue::None() { return QuotedValue(); }

QString FormatQuotedRecord(std::initializer_list<QuotedValue> values) {
  QStringList written;
  for (const QuotedValue& value : values) written << value.Written();
  return written.join(',');
}

// The file beside the target is made at once: where none can be made, nothing is gathered.
QuotedTextWriter::QuotedTextWriter(const QString& path) : file_(NativePath(path)) {}

void QuotedTextWriter::WriteRecord(std::initializer_list<QuotedValue> values) {
  records_ += FormatQuotedRecord(values).toLatin1() + "\r\n";
}

void QuotedTextWriter::Close() {
  file_.Write(records_);
  file_.PutInPlace();
}

QuotedTextReader::QuotedTextReader(const QString& path) {
  TakeText(QString::fromLatin1(ReadRegularFile(NativePath(path), MaxTextFileBytes)));
}

QuotedTextReader QuotedTextReader::FromBytes(const QByteArray& content) {
  QuotedTextReader reader;
  reader.TakeText(QString::fromLatin1(content));
  return reader;
}

void QuotedTextReader::TakeText(QString text) {
  text_ = std::move(text);
  contentEnd_ = text_.size();
  while (contentEnd_ > 0 && (IsBlank(text_[contentEnd_ - 1]) || IsLineEnd(text_[contentEnd_ - 1]))) --contentEnd_;
}

bool QuotedTextReader::AtEnd() const {
  if (!lineEnded_) return false;  // a comma promises one more value, even an empty one
  return pos_ >= contentEnd_;
}

int QuotedTextReader::SkipBlankLines() {
  int skipped = 0;
  while (lineEnded_) {
    qsizetype end = pos_;
    while (end < text_.size() && IsBlank(text_[end])) ++end;
    if (end >= text_.size() || !IsLineEnd(text_[end])) break;
    pos_ = end;
    SkipLineEnd();
    ++skipped;
  }
  return skipped;
}

QString QuotedTextReader::Next() {
  lastQuoteUnclosed_ = false;
  if (AtEnd()) {
    readPastEnd_ = true;
    return {};
  }
  SkipBlanks();
  if (AtLineEnd()) {  // an empty line, or nothing after the last comma
    SkipLineEnd();
    lineEnded_ = true;
    return {};
  }
  const QString value = text_[pos_] == '"' ? TakeQuoted() : TakeBare();
  lineEnded_ = SkipDelimiter();
  return value;
}

QStringList QuotedTextReader::ReadRecord() {
  QStringList values;
  if (AtEnd()) {
    readPastEnd_ = true;
    return values;
  }
  do {
    values << Next();
  } while (!lineEnded_);
  return values;
}

bool QuotedTextReader::AtLineEnd() const { return pos_ >= text_.size() || IsLineEnd(text_[pos_]); }

void QuotedTextReader::SkipBlanks() {
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
}

void QuotedTextReader::SkipLineEnd() {
  if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
  if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
}

QString QuotedTextReader::TakeQuoted() {
  const qsizetype start = ++pos_;
  while (!AtLineEnd() && text_[pos_] != '"') ++pos_;
  const QString value = text_.mid(start, pos_ - start);
  lastQuoteUnclosed_ = AtLineEnd();  // an unterminated quote ends at the line end
  if (!lastQuoteUnclosed_) ++pos_;   // the closing quote
  return value;
}

QString QuotedTextReader::TakeBare() {
  const qsizetype start = pos_;
  while (!AtLineEnd() && text_[pos_] != ',') ++pos_;
  return text_.mid(start, pos_ - start).trimmed();
}

bool QuotedTextReader::SkipDelimiter() {
  while (!AtLineEnd() && text_[pos_] != ',') ++pos_;  // stray characters after a closing quote
  if (!AtLineEnd()) {
    ++pos_;
    return false;
  }
  SkipLineEnd();
  return true;
}

TypedValueReader::TypedValueReader(const QString& path, const QString& fileName)
    : reader_(path), fileName_(fileName) {}

QString TypedValueReader::Text() {
  ++position_;
  QString value = reader_.Next();
  if (reader_.ReadPastEnd()) Fail(QStringLiteral("Input past end of file"), 62);
  return value;
}

double TypedValueReader::Double() {
  bool ok = false;
  const double value = Text().toDouble(&ok);
  if (!ok || !std::isfinite(value)) Fail(QStringLiteral("Type mismatch"), 13);
  return value;
}

float TypedValueReader::Single() {
  const double value = Double();
  if (std::fabs(value) > std::numeric_limits<float>::max()) Fail(QStringLiteral("Overflow"), 6);
  return static_cast<float>(value);
}

bool TypedValueReader::Boolean() {
  const QString value = Text();
  if (value.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0) return true;
  if (value.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0) return false;
  Fail(QStringLiteral("Type mismatch"), 13);
}

void TypedValueReader::Fail(const QString& description, int number) const {
  throw RuntimeError(description + QStringLiteral(" (value %1 of %2)").arg(position_).arg(fileName_), number);
}

}  // namespace platform

