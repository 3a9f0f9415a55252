#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/globalpreferences.h"
#include "app/globals.h"
#include "keying/blindfrm.h"
#include "keying/cwfrm.h"
#include "keying/frmcwstrings.h"
#include "keying/frmtappler.h"
#include "keying/globals.h"
#include "keying/phonefrm.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/preferences.h"
#include "network/frmnetwork.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/endprogram.h"
#include "platform/forms.h"
#include "platform/paths.h"
#include "platform/quotedtext.h"
#include "platform/trace.h"
#include "rig/globals.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotmapwindow.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>

#include "anotherpc.h"
#include "formtesting.h"
#include "keptcurrentfolder.h"
#include "operatorscript.h"
#include "ptypair.h"
#include "testbound.h"

namespace {

using app::Form1;
using platform::Instance;
using platform::IsLoaded;

const QDateTime kLocalNow(QDate(2024, 1, 20), QTime(14, 5, 30));
// The rig window's design port; a test that starts polling points it at a line of its own.
const char* const kRigPortVariable = "CORVANE_PORT1";

// A program folder as an operator's PC holds it: the log, the preferences and the CW and voice
// settings beside the program, a screen twice the design's size, and a PC clock 4 hours behind UTC.
class MainWindowLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    platform::ChDir(folder.path());
    SetProgramFolders();
    platform::CreateLogDatabase(LogPath());
    platform::Screen::SetSizeForTesting(19200, 14400);
    platform::Clock::SetFake(kLocalNow, -4);
    preferences.UtcOffset = 4;
    preferences.LogFilePath = LogPath();
  }
  void TearDown() override {
    platform::UnloadAll();
    qunsetenv(kRigPortVariable);
    logging::LogConnection.Close();
  }

  // What the start-up window finds before the main window's load.
  void SetProgramFolders() const {
    app::ProgramDir = folder.path();
    app::ProgramDrive = "/";
    app::modGlobalPreferences::PreferencesPath = folder.filePath("SharedUserPreferences.xml");
    app::modGlobalPreferences::PreferencesText = app::modGlobalPreferences::DeclarationLine;
  }

  // The program started again in the same folder.
  void Restart() const {
    platform::UnloadAll();
    platform::ResetModuleValues();
    SetProgramFolders();
  }

  QString LogPath() const { return folder.filePath("Corvane.MDB"); }
  QString ProgramFile(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

  void WritePreferences() const { logging::WritePreferencesFile(ProgramFile("corvaneprf.txt"), preferences); }

  // One value per line, as the CW and voice windows write their settings.
  void WriteSettings(const char* name, std::initializer_list<platform::QuotedValue> values) const {
    platform::QuotedTextWriter writer(ProgramFile(name));
    for (const platform::QuotedValue& value : values) writer.WriteRecord({value});
    writer.Close();
  }

  void WriteCWMessages(int keyingMode, const char* ninth = "TEST DE W1AW") const {
    WriteSettings("cw.txt", {"", "5NN *", "TU", "QRZ?", "AGN", "73", "$", "#", ninth, "1", "22", "F10 MSG", "F11 MSG",
                             "2", keyingMode, "&H3BC", 1, 7});
  }

  std::optional<logging::PreferenceValues> SavedPreferences() const {
    if (!QFile::exists(ProgramFile("corvaneprf.txt"))) return std::nullopt;
    return logging::ReadPreferencesFile(ProgramFile("corvaneprf.txt"));
  }

  // The main window's first use, as the start-up makes it: the load runs, and the operator takes
  // the set-up dialog with Done. atSetUp runs while the dialog is up.
  Form1& Load(const std::function<void(Form1&)>& atSetUp = {}) {
    OperatorScript operatorScript;
    operatorScript.When(
        "station set-up", [] { return IsLoaded<app::frmStationID>() && Instance<app::frmStationID>().Visible(); },
        [&] {
          if (atSetUp) atSetUp(Instance<Form1>());
          QTest::mouseClick(Instance<app::frmStationID>().Command1.Widget(), Qt::LeftButton);
        });
    return Instance<Form1>();
  }

  bool ErrorLoadingShown() const {
    for (const auto& box : dialogs.MessageBoxes()) {
      if (box.prompt == "Error loading default data .") return true;
    }
    return false;
  }

  QTemporaryDir folder;
  KeptCurrentFolder currentFolder;
  logging::PreferenceValues preferences;
  platform::ScriptedDialogs dialogs;
};

