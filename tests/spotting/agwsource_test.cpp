// The spotting window on an AGW packet engine the test runs on the loopback: registering, the
// monitored spots and the connected station's frames, what the operator types, closing, and an
// engine that sends bad frames or goes away.
#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "platform/agwengine.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotlist.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "agwengine_peer.h"
#include "formtesting.h"
#include "programfolderfixture.h"
#include "spotlistrows.h"
#include "testbound.h"

namespace {

using peertesting::MonitoredFrame;
using platform::AgwFrame;
using platform::Instance;
using spotting::PacketSpotfrm;

using peertesting::kBoundMs;

const QString kOpened =
    "** Attempting to Open Port **\r\n\r\n\r\n** Successfully connected to AGW Packet Engine **\r\n\r\n";

// A cluster's DX line as a station passes it on: the kHz in columns 16-24, the call from column 27.
QByteArray DxLine(const char* kilohertz, const char* call) {
  return QStringLiteral("DX de Q2ABC:   %1  %2FN42")
      .arg(QString::fromLatin1(kilohertz), 9)
      .arg(QString::fromLatin1(call), -13)
      .toLatin1();
}

// The engine's heading of a monitored frame, then its text, each line ended by CR.
AgwFrame Monitored(const QByteArray& from, const QByteArray& to, const QByteArray& text) {
  const QByteArray heading = " 1:Fm " + from + " To " + to + " <UI pid=F0 Len=75 PF=0 >[12:10:07]\r";
  return MonitoredFrame(from, to, heading + text + "\r");
}

AgwFrame FromStation(char kind, const QByteArray& station, const QByteArray& data = {}) {
  return {.kind = kind, .pid = 0xF0, .callFrom = station, .callTo = "Q1ABC", .data = data};
}

// What the operator does in the window, named for the trace.
struct WindowAction {
  const char* name;
  std::function<void(PacketSpotfrm&)> act;
};

// The window and the engine, with the program's own dialogs.
class AgwSourceWindow : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    platform::ChDir(folder.path());
    logging::CurrentBand = "144 M";
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(18, 0)), 0);
    spotting::CreateSpotListColumns(form);
    app::OwnCall = " Q1ABC ";
  }
  void TearDown() override {
    platform::UnloadAll();
    platform::AGWClose();
    ProgramFolderTest::TearDown();
  }

  // The spotting window shown with the AGW engine chosen from its list.
  static PacketSpotfrm& WindowWithEngineChosen() {
    PacketSpotfrm& w = Instance<PacketSpotfrm>();
    ShowActive(w);
    for (int i = 0; i < w.List1.ListCount(); ++i) {
      if (w.List1.List(i) == spotting::AGWSource) w.List1.SetListIndex(i);
    }
    return w;
  }
  static void Click(const platform::Control& control) { QTest::mouseClick(control.Widget(), Qt::LeftButton); }

  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  peertesting::SimulatedAgwEngine engine;
};

class AgwSourceTest : public AgwSourceWindow {
 protected:
  PacketSpotfrm& OpenedWindow() {
    PacketSpotfrm& w = WindowWithEngineChosen();
    Open(w);
    return w;
  }
  void Open(PacketSpotfrm& w) {
    const std::size_t before = engine.Received().size();
    Click(w.Command1);
    EXPECT_EQ(w.ReceivedText.Text(), kOpened);
    EXPECT_TRUE(w.Timer1.Enabled());
    ASSERT_TRUE(engine.WaitForClient());
    ASSERT_TRUE(engine.WaitForFrames(before + 2));
  }
  // Ticks the receive timer until the window has done what is waited for, without its 333 ms pace.
  static bool TickUntil(PacketSpotfrm& w, const std::function<bool()>& done) {
    return QTest::qWaitFor(
        [&] {
          w.Timer1.Tick();
          return done();
        },
        kBoundMs);
  }
  void ConnectStation(PacketSpotfrm& w, const QByteArray& station) {
    engine.Send(FromStation('C', station, "*** CONNECTED With Station " + station + "\r"));
    ASSERT_TRUE(TickUntil(w, [&] { return w.ConnectedCall == station; }));
  }
  static void Type(PacketSpotfrm& w, const QString& text) {
    QTest::keyClicks(w.txtSent.Widget(), text);
    QTest::keyClick(w.txtSent.Widget(), Qt::Key_Return);
  }

  QStringList SpotRows() const { return SpotListRows(form); }

