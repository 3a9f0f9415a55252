// The spotting window as the operator meets it: the source list, which controls each source
// enables, the help text, Open, Close, Done, Spot Last, the command-mode key and PackSpot.txt.
#include "app/form1.h"
#include "app/globals.h"
#include "logging/logstore.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/quotedtext.h"
#include "platform/screen.h"
#include "platform/trace.h"
#include "spotting/packetspotfrm.h"

#include <QFile>
#include <QHostAddress>
#include <QListWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "formtesting.h"
#include "programfolderfixture.h"
#include "fulldisk.h"
#include "ptypair.h"
#include "testbound.h"

namespace {

using platform::Instance;
using spotting::PacketSpotfrm;

const QString kHelpBreak = "\r\n\r\n";

// What a settings file holds, line by line; each test changes what it is about.
struct SavedSettings {
  QString baud = "4800";
  QString parity = "E";
  QString dataBits = "7";
  QString stopBits = "2";
  int port = 3;
  QString power = "D";
  QString source = "Telnet";
  int convToHex = 1;
  int handshake = 2;
  int dxOnly = 0;
  bool list = true;
  QString hex = "1B";
  QString telnetPort = "7300";
  QString telnetHost = "dxc.example.net";
};

class SpottingWindow : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    platform::ChDir(folder.path());
    platform::InstanceWithoutLoad<app::Form1>();
    // Whichever port the TNC is set to, it opens the test's line.
    for (int port = 1; port <= 10; ++port) qputenv(PortVariable(port), QByteArray::fromStdString(tncLine.HostEnd()));
  }
  void TearDown() override {
    platform::UnloadAll();
    for (int port = 1; port <= 10; ++port) qunsetenv(PortVariable(port));
    ProgramFolderTest::TearDown();
  }

  static QByteArray PortVariable(int port) { return "CORVANE_PORT" + QByteArray::number(port); }

  // A cluster listening on the loopback, typed into the window's host and port boxes.
  void PointAtCluster(PacketSpotfrm& w) {
    ASSERT_TRUE(cluster.isListening() || cluster.listen(QHostAddress::LocalHost, 0));
    w.txtTelnetHost.SetText("127.0.0.1");
    w.txtTelnetPort.SetText(QString::number(cluster.serverPort()));
  }

  QString SettingsPath() const { return folder.filePath("PackSpot.txt"); }
  QByteArray SettingsBytes() const {
    QFile file(SettingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  void WriteSettings(const SavedSettings& s) const {
    platform::QuotedTextWriter file(SettingsPath());
    for (const platform::QuotedValue& value :
         {platform::QuotedValue(s.baud), platform::QuotedValue(s.parity), platform::QuotedValue(s.dataBits),
          platform::QuotedValue(s.stopBits), platform::QuotedValue(s.port), platform::QuotedValue(s.power),
          platform::QuotedValue(s.source), platform::QuotedValue(s.convToHex), platform::QuotedValue(s.handshake),
          platform::QuotedValue(s.dxOnly), platform::QuotedValue(s.list), platform::QuotedValue(s.hex),
          platform::QuotedValue(s.telnetPort), platform::QuotedValue(s.telnetHost)}) {
      file.WriteRecord({value});
    }
    file.Close();
  }

  // The window's first use, shown to the operator.
  static PacketSpotfrm& OpenWindow() {
    PacketSpotfrm& window = Instance<PacketSpotfrm>();
    ShowActive(window);
    return window;
  }

  static void Click(const platform::Control& control) { QTest::mouseClick(control.Widget(), Qt::LeftButton); }

  // A click on a source in the source list.
  static void ChooseSource(PacketSpotfrm& window, const QString& source) {
    auto* list = static_cast<QListWidget*>(window.List1.Widget());
    const QList<QListWidgetItem*> found = list->findItems(source, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << source.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
    ASSERT_EQ(window.List1.Text(), source);
  }

  // The caption of the option selected among `options`; "" when none is.
  static QString Selected(std::initializer_list<const platform::OptionButton*> options) {
    for (const platform::OptionButton* option : options) {
      if (option->Value()) return option->Caption();
    }
    return {};
  }
  static QString SelectedBaud(const PacketSpotfrm& w) {
    const platform::BaudRateOptions& baud = w.baud;
    return Selected({&baud.optBaud12, &baud.optBaud24, &baud.optBaud48, &baud.optBaud96, &baud.optBaud144,
                     &baud.optBaud192});
  }
  static QString SelectedPort(const PacketSpotfrm& w) {
    for (int index : w.optComm.Indexes()) {
      if (w.optComm(index).Value()) return w.optComm(index).Caption();
    }
    return {};
  }
  // Port, baud, parity, data bits, stop bits, power and handshaking as the options show them.
  static QStringList PortOptions(const PacketSpotfrm& w) {
    return {SelectedPort(w),
            SelectedBaud(w),
            Selected({&w.optParityOdd, &w.optParityNone, &w.optParityEven}),
            Selected({&w.bits.optData7, &w.bits.optData8}),
            Selected({&w.bits.optStop1, &w.bits.optStop2}),
            Selected({&w.optPowerNone, &w.optPowerRTS, &w.optPowerDTR}),
            Selected({&w.Option1, &w.Option2, &w.Option3, &w.Option4})};
  }

  // Which groups of the window's controls are enabled.
  struct Enabled {
    bool common;  // Open, Close, the send box, the display choice and "List DX Only"
    bool tnc;     // the port options, handshaking and the command character
    bool telnet;  // host and port
    bool convToHex;
    bool operator==(const Enabled&) const = default;
  };
  static Enabled EnabledGroups(const PacketSpotfrm& w) {
    const auto all = [](std::initializer_list<const platform::Control*> controls) {
      bool on = true;
      bool off = true;
      for (const platform::Control* control : controls) (control->Enabled() ? off : on) = false;
      EXPECT_TRUE(on || off) << "a group half enabled";
      return on;
    };
    return {all({&w.Command1, &w.Command2, &w.txtSent, &w.Label6, &w.Frame2, &w.OptBand, &w.OptList, &w.chkDX}),
            all({&w.fraPort, &w.optComm(0), &w.optComm(9), &w.baud.fraBaud, &w.baud.optBaud12, &w.baud.optBaud192,
                 &w.fraParity, &w.optParityOdd, &w.bits.fraData, &w.bits.optData7, &w.bits.fraStop, &w.bits.optStop2,
                 &w.fraPower, &w.optPowerDTR, &w.Frame1, &w.Option1, &w.Option4, &w.txtHex, &w.Label2}),
            all({&w.txtTelnetHost, &w.txtTelnetPort, &w.Label7, &w.Label3}), w.chkConvToHex.Enabled()};
  }

  // The help paragraphs shown, by their first words.
  static QStringList HelpOpenings(const PacketSpotfrm& w) {
    QStringList openings;
    QStringList paragraphs = w.ReceivedText.Text().split(kHelpBreak);
    EXPECT_EQ(paragraphs.takeLast(), "") << "each paragraph ends with an empty line";
    for (const QString& paragraph : paragraphs) openings << paragraph.section(' ', 0, 1);
    return openings;
  }

  peertesting::PtyPair tncLine;
  QTcpServer cluster;
  platform::ScriptedDialogs dialogs;
};

TEST_F(SpottingWindow, AFirstRunShowsTheDesignWithNoSourceAndOnlyTheListAndButtonsToUse) {
  PacketSpotfrm& w = OpenWindow();
  EXPECT_EQ(ItemsOf(w.List1), QStringList({"None", "TNC", "Telnet", "AGW Packet Engine"}));
  EXPECT_EQ(w.List1.ListIndex(), -1);
  EXPECT_EQ(w.SpotSource, "");
  EXPECT_EQ(PortOptions(w), QStringList({"1", "19.2k", "None", "8", "1", "None", "None"}));
  EXPECT_TRUE(w.OptBand.Value());
  EXPECT_EQ(w.chkDX.Value(), 0);
  EXPECT_EQ(w.chkConvToHex.Value(), 0);
  EXPECT_EQ(w.txtHex.Text(), "");
  EXPECT_EQ(w.txtTelnetHost.Text(), "");
  EXPECT_EQ(EnabledGroups(w), (Enabled{false, false, false, false}));
  EXPECT_TRUE(w.List1.Enabled() && w.Command3.Enabled() && w.cmdDone.Enabled());
  EXPECT_FALSE(w.Label4.Visible());
  EXPECT_EQ(w.Timer1.Interval(), 333);
  EXPECT_FALSE(w.Timer1.Enabled());
  EXPECT_FALSE(w.txtSent.HasFocus()) << "activation without a source leaves the disabled send box alone";
  for (const char* handler : {"List1_Click", "Command1_Click", "Command2_Click", "Command3_Click", "cmdDone_Click",
                              "txtSent_KeyPress", "txtSent_Change", "Timer1_Timer", "Winsock1_DataArrival",
                              "Winsock1_Close", "Winsock1_Error", "Winsock1_Connect", "ReopenTimer_Timer",
                              "AGWProbe_Connect", "AGWProbe_Error", "optComm_Click", "optBaud12_Click",
                              "optBaud192_Click", "optParityOdd_Click", "optData7_Click", "optStop2_Click",
                              "optPowerDTR_Click", "Option4_Click"}) {
    EXPECT_TRUE(w.WiredHandlers().contains(handler)) << handler;
  }
  EXPECT_EQ(w.WiredHandlers().size(), 36) << "the fifteen and the 21 port options";

  // No source chosen is no source: Done opens nothing and claims nothing is listening.
  Click(w.cmdDone);
  EXPECT_FALSE(w.Label4.Visible());
  EXPECT_EQ(w.ReceivedText.Text(), "");
  EXPECT_FALSE(w.Visible());
}

TEST_F(SpottingWindow, TheLoadFitsTheWindowToTheScreenAtItsTopWithControlFontsGrowingAtMostByHalf) {
  platform::Screen::SetSizeForTesting(19200, 14400);
  PacketSpotfrm design;
  PacketSpotfrm& w = Instance<PacketSpotfrm>();
  EXPECT_DOUBLE_EQ(w.Width(), design.Width() * 2);
  EXPECT_DOUBLE_EQ(w.Height(), design.Height() * 2);
  EXPECT_DOUBLE_EQ(w.Left(), (19200 - w.Width()) / 2);
  EXPECT_DOUBLE_EQ(w.Top(), 2);
  EXPECT_DOUBLE_EQ(w.FontSize(), design.FontSize() * 2);
  const std::pair<const platform::Control*, const platform::Control*> scaled[] = {
      {&w.txtSent, &design.txtSent}, {&w.baud.optBaud96, &design.baud.optBaud96}, {&w.Label4, &design.Label4}};
  for (const auto& [control, designed] : scaled) {
    SCOPED_TRACE(control->Name().toStdString());
    EXPECT_DOUBLE_EQ(control->Left(), designed->Left() * 2);
    EXPECT_DOUBLE_EQ(control->Top(), designed->Top() * 2);
    EXPECT_DOUBLE_EQ(control->Width(), designed->Width() * 2);
    EXPECT_NEAR(control->FontSize(), designed->FontSize() * 1.5, 0.01);
  }
}

TEST_F(SpottingWindow, EachSourceEnablesItsControlsShowsItsHelpAndCaptionsTheSendBox) {
  const struct {
    const char* source;
    Enabled enabled;
    QStringList help;
    const char* sendCaption;
  } cases[] = {
      {"TNC", {true, true, false, false}, {"To use", "One nice", "When you", "If the", "This code"},
       "Send text  (Ctrl C or Esc for TNC Command mode):"},
      {"Telnet", {true, false, true, false}, {"If you", "When you", "If the"}, "Type text to send and press enter:"},
      {"AGW Packet Engine",
       {true, false, false, false},
       {"This program", "- Download", "The file", "- Run", "- Click", "To send", ":C Varnek", "and press", "When you",
        "If the", "This code"},
       "Send text (use : to send cmds such as :C Varnek or :D)"},
      // None keeps the caption of the source before it.
      {"None",
       {false, false, false, false},
       {"Use this", "The list", "The program", "If you", "If you", "To use", "One nice", "This program", "- Download",
        "The file", "- Run", "- Click", "To send", ":C Varnek", "and press", "When you", "If the", "This code"},
       "Send text (use : to send cmds such as :C Varnek or :D)"},
  };
  PacketSpotfrm& w = OpenWindow();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    Click(w.chkDX);
    ChooseSource(w, c.source);
    EXPECT_EQ(w.SpotSource, c.source);
    EXPECT_EQ(EnabledGroups(w), c.enabled);
    EXPECT_EQ(HelpOpenings(w), c.help);
    EXPECT_EQ(w.ReceivedText.SelStart(), 1);
    EXPECT_EQ(w.Label6.Caption(), c.sendCaption);
    EXPECT_EQ(w.chkDX.Value(), 0) << "every choice shows every line again";
  }
  EXPECT_TRUE(w.ReceivedText.Text().contains("- Download the freely available software from the AGW Packet Engine "
                                             "website.\r\n\r\nThe file to download is AGWPE.zip."));
  // The box shows the help once the click is over, with the caret after its first character.
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.txtUnProcessed.Text() == w.ReceivedText.Text(); }, peertesting::kBoundMs));
  EXPECT_EQ(w.txtUnProcessed.SelStart(), 1);
}

