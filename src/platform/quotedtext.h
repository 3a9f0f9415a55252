#pragma once

#include "platform/asidefile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cmath>
#include <concepts>
#include <initializer_list>
#include <limits>

namespace platform {

// The program's settings, backup and export files share one text format: values separated by
// commas, records ended by CR LF, text values in double quotes without escaping, numbers bare
// with "." as the decimal separator. Files are Latin-1, the code page they were written in.

// One value as written. Text is quoted, with " written as ' and each line break (CR LF, CR or LF)
// as a blank, since the format cannot escape them. A yes/no value is #TRUE# or #FALSE#. A byte or
// whole number has no fraction; a
// single keeps up to 7 significant digits and a double up to 15, without trailing zeros and
// without a zero before the point (0.5 is ".5", -0.25 is "-.25"). None is written as nothing.
class QuotedValue {
 public:
  QuotedValue(const QString& text);  // NOLINT: values are listed as they are written
  QuotedValue(const char* text);     // NOLINT
  QuotedValue(bool yes);             // NOLINT: taken before the whole numbers
  template <std::integral Number>
  QuotedValue(Number number) : written_(QString::number(static_cast<long long>(number))) {}  // NOLINT
  QuotedValue(float number);         // NOLINT: single precision
  QuotedValue(double number);        // NOLINT
  static QuotedValue None();

  const QString& Written() const { return written_; }

 private:
  QuotedValue() = default;
  QString written_;
};

// One record as a line, without its line end: "\"W1AW\",-4.5,,7000".
QString FormatQuotedRecord(std::initializer_list<QuotedValue> values);

// Writes a quoted-text file through an AsideFile: the records are gathered and take the place of
// the old file only at Close, so a failure part-way never leaves a damaged file: the old one stays
// whole (a file in a folder that takes no new file is written in place, as AsideFile tells).
// Throws RuntimeError when the file cannot be created or written.
class QuotedTextWriter {
 public:
  explicit QuotedTextWriter(const QString& path);  // a path as the program writes it
  QuotedTextWriter(const QuotedTextWriter&) = delete;
  QuotedTextWriter& operator=(const QuotedTextWriter&) = delete;

  void WriteRecord(std::initializer_list<QuotedValue> values);
  // Puts the written file in place. Without Close (an error on the way), nothing is replaced.
  void Close();

 private:
  AsideFile file_;
  QByteArray records_;
};

// Reads a quoted-text file either value by value (a line end separates two values just as a
// comma does) or line by line. It never fails on a short or damaged line: a missing value reads
// as "", an unterminated quote ends at its line end, and the caller decides what to make of it.
// Numbers come back as their text (".5", "-4.5", "7000"), for QString::toDouble or toInt.
// CR LF and LF line ends are both accepted.
class QuotedTextReader {
 public:
  // Throws RuntimeError 53 "File not found" (or another file error) when it cannot be read, and
  // refuses what is no regular file or is larger than MaxTextFileBytes (see ReadRegularFile).
  explicit QuotedTextReader(const QString& path);  // a path as the program writes it
  static QuotedTextReader FromBytes(const QByteArray& content);

  // Whether only blanks and line ends are left.
  bool AtEnd() const;
  // At a line start, moves past the lines that hold nothing but blanks; returns how many.
  int SkipBlankLines();
  // The next value, on this line or the next. At the end it gives "" and sets ReadPastEnd.
  QString Next();
  // The remaining values of the current line (all of the next line when at a line start).
  QStringList ReadRecord();
  // Whether a value was asked for after the end of the file.
  bool ReadPastEnd() const { return readPastEnd_; }
  // Whether the value read last opened a quote that its line never closed (it is then the last
  // value of its record), for a reader that refuses a damaged line instead of taking it.
  bool LastQuoteUnclosed() const { return lastQuoteUnclosed_; }

 private:
  QuotedTextReader() = default;
  void TakeText(QString text);
  bool AtLineEnd() const;
  void SkipBlanks();
  void SkipLineEnd();
  QString TakeQuoted();
  QString TakeBare();
  // Consumes the delimiter after a value; returns whether it ended the line (or the file).
  bool SkipDelimiter();

  QString text_;
  // Past the last character that is neither a blank nor a line end, found once: asking whether
  // the rest is blank at every line must not rescan a long blank tail each time.
  qsizetype contentEnd_ = 0;
  qsizetype pos_ = 0;
  bool lineEnded_ = true;
  bool readPastEnd_ = false;
  bool lastQuoteUnclosed_ = false;
};

// Reads a settings file value by value, each as the type it is read into, as the program's
// start-up reads its settings files. The first value that is missing or not of its type fails
// the read: RuntimeError 62 "Input past end of file", 13 "Type mismatch" or 6 "Overflow", with the
// value's place in the file named in the description.
class TypedValueReader {
 public:
  // fileName names the file in the errors' descriptions.
  TypedValueReader(const QString& path, const QString& fileName);

  // Whether only blanks and line ends are left, for a file whose last values are optional.
  bool AtEnd() const { return reader_.AtEnd(); }
  QString Text();
  double Double();
  float Single();
  // #TRUE# or #FALSE#, in any letter case; anything else is a type mismatch.
  bool Boolean();
  // Whole numbers round half to even, as the files' numbers were always read.
  template <std::integral Whole>
  Whole Number() {
    const double value = std::nearbyint(Double());
    if (value < static_cast<double>(std::numeric_limits<Whole>::min()) ||
        value > static_cast<double>(std::numeric_limits<Whole>::max())) {
      Fail(QStringLiteral("Overflow"), 6);
    }
    return static_cast<Whole>(value);
  }

 private:
  [[noreturn]] void Fail(const QString& description, int number) const;

  QuotedTextReader reader_;
  QString fileName_;
  int position_ = 0;
};

}  // namespace platform
