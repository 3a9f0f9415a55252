// The rig window's settings: the rig list and its presets, RigCntrl.txt, Done and the small buttons.
#include "logging/preferences.h"
#include "platform/keys.h"
#include "platform/quotedtext.h"
#include "platform/trace.h"
#include "rig/frmfrequencytest.h"
#include "rig/globals.h"

#include <QFile>
#include <QStringList>

#include "fulldisk.h"
#include "modalwindowtesting.h"
#include "ptypair.h"
#include "rigwindowtesting.h"

namespace {

using platform::Instance;
using platform::IsLoaded;
using rig::RigControlfrm;

const char* const kRigList[] = {"None",          "Elecraft",        "Icom",         "Icom 735",     "Kenwood",
                                "Kenwood 2",     "Ten Tec Omni VI", "Ten Tec Orion", "Ten Tec Fnt Pnl",
                                "Ten Tec Pegasus", "Yaesu",         "Yaesu 757 GX II", "Yaesu 890", "Yaesu 920",
                                "Yaesu 990",     "Yaesu 1000 D",    "Yaesu 1000",   "Yaesu FTdx9000", "Other"};

class RigSettings : public RigWindowTest {
 protected:
  QStringList SettingsLines() const {
    QFile file(SettingsPath());
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
  }

  void WriteSettingsFile(std::initializer_list<platform::QuotedValue> values) const {
    platform::QuotedTextWriter writer(SettingsPath());
    for (const platform::QuotedValue& value : values) writer.WriteRecord({value});
    writer.Close();
  }

