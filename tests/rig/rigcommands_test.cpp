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
std::vector<QByteArray> SentFor(const RigCommandSettings& settings, double megahertz,
                                const std::vector<BandPlanRow>& plan = kTwentyMetres) {
  std::vector<QByteArray> sent;
  const QByteArray mode = BuildModeCommand(settings, BandPlanModeForFrequency(plan, megahertz, ""));
  if (!mode.isEmpty()) sent.push_back(mode);
  const QByteArray frequency = BuildFrequencyCommand(settings, megahertz).bytes;
  if (!frequency.isEmpty()) sent.push_back(frequency);
  return sent;
}

// The refusal's description, or "" when the frequency fits.
QString RefusalOf(const QString& rigType, double megahertz) {
  try {
    CheckFrequencyFits(PresetsOf(rigType), megahertz);
    return {};
  } catch (const platform::RuntimeError& error) {
    return error.Description();
  }
}

const char* const kOp0CYaesus[] = {"Yaesu 757 GX II", "Yaesu 890",    "Yaesu 920",
                                   "Yaesu 990",       "Yaesu 1000 D", "Yaesu 1000"};

struct FrequencyCommandCase {
  const char* rigType;
  double megahertz;
  QByteArray bytes;
};

// Compared as hex, so that a wrong byte of a binary frame reads plainly.
template <std::size_t N>
void ExpectFrequencyCommands(const FrequencyCommandCase (&cases)[N]) {
  for (const FrequencyCommandCase& c : cases) {
    EXPECT_EQ(BuildFrequencyCommand(PresetsOf(c.rigType), c.megahertz).bytes.toHex(' '), c.bytes.toHex(' '))
        << c.rigType << " " << c.megahertz;
  }
}

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
  for (const auto& c : cases) EXPECT_EQ(SentFor(PresetsOf(c.rigType), 14.25), c.sent) << c.rigType;
  for (const char* rigType : kOp0CYaesus) {
    EXPECT_EQ(SentFor(PresetsOf(rigType), 14.25),
              (std::vector<QByteArray>{Bytes("00 00 00 01 0C"), Bytes("00 50 42 01 0A")}))
        << rigType;
  }
  EXPECT_TRUE(BuildFrequencyCommand(PresetsOf("Ten Tec Pegasus"), 14.25).writesPegasusFile);
  EXPECT_FALSE(BuildFrequencyCommand(PresetsOf("Ten Tec Orion"), 14.25).writesPegasusFile);
}

TEST(RigCommands, FieldsFilledToTheirLastDigit) {
  const FrequencyCommandCase cases[] = {
      {"Icom", 1270, Bytes("FE FE 64 E0 05 00 00 00 70 12 FD")},  // all ten digits
      {"Icom", 9999.999999, Bytes("FE FE 64 E0 05 99 99 99 99 99 FD")},
      {"Yaesu", 999.99999, Bytes("99 99 99 99 01")},
      {"Yaesu 990", 144.2, Bytes("00 00 42 14 0A")},
      {"Yaesu FTdx9000", 99.999999, "FA99999999;"},
      {"Ten Tec Fnt Pnl", 4294.967295, Bytes("2A 41 FF FF FF FF 0D")},
      {"Ten Tec Fnt Pnl", 28.4751, Bytes("2A 41 01 B2 7E DC 0D")},
      {"Ten Tec Orion", 1.80001, "*AF1.80001\r"},
  };
  ExpectFrequencyCommands(cases);
  // A frequency poll command without a whole CI-V address builds no frame, rather than one without it.
  RigCommandSettings icom = PresetsOf("Icom");
  icom.freqPollCommand = "FE FE 6";
  EXPECT_TRUE(BuildFrequencyCommand(icom, 14.25).bytes.isEmpty());
  EXPECT_TRUE(BuildModeCommand(icom, "USB").isEmpty());
}

// What the operator typed reaches every family's field to its unit, however many digits it has:
// no frequency is first held in single precision (10368.1 would go as 10368.099609).
TEST(RigCommands, EachFamilyCarriesTheFrequencyToItsLastUnit) {
  const FrequencyCommandCase cases[] = {
      {"Kenwood", 144.2, "FA00144200000;"},
      {"Kenwood", 1296.1, "FA01296100000;"},
      {"Kenwood", 2304.1, "FA02304100000;"},
      {"Kenwood", 10368.1, "FA10368100000;"},
      {"Elecraft", 24192.123456, "FA24192123456;"},
      {"Kenwood 2", 47088.1, "FA47088100000;"},
      {"Icom", 1296.123456, Bytes("FE FE 64 E0 05 56 34 12 96 12 FD")},
      {"Ten Tec Omni VI", 2304.1, Bytes("FE FE 04 E0 05 00 00 10 04 23 FD")},
      {"Icom 735", 432.17001, Bytes("FE FE 64 E0 05 10 00 17 32 04 FD")},
      {"Ten Tec Fnt Pnl", 2304.1, Bytes("2A 41 89 55 C6 A0 0D")},  // 2304100000 Hz
      {"Ten Tec Fnt Pnl", 432.100001, Bytes("2A 41 19 C1 52 A1 0D")},
      {"Ten Tec Orion", 10368.123456, "*AF10368.123456\r"},
      {"Yaesu", 432.12345, Bytes("43 21 23 45 01")},
      {"Yaesu 1000", 902.12341, Bytes("41 23 21 90 0A")},
      {"Yaesu FTdx9000", 50.123456, "FA50123456;"},
  };
  ExpectFrequencyCommands(cases);
}

