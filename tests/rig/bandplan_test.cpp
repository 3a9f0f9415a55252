#include "rig/bandplan.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QString>
#include <QTemporaryDir>
#include <map>
#include <vector>

#include "platform/errors.h"

using namespace rig;

namespace {

class BandPlanFile : public ::testing::Test {
 protected:
  QString Path() const { return folder_.path() + "/BandPlan.txt"; }

  void Write(const QByteArray& content) const {
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  // The bands of the rows, in order: "20E 40E".
  static std::string BandsOf(const std::vector<BandPlanRow>& rows) {
    std::string bands;
    for (const BandPlanRow& row : rows)
      bands += (bands.empty() ? "" : " ") + (row.Band + row.ClassLetter).toStdString();
    return bands;
  }

  QTemporaryDir folder_;
};

QByteArray Row(int band, const char* classLetter) {
  return QStringLiteral("\"%1\",\"%2\",\"CW\",%3,%4\r\n")
      .arg(band)
      .arg(classLetter)
      .arg(band)
      .arg(band + 0.5)
      .toLatin1();
}

QString ShippedPlan() { return QStringLiteral(CORVANE_SOURCE_DIR "/data/BandPlan.txt"); }

}  // namespace

TEST_F(BandPlanFile, ReadsTheDateAndEveryRowInFileOrder) {
  Write(
      "\"March 5, 2012\"\r\n"
      "\"20\",\"O\",\"PH\",14,14.35\r\n"
      "\"20\",\"G\",\"CW\",14.025,14.15\r\n"
      "\"20\",\"E\",\"PH\",14.15,14.35\n"  // either line end
      " \"40\" , \"E\" , \"CW\" , 7 , 7.125 \r\n"
      "\r\n");
  BandPlanReader file(Path());
  EXPECT_EQ(file.EffectiveDate(), "March 5, 2012");
  std::vector<BandPlanRow> rows;
  while (!file.AtEnd()) rows.push_back(file.NextRow());
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2].Band, "20");
  EXPECT_EQ(rows[2].ClassLetter, "E");
  EXPECT_EQ(rows[2].Mode, "PH");
  EXPECT_EQ(rows[2].LowerMHz, 14.15f);
  EXPECT_EQ(rows[2].UpperMHz, 14.35f);
  EXPECT_EQ(rows[3].Mode, "CW");
  EXPECT_EQ(rows[3].LowerMHz, 7.0f);

  // The rig keeps the "E" rows only, in file order.
  EXPECT_EQ(BandsOf(LoadBandPlan(Path())), "20E 40E");
}

TEST_F(BandPlanFile, ALongerPlanKeepsTheFirst200ExtraRows) {
  QByteArray content = "\"2024\"\r\n";
  for (int band = 1; band <= 260; ++band) content += Row(band, "O") + Row(band, "E");
  Write(content);
  const std::vector<BandPlanRow> rows = LoadBandPlan(Path());
  ASSERT_EQ(rows.size(), 200u);
  EXPECT_EQ(rows.front().Band, "1");
  EXPECT_EQ(rows.back().Band, "200");
  EXPECT_EQ(rows.back().ClassLetter, "E");
}

TEST_F(BandPlanFile, ADamagedLineEndsThePlanWithTheRowsBeforeIt) {
  const struct {
    const char* line;
    const char* why;
  } cases[] = {
      {"\"20\",\"E\",\"PH\",14.15\r\n", "line 3: 4 values"},                    // cut short
      {"\"20\",\"E\",\"PH\",14.15,14.35,1\r\n", "line 3: 6 values"},            // one too many
      {"\"20\",\"E\",\"PH\",14.15,\"high\"\r\n", "line 3: the edge \"high\""},  // no number
      {"\"20\",\"E\",\"PH\",-14.15,14.35\r\n", "line 3: the edge \"-14.15\""},
      {"\r\n", "line 3: 1 values"},  // an empty line inside the plan
  };
  for (const auto& c : cases) {
    Write(QByteArray("\"2024\"\r\n") + Row(40, "E") + c.line + Row(80, "E"));
    BandPlanReader file(Path());
    file.NextRow();
    try {
      file.NextRow();
      ADD_FAILURE() << c.line;
    } catch (const platform::RuntimeError& error) {
      EXPECT_TRUE(error.Description().startsWith(QStringLiteral("BandPlan.txt ") + c.why))
          << error.Description().toStdString();
    }
    EXPECT_EQ(BandsOf(LoadBandPlan(Path())), "40E") << c.line;
  }
}