  // The operator replaces what a box holds with what they type.
  static void TypeOver(platform::TextBox& box, const QString& text) {
    QTest::mouseClick(box.Widget(), Qt::LeftButton);
    QTest::keyClick(box.Widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box.Widget(), text);
  }
};

TEST_F(RigSettings, WithoutASettingsFileTheWindowListsTheNineteenRigsAndShowsItsDesignChoices) {
  RigControlfrm& w = OpenWindow();
  QStringList rigs;
  for (const char* rig : kRigList) rigs << rig;
  EXPECT_EQ(ItemsOf(w.List1), rigs);
  EXPECT_EQ(w.List1.ListIndex(), -1);
  EXPECT_EQ(SelectedBaud(w), "56");
  EXPECT_EQ(SelectedParity(w), "None");
  EXPECT_EQ(SelectedDataBits(w), "8");
  EXPECT_EQ(SelectedStopBits(w), "1");
  EXPECT_EQ(SelectedPort(w), "1");
  EXPECT_EQ(SelectedPower(w), "None");
  EXPECT_EQ(SelectedPollRate(w), "500 ms");
  EXPECT_EQ(SelectedModeSource(w), "Rig");
  EXPECT_EQ(w.chkFrequency.Value(), 1);
  EXPECT_FALSE(w.chkConvToHex.Enabled());
  EXPECT_FALSE(w.Label10.Visible());
  EXPECT_FALSE(Polling(w));
  EXPECT_FALSE(w.Command2.Enabled());
  EXPECT_EQ(w.tmrGetData.Interval(), 1000);
  EXPECT_EQ(w.KenwoodVfo, 10);
  EXPECT_EQ(w.LoadingSettings, 0);
}

TEST_F(RigSettings, ChoosingARigAppliesItsPresetsAndLeavesThePortPowerPollRateAndModeSource) {
  // "-": the setting stays as the operator left it (19.2 k, Even, 7 bits, 1 stop bit).
  const struct {
    const char* rig;
    const char* baud;
    const char* dataBits;
    const char* stopBits;
    const char* parity;
    const char* freqCommand;
    const char* modeCommand;
    int convToHex;
    bool hexChoiceOpen;
    bool icomNote;
  } presets[] = {
      {"None", "-", "-", "-", "-", "", "", 0, false, false},
      {"Elecraft", "4.8", "8", "2", "None", "FA;", "MD;", 0, false, false},
      {"Icom", "1.2", "8", "1", "None", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", 1, false, true},
      {"Icom 735", "1.2", "8", "1", "None", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", 1, false, true},
      {"Kenwood", "4.8", "8", "2", "None", "FA;", "MD;", 0, false, false},
      {"Kenwood 2", "4.8", "8", "2", "None", "IF;", "", 0, false, false},
      {"Ten Tec Omni VI", "1.2", "8", "1", "None", "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", 1, false, false},
      {"Ten Tec Orion", "56", "8", "1", "None", "?AF", "?RMM", 0, false, false},
      {"Ten Tec Fnt Pnl", "56", "8", "1", "None", "3F 41 0D", "3F 4D 0D", 1, false, false},
      {"Ten Tec Pegasus", "-", "-", "-", "-", "", "", 0, false, false},
      {"Yaesu", "4.8", "8", "2", "None", "00 00 00 00 03", "", 1, false, false},
      {"Yaesu 757 GX II", "4.8", "8", "2", "None", "00 00 00 00 10", "", 1, false, false},
      {"Yaesu 890", "4.8", "8", "2", "None", "00 00 00 02 10", "", 1, false, false},
      {"Yaesu 920", "4.8", "8", "2", "None", "00 00 00 02 10", "", 1, false, false},
      {"Yaesu 990", "4.8", "8", "2", "None", "00 00 00 02 10", "", 1, false, false},
      {"Yaesu 1000 D", "4.8", "8", "2", "None", "00 00 00 02 10", "", 1, false, false},
      {"Yaesu 1000", "4.8", "8", "2", "None", "00 00 00 02 10", "", 1, false, false},
      {"Yaesu FTdx9000", "4.8", "-", "-", "-", "FA;", "MD0;", 0, false, false},
      {"Other", "-", "-", "-", "-", "", "", 0, true, false},
  };
  RigControlfrm& w = OpenWindow();
  // The list starts on a rig none of the rows is, so that each row's click chooses.
  ChooseRig(w, "Other");
  for (const auto& c : presets) {
    SCOPED_TRACE(c.rig);
    ChooseRig(w, c.rig == std::string("Other") ? "None" : "Other");
    for (const platform::OptionButton* option : {&w.baud.optBaud192, &w.optParityEven, &w.bits.optData7,
                                                 &w.bits.optStop1, &w.optComm(4), &w.optPowerRTS, &w.optReallySlow,
                                                 &w.OptDont}) {
      Click(*option);
    }
    w.txtFreq.SetText("stale");
    w.txtMode.SetText("stale");
    w.chkConvToHex.SetValue(1);
    w.Label10.SetVisible(!c.icomNote);

    ChooseRig(w, c.rig);
    EXPECT_EQ(rig::RigType, c.rig);
    EXPECT_EQ(SelectedBaud(w), c.baud == std::string("-") ? "19.2" : c.baud);
    EXPECT_EQ(SelectedDataBits(w), c.dataBits == std::string("-") ? "7" : c.dataBits);
    EXPECT_EQ(SelectedStopBits(w), c.stopBits == std::string("-") ? "1" : c.stopBits);
    EXPECT_EQ(SelectedParity(w), c.parity == std::string("-") ? "Even" : c.parity);
    EXPECT_EQ(w.txtFreq.Text(), c.freqCommand);
    EXPECT_EQ(w.txtMode.Text(), c.modeCommand);
    EXPECT_EQ(w.FreqPollCommand, c.freqCommand);
    EXPECT_EQ(w.ModePollCommand, c.modeCommand);
    EXPECT_EQ(w.chkConvToHex.Value(), c.convToHex);
    EXPECT_EQ(w.ChkConvHex.Value(), c.convToHex) << "the reply is shown as the commands are written";
    EXPECT_EQ(w.chkConvToHex.Enabled(), c.hexChoiceOpen);
    EXPECT_EQ(w.Label10.Visible(), c.icomNote);
    EXPECT_EQ(SelectedPort(w), "5");
    EXPECT_EQ(SelectedPower(w), "RTS");
    EXPECT_EQ(SelectedPollRate(w), "10 Sec");
    EXPECT_EQ(SelectedModeSource(w), "Don't Use");
  }
}

TEST_F(RigSettings, KenwoodAfterIcomUnchecksBothHexBoxesAndOnlyOtherLetsTheOperatorWriteHex) {
  RigControlfrm& w = OpenWindow();
  ChooseRig(w, "Icom");
  ASSERT_EQ(w.ChkConvHex.Value(), 1);
  ChooseRig(w, "Kenwood");
  EXPECT_EQ(w.chkConvToHex.Value(), 0);
  EXPECT_EQ(w.ChkConvHex.Value(), 0);
  EXPECT_EQ(w.txtMode.Text(), "MD;");

  ChooseRig(w, "Other");
  Click(w.chkConvToHex);
  EXPECT_EQ(w.chkConvToHex.Value(), 1);
  EXPECT_EQ(w.ChkConvHex.Value(), 1);
  Click(w.ChkConvHex);  // the operator's own choice of how replies show
  EXPECT_EQ(w.ChkConvHex.Value(), 0);
  EXPECT_EQ(w.chkConvToHex.Value(), 1);
}

TEST_F(RigSettings, DoneSavesTheFourteenLinesAndTheNextLoadRestoresThemWithoutTheRigsPresets) {
  peertesting::PtyPair line;  // the rig's port opens when Done starts polling
  qputenv(PortVariable(3), QByteArray::fromStdString(line.HostEnd()));
  RigControlfrm& w = OpenWindow();
  ChooseRig(w, "Icom");
  TypeOver(w.txtFreq, "FE FE 5C E0 03 FD");  // the operator's own rig address
  TypeOver(w.txtMode, "FE FE 5C E0 04 FD");
  Click(w.optComm(2));
  Click(w.optPowerDTR);
  Click(w.optPollSlow);
  Click(w.OptFreq);
  Click(w.cmdDone);

  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(Polling(w)) << "a hidden window goes on polling";
  EXPECT_TRUE(w.comComm1.PortOpen());
  EXPECT_EQ(SettingsLines(), QStringList({"\"1200 \"", "\"N\"", "\"8\"", "\"1\"", "\"FE FE 5C E0 04 FD\"",
                                          "\"FE FE 5C E0 03 FD\"", "\"1200,N,8,1\"", "3", "\"D\"", "\"S\"",
                                          "\"Icom\"", "1", "1", "2"}));
  EXPECT_EQ(logging::ReadPreferencesFile(folder.filePath("corvaneprf.txt")).RigType, "Icom");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());

  w.Unload();
  platform::DoEvents();
  rig::RigType = "None";
  RigControlfrm& again = Instance<RigControlfrm>();
  EXPECT_EQ(rig::RigType, "Icom");
  EXPECT_EQ(again.List1.Text(), "Icom");
  EXPECT_EQ(again.txtFreq.Text(), "FE FE 5C E0 03 FD");
  EXPECT_EQ(again.txtMode.Text(), "FE FE 5C E0 04 FD");
  EXPECT_EQ(again.BaudText, "1200 ");
  EXPECT_EQ(again.CommSettings, "1200,N,8,1");
  EXPECT_EQ(SelectedBaud(again), "1.2");
  EXPECT_EQ(SelectedParity(again), "None");
  EXPECT_EQ(SelectedDataBits(again), "8");
  EXPECT_EQ(SelectedStopBits(again), "1");
  EXPECT_EQ(SelectedPort(again), "3");
  EXPECT_EQ(SelectedPower(again), "DTR");
  EXPECT_EQ(SelectedPollRate(again), "2 Sec");
  EXPECT_EQ(SelectedModeSource(again), "Frequency");
  EXPECT_EQ(again.chkConvToHex.Value(), 1);
  EXPECT_EQ(again.ChkConvHex.Value(), 1);
  EXPECT_TRUE(again.Label10.Visible());
  EXPECT_FALSE(Polling(again)) << "the load only restores";
}

TEST_F(RigSettings, DoneWithNoRigSavesAndHidesWithoutOpeningAPort) {
  RigControlfrm& w = OpenWindow();
  ChooseRig(w, "Kenwood");
  ChooseRig(w, "None");
  Click(w.optBaud560);
  Click(w.cmdDone);
  EXPECT_FALSE(w.Visible());
  EXPECT_FALSE(w.comComm1.PortOpen());
  EXPECT_FALSE(Polling(w));
  EXPECT_TRUE(dialogs.MessageBoxes().empty()) << "no port was tried";
  const QStringList lines = SettingsLines();
  ASSERT_EQ(lines.size(), 14);
  EXPECT_EQ(lines[10], "\"None\"");
  EXPECT_EQ(lines[13], "1") << "the mode source is the rig's";
  EXPECT_EQ(logging::ReadPreferencesFile(folder.filePath("corvaneprf.txt")).RigType, "None");
}

TEST_F(RigSettings, ASaveThatFailsLeavesTheOldFileWholeAndDoneStillHides) {
  WriteSettingsFile({"4800 ", "N", "8", "2", "MD;", "FA;", "4800,N,8,2", 1, "N", "M", "None", 0, 1, 1});
  const QStringList before = SettingsLines();
  RigControlfrm& w = OpenWindow();
  ChooseRig(w, "Elecraft");
  ChooseRig(w, "None");

  {
    FullDisk full;  // the preferences and the rig settings break off part-way
    Click(w.cmdDone);
  }

  EXPECT_FALSE(w.Visible());
  EXPECT_EQ(SettingsLines(), before);
}

TEST_F(RigSettings, TheLoadSelectsTheStoredRigWithItsStoredCommandsAndShowsTheIcomNoteForIcomOnly) {
  const struct {
    const char* rig;
    bool icomNote;
    bool hexChoiceOpen;
  } cases[] = {{"Icom", true, false}, {"Icom 735", false, false}, {"Other", false, true}, {"Yaesu", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rig);
    platform::UnloadAll();
    WriteSettingsFile({"2400 ", "E", "7", "2", "my mode", "my freq", "2400,E,7,2", 5, "R", "F", c.rig, 1, 0, 3});
    RigControlfrm& w = Instance<RigControlfrm>();
    EXPECT_EQ(rig::RigType, c.rig);
    EXPECT_EQ(w.List1.Text(), c.rig);
    EXPECT_EQ(w.txtFreq.Text(), "my freq");
    EXPECT_EQ(w.txtMode.Text(), "my mode");
    EXPECT_EQ(w.Label10.Visible(), c.icomNote);
    EXPECT_EQ(w.chkConvToHex.Enabled(), c.hexChoiceOpen);
    EXPECT_EQ(w.chkConvToHex.Value(), 1);
    EXPECT_EQ(w.ChkConvHex.Value(), 1);
    EXPECT_EQ(w.chkFrequency.Value(), 0);
    EXPECT_EQ(SelectedModeSource(w), "Don't Use");
    EXPECT_EQ(SelectedBaud(w), "2.4");
    EXPECT_EQ(SelectedParity(w), "Even");
    EXPECT_EQ(SelectedDataBits(w), "7");
    EXPECT_EQ(SelectedStopBits(w), "2");
    EXPECT_EQ(SelectedPort(w), "5");
    EXPECT_EQ(SelectedPower(w), "RTS");
    EXPECT_EQ(SelectedPollRate(w), "100 ms");
  }
}

TEST_F(RigSettings, AStoredPortOutsideTheTenOptionsEndsTheLoadThereWithTheFieldsRead) {
  for (int port : {0, 11}) {
    SCOPED_TRACE(port);
    platform::UnloadAll();
    WriteSettingsFile({"2400 ", "E", "7", "2", "MD;", "FA;", "2400,E,7,2", port, "D", "F", "Kenwood", 0, 1, 1});
    RigControlfrm& w = Instance<RigControlfrm>();
    EXPECT_EQ(w.List1.Text(), "Kenwood");
    EXPECT_EQ(w.txtFreq.Text(), "FA;");
    EXPECT_EQ(w.BaudText, "2400 ");
    EXPECT_EQ(w.PowerLine, "D");
    EXPECT_EQ(w.CommPortNumber, port);
    EXPECT_EQ(SelectedPort(w), "1");
    EXPECT_EQ(SelectedBaud(w), "56");
    EXPECT_EQ(SelectedParity(w), "None");
    EXPECT_EQ(SelectedPower(w), "None");
    EXPECT_EQ(SelectedPollRate(w), "500 ms");
    EXPECT_EQ(w.LoadingSettings, 0);
  }
}

TEST_F(RigSettings, AShortFileKeepsTheValuesReadBeforeItsEndAndTheDesignForTheRest) {
  QFile file(SettingsPath());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("\"9600 \"\r\n\"O\"\r\n\"7\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n");
  file.close();
  rig::RigType = "Elecraft";  // from the preferences
  RigControlfrm& w = Instance<RigControlfrm>();
  EXPECT_EQ(w.BaudText, "9600 ");
  EXPECT_EQ(w.ParityCode, "O");
  EXPECT_EQ(w.FreqPollCommand, "FA;");
  EXPECT_EQ(w.txtFreq.Text(), "");
  EXPECT_EQ(rig::RigType, "Elecraft");
  EXPECT_EQ(w.List1.ListIndex(), -1);
  EXPECT_EQ(SelectedBaud(w), "56");
  EXPECT_EQ(w.KenwoodVfo, 10);
}

TEST_F(RigSettings, ChangeFrequencyOpensTheTestWindowOnlyWhilePolling) {
  RigControlfrm& w = OpenWindow();
  Click(w.Command3);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt,
            "You must be polling your rig to test this function.  Please select your rig type and click the Test "
            "command button.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "You must be polling your rig to test this function.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::OKOnly | platform::MsgBoxStyle::Information);
  EXPECT_FALSE(IsLoaded<rig::frmFrequencyTest>());

  ChooseRig(w, "Ten Tec Pegasus");  // polled without a port
  Click(w.Command1);
  ASSERT_TRUE(Polling(w));
  bool shown = false;
  OperateModalWindowOnceShown<rig::frmFrequencyTest>([&](rig::frmFrequencyTest&) { shown = true; });
  Click(w.Command3);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(IsLoaded<rig::frmFrequencyTest>()) << "unloaded once closed";
  EXPECT_EQ(dialogs.MessageBoxes().size(), 1u);
}

TEST_F(RigSettings, TheCommandBoxesStopPollingWhenEnteredAndHoldWhatIsTyped) {
  RigControlfrm& w = OpenWindow();
  ChooseRig(w, "Ten Tec Pegasus");
  Click(w.Command1);
  ASSERT_TRUE(Polling(w));
  Click(w.OptFreq);  // a new mode source: the held mode goes, polling goes on
  EXPECT_EQ(w.lblMode.Caption(), "No Response");
  EXPECT_EQ(w.RigMode, "");
  EXPECT_TRUE(Polling(w));

  QTest::mouseClick(w.txtMode.Widget(), Qt::LeftButton);
  EXPECT_FALSE(Polling(w));
  EXPECT_EQ(w.lblMode.Caption(), "");
  QTest::keyClicks(w.txtMode.Widget(), "MD;");
  EXPECT_EQ(w.ModePollCommand, "MD;");

  Click(w.Command1);
  ASSERT_TRUE(Polling(w));
  QTest::mouseClick(w.txtFreq.Widget(), Qt::LeftButton);
  EXPECT_FALSE(Polling(w));
  QTest::keyClicks(w.txtFreq.Widget(), "FA;");
  EXPECT_EQ(w.FreqPollCommand, "FA;");
}

TEST_F(RigSettings, TheClipboardButtonCopiesTheUnprocessedReplyAndGoesToDone) {
  RigControlfrm& w = OpenWindow();
  w.lblUnProcess.SetCaption("FA00014250000;");  // as a poll shows a reply
  platform::Clipboard::SetText("before");
  Click(w.Command4);
  EXPECT_EQ(platform::Clipboard::GetText(), "FA00014250000;");
  EXPECT_TRUE(w.cmdDone.HasFocus());
}

}  // namespace
