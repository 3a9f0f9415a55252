#include "network/records.h"

#include <QLocale>
#include <QTime>
#include <gtest/gtest.h>

#include <vector>

using namespace network;

namespace {

const QString kStatus = QStringLiteral("<Array:0> <Name:Tent2>: <Bnd:432 M> <Mde: PH> <Opr: > <EOR>");

TEST(StationRecords, StatusAndTableTextsAreExact) {
  EXPECT_EQ(StatusRecord("Tent2", "432 M", "PH"), kStatus);
  EXPECT_EQ(TableRecord(0, "Shack", "144 M", "CW", ""), "<Array:0> <Name:Shack>: <Bnd:144 M> <Mde: CW> <Opr: > <EOR>");
  EXPECT_EQ(TableRecord(17, "Rover", "10 G", "DIG", "K1AB"),
            "<Array:17> <Name:Rover>: <Bnd:10 G> <Mde: DIG> <Opr: K1AB> <EOR>");
}

TEST(StationRecords, FieldsAreReadByTheFieldRule) {
  const struct {
    const char* record;
    StationFields expected;
  } cases[] = {
      {"<Array:0> <Name:Tent2>: <Bnd:432 M> <Mde: PH> <Opr: > <EOR>", {"Tent2", "432 M", "PH", ""}},
      {"<array:0> <NAME:Tent2>: <bnd:432 M> <MDE: cw> <opr: K1AB> <eor>", {"Tent2", "432 M", "cw", "K1AB"}},
      {"<Name:Ten>t2>: <Bnd:432 M>", {"Ten", "432 M", "", ""}},       // a name is read up to its ">"
      {"<Name:   Tent 2   > <Bnd:", {"Tent 2", "", "", ""}},          // blanks trimmed; no ">" after a marker
      {"<Name:A> <Name:B> <Mde:PH> <Mde:CW>", {"A", "", "PH", ""}},  // the first of each counts
      {"no markers at all", {"", "", "", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.record);
    const StationFields fields = ReadStationFields(QString::fromLatin1(c.record));
    EXPECT_EQ(fields.name, c.expected.name);
    EXPECT_EQ(fields.band, c.expected.band);
    EXPECT_EQ(fields.mode, c.expected.mode);
    EXPECT_EQ(fields.operatorName, c.expected.operatorName);
  }
}

TEST(StationRecords, TheRowIsTheLeadingNumberAfterArrayWithoutOverflow) {
  const struct {
    const char* record;
    std::optional<int> row;
  } cases[] = {
      {"<Array:12> <Name:X>", 12},
      {"<ARRAY:7x>", 7},
      {"<Array: 5>", 5},
      {"<Array:>", 0},
      {"<Array:abc>", 0},
      {"<Array:-3>", -3},
      {"<Array:201>", 201},
      {"<Array:99999999999999999999999999>", 1000000},
      {"<Name:X> <EOR>", std::nullopt},
      {"<Array:12", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.record);
    EXPECT_EQ(TableRow(QString::fromLatin1(c.record)), c.row);
  }
}

// Everything a buffer gives, fed in pieces of the given size.
std::vector<Record> Feed(RecordBuffer& buffer, const QString& text, qsizetype piece) {
  std::vector<Record> records;
  for (qsizetype at = 0; at < text.size(); at += piece) {
    buffer.Append(QStringView(text).mid(at, piece));
    while (std::optional<Record> record = buffer.Next()) records.push_back(*record);
  }
  return records;
}

QStringList Texts(const std::vector<Record>& records) {
  QStringList texts;
  for (const Record& record : records) texts << record.text;
  return texts;
}

TEST(RecordBuffer, RecordsComeOutWholeHoweverTheTextIsSplit) {
  const QString message = QStringLiteral("<MessageFrom>Tent2<MessageTo> Shack<MessageText>Hi<Array:3>\r\n\r\n<EOR>");
  const QString row1 = TableRecord(1, "Rover", "10 G", "CW", "");
  const QString text = QStringLiteral("junk>") + kStatus + message + row1 + QStringLiteral("<Array:2> <Name:Par");
  for (qsizetype piece : {qsizetype(1), qsizetype(2), qsizetype(7), qsizetype(64), text.size()}) {
    SCOPED_TRACE(piece);
    RecordBuffer buffer;
    const std::vector<Record> records = Feed(buffer, text, piece);
    EXPECT_EQ(Texts(records), QStringList({kStatus, message, row1})) << "the partial last record waits";
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].kind, RecordKind::Station);
    EXPECT_EQ(records[1].kind, RecordKind::Message) << "its first marker decides";
    EXPECT_EQ(records[2].kind, RecordKind::Station);
    EXPECT_EQ(buffer.Pending(), 19);
    buffer.Append(u"tial>: <Bnd:50 M> <Mde: PH> <Opr: > <eor>");
    EXPECT_EQ(buffer.Next()->text, TableRecord(2, "Partial", "50 M", "PH", "").replace("<EOR>", "<eor>"));
  }
}

TEST(RecordBuffer, AClockRecordEndsAtTheNextRecordOrOnceItsTimeIsWhole) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  const QString time = QLocale().toString(QTime(13, 5, 42), LongTimeFormat());
  ASSERT_EQ(time, "1:05:42 PM");
  const QString clock = QStringLiteral("<Date:>2024/03/02<Time:>") + time;

  RecordBuffer followed;
  std::vector<Record> records = Feed(followed, clock + kStatus, 3);
  EXPECT_EQ(Texts(records), QStringList({clock, kStatus}));
  EXPECT_EQ(records.front().kind, RecordKind::Clock);

  RecordBuffer alone;
  for (const QString& cut : {QStringLiteral("<Date:>2024/03/02"), QStringLiteral("<Date:>2024/03/02<Time:>1:05:4"),
                             QStringLiteral("<Date:>2024/03/02<Time:>1:05:42 P")}) {
    alone.Clear();
    alone.Append(cut);
    EXPECT_FALSE(alone.Next()) << cut.toStdString() << " is not whole yet";
  }
  alone.Append(u"M");
  EXPECT_EQ(alone.Next()->text, clock);
  QLocale::setDefault(QLocale::system());
}

TEST(RecordBuffer, TextWithoutAWholeRecordIsDroppedPastItsLimit) {
  RecordBuffer buffer;
  buffer.Append(QString(100000, QLatin1Char('x')));
  EXPECT_FALSE(buffer.Next());
  EXPECT_EQ(buffer.Pending(), 0) << "junk before any marker goes at once";

  buffer.Append(QStringLiteral("<Array:1> <Name:") + QString(RecordBuffer::MaxPending, QLatin1Char('y')));
  EXPECT_FALSE(buffer.Next());
  EXPECT_EQ(buffer.Pending(), 0) << "a record longer than the limit is dropped";
  buffer.Append(QStringLiteral(">: <Bnd:50 M> <EOR>") + kStatus);
  EXPECT_EQ(buffer.Next()->text, kStatus) << "the dropped record's end alone is no record";
  EXPECT_FALSE(buffer.Next());
}

TEST(RecordBuffer, DroppingTheWholeRecordsKeepsTheTail) {
  RecordBuffer buffer;
  buffer.Append(kStatus + kStatus + QStringLiteral("<Array:4> <Na"));
  buffer.DropWholeRecords();
  buffer.Append(u"me:X> <EOR>");
  EXPECT_EQ(buffer.Next()->text, "<Array:4> <Name:X> <EOR>");
  EXPECT_FALSE(buffer.Next());
}

}  // namespace
