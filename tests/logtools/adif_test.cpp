#include "exportfixture.h"
#include "exportreaders.h"

#include "logtools/adifexport.h"
#include "platform/clock.h"
#include "platform/errors.h"

#include <QDateTime>

using logtools::AdifAnswers;

namespace {

const QByteArray kHeader =
    "ADIF Export from Varnek's Corvane Log 2.5\r\n"
    "<PROGRAMID:20>Varnek's Corvane Log\r\n"
    "Log exported on: 6/10/2024\r\n"
    "\r\n"
    "<EOH>\r\n";

class AdifTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 10), QTime(9, 30)), -4);
  }

  QByteArray Write(const AdifAnswers& answers) {
    const QString path = PathOf(QStringLiteral("Corvane.adi"));
    logtools::WriteAdifFile(path, answers, kMainWindowCaption);
    return Bytes(path);
  }
};

TEST_F(AdifTest, AnEmptyLogWritesTheFiveHeaderLines) {
  EXPECT_EQ(Write({}), kHeader);
  const AdifFile file = ReadAdif(kHeader);
  EXPECT_TRUE(file.Records.empty());
  ASSERT_EQ(file.Header.size(), 1u);
  EXPECT_EQ(file.Header[0].Value, "Varnek's Corvane Log");
}

TEST_F(AdifTest, RecordsByCase) {
  const AdifAnswers ssb{{}, {}, QStringLiteral("ssb")};
  struct Case {
    const char* name;
    logging::LogContact contact;
    AdifAnswers answers;
    QByteArray record;
  };
  const Case cases[] = {
      {"every piece", Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33"),
       {QStringLiteral("100"), QStringLiteral("ARRL June VHF QSO Party"), QStringLiteral("ssb")},
       "<Call:5>K1ABC <Qso_Date:8:d>20240608 <Band:2>2M\r\n<Mode:3>SSB\r\n<Tx_Pwr:3>100 <Time_On:4>1805 "
       "<RST_Sent:2>59 <RST_Rcvd:2>57 <Gridsquare:4>FN42 <Comment:23>ARRL June VHF QSO Party\r\n<eor>\r\n\r\n"},
      {"300 G is SUBMM", Contact("K1ABC", "300 G", "CW", "2024/06/08", "18:05:33"), ssb,
       "<Call:5>K1ABC <Qso_Date:8:d>20240608 <Band:5>SUBMM\r\n<Mode:2>CW\r\n<Time_On:4>1805 <RST_Sent:2>59 "
       "<RST_Rcvd:2>57 <Gridsquare:4>FN42 <eor>\r\n\r\n"},
      {"no band, no band line", Contact("K1ABC", "", "CW", "2024/06/08", "18:05:33"), ssb,
       "<Call:5>K1ABC <Qso_Date:8:d>20240608 <Mode:2>CW\r\n<Time_On:4>1805 <RST_Sent:2>59 <RST_Rcvd:2>57 "
       "<Gridsquare:4>FN42 <eor>\r\n\r\n"},
      {"band text in any case", Contact("K1ABC", "1.3 g", "CW", "2024/06/08", "18:05:33"), ssb,
       "<Call:5>K1ABC <Qso_Date:8:d>20240608 <Band:4>23CM\r\n<Mode:2>CW\r\n<Time_On:4>1805 <RST_Sent:2>59 "
       "<RST_Rcvd:2>57 <Gridsquare:4>FN42 <eor>\r\n\r\n"},
      {"PH without a phone mode", Contact("K1ABC", "50 M", "PH", "2024/06/08", "18:05:33"), {},
       "<Call:5>K1ABC <Qso_Date:8:d>20240608 <Band:2>6M\r\n<Time_On:4>1805 <RST_Sent:2>59 <RST_Rcvd:2>57 "
       "<Gridsquare:4>FN42 <eor>\r\n\r\n"},
      {"an invalid date", Contact("K1ABC", "50 M", "CW", "2024/02/30", "18:05"), ssb,
       "<Call:5>K1ABC <Band:2>6M\r\n<Mode:2>CW\r\n<Time_On:4>1805 <RST_Sent:2>59 <RST_Rcvd:2>57 "
       "<Gridsquare:4>FN42 <eor>\r\n\r\n"},
      {"a date year first with dashes, a time of one-digit hour", Contact("K1ABC", "50 M", "CW", "2024-6-8", "7:05"),
       ssb,
       "<Call:5>K1ABC <Qso_Date:8:d>20240608 <Band:2>6M\r\n<Mode:2>CW\r\n<Time_On:4>0705 <RST_Sent:2>59 "
       "<RST_Rcvd:2>57 <Gridsquare:4>FN42 <eor>\r\n\r\n"},
      {"another program's forms: a time of one-digit parts", Contact("K1ABC", "50 M", "CW", "6/8/2024", "7:5:3"),
       ssb,
       "<Call:5>K1ABC <Qso_Date:8:d>20240608 <Band:2>6M\r\n<Mode:2>CW\r\n<Time_On:4>0705 <RST_Sent:2>59 "
       "<RST_Rcvd:2>57 <Gridsquare:4>FN42 <eor>\r\n\r\n"},
      {"a date month first", Contact("K1ABC", "50 M", "CW", "12/31/2023", "23:59:59"), ssb,
       "<Call:5>K1ABC <Qso_Date:8:d>20231231 <Band:2>6M\r\n<Mode:2>CW\r\n<Time_On:4>2359 <RST_Sent:2>59 "
       "<RST_Rcvd:2>57 <Gridsquare:4>FN42 <eor>\r\n\r\n"},
      {"a grid with a trailing blank", Contact("K1ABC", "50 M", "CW", "2024/06/08", "18:05:33", "FN42 "), ssb,
       "<Call:5>K1ABC <Qso_Date:8:d>20240608 <Band:2>6M\r\n<Mode:2>CW\r\n<Time_On:4>1805 <RST_Sent:2>59 "
       "<RST_Rcvd:2>57 <Gridsquare:4>FN42 <eor>\r\n\r\n"},
      {"ASCII: accents go, other characters are ?, lengths count the bytes",
       Contact("\u00d6H2\u00c5B", "50 M", "CW", "2024/06/08", "18:05:33"),
       {QStringLiteral("5 W"), QStringLiteral("Gr\u00fc\u00dfe \U0001F600\tK\u00f6ln \u2126"), {}},
       "<Call:5>OH2AB <Qso_Date:8:d>20240608 <Band:2>6M\r\n<Mode:2>CW\r\n<Tx_Pwr:3>5 W <Time_On:4>1805 "
       "<RST_Sent:2>59 <RST_Rcvd:2>57 <Gridsquare:4>FN42 <Comment:14>Gru?e ??Koln ?\r\n<eor>\r\n\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLog({c.contact});
    const QByteArray bytes = Write(c.answers);
    EXPECT_EQ(bytes, kHeader + c.record);
    EXPECT_EQ(ReadAdif(bytes).Records.size(), 1u);
  }
}

TEST_F(AdifTest, EmptyValuesWriteNoPiece) {
  logging::LogContact bare = Contact("", "", "", "", "", "");
  bare.RstRcvd.clear();
  bare.RstSent.clear();
  SetLog({bare});
  EXPECT_EQ(Write({}), kHeader + "<Time_On:4>0000 <eor>\r\n\r\n");
}

TEST_F(AdifTest, EveryContactReadsBackByTheAdifGrammar) {
  const std::vector<logging::LogContact> log = {
      Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33"),
      Contact("W2DEF/R", "10 G", "CW", "2024/06/08", "18:07", "FN20", "FN30"),
      Contact("VE3GHI", "222 M", "PH", "2024/06/09", "07:05:00", "FN03", "FN32"),
      Contact("K4JKL", "902 M", "CW", "2024/06/09", "23:59:59", "EM73")};
  SetLog(log);

  const AdifFile file =
      ReadAdif(Write({QStringLiteral("10"), QStringLiteral("Hilltop <roving>"), QStringLiteral("FM")}));

  EXPECT_TRUE(file.HeaderText.startsWith("ADIF Export from Varnek's Corvane Log 2.5"));
  const QByteArray bands[] = {"2M", "3CM", "1.25M", "33CM"};
  const QByteArray modes[] = {"FM", "CW", "FM", "CW"};
  const QByteArray times[] = {"1805", "1807", "0705", "2359"};
  ASSERT_EQ(file.Records.size(), log.size());
  for (std::size_t i = 0; i < log.size(); ++i) {
    SCOPED_TRACE(i);
    const std::vector<AdifField>& record = file.Records[i];
    EXPECT_EQ(record.size(), 10u);
    EXPECT_EQ(FindField(record, "call")->Value, log[i].Call.toLatin1());
    const AdifField* date = FindField(record, "qso_date");
    EXPECT_EQ(date->Value, log[i].Date.toLatin1().replace('/', ""));
    EXPECT_EQ(date->Type.toUpper(), "D");
    EXPECT_EQ(FindField(record, "band")->Value, bands[i]);
    EXPECT_EQ(FindField(record, "mode")->Value, modes[i]);
    EXPECT_EQ(FindField(record, "tx_pwr")->Value, "10");
    EXPECT_EQ(FindField(record, "time_on")->Value, times[i]);
    EXPECT_EQ(FindField(record, "rst_sent")->Value, log[i].RstSent.toLatin1());
    EXPECT_EQ(FindField(record, "rst_rcvd")->Value, log[i].RstRcvd.toLatin1());
    EXPECT_EQ(FindField(record, "gridsquare")->Value, log[i].GridRcvd.toLatin1());
    EXPECT_EQ(FindField(record, "comment")->Value, "Hilltop <roving>");
  }
}

TEST_F(AdifTest, EveryBandHasAdifsOwnName) {
  std::vector<logging::LogContact> log;
  for (const QString& band : logging::BandNames) log.push_back(Contact("K1ABC", band, "CW", "2024/06/08", "18:05"));
  SetLog(log);

  const AdifFile file = ReadAdif(Write({}));

  const QByteArray bands[] = {"6M",  "2M",     "1.25M", "70CM", "33CM",  "23CM", "13CM", "9CM", "6CM",
                              "3CM", "1.25CM", "6MM",   "4MM",  "2.5MM", "2MM",  "1MM",  "SUBMM"};
  ASSERT_EQ(file.Records.size(), std::size(bands));
  for (std::size_t i = 0; i < std::size(bands); ++i) EXPECT_EQ(FindField(file.Records[i], "band")->Value, bands[i]);
}

TEST_F(AdifTest, TheCommentProposedIsTheContestNameButForTheCqContest) {
  EXPECT_EQ(logtools::AdifCommentDefault(1), "ARRL January VHF Sweepstakes");
  EXPECT_EQ(logtools::AdifCommentDefault(2), "ARRL June VHF QSO Party");
  EXPECT_EQ(logtools::AdifCommentDefault(3), "ARRL UHF Contest");
  EXPECT_EQ(logtools::AdifCommentDefault(4), "ARRL September VHF QSO Party");
  EXPECT_EQ(logtools::AdifCommentDefault(5), "");
}

TEST_F(AdifTest, AFailedWriteRaisesTheErrorAndLeavesTheOldFileWhole) {
  SetLog({Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});
  const QString old = LongNamedOldFile("an earlier export");
  EXPECT_THROW(logtools::WriteAdifFile(old, {}, kMainWindowCaption), platform::RuntimeError);
  EXPECT_EQ(Bytes(old), "an earlier export");
}

}  // namespace
