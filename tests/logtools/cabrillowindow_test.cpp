#include "expectedcabrillo.h"
#include "exportreaders.h"
#include "exportwindowfixture.h"

#include "logtools/form2.h"
#include "platform/settings.h"

#include <QApplication>

#include <functional>

#include "modalwindowtesting.h"

namespace {

using logtools::Form2;

const QString kApp = QStringLiteral("Varnek_Software");
const QString kSection = QStringLiteral("Settings");
const QStringList kSettingKeys = {"UserAddressName", "UserAddressLine1", "UserAddressLine2",
                                  "UserEMail",       "UserARRLSection",  "UserClubName"};

// The Cabrillo window opened from "Write Cabrillo File": the operator fills it in, writes the
// file to the name the save dialog is answered with, and closes it with Done.
class CabrilloWindowTest : public ExportWindowTest {
 protected:
  void SetUp() override {
    ExportWindowTest::SetUp();
    for (const QString& key : kSettingKeys) platform::DeleteSetting(kApp, kSection, key);
  }

  // Opens the window from the menu and runs the operator's work in it; Done closes it unless the
  // work did. Returns whether the window showed.
  bool Operate(const std::function<void(Form2&)>& work) {
    bool shown = false;
    OperateModalWindowOnceShown<Form2>([&](Form2& window) {
      shown = true;
      work(window);
      if (window.Visible()) Click(window.Command3);
    });
    Choose(form.mnuWriteSumm);
    EXPECT_FALSE(platform::IsLoaded<Form2>()) << "unloaded once closed";
    return shown;
  }

  // Writes the file to `path` with the window as the operator left it after `fill`; `afterWrite`
  // looks at the window before Done closes it.
  QByteArray WriteThroughWindow(const QString& path, const std::function<void(Form2&)>& fill = {},
                                const std::function<void(Form2&)>& afterWrite = {}) {
    dialogs.ChooseFile(path);
    EXPECT_TRUE(Operate([&](Form2& window) {
      if (fill) fill(window);
      Click(window.Command4);
      if (afterWrite) afterWrite(window);
    }));
    return QFile::exists(path) ? Bytes(path) : QByteArray();
  }
  QString DataFile(const QString& name) const { return DataFolderPath() + u'/' + name; }

  static void Click(platform::CommandButton& button) { QTest::mouseClick(button.Widget(), Qt::LeftButton); }
  static void Click(platform::OptionButton& option) { QTest::mouseClick(option.Widget(), Qt::LeftButton); }
  static void Type(platform::TextBox& box, const char* text) {
    box.SetFocus();
    QTest::keyClicks(box.Widget(), text);
  }

  static void FillPersonalDetails(Form2& window) {
    Type(window.Text1, "ct");
    Type(window.Text5, " Ann Operator ");
    Type(window.Text6, "1 Main St");
    Type(window.Text7, "Town, CT 06000");
    Type(window.Text8, "ann@example.org");
    Type(window.Text11, "Good conditions on 6");
  }

  static QString Setting(const QString& key) { return platform::GetSetting(kApp, kSection, key, "(none)"); }

