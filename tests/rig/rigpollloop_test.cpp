// The poll loop with a rig that answers on the far end of a serial line: what goes to the rig on
// each tick, and what the operator then sees in the rig window and in the main window's band and
// mode.
#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "rig/globals.h"

#include <QTemporaryDir>

#include <memory>

#include "answeringrig.h"
#include "rigwindowtesting.h"
#include "testbound.h"

namespace {

using platform::Instance;
using rig::RigControlfrm;

constexpr int kRigPort = 3;
using peertesting::kBoundMs;

QByteArray Hex(const char* pairs) { return QByteArray::fromHex(pairs); }

class RigPollLoop : public RigWindowTest {
 protected:
  void SetUp() override {
    RigWindowTest::SetUp();
    app::ContestType = 1;
    rigOnLine = std::make_unique<AnsweringRig>(kRigPort, RIGRESPONDER_PATH);
    LogOn("10 G", "PH");
  }

  AnsweringRig& rig() { return *rigOnLine; }
  static app::Form1& main() { return Instance<app::Form1>(); }

  // The main window's band and mode as the operator last chose them.
  static void LogOn(const QString& band, const QString& mode) {
    logging::CurrentBand = band;
    logging::CurrentMode = mode;
    main().Label21.SetCaption(band + "Hz");
    main().Label30.SetCaption(mode);
  }
  // The band and mode the main window shows: "144 MHz CW".
  static QString MainShows() { return main().Label21.Caption() + ' ' + main().Label30.Caption(); }

  // The rig chosen on the answering rig's port, polled as fast as the window offers.
  static void Start(RigControlfrm& w, const QString& rigName) {
    ChooseRig(w, rigName);
    Click(w.optComm(kRigPort - 1));
    Click(w.optPollFast);
    Click(w.Command1);
  }
  // Polled on the answering rig's port with the window's settings, then ticked by the test
  // alone: Test has run the first send tick.
  static void PollByTicks(RigControlfrm& w) {
    Click(w.optComm(kRigPort - 1));
    Click(w.Command1);
    w.tmrGetData.SetEnabled(false);
  }
  static void StartTicking(RigControlfrm& w, const QString& rigName) {
    ChooseRig(w, rigName);
    PollByTicks(w);
  }
  static void Tick(RigControlfrm& w) { w.tmrGetData.Tick(); }
  // A read tick once `count` reply bytes have arrived.
  static void ReadTickAfter(RigControlfrm& w, int count) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.comComm1.InBufferCount() >= count; }, kBoundMs))
        << w.comComm1.InBufferCount() << " of " << count;
    ASSERT_EQ(w.AwaitingReply, 1);
    Tick(w);
  }
  // What the rig has received, once it holds `count` bytes.
  QByteArray ReceivedOnce(int count) {
    QByteArray received;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (received = rig().Received()).size() >= count; }, kBoundMs))
        << received.toHex(' ').toStdString();
    return received;
  }
  static void TypeCommand(platform::TextBox& box, const QString& command) {
    QTest::mouseClick(box.Widget(), Qt::LeftButton);
    QTest::keyClick(box.Widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box.Widget(), Qt::Key_Delete);
    QTest::keyClicks(box.Widget(), command);
  }

  std::unique_ptr<AnsweringRig> rigOnLine;
};

// Each family's answers for the rig on a frequency in CW, as the rig sends them.
struct FamilyCase {
  const char* rig;
  QList<std::pair<QByteArray, QByteArray>> answers;  // request, reply
  const char* frequencyShown;
  const char* mainShows;
};

