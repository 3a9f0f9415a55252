#include "platform/clock.h"
#include "platform/instances.h"
#include "rig/frmrigtune.h"
#include "rig/globals.h"
#include "rig/rigrequests.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "formtesting.h"
#include "rigwindowtesting.h"

using rig::frmRigTune;

namespace {

// Types at the end of a box, as an operator who clicked into it after its text.
void Type(platform::TextBox& box, const QString& keys) {
  box.SetFocus();
  box.SetSelStart(static_cast<int>(box.Text().size()));
  QTest::keyClicks(box.Widget(), keys);
}
void Replace(platform::TextBox& box, const QString& keys) {
  box.SetText("");
  Type(box, keys);
}

// The panel as Ctrl+G shows it, with a rig chosen; what it asks of the rig window is recorded.
// The scan's timer is driven by the test, one tick at a time.
class TunePanel : public ::testing::Test {
 protected:
  void SetUp() override {
    rig::RigType = "Kenwood";
    ShowActive(panel);
    panel.Timer1.SetEnabled(false);
  }
  void TearDown() override { platform::UnloadAll(); }

  static void Click(const platform::Control& control) { QTest::mouseClick(control.Widget(), Qt::LeftButton); }
  void Tick() { panel.Timer1.Tick(); }
  bool StepsEnabled() const {
    int enabled = 0;
    for (int index : panel.cmdTune.Indexes()) enabled += panel.cmdTune(index).Enabled() ? 1 : 0;
    EXPECT_TRUE(enabled == 0 || enabled == 10) << enabled << " of the 10 step buttons enabled";
    return enabled == 10;
  }
  std::vector<double> Sent() const { return requests.Frequencies(); }