  platform::ScriptedDialogs dialogs;
};

TEST_F(AgwSourceTest, OpenRegistersTheOwnCallAndTurnsMonitoringOn) {
  PacketSpotfrm& w = OpenedWindow();
  EXPECT_EQ(engine.KindsReceived(), "Xm");
  EXPECT_EQ(engine.Received()[0].callFrom, "Q1ABC");
  EXPECT_TRUE(w.Label4.Visible());
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(AgwSourceTest, AnEngineNotListeningIsReportedWithTheStepsToGetItAndTheSourceCloses) {
  engine.StopListening();
  PacketSpotfrm& w = WindowWithEngineChosen();
  const QString notReached =
      "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and receive packet with "
      "your soundcard or devices such a Baypac:";
  const QString download = "- Download the freely available software from the AGW Packet Engine website.";
  const QString shown = "** Attempting to Open Port **\r\n\r\n" + notReached + "\r\n\r\n" + download +
                        "\r\n\r\n- Run the Packet Engine software and configure it as described on the AGW Packet "
                        "Engine website for your sound card or TNC.\r\n\r\n- Click Open from this program.\r\n\r\n";

  // Opened while hidden (as the load opens a saved source), the window is shown with the report.
  w.Hide();
  w.Command1_Click();
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(w.ReceivedText.Text(), shown);
  EXPECT_FALSE(w.Label4.Visible());
  EXPECT_FALSE(w.Timer1.Enabled());
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Unable to connect to the AGW Packet Engine.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt,
            notReached + "\r\n\r\n" + download +
                "\r\n\r\n- Make sure the AGW Packet Engine software is running and configure it as described on "
                "the AGW Packet Engine website.");

  Click(w.Command1);
  EXPECT_EQ(w.ReceivedText.Text(), shown);
  EXPECT_EQ(dialogs.MessageBoxes().size(), 2u);
  EXPECT_EQ(dialogs.Beeps(), 0);
}

// The report of an engine not reached is a real box here, read while it is up: "Listening" says a
// source is open, so it shows once the engine is reached and not while the box says it is not,
// whether the window was listening before or not.
TEST_F(AgwSourceWindow, ListeningShowsOnlyOnceTheEngineIsReached) {
  PacketSpotfrm& w = WindowWithEngineChosen();
  for (const bool reachedFirst : {false, true}) {
    SCOPED_TRACE(reachedFirst ? "reopened" : "never reached");
    peertesting::SimulatedAgwEngine engineThisTime;
    if (reachedFirst) {
      Click(w.Command1);
      ASSERT_TRUE(engineThisTime.WaitForClient());
      EXPECT_TRUE(w.Label4.Visible());
    }
    engineThisTime.StopListening();

    std::optional<bool> listeningWhileBoxUp;
    QTimer boxWatch;
    QObject::connect(&boxWatch, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      boxWatch.stop();
      listeningWhileBoxUp = w.Label4.Visible();
      EXPECT_EQ(box->windowTitle(), "Unable to connect to the AGW Packet Engine.");
      box->button(QMessageBox::Ok)->click();
    });
    boxWatch.start(10);
    Click(w.Command1);
    ASSERT_TRUE(listeningWhileBoxUp.has_value()) << "the box was shown";
    EXPECT_FALSE(*listeningWhileBoxUp);
    EXPECT_FALSE(w.Label4.Visible());
  }
}

TEST_F(AgwSourceTest, AnOwnCallOfBlanksIsAskedForAndTheEngineIsNotContacted) {
  app::OwnCall = "   ";
  PacketSpotfrm& w = WindowWithEngineChosen();
  Click(w.Command1);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Call Sign Required!");
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "Please enter your call sign on the setup form to transmit!");
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_FALSE(w.Timer1.Enabled());
  EXPECT_EQ(platform::AGWPutData("Q1XYZ", "", 'd', 0, 0), 0) << "no connection to the engine";
  EXPECT_FALSE(w.Label4.Visible()) << "nothing listens";
}