TEST_F(SpottingWindow, ChoosingTheTncAgainResetsTheLineSettingsButKeepsThePortAndThePowerLine) {
  PacketSpotfrm& w = OpenWindow();
  ChooseSource(w, "TNC");
  EXPECT_EQ(PortOptions(w), QStringList({"1", "9.6k", "None", "8", "1", "None", "RTS"}));
  EXPECT_EQ(w.txtHex.Text(), "03");
  for (const platform::Control* option : {&w.optComm(4), &w.baud.optBaud24, &w.optParityEven, &w.bits.optData7,
                                           &w.bits.optStop2, &w.optPowerDTR, &w.Option2}) {
    Click(*option);
  }
  w.txtHex.SetText("1B");
  Click(w.Command1);
  ASSERT_TRUE(w.Label4.Visible());

  ChooseSource(w, "TNC");
  EXPECT_FALSE(w.Label4.Visible()) << "the choice closes the source first";
  EXPECT_EQ(PortOptions(w), QStringList({"5", "9.6k", "None", "8", "1", "DTR", "RTS"}));
  EXPECT_EQ(w.txtHex.Text(), "03");
}

TEST_F(SpottingWindow, OpenAndCloseReportInTheReceiveBoxAndClosingTwiceReportsOnce) {
  PacketSpotfrm& w = OpenWindow();
  ChooseSource(w, "TNC");
  Click(w.chkDX);
  Click(w.Command1);
  const QString opening = "** Attempting to Open Port **\r\n\r\n** TNC Serial Port Open **\r\n\r\n";
  EXPECT_EQ(w.ReceivedText.Text(), opening);
  EXPECT_TRUE(w.Label4.Visible());
  EXPECT_TRUE(w.txtSent.HasFocus());
  EXPECT_TRUE(w.comComm1.PortOpen());
  EXPECT_TRUE(w.Timer1.Enabled());

  Click(w.Command2);
  Click(w.Command2);
  const QString closed = opening + "\r\n\r\n** Port Closed **";
  EXPECT_EQ(w.ReceivedText.Text(), closed);
  EXPECT_FALSE(w.Label4.Visible());
  EXPECT_FALSE(w.Timer1.Enabled());
  EXPECT_FALSE(w.comComm1.PortOpen());
  EXPECT_EQ(w.chkDX.Value(), 1) << "Open and Close leave the DX choice";

  // A port option closes an open source, once.
  Click(w.Command1);
  Click(w.baud.optBaud48);
  Click(w.optComm(6));
  EXPECT_EQ(w.ReceivedText.Text(), closed);
  EXPECT_FALSE(w.Label4.Visible());
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.txtUnProcessed.Text() == w.ReceivedText.Text(); }, peertesting::kBoundMs));
}

