#include "platform/numbertext.h"

#include "platform/errors.h"

#include <gtest/gtest.h>

#include <optional>

using namespace platform;

namespace {

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