QList<FamilyCase> FamilyCases() {
  const QByteArray ifRecord = "IF00144200000" + QByteArray(16, '0') + "30" + "0000;";
  return {
      {"Kenwood", {{"FA;", "FA00144200000;"}, {"MD;", "MD3;"}}, "144.20000", "144 MHz CW"},
      {"Elecraft", {{"FA;", "FA00050125000;"}, {"MD;", "MD7;"}}, "50.12500", "50 MHz CW"},
      {"Kenwood 2", {{"IF;", ifRecord}}, "144.20000", "144 MHz CW"},
      {"Yaesu FTdx9000", {{"FA;", "FA50125000;"}, {"MD0;", "MD03;"}}, "50.12500", "50 MHz CW"},
      {"Ten Tec Orion", {{"?AF\r", "@AF144200000\r"}, {"?RMM\r", "@RMM3\r"}}, "144.20000", "144 MHz CW"},
      // CI-V: the poll's echo first, then the rig's answer.
      {"Icom",
       {{Hex("FEFE64E003FD"), Hex("FEFE64E003FD" "FEFEE06403" "0000204401" "FD")},
        {Hex("FEFE64E004FD"), Hex("FEFE64E004FD" "FEFEE0640403" "01FD")}},
       "144.20000", "144 MHz CW"},
      {"Ten Tec Omni VI",
       {{Hex("FEFE04E003FD"), Hex("FEFE04E003FD" "FEFEE00403" "0000102302" "FD")},
        {Hex("FEFE04E004FD"), Hex("FEFE04E004FD" "FEFEE0040403" "01FD")}},
       "223.10000", "222 MHz CW"},
      {"Icom 735",
       {{Hex("FEFE64E003FD"), Hex("FEFE64E003FD" "FEFEE06403" "00002050" "FD")},
        {Hex("FEFE64E004FD"), Hex("FEFE64E004FD" "FEFEE0640403" "01FD")}},
       "50.20000", "50 MHz CW"},
      {"Yaesu", {{Hex("0000000003"), Hex("1442000002")}}, "144.20000", "144 MHz CW"},
      {"Yaesu 757 GX II", {{Hex("0000000010"), Hex("0000000000" "00004214" "02")}}, "144.20000", "144 MHz CW"},
      // 14420000 tens of Hz is DC0820 in hex; the mode in the low digit of byte 8.
      {"Yaesu 890", {{Hex("0000000210"), Hex("0000DC0820000002")}}, "144.20000", "144 MHz CW"},
      {"Yaesu 1000", {{Hex("0000000210"), Hex("000DC08200000002")}}, "144.20000", "144 MHz CW"},
      {"Yaesu 990", {{Hex("0000000210"), Hex("00DC082000000002")}}, "144.20000", "144 MHz CW"},
      {"Yaesu 1000 D", {{Hex("0000000210"), Hex("00DC082000000002")}}, "144.20000", "144 MHz CW"},
      // 432100000 Hz is 19C152A0 in hex; 1 is CW here.
      {"Yaesu 920", {{Hex("0000000210"), Hex("0019C152A0000001")}}, "432.10000", "432 MHz CW"},
      // 144200000 Hz is 08985140 in hex.
      {"Ten Tec Fnt Pnl", {{Hex("3F410D"), Hex("41089851400D")}, {Hex("3F4D0D"), Hex("4D33330D")}},
       "144.20000", "144 MHz CW"},
  };
}

