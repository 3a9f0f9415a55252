// Rig replies as a serial line delivers them on a read tick, damaged, cut and noisy, through every
// reply parser and the field and hex helpers beneath them.
#include "rig/hexconversions.h"
#include "rig/replyfields.h"
#include "rig/replyparsers.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "corpus.h"

namespace {

using fuzzing::Corpus;
using fuzzing::Latin1;
using rig::RigReading;

QByteArray Bytes(const char* hexPairs) { return QByteArray::fromHex(hexPairs); }

const std::vector<QByteArray> kReplies = {
    "FA00014250000;",
    "FA00014250000;MD3;",
    "IF00014250000     +00000000000030000;",
    "IF00144200000     +00000000000071000;FA00144200000;",
    "FA14250000;MD03;",
    "@AF14250000\r@RMM3\r",
    "@RMM2\r@AF1296100000\r",
    "14.25,CW\r\n",
    "1296.1\r\n\r\n",
    Bytes("FEFE64E003FDFEFEE0640300502314 00FD"),
    Bytes("FEFEE06403005047280 0FDFEFEE06404030 1FD"),
    Bytes("FEFEE004030050472 8FD"),
    Bytes("0142500003"),
    Bytes("1296100084"),
    Bytes("00000142500000000200000000000000"),
    Bytes("00142500000000000100000000000000"),
    Bytes("0000000000000050231400000200"),
    Bytes("41 00D96F10 0D"),
    Bytes("42 0003 0D"),
};

const QStringList kModes = {"PH", "CW", "AM", "FM", ""};

void ExpectSaneReading(const RigReading& reading, const QByteArray& reply) {
  if (reading.frequency) {
    EXPECT_TRUE(std::isfinite(*reading.frequency) && *reading.frequency >= 0) << reply.toHex().toStdString();
  }
  if (reading.mode) {
    EXPECT_TRUE(kModes.contains(*reading.mode)) << reading.mode->toStdString();
  }
  if (reading.kenwoodVfo) {
    EXPECT_LE(*reading.kenwoodVfo, 9);
  }
}

TEST(RigReplyFuzz, EveryParserReadsDamagedRepliesIntoSaneReadings) {
  const std::vector<std::function<RigReading(const QByteArray&)>> parsers = {
      [](const QByteArray& r) { return rig::ParseKenwoodFrequency(r, "FA;"); },
      [](const QByteArray& r) { return rig::ParseKenwoodFrequency(r, "IF;"); },
      [](const QByteArray& r) { return rig::ParseKenwoodFrequency(r, "F"); },
      rig::ParseKenwoodMode,
      rig::ParseKenwoodIF,
      [](const QByteArray& r) { return rig::ParseFTdx9000Reply(r, "FA;", "MD0;"); },
      [](const QByteArray& r) { return rig::ParseFTdx9000Reply(r, "F", "M"); },
      rig::ParseOrionFrequency,
      rig::ParseOrionMode,
      [](const QByteArray& r) { return rig::ParseIcomFrequency(r, rig::RigFamily::Icom); },
      [](const QByteArray& r) { return rig::ParseIcomFrequency(r, rig::RigFamily::Icom735); },
      rig::ParseIcomMode,
      rig::ParseYaesuReply,
      rig::ParseYaesu890,
      rig::ParseYaesu1000,
      rig::ParseYaesu990,
      rig::ParseYaesu920,
      rig::ParseYaesu757,
      rig::ParseTenTecPanelA,
      rig::ParseTenTecPanelB,
  };
  Corpus corpus(kReplies, 0x4019'0001);
  corpus.ForEach(fuzzing::Scaled(8000), [&](const QByteArray& reply) {
    for (const auto& parse : parsers) ExpectSaneReading(parse(reply), reply);
  });
}

// Mid is the one way into a reply: it must agree with a slice of what is there for any position
// and length, however far outside.
TEST(RigReplyFuzz, FieldsAreTakenOnlyFromWithinTheReply) {
  Corpus corpus(kReplies, 0x4019'0002);
  corpus.ForEach(fuzzing::Scaled(20000), [&](const QByteArray& reply) {
    const qsizetype size = reply.size();
    const qsizetype position = corpus.Between(-size - 3, size + 3);
    const qsizetype length = corpus.Between(-2, size + 3);
    QByteArray expected;
    for (qsizetype k = position; length < 0 ? k <= size : k < position + length; ++k) {
      if (k >= 1 && k <= size) expected += reply[k - 1];
    }
    ASSERT_EQ(rig::Mid(reply, position, length), expected) << position << " " << length;

    const QByteArray marker = rig::Mid(reply, corpus.Between(1, size + 1), corpus.Between(0, 4));
    const qsizetype from = corpus.Between(-1, size + 2);
    const qsizetype found = rig::FindMarker(reply, marker, from);
    if (found != 0) {
      ASSERT_GE(found, std::max<qsizetype>(from, 1));
      ASSERT_EQ(rig::Mid(reply, found, marker.size()), marker);
    }

    const std::optional<double> number = rig::ReceivedNumber(Latin1(reply));
    if (number) {
      ASSERT_TRUE(*number >= 0 && *number <= std::numeric_limits<float>::max()) << reply.toStdString();
    }
    const std::optional<double> megahertz = rig::MegahertzFromHzField(Latin1(reply));
    if (megahertz) {
      ASSERT_TRUE(std::isfinite(*megahertz));
    }
  });
}

TEST(RigReplyFuzz, HexConversionsRoundTripAndRefuseWhatIsNoHex) {
  Corpus corpus(kReplies, 0x4019'0003);
  corpus.ForEach(fuzzing::Scaled(10000), [&](const QByteArray& bytes) {
    const QString shown = rig::BytesToHexText(bytes);
    ASSERT_EQ(shown.size(), 3 * bytes.size());
    ASSERT_EQ(rig::HexTextToBytes(shown), bytes);
    const QString digits = rig::Yaesu757Digits(bytes);
    ASSERT_EQ(digits.size(), 2 * bytes.size());
    ASSERT_EQ(rig::HexStringToBytes(digits), bytes);

    const QString text = Latin1(bytes);
    ASSERT_LE(rig::HexTextToBytes(text).size(), text.size() / 3 + 1);
    ASSERT_LE(rig::HexStringToBytes(text).size(), text.size() / 2 + 1);
    ASSERT_LE(rig::DigitsToFreqText(text).size(), text.size() + 7);
    ASSERT_LE(rig::BcdToFreqText(text).size(), text.size() + 7);
  });
}

// The exchange file of the rig driven through files, written by another program at any moment.
TEST(RigReplyFuzz, ThePegasusFileGivesASaneReadingWhateverItHolds) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  qputenv("CORVANE_PEGASUS_DIR", folder.path().toLocal8Bit());
  const fuzzing::QuietTraces quiet;
  Corpus corpus({"14.25,CW\r\n", "\"1296.1\",\"\"\r\n", "144.2\r\nUSB\r\n", "  .5 , \"CW\" \r\n"}, 0x4019'0004);
  corpus.ForEach(fuzzing::Scaled(3000), [&](const QByteArray& content) {
    QFile file(folder.filePath("PEGASUS.OUT"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    ExpectSaneReading(rig::ReadPegasusFile(), content);
  });
  qunsetenv("CORVANE_PEGASUS_DIR");
}

}  // namespace