TEST_F(MainWindowLoad, LaysOutReadsAndAsksBeforeTheSetUpThenOpensTheLogAndFillsTheMessageWindows) {
  preferences.PanelView = "view bands";
  preferences.CurrentMode = "ph";
  preferences.RstRecord = 2;
  preferences.ListPrevious = 1;
  preferences.RefreshRate = 12000.4f;
  WritePreferences();
  WriteCWMessages(1);
  WriteSettings("wave2.txt", {"cq.wav", "", "", "", "", "", "", "", "f9.wav", "2", 1, 15, "&H278"});
  InsertFromAnotherPc(LogPath(), {"K1ABC", "59", "FN20", "59", "FN31", "2024/01/20", "18:00:00", "50 M", "PH"});
  dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);

  bool setUpReached = false;
  Form1& form = Load([&](Form1& loading) {
    setUpReached = true;
    // The window covers the screen, with its lists' columns at the screen's scale.
    EXPECT_EQ(loading.Width(), 19200);
    EXPECT_EQ(loading.Height(), 14400);
    EXPECT_EQ(loading.Left(), 0);
    EXPECT_EQ(loading.Top(), 0);
    EXPECT_EQ(loading.txtCall.Width(), 2400);
    EXPECT_EQ(loading.ListView1.ColumnHeaders.Count(), 9);
    EXPECT_EQ(loading.ListView1.ColumnHeaders(2).Text(), "Call");
    EXPECT_EQ(loading.ListView1.ColumnHeaders(2).Width(), 1880);
    EXPECT_EQ(loading.txtDX.ColumnHeaders.Count(), 8);
    EXPECT_EQ(loading.txtDX.ColumnHeaders(2).Alignment(), platform::AlignRight);
    EXPECT_EQ(loading.txtDX.ColumnHeaders(4).Text(), "Status");
    EXPECT_EQ(loading.txtDX.ColumnHeaders(4).Width(), 0);
    EXPECT_EQ(loading.txtDX.ColumnHeaders(5).Width(), 6800);
    EXPECT_EQ(loading.lblGrid(164).BackStyle(), 0);
    EXPECT_FALSE(loading.Label3.Visible());
    // The saved settings and the views they choose.
    EXPECT_EQ(logging::LogOnStart, platform::Now()) << "the clock stands still";
    EXPECT_EQ(logging::DupCheckOn, 1);
    EXPECT_EQ(loading.Timer3.Interval(), 12000);
    EXPECT_EQ(loading.Command2.Caption(), "View Bands");
    EXPECT_EQ(loading.Label30.Caption(), "ph");
    EXPECT_TRUE(loading.mnuPhone.Checked());
    EXPECT_FALSE(loading.mnuCW.Checked());
    EXPECT_TRUE(loading.mnuRstDontRecord.Checked());
    EXPECT_FALSE(loading.mnuRstRecord.Checked());
    EXPECT_TRUE(loading.mnuListPrevious.Checked());
    EXPECT_EQ(loading.lblDialog.Caption(), "Select a band and mode from the menu bar!");
    EXPECT_TRUE(dialogs.InputBoxes().empty()) << "the kept offset is the PC clock's";
    // Nothing of the later steps yet.
    EXPECT_TRUE(dialogs.MessageBoxes().empty());
    EXPECT_FALSE(IsLoaded<keying::CWFrm>());
    EXPECT_FALSE(IsLoaded<keying::PhoneFrm>());
    EXPECT_FALSE(loading.Visible());
  });
  EXPECT_TRUE(setUpReached);

  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Open existing log?");
  EXPECT_TRUE(dialogs.InputBoxes().empty()) << "no new log is offered";
  EXPECT_TRUE(logging::LogConnection.IsOpen());
  EXPECT_EQ(logging::LogCount, 1);
  EXPECT_EQ(form.ListView1.ListItems.Count(), 1);
  EXPECT_FALSE(form.cmdEdit.Visible());

  keying::PhoneFrm& phone = Instance<keying::PhoneFrm>();
  EXPECT_FALSE(phone.Visible());
  EXPECT_EQ(phone.Text1.Text(), "cq.wav");
  EXPECT_EQ(phone.Text9.Text(), "f9.wav");
  EXPECT_EQ(phone.Text10.Text(), "2");
  EXPECT_TRUE(phone.Option2.Value());
  EXPECT_EQ(phone.txtPHLoop.Text(), "15");
  EXPECT_EQ(phone.tmrRepeat.Interval(), 15000);
  EXPECT_EQ(phone.Text11.Text(), "&H278");
  keying::CWFrm& cw = Instance<keying::CWFrm>();
  EXPECT_FALSE(cw.Visible());
  EXPECT_EQ(cw.Text2.Text(), "5NN *");
  EXPECT_TRUE(cw.Option1.Value());
  EXPECT_FALSE(IsLoaded<rig::RigControlfrm>()) << "no rig";
  EXPECT_FALSE(ErrorLoadingShown());
}

