#include "rig/replyparsers.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "readingtext.h"

using namespace rig;

namespace {

using Parser = std::function<RigReading(const QByteArray&)>;

struct Case {
  QByteArray reply;
  std::string reading;
};

void ExpectReadings(const Parser& parse, const std::vector<Case>& cases) {
  for (const Case& c : cases) EXPECT_EQ(ReadingText(parse(c.reply)), c.reading) << c.reply.toHex(' ').toStdString();
}

// Two parsers that run one after the other on one reply, the second's values counting last.
Parser InTurn(const Parser& first, const Parser& second) {
  return [=](const QByteArray& reply) {
    RigReading reading = first(reply);
    const RigReading next = second(reply);
    if (next.frequency) reading.frequency = next.frequency;
    if (next.mode) reading.mode = next.mode;
    if (next.kenwoodVfo) reading.kenwoodVfo = next.kenwoodVfo;
    return reading;
  };
}

const Parser kKenwood = InTurn([](const QByteArray& r) { return ParseKenwoodFrequency(r, "FA;"); }, ParseKenwoodMode);
const Parser kFTdx9000 = [](const QByteArray& r) { return ParseFTdx9000Reply(r, "FA;", "MD0;"); };
const Parser kOrion = InTurn(ParseOrionFrequency, ParseOrionMode);
const Parser kIcom = [](const QByteArray& r) { return ParseIcomFrequency(r, RigFamily::Icom); };
const Parser kIcom735 = [](const QByteArray& r) { return ParseIcomFrequency(r, RigFamily::Icom735); };

// An "IF" record: frequency at offsets 2-12, mode digit at 29, VFO digit at 30.
QByteArray KenwoodIF(const char* mode, const char* vfo) {
  return QByteArray("IF00014250000") + "0000+00000000000" + mode + vfo + "0000;";
}

}  // namespace

TEST(TextReplies, KenwoodFrequencyAndMode) {
  ExpectReadings(kKenwood, {
                               {"FA00014250000;", "14.25 -"},
                               {"FA00028475000;", "28.475 -"},
                               {"FA00014250000;MD3;", "14.25 CW"},
                               {"MD7;FA00144200000;", "144.2 CW"},
                               {"FA00000500000;", "0.5 -"},
                               {"FA00014250000", "- -"},   // 13 characters: the reply is not there yet
                               {"FA0001425000;", "- -"},   // a digit short
                               {"FA0001425000;M", "- -"},  // the field is no number
                               {"MD1;", "- PH"},
                               {"MD2;", "- PH"},
                               {"MD4;MD3;", "- PH"},  // the first one counts
                               {"MDx", "- PH"},
                               {"MD", "- -"},
                               {"", "- -"},
                           });
  // The marker is the frequency command's first two characters; a command of 2 is not enough.
  EXPECT_EQ(ReadingText(ParseKenwoodFrequency("IF00014250000;", "IF;")), "14.25 -");
  EXPECT_EQ(ReadingText(ParseKenwoodFrequency("FA00014250000;", "FA")), "- -");
  EXPECT_EQ(ReadingText(ParseKenwoodFrequency("FA00014250000;", "")), "- -");
}

TEST(TextReplies, KenwoodStatusRecord) {
  ExpectReadings(ParseKenwoodIF, {
                                     {KenwoodIF("3", "1"), "14.25 CW vfo=1"},
                                     {KenwoodIF("7", "0"), "14.25 PH vfo=0"},
                                     {"xx" + KenwoodIF("2", "0"), "14.25 PH vfo=0"},
                                     {KenwoodIF("3", "x"), "14.25 CW"},          // a bad VFO digit keeps the rest
                                     {KenwoodIF("3", "").left(30), "14.25 CW"},  // ends after the mode digit
                                     {KenwoodIF("3", "1").left(20), "14.25 -"},
                                     {KenwoodIF("3", "1").left(13), "- -"},
                                     {KenwoodIF("3", "1").replace(5, 1, "x"), "- -"},  // no number: nothing more
                                 });
}

