#include "spotting/globals.h"
#include "spotting/spotintake.h"
#include "spotting/spotlines.h"

#include "platform/clock.h"

#include <gtest/gtest.h>

using namespace spotting;

namespace {

class SpotIntake : public ::testing::Test {
 protected:
  void SetUp() override { platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(18, 0)), 0); }
};

// A cluster's 80-column DX line: the spotter's text, then the time and the spotter's grid at 71.
QString EightyColumnLine() {
  return QStringLiteral("DX de Q2ABC:     50125.0  Q1XYZ        FN42 up 5").leftJustified(70, u' ') +
         QStringLiteral("1234Z FN31");
}

// What the spot input hands on for a line.
std::optional<QStringList> FileLine(const QString& line) {
  const DXLine dx = ParseDXLine(line);
  return FileSpot(dx.Call, dx.Frequency, SpotRecord(line));
}

QStringList Row(std::initializer_list<const char*> columns) {
  QStringList row;
  for (const char* column : columns) row << QString::fromLatin1(column);
  return row;
}

}  // namespace

TEST_F(SpotIntake, AClusterLineFillsTheListRowAndTheNewestSlot) {
  const QString line = EightyColumnLine();
  ASSERT_EQ(line.size(), 80);
  EXPECT_EQ(FileLine(line), Row({"Q1XYZ", "50.125", "", "", "de Q2ABC:  FN42 up 5", "", "1234", "FN3"}));
  EXPECT_EQ(DXSpotCall[49], QStringLiteral("Q1XYZ"));
  EXPECT_EQ(DXSpotFreq[49], 50.125f);
  EXPECT_EQ(DXSpotPrefix[49], QStringLiteral("Q1"));
  EXPECT_EQ(DXSpotTime[49], platform::Now());
}

TEST_F(SpotIntake, TheRecordCountsUpToItsFirstCarriageReturn) {
  const QString line = EightyColumnLine() + QStringLiteral("\r\n");
  EXPECT_EQ(FileLine(line), Row({"Q1XYZ", "50.125", "", "", "de Q2ABC:  FN42 up 5", "", "1234", "FN3"}));

  // A CR early in the record leaves the later columns empty, though text follows it.
  const QString cut = QStringLiteral("DX de Q2ABC:     50125.0  Q1XYZ        FN42\r") + EightyColumnLine().mid(44);
  EXPECT_EQ(FileLine(cut), Row({"Q1XYZ", "50.125", "", "", "de Q2ABC:  FN42", "", "", ""}));
}

TEST_F(SpotIntake, ARecordUnder62CharactersHasNoPrefixTimeOrFrom) {
  const QString line = QStringLiteral("DX de Q2ABC:    144200.0  Q1XYZ        FN42 up 5 strong signal");
  ASSERT_LT(SpotRecord(line).size(), 62);
  EXPECT_EQ(FileLine(line), Row({"Q1XYZ", "144.2", "", "", "de Q2ABC:  FN42 up 5 strong signal", "", "", ""}));
}

TEST_F(SpotIntake, ColumnsCutAtTheRecordsEnd) {
  EXPECT_EQ(SpotListRow(QStringLiteral("Q1XYZ"), 28.475, QStringLiteral("de Q2ABC:")),
            Row({"Q1XYZ", "28.475", "", "", "de Q2ABC:  ", "", "", ""}));
  EXPECT_EQ(SpotListRow(QString(), 0.1, QString()), Row({"", "0.1", "", "", "  ", "", "", ""}));
  const QString record = QString(61, u'x') + QStringLiteral("PFX  y12");
  EXPECT_EQ(SpotListRow(QStringLiteral("Q1XYZ"), 50, record).mid(5), Row({"PFX", "12", ""}));
}

TEST(SpotNumber, AcceptsNumbersASingleCanHold) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"50125", 50125},   {" 50125.0 ", 50125}, {"1e3", 1000},         {"-5", -5},
      {".5", 0.5},        {"", std::nullopt},   {"  ", std::nullopt},  {"50125.0.1", std::nullopt},
      {"inf", std::nullopt}, {"NaN", std::nullopt}, {"1e39", std::nullopt}, {"-1e39", std::nullopt},
      {"Q1XYZ", std::nullopt}, {"5O125", std::nullopt},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(SpotNumber(QString::fromLatin1(text)), number) << text;
}

TEST_F(SpotIntake, AFrequencyThatIsNoNumberDropsTheSpot) {
  for (const char* frequency : {"", "abc", "1e39", "inf"}) {
    EXPECT_EQ(FileSpot(QStringLiteral("Q1XYZ"), QString::fromLatin1(frequency), QStringLiteral("de Q2ABC:")),
              std::nullopt);
  }
  for (int slot = 0; slot < 50; ++slot) {
    EXPECT_TRUE(DXSpotCall[slot].isEmpty());
    EXPECT_EQ(DXSpotFreq[slot], 0.0f);
  }
}

TEST(OwnCallAlert, MatchesTheOwnCallInAnyCaseButNeverAnEmptyCall) {
  const struct {
    const char* spotted;
    const char* own;
    bool alert;
  } cases[] = {
      {"Q2ABC", "Q2ABC", true}, {"q2abc", "Q2ABC", true}, {"Q2ABC", "q2abc", true},
      {"Q2ABCD", "Q2ABC", false}, {"Q2ABC", "", false}, {"", "", false}, {"", "Q2ABC", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsOwnCallSpotted(QString::fromLatin1(c.spotted), QString::fromLatin1(c.own)), c.alert)
        << c.spotted << " / " << c.own;
  }
}

TEST(OwnCallAlert, CaptionsCarryTheWholeRecord) {
  EXPECT_EQ(SpottedDialogCaption(), QStringLiteral("You've been spotted! "));
  EXPECT_EQ(SpottedDupeCaption(QStringLiteral("de Q1XYZ: 144200.0 Q2ABC\r\nmore")),
            QStringLiteral("You've been spotted!  de Q1XYZ: 144200.0 Q2ABC\r\nmore"));
}