TEST_F(MainWindowLoad, NoToTheQuestionStartsANewLog) {
  WritePreferences();
  dialogs.AnswerMessageBox(platform::MsgBoxResult::No);
  Form1& form = Load();
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Open existing log?");
  ASSERT_EQ(dialogs.InputBoxes().size(), 1u);
  EXPECT_EQ(dialogs.InputBoxes()[0].title, "WARNING - Your existing log file will be ERASED!");
  EXPECT_FALSE(form.cmdDelete.Visible());
}

// The start reads the log after the question, whatever the answer: a new log not confirmed still
// shows the log there is, with its list and counts.
TEST_F(MainWindowLoad, TheLogIsReadAfterTheQuestionWhateverTheAnswer) {
  const struct {
    const char* name;
    int answer;
    std::optional<QString> erase;  // the new log's confirmation; empty: cancelled
    std::int32_t contacts;
  } cases[] = {
      {"yes", platform::MsgBoxResult::Yes, std::nullopt, 2},
      {"no, the erase cancelled", platform::MsgBoxResult::No, std::nullopt, 2},
      {"no, the erase not confirmed", platform::MsgBoxResult::No, QStringLiteral("no"), 2},
      {"no, the erase confirmed", platform::MsgBoxResult::No, QStringLiteral("YES"), 0},
  };
  WritePreferences();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    ExecuteFromAnotherPc(LogPath(), "delete from tbllog");
    for (const char* call : {"K1ABC", "W2XY"}) {
      InsertFromAnotherPc(LogPath(), {call, "59", "FN20", "59", "FN31", "2024/01/20", "18:00:00", "144 M", "PH"});
    }
    dialogs.AnswerMessageBox(c.answer);
    if (c.answer == platform::MsgBoxResult::No) {
      if (c.erase) {
        dialogs.AnswerInputBox(*c.erase);
      } else {
        dialogs.CancelInputBox();
      }
    }
    Form1& form = Load();
    EXPECT_EQ(logging::LogCount, c.contacts);
    EXPECT_EQ(form.ListView1.ListItems.Count(), c.contacts);
    EXPECT_EQ(logging::BandQsoCount[1], c.contacts);
    EXPECT_EQ(RowsOnFile(LogPath()).size(), c.contacts);
  }
}

TEST_F(MainWindowLoad, AFirstStartWithoutAnySettingsFilesComesUpAsDesigned) {
  Form1& form = Load();
  EXPECT_EQ(app::FormSize, 100);
  EXPECT_EQ(form.Command2.Caption(), "View Grids");
  EXPECT_TRUE(form.mnuCW.Checked());
  EXPECT_TRUE(form.mnuRstRecord.Checked());
  EXPECT_EQ(form.Timer3.Interval(), 60000);
  // The voice and CW settings are missing: the windows keep their design and nothing is shown.
  EXPECT_FALSE(IsLoaded<keying::PhoneFrm>());
  EXPECT_FALSE(IsLoaded<keying::CWFrm>());
  ASSERT_EQ(dialogs.InputBoxes().size(), 1u) << "a first start's offset 0 is not the PC clock's";
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Open existing log?");
}

TEST_F(MainWindowLoad, AShortOrDamagedVoiceSettingsFileKeepsWhatWasReadAndTheLoadGoesOn) {
  WritePreferences();
  WriteCWMessages(2);
  for (const auto& wave : {std::initializer_list<platform::QuotedValue>{"cq.wav", "f2.wav"},
                           {"cq.wav", "", "", "", "", "", "", "", "", "1", 0, "soon", "&H278"}}) {
    Restart();
    WriteSettings("wave2.txt", wave);
    Load();
    EXPECT_EQ(Instance<keying::PhoneFrm>().Text1.Text(), "cq.wav");
    EXPECT_EQ(Instance<keying::PhoneFrm>().txtPHLoop.Text(), "0") << "as designed";
    EXPECT_TRUE(Instance<keying::CWFrm>().Option2.Value()) << "the CW messages follow";
    EXPECT_FALSE(ErrorLoadingShown());
  }
}