TEST_F(RigPollLoop, EachFamilysAnswersMoveTheMainWindowToTheRigsBandAndMode) {
  for (const FamilyCase& c : FamilyCases()) {
    SCOPED_TRACE(c.rig);
    platform::UnloadIfLoaded<RigControlfrm>();  // a fresh window: nothing held from the last rig
    rig().Forget();
    for (const auto& [request, reply] : c.answers) rig().Answer(request, reply);
    LogOn("10 G", "PH");
    RigControlfrm& w = OpenWindow();
    Start(w, c.rig);
    EXPECT_TRUE(QTest::qWaitFor([&] { return MainShows() == c.mainShows && w.lblMode.Caption() == "CW"; }, kBoundMs))
        << MainShows().toStdString() << " / " << w.lblFreq.Caption().toStdString();
    EXPECT_EQ(w.lblFreq.Caption(), c.frequencyShown);
    EXPECT_TRUE(main().mnuCW.Checked());
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(RigPollLoop, AHiddenWindowStillHandsTheRigOnButItsLabelsKeepTheirText) {
  rig().Answer("FA;", "FA00144200000;");
  rig().Answer("MD;", "MD3;");
  RigControlfrm& w = OpenWindow();
  ChooseRig(w, "Kenwood");
  Click(w.optComm(kRigPort - 1));
  Click(w.optPollFast);
  Click(w.cmdDone);  // starts polling and hides the window
  ASSERT_FALSE(w.Visible());
  EXPECT_TRUE(QTest::qWaitFor([&] { return MainShows() == "144 MHz CW"; }, kBoundMs)) << MainShows().toStdString();
  EXPECT_EQ(w.lblFreq.Caption(), "No Response");
  EXPECT_EQ(w.lblMode.Caption(), "No Response");
}

TEST_F(RigPollLoop, DontUseStopsTheModeAndAnUncheckedUseFrequencyTheBand) {
  rig().Answer("FA;", "FA00144200000;");
  rig().Answer("MD;", "MD3;");
  RigControlfrm& w = OpenWindow();
  {
    SCOPED_TRACE("mode not used");
    Click(w.OptDont);
    Start(w, "Kenwood");
    EXPECT_TRUE(QTest::qWaitFor([&] { return MainShows() == "144 MHz PH"; }, kBoundMs)) << MainShows().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.lblMode.Caption() == "CW"; }, kBoundMs));
    w.tmrGetData.SetEnabled(false);
  }
  {
    SCOPED_TRACE("frequency not used");
    LogOn("10 G", "PH");
    Click(w.OptRig);
    Click(w.chkFrequency);
    ASSERT_EQ(w.chkFrequency.Value(), 0);
    Start(w, "Kenwood");
    EXPECT_TRUE(QTest::qWaitFor([&] { return MainShows() == "10 GHz CW"; }, kBoundMs)) << MainShows().toStdString();
    // Many more polls, and the band stays.
    const int seen = rig().Received().count("FA;");
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig().Received().count("FA;") > seen + 3; }, kBoundMs));
    EXPECT_EQ(MainShows(), "10 GHz CW");
    EXPECT_EQ(w.lblFreq.Caption(), "144.20000");
  }
}

TEST_F(RigPollLoop, A757InAmShowsAmAndLeavesTheLogsMode) {
  rig().Answer(Hex("0000000010"), Hex("0000000000" "00004214" "04"));
  RigControlfrm& w = OpenWindow();
  Start(w, "Yaesu 757 GX II");
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.lblMode.Caption() == "AM" && MainShows() == "144 MHz PH"; }, kBoundMs))
      << MainShows().toStdString();
}

