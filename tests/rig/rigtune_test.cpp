#include "platform/instances.h"
#include "rig/frmrigtune.h"
#include "rig/globals.h"
#include "rig/rigrequests.h"

#include <QTest>
#include <gtest/gtest.h>

#include <vector>

#include "formtesting.h"

using rig::frmRigTune;

namespace {

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
  // Types at the end of a box, as an operator who clicked into it after its text.
  static void Type(platform::TextBox& box, const QString& keys) {
    box.SetFocus();
    box.SetSelStart(static_cast<int>(box.Text().size()));
    QTest::keyClicks(box.Widget(), keys);
  }
  static void Replace(platform::TextBox& box, const QString& keys) {
    box.SetText("");
    Type(box, keys);
  }
  void Tick() { panel.Timer1.Tick(); }
  bool StepsEnabled() const {
    int enabled = 0;
    for (int index : panel.cmdTune.Indexes()) enabled += panel.cmdTune(index).Enabled() ? 1 : 0;
    EXPECT_TRUE(enabled == 0 || enabled == 10) << enabled << " of the 10 step buttons enabled";
    return enabled == 10;
  }
  std::vector<float> Sent() const { return requests.Frequencies(); }

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
  EXPECT_EQ(Sent(), (std::vector<float>{14.175F, 14.17501F, 13.17501F}));
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
  EXPECT_EQ(Sent(), std::vector<float>{7.15F});
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
  EXPECT_EQ(Sent(), std::vector<float>{1.80001F});
}

TEST_F(TunePanel, AStepLandingOnToIsSentAndTheNextWrapsToFrom) {
  Replace(panel.txtFrom, "14.2");
  Replace(panel.txtTo, "14.25");
  Replace(panel.txtFreq, "14.2475");
  Click(panel.Option5);  // 2.5 kHz
  Click(panel.chkScan);
  ASSERT_EQ(14.2475F + 0.0025F, 14.25F) << "the step lands on To exactly";
  Tick();
  EXPECT_EQ(panel.txtFreq.Text(), "14.25");
  Tick();
  EXPECT_EQ(panel.txtFreq.Text(), "14.2");
  EXPECT_EQ(Sent(), (std::vector<float>{14.25F, 14.2F}));
}

TEST_F(TunePanel, ScanShowsWholeMegahertzWithThePointAndNoZeroBeforeIt) {
  const struct {
    const char* from;
    const char* shown;
    float sent;
  } cases[] = {{"27.9975", "28.", 28}, {"0.4975", ".5", 0.5F}};
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

}  // namespace
