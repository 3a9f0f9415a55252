#include "rig/hexconversions.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <optional>
#include <random>

#include "readingtext.h"
#include "rig/replyfields.h"

using namespace rig;

TEST(HexConversions, NibbleToHexGivesOneDigitOrNothing) {
  const struct {
    int nibble;
    const char* hex;
  } cases[] = {{0, "0"}, {9, "9"}, {10, "A"}, {15, "F"}, {16, ""}, {255, ""}, {-1, ""}};
  for (const auto& c : cases) EXPECT_EQ(NibbleToHex(c.nibble), QString(c.hex)) << c.nibble;
}

TEST(HexConversions, BytesAsHexTextWithAndWithoutBlanks) {
  const QByteArray reply = Bytes("FE FE E0 64 03 00 50 23 14 00 FD");
  EXPECT_EQ(BytesToHexText(reply), "FE FE E0 64 03 00 50 23 14 00 FD ");
  EXPECT_EQ(Yaesu757Digits(reply), "FEFEE064030050231400FD");
  EXPECT_EQ(BytesToHexText(Bytes("0A")), "0A ");
  EXPECT_EQ(BytesToHexText(QByteArray()), "");
  EXPECT_EQ(Yaesu757Digits(QByteArray()), "");
}

TEST(HexConversions, HexPairTextAsBytes) {
  const struct {
    const char* text;
    QByteArray bytes;
  } cases[] = {
      {"FE FE 64 E0 03 FD", Bytes("FE FE 64 E0 03 FD")},
      {"fe fe 64 e0 03 fd", Bytes("FE FE 64 E0 03 FD")},
      {"FE,FE;64", Bytes("FE FE 64")},  // any separator character
      {"FEFE", Bytes("FE 0E")},         // pairs at characters 1 and 4
      {"00 00 00 00 03", Bytes("00 00 00 00 03")},
      {"FE F", Bytes("FE 0F")},
      {"", QByteArray()},
      {"FE GE 03", QByteArray()},  // one pair that is not hex empties the whole command
      {"FE -1", QByteArray()},
      {"FE 1 ", QByteArray()},
  };
  for (const auto& c : cases) EXPECT_EQ(HexTextToBytes(c.text), c.bytes) << c.text;
}

// The built commands' converter reads consecutive pairs: the same text read at every third
// character would lose bytes.
TEST(HexConversions, ConsecutiveHexDigitsAsBytes) {
  const struct {
    const char* text;
    QByteArray bytes;
  } cases[] = {
      {"FEFE64E0050000251400FD", Bytes("FE FE 64 E0 05 00 00 25 14 00 FD")},
      {"2a4100d970100d", Bytes("2A 41 00 D9 70 10 0D")},
      {"0142500001", Bytes("01 42 50 00 01")},
      {"FEF", Bytes("FE 0F")},
      {"", QByteArray()},
      {"FE FE", QByteArray()},  // a blank is no hex digit
      {"FEGE", QByteArray()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HexStringToBytes(c.text), c.bytes) << c.text;
    EXPECT_EQ(HexStringToBytes(QString::fromLatin1(c.bytes.toHex())), c.bytes) << c.text;
  }
  EXPECT_EQ(HexTextToBytes("FEFE64E0"), Bytes("FE E6 E0"));  // the separated form's reading of the same text
}

