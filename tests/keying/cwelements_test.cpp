#include "keying/cwelements.h"

#include "platform/clock.h"
#include "platform/endprogram.h"
#include "platform/errors.h"

#include <QDateTime>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#include "testbound.h"

namespace {

using keying::ElementPattern;
using keying::KeyElements;
using keying::UnitTiming;
using keying::UnitWait;

TEST(CWElements, EachCharacterIsItsUnitsDownAndUpEndingWithTheGapAfterACharacter) {
  const struct {
    const char* character;
    const char* units;
  } cases[] = {
      {"E", "1000"},
      {"T", "111000"},
      {"A", "10111000"},
      {"a", "10111000"},
      {"0", "1110111011101110111000"},
      {"=", "1110101010111000"},  // BT
      {"-", "1110101010111000"},  // BT too, not the hyphen
      {"[", "1011101011101000"},  // AR
      {"]", "101010111010111000"},  // SK
      {";", "111010111011101000"},  // KN
      {"\\", "111010111010101110101000"},  // CL, the two letters run together
      {" ", "00000000"},
      {"!", ""},  // logs the contact instead
      {"#", ""},
      {"\xe9", ""},
      {"", ""},
      {"AB", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.character);
    EXPECT_EQ(ElementPattern(QString::fromLatin1(c.character)), QString::fromLatin1(c.units));
  }
}

// The pattern read back as dots and dashes: a single unit down is a dot, three a dash.
QString DotsAndDashes(const QString& units) {
  QString code;
  for (const QString& element : units.split(QLatin1Char('0'), Qt::SkipEmptyParts)) {
    code += element == QLatin1String("1") ? QLatin1Char('.') : element == QLatin1String("111") ? QLatin1Char('-') : QLatin1Char('?');
  }
  return code;
}

TEST(CWElements, LettersDigitsAndSignsAreInternationalMorseCode) {
  const char* const text = "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 0123456789.,?/";
  const char* const codes[] = {
      "-", "....", ".", "", "--.-", "..-", "..", "-.-.", "-.-", "", "-...", ".-.", "---", ".--", "-.", "",
      "..-.", "---", "-..-", "", ".---", "..-", "--", ".--.", "...", "", "---", "...-", ".", ".-.", "",
      "-", "....", ".", "", ".-..", ".-", "--..", "-.--", "", "-..", "---", "--.", "", "-----", ".----",
      "..---", "...--", "....-", ".....", "-....", "--...", "---..", "----.", ".-.-.-", "--..--", "..--..",
      "-..-.",
  };
  for (int i = 0; text[i]; ++i) {
    const QString character(QLatin1Char(text[i]));
    SCOPED_TRACE(character.toStdString());
    const QString units = ElementPattern(character);
    EXPECT_EQ(DotsAndDashes(units), QString::fromLatin1(codes[i]));
    if (character == QLatin1String(" ")) continue;
    const QString elements = units.chopped(3);
    EXPECT_TRUE(units.endsWith(QLatin1String("000")) && elements.endsWith(QLatin1Char('1')));
    EXPECT_FALSE(elements.contains(QLatin1String("00"))) << "one unit up between the elements of a character";
  }
}

TEST(CWElements, TheWordSpaceAdjustmentWidensOrNarrowsTheEightUnitsOfASpace) {
  const struct {
    double adjustment;
    int units;
  } cases[] = {{0, 8}, {3, 11}, {3.9, 11}, {-8, 0}, {-3, 5}, {-2.5, 5}, {-20, 0}, {32759, 32767}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.adjustment);
    EXPECT_EQ(keying::WordSpacePattern(c.adjustment), QString(c.units, QLatin1Char('0')));
  }
  EXPECT_THROW(keying::WordSpacePattern(32760), platform::RuntimeError) << "hours of silence";
}

TEST(CWElements, AUnitIs1200MillisecondsOverTheSpeedAndTheLoopScalesItsCalibration) {
  EXPECT_DOUBLE_EQ(keying::UnitMilliseconds(20), 60);
  EXPECT_NEAR(keying::UnitMilliseconds(13), 92.3077, 0.0001);
  EXPECT_DOUBLE_EQ(keying::LoopCountPerUnit(12'000'000, 20), 12'000'000);  // 60 ms a unit
  EXPECT_DOUBLE_EQ(keying::LoopCountPerUnit(12'000'000, 40), 6'000'000);
  EXPECT_DOUBLE_EQ(keying::CountLoops(12.5), 13);
}

TEST(CWElements, CalibrationGivesLoopsPer60MillisecondsAndNothingWhenTheClockStoodStill) {
  EXPECT_EQ(keying::LoopsPer60Ms(25), 12'000'000);  // 200,000 a millisecond
  EXPECT_EQ(keying::LoopsPer60Ms(7), 42'857'143);   // rounded
  EXPECT_EQ(keying::LoopsPer60Ms(0), std::nullopt);
}

