#include "app/stationfields.h"

#include <gtest/gtest.h>

namespace {

TEST(IsNumericText, DecimalNumbersWithBlanksSignAndExponent) {
  for (const char* text : {"5", "-5.5", " 5 ", ".5", "5.", "+3", "1e3", "-4.25E-1", "0"})
    EXPECT_TRUE(app::IsNumericText(text)) << text;
  for (const char* text : {"", " ", "-", ".", "5/2", "abc", "1,5", "--5", "1e", "5 5", "0x10"})
    EXPECT_FALSE(app::IsNumericText(text)) << text;
}

TEST(NumericTextOrZero, NonNumericBecomesZeroNumericStaysAsTyped) {
  EXPECT_EQ(app::NumericTextOrZero("abc"), "0");
  EXPECT_EQ(app::NumericTextOrZero(""), "0");
  EXPECT_EQ(app::NumericTextOrZero("-5/"), "0");
  EXPECT_EQ(app::NumericTextOrZero(" -5.5"), " -5.5");
  EXPECT_EQ(app::NumberInText(" 72.5 "), 72.5);
  EXPECT_EQ(app::NumberInText("1e2"), 100);
  EXPECT_EQ(app::NumberInText("W"), 0);
}

TEST(NumberText, ShortestForm) {
  EXPECT_EQ(app::NumberText(76.0), "76");
  EXPECT_EQ(app::NumberText(40.25), "40.25");
  EXPECT_EQ(app::NumberText(0.0), "0");
  EXPECT_EQ(app::NumberText(-5.5f), "-5.5");
  EXPECT_EQ(app::NumberText(0.1f), "0.1");
  EXPECT_EQ(app::NumberText(72.1), "72.1");
}

TEST(TrimBlanks, OnlySpacesAtTheEnds) {
  EXPECT_EQ(app::TrimBlanks("  FN20 "), "FN20");
  EXPECT_EQ(app::TrimBlanks("\tFN20"), "\tFN20");
  EXPECT_EQ(app::TrimBlanks("   "), "");
}

TEST(LogFilePathShown, StoredPathOrTheInstalledDatabase) {
  EXPECT_EQ(app::LogFilePathShown("", "/opt/corvane"), "/opt/corvane/Corvane.MDB");
  EXPECT_EQ(app::LogFilePathShown("C:", "/opt/corvane"), "/opt/corvane/Corvane.MDB");
  EXPECT_EQ(app::LogFilePathShown("", "/"), "/Corvane.MDB") << "no doubled separator at the root";
  EXPECT_EQ(app::LogFilePathShown("a.b", "/opt/corvane"), "a.b");
  EXPECT_EQ(app::LogFilePathShown(R"(\\SHACK\Logs\Corvane.MDB)", "/opt/corvane"), R"(\\SHACK\Logs\Corvane.MDB)");
}

}  // namespace