// The whole transcript of an opening and two send ticks: the wake-up, if the rig has one, then
// exactly the polls, so a command too short to go out is seen not to.
TEST_F(RigPollLoop, EachSendTickWritesWhatItsRigFamilyPolls) {
  const QByteArray yaesuWakeUp(5, '\0');
  const struct {
    const char* rig;
    const char* frequencyCommand;  // nullptr: the rig's own
    const char* modeCommand;
    QByteArray sent;
  } cases[] = {
      {"Kenwood", nullptr, nullptr, "FA;MD;FA;MD;"},
      {"Kenwood 2", nullptr, nullptr, "IF;IF;"},
      {"Ten Tec Orion", nullptr, "", "X\r?AF\r?AF\r"},
      {"Ten Tec Orion", nullptr, nullptr, "X\r?AF\r?RMM\r?AF\r?RMM\r"},
      {"Yaesu FTdx9000", nullptr, nullptr, "FA;MD0;"},
      // Two characters go out; one does not, but takes its turn.
      {"Yaesu FTdx9000", "FA", "M", "FA"},
      {"Yaesu FTdx9000", "F", "MD0;", "MD0;"},
      {"Icom", nullptr, nullptr, Hex("FEFE64E003FD" "FEFE64E004FD")},
      // Lower-case pairs count; a command of 16 characters is never sent but takes its turn.
      {"Icom", "fe fe 64 e0 03 f", "fe fe 64 e0 04 fd", Hex("FEFE64E004FD")},
      {"Icom", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 F", Hex("FEFE64E003FD")},
      {"Ten Tec Omni VI", nullptr, nullptr, Hex("FEFE04E003FD" "FEFE04E004FD")},
      {"Ten Tec Fnt Pnl", nullptr, nullptr, Hex("3F410D" "3F4D0D")},
      // Seven characters hold three pairs, the last of one digit; six are too short.
      {"Ten Tec Fnt Pnl", "3F 41 0", "3F 4D ", Hex("3F4100")},
      {"Ten Tec Fnt Pnl", "3F 41 ", "3F 4D 0D", Hex("3F4D0D")},
      {"Yaesu 890", nullptr, nullptr, yaesuWakeUp + Hex("0000000210" "0000000210")},
      {"Yaesu 890", "00 00 00 02 1", nullptr, yaesuWakeUp},  // 13 characters: no poll at all
      {"Yaesu", nullptr, nullptr, yaesuWakeUp + Hex("0000000003" "0000000003")},
      {"Other", "FA;", "MD;", "FA;MD;FA;MD;"},
  };
  char marker = 'a';
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.rig) + " " + c.sent.toHex(' ').toStdString());
    platform::UnloadIfLoaded<RigControlfrm>();
    RigControlfrm& w = OpenWindow();
    ChooseRig(w, c.rig);
    if (c.frequencyCommand) TypeCommand(w.txtFreq, c.frequencyCommand);
    if (c.modeCommand) TypeCommand(w.txtMode, c.modeCommand);
    const qsizetype before = rig().Received().size();
    PollByTicks(w);
    for (int tick = 0; tick < 3; ++tick) Tick(w);
    EXPECT_EQ(w.AwaitingReply, 0);
    ++marker;
    w.comComm1.SetOutput(QString(QChar(marker)));
    QByteArray received;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (received = rig().Received().mid(before)).endsWith(marker); }, kBoundMs))
        << received.toHex(' ').toStdString();
    received.chop(1);
    EXPECT_EQ(received.toHex(' '), c.sent.toHex(' '));
  }
}

TEST_F(RigPollLoop, OtherRigsHexCommandsGoAsBytesAndACommandThatIsNotHexIsNotSent) {
  RigControlfrm& w = OpenWindow();
  ChooseRig(w, "Other");
  Click(w.chkConvToHex);
  TypeCommand(w.txtFreq, "zz 01");
  TypeCommand(w.txtMode, "fe 0a");
  PollByTicks(w);
  for (int tick = 0; tick < 3; ++tick) Tick(w);
  EXPECT_EQ(ReceivedOnce(4).toHex(' '), "fe 0a fe 0a");
  EXPECT_EQ(w.AwaitingReply, 0);
}

TEST_F(RigPollLoop, EachReadTickParsesTheAnswerToTheCommandSentJustBefore) {
  // A rig that answers its mode poll with a frequency frame: never taken as the frequency.
  rig().Answer(Hex("FEFE64E004FD"), Hex("FEFEE06403" "0000104332" "FD" "FEFEE0640403" "01FD"));
  RigControlfrm& w = OpenWindow();
  StartTicking(w, "Icom");
  ASSERT_EQ(w.PollModeNext, 1);  // the frequency command went out, unanswered
  Tick(w);
  Tick(w);
  EXPECT_EQ(w.PollModeNext, 0);
  ReadTickAfter(w, 15);
  EXPECT_EQ(w.lblMode.Caption(), "CW");
  EXPECT_EQ(w.lblFreq.Caption(), "No Response");
  EXPECT_EQ(MainShows(), "10 GHz CW");
}

TEST_F(RigPollLoop, TheReadingAsShownBelowOneMegahertzAboveOneGigahertzAndInHex) {
  rig().Answer("FA;", "FA00000500000;");
  RigControlfrm& w = OpenWindow();
  StartTicking(w, "Kenwood");
  ReadTickAfter(w, 14);
  EXPECT_EQ(w.lblFreq.Caption(), ".50000");
  EXPECT_EQ(w.lblUnProcess.Caption(), "FA00000500000;");

  rig().Answer(Hex("FEFE64E003FD"), Hex("FEFE64E003FD" "FEFEE06403" "0000109612" "FD"));
  ChooseRig(w, "Icom");
  if (w.ChkConvHex.Value() == 0) Click(w.ChkConvHex);
  PollByTicks(w);
  ReadTickAfter(w, 17);
  EXPECT_EQ(w.lblFreq.Caption(), "1296.10000");
  EXPECT_EQ(w.lblUnProcess.Caption(), "FE FE 64 E0 03 FD FE FE E0 64 03 00 00 10 96 12 FD ");
  EXPECT_EQ(MainShows(), "1.3 GHz PH");
}

