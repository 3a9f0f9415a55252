#include "rig/rigcommands.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/errors.h"
#include "readingtext.h"
#include "rig/bandplan.h"
#include "rig/replyparsers.h"

using namespace rig;

namespace {

// The rig window's settings as each rig's presets leave them.
RigCommandSettings PresetsOf(const QString& rigType) {
  RigCommandSettings settings{rigType, "FA;", "MD;", "", 10};
  if (rigType == u"Kenwood 2") settings.frequencyCommand = "IF;";
  if (rigType == u"Icom" || rigType == u"Icom 735") settings.freqPollCommand = "FE FE 64 E0 03 FD";
  if (rigType == u"Ten Tec Omni VI") settings.freqPollCommand = "FE FE 04 E0 03 FD";
  if (rigType == u"Yaesu FTdx9000") settings.modeCommand = "MD0;";
  return settings;
}

const std::vector<BandPlanRow> kTwentyMetres = {{"20", "E", "PH", 14.15f, 14.35f}};

// What goes out on the port for a change to a frequency, in order: the band plan's mode command
// first, then the frequency command; empty commands send nothing.
std::vector<QByteArray> SentFor(const RigCommandSettings& settings, float megahertz,
                                const std::vector<BandPlanRow>& plan = kTwentyMetres) {
  std::vector<QByteArray> sent;
  const QByteArray mode = BuildModeCommand(settings, BandPlanModeForFrequency(plan, megahertz, ""));
  if (!mode.isEmpty()) sent.push_back(mode);
  const QByteArray frequency = BuildFrequencyCommand(settings, megahertz).bytes;
  if (!frequency.isEmpty()) sent.push_back(frequency);
  return sent;
}

// The refusal's description, or "" when the frequency fits.
QString RefusalOf(const QString& rigType, float megahertz) {
  try {
    CheckFrequencyFits(PresetsOf(rigType), megahertz);
    return {};
  } catch (const platform::RuntimeError& error) {
    return error.Description();
  }
}

const char* const kOp0CYaesus[] = {"Yaesu 757 GX II", "Yaesu 890",    "Yaesu 920",
                                   "Yaesu 990",       "Yaesu 1000 D", "Yaesu 1000"};

}  // namespace

