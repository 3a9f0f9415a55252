#include "platform/agwframe.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A data frame from Q1ABC to Q1XYZ on radio port 1, byte by byte as the engine's interface
// lays it out.
QByteArray DataFrameBytes() {
  QByteArray bytes;
  bytes += QByteArray::fromHex("01000000");          // port 1, reserved
  bytes += QByteArray::fromHex("4400");              // 'D', reserved
  bytes += QByteArray::fromHex("f000");              // PID F0, reserved
  bytes += QByteArray("Q1ABC\0\0\0\0\0", 10);        // CallFrom
  bytes += QByteArray("Q1XYZ\0\0\0\0\0", 10);        // CallTo
  bytes += QByteArray::fromHex("03000000");          // data length
  bytes += QByteArray::fromHex("00000000");          // user
  bytes += "hi\r";
  return bytes;
}

AgwFrame DataFrame() { return {.port = 1, .kind = 'D', .pid = 0xF0, .callFrom = "Q1ABC", .callTo = "Q1XYZ", .data = "hi\r"}; }

QByteArray Header(char kind, quint32 length) {
  QByteArray header = EncodeAgwFrame({.kind = kind, .callFrom = "Q2ABC"});
  qToLittleEndian<quint32>(length, header.data() + 28);
  return header;
}

void ExpectSameFrame(const AgwFrame& actual, const AgwFrame& expected) {
  EXPECT_EQ(actual.port, expected.port);
  EXPECT_EQ(actual.kind, expected.kind);
  EXPECT_EQ(actual.pid, expected.pid);
  EXPECT_EQ(actual.callFrom, expected.callFrom);
  EXPECT_EQ(actual.callTo, expected.callTo);
  EXPECT_EQ(actual.data, expected.data);
}

TEST(AgwFrame, EncodesTheEnginesLayoutAndReadsItBack) {
  EXPECT_EQ(EncodeAgwFrame(DataFrame()).toHex(), DataFrameBytes().toHex());

  AgwFrameReader reader;
  reader.Append(DataFrameBytes() + DataFrameBytes());
  for (int i = 0; i < 2; ++i) {
    const std::optional<AgwFrame> frame = reader.Next();
    ASSERT_TRUE(frame);
    ExpectSameFrame(*frame, DataFrame());
  }
  EXPECT_FALSE(reader.Next());
  EXPECT_FALSE(reader.WithinFrame());
}

TEST(AgwFrame, AFrameArrivingInPiecesComesOutWhole) {
  AgwFrameReader reader;
  const QByteArray bytes = DataFrameBytes();
  for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
    reader.Append(bytes.mid(i, 1));
    ASSERT_FALSE(reader.Next()) << "after byte " << i;
    EXPECT_TRUE(reader.WithinFrame());
  }
  reader.Append(bytes.right(1));
  const std::optional<AgwFrame> frame = reader.Next();
  ASSERT_TRUE(frame);
  ExpectSameFrame(*frame, DataFrame());
}

TEST(AgwFrame, CallFieldsEndAtTheirNulOrAfterTenBytes) {
  QByteArray bytes = EncodeAgwFrame({.kind = 'U'});
  bytes.replace(8, 10, QByteArray("Q1LONGCALL", 10));     // no NUL at all
  bytes.replace(18, 10, QByteArray("CQ\0JUNK\0\0\0", 10));  // something after the NUL
  AgwFrameReader reader;
  reader.Append(bytes);
  const std::optional<AgwFrame> frame = reader.Next();
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->callFrom, "Q1LONGCALL");
  EXPECT_EQ(frame->callTo, "CQ");
  EXPECT_EQ(EncodeAgwFrame({.kind = 'C', .callTo = "Q1TOOLONGCALL"}).mid(18, 10), "Q1TOOLONGC");
}

TEST(AgwFrame, AKindThatIsNoLetterOrALengthBeyond64KiBEndsTheStream) {
  const struct {
    const char* what;
    QByteArray header;
  } cases[] = {
      {"kind '1'", Header('1', 0)},
      {"kind NUL", Header('\0', 0)},
      {"kind 0xFF", QByteArray(AgwHeaderSize, '\xFF')},
      {"length 0xFFFFFFFF", Header('U', 0xFFFFFFFF)},
      {"length 65537", Header('U', AgwLargestData + 1)},
  };
  for (const auto& c : cases) {
    AgwFrameReader reader;
    reader.Append(c.header + EncodeAgwFrame(DataFrame()));
    EXPECT_FALSE(reader.Next()) << c.what;
    EXPECT_FALSE(reader.Fault().isEmpty()) << c.what;
    reader.Append(EncodeAgwFrame(DataFrame()));
    EXPECT_FALSE(reader.Next()) << c.what << ": nothing is read after a bad frame";
  }

  AgwFrameReader largest;
  largest.Append(Header('U', AgwLargestData));
  EXPECT_FALSE(largest.Next());
  EXPECT_TRUE(largest.Fault().isEmpty()) << "64 KiB of data is allowed";
  largest.Append(QByteArray(AgwLargestData, 'x'));
  const std::optional<AgwFrame> frame = largest.Next();
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->data.size(), AgwLargestData);
}

}  // namespace
