#include "exportreaders.h"
#include "exportwindowfixture.h"

#include "logtools/form2.h"
#include "logging/globals.h"
#include "platform/clock.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>

#include <optional>
#include <utility>

namespace {

using Fields = std::vector<std::pair<QByteArray, QByteArray>>;  // ADIF name (upper case), value

// The fields of an ADIF record in the order written, names as a reader upper-cases them.
Fields FieldsOf(const std::vector<AdifField>& record) {
  Fields fields;
  for (const AdifField& field : record) fields.emplace_back(field.Name, field.Value);
  return fields;
}

class ExportMenusTest : public ExportWindowTest {
 protected:
  void SetUp() override {
    ExportWindowTest::SetUp();
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 10), QTime(9, 30)), -4);
  }

  QString AdifPath() const { return DataFolderPath() + QStringLiteral("/Corvane.adi"); }
  QString LogExpPath() const { return dir_.filePath(QStringLiteral("LogExp.txt")); }

  // The ADIF export answered with power, comment and phone mode, saved as Corvane.adi in the data
  // folder; the file's bytes, none when it was not written.
  QByteArray ExportAdif(const QString& power, const QString& comment, const QString& phoneMode) {
    dialogs.AnswerInputBox(power);
    dialogs.AnswerInputBox(comment);
    dialogs.AnswerInputBox(phoneMode);
    dialogs.ChooseFile(AdifPath());
    Choose(form.mnuExportADIF);
    return QFile::exists(AdifPath()) ? Bytes(AdifPath()) : QByteArray();
  }

  // What the contact list shows, read from its table as the operator sees it: the headers, then
  // each row top to bottom, as clipboard lines.
  QString ShownListText() const {
    const QAbstractItemModel& model = *form.ListView1.View()->model();
    const QHeaderView& header = *form.ListView1.View()->horizontalHeader();
    QStringList lines;
    QStringList cells;
    for (int visual = 0; visual < model.columnCount(); ++visual) {
      cells << model.headerData(header.logicalIndex(visual), Qt::Horizontal).toString();
    }
    lines << cells.join(u'\t');
    for (int row = 0; row < model.rowCount(); ++row) {
      cells.clear();
      for (int visual = 0; visual < model.columnCount(); ++visual) {
        cells << model.index(row, header.logicalIndex(visual)).data().toString();
      }
      lines << cells.join(u'\t');
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
  }
  void ClickHeader(int section) {
    QHeaderView* header = form.ListView1.View()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(section) + 5, 5));
  }
};

// ---- The reload before every export

