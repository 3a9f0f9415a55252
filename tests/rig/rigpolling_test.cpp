// Test and End Test with a simulated rig on the far end of a serial line: the port as each rig
// wants it opened, what reaches the rig, the refused port, and the last command at the end.
#include "app/form1.h"
#include "platform/keys.h"
#include "platform/serialcontrol.h"
#include "platform/trace.h"
#include "rig/globals.h"

#include <memory>

#include "rigwindowtesting.h"
#include "simulatedrig.h"
#include "testbound.h"

namespace {

using platform::Instance;
using rig::RigControlfrm;

constexpr int kRigPort = 2;

class RigPolling : public RigWindowTest {
 protected:
  void SetUp() override {
    RigWindowTest::SetUp();
    simulatedRig = std::make_unique<SimulatedRig>(kRigPort);
  }

  // The rig chosen, on the simulated rig's port, and Test clicked.
  static void Start(RigControlfrm& w, const QString& rigName) {
    ChooseRig(w, rigName);
    Click(w.optComm(kRigPort - 1));
    Click(w.Command1);
  }

  // A byte after whatever the program has sent on its open port: what came before it is all it sent.
  static void SendMarker(RigControlfrm& w, char marker) { w.comComm1.SetOutput(QString(QChar(uchar(marker)))); }

  // The same, once the window has let go of the port.
  static void SendMarkerOnFreePort(char marker) {
    platform::SerialControl port;
    port.SetCommPort(kRigPort);
    port.SetPortOpen(true);
    port.SetOutput(QString(QChar(uchar(marker))));
  }

  std::unique_ptr<SimulatedRig> simulatedRig;
  SimulatedRig& rig() { return *simulatedRig; }
};

TEST_F(RigPolling, EachRigIsOpenedWithItsWakeUpAndTheTenTecsHandshakingAloneNoLaterRigKeepsIt) {
  const QByteArray none;
  const QByteArray yaesuWakeUp(5, '\0');
  const struct {
    const char* rig;
    QByteArray wakeUp;
    bool rtsCts;
  } cases[] = {
      {"Ten Tec Orion", "X\r", true},   {"Kenwood", none, false},         {"Ten Tec Fnt Pnl", none, true},
      {"Yaesu", yaesuWakeUp, false},    {"Yaesu 757 GX II", yaesuWakeUp, false}, {"Yaesu 890", yaesuWakeUp, false},
      {"Yaesu 920", yaesuWakeUp, false}, {"Yaesu 990", yaesuWakeUp, false},      {"Yaesu 1000 D", yaesuWakeUp, false},
      {"Yaesu 1000", yaesuWakeUp, false}, {"Yaesu FTdx9000", none, false},       {"Elecraft", none, false},
      {"Icom", none, false},            {"Icom 735", none, false},        {"Kenwood 2", none, false},
      {"Ten Tec Omni VI", none, false}, {"Other", none, false},
  };
  RigControlfrm& w = OpenWindow();
  char marker = 'a';
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rig);
    Start(w, c.rig);
    ASSERT_TRUE(w.comComm1.PortOpen());
    EXPECT_TRUE(Polling(w));
    EXPECT_EQ(w.lblFreq.Caption(), "No Response");
    EXPECT_EQ(w.lblMode.Caption(), "No Response");
    EXPECT_EQ(w.comComm1.FlowControlForTesting().rtsCts, c.rtsCts);
    EXPECT_FALSE(w.comComm1.FlowControlForTesting().xonXoff);
    SendMarker(w, ++marker);
    // The first poll follows at once: the wake-up leads, and goes once.
    const QByteArray sent = rig().ReceivedBefore(marker);
    EXPECT_EQ(sent.left(c.wakeUp.size()).toHex(' '), c.wakeUp.toHex(' '));
    const QByteArray polls = sent.mid(c.wakeUp.size());
    EXPECT_FALSE(polls.startsWith(yaesuWakeUp)) << polls.toHex(' ').toStdString();
    EXPECT_FALSE(polls.startsWith("X\r")) << polls.toHex(' ').toStdString();
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(RigPolling, TheSelectedOptionsMakeThePortsSettingsString) {
  RigControlfrm& w = OpenWindow();
  const struct {
    platform::OptionButton* baud;
    platform::OptionButton* parity;
    platform::OptionButton* dataBits;
    platform::OptionButton* stopBits;
    const char* baudText;
    const char* settings;
  } cases[] = {
      {&w.baud.optBaud48, &w.optParityNone, &w.bits.optData8, &w.bits.optStop2, "4800 ", "4800,N,8,2"},
      {&w.optBaud560, &w.optParityEven, &w.bits.optData7, &w.bits.optStop1, "56000", "56000,E,7,1"},
      {&w.baud.optBaud144, &w.optParityOdd, &w.bits.optData8, &w.bits.optStop1, "14400", "14400,O,8,1"},
      {&w.optBaud288, &w.optParityNone, &w.bits.optData8, &w.bits.optStop2, "28800", "28800,N,8,2"},
      {&w.baud.optBaud12, &w.optParityNone, &w.bits.optData8, &w.bits.optStop1, "1200 ", "1200,N,8,1"},
  };
  ChooseRig(w, "Other");
  Click(w.optComm(kRigPort - 1));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    for (platform::OptionButton* option : {c.baud, c.parity, c.dataBits, c.stopBits}) Click(*option);
    Click(w.Command1);
    EXPECT_TRUE(w.comComm1.PortOpen());
    EXPECT_EQ(w.comComm1.CommPort(), kRigPort);
    EXPECT_EQ(w.comComm1.Settings(), c.settings);
    EXPECT_EQ(w.CommSettings, c.settings);
    EXPECT_EQ(w.BaudText, c.baudText);
  }
}