// With nothing opened the window does not say "Listening", so each way of opening that waits for
// a closed source opens the engine once the operator has entered a call.
TEST_F(AgwSourceTest, AfterABlankOwnCallDoneEscOrEnterOpenTheEngineOnceACallIsEntered) {
  const WindowAction ways[] = {
      {"Done", [](PacketSpotfrm& w) { Click(w.cmdDone); }},
      {"Esc", [](PacketSpotfrm& w) { QTest::keyClick(w.txtSent.Widget(), Qt::Key_Escape); }},
      {"Enter", [](PacketSpotfrm& w) { QTest::keyClick(w.txtSent.Widget(), Qt::Key_Return); }},
  };
  for (const WindowAction& way : ways) {
    SCOPED_TRACE(way.name);
    app::OwnCall = "   ";
    PacketSpotfrm& w = WindowWithEngineChosen();
    Click(w.Command1);
    ASSERT_FALSE(w.Label4.Visible());
    ASSERT_EQ(dialogs.MessageBoxes().back().title, "Call Sign Required!");
    app::OwnCall = "Q1ABC";
    const std::size_t before = engine.Received().size();
    way.act(w);
    EXPECT_TRUE(w.Label4.Visible());
    EXPECT_TRUE(w.Timer1.Enabled());
    ASSERT_TRUE(engine.WaitForFrames(before + 2));
    EXPECT_EQ(engine.KindsReceived().mid(static_cast<qsizetype>(before), 2), "Xm");
    w.Command2_Click();
    w.Unload();
  }
}

TEST_F(AgwSourceTest, AMonitoredSpotIsPostedOnceAndItsHeadingIsNoSpot) {
  PacketSpotfrm& w = OpenedWindow();
  const QByteArray spot = DxLine("144200.0", "Q1XYZ");
  engine.Send(Monitored("Q2ABC", "DX", spot));
  ASSERT_TRUE(TickUntil(w, [&] { return SpotRows().size() == 1; }));
  EXPECT_EQ(w.ReceivedText.Text(), kOpened + QString::fromLatin1(spot) + "\r\n");

  // Its repeat, a frame whose DX line is its first (the heading's place) and a beacon, then a spot.
  engine.Send(Monitored("Q2ABC", "DX", spot));
  engine.Send(MonitoredFrame("Q4ABC", "DX", DxLine("144300.0", "Q4FIRST") + "\rsecond line\r"));
  engine.Send(Monitored("Q3BCN", "ID", "Q3BCN beacon"));
  engine.Send(Monitored("Q2ABC", "DX", DxLine("144250.0", "Q5LAST")));
  ASSERT_TRUE(TickUntil(w, [&] { return SpotRows().size() == 2; }));
  EXPECT_EQ(SpotRows(), QStringList({"Q5LAST 144.25", "Q1XYZ 144.2"}));
  EXPECT_EQ(w.ReceivedText.Text(),
            kOpened + QString::fromLatin1(spot) + "\r\n" +
                "UQ3BCN  1:Fm Q3BCN To ID <UI pid=F0 Len=75 PF=0 >[12:10:07]\r\nQ3BCN beacon\r\n" +
                QString::fromLatin1(DxLine("144250.0", "Q5LAST")) + "\r\n")
      << "a frame without a DX line is shown whole, with its kind and station";

  // "List DX Only" hides the beacon.
  Click(w.chkDX);
  const QString before = w.ReceivedText.Text();
  engine.Send(Monitored("Q3BCN", "ID", "Q3BCN again"));
  engine.Send(Monitored("Q2ABC", "DX", DxLine("144260.0", "Q6DX")));
  ASSERT_TRUE(TickUntil(w, [&] { return SpotRows().size() == 3; }));
  EXPECT_EQ(w.ReceivedText.Text(), before + QString::fromLatin1(DxLine("144260.0", "Q6DX")) + "\r\n");
}