TEST_F(RigPollLoop, AMicrowaveFrequencyIsReadBackToTheHertz) {
  RigControlfrm& w = OpenWindow();
  const struct {
    const char* reply;
    double megahertz;
    const char* shown;
  } cases[] = {{"FA10368100000;", 10368.1, "10368.10000"},
               {"FA10368123456;", 10368.123456, "10368.12346"},
               {"FA00144200001;", 144.200001, "144.20000"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    rig().Answer("FA;", c.reply);
    StartTicking(w, "Kenwood");
    ReadTickAfter(w, 14);
    EXPECT_EQ(w.RigFrequency, c.megahertz);
    EXPECT_EQ(w.lblFreq.Caption(), c.shown);
  }
}

TEST_F(RigPollLoop, AReplySplitAcrossTwoReadTicksIsTakenWhenWhole) {
  rig().Answer("FA;", QList<QByteArray>{"FA0001442", "0000;FA00144200000;"});
  rig().Answer("MD;", "MD3;");
  RigControlfrm& w = OpenWindow();
  StartTicking(w, "Kenwood");
  ReadTickAfter(w, 13);
  EXPECT_EQ(w.lblFreq.Caption(), "No Response");  // a cut frequency is not read
  EXPECT_EQ(w.lblMode.Caption(), "CW");
  EXPECT_EQ(MainShows(), "10 GHz CW");
  Tick(w);
  ReadTickAfter(w, 23);
  EXPECT_EQ(w.lblFreq.Caption(), "144.20000");
  EXPECT_EQ(MainShows(), "144 MHz CW");
}

TEST_F(RigPollLoop, ASilentRigLeavesTheLabelsAndHandsNothingOn) {
  rig().Answer("FA;", "FA00144200000;");
  RigControlfrm& w = OpenWindow();
  StartTicking(w, "Kenwood");
  ReadTickAfter(w, 14);
  ASSERT_EQ(w.lblFreq.Caption(), "144.20000");
  ASSERT_EQ(MainShows(), "144 MHz PH");
  rig().Forget();
  LogOn("10 G", "PH");
  const int before = rig().Received().size();
  Tick(w);
  ReceivedOnce(before + 6);  // the poll went out, and no answer comes
  Tick(w);
  EXPECT_EQ(w.AwaitingReply, 0);
  EXPECT_EQ(w.lblFreq.Caption(), "144.20000");
  EXPECT_EQ(w.lblUnProcess.Caption(), "FA00144200000;");
  EXPECT_EQ(MainShows(), "10 GHz PH");
  EXPECT_EQ(w.Label2.Caption(), "Polling Rig") << "a silent rig is still polled";
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(RigPollLoop, CommandsStillWaitingToGoOutAreNotJoinedByAPoll) {
  RigControlfrm& w = OpenWindow();
  StartTicking(w, "Kenwood");
  Tick(w);
  const QByteArray backlog(256 * 1024, 'x');
  const int before = ReceivedOnce(6).size();
  rig().Hold();
  w.comComm1.SetOutput(QString::fromLatin1(backlog));
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.comComm1.OutBufferCount() > 0; }, kBoundMs));
  Tick(w);  // a send tick with the buffer busy
  EXPECT_EQ(w.AwaitingReply, 1);
  rig().Release();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.comComm1.OutBufferCount() == 0; }, kBoundMs));
  Tick(w);
  Tick(w);  // the next send tick finds the buffer empty
  const QByteArray received = ReceivedOnce(before + backlog.size() + 6).mid(before);
  EXPECT_EQ(received, backlog + "FA;MD;");
}