TEST_F(SpottingWindow, DoneWithNoSourceSavesBothFilesLaysOutTheMainWindowAndHides) {
  PacketSpotfrm& w = OpenWindow();
  ChooseSource(w, "None");
  Click(w.cmdDone);
  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(platform::IsLoaded<PacketSpotfrm>());
  EXPECT_FALSE(w.Label4.Visible());
  EXPECT_TRUE(QFile::exists(folder.filePath("corvaneprf.txt")));
  EXPECT_EQ(SettingsBytes(),
            "\"19200\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n1\r\n\"N\"\r\n\"None\"\r\n0\r\n1\r\n0\r\n#FALSE#\r\n\"\"\r\n"
            "\"\"\r\n\"\"\r\n")
      << "port values as designed until the TNC is opened";
  const app::Form1& main = platform::Instance<app::Form1>();
  EXPECT_FALSE(main.txtDX.Visible() || main.lblDX.Visible()) << "no source opens no DX area";
  EXPECT_TRUE(HelpOpenings(w).startsWith("Use this")) << "nothing was opened";
}

TEST_F(SpottingWindow, DoneOpensAClosedSourceButLeavesAnOpenOneAsItIs) {
  PacketSpotfrm& w = OpenWindow();
  ChooseSource(w, "Telnet");
  PointAtCluster(w);
  Click(w.cmdDone);
  EXPECT_TRUE(w.Label4.Visible());
  EXPECT_EQ(w.ReceivedText.Text(), QString("Attempting connection to: 127.0.0.1:%1\r\n\r\n").arg(cluster.serverPort()));

  ShowActive(w);
  w.ReceivedText.Append("DX de K1TTT: 144200.0 W1AW\r\n");
  Click(w.cmdDone);
  EXPECT_TRUE(w.Label4.Visible());
  EXPECT_TRUE(w.ReceivedText.Text().endsWith("W1AW\r\n")) << "not opened again";
}

