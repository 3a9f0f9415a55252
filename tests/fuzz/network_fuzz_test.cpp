// What the station's other PCs send over TCP, damaged and split anywhere: records cut from the
// stream and their fields read; and the LAN browse that lists the PCs.
#include "network/records.h"
#include "platform/neighbourhood.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "corpus.h"

namespace {

using fuzzing::Corpus;
using fuzzing::Latin1;
using network::Record;
using network::RecordBuffer;
using network::RecordKind;

const std::vector<QByteArray> kRecords = {
    "<Array:0> <Name:Tent2>: <Bnd:432 M> <Mde: PH> <Opr: > <EOR>",
    "<Array:17> <Name:Rover>: <Bnd:10 G> <Mde: DIG> <Opr: K1AB> <EOR><array:2> <NAME:x>: <eor>",
    "<MessageFrom>Tent2<MessageTo> Shack<MessageText>Coffee is ready\r\n\r\n<EOR>",
    "<MessageFrom>Tent2<MessageTo> <MessageText>x\r\n\r\n<EOR><Date:>2024/03/02<Time:>20:05:09",
    "<Date:>2031/12/24<Time:>1:05:42 PM<Array:-3> <Name:A> <EOR>",
    "noise<Date:>2024/02/30<Time:>25:61:61<MessageFrom>",
};

bool StartsAsItsKind(const Record& record) {
  switch (record.kind) {
    case RecordKind::Station: return record.text.startsWith(u"<Array:", Qt::CaseInsensitive);
    case RecordKind::Message: return record.text.startsWith(u"<MessageFrom>", Qt::CaseInsensitive);
    case RecordKind::Clock: return record.text.startsWith(u"<Date:>", Qt::CaseInsensitive);
  }
  return false;
}

void ReadFields(const Record& record) {
  const network::StationFields station = network::ReadStationFields(record.text);
  for (const QString& field : {station.name, station.band, station.mode, station.operatorName}) {
    EXPECT_LE(field.size(), record.text.size());
  }
  network::TableRow(record.text);
  const network::MessageFields message = network::ReadMessageFields(record.text);
  EXPECT_LE(message.text.size(), record.text.size());
  if (const std::optional<network::ClockSetting> clock = network::ReadClockRecord(record.text)) {
    if (clock->date.isValid()) {
      EXPECT_TRUE(std::abs(clock->date.year()) <= 9999);
    }
  }
}

TEST(StationRecordFuzz, RecordsAreCutWholeAndTheBufferStaysBounded) {
  Corpus corpus(kRecords, 0x1001'0001);
  RecordBuffer buffer;  // one connection's buffer across the whole corpus, as a long session has
  int records = 0;
  corpus.ForEach(fuzzing::Scaled(20000), [&](const QByteArray& input) {
    for (const QByteArray& piece : fuzzing::RandomPieces(input, corpus)) {
      buffer.Append(Latin1(piece));
      while (std::optional<Record> record = buffer.Next()) {
        ASSERT_TRUE(StartsAsItsKind(*record)) << record->text.toStdString();
        if (record->kind != RecordKind::Clock) {
          ASSERT_TRUE(record->text.endsWith(u"<EOR>", Qt::CaseInsensitive));
        }
        ReadFields(*record);
        ++records;
      }
      ASSERT_LE(buffer.Pending(), RecordBuffer::MaxPending);
    }
    if (corpus.Between(0, 50) == 0) buffer.DropWholeRecords();
    if (corpus.Between(0, 200) == 0) buffer.Clear();
  });
  EXPECT_GT(records, 1000);
}

TEST(StationRecordFuzz, FieldReadersTakeAnyTextAsARecord) {
  Corpus corpus(kRecords, 0x1001'0002);
  corpus.ForEach(fuzzing::Scaled(20000), [&](const QByteArray& input) {
    ReadFields({RecordKind::Station, Latin1(input)});
    const QString value = network::FieldValue(Latin1(input), QLatin1String("<Name:"));
    ASSERT_FALSE(value.contains(u'>'));
  });
}

// The browse lists domains, their computers and the computers' services: three levels, no more.
int Depth(const platform::NetworkResource& resource) {
  int deepest = 0;
  for (const platform::NetworkResource& entry : resource.entries) deepest = std::max(deepest, Depth(entry));
  return deepest + 1;
}

TEST(NeighbourhoodFuzz, ABrowseOutputOfAnyShapeGivesATreeOfThreeLevels) {
  Corpus corpus({"+;eth0;IPv4;shack;_workstation._tcp;local\n"
                 "=;eth0;IPv4;shack\\032\\091aa\\058bb\\093;_workstation._tcp;local;shack.local;192.168.1.10;9;\n"
                 "=;wlan0;IPv4;Log\\032files;_smb._tcp;local;SHACK.local;192.168.1.10;445;\n",
                 "=;eth0;IPv4;Printer\\046upstairs;_ipp._tcp;local;printer.local;192.168.1.12;631;\"note=a;b\"\n"
                 "=;eth0;IPv4;far;_ssh._tcp;example.org;far.example.org;203.0.113.9;22;\n"
                 "=;eth0;IPv4;cut;_ssh._tcp;local;cut.local;192.168",
                 "=;eth0;IPv4;\\999\\0\\;_x;local;h.local;1;1;\n"},
                0x1001'0003);
  corpus.ForEach(fuzzing::Scaled(20000), [&](const QByteArray& output) {
    const platform::NetworkResource root = platform::NeighbourhoodFromBrowse(output);
    ASSERT_LE(Depth(root), 4);
    for (const platform::NetworkResource& domain : root.entries) {
      for (const platform::NetworkResource& computer : domain.entries) {
        ASSERT_TRUE(computer.remoteName.startsWith(u"\\\\")) << computer.remoteName.toStdString();
        for (const platform::NetworkResource& service : computer.entries) {
          ASSERT_TRUE(service.remoteName.startsWith(computer.remoteName + u'\\')) << service.remoteName.toStdString();
        }
      }
    }
  });
}

}  // namespace