TEST_F(MainWindowLoad, TheVoiceSettingsSavedByDoneAreReadBackAtTheNextStart) {
  WritePreferences();
  keying::PhoneFrm& phone = Instance<keying::PhoneFrm>();
  phone.Text1.SetText(" cq.wav ");
  phone.Text9.SetText("f9.wav");
  phone.Text10.SetText("2");
  phone.Option3.SetValue(true);
  phone.txtPHLoop.SetText("59.5");
  phone.Text11.SetText("&H3BC");
  phone.Command1_Click();

  Restart();
  Load();
  keying::PhoneFrm& read = Instance<keying::PhoneFrm>();
  EXPECT_EQ(read.Text1.Text(), "cq.wav");
  EXPECT_EQ(read.Text2.Text(), "");
  EXPECT_EQ(read.Text9.Text(), "f9.wav");
  EXPECT_EQ(read.Text10.Text(), "2");
  EXPECT_TRUE(read.Option3.Value());
  EXPECT_EQ(read.txtPHLoop.Text(), "59.5");
  EXPECT_EQ(read.tmrRepeat.Interval(), 59500);
  EXPECT_EQ(read.Text11.Text(), "&H3BC");
  EXPECT_FALSE(ErrorLoadingShown());
}

TEST_F(MainWindowLoad, ADamagedPreferencesFileStopsTheLoadWithOneMessage) {
  QFile file(ProgramFile("corvaneprf.txt"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("\"W1AW\"\r\n\"FN31\"\r\n");
  file.close();
  WriteCWMessages(1);

  Form1& form = Instance<Form1>();  // no set-up dialog comes
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "Error loading default data .");
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Error opening default data.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::OKOnly);
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_FALSE(IsLoaded<app::frmStationID>());
  EXPECT_FALSE(IsLoaded<keying::CWFrm>());
  EXPECT_EQ(form.ListView1.ColumnHeaders.Count(), 9) << "the window stays as far as it was set up";
}

TEST_F(MainWindowLoad, TheFormSizeAndTaskBarChooseTheWindowsPlaceAndAChosenRigStartsPolling) {
  platform::Screen::SetWorkAreaForTesting(0, 0, 19200, 13800);
  const struct {
    int formSize;
    int taskBarDisplay;
    const char* rigType;
    double left, top, width, height;
    bool rigStarted;
  } cases[] = {
      {100, 0, "None", 0, 0, 19200, 14400, false},
      {100, 1, "None", 0, 0, 19200, 13800, false},
      {50, 1, "none", 4800, 3600, 9600, 7200, false},  // the task bar waits for 100 %
      {100, 0, "IC-706MKIIG", 0, 0, 19200, 14400, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.formSize);
    SCOPED_TRACE(c.taskBarDisplay);
    SCOPED_TRACE(c.rigType);
    Restart();
    peertesting::PtyPair rigLine;
    qputenv(kRigPortVariable, QByteArray::fromStdString(rigLine.HostEnd()));
    preferences.FormSize = static_cast<std::uint8_t>(c.formSize);
    preferences.TaskBarDisplay = static_cast<std::uint8_t>(c.taskBarDisplay);
    preferences.RigType = c.rigType;
    WritePreferences();
    Form1& form = Load();
    EXPECT_DOUBLE_EQ(form.Left(), c.left);
    EXPECT_DOUBLE_EQ(form.Top(), c.top);
    EXPECT_DOUBLE_EQ(form.Width(), c.width);
    EXPECT_DOUBLE_EQ(form.Height(), c.height);
    EXPECT_EQ(form.mnuTaskBar.Checked(), c.taskBarDisplay == 1);
    EXPECT_EQ(app::FormSize, c.formSize);
    EXPECT_EQ(IsLoaded<rig::RigControlfrm>(), c.rigStarted);
    EXPECT_FALSE(IsLoaded<rig::RigControlfrm>() && Instance<rig::RigControlfrm>().Visible());
    EXPECT_EQ(IsLoaded<rig::RigControlfrm>() && Instance<rig::RigControlfrm>().comComm1.PortOpen(), c.rigStarted);
  }
}