TEST_F(RigPolling, ThePowerLineRisesOnlyOnceThePortIsOpen) {
  RigControlfrm& w = OpenWindow();
  const struct {
    platform::OptionButton& power;
    bool dtr;
    bool rts;
  } cases[] = {{w.optPowerDTR, true, false}, {w.optPowerRTS, false, true}, {w.optPowerNone, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.power.Caption().toStdString());
    const platform::RecordedSerialLines lines;
    Click(c.power);
    Start(w, "Kenwood");
    ASSERT_TRUE(w.comComm1.PortOpen());
    ASSERT_GE(lines.Levels().size(), 2u);  // both lines as the opening left them, down
    EXPECT_FALSE(lines.Levels()[0].raised);
    EXPECT_FALSE(lines.Levels()[1].raised);
    EXPECT_EQ(w.comComm1.DtrRaised(), c.dtr);
    EXPECT_EQ(w.comComm1.RtsRaised(), c.rts);
    ChooseRig(w, "None");
  }
}

TEST_F(RigPolling, ThePegasusOpensNoPortYetPollsAtOnceAndAtTheChosenRate) {
  RigControlfrm& w = OpenWindow();
  const struct {
    platform::OptionButton& rate;
    const char* code;
    int interval;
  } cases[] = {{w.optPollFast, "F", 50}, {w.optPollMed, "M", 250}, {w.optPollSlow, "S", 1000}, {w.optReallySlow, "R", 5000}};
  ChooseRig(w, "Ten Tec Pegasus");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.interval);
    Click(c.rate);
    Click(w.Command1);
    EXPECT_FALSE(w.comComm1.PortOpen());
    EXPECT_TRUE(Polling(w));
    EXPECT_EQ(w.tmrGetData.Interval(), c.interval);
    EXPECT_EQ(w.PollRate, c.code);
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(RigPolling, NoRigStartsNothingButTakesTheOptionsIntoItsSettings) {
  RigControlfrm& w = OpenWindow();
  ChooseRig(w, "Kenwood");
  ChooseRig(w, "None");
  Click(w.baud.optBaud96);
  Click(w.optPowerRTS);
  Click(w.Command1);
  EXPECT_EQ(w.CommSettings, "9600,N,8,2");
  EXPECT_EQ(w.PowerLine, "R");
  EXPECT_FALSE(w.comComm1.PortOpen());
  EXPECT_FALSE(Polling(w));
  EXPECT_EQ(w.lblFreq.Caption(), "") << "the displays are not touched";
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(RigPolling, EndTestAndEverySettingsOptionStopPolling) {
  RigControlfrm& w = OpenWindow();
  Start(w, "Kenwood");
  ASSERT_TRUE(w.comComm1.PortOpen());
  w.lblUnProcess.SetCaption("FA00014250000;");
  Click(w.Command2);
  EXPECT_FALSE(w.comComm1.PortOpen());
  EXPECT_FALSE(w.tmrGetData.Enabled());
  EXPECT_FALSE(w.Label2.Visible());
  EXPECT_FALSE(w.Command2.Enabled());
  EXPECT_EQ(w.lblFreq.Caption(), "");
  EXPECT_EQ(w.lblMode.Caption(), "");
  EXPECT_EQ(w.lblUnProcess.Caption(), "");

  // The Pegasus polls without a port, so every option may be tried; each is clicked while another
  // of its frame is selected.
  ChooseRig(w, "Ten Tec Pegasus");
  std::vector<platform::OptionButton*> options = {
      &w.baud.optBaud12, &w.baud.optBaud24, &w.baud.optBaud48, &w.baud.optBaud96, &w.baud.optBaud144,
      &w.baud.optBaud192, &w.optBaud288, &w.optBaud384, &w.optBaud560, &w.optParityOdd, &w.optParityEven,
      &w.optParityNone, &w.bits.optData7, &w.bits.optData8, &w.bits.optStop1, &w.bits.optStop2, &w.optPowerRTS,
      &w.optPowerDTR, &w.optPowerNone, &w.optPollFast, &w.optPollSlow, &w.optReallySlow, &w.optPollMed};
  for (int index : {2, 3, 4, 5, 6, 7, 8, 9, 0, 1}) options.push_back(&w.optComm(index));
  for (platform::OptionButton* option : options) {
    SCOPED_TRACE(option->Name().toStdString() + " " + option->Caption().toStdString());
    Click(w.Command1);
    ASSERT_TRUE(Polling(w));
    Click(*option);
    EXPECT_FALSE(Polling(w));
  }
}

TEST_F(RigPolling, APortInUseMissingOrPulledOutBeepsShowsInvalidCommSettingsAndStopsPolling) {
  RigControlfrm& w = OpenWindow();
  const auto expectRefused = [&](int beepsBefore) {
    EXPECT_EQ(dialogs.Beeps(), beepsBefore + 1);
    ASSERT_FALSE(dialogs.MessageBoxes().empty());
    const platform::MessageBoxShown& box = dialogs.MessageBoxes().back();
    EXPECT_EQ(box.prompt, kInvalidCommSettings);
    EXPECT_EQ(box.title, "Invalid Comm Settings.");
    EXPECT_EQ(box.style, platform::MsgBoxStyle::OKOnly | platform::MsgBoxStyle::Information);
    EXPECT_FALSE(w.comComm1.PortOpen());
    EXPECT_FALSE(w.tmrGetData.Enabled());
    EXPECT_FALSE(w.Label2.Visible());
    EXPECT_FALSE(w.Command2.Enabled());
    EXPECT_EQ(w.lblFreq.Caption(), "No Response");
    EXPECT_TRUE(w.Visible());
  };

  {
    SCOPED_TRACE("in use");
    platform::SerialControl elsewhere;  // another window, or another program, holds the port
    elsewhere.SetCommPort(kRigPort);
    elsewhere.SetPortOpen(true);
    Start(w, "Kenwood");
    expectRefused(0);
  }
  {
    SCOPED_TRACE("missing");
    Click(w.optComm(4));
    Click(w.Command1);
    expectRefused(1);
  }
  {
    SCOPED_TRACE("pulled out while polling");
    Start(w, "Elecraft");
    ASSERT_TRUE(Polling(w));
    rig().Unplug();
    // The poll finds the device gone and says so; Test then finds no device to open.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.Beeps() == 3; }, peertesting::kBoundMs));
    Click(w.Command1);
    expectRefused(3);
  }
}

TEST_F(RigPolling, AtTheProgramsEndAPolledBinaryYaesuGetsItsLastCommand) {
  const struct {
    const char* rig;
    bool stopped;
    QByteArray lastCommand;
  } cases[] = {{"Yaesu", false, QByteArray::fromHex("0000000080")},
               {"Yaesu 1000 D", true, {}},
               {"Yaesu FTdx9000", false, {}},
               {"Kenwood", false, {}}};
  char marker = 'a';
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rig);
    platform::InstanceWithoutLoad<app::Form1>();
    RigControlfrm& w = OpenWindow();
    Start(w, c.rig);
    SendMarker(w, ++marker);
    rig().ReceivedBefore(marker);  // the opening's
    if (c.stopped) Click(w.Command2);

    Instance<app::Form1>().Unload();
    platform::DoEvents();
    ASSERT_FALSE(platform::IsLoaded<RigControlfrm>());
    SendMarkerOnFreePort(++marker);  // the window let go of the port
    EXPECT_EQ(rig().ReceivedBefore(marker).toHex(' '), c.lastCommand.toHex(' '));
  }
}

}  // namespace
