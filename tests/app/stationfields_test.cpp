#include "app/stationfields.h"

#include <gtest/gtest.h>

namespace {

TEST(LogFilePathShown, StoredPathOrTheInstalledDatabase) {
  EXPECT_EQ(app::LogFilePathShown("", "/opt/corvane"), "/opt/corvane/Corvane.MDB");
  EXPECT_EQ(app::LogFilePathShown("C:", "/opt/corvane"), "/opt/corvane/Corvane.MDB");
  EXPECT_EQ(app::LogFilePathShown("", "/"), "/Corvane.MDB") << "no doubled separator at the root";
  EXPECT_EQ(app::LogFilePathShown("a.b", "/opt/corvane"), "a.b");
  EXPECT_EQ(app::LogFilePathShown(R"(\\SHACK\Logs\Corvane.MDB)", "/opt/corvane"), R"(\\SHACK\Logs\Corvane.MDB)");
}

}  // namespace