TEST(HexConversions, ShownBytesReadBackAsTheSameBytesAndRandomTextIsSafe) {
  std::mt19937 random(32);
  for (int round = 0; round < 200; ++round) {
    QByteArray bytes(static_cast<qsizetype>(random() % 40), '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    EXPECT_EQ(HexTextToBytes(BytesToHexText(bytes)), bytes);
    EXPECT_EQ(Yaesu757Digits(bytes).size(), 2 * bytes.size());
    // Text typed or received at random: never a read past its end.
    const QString text = QString::fromLatin1(bytes);
    EXPECT_LE(HexTextToBytes(text).size(), (text.size() + 2) / 3);
    EXPECT_LE(DigitsToFreqText(text).size(), 9);
    EXPECT_LE(BcdToFreqText(text).size(), 11);
  }
}

TEST(HexConversions, EightDigitsAsFrequencyText) {
  const struct {
    const char* digits;
    const char* text;
  } cases[] = {
      {"02847500", "28.47500"},   {"14420000", "144.20000"},
      {"00707400", "7.07400"},    {"12961000", "129.61000"},
      {"00050000", "0.50000"},     // below 1 MHz the point stays
      {"0142345602", "14.23456"},  // only the first 8 count
      {"0284", "28.4"},           {"", "."},
  };
  for (const auto& c : cases) EXPECT_EQ(DigitsToFreqText(c.digits), c.text) << c.digits;
}

TEST(HexConversions, TenDigitsAsFrequencyText) {
  const struct {
    const char* digits;
    const char* text;
  } cases[] = {
      {"0028475000", "28.475000"},
      {"1296100000", "1296.100000"},
      {"0007040000", "7.040000"},
      {"0144200000", "144.200000"},
      {"0000500000", "0.500000"},
      {"28475000", "2847.5000"},  // 4 bytes of a 735
      {"", "."},
  };
  for (const auto& c : cases) EXPECT_EQ(BcdToFreqText(c.digits), c.text) << c.digits;
}

TEST(ReplyFields, NumbersInReceivedText) {
  const struct {
    const char* text;
    std::optional<double> number;
  } cases[] = {
      {"14.", 14.0},
      {"14.25", 14.25},
      {" 14.25  ", 14.25},
      {".5", 0.5},
      {"00014250000", 14250000.0},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {".", std::nullopt},
      {"inf", std::nullopt},
      {"NaN", std::nullopt},
      {"1E5", std::nullopt},  // hex digits of a BCD field, not a power of ten
      {"01E00000", std::nullopt},
      {"-14.25", std::nullopt},
      {"+14.25", std::nullopt},
      {"14.2.5", std::nullopt},
      {"14 25", std::nullopt},
      {"14;", std::nullopt},
      {"1000000000000000000000000000000000000000", std::nullopt},  // beyond single precision
      {"100000000000000000000000000000000000000", 1e38},
  };
  for (const auto& c : cases) EXPECT_EQ(ReceivedNumber(c.text), c.number) << c.text;
}

TEST(ReplyFields, MegahertzKeepEveryUnitTheRigTold) {
  EXPECT_EQ(RoundedMegahertz(14235005, 1e6), 14.235005);
  EXPECT_EQ(RoundedMegahertz(14235004.5, 1e6), 14.235004);  // a part of a unit: halves to even
  EXPECT_EQ(RoundedMegahertz(14235005.5, 1e6), 14.235006);
  EXPECT_EQ(RoundedMegahertz(2847500, 1e5), 28.475);
  EXPECT_EQ(RoundedMegahertz(1036810001, 1e5), 10368.10001);
  EXPECT_EQ(MegahertzFromHzField("01296100000"), 1296.1);
  EXPECT_EQ(MegahertzFromHzField("10368100000"), 10368.1);
  EXPECT_EQ(MegahertzFromHzField("24192123456"), 24192.123456);
  EXPECT_EQ(MegahertzFromHzField("00014250000"), 14.25);
  EXPECT_EQ(MegahertzFromHzField("0001425000;"), std::nullopt);
}

TEST(ReplyFields, PartsPastTheEndAreEmpty) {
  const QByteArray reply = "FA001";
  EXPECT_EQ(Mid(reply, 1, 2), "FA");
  EXPECT_EQ(Mid(reply, 3), "001");
  EXPECT_EQ(Mid(reply, 4, 11), "01");
  EXPECT_EQ(Mid(reply, 6, 1), "");
  EXPECT_EQ(Mid(reply, 100, 1), "");
  EXPECT_EQ(Mid(reply, 0, 2), "F");
  EXPECT_EQ(Mid(reply, -5, 3), "");
  EXPECT_EQ(Mid(QByteArray(), 1, 1), "");
  for (qsizetype position = -3; position <= 8; ++position) {
    for (qsizetype length = -1; length <= 8; ++length) {
      QByteArray expected;
      for (qsizetype k = position; k < position + (length < 0 ? 100 : length); ++k) {
        if (k >= 1 && k <= reply.size()) expected += reply[k - 1];
      }
      EXPECT_EQ(Mid(reply, position, length), expected) << position << " " << length;
    }
  }
  EXPECT_EQ(FindMarker(reply, "A0"), 2);
  EXPECT_EQ(FindMarker(reply, "FA", 2), 0);
  EXPECT_EQ(FindMarker(reply, ""), 0);
  EXPECT_EQ(FindMarker(reply, "1;"), 0);
}