// The rig's adapter pulled out mid-poll and plugged in again on the same path, the rig then on
// another band.
class RigPulledOut : public RigPollLoop {
 protected:
  static constexpr const char* kLost = "Rig Lost, Retrying";

  // Polled by the window's own timer until the main window follows the rig on 144.2 MHz.
  RigControlfrm& PollFollowed() {
    rig().Answer("FA;", "FA00144200000;");
    RigControlfrm& w = Instance<RigControlfrm>();
    Start(w, "Kenwood");
    EXPECT_TRUE(QTest::qWaitFor([&] { return MainShows() == "144 MHz PH"; }, kBoundMs)) << MainShows().toStdString();
    return w;
  }
  // Pulls the rig out and waits for the window to say so, in its status and one box more.
  void PullOutAndWaitForTheBox(const RigControlfrm& w) {
    const std::size_t boxes = dialogs.MessageBoxes().size();
    rig().PullOut();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return w.Label2.Caption() == kLost && dialogs.MessageBoxes().size() == boxes + 1; }, kBoundMs))
        << w.Label2.Caption().toStdString() << ", boxes " << dialogs.MessageBoxes().size();
  }
  // Plugs the rig in again, now on 50.125 MHz; what it received starts afresh.
  void PlugInOnSixMetres() {
    rig().PlugIn();
    rig().Answer("FA;", "FA00050125000;");
  }
  bool FollowedOnSixMetres(const RigControlfrm& w) {
    return MainShows() == "50 MHz PH" && w.lblFreq.Caption() == "50.12500" && w.Label2.Caption() == "Polling Rig";
  }
};

TEST_F(RigPulledOut, TheWindowSaysSoOnceWithTheReasonAndPollsAgainByItselfOnceTheRigIsBack) {
  const struct {
    const char* when;
    bool triedWhileAway;
  } cases[] = {{"back before the first retry", false}, {"back after a retry found nothing", true}};
  OpenWindow();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.when);
    LogOn("10 G", "PH");
    RigControlfrm& w = PollFollowed();
    const int beeps = dialogs.Beeps();
    const std::size_t boxes = dialogs.MessageBoxes().size();
    PullOutAndWaitForTheBox(w);
    ASSERT_EQ(dialogs.MessageBoxes().size(), boxes + 1);
    const platform::MessageBoxShown box = dialogs.MessageBoxes().back();
    EXPECT_EQ(box.title, "Invalid Comm Settings.");
    EXPECT_EQ(box.style, platform::MsgBoxStyle::OKOnly | platform::MsgBoxStyle::Information);
    EXPECT_TRUE(box.prompt.startsWith(QString(kInvalidCommSettings) + "\r\n\r\n")) << box.prompt.toStdString();
    EXPECT_TRUE(box.prompt.contains("the device of serial port 3, failed: Input/output error"))
        << box.prompt.toStdString();
    EXPECT_EQ(dialogs.Beeps(), beeps + 1);
    // No frequency or mode is shown as if it were current.
    EXPECT_TRUE(w.Label2.Visible());
    EXPECT_EQ(w.lblFreq.Caption(), "No Response");
    EXPECT_EQ(w.lblMode.Caption(), "No Response");
    EXPECT_TRUE(w.Command2.Enabled());
    LogOn("10 G", "PH");
    if (c.triedWhileAway) {
      w.tmrReopenPort.Tick();
      EXPECT_EQ(w.Label2.Caption(), kLost);
    }

    PlugInOnSixMetres();
    EXPECT_TRUE(QTest::qWaitFor([&] { return FollowedOnSixMetres(w); }, kBoundMs))
        << MainShows().toStdString() << ", " << w.Label2.Caption().toStdString();
    EXPECT_TRUE(Polling(w));
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig().Received().count("FA;MD;") >= 2; }, kBoundMs))
        << rig().Received().toStdString();
    EXPECT_EQ(dialogs.MessageBoxes().size(), boxes + 1) << "one box each time the rig goes";
  }
}