TEST_F(MainWindowLoad, ARigPortThatWillNotOpenShowsTheRigWindowAndTheLoadWaitsUntilTheOperatorHasDoneWithIt) {
  qputenv(kRigPortVariable, QFile::encodeName(folder.filePath("no-such-device")));
  preferences.RigType = "Kenwood";
  WritePreferences();
  WriteCWMessages(1);

  // The operator reads the message, gives up rig control and closes the rig window with Done.
  OperatorScript rigOperator;
  rigOperator.When(
      "the rig window, shown modally",
      [] { return IsLoaded<rig::RigControlfrm>() && Instance<rig::RigControlfrm>().Visible(); },
      [&] {
        ASSERT_FALSE(dialogs.MessageBoxes().empty());
        EXPECT_EQ(dialogs.MessageBoxes().back().title, "Invalid Comm Settings.");
        EXPECT_EQ(dialogs.Beeps(), 1);
        rig::RigControlfrm& w = Instance<rig::RigControlfrm>();
        auto* list = static_cast<QListWidget*>(w.List1.Widget());
        QListWidgetItem* none = list->findItems("None", Qt::MatchExactly).value(0);
        ASSERT_NE(none, nullptr);
        list->scrollToItem(none);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(none).center());
        QTest::mouseClick(w.cmdDone.Widget(), Qt::LeftButton);
      });
  Load();

  EXPECT_TRUE(rigOperator.Done());
  EXPECT_FALSE(ErrorLoadingShown()) << "the load went on";
  EXPECT_FALSE(Instance<rig::RigControlfrm>().Visible());
  EXPECT_FALSE(Instance<rig::RigControlfrm>().tmrGetData.Enabled());
  EXPECT_EQ(rig::RigType, "None");
  EXPECT_EQ(SavedPreferences()->RigType, "None");
}

// ---- The UTC offset against the PC clock

class UtcOffsetCheck : public MainWindowLoad {
 protected:
  Form1& form = platform::InstanceWithoutLoad<Form1>();
};

TEST_F(UtcOffsetCheck, OffersThePcClocksOffsetAndTakesANumberTyped) {
  const struct {
    double hoursAheadOfUtc;
    float kept;
    std::optional<QString> answer;  // none: Cancel
    const char* offered;
    float taken;
  } cases[] = {
      {-5.5, 0, QString(), "5.5", 5.5f},        // the offered value, as Enter takes it
      {-1.0 / 3, 0, QString(), "0.33", 0.33f},  // 20 minutes behind UTC
      {-4, 0, QString("3"), "4", 3},            // any number typed
      {-4, 2, std::nullopt, "4", 2},            // Cancel keeps the offset
      {-4, 2, QString("four"), "4", 2},         // so does a text that is no number
      {5.75, -5, QString(), "-5.75", -5.75f},
  };
  std::size_t asked = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.offered);
    QFile::remove(ProgramFile("corvaneprf.txt"));
    if (!c.answer) {
      dialogs.CancelInputBox();
    } else if (!c.answer->isEmpty()) {
      dialogs.AnswerInputBox(*c.answer);
    }
    platform::Clock::SetFake(kLocalNow, c.hoursAheadOfUtc);
    app::UtcOffset = c.kept;

    form.CheckUTCOffset();
    ASSERT_EQ(dialogs.InputBoxes().size(), ++asked);
    EXPECT_EQ(dialogs.InputBoxes().back().title, "Update the Local Time / UTC Offset?");
    EXPECT_EQ(dialogs.InputBoxes().back().defaultText, c.offered);
    EXPECT_FLOAT_EQ(app::UtcOffset, c.taken);
    const auto saved = SavedPreferences();
    EXPECT_EQ(saved.has_value(), c.taken != c.kept) << "saved when a number was taken";
    if (saved) {
      EXPECT_FLOAT_EQ(saved->UtcOffset, c.taken);
    }
  }
}

TEST_F(UtcOffsetCheck, TheOfferShowsBothClocksAndBothOffsets) {
  platform::Clock::SetFake(kLocalNow, -5.5);
  app::UtcOffset = 5;
  dialogs.CancelInputBox();
  form.CheckUTCOffset();
  ASSERT_EQ(dialogs.InputBoxes().size(), 1u);
  EXPECT_EQ(dialogs.InputBoxes()[0].prompt,
            "Would you like to adjust the UTC offset in this program for your local time setting?\r\n\r\n"
            "Current System Time: 19:35\r\n\r\n"
            "Current Local Time: 14:05\r\n\r\n"
            "Recommended Offset Setting: 5.5\r\n\r\n"
            "Current Offset Setting: 5\r\n\r\n"
            "Please click OK to accept the recommended change or Cancel to keep the current setting.");
}

