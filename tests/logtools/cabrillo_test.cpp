#include "expectedcabrillo.h"
#include "exportfixture.h"
#include "exportreaders.h"

#include "logtools/cabrillo.h"
#include "platform/errors.h"

#include <QDir>

using logtools::BandOption;
using logtools::CabrilloEntry;
using logtools::OperatorOption;
using logtools::PowerOption;

namespace {

// An ARRL entry as Form2 starts: single operator, all bands, low power.
CabrilloEntry ArrlEntry() {
  CabrilloEntry entry;
  entry.MainWindowCaption = kMainWindowCaption;
  entry.ContestType = 2;
  entry.OwnCall = QStringLiteral("W1XYZ");
  entry.ClaimedScore = QStringLiteral("1234");
  entry.Section = QStringLiteral("CT");
  entry.Name = QStringLiteral("Ann Operator");
  entry.AddressLine1 = QStringLiteral("1 Main St");
  entry.AddressLine2 = QStringLiteral("Town, CT 06000");
  entry.Email = QStringLiteral("ann@example.org");
  entry.Soapbox = QStringLiteral("Good conditions on 6");
  return entry;
}

// A CQ entry as Form2 starts under the CQ layout: single op, non-assisted.
CabrilloEntry CqEntry() {
  CabrilloEntry entry = ArrlEntry();
  entry.ContestType = 5;
  entry.Power = PowerOption::Option18;
  entry.Operators = QStringLiteral("W1XYZ K1ZZZ");
  entry.Club = QStringLiteral("Hilltop Club");
  return entry;
}

class CabrilloTest : public ExportTest {
 protected:
  QByteArray Write(const CabrilloEntry& entry) {
    const QString path = PathOf(QStringLiteral("W1XYZ.log"));
    logtools::WriteCabrilloLog(path, entry);
    return Bytes(path);
  }
};

TEST_F(CabrilloTest, ArrlLogByteForByte) {
  SetLog({Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33"),
          Contact("W2DEF", "1.3 G", "CW", "2024/06/08", "18:07", "FN20"),
          Contact("N3GHI", "50 M", "PH", "2024/06/09", "7:05", "EM99", "FN32")});

  ExpectedCabrillo expected;
  expected.qsoLines = kJuneQsoLines;
  EXPECT_EQ(Write(ArrlEntry()), expected.Text());
}

TEST_F(CabrilloTest, CqLogByteForByte) {
  SetLog({Contact("K1ABC", "50 M", "CW", "2024/07/20", "18:05:33")});

  ExpectedCabrillo expected;
  expected.cq = true;
  expected.operators = "W1XYZ K1ZZZ";
  expected.club = "Hilltop Club";
  expected.qsoLines = kCqQsoLine;
  EXPECT_EQ(Write(CqEntry()), expected.Text());
}

TEST_F(CabrilloTest, CategoryByLayoutAndOptions) {
  struct Case {
    std::uint8_t contestType;
    OperatorOption op;
    BandOption band;
    PowerOption power;
    QString category;
    std::optional<QString> assisted;
  };
  const Case cases[] = {
      {1, OperatorOption::Option1, BandOption::Option8, PowerOption::Option19, "SINGLE-OP ALL LOW ", {}},
      {3, OperatorOption::Option1, BandOption::Option13, PowerOption::Option18, "SINGLE-OP VHF-FM-ONLY HIGH ", {}},
      {4, OperatorOption::Option1, BandOption::Option12, PowerOption::Option19, "SINGLE-OP VHF-3-BAND LOW ", {}},
      {2, OperatorOption::Option1, BandOption::Option5, PowerOption::Option19, "SINGLE-OP LIMITED LOW ", {}},
      {2, OperatorOption::Option2, BandOption::Option5, PowerOption::Option18, "SINGLE-OP-PORTABLE", {}},
      {2, OperatorOption::Option3, BandOption::Option8, PowerOption::Option19, "ROVER", {}},
      {2, OperatorOption::Option6, BandOption::Option8, PowerOption::Option19, "MULTI-LIMITED", {}},
      {2, OperatorOption::Option7, BandOption::Option8, PowerOption::Option19, "MULTI-UNLIMITED", {}},
      {2, OperatorOption::Option4, BandOption::Option8, PowerOption::Option19, "CHECKLOG", {}},
      {5, OperatorOption::Option1, BandOption::Option8, PowerOption::Option18, "SINGLE-OP ALL HIGH   ", "NON-ASSISTED"},
      {5, OperatorOption::Option1, BandOption::Option12, PowerOption::Option19, "SINGLE-OP ALL HIGH   ", "ASSISTED"},
      {5, OperatorOption::Option2, BandOption::Option8, PowerOption::Option18, "SINGLE-OP ALL QRP", "NON-ASSISTED"},
      {5, OperatorOption::Option3, BandOption::Option8, PowerOption::Option18, "SINGLE-OP 6M HIGH", "NON-ASSISTED"},
      {5, OperatorOption::Option6, BandOption::Option8, PowerOption::Option18, "SINGLE-OP 2M HIGH", "NON-ASSISTED"},
      {5, OperatorOption::Option7, BandOption::Option8, PowerOption::Option18, "MULTI-ONE ALL HIGH", "NON-ASSISTED"},
      {5, OperatorOption::Option4, BandOption::Option8, PowerOption::Option19, "ROVER ALL HIGH", "ASSISTED"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.category.toStdString());
    CabrilloEntry entry = ArrlEntry();
    entry.ContestType = c.contestType;
    entry.Operator = c.op;
    entry.Band = c.band;
    entry.Power = c.power;
    const CabrilloFile file = ReadCabrillo(Write(entry));
    EXPECT_EQ(file.Value("CATEGORY"), c.category);
    EXPECT_EQ(file.Value("CATEGORY-ASSISTED"), c.assisted);
    EXPECT_EQ(file.Value("ARRL-SECTION").has_value(), c.contestType != 5);
  }
}

TEST_F(CabrilloTest, ContestValueByType) {
  const std::pair<std::uint8_t, QString> contests[] = {
      {1, "ARRL-VHF-JAN"}, {2, "ARRL-VHF-JUN"}, {3, "ARRL-UHF-AUG"}, {4, "ARRL-VHF-SEP"}, {5, "CQ-VHF"}, {0, ""}};
  for (const auto& [type, contest] : contests) {
    CabrilloEntry entry = ArrlEntry();
    entry.ContestType = type;
    EXPECT_EQ(ReadCabrillo(Write(entry)).Value("CONTEST"), contest) << int(type);
  }
}

TEST_F(CabrilloTest, EveryContactReadsBackByTheTagGrammar) {
  SetLog({Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33"),
          Contact("W2DEF/R", "10 G", "CW", "2024-06-08", "18:07", "FN20", "FN30"),
          Contact("VE3GHI", "3.5 G", "PH", "6/9/2024", "07:05:00", "FN03", "FN32"),
          Contact("K4JKL", "300 G", "CW", "2024/06/09", "23:59:59", "EM73", "FN31"),
          Contact("N5MNO", "50 M", "CW", "6/10/2024", " 7:5:3", "EM12", "FN31")});

  const CabrilloFile file = ReadCabrillo(Write(ArrlEntry()));

  const std::vector<QStringList> expected = {
      {"144", "PH", "2024-06-08", "1805", "W1XYZ", "FN31", "K1ABC", "FN42"},
      {"10", "CW", "2024-06-08", "1807", "W1XYZ", "FN30", "W2DEF/R", "FN20"},
      {"3.4", "PH", "2024-06-09", "0705", "W1XYZ", "FN32", "VE3GHI", "FN03"},
      {"300", "CW", "2024-06-09", "2359", "W1XYZ", "FN31", "K4JKL", "EM73"},
      {"50", "CW", "2024-06-10", "0705", "W1XYZ", "FN31", "N5MNO", "EM12"}};
  EXPECT_EQ(file.Qsos, expected);
}

TEST_F(CabrilloTest, BandCodesEndInColumnTenAndAnUnknownBandLeavesItBlank) {
  SetLog({Contact("K1ABC", "1.3 G", "PH", "2024/06/08", "18:05:33"),
          Contact("K1ABC", "50 M", "PH", "2024/06/08", "18:05:33"),
          Contact("K1ABC", "160 M", "PH", "2024/06/08", "18:05:33")});

  const QList<QByteArray> lines = Write(ArrlEntry()).split('\n');
  ASSERT_TRUE(lines[16].startsWith("QSO:"));
  EXPECT_EQ(lines[16].indexOf("1.2"), 7);  // column 8
  EXPECT_EQ(lines[17].indexOf("50"), 8);   // column 9
  EXPECT_EQ(lines[18].mid(4, 7), "       ");
  EXPECT_EQ(lines[18].mid(11, 2), "PH");
}

// Readers take a QSO line by its columns or split it at blanks: a value that fits keeps its
// columns, and one too wide is followed by one blank on its line, never by a line of its own.
TEST_F(CabrilloTest, AValueTooWideForItsColumnsIsFollowedByOneBlankOnItsLine) {
  const struct {
    const char* what;
    const char* ownCall;
    logging::LogContact contact;
    QByteArray line;
  } cases[] = {
      {"own call of 14, as wide as its columns", "VE3XYZ/VE2ROVR",
       Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05"),
       "QSO:   144 PH 2024-06-08 1805 VE3XYZ/VE2ROVR    FN31   K1ABC             FN42    "},
      {"own call of 15, into the blank columns", "VE3XYZ/VE2ROVER",
       Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05"),
       "QSO:   144 PH 2024-06-08 1805 VE3XYZ/VE2ROVER   FN31   K1ABC             FN42    "},
      {"own call of 18, up to the grid", "VE3XYZ/VE2ROVER/MM", Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05"),
       "QSO:   144 PH 2024-06-08 1805 VE3XYZ/VE2ROVER/MM FN31  K1ABC             FN42    "},
      {"call of 15", "W1XYZ", Contact("VE3ABC/DL1XYZ/P", "144 M", "PH", "2024/06/10", "18:05"),
       "QSO:   144 PH 2024-06-10 1805 W1XYZ             FN31   VE3ABC/DL1XYZ/P   FN42    "},
      {"call of 18, up to the grid", "W1XYZ", Contact("VE3ABCD/DL1XYZ/QRP", "144 M", "PH", "2024/06/10", "18:05"),
       "QSO:   144 PH 2024-06-10 1805 W1XYZ             FN31   VE3ABCD/DL1XYZ/QRP FN42   "},
      {"mode one too wide: what follows moves on a column, up to the own call's blanks", "W1XYZ",
       Contact("K1ABC", "144 M", "SSB", "2024/06/10", "18:05"),
       "QSO:   144 SSB 2024-06-10 1805 W1XYZ            FN31   K1ABC             FN42    "},
      {"grids of six and seven", "W1XYZ", Contact("K1ABC", "144 M", "PH", "2024/06/10", "18:05", "FN42AB1", "FN31AB"),
       "QSO:   144 PH 2024-06-10 1805 W1XYZ             FN31AB K1ABC             FN42AB1  "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetLog({c.contact});
    CabrilloEntry entry = ArrlEntry();
    entry.OwnCall = QString::fromLatin1(c.ownCall);

    const QByteArray bytes = Write(entry);

    EXPECT_TRUE(bytes.endsWith("SOAPBOX:\r\n" + c.line + "\r\nEND-OF-LOG:\r\n")) << bytes.constData();
    const CabrilloFile file = ReadCabrillo(bytes);
    ASSERT_EQ(file.Qsos.size(), 1u);
    EXPECT_EQ(file.Qsos[0].size(), 8) << "no field runs into the next";
  }
}

TEST_F(CabrilloTest, AnEmptyLogHasTheHeaderAndTheEnd) {
  CabrilloEntry entry = ArrlEntry();
  entry.Name.clear();
  const CabrilloFile file = ReadCabrillo(Write(entry));
  EXPECT_TRUE(file.Qsos.empty());
  EXPECT_EQ(file.Tags.size(), 17u);
  EXPECT_EQ(file.Value("NAME"), "");
  EXPECT_EQ(file.Tags.back(), std::make_pair(QStringLiteral("END-OF-LOG"), QString()));
}

TEST_F(CabrilloTest, TextIsWrittenInLatin1) {
  SetLog({Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});
  CabrilloEntry entry = ArrlEntry();
  entry.Name = QStringLiteral("Jos\u00e9 \u0141ukasz");
  EXPECT_TRUE(Write(entry).contains("NAME: Jos\xe9 ?ukasz\r\n"));
}

// Values another program stored in the shared log, and texts pasted into the entry's boxes.
TEST_F(CabrilloTest, ControlCharactersInAnyFieldAreWrittenAsBlanks) {
  SetLog({Contact("W1\r\nQSO: X", "144 M", "PH\n", "2024/06/08", "18:05\r:33", "FN\t42", "FN31\x1b"),
          Contact("K1ABC", "144 M", "PH", "2024/06/08\r\nEND-OF-LOG:", "18:06:00")});
  CabrilloEntry entry = ArrlEntry();
  entry.Soapbox = QStringLiteral("Rain\r\nQSO: 144 PH");
  entry.Name = QStringLiteral("Ann\u0085Operator");

  const QByteArray bytes = Write(entry);

  const CabrilloFile file = ReadCabrillo(bytes);
  ASSERT_EQ(file.Qsos.size(), 2u);
  EXPECT_EQ(file.Value("SOAPBOX"), "Rain QSO: 144 PH");
  EXPECT_EQ(file.Value("NAME"), "Ann Operator");
  EXPECT_TRUE(bytes.contains("QSO:   144 PH 2024-06-08 1805 W1XYZ             FN31   W1 QSO: X         FN 42   \r\n"));
  // A date that is no date goes as it is, the fields past its end after one blank each.
  EXPECT_TRUE(bytes.contains(
      "QSO:   144 PH 2024/06/08 END-OF-LOG: 1806 W1XYZ FN31   K1ABC             FN42    \r\nEND-OF-LOG:\r\n"));
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\r' || byte == '\n') continue;
    ASSERT_FALSE(byte < 0x20 || (byte >= 0x7F && byte <= 0x9F)) << "control character " << int(byte);
  }
}

TEST_F(CabrilloTest, AFailedWriteRaisesTheErrorAndLeavesTheOldFileWhole) {
  SetLog({Contact("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});
  const QString old = LongNamedOldFile("an earlier log");
  try {
    logtools::WriteCabrilloLog(old, ArrlEntry());
    ADD_FAILURE() << "no error";
  } catch (const platform::RuntimeError& error) {
    EXPECT_FALSE(error.Description().isEmpty());
  }
  EXPECT_EQ(Bytes(old), "an earlier log");
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{old.section(u'/', -1)});

  EXPECT_THROW(logtools::WriteCabrilloLog(PathOf("missing/W1XYZ.log"), ArrlEntry()), platform::RuntimeError);
}

}  // namespace
