#include "platform/numbertext.h"

#include "platform/errors.h"

#include <gtest/gtest.h>

#include <optional>

using namespace platform;

namespace {

TEST(TrimBlanks, OnlySpacesAtTheEnds) {
  const struct {
    const char* text;
    const char* trimmed;
  } cases[] = {{"  FN20 ", "FN20"}, {"\tFN20", "\tFN20"}, {"   ", ""}, {"", ""}, {"W1 AW", "W1 AW"}};
  for (const auto& c : cases) {
    const QString text = QString::fromLatin1(c.text);
    EXPECT_EQ(TrimBlanks(text), QLatin1String(c.trimmed)) << c.text;
    const QStringView view = TrimBlanks(QStringView(text));
    EXPECT_EQ(view, QLatin1String(c.trimmed)) << c.text;
    EXPECT_TRUE(view.isEmpty() || (view.data() >= text.data() && view.data() + view.size() <= text.data() + text.size()))
        << "the view lies within the text it was given: " << c.text;
  }
}

TEST(DecimalOfText, DecimalNumbersWithBlanksSignAndExponent) {
  for (const char* text : {"5", "-5.5", " 5 ", ".5", "5.", "+3", "1e3", "-4.25E-1", "0"})
    EXPECT_TRUE(DecimalOfText(text).has_value()) << text;
  for (const char* text : {"", " ", "-", ".", "5/2", "abc", "1,5", "--5", "1e", "5 5", "0x10"})
    EXPECT_FALSE(DecimalOfText(text).has_value()) << text;
}

TEST(NumericTextOrZero, NonNumericBecomesZeroNumericStaysAsTyped) {
  EXPECT_EQ(NumericTextOrZero("abc"), "0");
  EXPECT_EQ(NumericTextOrZero(""), "0");
  EXPECT_EQ(NumericTextOrZero("-5/"), "0");
  EXPECT_EQ(NumericTextOrZero(" -5.5"), " -5.5");
  EXPECT_EQ(NumberInText(" 72.5 "), 72.5);
  EXPECT_EQ(NumberInText("1e2"), 100);
  EXPECT_EQ(NumberInText("W"), 0);
}

TEST(NumberText, ShortestForm) {
  EXPECT_EQ(NumberText(76.0), "76");
  EXPECT_EQ(NumberText(40.25), "40.25");
  EXPECT_EQ(NumberText(0.0), "0");
  EXPECT_EQ(NumberText(-5.5f), "-5.5");
  EXPECT_EQ(NumberText(0.1f), "0.1");
  EXPECT_EQ(NumberText(72.1), "72.1");
}

TEST(ValOfNumberText, DecimalOrHexadecimalAfterAmpersandH) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"&H378", 888},      {"&h378", 888},      {" &H3bc ", 956},       {"&H0", 0},
      {"&HFFFFFFFF", 4294967295.0},             {"888", 888},           {" -2.5 ", -2.5},
      {".5", 0.5},         {"5.", 5},           {"1e3", 1000},          {"+3", 3},
      {"", std::nullopt},  {"&H", std::nullopt}, {"&H1G", std::nullopt}, {"&H37.8", std::nullopt},
      {"-&H10", std::nullopt},                  {"& H378", std::nullopt}, {"&H100000000", std::nullopt},
      {"0x378", std::nullopt},                  {"378H", std::nullopt}, {"1e999", std::nullopt},
      {"abc", std::nullopt},                    {"5 5", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ValOfNumberText(c.text), c.value) << c.text;
}

TEST(WholeOfNumberText, RoundsHalvesToEvenAndRefusesWhatIsNoNumber) {
  const struct {
    const char* text;
    std::int32_t whole;
  } cases[] = {
      {"&H378", 888}, {"0.5", 0},   {"1.5", 2},  {"2.5", 2},   {"3.5", 4},           {"-2.5", -2},
      {"2.51", 3},    {"7.49", 7},  {"-0.4", 0}, {"&H37A", 890}, {"2147483647", 2147483647},
  };
  for (const auto& c : cases) EXPECT_EQ(WholeOfNumberText(c.text), c.whole) << c.text;

  const struct {
    const char* text;
    int number;
  } refused[] = {{"abc", 13}, {"", 13}, {"&H", 13}, {"2147483648", 6}, {"-2147483649", 6}, {"&HFFFFFFFF", 6}};
  for (const auto& r : refused) {
    try {
      WholeOfNumberText(r.text);
      ADD_FAILURE() << r.text << " was read as a whole number";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), r.number) << r.text;
    }
  }
}

}  // namespace
