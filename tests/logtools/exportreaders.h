#pragma once

// Readers of the exported formats, written from the formats' own grammars and sharing nothing
// with the writers, so a file is checked as another program would read it.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

// ADIF: "<" name ":" length [":" type] ">" and exactly length bytes of value; anything between
// fields is ignored. The header, when the file does not begin with "<", ends at <EOH>; each record
// ends at <EOR>. Markers and names in any case.
struct AdifField {
  QByteArray Name;  // upper case
  QByteArray Type;
  QByteArray Value;
};
struct AdifFile {
  QByteArray HeaderText;  // the free text before the header's first field
  std::vector<AdifField> Header;
  std::vector<std::vector<AdifField>> Records;
};

inline const AdifField* FindField(const std::vector<AdifField>& fields, const QByteArray& name) {
  for (const AdifField& field : fields) {
    if (field.Name == name.toUpper()) return &field;
  }
  return nullptr;
}

inline AdifFile ReadAdif(const QByteArray& bytes) {
  AdifFile file;
  std::vector<AdifField> fields;
  bool inHeader = !bytes.startsWith('<');
  qsizetype pos = 0;
  if (inHeader) file.HeaderText = bytes.left(bytes.indexOf('<'));
  while ((pos = bytes.indexOf('<', pos)) >= 0) {
    const qsizetype close = bytes.indexOf('>', pos);
    if (close < 0) {
      ADD_FAILURE() << "a field specifier without '>' at byte " << pos;
      break;
    }
    const QList<QByteArray> parts = bytes.mid(pos + 1, close - pos - 1).split(':');
    const QByteArray name = parts[0].toUpper();
    pos = close + 1;
    if (parts.size() == 1 && name == "EOH") {
      EXPECT_TRUE(inHeader) << "<EOH> after the header";
      file.Header = std::exchange(fields, {});
      inHeader = false;
      continue;
    }
    if (parts.size() == 1 && name == "EOR") {
      EXPECT_FALSE(inHeader) << "a record before <EOH>";
      file.Records.push_back(std::exchange(fields, {}));
      continue;
    }
    bool isNumber = false;
    const qsizetype length = parts.size() >= 2 ? parts[1].toLongLong(&isNumber) : -1;
    if (!isNumber || length < 0 || pos + length > bytes.size()) {
      ADD_FAILURE() << "a malformed field specifier: " << name.constData();
      break;
    }
    fields.push_back({name, parts.size() > 2 ? parts[2] : QByteArray(), bytes.mid(pos, length)});
    pos += length;
  }
  EXPECT_TRUE(fields.empty()) << "fields after the last <EOR>";
  EXPECT_FALSE(inHeader) << "no <EOH>";
  return file;
}

// Cabrillo: lines ended by CR LF, each "TAG: value" (value possibly empty); START-OF-LOG first,
// END-OF-LOG last. A line without its tag is a fault, as log checkers stop at it. A QSO line's
// value splits on white space into band, mode, date, time, own call, own grid, call and grid.
struct CabrilloFile {
  std::vector<std::pair<QString, QString>> Tags;  // in order, QSO lines included
  std::vector<QStringList> Qsos;

  std::optional<QString> Value(const QString& tag) const {
    for (const auto& [name, value] : Tags) {
      if (name == tag) return value;
    }
    return std::nullopt;
  }
};

inline CabrilloFile ReadCabrillo(const QByteArray& bytes) {
  CabrilloFile file;
  EXPECT_TRUE(bytes.endsWith("\r\n")) << "the last line has no line end";
  QList<QByteArray> lines = bytes.split('\n');
  lines.removeLast();  // after the last line end
  for (const QByteArray& line : lines) {
    EXPECT_TRUE(line.endsWith('\r')) << "a line without CR LF: " << line.constData();
    const QString text = QString::fromLatin1(line.chopped(line.endsWith('\r') ? 1 : 0));
    const qsizetype colon = text.indexOf(u':');
    if (colon <= 0) {
      ADD_FAILURE() << "a line without a tag: " << text.toStdString();
      continue;
    }
    QString value = text.mid(colon + 1);
    if (value.startsWith(u' ')) value.remove(0, 1);
    file.Tags.emplace_back(text.left(colon), value);
  }
  EXPECT_FALSE(file.Tags.empty());
  if (file.Tags.empty()) return file;
  EXPECT_EQ(file.Tags.front().first, "START-OF-LOG");
  EXPECT_EQ(file.Tags.back().first, "END-OF-LOG");
  for (const auto& [tag, value] : file.Tags) {
    if (tag == "QSO") file.Qsos.push_back(value.split(u' ', Qt::SkipEmptyParts));
  }
  return file;
}

// Comma-separated values: a quoted field runs to its closing quote ("" inside stands for one
// quote), an unquoted one to the next comma; nothing at all between two commas is no value.
// Lines end with CR LF.
using CsvRecord = std::vector<std::optional<QString>>;

inline std::vector<CsvRecord> ReadCsv(const QByteArray& bytes) {
  std::vector<CsvRecord> records;
  EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n")) << "the last line has no line end";
  const QString text = QString::fromLatin1(bytes);
  CsvRecord record;
  qsizetype pos = 0;
  while (pos < text.size()) {
    std::optional<QString> field;
    if (text[pos] == u'"') {
      QString value;
      for (++pos; pos < text.size(); ++pos) {
        if (text[pos] != u'"') {
          value += text[pos];
        } else if (pos + 1 < text.size() && text[pos + 1] == u'"') {
          value += u'"';
          ++pos;
        } else {
          break;
        }
      }
      EXPECT_LT(pos, text.size()) << "an unterminated quoted field";
      ++pos;
      field = value;
    } else {
      const qsizetype end = std::min(text.indexOf(u',', pos) < 0 ? text.size() : text.indexOf(u',', pos),
                                     text.indexOf(u'\r', pos) < 0 ? text.size() : text.indexOf(u'\r', pos));
      if (end > pos) field = text.mid(pos, end - pos);
      pos = end;
    }
    record.push_back(field);
    if (text.mid(pos, 1) == u",") {
      ++pos;
    } else {
      EXPECT_EQ(text.mid(pos, 2), "\r\n") << "a field not followed by a comma or a line end";
      pos += 2;
      records.push_back(std::exchange(record, {}));
    }
  }
  return records;
}