TEST(RigCommands, Kenwood2TunesVfoBOnlyAfterAnIfReplyNamingIt) {
  // An "IF" record: frequency at offsets 2-12, mode digit at 29, VFO digit at 30.
  const auto vfoAfter = [](char vfo) {
    return *ParseKenwoodIF(QByteArray("IF00014250000") + "0000+00000000000" + '2' + vfo + "0000;").kenwoodVfo;
  };
  RigCommandSettings kenwood2 = PresetsOf("Kenwood 2");
  EXPECT_EQ(BuildFrequencyCommand(kenwood2, 14.25).bytes, "FA00014250000;");  // no reply yet
  kenwood2.kenwoodVfo = vfoAfter('1');
  EXPECT_EQ(BuildFrequencyCommand(kenwood2, 14.25).bytes, "FB00014250000;");
  kenwood2.kenwoodVfo = vfoAfter('0');
  EXPECT_EQ(BuildFrequencyCommand(kenwood2, 14.25).bytes, "FA00014250000;");

  RigCommandSettings elecraft = PresetsOf("Elecraft");
  elecraft.kenwoodVfo = 1;
  elecraft.frequencyCommand = "FB;";
  EXPECT_EQ(BuildFrequencyCommand(elecraft, 14.25).bytes, "FA00014250000;");
  RigCommandSettings kenwood = PresetsOf("Kenwood");
  kenwood.frequencyCommand = "FB;";  // the plain Kenwood follows its poll command
  EXPECT_EQ(BuildFrequencyCommand(kenwood, 14.25).bytes, "FB00014250000;");
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
    double megahertz;
    const char* mode;
    const char* chosen;
  } cases[] = {
      {1.85, "", ""},       {1.85, "CW", ""},  // no mode on 160, whatever the row says
      {3.8, "", "LSB"},     {5.332, "", "USB"},  {7.2, "", "LSB"},    {7.05, "", "CW"}, {14.25, "", "USB"},
      {14.05, "", "CW"},    {144.2, "", "USB"},  {144.05, "", "CW"},  // the first matching row counts
      {14.15, "", ""},      {14.35, "", ""},                          // on an edge: no row
      {14.15, "PH", "USB"}, {10.12, "CW", "CW"}, {10.12, "AM", "AM"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BandPlanModeForFrequency(plan, c.megahertz, c.mode), c.chosen) << c.megahertz << " " << c.mode;
  }
  EXPECT_EQ(SentFor(PresetsOf("Kenwood"), 7.2, plan), (std::vector<QByteArray>{"MD1;", "FA00007200000;"}));
  EXPECT_EQ(SentFor(PresetsOf("Kenwood"), 1.85, plan), (std::vector<QByteArray>{"FA00001850000;"}));
  EXPECT_EQ(SentFor(PresetsOf("Kenwood"), 14.15, plan), (std::vector<QByteArray>{"FA00014150000;"}));
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
    EXPECT_EQ(BuildFrequencyCommand(PresetsOf(c.rigType), 14.25).pausesMs, c.pausesMs) << c.rigType;
  EXPECT_EQ(ModeCommandPauseMs, 99);
}

TEST(RigCommands, FrequenciesACommandCannotCarryAreRefusedByName) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* rigType;
    double megahertz;
    const char* named;  // "" when it fits
  } cases[] = {
      {"Yaesu", 1296.2, "1296.2 MHz"},
      {"Yaesu 1000 D", 1296.2, "1296.2 MHz"},
      {"Yaesu", 999.99999, ""},
      {"Yaesu FTdx9000", 100, "100 MHz"},
      {"Yaesu FTdx9000", 99.999999, ""},
      {"Icom", 10000, "10000 MHz"},
      {"Icom 735", 10368.1, "10368.1 MHz"},
      {"Icom", 9999.999999, ""},
      {"Ten Tec Fnt Pnl", 4294.967296, "4294.967296 MHz"},
      {"Ten Tec Fnt Pnl", 4294.967295, ""},
      {"Kenwood", 100000, "100000 MHz"},
      {"Elecraft", 24192.1, ""},
      {"Ten Tec Orion", 1e15, "1E+15 MHz"},
      {"Ten Tec Pegasus", 1270, ""},
      {"Kenwood", 0, "0 MHz"},
      {"Kenwood", -14.025, "-14.025 MHz"},
      {"Icom", inf, "INF MHz"},
      {"Yaesu", std::nan(""), "NAN MHz"},
      {"Other", -1, "-1 MHz"},
      {"Other", 1e30, ""},
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
  EXPECT_EQ(RefusalOf("Yaesu", 1296.2),
            "1296.2 MHz does not fit the 8 digits of 10 Hz of the Yaesu frequency command");
}

TEST(RigCommands, NumberTextIsTheFrequencyToTheHertzWithoutTrailingZeros) {
  const struct {
    double megahertz;
    const char* text;
  } cases[] = {
      {14.25, "14.25"},     {7.15, "7.15"},   {1270, "1270"},
      {1.80001, "1.80001"}, {144.2, "144.2"}, {24192.1, "24192.1"},
      {10368.123456, "10368.123456"}, {1296.0999999, "1296.1"}, {0.5, ".5"},
  };
  for (const auto& c : cases) EXPECT_EQ(FrequencyNumberText(c.megahertz), c.text) << c.megahertz;
}