  rig::RecordedRigRequests requests;
  frmRigTune& panel = platform::Instance<frmRigTune>();
};

TEST_F(TunePanel, OpensEmptyWithTheStepsDisabledAndTheScanOff) {
  EXPECT_EQ(panel.txtFreq.Text(), "");
  EXPECT_TRUE(panel.txtFreq.HasFocus());
  EXPECT_FALSE(StepsEnabled());
  EXPECT_EQ(panel.chkScan.Value(), 0);
  EXPECT_EQ(panel.txtFrom.Text(), "1.8");
  EXPECT_EQ(panel.txtTo.Text(), "54");
  EXPECT_TRUE(panel.Option4.Value());
  EXPECT_EQ(panel.Option4.Caption(), "10 Hz");
}

TEST_F(TunePanel, BandThenStepSendsEachFrequencyAndTheStepMovesTheFocusToDone) {
  Click(panel.cmdBand(5));
  EXPECT_EQ(panel.txtFreq.Text(), "14.175");
  Click(panel.cmdTune(0));
  EXPECT_EQ(panel.txtFreq.Text(), "14.17501");
  EXPECT_TRUE(panel.cmdDone.HasFocus());
  Click(panel.cmdTune(3));
  EXPECT_EQ(panel.txtFreq.Text(), "13.17501");
  EXPECT_EQ(Sent(), (std::vector<double>{14.175, 14.17501, 13.17501}));
}

TEST_F(TunePanel, StepsAreEnabledExactlyWhileTheFrequencyIsANumber) {
  const struct {
    const char* typed;
    const char* shown;
    bool number;
  } cases[] = {
      {"14.25", "14.25", true},
      {"14.", "14.", true},
      {".5", ".5", true},
      {"14x.2", "14.2", true},  // letters are dropped
      {"14/2", "14/2", false},  // the slash passes the filter but makes no number
      {"1.2.3", "1.2.3", false},
      {"", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Replace(panel.txtFreq, c.typed);
    EXPECT_EQ(panel.txtFreq.Text(), c.shown);
    EXPECT_EQ(StepsEnabled(), c.number);
  }
  Replace(panel.txtFrom, "2a");
  Replace(panel.txtTo, "5-0");
  EXPECT_EQ(panel.txtFrom.Text(), "2");
  EXPECT_EQ(panel.txtTo.Text(), "50");
}

TEST_F(TunePanel, NoNumberOrOneBeyondSinglePrecisionSendsNothing) {
  for (const QString& typed : {QString("14/2"), QString(40, u'9')}) {
    Replace(panel.txtFreq, typed);
    EXPECT_FALSE(StepsEnabled());
    Click(panel.Command1);
    Click(panel.cmdTune(0));
    EXPECT_EQ(panel.txtFreq.Text(), typed);
  }
  EXPECT_TRUE(Sent().empty());
}

TEST_F(TunePanel, EnterSendsAndLeavesTheCaretAfterTheLastCharacter) {
  Type(panel.txtFreq, "7.15");
  panel.txtFreq.SetSelStart(1);
  QTest::keyClick(panel.txtFreq.Widget(), Qt::Key_Return);
  EXPECT_EQ(Sent(), std::vector<double>{7.15});
  EXPECT_EQ(panel.txtFreq.Text(), "7.15");
  EXPECT_TRUE(panel.txtFreq.HasFocus());
  EXPECT_EQ(panel.txtFreq.SelStart(), 4);
}

TEST_F(TunePanel, ScanFromAnEmptyBoxStartsAtFromAndEachTickSendsTheNextStep) {
  Click(panel.chkScan);
  EXPECT_EQ(panel.txtFreq.Text(), "1.8");
  EXPECT_TRUE(panel.Command1.HasFocus());
  Tick();
  EXPECT_EQ(panel.txtFreq.Text(), "1.80001");
  EXPECT_EQ(Sent(), std::vector<double>{1.80001});
}

TEST_F(TunePanel, ATenHertzScanStepMovesAUhfAndAMicrowaveFrequencyToo) {
  Replace(panel.txtTo, "24250");
  const struct {
    const char* start;
    std::vector<double> sent;
  } cases[] = {{"432.1", {432.10001, 432.10002}}, {"10368.1", {10368.10001, 10368.10002}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    const std::size_t before = requests.Frequencies().size();
    Replace(panel.txtFreq, c.start);
    panel.chkScan.SetValue(1);
    Tick();
    Tick();
    EXPECT_EQ(panel.txtFreq.Text(), QString::number(c.sent.back(), 'f', 5));
    const std::vector<double>& sent = requests.Frequencies();
    EXPECT_EQ(std::vector<double>(sent.begin() + static_cast<std::ptrdiff_t>(before), sent.end()), c.sent);
  }
}

TEST_F(TunePanel, AStepLandingOnToIsSentAndTheNextWrapsToFrom) {
  Replace(panel.txtFrom, "14.2");
  Replace(panel.txtTo, "14.25");
  Replace(panel.txtFreq, "14.2475");
  Click(panel.Option5);  // 2.5 kHz
  Click(panel.chkScan);
  Tick();
  EXPECT_EQ(panel.txtFreq.Text(), "14.25");
  Tick();
  EXPECT_EQ(panel.txtFreq.Text(), "14.2");
  EXPECT_EQ(Sent(), (std::vector<double>{14.25, 14.2}));
}

TEST_F(TunePanel, ScanShowsWholeMegahertzWithThePointAndNoZeroBeforeIt) {
  const struct {
    const char* from;
    const char* shown;
    double sent;
  } cases[] = {{"27.9975", "28.", 28}, {"0.4975", ".5", 0.5}};
  Click(panel.Option5);
  Replace(panel.txtFrom, "0");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from);
    Replace(panel.txtFreq, c.from);
    panel.chkScan.SetValue(1);
    Tick();
    EXPECT_EQ(panel.txtFreq.Text(), c.shown);
    EXPECT_TRUE(StepsEnabled()) << "still a number";
    ASSERT_FALSE(Sent().empty());
    EXPECT_EQ(Sent().back(), c.sent);
  }
}

TEST_F(TunePanel, AnyKeyTypedWhileScanningStopsTheScanAndStillReachesItsBox) {
  Click(panel.chkScan);
  Type(panel.txtTo, "0");
  EXPECT_EQ(panel.chkScan.Value(), 0);
  EXPECT_EQ(panel.txtTo.Text(), "540");
  EXPECT_TRUE(panel.Command1.HasFocus());
  Tick();
  EXPECT_TRUE(Sent().empty());
}

TEST_F(TunePanel, WithoutARigABandButtonFillsTheBoxButSendsNothing) {
  rig::RigType = "None";
  Click(panel.cmdBand(15));
  EXPECT_EQ(panel.txtFreq.Text(), "1270");
  EXPECT_TRUE(Sent().empty());
}

TEST_F(TunePanel, ModeButtonsAskForTheirModeWithFrequencyZeroAndMoveTheFocusToDone) {
  const struct {
    platform::CommandButton* button;
    const char* mode;
  } buttons[] = {{&panel.cmdAM, "AM"},     {&panel.cmdCW, "CW"},     {&panel.cmdFM, "FM"},
                 {&panel.cmdLSB, "LSB"}, {&panel.cmdRTTY, "RTTY"}, {&panel.cmdUSB, "USB"}};
  rig::RigType = "None";  // the rig window decides what that means
  for (const auto& b : buttons) {
    panel.txtFreq.SetFocus();
    Click(*b.button);
    ASSERT_FALSE(requests.Modes().empty());
    EXPECT_EQ(requests.Modes().back().mode, b.mode);
    EXPECT_EQ(requests.Modes().back().megahertz, 0);
    EXPECT_TRUE(panel.cmdDone.HasFocus()) << b.mode;
  }
  EXPECT_EQ(requests.Modes().size(), 6U);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(TunePanel, DoneHidesThePanel) {
  Click(panel.cmdDone);
  EXPECT_FALSE(panel.Visible());
}

// The panel over a Kenwood polled on a simulated rig, without a band plan: a change of frequency
// sends the frequency command alone.
class TunePanelOnAPolledRig : public PolledRigTest {
 protected:
  void SetUp() override {
    PolledRigTest::SetUp();
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(18, 0)), 0);
    ShowActive(panel);
    panel.Timer1.SetEnabled(false);
  }