// Keys a pattern on the fake clock and notes, for each unit, the level and when it was set.
class KeyedUnits : public ::testing::Test {
 protected:
  void SetUp() override { platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0); }

  struct Unit {
    bool down;
    qint64 at;
  };

  std::vector<Unit> Key(const QString& pattern, const UnitWait& wait) {
    std::vector<Unit> units;
    KeyElements(pattern, wait, [&](bool down) { units.push_back({down, platform::Now().toMSecsSinceEpoch()}); });
    end_ = platform::Now().toMSecsSinceEpoch();
    return units;
  }

  // How long each unit lasted on the fake clock.
  std::vector<qint64> Lengths(const std::vector<Unit>& units) const {
    std::vector<qint64> lengths;
    for (std::size_t i = 0; i < units.size(); ++i) lengths.push_back((i + 1 < units.size() ? units[i + 1].at : end_) - units[i].at);
    return lengths;
  }

  qint64 end_ = 0;
};

TEST_F(KeyedUnits, SleepWaitsEachUnitRounded) {
  const struct {
    double speed;
    qint64 length;
  } cases[] = {{13, 92}, {20, 60}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.speed);
    const std::vector<Unit> units =
        Key(QStringLiteral("1000"), {UnitTiming::Sleep, keying::UnitMilliseconds(c.speed), 0});
    ASSERT_EQ(units.size(), 4u);
    EXPECT_TRUE(units[0].down);
    EXPECT_FALSE(units[1].down || units[2].down || units[3].down);
    for (const qint64 length : Lengths(units)) EXPECT_EQ(length, c.length);
  }
}

// Each reading of the fake clock moves it by 1 ms, so a unit may end up to a reading late; with
// every end counted from the character's start, that lateness never adds up.
TEST_F(KeyedUnits, TheTimerKeysEachUnitAtItsMomentFromTheCharactersStart) {
  const QString paris = QStringLiteral("10111011101000" "10111000" "1011101000" "101000" "10101000");
  for (const double speed : {13.0, 25.0, 35.0, 45.0, 60.0}) {
    SCOPED_TRACE(speed);
    const double unit = keying::UnitMilliseconds(speed);
    const std::vector<Unit> units = Key(paris, {UnitTiming::Timer, unit, 0});
    ASSERT_EQ(units.size(), static_cast<std::size_t>(paris.size()));
    for (std::size_t i = 0; i < units.size(); ++i) {
      EXPECT_EQ(units[i].down, paris[static_cast<qsizetype>(i)] == '1');
      EXPECT_NEAR(static_cast<double>(units[i].at - units[0].at), static_cast<double>(i) * unit, 1.0)
          << "unit " << i;
    }
    EXPECT_NEAR(static_cast<double>(end_ - units[0].at), static_cast<double>(units.size()) * unit, 1.0);
  }
}

// The signal is raised from within the keying, as one arrives while the GUI thread keys.
TEST_F(KeyedUnits, ASignalEndingTheProgramStopsTheCharacterAtOnce) {
  int ending = 0;
  platform::EndSignalWatch watch([&](int signal) { ending = signal; });
  for (const UnitTiming timing : {UnitTiming::Timer, UnitTiming::Sleep}) {
    ending = 0;
    QString levels;
    KeyElements(QStringLiteral("1110111000"), {timing, 60, 0}, [&](bool down) {
      levels += down ? '1' : '0';
      if (levels.size() == 2) {
        ASSERT_EQ(std::raise(SIGTERM), 0);
      }
    });
    EXPECT_EQ(levels, "11") << "the caller lifts the key";
    EXPECT_TRUE(QTest::qWaitFor([&] { return ending == SIGTERM; }, peertesting::kBoundMs))
        << "the program's end runs from the event loop";
  }
}

TEST_F(KeyedUnits, TheTimerGivesUpAUnitThatWouldEndWithin2000MillisecondsOfTheClocksWrap) {
  const auto startAt = [](double ticks) {
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0);
    const std::uint32_t now = platform::TimeGetTime();
    platform::Clock::Advance(static_cast<std::int64_t>(ticks) - now - 1);
  };
  const UnitWait wait{UnitTiming::Timer, 60, 0};

  startAt(keying::kLastTimerEnd - 60);  // the first unit ends exactly at the limit
  EXPECT_EQ(Key(QStringLiteral("111000"), wait).size(), 2u) << "the second unit would end past it";

  startAt(keying::kLastTimerEnd - 59);
  const std::vector<Unit> units = Key(QStringLiteral("111000"), wait);
  ASSERT_EQ(units.size(), 1u);
  EXPECT_TRUE(units[0].down) << "the caller lifts the key";
}

}  // namespace