TEST(TextReplies, FTdx9000AnswersOneAtATime) {
  ExpectReadings(kFTdx9000, {
                                {"FA14250000;", "14.25 -"},
                                {"FA14250000", "14.25 -"},
                                {"MD03;", "- CW"},
                                {"MD01;", "- PH"},
                                {"MD0C;", "- PH"},
                                {"FA14250000;MD03;", "14.25 CW"},
                                {"FA1425000", "- -"},  // cut after 7 digits
                                {"FA1425000;", "- -"},
                                {"FA142x0000;MD03;", "- CW"},  // the mode is taken all the same
                                {"MD0", "- -"},
                            });
  EXPECT_EQ(ReadingText(ParseFTdx9000Reply("FA14250000;MD03;", "", "")), "- -");
}

TEST(TextReplies, OrionAnswersEndedByCarriageReturn) {
  ExpectReadings(kOrion, {
                             {"@AF14250000\r@RMM3\r", "14.25 CW"},
                             {"@RMM3\r@AF14250000\r", "14.25 CW"},
                             {"@AF1296100000\r", "1296.1 -"},
                             {"@RMM2\r", "- CW"},
                             {"@RMM1\r", "- PH"},
                             {"@RMM\r", "- PH"},
                             {"@RMM", "- -"},
                             {"@AF14250000", "- -"},
                             {"@AF\r", "- -"},
                             {"@AF14.25MHz\r", "- -"},
                         });
}

TEST(BinaryReplies, IcomFrequencyAfterTheEcho) {
  const QByteArray answer = Bytes("FE FE 64 E0 03 FD FE FE E0 64 03 00 50 23 14 00 FD");
  EXPECT_EQ(ReadingText(kIcom(answer)), "14.235 -");
  EXPECT_EQ(ReadingText(ParseIcomFrequency(answer, RigFamily::OmniVI)), "14.235 -");
  ExpectReadings(kIcom, {
                            {Bytes("FE FE E0 64 03 00 50 47 28 00 FD"), "28.475 -"},
                            {Bytes("FE FE E0 64 03 00 00 10 96 12 FD"), "1296.1 -"},
                            {Bytes("FE FE 64 E0 03 FD"), "- -"},  // only the echo
                            {Bytes("FE FE E0 64 03 00 50 23 14 00 FD FE FE E0 64 03 00 50 47 28 00 FD"), "28.475 -"},
                            {Bytes("FE FE E0 64 03 00 50 23 14 00"), "- -"},  // the end of the frame not yet there
                            {Bytes("FE FE E0 64 03 00 50 47 28 00 FD FE FE E0 64 03 00 50"), "28.475 -"},
                            {Bytes("FE FE E0 64 03 0A 50 23 14 00 FD"), "- -"},  // not BCD
                            {Bytes("FE FE E0 64 04 03 01 FD"), "- -"},
                            {Bytes("FE FE"), "- -"},
                        });
  ExpectReadings(kIcom735, {
                               {Bytes("FE FE 64 E0 03 FD FE FE E0 64 03 00 50 23 14 FD"), "14.235 -"},
                               {Bytes("FE FE E0 04 03 00 50 47 28 FD"), "28.475 -"},
                               {Bytes("FE FE 64 E0 03 FD"), "- -"},
                           });
}

TEST(BinaryReplies, IcomModeFromTheFirstDataByte) {
  ExpectReadings(ParseIcomMode, {
                                    {Bytes("FE FE E0 64 04 03 01 FD"), "- CW"},
                                    {Bytes("FE FE 64 E0 04 FD FE FE E0 64 04 03 01 FD"), "- CW"},
                                    {Bytes("FE FE E0 64 04 07 01 FD"), "- PH"},
                                    {Bytes("FE FE E0 64 04 01 01 FD"), "- PH"},
                                    {Bytes("FE FE 64 E0 04 FD"), "- -"},
                                    {Bytes("FE FE E0 64 03 03 FD"), "- -"},
                                    {Bytes("FE FE E0 64 04"), "- -"},
                                });
}

TEST(BinaryReplies, YaesuFiveByteReply) {
  ExpectReadings(ParseYaesuReply, {
                                      {Bytes("01 42 34 56 02"), "14.23456 CW"},
                                      {Bytes("01 42 34 56 83"), "14.23456 CW"},
                                      {Bytes("01 42 34 56 00"), "14.23456 PH"},
                                      {Bytes("01 42 34 56 88"), "14.23456 PH"},
                                      {Bytes("01 42 34 56 0A"), "14.23456 -"},  // a data mode
                                      {Bytes("01 42 34 56 05"), "14.23456 -"},
                                      {Bytes("14 42 00 00 01"), "144.2 PH"},
                                      {Bytes("00 05 00 00 00"), "0.5 PH"},
                                      {Bytes("01 42 34 56"), "- -"},
                                      {Bytes("01 4E 34 56 02"), "- -"},  // not BCD
                                  });
}

