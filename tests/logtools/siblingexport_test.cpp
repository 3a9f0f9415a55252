#include "exportfixture.h"
#include "exportreaders.h"

#include "logtools/siblingexport.h"
#include "platform/errors.h"

namespace {

class SiblingLoggerFileTest : public ExportTest {
 protected:
  QByteArray Write(std::uint8_t contestType) {
    const QString path = PathOf(QStringLiteral("LogExp.txt"));
    logtools::WriteSiblingLoggerFile(path, contestType);
    return Bytes(path);
  }
};

TEST_F(SiblingLoggerFileTest, OneQuotedRecordPerContact) {
  SetLog({Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});
  EXPECT_EQ(Write(2),
            "\"K1ABC\",\"2024/06/08\",\"144\",\"PH\",,\"18:05:33\",\"59\",\"57\",,,,,\"FN42\",,,"
            "\"ARRL June VHF QSO Party\"\r\n");
}

TEST_F(SiblingLoggerFileTest, ReadsBackAsCommaSeparatedValues) {
  logging::LogContact noReport = Contact("W2DEF", "1.3 G", "CW", "2024/06/08", "18:07", "FN20");
  noReport.RstRcvd.clear();
  SetLog({noReport, Contact("N3GHI", "50 M", "PH", "2024/06/09", "07:05:00", "EM99"),
          Contact("K4JKL", "10 G", "CW", "2024/06/09", "23:59:59", "EM73")});

  const std::vector<CsvRecord> records = ReadCsv(Write(5));

  using Field = std::optional<QString>;
  const Field none;
  const std::vector<CsvRecord> expected = {
      {"W2DEF", "2024/06/08", "1.3", "CW", none, "18:07", "59", "", none, none, none, none, "FN20", none, none,
       "CQ VHF Contest"},
      {"N3GHI", "2024/06/09", "50", "PH", none, "07:05:00", "59", "57", none, none, none, none, "EM99", none, none,
       "CQ VHF Contest"},
      {"K4JKL", "2024/06/09", "10", "CW", none, "23:59:59", "59", "57", none, none, none, none, "EM73", none, none,
       "CQ VHF Contest"}};
  EXPECT_EQ(records, expected);
}

TEST_F(SiblingLoggerFileTest, ControlCharactersInAValueAreWrittenAsBlanks) {
  SetLog({Contact("W1\tAB\r\n", "144 M", "PH", "2024/06/08", "18:05:33", "FN\x01" "42")});
  EXPECT_EQ(Write(2),
            "\"W1 AB \",\"2024/06/08\",\"144\",\"PH\",,\"18:05:33\",\"59\",\"57\",,,,,\"FN 42\",,,"
            "\"ARRL June VHF QSO Party\"\r\n");
}

TEST_F(SiblingLoggerFileTest, AContestTypeOutsideTheFiveHasNoContestName) {
  SetLog({Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});
  const std::vector<CsvRecord> records = ReadCsv(Write(0));
  ASSERT_EQ(records.size(), 1u);
  ASSERT_EQ(records[0].size(), 16u);
  EXPECT_FALSE(records[0][15].has_value());
}

TEST_F(SiblingLoggerFileTest, AnEmptyLogWritesAnEmptyFile) { EXPECT_EQ(Write(1), ""); }

TEST_F(SiblingLoggerFileTest, AFailedWriteRaisesTheErrorAndLeavesTheOldFileWhole) {
  SetLog({Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});
  const QString old = LongNamedOldFile("an earlier export");
  EXPECT_THROW(logtools::WriteSiblingLoggerFile(old, 1), platform::RuntimeError);
  EXPECT_EQ(Bytes(old), "an earlier export");
}

TEST(ContactListClipboardText, HeadersThenRowsAsListedTabSeparated) {
  const QStringList headers = {"Rec#", "Call", "Rec", "Grid R", "Snt", "Date / Time", "Bnd", "Grid S", "Mode"};
  EXPECT_EQ(logtools::ContactListClipboardText(headers, {}),
            "Rec#\tCall\tRec\tGrid R\tSnt\tDate / Time\tBnd\tGrid S\tMode\r\n");

  // Sorted by call: the record numbers keep each contact's slot.
  const std::vector<QStringList> rows = {{"2", "K1ABC", "57", "FN42", "59", "06/08 18:05", "144", "FN31", "PH"},
                                         {"1", "W2DEF", "", "FN20", "59", "06/08 18:07", "1.3", "FN31", "CW"},
                                         {"3", "W9SHORT"}};
  EXPECT_EQ(logtools::ContactListClipboardText(headers, rows),
            "Rec#\tCall\tRec\tGrid R\tSnt\tDate / Time\tBnd\tGrid S\tMode\r\n"
            "2\tK1ABC\t57\tFN42\t59\t06/08 18:05\t144\tFN31\tPH\r\n"
            "1\tW2DEF\t\tFN20\t59\t06/08 18:07\t1.3\tFN31\tCW\r\n"
            "3\tW9SHORT\t\t\t\t\t\t\t\r\n");
}

}  // namespace