TEST(RigCommands, ModeThenFrequencyForEachFamily) {
  const struct {
    const char* rigType;
    std::vector<QByteArray> sent;
  } cases[] = {
      {"Kenwood", {"MD2;", "FA00014250000;"}},
      {"Kenwood 2", {"MD2;", "FA00014250000;"}},
      {"Elecraft", {"MD2;", "FA00014250000;"}},
      {"Icom", {Bytes("FE FE 64 E0 06 01 FD"), Bytes("FE FE 64 E0 05 00 00 25 14 00 FD")}},
      {"Icom 735", {Bytes("FE FE 64 E0 05 00 00 25 14 00 FD")}},  // no mode frame
      {"Ten Tec Omni VI", {Bytes("FE FE 04 E0 06 01 FD"), Bytes("FE FE 04 E0 05 00 00 25 14 00 FD")}},
      {"Yaesu", {Bytes("01 00 00 00 07"), Bytes("01 42 50 00 01")}},
      {"Yaesu FTdx9000", {"MD02;", "FA14250000;"}},
      {"Ten Tec Fnt Pnl", {Bytes("2A 41 00 D9 70 10 0D")}},
      {"Ten Tec Orion", {"*AF14.25\r"}},
      {"Ten Tec Pegasus", {}},  // its exchange file instead
      {"Other", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SentFor(PresetsOf(c.rigType), 14.25f), c.sent) << c.rigType;
  for (const char* rigType : kOp0CYaesus) {
    EXPECT_EQ(SentFor(PresetsOf(rigType), 14.25f),
              (std::vector<QByteArray>{Bytes("00 00 00 01 0C"), Bytes("00 50 42 01 0A")}))
        << rigType;
  }
  EXPECT_TRUE(BuildFrequencyCommand(PresetsOf("Ten Tec Pegasus"), 14.25f).writesPegasusFile);
  EXPECT_FALSE(BuildFrequencyCommand(PresetsOf("Ten Tec Orion"), 14.25f).writesPegasusFile);
}

TEST(RigCommands, FieldsFilledToTheirLastDigit) {
  const struct {
    const char* rigType;
    float megahertz;
    QByteArray bytes;
  } cases[] = {
      {"Icom", 1270, Bytes("FE FE 64 E0 05 00 00 00 70 12 FD")},  // all ten digits
      {"Icom", 9999.999f, Bytes("FE FE 64 E0 05 23 90 99 99 99 FD")},
      {"Yaesu", 999.99f, Bytes("99 99 89 99 01")},
      {"Yaesu 990", 144.2f, Bytes("00 00 42 14 0A")},
      {"Yaesu FTdx9000", 99.99999f, "FA99999992;"},
      {"Kenwood", 1296.1f, "FA01296099976;"},                         // the single nearest 1296.1,
      {"Ten Tec Fnt Pnl", 4294.967f, Bytes("2A 41 FF FF FE 00 0D")},  // Hz in single precision
      {"Ten Tec Fnt Pnl", 28.4751f, Bytes("2A 41 01 B2 7E DC 0D")},
      {"Ten Tec Orion", 1.80001f, "*AF1.80001\r"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BuildFrequencyCommand(PresetsOf(c.rigType), c.megahertz).bytes, c.bytes)
        << c.rigType << " " << c.megahertz;
  }
  // A frequency poll command without a whole CI-V address builds no frame, rather than one without it.
  RigCommandSettings icom = PresetsOf("Icom");
  icom.freqPollCommand = "FE FE 6";
  EXPECT_TRUE(BuildFrequencyCommand(icom, 14.25f).bytes.isEmpty());
  EXPECT_TRUE(BuildModeCommand(icom, "USB").isEmpty());
}

TEST(RigCommands, Kenwood2TunesVfoBOnlyAfterAnIfReplyNamingIt) {
  // An "IF" record: frequency at offsets 2-12, mode digit at 29, VFO digit at 30.
  const auto vfoAfter = [](char vfo) {
    return *ParseKenwoodIF(QByteArray("IF00014250000") + "0000+00000000000" + '2' + vfo + "0000;").kenwoodVfo;
  };
  RigCommandSettings kenwood2 = PresetsOf("Kenwood 2");
  EXPECT_EQ(BuildFrequencyCommand(kenwood2, 14.25f).bytes, "FA00014250000;");  // no reply yet
  kenwood2.kenwoodVfo = vfoAfter('1');
  EXPECT_EQ(BuildFrequencyCommand(kenwood2, 14.25f).bytes, "FB00014250000;");
  kenwood2.kenwoodVfo = vfoAfter('0');
  EXPECT_EQ(BuildFrequencyCommand(kenwood2, 14.25f).bytes, "FA00014250000;");

  RigCommandSettings elecraft = PresetsOf("Elecraft");
  elecraft.kenwoodVfo = 1;
  elecraft.frequencyCommand = "FB;";
  EXPECT_EQ(BuildFrequencyCommand(elecraft, 14.25f).bytes, "FA00014250000;");
  RigCommandSettings kenwood = PresetsOf("Kenwood");
  kenwood.frequencyCommand = "FB;";  // the plain Kenwood follows its poll command
  EXPECT_EQ(BuildFrequencyCommand(kenwood, 14.25f).bytes, "FB00014250000;");
}

TEST(RigCommands, ModesEachFamilyHasOrLacks) {
  const struct {
    const char* rigType;
    const char* mode;
    QByteArray bytes;
  } cases[] = {
      {"Kenwood", "CW-R", ""},
      {"Kenwood", "FSK", "MD6;"},
      {"Kenwood", "DIG", ""},
      {"Icom", "CW-R", Bytes("FE FE 64 E0 06 07 FD")},
      {"Icom", "RTTY-R", Bytes("FE FE 64 E0 06 08 FD")},
      {"Icom", "DIG", ""},
      {"Icom 735", "CW", ""},
      {"Yaesu", "CW-R", ""},
      {"Yaesu", "DIG", Bytes("0A 00 00 00 07")},  // the RTTY code
      {"Yaesu", "PKT", Bytes("0C 00 00 00 07")},
      {"Yaesu 890", "CW-R", Bytes("00 00 00 03 0C")},
      {"Yaesu 890", "DIG", ""},
      {"Yaesu 890", "PKT", Bytes("00 00 00 0A 0C")},
      {"Yaesu FTdx9000", "CW-R", "MD07;"},
      {"Yaesu FTdx9000", "DIG", ""},
      {"Ten Tec Orion", "USB", ""},
      {"Other", "USB", ""},
      {"Kenwood", "usb", ""},  // mode names are exact
      {"Kenwood", "", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BuildModeCommand(PresetsOf(c.rigType), c.mode), c.bytes) << c.rigType << " " << c.mode;
}

TEST(RigCommands, BandRulesAndEdgesDecideTheModeCommand) {
  const std::vector<BandPlanRow> plan = {
      {"160", "E", "CW", 1.8f, 2.0f},    {"80", "E", "PH", 3.6f, 4.0f},    {"60", "E", "PH", 5.3306f, 5.3334f},
      {"40", "E", "CW", 7.0f, 7.125f},   {"40", "E", "PH", 7.125f, 7.3f},  {"20", "E", "CW", 14.0f, 14.15f},
      {"20", "E", "PH", 14.15f, 14.35f}, {"2", "E", "PH", 144.1f, 148.0f}, {"2", "E", "CW", 144.0f, 148.0f},
  };
  const struct {
    float megahertz;
    const char* mode;
    const char* chosen;
  } cases[] = {
      {1.85f, "", ""},       {1.85f, "CW", ""},  // no mode on 160, whatever the row says
      {3.8f, "", "LSB"},     {5.332f, "", "LSB"},  {7.2f, "", "LSB"},    {7.05f, "", "CW"}, {14.25f, "", "USB"},
      {14.05f, "", "CW"},    {144.2f, "", "USB"},  {144.05f, "", "CW"},  // the first matching row counts
      {14.15f, "", ""},      {14.35f, "", ""},                           // on an edge: no row
      {14.15f, "PH", "USB"}, {10.12f, "CW", "CW"}, {10.12f, "AM", "AM"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BandPlanModeForFrequency(plan, c.megahertz, c.mode), c.chosen) << c.megahertz << " " << c.mode;
  }
  EXPECT_EQ(SentFor(PresetsOf("Kenwood"), 7.2f, plan), (std::vector<QByteArray>{"MD1;", "FA00007200000;"}));
  EXPECT_EQ(SentFor(PresetsOf("Kenwood"), 1.85f, plan), (std::vector<QByteArray>{"FA00001850000;"}));
  EXPECT_EQ(SentFor(PresetsOf("Kenwood"), 14.15f, plan), (std::vector<QByteArray>{"FA00014150000;"}));
}

TEST(RigCommands, PausesBeforeTheFrequencyCommand) {
  const struct {
    const char* rigType;
    std::vector<float> pausesMs;
  } cases[] = {
      {"Kenwood", {205}},
      {"Kenwood 2", {205}},
      {"Elecraft", {205, 1000}},
      {"Icom", {140}},
      {"Icom 735", {140}},
      {"Ten Tec Omni VI", {140, 220}},
      {"Ten Tec Fnt Pnl", {205}},
      {"Ten Tec Orion", {205}},
      {"Ten Tec Pegasus", {205}},
      {"Yaesu", {205}},
      {"Yaesu 1000 D", {205}},
      {"Yaesu 1000", {10}},
      {"Yaesu 757 GX II", {205}},
      {"Yaesu FTdx9000", {205}},
      {"Other", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BuildFrequencyCommand(PresetsOf(c.rigType), 14.25f).pausesMs, c.pausesMs) << c.rigType;
  EXPECT_EQ(ModeCommandPauseMs, 99);
}

TEST(RigCommands, FrequenciesACommandCannotCarryAreRefusedByName) {
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    const char* rigType;
    float megahertz;
    const char* named;  // "" when it fits
  } cases[] = {
      {"Yaesu", 1296.2f, "1296.2 MHz"},
      {"Yaesu 1000 D", 1296.2f, "1296.2 MHz"},
      {"Yaesu", 999.99f, ""},
      {"Yaesu FTdx9000", 100, "100 MHz"},
      {"Yaesu FTdx9000", 99.99999f, ""},
      {"Icom", 10000, "10000 MHz"},
      {"Icom 735", 10368.1f, "10368.1 MHz"},
      {"Icom", 9999.999f, ""},
      {"Ten Tec Fnt Pnl", 4294.967295f, "4294.967 MHz"},
      {"Ten Tec Fnt Pnl", 4294.967f, ""},
      {"Kenwood", 100000, "100000 MHz"},
      {"Elecraft", 24192.1f, ""},
      {"Ten Tec Orion", 1e7f, "1E+07 MHz"},
      {"Ten Tec Pegasus", 1270, ""},
      {"Kenwood", 0, "0 MHz"},
      {"Kenwood", -14.025f, "-14.025 MHz"},
      {"Icom", inf, "INF MHz"},
      {"Yaesu", std::nanf(""), "NAN MHz"},
      {"Other", -1, "-1 MHz"},
      {"Other", 1e30f, ""},
  };
  for (const auto& c : cases) {
    const QString refusal = RefusalOf(c.rigType, c.megahertz);
    if (*c.named == '\0') {
      EXPECT_EQ(refusal, "") << c.rigType << " " << c.megahertz;
      continue;
    }
    EXPECT_TRUE(refusal.startsWith(c.named)) << c.rigType << " " << c.megahertz << ": " << refusal.toStdString();
    // Building checks too: no path sends a value cut to its field.
    EXPECT_THROW(BuildFrequencyCommand(PresetsOf(c.rigType), c.megahertz), platform::RuntimeError) << c.rigType;
  }
  EXPECT_EQ(RefusalOf("Yaesu", 1296.2f),
            "1296.2 MHz does not fit the 8 digits of 10 Hz of the Yaesu frequency command");
}

TEST(RigCommands, NumberTextHasSevenSignificantDigitsWithoutTrailingZeros) {
  const struct {
    float megahertz;
    const char* text;
  } cases[] = {
      {14.25f, "14.25"}, {7.15f, "7.15"},       {1270, "1270"},          {1.80001f, "1.80001"},
      {144.2f, "144.2"}, {24192.1f, "24192.1"}, {10368.12f, "10368.12"}, {0.5f, ".5"},
  };
  for (const auto& c : cases) EXPECT_EQ(FrequencyNumberText(c.megahertz), c.text) << c.megahertz;
}