TEST(BinaryReplies, YaesuStatusBlocks) {
  ExpectReadings(ParseYaesu890, {
                                    {Bytes("00 00 2B 73 0C 00 00 02 00"), "28.475 CW"},
                                    {Bytes("00 00 2B 73 0C 00 00 05"), "28.475 PH"},
                                    {Bytes("00 00 2B 73 0C 00 00 08"), "28.475 -"},
                                    {Bytes("00 00 2B 73 0C 00 00 0A"), "28.475 -"},
                                    {Bytes("00 00 2B 73 0C 00 00"), "28.475 -"},
                                    {Bytes("00 00 2B 73 0C"), "28.475 -"},
                                    {Bytes("00 00 2B 73"), "- -"},
                                });
  ExpectReadings(ParseYaesu1000, {
                                     {Bytes("00 02 B7 30 C0 00 00 02"), "28.475 CW"},
                                     {Bytes("FF F2 B7 30 CF FF FF F0"), "28.475 PH"},
                                 });
  ExpectReadings(ParseYaesu990, {
                                    {Bytes("00 2B 73 0C 00 00 00 02"), "28.475 CW"},
                                    {Bytes("00 15 B8 8C 00 00 00 01"), "14.235 PH"},
                                });
  ExpectReadings(ParseYaesu920, {
                                    {Bytes("00 01 B2 7E 78 00 00 01"), "28.475 CW"},
                                    {Bytes("00 01 B2 7E 78 00 00 02"), "28.475 PH"},
                                    {Bytes("00 01 B2 7E 78 00 00 0F"), "28.475 PH"},
                                    {Bytes("00 00 D9 35 7D 00 00 01"), "14.235005 CW"},  // to the Hz
                                    {Bytes("00 00 D9 35 87 00 00 01"), "14.235015 CW"},
                                    {Bytes("00 01 B2 7E 78"), "28.475 -"},  // no mode digit: the mode stays
                                    {Bytes("00 01 B2 7E"), "- -"},
                                });
}

TEST(BinaryReplies, Yaesu757StatusBlock) {
  const QByteArray head = Bytes("00 00 00 00 00");
  ExpectReadings(ParseYaesu757, {
                                    {head + Bytes("00 35 42 01 02 00"), "14.235 CW"},
                                    {head + Bytes("00 35 42 01 00"), "14.235 PH"},
                                    {head + Bytes("00 35 42 01 04"), "14.235 AM"},
                                    {head + Bytes("00 35 42 01 05"), "14.235 FM"},
                                    {head + Bytes("00 35 42 01 0A"), "14.235 PH"},  // reads as 0
                                    {head + Bytes("00 35 42 01 06"), "14.235 -"},
                                    {head + Bytes("00 00 42 14 03"), "144.2 CW"},
                                    {head + Bytes("00 35 42 01"), "14.235 -"},  // 9 bytes: no mode yet
                                    {head + Bytes("00 35 42"), "- -"},          // the frequency not whole
                                    {head + Bytes("00 35 4A 01 02"), "- -"},    // not BCD
                                });
}

TEST(BinaryReplies, TenTecFrontPanel) {
  ExpectReadings(ParseTenTecPanelA, {
                                        {Bytes("41 00 D9 35 78 0D"), "14.235 -"},
                                        {Bytes("41 00 D9 35 78"), "14.235 -"},
                                        {Bytes("41 00 D9 35"), "- -"},  // the frequency not whole
                                    });
  ExpectReadings(ParseTenTecPanelB, {
                                        {Bytes("4D 33 33 0D"), "- CW"},
                                        {Bytes("4D 30 30 0D"), "- PH"},
                                        {Bytes("4D 34 34"), "- PH"},
                                        {Bytes("4D 35 35 0D"), "- -"},
                                        {Bytes("4D 3A 3A 0D"), "- -"},
                                        {Bytes("4D 33"), "- -"},
                                    });
}