TEST_F(ExportMenusTest, ALogThatCannotBeReadIsNotExported) {
  const std::pair<const char*, platform::Menu app::Form1::*> items[] = {
      {"Write Cabrillo File", &app::Form1::mnuWriteSumm},
      {"Export ADIF Format", &app::Form1::mnuExportADIF},
      {"Export for Quellbook Import", &app::Form1::mnuQuellbookExport}};
  LoggedElsewhere({Row("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});
  logging::LogConnection.Close();
  // A Cabrillo window shown would wait for the operator: it is noted and closed at once.
  bool cabrilloWindowShown = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (!platform::IsLoaded<logtools::Form2>() || !platform::Instance<logtools::Form2>().Visible()) return;
    cabrilloWindowShown = true;
    platform::Instance<logtools::Form2>().Hide();
  });
  closer.start(5);

  for (const auto& [name, item] : items) {
    SCOPED_TRACE(name);
    const std::size_t before = dialogs.MessageBoxes().size();
    Choose(form.*item);
    ASSERT_EQ(dialogs.MessageBoxes().size(), before + 1);
    EXPECT_EQ(dialogs.MessageBoxes().back().prompt, "Error opening file.");
  }

  EXPECT_FALSE(cabrilloWindowShown);
  EXPECT_TRUE(dialogs.InputBoxes().empty());
  EXPECT_TRUE(dialogs.CommonDialogs().empty());
  EXPECT_FALSE(QFile::exists(LogExpPath()));
  EXPECT_EQ(dialogs.Beeps(), 0);
}

// ---- ADIF

TEST_F(ExportMenusTest, AdifAsksItsQuestionsProposingTheContestAndOffersCorvaneDotAdiInTheDataFolder) {
  const std::pair<std::uint8_t, QString> comments[] = {{1, "ARRL January VHF Sweepstakes"},
                                                       {2, "ARRL June VHF QSO Party"},
                                                       {3, "ARRL UHF Contest"},
                                                       {4, "ARRL September VHF QSO Party"},
                                                       {5, ""}};
  for (const auto& [contestType, comment] : comments) {
    SCOPED_TRACE(int(contestType));
    app::ContestType = contestType;
    dialogs.CancelFileDialog();
    const std::size_t asked = dialogs.InputBoxes().size();

    Choose(form.mnuExportADIF);  // each box answered with its default

    ASSERT_EQ(dialogs.InputBoxes().size(), asked + 3);
    const platform::InputBoxShown* boxes = &dialogs.InputBoxes()[asked];
    EXPECT_EQ(boxes[0].prompt,
              "Please enter the power value that you would like to record.  This is an optional value that will be "
              "included in each QSO record and displayed in Quellbook's power output column.");
    EXPECT_EQ(boxes[0].title, "Please enter your transmitter output power.");
    EXPECT_EQ(boxes[0].defaultText, "");
    EXPECT_EQ(boxes[1].prompt,
              "Please enter a comment that you would like to appear on each QSO record.  This is an optional "
              "description that will be displayed in Quellbook's Comments column.");
    EXPECT_EQ(boxes[1].title, "Please enter a comment.");
    EXPECT_EQ(boxes[1].defaultText, comment);
    EXPECT_EQ(boxes[2].prompt, "Please enter your phone mode.");
    EXPECT_EQ(boxes[2].title, "Phone Mode?");
    EXPECT_EQ(boxes[2].defaultText, "SSB");

    const platform::CommonDialogShown& dialog = dialogs.CommonDialogs().back();
    EXPECT_EQ(dialog.kind, platform::CommonDialogKind::Save);
    EXPECT_EQ(dialog.fileName, DataFolderPath() + "\\Corvane.adi");
    EXPECT_EQ(dialog.filter, "ADIF Files (*.adi) | *.adi");
    EXPECT_EQ(dialog.flags, platform::CommonDialogFlags::OverwritePrompt) << "asks before overwriting";
    EXPECT_EQ(dialog.filterIndex, 1);
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty()) << "a cancelled dialog ends the export silently";
  EXPECT_FALSE(QFile::exists(AdifPath()));
  EXPECT_EQ(platform::CurDir(), ProgramFolder());
}

TEST_F(ExportMenusTest, AnEmptyLogGivesTheFiveHeaderLinesAndTheBoxNamesTheFile) {
  EXPECT_EQ(ExportAdif("", "", "SSB"),
            "ADIF Export from Varnek's Corvane Log 2.5\r\n"
            "<PROGRAMID:20>Varnek's Corvane Log\r\n"
            "Log exported on: 6/10/2024\r\n"
            "\r\n"
            "<EOH>\r\n");
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt,
            "The file was successfully written to the directory:\r\n\r\n" + AdifPath() + ".");
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "File Written Successfully.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::OKOnly);
  EXPECT_EQ(platform::CurDir(), ProgramFolder());
}