TEST_F(AgwSourceTest, TheConnectedStationIsNamedItsTextShownAndItsDisconnectAnnounced) {
  PacketSpotfrm& w = OpenedWindow();
  ConnectStation(w, "Q1XYZ");
  EXPECT_EQ(w.Caption(), "DX Spotting Setup - Connected to Q1XYZ");
  EXPECT_TRUE(w.ReceivedText.Text().endsWith("\r\n** Connected to Q1XYZ **"));
  EXPECT_EQ(dialogs.Beeps(), 1);

  // Another station's connect and disconnect change nothing; the connected station's text is
  // shown, and a DX line at its second place is posted with the columns counted from its first.
  QString shown = w.ReceivedText.Text();
  engine.Send(FromStation('C', "Q2OTHER", "*** CONNECTED With Station Q2OTHER\r"));
  engine.Send(FromStation('d', "Q2OTHER", "*** DISCONNECTED\r"));
  engine.Send(FromStation('D', "Q1XYZ", "hello there\r"));
  ASSERT_TRUE(TickUntil(w, [&] { return w.ReceivedText.Text().endsWith("hello there\r\n"); }));
  EXPECT_EQ(w.ReceivedText.Text(), shown + "hello there\r\n");
  engine.Send(FromStation('D', "Q1XYZ", " " + DxLine("144200.5", "Q5POS2") + "\r"));
  ASSERT_TRUE(TickUntil(w, [&] { return SpotRows().size() == 1; }));
  EXPECT_EQ(SpotRows(), QStringList({"Q5POS2 144.2"}));
  EXPECT_EQ(w.Caption(), "DX Spotting Setup - Connected to Q1XYZ");
  EXPECT_EQ(dialogs.Beeps(), 1);

  engine.Send(FromStation('d', "q1xyz", "*** DISCONNECTED\r"));
  ASSERT_TRUE(TickUntil(w, [&] { return w.ConnectedCall.isEmpty(); }));
  EXPECT_TRUE(w.ReceivedText.Text().endsWith("\r\n** Disconnected from Q1XYZ **\r\n"));
  EXPECT_EQ(w.Caption(), "DX Spotting Setup");
  EXPECT_EQ(dialogs.Beeps(), 3);
}

TEST_F(AgwSourceTest, TypedCommandsAndTextReachTheEngineAsItsFrames) {
  PacketSpotfrm& w = OpenedWindow();
  Type(w, ":c q1xyz");
  Type(w, ":C");
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Call sign Required");
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "You must enter a call sign to connect to such as :C Varnek");
  Type(w, ":");
  Type(w, "nobody connected");
  ConnectStation(w, "Q1XYZ");
  Type(w, "hello");
  const QString line70 = QString("abcdefghij").repeated(7);
  QTest::keyClicks(w.txtSent.Widget(), line70 + " ");
  EXPECT_EQ(w.txtSent.Text(), "") << "the blank after 70 characters sent the line";
  Type(w, ":D");
  QTest::keyClick(w.txtSent.Widget(), Qt::Key_Escape);
  EXPECT_EQ(w.txtSent.Text(), ":");

  ASSERT_TRUE(engine.WaitForFrames(6));
  EXPECT_EQ(engine.KindsReceived(), "XmCDDd");
  const std::vector<AgwFrame>& frames = engine.Received();
  for (std::size_t i = 2; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].callFrom, "Q1ABC");
    EXPECT_EQ(frames[i].callTo, "Q1XYZ");
  }
  EXPECT_TRUE(frames[2].data.isEmpty());
  EXPECT_EQ(frames[3].pid, 0xF0);
  EXPECT_EQ(frames[3].data, "hello\r");
  EXPECT_EQ(frames[4].data, line70.toLatin1() + "\r");
  EXPECT_TRUE(frames[5].data.isEmpty());
  EXPECT_EQ(w.ConnectedCall, "Q1XYZ") << "kept until the engine reports the disconnect";
}

TEST_F(AgwSourceTest, CloseAndUnloadWhileConnectedDisconnectTheStationBeforeTheEngine) {
  const WindowAction closings[] = {
      {"Close", [](PacketSpotfrm& w) { Click(w.Command2); }},
      {"unload", [](PacketSpotfrm& w) { w.Unload(); }},
  };
  for (const WindowAction& closing : closings) {
    SCOPED_TRACE(closing.name);
    PacketSpotfrm& w = OpenedWindow();
    ConnectStation(w, "Q1XYZ");
    const std::size_t before = engine.Received().size();
    closing.act(w);
    ASSERT_TRUE(engine.WaitUntilClientGone());
    ASSERT_EQ(engine.Received().size(), before + 1);
    EXPECT_EQ(engine.Received().back().kind, 'd');
    EXPECT_EQ(engine.Received().back().callTo, "Q1XYZ");
  }
  EXPECT_FALSE(platform::IsLoaded<PacketSpotfrm>());
}

