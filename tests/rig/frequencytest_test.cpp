#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "rig/frmfrequencytest.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigrequests.h"

#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formtesting.h"
#include "ptypair.h"
#include "rigwindowtesting.h"
#include "testbound.h"

using rig::frmFrequencyTest;

namespace {

using peertesting::kBoundMs;

void Replace(platform::TextBox& box, const QString& keys) {
  box.SetText("");
  box.SetFocus();
  QTest::keyClicks(box.Widget(), keys);
}

// The test window over a rig window whose port is open on a socat line, the rig played by the
// test at the line's far end.
class CommandTestWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("CORVANE_PORT1", QByteArray::fromStdString(line.HostEnd()));
    rig::RigControlfrm& rigWindow = platform::InstanceWithoutLoad<rig::RigControlfrm>();
    rigWindow.comComm1.SetCommPort(1);
    rigWindow.comComm1.SetPortOpen(true);
    ShowActive(window);
  }
  void TearDown() override {
    platform::UnloadAll();
    qunsetenv("CORVANE_PORT1");
  }

  static void Click(const platform::Control& control) { QTest::mouseClick(control.Widget(), Qt::LeftButton); }

  // Sends a command as typed, then a plain marker, and gives what the rig received before it.
  std::string RigReceives(const QString& command, bool hex) {
    window.Check1.SetValue(hex ? 1 : 0);
    Replace(window.Text1, command);
    Click(window.Command1);
    window.Check1.SetValue(0);
    Replace(window.Text1, "|");
    Click(window.Command1);
    std::string received;
    const bool marked = QTest::qWaitFor(
        [&] { return (received += rig.Read()).find('|') != std::string::npos; }, kBoundMs);
    EXPECT_TRUE(marked) << "received " << received;
    return received.substr(0, received.find('|'));
  }

  peertesting::PtyPair line;
  peertesting::PtyEnd rig{line.PeerEnd()};
  platform::ScriptedDialogs dialogs;
  frmFrequencyTest& window = platform::Instance<frmFrequencyTest>();
};

TEST_F(CommandTestWindow, SendsTheCommandWithoutOuterBlanksAndNothingAdded) {
  EXPECT_EQ(RigReceives("  FA 00007150000;  ", false), "FA 00007150000;");
}

TEST_F(CommandTestWindow, HexPairsGoOutAsBytesAndABadFirstPairSendsNothing) {
  const struct {
    const char* typed;
    std::string bytes;
  } cases[] = {
      {" FE FE 64 E0 03 FD ", std::string("\xFE\xFE\x64\xE0\x03\xFD", 6)},
      {"FEFE", std::string("\xFE\x0E", 2)},  // pairs stand every third character
      {"fe-00", std::string("\xFE\x00", 2)},  // any separator, either case
      {"GE FE", ""},
      {"FE FG", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(RigReceives(c.typed, true), c.bytes);
  }
}

TEST_F(CommandTestWindow, AClosedPortEndsTheSendSilently) {
  platform::Instance<rig::RigControlfrm>().comComm1.SetPortOpen(false);
  Click(window.Command1);
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_TRUE(window.Visible());
}

TEST_F(CommandTestWindow, TheSecondSendTunesThroughTheRigWindowAndOnlyToANumber) {
  rig::RecordedRigRequests requests;
  for (const char* typed : {"7.1", "seven", "7,1", ""}) {
    Replace(window.Text2, typed);
    Click(window.Command2);
  }
  EXPECT_EQ(requests.Frequencies(), std::vector<double>{7.1});
}

TEST_F(CommandTestWindow, EveryOpeningStartsFromTheDefaults) {
  EXPECT_EQ(window.Text1.Text(), "FA00028475000;");
  EXPECT_EQ(window.Text2.Text(), "28.475");
  Replace(window.Text1, "XX");
  Replace(window.Text2, "1");
  window.Unload();
  platform::DoEvents();
  ASSERT_FALSE(platform::IsLoaded<frmFrequencyTest>());
  const frmFrequencyTest& reopened = platform::Instance<frmFrequencyTest>();
  EXPECT_EQ(reopened.Text1.Text(), "FA00028475000;");
  EXPECT_EQ(reopened.Text2.Text(), "28.475");
}

// The test window over a Kenwood polled on a simulated rig, without a band plan.
class CommandTestWindowOnAPolledRig : public PolledRigTest {};

TEST_F(CommandTestWindowOnAPolledRig, TheSecondSendReachesTheRigAsItsSetFrequencyCommand) {
  Start("Kenwood");
  frmFrequencyTest& window = platform::Instance<frmFrequencyTest>();
  ShowActive(window);
  for (const auto& [typed, sent] : {std::pair{"7.1", "FA00007100000;"}, {"10368.1", "FA10368100000;"}}) {
    Replace(window.Text2, typed);
    Click(window.Command2);
    EXPECT_EQ(Sent(), sent);
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

}  // namespace