TEST_F(UtcOffsetCheck, AnOffsetEqualToThePcClocksAsksNothing) {
  for (const double hours : {-4.0, 0.0, 9.5, -1.0 / 3}) {
    SCOPED_TRACE(hours);
    platform::Clock::SetFake(kLocalNow, hours);
    app::UtcOffset = static_cast<float>(std::nearbyint(-hours * 100) / 100);
    form.CheckUTCOffset();
  }
  EXPECT_TRUE(dialogs.InputBoxes().empty());
  EXPECT_FALSE(SavedPreferences());
}

// ---- CW messages

class CWMessages : public MainWindowLoad {
 protected:
  Form1& form = platform::InstanceWithoutLoad<Form1>();
};

TEST_F(CWMessages, FillTheCWWindowAndSelectItsKeyingOption) {
  WriteCWMessages(1, "");
  form.LoadCWMessages();
  keying::CWFrm& cw = Instance<keying::CWFrm>();
  EXPECT_FALSE(cw.Visible());
  EXPECT_EQ(cw.Text1.Text(), "") << "only the ninth message has a default";
  EXPECT_EQ(cw.Text2.Text(), "5NN *");
  EXPECT_EQ(cw.Text8.Text(), "#");
  EXPECT_EQ(cw.Text9.Text(), "VVV DE ");
  EXPECT_EQ(cw.Text10.Text(), "1");
  EXPECT_EQ(cw.Text11.Text(), "22");
  EXPECT_EQ(cw.Text12.Text(), "F10 MSG");
  EXPECT_EQ(cw.Text13.Text(), "F11 MSG");
  EXPECT_EQ(cw.txtSpace.Text(), "2");
  EXPECT_EQ(cw.Text14.Text(), "&H3BC");
  EXPECT_EQ(cw.Check1.Value(), 1);
  EXPECT_EQ(cw.txtCWLoop.Text(), "7");
  EXPECT_EQ(cw.tmrRepeat.Interval(), 7000);
  EXPECT_FALSE(cw.tmrRepeat.Enabled());
  EXPECT_EQ(keying::KeyingMode, 1);
  EXPECT_TRUE(cw.Option1.Value());
  EXPECT_FALSE(cw.Option4.Value());
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(CWMessages, EachKeyingModeSelectsItsOptionAndAnUnknownOneNone) {
  const struct {
    int keyingMode;
    const char* selected;  // nullptr: none selected by the file
  } cases[] = {{0, "Option4"}, {1, "Option1"}, {2, "Option2"}, {3, "Option3"}, {5, "Option5"}, {4, nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keyingMode);
    platform::UnloadAll();
    keying::KeyingMode = 9;
    WriteCWMessages(c.keyingMode);
    Form1& loaded = platform::InstanceWithoutLoad<Form1>();
    loaded.LoadCWMessages();
    keying::CWFrm& cw = Instance<keying::CWFrm>();
    EXPECT_EQ(keying::KeyingMode, c.keyingMode);
    for (platform::OptionButton* option : {&cw.Option1, &cw.Option2, &cw.Option3, &cw.Option5}) {
      EXPECT_EQ(option->Value(), c.selected && option->Name() == c.selected) << option->Name().toStdString();
    }
    EXPECT_EQ(IsLoaded<keying::frmTappler>(), c.keyingMode == 5) << "only the keyer device option loads its window";
  }
}

TEST_F(CWMessages, AMissingShortOrDamagedFileIsPassedOverQuietlyKeepingWhatWasRead) {
  form.LoadCWMessages();
  EXPECT_FALSE(IsLoaded<keying::CWFrm>()) << "no cw.txt";

  WriteSettings("cw.txt", {"CQ TEST", "5NN", "TU", "QRZ?", "AGN", "73", "$", "#", "", "1", "22"});
  keying::KeyingMode = 3;
  form.LoadCWMessages();
  keying::CWFrm& cw = Instance<keying::CWFrm>();
  EXPECT_EQ(cw.Text1.Text(), "CQ TEST");
  EXPECT_EQ(cw.Text9.Text(), "VVV DE ");
  EXPECT_EQ(cw.Text11.Text(), "22");
  EXPECT_EQ(keying::KeyingMode, 3);
  EXPECT_TRUE(cw.Option4.Value()) << "no option selected: the design's stays";

  WriteSettings("cw.txt", {"", "", "", "", "", "", "", "", "", "1", "22", "", "", "0", 1, "&H378", "on", 0});
  form.LoadCWMessages();
  EXPECT_EQ(keying::KeyingMode, 1) << "read before the damaged value";
  EXPECT_FALSE(cw.Option1.Value());
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

// ---- Closing and Exit

class MainWindowClose : public MainWindowLoad {
 protected:
  Form1& form = platform::InstanceWithoutLoad<Form1>();
};

TEST_F(MainWindowClose, TheFirstCloseWhileCWIsKeyedStopsTheKeyingAndKeepsTheWindow) {
  form.Show();
  keying::CWBuffer = "CQ TEST DE W1AW";
  keying::CWSending = 1;
  form.Widget()->close();
  platform::DoEvents();
  ASSERT_TRUE(IsLoaded<Form1>());
  EXPECT_EQ(keying::CWBuffer, "");

  keying::CWSending = 0;  // the keying loop ends with its buffer
  form.Widget()->close();
  platform::DoEvents();
  EXPECT_FALSE(IsLoaded<Form1>());
}

TEST_F(MainWindowClose, TheUnloadUnloadsTheLoadedToolWindowsInOrderAndLoadsNoOther) {
  QStringList gone;
  const auto watch = [&gone](platform::Form& window) {
    QObject::connect(window.Widget(), &QObject::destroyed, [&gone, name = window.Name()] { gone << name; });
  };
  // Loaded in another order than the unload's.
  watch(Instance<keying::frmTappler>());
  watch(Instance<rig::RigControlfrm>());
  watch(Instance<keying::PhoneFrm>());
  watch(Instance<network::frmNetwork>());
  watch(Instance<keying::CWFrm>());
  watch(form);

  form.Unload();
  platform::DoEvents();
  EXPECT_EQ(gone, QStringList({"PhoneFrm", "CWFrm", "RigControlfrm", "frmNetwork", "frmTappler", "Form1"}));
  EXPECT_FALSE(IsLoaded<keying::BlindFrm>());
  EXPECT_FALSE(IsLoaded<spotting::PacketSpotfrm>());
  EXPECT_FALSE(IsLoaded<spotting::SpectrumMap>());
  EXPECT_FALSE(IsLoaded<keying::frmCWStrings>());
}

TEST_F(MainWindowClose, ExitStoresTheTimeOnUpToNowOnlyWhenLoggedOnAndEndsAtOnce) {
  for (const bool loggedOn : {false, true}) {
    SCOPED_TRACE(loggedOn);
    QFile::remove(ProgramFile("corvaneprf.txt"));
    logging::StoredOnTime = 600;
    logging::OnTime = 600;  // the clock's last tick, before this log-on
    logging::LoggedOn = loggedOn ? 1 : 0;
    logging::LogOnStart = platform::Now().addSecs(-90);
    Instance<keying::CWFrm>();
    platform::ScriptedEndProgram end;

    form.mnuExit.Action()->trigger();
    EXPECT_EQ(end.Calls(), 1);
    EXPECT_EQ(logging::LoggedOn, 0);
    const auto saved = SavedPreferences();
    ASSERT_EQ(saved.has_value(), loggedOn);
    if (saved) {
      EXPECT_FLOAT_EQ(saved->StoredOnTime, 690);
    }
    EXPECT_TRUE(IsLoaded<keying::CWFrm>()) << "no window's unload runs";
  }
}

TEST_F(MainWindowClose, AMouseMoveOverTheBareWindowClearsTheMessageLine) {
  ShowActive(form);
  form.lblDupe.SetCaption("K1ABC worked on 50 M");
  // Two points: a move to where the pointer already is would be no move.
  const QPoint corner(form.ClientWidget()->width() - 5, form.ClientWidget()->height() - 5);
  QTest::mouseMove(form.ClientWidget(), corner);
  QTest::mouseMove(form.ClientWidget(), corner - QPoint(2, 2));
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.lblDupe.Caption().isEmpty(); }, peertesting::kBoundMs));
}

}  // namespace