TEST_F(BandPlanFile, NoPlanWithoutAReadableFile) {
  EXPECT_TRUE(LoadBandPlan(Path()).empty());
  EXPECT_THROW(BandPlanReader{Path()}, platform::RuntimeError);
  Write("");
  EXPECT_THROW(BandPlanReader{Path()}, platform::RuntimeError);  // no date line
  Write("March 5, 2012\r\n" + Row(40, "E"));                     // a date of two values
  EXPECT_THROW(BandPlanReader{Path()}, platform::RuntimeError);
  EXPECT_TRUE(LoadBandPlan(Path()).empty());
  ASSERT_TRUE(QFile::remove(Path()));
  ASSERT_TRUE(QDir().mkpath(Path()));  // a folder where the file should be
  EXPECT_TRUE(LoadBandPlan(Path()).empty());
}

// The plan shipped beside the program keeps the rules the band plan viewer and the rig rely on.
TEST(ShippedBandPlan, KeepsTheFileRules) {
  BandPlanReader file(ShippedPlan());
  EXPECT_FALSE(file.EffectiveDate().isEmpty());
  std::vector<BandPlanRow> rows;
  while (!file.AtEnd()) rows.push_back(file.NextRow());
  EXPECT_LE(rows.size(), static_cast<size_t>(MaxBandPlanRows));

  QSet<QString> bandsSeen;
  std::map<QString, QSet<QString>> bandsOfClass;
  const BandPlanRow* outline = nullptr;
  for (const BandPlanRow& row : rows) {
    const std::string where = (row.Band + " " + row.ClassLetter).toStdString();
    EXPECT_LT(row.LowerMHz, row.UpperMHz) << where;
    if (row.ClassLetter == u"O") {
      EXPECT_FALSE(bandsSeen.contains(row.Band)) << "each band in one block: " << where;
      bandsSeen.insert(row.Band);
      outline = &row;
      continue;
    }
    EXPECT_TRUE(QStringLiteral("NTPGAE").contains(row.ClassLetter) && row.ClassLetter.size() == 1) << where;
    EXPECT_TRUE(row.Mode == u"CW" || row.Mode == u"PH") << where;
    ASSERT_NE(outline, nullptr) << "the band's \"O\" row comes first: " << where;
    EXPECT_EQ(row.Band, outline->Band) << "class rows follow their band's \"O\" row: " << where;
    EXPECT_GE(row.LowerMHz, outline->LowerMHz) << where;
    EXPECT_LE(row.UpperMHz, outline->UpperMHz) << where;
    bandsOfClass[row.ClassLetter].insert(row.Band);
  }
  for (const auto& [classLetter, bands] : bandsOfClass)
    EXPECT_LE(bands.size(), 20) << "the viewer draws at most 20 bands";
  for (const char* classLetter : {"N", "T", "P", "G", "A", "E"})
    EXPECT_TRUE(bandsOfClass.contains(classLetter)) << classLetter;
}

TEST(ShippedBandPlan, GivesTheRigItsModes) {
  const std::vector<BandPlanRow> plan = LoadBandPlan(ShippedPlan());
  ASSERT_FALSE(plan.empty());
  const struct {
    double megahertz;
    const char* mode;
  } cases[] = {
      {1.83, ""},     {3.55, "CW"},   {3.8, "LSB"},    {5.332, "USB"},   {5.373, "USB"},  // 60 m: upper sideband
      {7.2, "LSB"},   {10.12, "CW"},  {14.025, "CW"},  {14.25, "USB"},   {14.15, ""},  // on the edge of two segments
      {28.4, "USB"},  {50.09, "CW"},  {50.125, "USB"}, {144.05, "CW"},   {144.2, "USB"},
      {222.1, "USB"}, {432.1, "USB"}, {1296.1, "USB"}, {10368.1, "USB"}, {11000, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(BandPlanModeForFrequency(plan, c.megahertz, ""), c.mode) << c.megahertz;
}