TEST_F(ExportMenusTest, AdifRecordsReadBackFieldByFieldAsTheLogHoldsThem) {
  struct Case {
    const char* name;
    QStringList row;
    QString power;
    QString comment;
    QString phoneMode;
    Fields expected;
  };
  const Case cases[] = {
      {"every piece, a comment outside ASCII", Row("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33"), "100",
       QStringLiteral("K\u00f6ln"), "ssb",
       {{"CALL", "K1ABC"},
        {"QSO_DATE", "20240608"},
        {"BAND", "2M"},
        {"MODE", "SSB"},
        {"TX_PWR", "100"},
        {"TIME_ON", "1805"},
        {"RST_SENT", "59"},
        {"RST_RCVD", "57"},
        {"GRIDSQUARE", "FN42"},
        {"COMMENT", "Koln"}}},
      {"300 G is SUBMM", Row("K1ABC", "300 G", "CW", "2024/06/08", "18:05"), "", "", "SSB",
       {{"CALL", "K1ABC"},
        {"QSO_DATE", "20240608"},
        {"BAND", "SUBMM"},
        {"MODE", "CW"},
        {"TIME_ON", "1805"},
        {"RST_SENT", "59"},
        {"RST_RCVD", "57"},
        {"GRIDSQUARE", "FN42"}}},
      {"no band", Row("K1ABC", "", "CW", "2024/06/08", "18:05:33"), "", "", "SSB",
       {{"CALL", "K1ABC"},
        {"QSO_DATE", "20240608"},
        {"MODE", "CW"},
        {"TIME_ON", "1805"},
        {"RST_SENT", "59"},
        {"RST_RCVD", "57"},
        {"GRIDSQUARE", "FN42"}}},
      {"PH without a phone mode", Row("K1ABC", "50 M", "PH", "2024/06/08", "18:05:33"), "", "", "",
       {{"CALL", "K1ABC"},
        {"QSO_DATE", "20240608"},
        {"BAND", "6M"},
        {"TIME_ON", "1805"},
        {"RST_SENT", "59"},
        {"RST_RCVD", "57"},
        {"GRIDSQUARE", "FN42"}}},
      {"an invalid date, an hour of one digit", Row("K1ABC", "50 M", "CW", "2024/02/30", "7:05"), "", "", "SSB",
       {{"CALL", "K1ABC"},
        {"BAND", "6M"},
        {"MODE", "CW"},
        {"TIME_ON", "0705"},
        {"RST_SENT", "59"},
        {"RST_RCVD", "57"},
        {"GRIDSQUARE", "FN42"}}},
      {"a grid with a trailing blank", Row("K1ABC", "10 G", "CW", "2024/06/08", "18:05:33", "FN42 "), "", "", "SSB",
       {{"CALL", "K1ABC"},
        {"QSO_DATE", "20240608"},
        {"BAND", "3CM"},
        {"MODE", "CW"},
        {"TIME_ON", "1805"},
        {"RST_SENT", "59"},
        {"RST_RCVD", "57"},
        {"GRIDSQUARE", "FN42"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmptiedElsewhere();
    LoggedElsewhere({c.row});
    const AdifFile file = ReadAdif(ExportAdif(c.power, c.comment, c.phoneMode));
    ASSERT_EQ(file.Records.size(), 1u);
    EXPECT_EQ(FieldsOf(file.Records[0]), c.expected);
    if (const AdifField* date = FindField(file.Records[0], "QSO_DATE")) {
      EXPECT_EQ(date->Type.toLower(), "d");
    }
  }
}

TEST_F(ExportMenusTest, AFailedAdifWriteShowsItsReasonAndLeavesTheOldFileWhole) {
  LoggedElsewhere({Row("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});
  const QString old = LongNamedOldFile("an earlier export");
  dialogs.ChooseFile(old);

  Choose(form.mnuExportADIF);

  ExpectUnableToWrite();
  EXPECT_EQ(Bytes(old), "an earlier export");
  EXPECT_EQ(platform::CurDir(), ProgramFolder());
}

// ---- LogExp.txt

TEST_F(ExportMenusTest, LogExpHoldsTheReloadedLogInTheProgramFolder) {
  app::ContestType = 5;
  QStringList noReport = Row("W2DEF", "1.3 G", "CW", "2024/06/08", "18:07", "FN20");
  noReport[1].clear();
  LoggedElsewhere({Row("N3GHI", "50 M", "PH", "2024/06/09", "07:05:00", "EM99"), noReport,
                   Row("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});

  Choose(form.mnuQuellbookExport);

  const QByteArray bytes = Bytes(LogExpPath());
  EXPECT_TRUE(bytes.startsWith(
      "\"K1ABC\",\"2024/06/08\",\"144\",\"PH\",,\"18:05:33\",\"59\",\"57\",,,,,\"FN42\",,,\"CQ VHF Contest\"\r\n"));
  using Field = std::optional<QString>;
  const Field none;
  const std::vector<CsvRecord> expected = {
      {"K1ABC", "2024/06/08", "144", "PH", none, "18:05:33", "59", "57", none, none, none, none, "FN42", none, none,
       "CQ VHF Contest"},
      {"W2DEF", "2024/06/08", "1.3", "CW", none, "18:07", "59", "", none, none, none, none, "FN20", none, none,
       "CQ VHF Contest"},
      {"N3GHI", "2024/06/09", "50", "PH", none, "07:05:00", "59", "57", none, none, none, none, "EM99", none, none,
       "CQ VHF Contest"}};
  EXPECT_EQ(ReadCsv(bytes), expected);
  EXPECT_EQ(dialogs.Beeps(), 1);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Export Successful!");
  EXPECT_TRUE(dialogs.MessageBoxes()[0].prompt.startsWith(
      "LogExp.txt has been written to this program's working directory " + app::ProgramDir +
      ".  Import these contacts into the Quellbook program by clicking File, Import,"));

  EmptiedElsewhere();
  Choose(form.mnuQuellbookExport);
  EXPECT_EQ(Bytes(LogExpPath()), "") << "an empty log, still reported written";
  EXPECT_EQ(dialogs.MessageBoxes().size(), 2u);
}

TEST_F(ExportMenusTest, ALogExpThatCannotBeWrittenShowsItsReason) {
  LoggedElsewhere({Row("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});
  ASSERT_TRUE(QDir(dir_.path()).mkdir("LogExp.txt"));  // a folder where the file goes

  Choose(form.mnuQuellbookExport);

  ExpectUnableToWrite();
  EXPECT_TRUE(QFileInfo(LogExpPath()).isDir());
}

// ---- The clipboard

TEST_F(ExportMenusTest, AnEmptyListCopiesTheHeaderLineAlone) {
  platform::Clipboard::SetText("something earlier");
  form.WorkList();

  Choose(form.mnuCopyListtoClipboard);

  EXPECT_EQ(platform::Clipboard::GetText(), "Rec#\tCall\tRec\tGrid R\tSnt\tDate / Time\tBnd\tGrid S\tMode\r\n");
}

TEST_F(ExportMenusTest, TheListIsCopiedInTheOrderTheOperatorSortedIt) {
  logging::CurrentBand = QStringLiteral("144 M");
  LoggedElsewhere({Row("W2DEF", "144 M", "CW", "2024/06/08", "18:01:00", "FN20"),
                   Row("K1ABC", "144 M", "PH", "2024/06/08", "18:02:00"),
                   Row("N3GHI", "144 M", "PH", "2024/06/08", "18:03:00", "EM99")});
  form.WorkList();
  ClickHeader(1);  // "Call"

  Choose(form.mnuCopyListtoClipboard);

  const QString text = platform::Clipboard::GetText();
  EXPECT_EQ(text, ShownListText());
  const QStringList lines = text.split("\r\n");
  ASSERT_EQ(lines.size(), 5);  // the header, three rows and nothing after the last line end
  EXPECT_TRUE(lines[1].startsWith("2\tK1ABC\t57\tFN42\t59\t"));
  EXPECT_TRUE(lines[2].startsWith("3\tN3GHI\t"));
  EXPECT_TRUE(lines[3].startsWith("1\tW2DEF\t"));
  EXPECT_TRUE(lines[3].endsWith("\t144\tFN31\tCW"));
}

}  // namespace