TEST_F(SpottingWindow, SpotLastPutsTheTemplateWithTheLastCallAndSelectsThePlaceholder) {
  PacketSpotfrm& w = OpenWindow();
  ChooseSource(w, "Telnet");
  Click(w.Command3);
  EXPECT_EQ(w.txtSent.Text(), "DX Frequency in kHz ") << "slot 0 of an empty log is empty";
  EXPECT_TRUE(w.txtSent.HasFocus());
  EXPECT_EQ(w.txtSent.SelText(), "Frequency in kHz");

  logging::LogCalls.Set(1, "K1ABC");
  logging::LogCalls.Set(2, "W1AW");
  logging::LogCount = 2;
  Click(w.Command3);
  QTest::keyClicks(w.txtSent.Widget(), "144205");
  EXPECT_EQ(w.txtSent.Text(), "DX 144205 W1AW");

  logging::LogCount = 3;  // beyond the log: the box stays as it was
  Click(w.Command3);
  EXPECT_EQ(w.txtSent.Text(), "DX 144205 W1AW");
}

TEST_F(SpottingWindow, EscWithTelnetShowsEveryLineAndOpensTheSourceAndCtrlCReachesTheWindowFromTheSendBox) {
  PacketSpotfrm& w = OpenWindow();
  ChooseSource(w, "Telnet");
  PointAtCluster(w);
  Click(w.chkDX);
  QTest::keyClick(w.List1.Widget(), Qt::Key_Escape);
  EXPECT_EQ(w.chkDX.Value(), 0);
  EXPECT_TRUE(w.Label4.Visible());
  EXPECT_TRUE(w.txtSent.HasFocus());
  EXPECT_EQ(w.txtSent.Text(), "");

  Click(w.chkDX);
  QTest::keyClicks(w.txtSent.Widget(), "sh/dx");
  QTest::keyClick(w.txtSent.Widget(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(w.chkDX.Value(), 0);
  EXPECT_EQ(w.txtSent.Text(), "sh/dx");
}

TEST_F(SpottingWindow, TheCommandKeyPutsTheTncInCommandModeWithTheCharacterOfTheHexBox) {
  peertesting::PtyEnd tnc(tncLine.PeerEnd());
  PacketSpotfrm& w = OpenWindow();
  ChooseSource(w, "TNC");
  Click(w.Command1);
  ASSERT_TRUE(w.comComm1.PortOpen());

  // In order on the line: the keys that send nothing come first.
  const struct {
    const char* hex;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  } keys[] = {
      {"zz", Qt::Key_Escape, Qt::NoModifier},                      // no hex number: nothing goes
      {"03", Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier},  // not Ctrl alone
      {"03", Qt::Key_C, Qt::ControlModifier},
      {"1b", Qt::Key_Escape, Qt::NoModifier},
  };
  for (const auto& k : keys) {
    w.txtHex.SetText(k.hex);
    QTest::keyClick(w.txtSent.Widget(), k.key, k.modifiers);
  }
  std::string received;
  ASSERT_TRUE(QTest::qWaitFor([&] { return (received += tnc.Read()).size() >= 2; }, peertesting::kBoundMs));
  EXPECT_EQ(received, "\x03\x1b");
  EXPECT_EQ(w.txtSent.Text(), "") << "the command keys type nothing";
  EXPECT_TRUE(w.txtSent.HasFocus());
}

TEST_F(SpottingWindow, TheSettingsFileHoldsTheFourteenLinesOfAnOpenedTnc) {
  PacketSpotfrm& w = OpenWindow();
  ChooseSource(w, "TNC");
  Click(w.Command1);
  Click(w.cmdDone);
  EXPECT_EQ(SettingsBytes(),
            "\"9600\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n1\r\n\"N\"\r\n\"TNC\"\r\n0\r\n3\r\n0\r\n#FALSE#\r\n\"03\"\r\n"
            "\"\"\r\n\"\"\r\n");
  EXPECT_TRUE(w.comComm1.PortOpen()) << "Done leaves the source open";
}

TEST_F(SpottingWindow, ASavedWindowComesBackOpenWithItsChoicesAndItsFileUnchanged) {
  PacketSpotfrm& w = OpenWindow();
  ChooseSource(w, "Telnet");
  Click(w.OptList);
  ASSERT_TRUE(cluster.listen(QHostAddress::LocalHost, 0));
  const QByteArray port = QByteArray::number(cluster.serverPort());
  QTest::keyClicks(w.txtTelnetHost.Widget(), "127.0.0.1");
  QTest::keyClicks(w.txtTelnetPort.Widget(), port);
  Click(w.cmdDone);
  const QByteArray saved = SettingsBytes();
  EXPECT_TRUE(saved.contains("\r\n#TRUE#\r\n\"\"\r\n\"" + port + "\"\r\n\"127.0.0.1\"\r\n"));
  w.Unload();

  PacketSpotfrm& again = OpenWindow();
  EXPECT_EQ(again.List1.Text(), "Telnet");
  EXPECT_TRUE(again.OptList.Value());
  EXPECT_EQ(again.txtTelnetHost.Text(), "127.0.0.1");
  EXPECT_EQ(again.txtTelnetPort.Text(), port);
  EXPECT_EQ(EnabledGroups(again), (Enabled{true, false, true, false}));
  EXPECT_TRUE(again.Label4.Visible()) << "the saved source opens at once";
  EXPECT_TRUE(again.txtSent.HasFocus());
  Click(again.cmdDone);
  EXPECT_EQ(SettingsBytes(), saved);
}

TEST_F(SpottingWindow, LoadsRestoreWhatTheFileHoldsAndStopAtAPortOutsideTheTen) {
  const struct {
    const char* name;
    SavedSettings file;
    const char* listed;
    QStringList options;
    const char* commSettingsAtOpen;  // nullptr: the load opens nothing
  } cases[] = {
      {"source in any case", {.port = 2, .power = "r", .source = "tnc", .handshake = 4}, "TNC",
       {"2", "4.8k", "Even", "7", "2", "RTS", "RTS OnOff"}, "4800,E,7,2"},
      {"baud with blanks", {.baud = "9600  ", .source = "TNC"}, "TNC",
       {"3", "9.6k", "Even", "7", "2", "DTR", "Xon Xoff"}, "9600,E,7,2"},
      {"unknown rate", {.baud = "57600", .source = "TNC"}, "TNC", {"3", "", "Even", "7", "2", "DTR", "Xon Xoff"},
       "57600,E,7,2"},
      {"handshaking outside the four", {.source = "TNC", .handshake = 7}, "TNC",
       {"3", "4.8k", "Even", "7", "2", "DTR", "None"}, "4800,E,7,2"},
      {"no source", {.source = "None"}, "None", {"3", "4.8k", "Even", "7", "2", "DTR", "Xon Xoff"}, nullptr},
      {"port 11", {.port = 11}, "Telnet", {"1", "19.2k", "None", "8", "1", "None", "None"}, nullptr},
      {"port 0 with a TNC", {.port = 0, .source = "TNC"}, "TNC", {"1", "19.2k", "None", "8", "1", "None", "None"},
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SavedSettings file = c.file;
    file.dxOnly = 1;
    WriteSettings(file);
    PacketSpotfrm& w = OpenWindow();
    EXPECT_EQ(w.List1.Text(), c.listed);
    EXPECT_EQ(PortOptions(w), c.options);
    EXPECT_EQ(w.chkDX.Value(), 0) << "a saved \"List DX Only\" still loads unchecked";
    EXPECT_EQ(w.chkConvToHex.Value(), 1);
    EXPECT_TRUE(w.OptList.Value());
    EXPECT_EQ(w.txtHex.Text(), "1B");
    EXPECT_EQ(w.txtTelnetHost.Text(), "dxc.example.net");
    EXPECT_EQ(w.Label4.Visible(), c.commSettingsAtOpen != nullptr);
    if (c.commSettingsAtOpen != nullptr) {
      EXPECT_EQ(w.SpotCommSettings, c.commSettingsAtOpen);
    }
    EXPECT_EQ(w.SpotLoading, 0);
    platform::UnloadAll();
    platform::InstanceWithoutLoad<app::Form1>();
  }
}

TEST_F(SpottingWindow, ALoadStoppedAtItsPortLeavesTheListChoiceButNeitherTheTncControlsNorTheSource) {
  WriteSettings({.port = 11, .source = "TNC"});
  PacketSpotfrm& w = OpenWindow();
  EXPECT_EQ(w.List1.Text(), "TNC");
  EXPECT_EQ(w.Label6.Caption(), "Send text  (Ctrl C or Esc for TNC Command mode):");
  EXPECT_EQ(HelpOpenings(w).front(), "To use");
  EXPECT_EQ(EnabledGroups(w), (Enabled{false, false, false, false}));
  EXPECT_FALSE(w.Label4.Visible());
  // Activated again with its send box disabled, the window goes on working.
  w.Hide();
  ShowActive(w);
  ChooseSource(w, "Telnet");
  EXPECT_EQ(EnabledGroups(w), (Enabled{true, false, true, false}));
}

TEST_F(SpottingWindow, AFailedSaveLeavesTheOldFileWhole) {
  WriteSettings({.source = "None"});
  const QByteArray old = SettingsBytes();
  PacketSpotfrm& w = OpenWindow();
  ChooseSource(w, "AGW Packet Engine");
  {
    FullDisk disk;
    w.SavePacketSettings();
  }
  EXPECT_EQ(SettingsBytes(), old);
  Click(w.cmdDone);
  EXPECT_TRUE(SettingsBytes().contains("\"AGW Packet Engine\""));
}

}  // namespace