TEST_F(RigPulledOut, TestWhileTheRigIsGoneIsRefusedAndStopsTheRetriesAndDoneOnceItIsBackPollsAtOnce) {
  OpenWindow();
  RigControlfrm& w = PollFollowed();
  PullOutAndWaitForTheBox(w);
  Click(w.Command1);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 2u);
  EXPECT_EQ(dialogs.MessageBoxes().back().prompt, kInvalidCommSettings);
  EXPECT_FALSE(Polling(w));
  EXPECT_FALSE(w.Label2.Visible());
  EXPECT_FALSE(w.tmrReopenPort.Enabled());

  PlugInOnSixMetres();
  Click(w.cmdDone);  // which hides the window: its displays rest
  EXPECT_TRUE(Polling(w));
  EXPECT_EQ(w.Label2.Caption(), "Polling Rig");
  EXPECT_TRUE(QTest::qWaitFor([&] { return MainShows() == "50 MHz PH"; }, kBoundMs)) << MainShows().toStdString();
  EXPECT_EQ(dialogs.MessageBoxes().size(), 2u);
}

TEST_F(RigPollLoop, ModeFromTheFrequencyOfTheSubBandsStrictlyInside) {
  RigControlfrm& w = Instance<RigControlfrm>();
  const struct {
    float megahertz;
    const char* mode;
  } cases[] = {{14.0f, "held"}, {14.15f, "held"}, {3.6f, "held"}, {14.1f, "CW"}, {14.2f, "PH"},
               {432.1f, "held"}, {144.05f, "CW"}, {144.2f, "PH"}, {3.4f, "held"}, {0.0f, "held"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.megahertz);
    w.RigFrequency = c.megahertz;
    w.RigMode = "held";
    w.ModeFromFrequency();
    EXPECT_EQ(w.RigMode, c.mode);
  }
}

TEST_F(RigPollLoop, ModeByFrequencyOverridesTheRigsMode) {
  rig().Answer("FA;", "FA00144050000;");
  rig().Answer("MD;", "MD1;");
  RigControlfrm& w = OpenWindow();
  Click(w.OptFreq);
  StartTicking(w, "Kenwood");
  ReadTickAfter(w, 18);
  EXPECT_EQ(w.lblMode.Caption(), "CW");
  EXPECT_EQ(MainShows(), "144 MHz CW");
}

// The Pegasus is read from its exchange file on every read tick; it has no port.
class PegasusPolling : public RigPollLoop {
 protected:
  void SetUp() override {
    RigPollLoop::SetUp();
    qputenv("CORVANE_PEGASUS_DIR", QFile::encodeName(exchange.path()));
  }
  void TearDown() override {
    qunsetenv("CORVANE_PEGASUS_DIR");
    RigPollLoop::TearDown();
  }
  void WriteOut(const QByteArray& content) {
    QFile file(exchange.filePath("PEGASUS.OUT"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }
  QTemporaryDir exchange;
};

TEST_F(PegasusPolling, TheExchangeFilesModeReachesTheMainWindow) {
  const struct {
    const char* content;  // nullptr: no file
    const char* modeShown;
    const char* mainShows;
  } cases[] = {
      {"144.2,\"CW\"\r\n", "CW", "144 MHz CW"},
      {"144.2,\"cw\"\r\n", "PH", "144 MHz PH"},
      {"14.25,\"\"\r\n", "", "10 GHz CW"},
      {nullptr, "", "10 GHz CW"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content ? c.content : "no file");
    platform::UnloadIfLoaded<RigControlfrm>();
    QFile::remove(exchange.filePath("PEGASUS.OUT"));
    if (c.content) WriteOut(c.content);
    LogOn("10 G", "CW");
    RigControlfrm& w = OpenWindow();
    StartTicking(w, "Ten Tec Pegasus");
    EXPECT_FALSE(w.comComm1.PortOpen());
    EXPECT_EQ(w.AwaitingReply, 1);
    Tick(w);
    EXPECT_EQ(w.AwaitingReply, 0);
    EXPECT_EQ(w.lblMode.Caption(), c.modeShown);
    EXPECT_EQ(MainShows(), c.mainShows);
  }
}

}  // namespace