namespace {

struct Sample {
  const char* parser;
  Parser parse;
  QByteArray reply;
};

// One whole reply for every parser, each giving every value its parser can take.
std::vector<Sample> Samples() {
  const QByteArray head = Bytes("00 00 00 00 00");
  return {
      {"Kenwood", kKenwood, "FA00014250000;MD3;"},
      {"Kenwood IF", ParseKenwoodIF, KenwoodIF("3", "1")},
      {"FTdx9000", kFTdx9000, "FA14250000;MD03;"},
      {"Orion", kOrion, "@AF14250000\r@RMM3\r"},
      {"Orion, mode first", kOrion, "@RMM3\r@AF14250000\r"},
      {"Icom", kIcom, Bytes("FE FE 64 E0 03 FD FE FE E0 64 03 00 50 23 14 00 FD")},
      {"Icom 735", kIcom735, Bytes("FE FE 64 E0 03 FD FE FE E0 64 03 00 50 23 14 FD")},
      {"Icom mode", ParseIcomMode, Bytes("FE FE 64 E0 04 FD FE FE E0 64 04 03 01 FD")},
      {"Yaesu", ParseYaesuReply, Bytes("01 42 34 56 02")},
      {"Yaesu 890", ParseYaesu890, Bytes("00 00 2B 73 0C 00 00 02 00 00")},
      {"Yaesu 1000", ParseYaesu1000, Bytes("00 02 B7 30 C0 00 00 02 00 00")},
      {"Yaesu 990", ParseYaesu990, Bytes("00 2B 73 0C 00 00 00 02 00 00")},
      {"Yaesu 920", ParseYaesu920, Bytes("00 01 B2 7E 78 00 00 01 00 00")},
      {"Yaesu 757", ParseYaesu757, head + Bytes("00 35 42 01 02 00 00")},
      {"front panel frequency", ParseTenTecPanelA, Bytes("41 00 D9 35 78 0D")},
      {"front panel mode", ParseTenTecPanelB, Bytes("4D 33 33 0D")},
  };
}

std::vector<Parser> EveryParser() {
  std::vector<Parser> parsers{ParseKenwoodMode};
  for (const Sample& sample : Samples()) parsers.push_back(sample.parse);
  return parsers;
}

}  // namespace

// A slow rig's answer arrives in pieces, and each read tick parses what is there: a piece gives
// nothing, or values of the whole answer, never a wrong one.
TEST(ReplyRobustness, EveryReplyCutAtEveryLength) {
  for (const Sample& sample : Samples()) {
    const RigReading whole = sample.parse(sample.reply);
    ASSERT_TRUE(whole.frequency || whole.mode) << sample.parser;
    for (qsizetype length = 0; length < sample.reply.size(); ++length) {
      const RigReading cut = sample.parse(sample.reply.left(length));
      const std::string where = std::string(sample.parser) + " cut to " + std::to_string(length);
      if (cut.frequency) {
        EXPECT_EQ(cut.frequency, whole.frequency) << where;
      }
      if (cut.mode) {
        EXPECT_EQ(cut.mode, whole.mode) << where;
      }
      if (cut.kenwoodVfo) {
        EXPECT_EQ(cut.kenwoodVfo, whole.kenwoodVfo) << where;
      }
    }
  }
}

// Line noise, and noise around the markers the parsers look for: nothing reads outside the
// reply (the sanitizer build checks), and whatever is taken is a frequency and a mode the log
// can hold.
TEST(ReplyRobustness, RandomBytesThroughEveryParser) {
  static const QByteArray kPieces[] = {"FA",        "MD",        "MD0",      "IF", "@AF", "@RMM",      "\r",
                                       ";",         ".",         "0",        "3",  "9",   Bytes("FE"), Bytes("FE FE"),
                                       Bytes("FD"), Bytes("03"), Bytes("04")};
  std::mt19937 random(32);
  const std::vector<Parser> parsers = EveryParser();
  for (int round = 0; round < 3000; ++round) {
    QByteArray reply;
    const int pieces = static_cast<int>(random() % 24);
    for (int piece = 0; piece < pieces; ++piece) {
      if (random() % 2 == 0) {
        reply += kPieces[random() % std::size(kPieces)];
      } else {
        reply += static_cast<char>(random());
      }
    }
    for (const Parser& parse : parsers) {
      const RigReading reading = parse(reply);
      if (reading.frequency) {
        EXPECT_TRUE(std::isfinite(*reading.frequency) && *reading.frequency >= 0);
      }
      if (reading.mode) {
        EXPECT_TRUE(QStringList({"PH", "CW", "AM", "FM"}).contains(*reading.mode)) << reading.mode->toStdString();
      }
    }
  }
}
