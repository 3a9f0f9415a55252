#include "logging/logstore.h"

#include "platform/errors.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

namespace {

using namespace logging;

class LogStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearLogStore(); }
  void TearDown() override { ClearLogStore(); }

  static QStringList GridsOf(std::int32_t band) {
    QStringList grids;
    for (std::int32_t slot = 1; slot <= BandGridCount[band]; ++slot) grids << BandGrids[band][slot];
    return grids;
  }
  static void Append(const QString& call, const QString& band, const QString& gridRcvd, const QString& ownGrid) {
    AppendContact({call, "59", gridRcvd, "59", ownGrid, "2024/03/03", "01:30:00", band, "PH"});
  }
};

TEST_F(LogStoreTest, BandIndexMatchesTheSeventeenNamesRegardlessOfCase) {
  const std::pair<QString, std::int32_t> cases[] = {
      {"50 M", 0}, {"144 m", 1}, {"1.3 G", 5}, {"10 g", 9}, {"24 G", 10}, {"300 G", 16},
      {"6 M", -1}, {"50M", -1},  {"", -1}};
  for (const auto& [name, index] : cases) EXPECT_EQ(BandIndex(name), index) << name.toStdString();
}

TEST_F(LogStoreTest, StoreGrowsPastTheOldCapacities) {
  for (int i = 1; i <= 15000; ++i) Append(QStringLiteral("K%1").arg(i), "50 M", "FN31", "FN20");
  EXPECT_EQ(LogCount, 15000);
  EXPECT_EQ(LogCalls[14001], QStringLiteral("K14001"));
  EXPECT_EQ(LogCalls[15000], QStringLiteral("K15000"));
  EXPECT_EQ(LogCalls[0], QString());
  // A record number past the log is an error and must not make the store grow.
  EXPECT_THROW(LogCalls[15001], platform::RuntimeError);
  EXPECT_THROW(LogCalls[-1], platform::RuntimeError);
  EXPECT_THROW(LogCalls[2'000'000'000], platform::RuntimeError);

  for (int i = 1; i <= 5100; ++i) {
    const QString grid = QStringLiteral("G%1").arg(i);
    EXPECT_EQ(AddWorkedGrid("432 M", grid, "FN20", 0, 1), 3);
    AddActivatedGrid(grid);
  }
  EXPECT_EQ(BandGridCount[3], 5100);
  EXPECT_EQ(BandGrids[3][5001], QStringLiteral("G5001"));
  EXPECT_EQ(ActivatedGridCount, 5100);
  EXPECT_EQ(ActivatedGrids[5100], QStringLiteral("G5100"));
}

TEST_F(LogStoreTest, RoverInContestFiveListsGridsPairedWithOwnGridOnTwoBandsOnly) {
  struct Case {
    std::uint8_t rover, contest;
    QString band;
    std::int32_t index;
    QString entry;
  };
  const Case cases[] = {
      {1, 5, "50 M", 0, "FN20 FN31"}, {1, 5, "144 m", 1, "FN20 FN31"}, {1, 5, "222 M", -1, ""},
      {1, 4, "50 M", 0, "FN20"},      {0, 5, "222 M", 2, "FN20"},      {0, 1, "6 M", -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.band.toStdString() + " rover " + std::to_string(c.rover) + " contest " + std::to_string(c.contest));
    const WorkedGridEntry worked = WorkedGridEntryOf(c.band, "FN20", "FN31", c.rover, c.contest);
    EXPECT_EQ(worked.BandIndex, c.index);
    if (c.index >= 0) {
      EXPECT_EQ(worked.Entry, c.entry);
    }
  }
}

TEST_F(LogStoreTest, WorkedGridIsListedOnceRegardlessOfCaseButAgainFromAnotherRoverGrid) {
  EXPECT_EQ(AddWorkedGrid("144 M", "FN20", "FN31", 1, 5), 1);
  EXPECT_EQ(AddWorkedGrid("144 M", "fn20", "fn31", 1, 5), -1);
  EXPECT_EQ(AddWorkedGrid("144 M", "FN20", "FN32", 1, 5), 1);
  EXPECT_EQ(AddWorkedGrid("222 M", "FN20", "FN32", 1, 5), -1);
  EXPECT_EQ(GridsOf(1), QStringList({"FN20 FN31", "FN20 FN32"}));
  EXPECT_TRUE(BandHasGrid(1, "fn20 fn32"));
  EXPECT_FALSE(BandHasGrid(-1, "FN20"));
  EXPECT_EQ(BandGridCount[2], 0);
}

TEST_F(LogStoreTest, AGridListHoldsWhatItsSlotsUpToTheCountHoldAfterEveryKindOfWrite) {
  GridSlots grids;
  std::int32_t slot = 0;
  for (const QString entry : {"FN20", "FN31", "fn20", "EM10"}) grids.Set(++slot, entry);
  struct Case {
    const char* what;
    std::function<void()> write;
    QString entry;
    std::int32_t count;
    bool held;
  };
  const Case cases[] = {
      {"appended, in another case", [] {}, "fn31", 4, true},
      {"beyond the count", [] {}, "EM10", 3, false},
      {"held again in a later slot", [] {}, "fn20", 1, true},
      {"written over", [&] { grids.Set(2, "DM79"); }, "FN31", 4, false},
      {"written over, the new entry", [] {}, "dm79", 4, true},
      {"slots skipped", [&] { grids.Set(7, "EL29"); }, "EL29", 7, true},
      {"a skipped slot", [] {}, "", 6, true},
      {"cleared", [&] { grids.Clear(); }, "FN20", 7, false},
      {"written after clearing", [&] { grids.Set(1, "FN20"); }, "fn20", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.write();
    EXPECT_EQ(grids.Holds(c.entry, c.count), c.held);
  }
}

TEST_F(LogStoreTest, ActivatedGridIsAddedOnceRegardlessOfCase) {
  for (const QString grid : {"FN31", "fn31", "FN32", "FN31"}) AddActivatedGrid(grid);
  EXPECT_EQ(ActivatedGridCount, 2);
  EXPECT_EQ(ActivatedGrids[1], QStringLiteral("FN31"));
  EXPECT_EQ(ActivatedGrids[2], QStringLiteral("FN32"));
}

TEST_F(LogStoreTest, RebuildCountsBandsListsGridsAsFirstWrittenAndSkipsUnknownBands) {
  Append("W1AW", "50 M", "FN31", "FN20");
  Append("K2XY", "50 m", "fn31", "fn20");
  Append("N3ZZ", "6 M", "EM10", "FN21");
  Append("W4AA", "432 M", "EM73", "FN21");
  RebuildBandTallies(0, 1);

  EXPECT_EQ(BandQsoCount[0], 2);
  EXPECT_EQ(BandQsoCount[3], 1);
  EXPECT_EQ(std::accumulate(BandQsoCount.begin(), BandQsoCount.end(), 0), 3);
  EXPECT_EQ(GridsOf(0), QStringList{"FN31"});
  EXPECT_EQ(GridsOf(3), QStringList{"EM73"});
  EXPECT_EQ(ActivatedGridCount, 2);

  RebuildBandTallies(1, 5);
  EXPECT_EQ(GridsOf(0), QStringList{"FN31 FN20"});
  EXPECT_EQ(BandGridCount[3], 0) << "a rover's 432 M grids are not listed";
  EXPECT_EQ(BandQsoCount[3], 1);
}

TEST_F(LogStoreTest, ClearEmptiesTheLogAndEveryTally) {
  Append("W1AW", "50 M", "FN31", "FN20");
  RebuildBandTallies(0, 1);
  LogRowCount = 7;
  ClearLogStore();
  EXPECT_EQ(LogCount, 0);
  EXPECT_THROW(LogCalls[1], platform::RuntimeError) << "the cleared log holds no contact";
  EXPECT_EQ(BandQsoCount[0], 0);
  EXPECT_EQ(BandGridCount[0], 0);
  EXPECT_EQ(ActivatedGridCount, 0);
  EXPECT_EQ(LogRowCount, 7);
  LogRowCount = 0;
}

}  // namespace
