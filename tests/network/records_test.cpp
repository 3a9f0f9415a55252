#include "network/records.h"

#include <QDate>
#include <QDateTime>
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

TEST(StationRecords, MessageAndClockTextsAreExact) {
  EXPECT_EQ(MessageRecord("Tent2", "Shack", "Coffee is ready"),
            "<MessageFrom>Tent2<MessageTo> Shack<MessageText>Coffee is ready\r\n\r\n<EOR>");
  EXPECT_EQ(MessageRecord("Tent2", "", "x"), "<MessageFrom>Tent2<MessageTo> <MessageText>x\r\n\r\n<EOR>");
  // The time is the same on every PC whatever its locale: no AM/PM, no zone.
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(ClockRecord(QDateTime(QDate(2024, 3, 2), QTime(20, 5, 9))), "<Date:>2024/03/02<Time:>20:05:09");
  EXPECT_EQ(ClockRecord(QDateTime(QDate(2031, 12, 24), QTime(0, 0, 1))), "<Date:>2031/12/24<Time:>00:00:01");
  QLocale::setDefault(QLocale::system());
}

TEST(StationRecords, MessageFieldsAreEmptyWhereAMarkerPairIsMissing) {
  const struct {
    const char* record;
    MessageFields expected;
  } cases[] = {
      {"<MessageFrom> Tent2 <MessageTo> Shack <MessageText> Hi \r\n\r\n<EOR>", {"Tent2", "Shack", " Hi \r\n\r\n"}},
      {"<messagefrom>Tent2<MESSAGETO> <messageText>Hi\r\n\r\n<eor>", {"Tent2", "", "Hi\r\n\r\n"}},
      {"<MessageFrom>Tent2<MessageText>Hi<EOR>", {"", "", "Hi"}},  // no recipient marker
      {"<MessageTo> Shack<MessageFrom>Tent2<MessageText>Hi", {"", "Shack<MessageFrom>Tent2", ""}},  // out of order, no end
      {"<MessageText>Hi<EOR><MessageTo> Shack", {"", "", "Hi"}},
      {"<MessageFrom>Tent2<MessageTo> Shack<MessageText>a <EOR> b<EOR>", {"Tent2", "Shack", "a "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.record);
    const MessageFields fields = ReadMessageFields(QString::fromLatin1(c.record));
    EXPECT_EQ(fields.sender, c.expected.sender);
    EXPECT_EQ(fields.recipient, c.expected.recipient);
    EXPECT_EQ(fields.text, c.expected.text);
  }
}

TEST(StationRecords, AClockRecordSetsTheDateAndTheTimeWhereEachReads) {
  const QDate july4(2031, 7, 4);
  const struct {
    const char* record;
    std::optional<ClockSetting> expected;  // an invalid part stays unchanged
  } cases[] = {
      {"<Date:>2031/07/04<Time:>03:21:09", ClockSetting{july4, QTime(3, 21, 9)}},
      {"<date:> 2031/7/4 <TIME:> 3:21:09 ", ClockSetting{july4, QTime(3, 21, 9)}},
      {"<Date:>2031/07/04<Time:>3:21:09 PM", ClockSetting{july4, QTime(15, 21, 9)}},
      {"<Date:>2031/07/04<Time:>12:00:30 am", ClockSetting{july4, QTime(0, 0, 30)}},
      {"<Date:>07/04/2031<Time:>03:21:09", ClockSetting{QDate(), QTime(3, 21, 9)}},
      {"<Date:>2031/02/30<Time:>25:00:00", ClockSetting{QDate(), QTime()}},
      {"<Date:>2031/07/04<Time:>03:21:09 Eastern Daylight Time", ClockSetting{july4, QTime()}},
      {"<Date:>2031/07/04", std::nullopt},
      {"<Time:>03:21:09<Date:>2031/07/04", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.record);
    const std::optional<ClockSetting> setting = ReadClockRecord(QString::fromLatin1(c.record));
    ASSERT_EQ(setting.has_value(), c.expected.has_value());
    if (!setting) continue;
    EXPECT_EQ(setting->date, c.expected->date);
    EXPECT_EQ(setting->time, c.expected->time);
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
  const QString clock = ClockRecord(QDateTime(QDate(2024, 3, 2), QTime(13, 5, 42)));
  RecordBuffer followed;
  std::vector<Record> records = Feed(followed, clock + kStatus, 3);
  EXPECT_EQ(Texts(records), QStringList({clock, kStatus}));
  EXPECT_EQ(records.front().kind, RecordKind::Clock);

  const struct {
    const char* received;
    const char* completing;  // what makes it whole
    const char* record;
  } cases[] = {
      {"<Date:>2024/03/02<Time:>13:05:4", "2", "<Date:>2024/03/02<Time:>13:05:42"},
      {"<Date:>2024/03/02<Time:>1:05:42 P", "M", "<Date:>2024/03/02<Time:>1:05:42 PM"},
      {"<Date:>2024/03/02<Time:>1:05:42 ", "pm", "<Date:>2024/03/02<Time:>1:05:42 pm"},
      {"<Date:>2024/03/02<Ti", "me:>13:05:42", "<Date:>2024/03/02<Time:>13:05:42"},
      // A time an AM or PM would still move: only its record's end makes it whole.
      {"<Date:>2024/03/02<Time:>1:05:42", " PM", "<Date:>2024/03/02<Time:>1:05:42 PM"},
      {"<Date:>2024/03/02<Time:>03:21:09", "<Array:", "<Date:>2024/03/02<Time:>03:21:09"},
      // A zone name after the time: only the next record ends it.
      {"<Date:>2024/03/02<Time:>13:05:42 EST", "<Array:", "<Date:>2024/03/02<Time:>13:05:42 EST"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.received);
    RecordBuffer alone;
    alone.Append(QString::fromLatin1(c.received));
    EXPECT_FALSE(alone.Next()) << "not whole yet";
    alone.Append(QString::fromLatin1(c.completing));
    const std::optional<Record> record = alone.Next();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->text, c.record);
  }
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