TEST_F(AgwSourceTest, ABadFrameOrAnEngineGoneClosesTheSourceAfterTheFramesBeforeIt) {
  QByteArray lengthBeyond = platform::EncodeAgwFrame({.kind = 'U', .callFrom = "Q2ABC"});
  qToLittleEndian<quint32>(0xFFFFFFFF, lengthBeyond.data() + 28);
  QByteArray randomBytes(512, '\0');
  QRandomGenerator random(37);
  for (char& byte : randomBytes) byte = static_cast<char>(random.bounded(256));
  const QString badFrame = "\r\n** The AGW Packet Engine sent a bad frame **\r\n";
  const struct {
    const char* what;
    QByteArray bytes;
    bool thenGone;
    QString shown;
  } cases[] = {
      {"length 0xFFFFFFFF", lengthBeyond, false, badFrame},
      {"header cut short", platform::EncodeAgwFrame({.kind = 'U'}).left(20), true, badFrame},
      {"random bytes", randomBytes, false, badFrame},
      {"engine gone", {}, true, ""},
  };
  PacketSpotfrm& w = OpenedWindow();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (!w.Label4.Visible()) Open(w);
    ConnectStation(w, "Q1XYZ");
    const int spots = static_cast<int>(SpotRows().size());
    engine.Send(FromStation('D', "Q1XYZ", DxLine("144200.0", c.what) + "\r"));
    engine.SendBytes(c.bytes);
    if (c.thenGone) engine.DropClient();
    ASSERT_TRUE(TickUntil(w, [&] { return !w.Label4.Visible(); }));
    EXPECT_EQ(SpotRows().size(), spots + 1) << "the frame before it still counts";
    EXPECT_TRUE(w.ReceivedText.Text().endsWith(c.shown + "\r\n\r\n** Port Closed **"));
    EXPECT_FALSE(w.Timer1.Enabled());
    EXPECT_EQ(w.Caption(), "DX Spotting Setup");
    EXPECT_TRUE(engine.WaitUntilClientGone());
  }

  // The window goes on: opened again, it spots.
  Open(w);
  engine.Send(Monitored("Q2ABC", "DX", DxLine("144300.0", "Q9AGAIN")));
  ASSERT_TRUE(TickUntil(w, [&] { return SpotRows().contains("Q9AGAIN 144.3"); }));
}

// While the window is hidden, as during a contest, an engine that went away is tried again every
// 30 s without a box or a wait, and the main window's title says the spots are down until the
// engine is back on its port and the window has registered again.
TEST_F(AgwSourceTest, AnEngineThatWentIsRegisteredWithAgainWhileTheMainWindowSaysTheSpotsAreDown) {
  const QString design = form.Caption();
  PacketSpotfrm& w = OpenedWindow();
  Click(w.cmdDone);
  ASSERT_FALSE(w.Visible());
  ASSERT_EQ(w.ReopenTimer.Interval(), 30000);
  w.ReopenTimer.SetInterval(10 * kBoundMs);  // only the test's ticks

  engine.StopListening();
  engine.DropClient();
  ASSERT_TRUE(TickUntil(w, [&] { return !w.Label4.Visible(); }));
  EXPECT_TRUE(w.ReceivedText.Text().endsWith("\r\n\r\n** Port Closed **"));
  EXPECT_TRUE(w.ReopenTimer.Enabled());
  EXPECT_TRUE(form.Caption().endsWith("DX Spots Down - Reconnecting"));
  EXPECT_EQ(form.Caption().left(50).trimmed(), "Varnek's Corvane Log 2.5") << "the engine's application name";

  w.ReopenTimer.Tick();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.AGWProbe.State() == platform::SocketClosed; }, kBoundMs));
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(dialogs.Beeps(), 0);
  EXPECT_FALSE(w.Visible());
  EXPECT_FALSE(w.Label4.Visible());
  EXPECT_TRUE(w.ReopenTimer.Enabled());

  const std::size_t before = engine.Received().size();
  ASSERT_TRUE(engine.Listen());
  w.ReopenTimer.Tick();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.Label4.Visible(); }, kBoundMs));
  ASSERT_TRUE(engine.WaitForFrames(before + 2));
  EXPECT_EQ(engine.KindsReceived().mid(static_cast<qsizetype>(before)), "Xm");
  EXPECT_TRUE(w.ReceivedText.Text().endsWith("\r\n** Successfully connected to AGW Packet Engine **\r\n\r\n"));
  EXPECT_FALSE(w.ReopenTimer.Enabled());
  EXPECT_EQ(form.Caption(), design);
  engine.Send(Monitored("Q2ABC", "DX", DxLine("144300.0", "Q9BACK")));
  ASSERT_TRUE(TickUntil(w, [&] { return SpotRows().contains("Q9BACK 144.3"); }));
  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

}  // namespace