  // The main window's total score as shown, which the header claims.
  QByteArray ClaimedScore() const { return form.lblTotScore.Caption().toLatin1(); }
};

TEST_F(CabrilloWindowTest, TheArrlLayoutWritesTheReloadedLogByteForByteAndKeepsThePersonalDetails) {
  app::OwnCall = QStringLiteral(" W1XYZ ");  // blanks around, as typed at set-up
  LoggedElsewhere({Row("N3GHI", "50 M", "PH", "2024/06/09", "07:05:00", "EM99", "FN32"),
                   Row("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33"),
                   Row("W2DEF", "1.3 G", "CW", "2024/06/08", "18:07", "FN20"),
                   Row("K4JKL", "6 M", "CW", "2024/06/10", "12:00:00", "EM73")});
  const QString chosen = DataFile("june.log");

  bool boxesWereEmpty = false;
  bool doneHadTheFocus = false;
  const QByteArray bytes = WriteThroughWindow(
      chosen,
      [&](Form2& window) {
        boxesWereEmpty =
            window.Text1.Text().isEmpty() && window.Text5.Text().isEmpty() && window.Text10.Text().isEmpty();
        EXPECT_TRUE(window.Option1.Value() && window.Option8.Value() && window.Option19.Value());
        EXPECT_TRUE(window.Text1.Visible() && window.Frame1.Enabled());
        FillPersonalDetails(window);
        EXPECT_EQ(window.Text1.Text(), "CT") << "the section is upper-cased as typed";
      },
      [&](Form2& window) { doneHadTheFocus = window.Command3.HasFocus(); });

  EXPECT_TRUE(boxesWereEmpty);
  EXPECT_EQ(app::OwnCall, "W1XYZ") << "trimmed in place";
  ExpectedCabrillo expected;
  expected.claimedScore = ClaimedScore();
  expected.name = " Ann Operator ";
  expected.qsoLines =
      kJuneQsoLines + "QSO:       CW 2024-06-10 1200 W1XYZ             FN31   K4JKL             EM73    \r\n";
  EXPECT_EQ(bytes, expected.Text());
  EXPECT_NE(form.lblTotScore.Caption(), "");
  EXPECT_EQ(ReadCabrillo(bytes).Qsos.size(), 4u);

  ASSERT_EQ(dialogs.CommonDialogs().size(), 1u);
  const platform::CommonDialogShown& dialog = dialogs.CommonDialogs()[0];
  EXPECT_EQ(dialog.kind, platform::CommonDialogKind::Save);
  EXPECT_EQ(dialog.fileName, DataFolderPath() + "\\W1XYZ.log");
  EXPECT_EQ(platform::QtNameFilters(dialog.filter).size(), 1);
  EXPECT_TRUE(platform::QtNameFilters(dialog.filter).value(0).contains("*.log"));
  EXPECT_EQ(dialog.flags, platform::CommonDialogFlags::OverwritePrompt);
  EXPECT_EQ(dialog.filterIndex, 1);

  ASSERT_EQ(dialogs.MessageBoxes().size(), 2u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "File Written Successfully.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt,
            "The file W1XYZ.log was successfully written to the directory:\r\n\r\n" + chosen +
                ".\r\n\r\nAttach this file to an e-mail addressed for contest submission.  If you wish to print this "
                "file, you can open it with Notepad or Wordpad to print.")
      << "the default name, whichever name was chosen";
  EXPECT_EQ(dialogs.MessageBoxes()[1].title, "  Thanks!");
  EXPECT_TRUE(dialogs.MessageBoxes()[1].prompt.startsWith(
      "Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a friend!\r\n\r\n"));
  EXPECT_EQ(dialogs.Beeps(), 2);
  EXPECT_TRUE(doneHadTheFocus);
  EXPECT_EQ(platform::CurDir(), ProgramFolder());

  EXPECT_EQ(QStringList({Setting("UserAddressName"), Setting("UserAddressLine1"), Setting("UserAddressLine2"),
                         Setting("UserEMail"), Setting("UserARRLSection"), Setting("UserClubName")}),
            QStringList({"Ann Operator", "1 Main St", "Town, CT 06000", "ann@example.org", "CT", ""}));
  const QByteArray shared = Bytes(SharedPreferencesPath());
  for (const char* element : {"<OWN_ADDRESS_NAME>Ann Operator</OWN_ADDRESS_NAME>",
                              "<OWN_ADDRESS_LINE1>1 Main St</OWN_ADDRESS_LINE1>",
                              "<OWN_ADDRESS_LINE2>Town, CT 06000</OWN_ADDRESS_LINE2>",
                              "<OWN_EMAIL>ann@example.org</OWN_EMAIL>", "<OWN_ARRL_SECTION>CT</OWN_ARRL_SECTION>",
                              "<OWN_CLUB_NAME></OWN_CLUB_NAME>"}) {
    EXPECT_TRUE(shared.contains(element)) << element;
  }
}

TEST_F(CabrilloWindowTest, TheCqLayoutWritesItsCategoriesAndStillKeepsTheHiddenSection) {
  app::ContestType = 5;
  platform::SaveSetting(kApp, kSection, "UserAddressName", "Ann Operator");
  platform::SaveSetting(kApp, kSection, "UserAddressLine1", "1 Main St");
  platform::SaveSetting(kApp, kSection, "UserAddressLine2", "Town, CT 06000");
  platform::SaveSetting(kApp, kSection, "UserEMail", "ann@example.org");
  platform::SaveSetting(kApp, kSection, "UserARRLSection", "CT");
  platform::SaveSetting(kApp, kSection, "UserClubName", "Hilltop Club");
  LoggedElsewhere({Row("K1ABC", "50 M", "CW", "2024/07/20", "18:05:33")});

  const QByteArray bytes = WriteThroughWindow(DataFile("W1XYZ.log"), [](Form2& window) {
    EXPECT_EQ(QStringList({window.Text5.Text(), window.Text6.Text(), window.Text7.Text(), window.Text8.Text(),
                           window.Text1.Text(), window.Text10.Text()}),
              QStringList({"Ann Operator", "1 Main St", "Town, CT 06000", "ann@example.org", "CT", "Hilltop Club"}));
    EXPECT_EQ(QStringList({window.Option1.Caption(), window.Option2.Caption(), window.Option3.Caption(),
                           window.Option6.Caption(), window.Option7.Caption(), window.Option4.Caption(),
                           window.Frame6.Caption(), window.Option19.Caption(), window.Option18.Caption()}),
              QStringList({"Single Op", "Single Op QRP", "Single Op 6M", "Single Op 2M", "Multi Op", "Rover",
                           "Category Assisted:", "ASSISTED", "NON-ASSISTED"}));
    EXPECT_FALSE(window.Label1.Visible() || window.Text1.Visible());
    EXPECT_FALSE(window.Frame1.Enabled() || window.Option8.Enabled() || window.Option5.Enabled());
    EXPECT_TRUE(window.Option1.Value() && window.Option18.Value());
    Type(window.Text2, "W1XYZ K1ZZZ");
  });

  ExpectedCabrillo expected;
  expected.cq = true;
  expected.claimedScore = ClaimedScore();
  expected.operators = "W1XYZ K1ZZZ";
  expected.club = "Hilltop Club";
  expected.soapbox = "";
  expected.qsoLines = kCqQsoLine;
  EXPECT_EQ(bytes, expected.Text());
  EXPECT_EQ(Setting("UserARRLSection"), "CT");
  EXPECT_TRUE(Bytes(SharedPreferencesPath()).contains("<OWN_ARRL_SECTION>CT</OWN_ARRL_SECTION>"));
}

TEST_F(CabrilloWindowTest, TheCategoryIsWhatTheOptionsShowUnderEitherLayout) {
  struct Case {
    const char* name;
    std::uint8_t contestType;
    std::uint8_t rover;
    std::function<void(Form2&)> choose;
    QString category;
    std::optional<QString> assisted;
  };
  const Case cases[] = {
      {"high power, FM only", 3, 0,
       [](Form2& w) {
         Click(w.Option18);
         Click(w.Option13);
       },
       "SINGLE-OP VHF-FM-ONLY HIGH ", {}},
      {"three bands", 4, 0, [](Form2& w) { Click(w.Option12); }, "SINGLE-OP VHF-3-BAND LOW ", {}},
      {"multi-limited", 1, 0, [](Form2& w) { Click(w.Option6); }, "MULTI-LIMITED", {}},
      {"an ARRL rover opens as one", 2, 1, [](Form2& w) { EXPECT_TRUE(w.Option3.Value()); }, "ROVER", {}},
      {"a CQ rover opens as one", 5, 1, [](Form2& w) { EXPECT_TRUE(w.Option4.Value()); }, "ROVER ALL HIGH",
       "NON-ASSISTED"},
      {"CQ assisted", 5, 0, [](Form2& w) { Click(w.Option19); }, "SINGLE-OP ALL HIGH   ", "ASSISTED"},
      {"CQ single op 6M", 5, 0, [](Form2& w) { Click(w.Option3); }, "SINGLE-OP 6M HIGH", "NON-ASSISTED"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    app::ContestType = c.contestType;
    app::Rover = c.rover;
    const CabrilloFile file = ReadCabrillo(WriteThroughWindow(DataFile("W1XYZ.log"), c.choose));
    EXPECT_EQ(file.Value("CATEGORY"), c.category);
    EXPECT_EQ(file.Value("CATEGORY-ASSISTED"), c.assisted);
  }
}

TEST_F(CabrilloWindowTest, AnOwnCallPastFourteenCharactersStaysOnEachContactsLineAndNamesTheFileByItsStem) {
  app::OwnCall = QStringLiteral("VE3XYZ/VE2ROVER");
  LoggedElsewhere({Row("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});

  const QByteArray bytes = WriteThroughWindow(DataFile("VE3XYZ.log"));

  EXPECT_TRUE(bytes.contains("\r\nQSO:   144 PH 2024-06-08 1805 VE3XYZ/VE2ROVER   FN31   K1ABC             FN42    "
                             "\r\nEND-OF-LOG:\r\n"));
  EXPECT_EQ(dialogs.CommonDialogs().at(0).fileName, DataFolderPath() + "\\VE3XYZ.log");
  EXPECT_TRUE(dialogs.MessageBoxes().at(0).prompt.startsWith("The file VE3XYZ.log was"));
}

TEST_F(CabrilloWindowTest, AnEmptyLogOfACallWithoutAStemGoesToYourCallDotLog) {
  app::OwnCall = QStringLiteral("/P");

  const CabrilloFile file = ReadCabrillo(WriteThroughWindow(DataFile("YourCall.log")));

  EXPECT_EQ(dialogs.CommonDialogs().at(0).fileName, DataFolderPath() + "\\YourCall.log");
  EXPECT_TRUE(file.Qsos.empty());
  EXPECT_EQ(file.Value("OPERATORS"), "/P");
  EXPECT_EQ(file.Tags.back().first, "END-OF-LOG");
}

TEST_F(CabrilloWindowTest, CancellingTheSaveDialogWritesNothingAndKeepsNoDetails) {
  platform::SaveSetting(kApp, kSection, "UserAddressName", "Ann Operator");
  LoggedElsewhere({Row("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});
  dialogs.CancelFileDialog();

  bool stillOpen = false;
  EXPECT_TRUE(Operate([&](Form2& window) {
    window.Text5.SetText(QString());
    Type(window.Text5, "Bob Changed");
    FillPersonalDetails(window);
    Click(window.Command4);
    stillOpen = window.Visible();
  }));

  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(dialogs.CommonDialogs().size(), 1u);
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(dialogs.Beeps(), 0);
  EXPECT_TRUE(QDir(DataFolderPath()).isEmpty());
  EXPECT_EQ(Setting("UserAddressName"), "Ann Operator");
  EXPECT_EQ(Setting("UserAddressLine1"), "(none)");
  EXPECT_FALSE(QFile::exists(SharedPreferencesPath()));
  EXPECT_EQ(platform::CurDir(), ProgramFolder());
}

TEST_F(CabrilloWindowTest, AFailedWriteShowsItsReasonLeavesTheOldFileWholeAndKeepsNoDetails) {
  LoggedElsewhere({Row("K1ABC", "144 M", "PH", "2024/06/08", "18:05:33")});
  const QString old = LongNamedOldFile("an earlier log");

  WriteThroughWindow(old, FillPersonalDetails);

  ExpectUnableToWrite();
  EXPECT_EQ(Bytes(old), "an earlier log");
  EXPECT_EQ(Setting("UserAddressName"), "(none)");
  EXPECT_FALSE(QFile::exists(SharedPreferencesPath()));
  EXPECT_EQ(platform::CurDir(), ProgramFolder());
}

}  // namespace