  void Tick() { panel.Timer1.Tick(); }

  frmRigTune& panel = platform::Instance<frmRigTune>();
};

TEST_F(TunePanelOnAPolledRig, TheRigReceivesWhatTheBandModeAndStepButtonsAndAScanTickSend) {
  Start("Kenwood");
  const struct {
    const char* action;
    std::function<void()> act;
    QByteArray sent;
  } steps[] = {
      {"160", [&] { Click(panel.cmdBand(0)); }, "FA00001900000;"},
      {"23", [&] { Click(panel.cmdBand(15)); }, "FA01270000000;"},
      {"1 MHz down", [&] { Click(panel.cmdTune(3)); }, "FA01269000000;"},
      {"20", [&] { Click(panel.cmdBand(5)); }, "FA00014175000;"},
      {"CW", [&] { Click(panel.cmdCW); }, "MD3;"},
      {"a scan tick", [&] {
         Click(panel.chkScan);
         Tick();
       }, "FA00014175010;"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.action);
    step.act();
    EXPECT_EQ(Sent(), step.sent);
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(TunePanelOnAPolledRig, ATypedFrequencyReachesTheRigToTheHertz) {
  Start("Kenwood");
  const struct {
    const char* typed;
    QByteArray sent;
  } cases[] = {{"144.2", "FA00144200000;"},
               {"1296.1", "FA01296100000;"},
               {"2304.1", "FA02304100000;"},
               {"10368.1", "FA10368100000;"},
               {"24192.123456", "FA24192123456;"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    panel.txtFreq.SetText("");
    QTest::keyClicks(panel.txtFreq.Widget(), c.typed);
    QTest::keyClick(panel.txtFreq.Widget(), Qt::Key_Return);
    EXPECT_EQ(Sent(), c.sent);
  }
}

TEST_F(TunePanelOnAPolledRig, AScanTickDuringAChangeOfFrequencyAdvancesWithoutSending) {
  rig::RigControlfrm& rigWindow = Start("Kenwood");
  Click(panel.chkScan);
  QTimer::singleShot(0, [&] {
    EXPECT_FALSE(rigWindow.tmrGetData.Enabled()) << "the tick comes while the change waits";
    Tick();
  });
  Click(panel.cmdBand(0));
  EXPECT_EQ(panel.txtFreq.Text(), "1.90001");
  EXPECT_EQ(Sent(), "FA00001900000;");
  Tick();
  EXPECT_EQ(panel.txtFreq.Text(), "1.90002");
  EXPECT_EQ(Sent(), "FA00001900020;");
}

TEST_F(TunePanelOnAPolledRig, AModeButtonWithTheRigsPortClosedEndsInErrorChangingMode) {
  const struct {
    const char* rig;
    platform::CommandButton* button;
    const char* told;  // nullptr: nothing to tell
  } cases[] = {
      {"Kenwood", &panel.cmdCW, "Operation valid only when the port is open CW"},
      {"Icom", &panel.cmdUSB, "Operation valid only when the port is open USB"},
      {"Icom 735", &panel.cmdUSB, nullptr},  // no mode command to send
      {"None", &panel.cmdCW, nullptr},
  };
  rig::RigControlfrm& rigWindow = OpenWindow();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rig);
    ChooseRig(rigWindow, c.rig);  // chosen but not polled: the port stays closed
    const std::size_t shown = dialogs.MessageBoxes().size();
    Click(*c.button);
    if (c.told == nullptr) {
      EXPECT_EQ(dialogs.MessageBoxes().size(), shown);
      continue;
    }
    ASSERT_EQ(dialogs.MessageBoxes().size(), shown + 1);
    EXPECT_EQ(dialogs.MessageBoxes().back().title, "Error Changing Mode");
    EXPECT_EQ(dialogs.MessageBoxes().back().prompt, c.told);
  }
  EXPECT_EQ(polledRig->SentOnFreePort(), "");
}

}  // namespace
