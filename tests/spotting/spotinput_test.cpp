// Spots arriving at the spotting window as a TNC on a serial line and a telnet cluster on the
// loopback send them: lines split, repeated, noisy or endless; what the operator sends back; the
// ports that fail; and the spots reaching the spot list, the band map and the spectrum map.
#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/quotedtext.h"
#include "platform/serialcontrol.h"
#include "platform/winsock.h"
#include "spotting/bandmapscale.h"
#include "spotting/packetspotfrm.h"
#include "spotting/socketerrors.h"
#include "spotting/spotlist.h"
#include "spotting/spotmapwindow.h"

#include <QAction>
#include <QApplication>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <sys/socket.h>

#include "formtesting.h"
#include "operatorscript.h"
#include "ptypair.h"
#include "reservedport.h"
#include "spotlistrows.h"
#include "testbound.h"

namespace {

using peertesting::kBoundMs;

using platform::Instance;
using spotting::PacketSpotfrm;

const QString kTncOpen = "** Attempting to Open Port **\r\n\r\n** TNC Serial Port Open **\r\n\r\n";

// A cluster's DX line: the spotter, the kHz in columns 16-24, the call from column 27, CR LF.
std::string DxLine(const char* kilohertz, const char* call, const char* comment = "FN42 up 5") {
  return QStringLiteral("DX de Q2ABC:   %1  %2%3")
      .arg(QString::fromLatin1(kilohertz), 9)
      .arg(QString::fromLatin1(call), -13)
      .arg(QString::fromLatin1(comment))
      .toLatin1()
      .toStdString() +
         "\r\n";
}

// The main window of a program in a folder of its own, on 144 M at 18:00 on the fake clock, and
// a TNC on the far end of the spotting window's port 1.
class SpotInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    savedDir = platform::CurDir();
    platform::ChDir(folder.path());
    app::ProgramDir = folder.path();
    app::ProgramDrive = "/";
    logging::CurrentBand = "144 M";
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(18, 0)), 0);
    spotting::CreateSpotListColumns(form);
    qputenv("CORVANE_PORT1", QByteArray::fromStdString(tncLine.HostEnd()));
  }
  void TearDown() override {
    platform::UnloadAll();
    platform::ChDir(savedDir);
    qunsetenv("CORVANE_PORT1");
  }

  // The spotting window shown, the source chosen from its list.
  static PacketSpotfrm& WindowWithSource(const QString& source) {
    PacketSpotfrm& w = Instance<PacketSpotfrm>();
    ShowActive(w);
    for (int i = 0; i < w.List1.ListCount(); ++i) {
      if (w.List1.List(i) == source) w.List1.SetListIndex(i);
    }
    return w;
  }
  static void Click(const platform::Control& control) { QTest::mouseClick(control.Widget(), Qt::LeftButton); }
  static void Type(PacketSpotfrm& w, const char* text) {
    QTest::keyClicks(w.txtSent.Widget(), text);
    QTest::keyClick(w.txtSent.Widget(), Qt::Key_Return);
  }

  PacketSpotfrm& OpenTnc() {
    PacketSpotfrm& w = WindowWithSource("TNC");
    Click(w.Command1);
    EXPECT_TRUE(w.comComm1.PortOpen());
    EXPECT_TRUE(w.Timer1.Enabled());
    return w;
  }
  // Writes on the TNC's end and waits until the window's ticks have taken it in.
  void FromTnc(PacketSpotfrm& w, const std::string& bytes, std::function<bool()> taken) {
    tnc.Write(bytes);
    ASSERT_TRUE(QTest::qWaitFor(taken, kBoundMs)) << bytes;
    (void)w;
  }
  std::string ReadFromTnc(std::size_t atLeast) {
    std::string received;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (received += tnc.Read()).size() >= atLeast; }, kBoundMs));
    return received;
  }

  QStringList SpotRows() const { return SpotListRows(form); }
  int SpotCount() const { return form.txtDX.ListItems.Count(); }

  // What the box received after the opening's report.
  static QString Received(const PacketSpotfrm& w, const QString& opening) {
    EXPECT_TRUE(w.ReceivedText.Text().startsWith(opening));
    return w.ReceivedText.Text().mid(opening.size());
  }

  QTemporaryDir folder;
  QString savedDir;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  peertesting::PtyPair tncLine;
  peertesting::PtyEnd tnc{tncLine.PeerEnd()};
  platform::ScriptedDialogs dialogs;
};

TEST_F(SpotInputTest, TheTncsWholeLinesAreShownOnceAndItsDxLinesReachTheSpotList) {
  PacketSpotfrm& w = OpenTnc();
  const std::string first = DxLine("144200.0", "Q1XYZ");
  FromTnc(w, first, [&] { return SpotCount() == 1; });

  // A line split across ticks is taken once it is whole, never cut.
  const std::string split = DxLine("144210.5", "Q2SPLIT");
  const qsizetype held = w.SpotBuffer.Size();
  FromTnc(w, split.substr(0, 20), [&] { return w.SpotBuffer.Size() > held; });
  EXPECT_EQ(SpotCount(), 1);
  FromTnc(w, split.substr(20), [&] { return SpotCount() == 2; });

  QString lower = QString::fromStdString(first).toLower();
  const std::string repeat = lower.toStdString();                 // seen in the last 800 characters
  const std::string chatter = "Q5ABC de Q6DEF: hello\r\n";        // shown, no spot
  const std::string lowerDx = DxLine("144300.0", "Q3LOW").replace(0, 2, "dx");
  const std::string shortest = "DX de Q2ABC:\r\n";                // no frequency: no spot
  const std::string noCall = "DX de Q2ABC:    144400.0\r\n";       // a spot without a call
  std::string highBytes = DxLine("144500.0", "Q4HI", "caf\xe9 \xff ok");
  highBytes.insert(highBytes.find(" ok"), std::string(1, '\0'));
  tnc.Write(repeat + chatter + lowerDx + shortest + noCall);
  tnc.Write(highBytes);
  const std::string unfinished = "DX de Q2ABC:    144600.0  Q6NOLF";
  FromTnc(w, unfinished, [&] { return w.SpotBuffer.Size() == static_cast<qsizetype>(unfinished.size()) + 1; });

  EXPECT_EQ(SpotRows(), QStringList({"Q4HI 144.5", " 144.4", "Q3LOW 144.3", "Q2SPLIT 144.2105", "Q1XYZ 144.2"}));
  const QString highShown = QString::fromLatin1(highBytes.data(), static_cast<qsizetype>(highBytes.size()));
  EXPECT_EQ(Received(w, kTncOpen), QString::fromStdString(first + split + chatter + lowerDx + shortest + noCall) +
                                       highShown);
  EXPECT_EQ(w.ReceivedText.SelStart(), w.ReceivedText.Text().size() - 1) << "scrolled to the end";
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.txtUnProcessed.Text().endsWith("ok\r\n"); }, kBoundMs));

  // "List DX Only": chatter is no longer shown, DX lines are.
  Click(w.chkDX);
  const QString before = w.ReceivedText.Text();
  const std::string dx = DxLine("144700.0", "Q7DX");
  FromTnc(w, "\r\nmore chatter\r\n" + dx, [&] { return SpotCount() == 7; });
  EXPECT_EQ(w.ReceivedText.Text(), before + QString::fromStdString(unfinished + "\r\n" + dx));
  EXPECT_EQ(SpotRows().mid(0, 3), QStringList({"Q7DX 144.7", "Q6NOLF 144.6", "Q4HI 144.5"}))
      << "the unfinished line is taken once its line feed comes";
}

TEST_F(SpotInputTest, NoiseWithoutLineFeedsIsHeldBoundedAndTheNextLineStillArrives) {
  PacketSpotfrm& w = OpenTnc();
  std::string noise;
  for (int i = 0; i < 1700; ++i) noise += "noise\r";  // 10 KiB with CR line ends only
  FromTnc(w, noise, [&] { return w.SpotBuffer.Size() == static_cast<qsizetype>(noise.size()) + 1; });
  FromTnc(w, noise, [&] { return w.SpotBuffer.Size() == spotting::SpotLineBuffer::KeptUnfinished; });
  FromTnc(w, "\n" + DxLine("144200.0", "Q1XYZ"), [&] { return SpotCount() == 1; });
  EXPECT_EQ(SpotRows(), QStringList({"Q1XYZ 144.2"}));
  EXPECT_FALSE(w.ReceivedText.Text().contains("noise")) << "a cut line is never shown";
  EXPECT_TRUE(w.Timer1.Enabled());
}

TEST_F(SpotInputTest, TheTncReceivesTheTypedLineWithCrAndTheCommandCharacterAndNothingAtItsOpening) {
  PacketSpotfrm& w = OpenTnc();
  Type(w, "connect Q9NODE");
  EXPECT_EQ(w.txtSent.Text(), "");
  QTest::keyClick(w.txtSent.Widget(), Qt::Key_Escape);
  QTest::keyClick(w.txtSent.Widget(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(ReadFromTnc(17), std::string("connect Q9NODE\r\x03\x03"));
  EXPECT_EQ(w.txtSent.Text(), "");

  // Enter with the source closed opens it first, then sends.
  Click(w.Command2);
  ASSERT_FALSE(w.comComm1.PortOpen());
  Type(w, "k");
  EXPECT_TRUE(w.comComm1.PortOpen());
  EXPECT_EQ(ReadFromTnc(2), "k\r");
}

TEST_F(SpotInputTest, TheTncsHandshakingAndPowerLineAreSetAtTheOpening) {
  const struct {
    platform::OptionButton PacketSpotfrm::*handshake;
    platform::OptionButton PacketSpotfrm::*power;
    bool rtsCts, xonXoff, rts, dtr;
  } cases[] = {
      {&PacketSpotfrm::Option1, &PacketSpotfrm::optPowerNone, false, false, false, false},
      {&PacketSpotfrm::Option2, &PacketSpotfrm::optPowerDTR, false, true, false, true},
      {&PacketSpotfrm::Option3, &PacketSpotfrm::optPowerNone, true, false, true, false},
      {&PacketSpotfrm::Option4, &PacketSpotfrm::optPowerNone, true, true, true, false},
      {&PacketSpotfrm::Option1, &PacketSpotfrm::optPowerRTS, false, false, true, false},
  };
  PacketSpotfrm& w = WindowWithSource("TNC");
  for (const auto& c : cases) {
    Click(w.*c.handshake);
    Click(w.*c.power);
    Click(w.Command1);
    SCOPED_TRACE(w.SpotHandshake);
    ASSERT_TRUE(w.comComm1.PortOpen());
    EXPECT_EQ(w.comComm1.FlowControlForTesting().rtsCts, c.rtsCts);
    EXPECT_EQ(w.comComm1.FlowControlForTesting().xonXoff, c.xonXoff);
    EXPECT_EQ(w.comComm1.RtsRaised(), c.rts);
    EXPECT_EQ(w.comComm1.DtrRaised(), c.dtr);
    EXPECT_EQ(w.comComm1.Settings(), "9600,N,8,1");
  }
}

TEST_F(SpotInputTest, ABusyPortIsReportedAndClosesTheSourceShowingTheWindowWhenHidden) {
  platform::SerialControl other;  // another program holds the TNC's port
  other.SetPortOpen(true);
  platform::QuotedTextWriter file(folder.filePath("PackSpot.txt"));
  for (const platform::QuotedValue& value :
       {platform::QuotedValue(QString("9600")), platform::QuotedValue(QString("N")),
        platform::QuotedValue(QString("8")), platform::QuotedValue(QString("1")), platform::QuotedValue(1),
        platform::QuotedValue(QString("N")), platform::QuotedValue(QString("TNC")), platform::QuotedValue(0),
        platform::QuotedValue(3), platform::QuotedValue(0), platform::QuotedValue(false),
        platform::QuotedValue(QString("03")), platform::QuotedValue(QString()), platform::QuotedValue(QString())}) {
    file.WriteRecord({value});
  }
  file.Close();

  // The load opens the saved TNC while the window is hidden: it is shown until the operator is done.
  bool shownModally = false;
  OperatorScript operatorScript;
  operatorScript.When(
      "the spotting window shown by its failure",
      [] { return platform::IsLoaded<PacketSpotfrm>() && Instance<PacketSpotfrm>().Visible(); },
      [&] {
        shownModally = QApplication::activeModalWidget() == Instance<PacketSpotfrm>().Widget();
        Instance<PacketSpotfrm>().Hide();
      });
  PacketSpotfrm& w = Instance<PacketSpotfrm>();
  EXPECT_TRUE(operatorScript.Done());
  EXPECT_TRUE(shownModally);
  const QString failed = "** Attempting to Open Port **\r\n\r\n** Unable to open TNC Serial Port **\r\n\r\n"
                         "\r\n\r\n** Port Closed **";
  EXPECT_EQ(w.ReceivedText.Text(), failed);
  EXPECT_FALSE(w.Label4.Visible());
  EXPECT_FALSE(w.Timer1.Enabled());
  EXPECT_EQ(dialogs.Beeps(), 1);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Invalid Comm Settings.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt,
            "The comm port that you selected for DX Spotting is either in use, invalid or the settings that you have "
            "selected are invalid.  Please select another combination or choose None for your DX Spot selection.");

  // Shown, the window only reports.
  ShowActive(w);
  Click(w.Command1);
  EXPECT_EQ(w.ReceivedText.Text(), failed);
  EXPECT_EQ(dialogs.MessageBoxes().size(), 2u);
  EXPECT_EQ(dialogs.Beeps(), 2);
  EXPECT_TRUE(w.Visible());
}

// A TNC whose adapter is pulled out is opened again, quietly, once it is back, while the window
// is hidden and the main window's title says the spots are down; a port option chosen meanwhile
// closes the source on purpose and ends the attempts.
TEST_F(SpotInputTest, ATncPulledOutIsOpenedAgainOnceItIsBackWhileTheMainWindowSaysTheSpotsAreDown) {
  const QString design = form.Caption();
  PacketSpotfrm& w = OpenTnc();
  Click(w.cmdDone);
  w.ReopenTimer.SetInterval(10 * kBoundMs);  // only the test's ticks
  const auto pulledOut = [&](peertesting::PtyPair& line) {
    line.Unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Label4.Visible(); }, kBoundMs));
    EXPECT_TRUE(w.ReceivedText.Text().endsWith("\r\n\r\n** Port Closed **"));
    EXPECT_TRUE(w.ReopenTimer.Enabled());
    EXPECT_TRUE(form.Caption().endsWith("DX Spots Down - Reconnecting"));
  };
  pulledOut(tncLine);
  w.ReopenTimer.Tick();
  EXPECT_FALSE(w.comComm1.PortOpen()) << "nothing to open yet";
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(dialogs.Beeps(), 0);
  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(w.ReopenTimer.Enabled());

  peertesting::PtyPair pluggedIn;
  const peertesting::PtyEnd tncBack{pluggedIn.PeerEnd()};
  qputenv("CORVANE_PORT1", QByteArray::fromStdString(pluggedIn.HostEnd()));
  w.ReopenTimer.Tick();
  EXPECT_TRUE(w.comComm1.PortOpen());
  EXPECT_TRUE(w.Label4.Visible());
  EXPECT_FALSE(w.ReopenTimer.Enabled());
  EXPECT_EQ(form.Caption(), design);
  tncBack.Write(DxLine("144200.0", "Q1BACK"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return SpotCount() == 1; }, kBoundMs));
  EXPECT_FALSE(w.Visible());

  pulledOut(pluggedIn);
  ShowActive(w);
  Click(w.baud.optBaud48);
  EXPECT_FALSE(w.ReopenTimer.Enabled());
  EXPECT_EQ(form.Caption(), design);
}

TEST_F(SpotInputTest, TheReceiveBoxIsCutToItsLast9000AndTheBandMapIsRedrawnOnThe361stTickSinceTheLastSpot) {
  form.lblDX.SetVisible(true);  // the main window's band map is showing
  PacketSpotfrm& w = OpenTnc();
  w.Timer1.SetEnabled(false);  // the test ticks it
  const std::string line = DxLine("144200.0", "Q1XYZ");
  w.ReceivedText.SetText(QString(10001 - static_cast<int>(line.size()), u'x'));
  tnc.Write(line);
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.comComm1.InBufferCount() == static_cast<int>(line.size()); }, kBoundMs));
  w.Timer1.Tick();
  EXPECT_EQ(w.ReceivedText.Text().size(), 9000);
  EXPECT_TRUE(w.ReceivedText.Text().endsWith(QString::fromStdString(line)));
  EXPECT_EQ(w.ReceivedText.SelStart(), 8999);
  ASSERT_EQ(form.lblDXSpot[49].ForeColor(), spotting::YoungSpotColor);

  platform::Clock::Advance(15 * 60'000);  // the spot is no longer young
  for (int tick = 2; tick <= 360; ++tick) w.Timer1.Tick();  // the spot came with the first
  EXPECT_EQ(form.lblDXSpot[49].ForeColor(), spotting::YoungSpotColor);
  w.Timer1.Tick();
  EXPECT_EQ(form.lblDXSpot[49].ForeColor(), spotting::RecentSpotColor);
  EXPECT_EQ(w.SpotRefreshCount, 0);
}

TEST_F(SpotInputTest, ADxLineFromTheTncWhileTheSpectrumMapIsShownModallyAppearsOnIt) {
  OpenTnc();
  ShowActive(form);
  QString tooltip;
  OperatorScript operatorScript;
  const auto map = [] { return &Instance<spotting::SpectrumMap>(); };
  operatorScript.When(
      "the spectrum map shown",
      [&] {
        return platform::IsLoaded<spotting::SpectrumMap>() && QApplication::activeModalWidget() == map()->Widget();
      },
      [&] { tnc.Write(DxLine("144200.0", "Q1XYZ")); });
  operatorScript.When(
      "the spot on the map", [&] { return map()->lblDXSpot[49].Visible(); },
      [&] {
        tooltip = map()->lblDXSpot[49].ToolTipText();
        map()->Hide();
      });
  form.mnuViewSpectrumMap.Action()->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return operatorScript.Done(); }, kBoundMs));
  EXPECT_EQ(tooltip, "Q1XYZ  144.200  18:00:00");
}

// A cluster on a loopback port of the test's own, and the window's telnet source pointed at it.
// Closed, the cluster's port refuses until it listens again.
class TelnetTest : public SpotInputTest {
 protected:
  PacketSpotfrm& WindowOnCluster() {
    EXPECT_TRUE(clusterPort.ListenOn(cluster));
    PacketSpotfrm& w = WindowWithSource("Telnet");
    w.txtTelnetHost.SetText("127.0.0.1");
    w.txtTelnetPort.SetText(QString::number(clusterPort.Port()));
    return w;
  }
  QString Opening() const { return QString("Attempting connection to: 127.0.0.1:%1\r\n\r\n").arg(clusterPort.Port()); }
  // The window's connection, as the cluster takes it.
  QPointer<QTcpSocket> Accepted() {
    EXPECT_TRUE(QTest::qWaitFor([&] { return cluster.hasPendingConnections(); }, kBoundMs));
    return cluster.nextPendingConnection();
  }
  // The window opened on the cluster and connected, then hidden by Done as during a contest.
  PacketSpotfrm& ConnectedAndHidden(QPointer<QTcpSocket>& peer) {
    PacketSpotfrm& w = WindowOnCluster();
    Click(w.Command1);
    peer = Accepted();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Winsock1.State() == platform::SocketConnected; }, kBoundMs));
    Click(w.cmdDone);
    EXPECT_FALSE(w.Visible());
    return w;
  }
  // The cluster goes: its connection ends and its port refuses.
  void ClusterGone(PacketSpotfrm& w, QTcpSocket& peer) {
    cluster.close();
    peer.disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Label4.Visible(); }, kBoundMs));
  }
  // Sends from the cluster and waits until the window has it.
  static void FromCluster(QTcpSocket& peer, const QByteArray& bytes, std::function<bool()> taken) {
    peer.write(bytes);
    ASSERT_TRUE(peer.waitForBytesWritten(kBoundMs));
    ASSERT_TRUE(QTest::qWaitFor(taken, kBoundMs)) << bytes.toStdString();
  }

  peertesting::ReservedPort clusterPort;
  QTcpServer cluster;
};

TEST_F(TelnetTest, TheClusterPromptsAndEveryWholeDxLineIsPostedHoweverTheReadsCutThem) {
  PacketSpotfrm& w = WindowOnCluster();
  Click(w.Command1);
  EXPECT_EQ(w.ReceivedText.Text(), Opening());
  ASSERT_EQ(w.Winsock1.State(), platform::SocketConnecting);
  Type(w, "Q1ABC");
  const QString notYet = "**  Connection not yet established.  Please wait a moment and try again.\r\n\r\n";
  EXPECT_EQ(Received(w, Opening()), notYet);
  EXPECT_EQ(w.txtSent.Text(), "");

  QPointer<QTcpSocket> peer = Accepted();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.Winsock1.State() == platform::SocketConnected; }, kBoundMs));
  FromCluster(*peer, "login: ", [&] { return w.ReceivedText.Text().endsWith("login: "); });
  Type(w, "Q1ABC");
  ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() >= 7; }, kBoundMs));
  EXPECT_EQ(peer->readAll(), "Q1ABC\r\n");

  const QByteArray one = QByteArray::fromStdString(DxLine("144200.0", "Q1XYZ"));
  const QByteArray two = QByteArray::fromStdString(DxLine("144210.0", "Q2AAA") + DxLine("144220.0", "Q3BBB"));
  const QByteArray split = QByteArray::fromStdString(DxLine("144230.5", "Q4SPLIT"));
  FromCluster(*peer, "\r\n" + one, [&] { return SpotCount() == 1; });
  FromCluster(*peer, two, [&] { return SpotCount() == 3; });
  FromCluster(*peer, split.left(20), [&] { return w.ReceivedText.Text().endsWith(QString::fromLatin1(split.left(20))); });
  EXPECT_EQ(SpotCount(), 3) << "a cut frequency is never posted";
  FromCluster(*peer, split.mid(20), [&] { return SpotCount() == 4; });
  EXPECT_EQ(SpotRows(), QStringList({"Q4SPLIT 144.2305", "Q3BBB 144.22", "Q2AAA 144.21", "Q1XYZ 144.2"}));
  EXPECT_EQ(Received(w, Opening()), notYet + "login: \r\n" + QString::fromLatin1(one + two + split))
      << "each read shown as it came";

  // "List DX Only": a read's DX lines are shown, its chatter is not; no repeat filter.
  Click(w.chkDX);
  const QString before = w.ReceivedText.Text();
  FromCluster(*peer, "Q5ABC: hello\r\n" + one, [&] { return SpotCount() == 5; });
  EXPECT_EQ(w.ReceivedText.Text(), before + QString::fromLatin1(one));

  // The cluster ends the connection.
  peer->disconnectFromHost();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Label4.Visible(); }, kBoundMs));
  EXPECT_TRUE(w.ReceivedText.Text().endsWith(QString::fromLatin1(one) + "\r\n\r\n** Port Closed **"));
  EXPECT_FALSE(w.Timer1.Enabled());
  EXPECT_EQ(w.Winsock1.State(), platform::SocketClosed);
}

TEST_F(TelnetTest, ARefusedConnectionIsReportedAndClosesTheSource) {
  const QString design = form.Caption();
  PacketSpotfrm& w = WindowOnCluster();
  const QString opening = Opening();
  cluster.close();  // nobody listens on the port any more
  Click(w.Command1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Label4.Visible(); }, kBoundMs));
  EXPECT_EQ(Received(w, opening), "ERROR: Connection is forcefully rejected.\r\n\r\n** Port Closed **");
  EXPECT_FALSE(w.Timer1.Enabled());
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_FALSE(w.ReopenTimer.Enabled()) << "a cluster never reached is not tried again";
  EXPECT_EQ(form.Caption(), design);
}

// While the window is hidden, as during a contest, a cluster that went is tried again every 30 s,
// quietly, and the main window's title says the spots are down until it is back; Done pressed
// meanwhile tries at once, as an opening does, and the attempts go on.
TEST_F(TelnetTest, AClusterThatWentIsConnectedAgainWhileTheMainWindowSaysTheSpotsAreDown) {
  const QString design = form.Caption();
  QPointer<QTcpSocket> peer;
  PacketSpotfrm& w = ConnectedAndHidden(peer);
  ASSERT_EQ(w.ReopenTimer.Interval(), 30000);
  w.ReopenTimer.SetInterval(10 * kBoundMs);  // only the test's ticks
  EXPECT_EQ(form.Caption(), design);

  // It resets the connection, as a cluster that crashed does.
  const linger resetAtClose{1, 0};
  ASSERT_EQ(::setsockopt(static_cast<int>(peer->socketDescriptor()), SOL_SOCKET, SO_LINGER, &resetAtClose,
                         sizeof resetAtClose), 0);
  ClusterGone(w, *peer);
  EXPECT_TRUE(w.ReceivedText.Text().endsWith("\r\n\r\n** Port Closed **"));
  EXPECT_TRUE(w.ReopenTimer.Enabled());
  EXPECT_EQ(form.Caption().left(60).trimmed(), "Varnek's Corvane Log 2.5") << "what the exports read of it";
  EXPECT_TRUE(form.Caption().endsWith("DX Spots Down - Reconnecting"));

  w.ReopenTimer.Tick();
  const QString refused = Opening() + "ERROR: Connection is forcefully rejected.";
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.ReceivedText.Text().endsWith(refused); }, kBoundMs));
  EXPECT_TRUE(w.ReceivedText.Text().endsWith("** Port Closed **\r\n" + refused)) << "the box keeps what came before";
  EXPECT_EQ(dialogs.Beeps(), 0);
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(w.ReopenTimer.Enabled());
  EXPECT_TRUE(form.Caption().endsWith("DX Spots Down - Reconnecting"));

  ShowActive(w);
  Click(w.cmdDone);
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.Beeps() == 1; }, kBoundMs)) << "the operator's opening is reported";
  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(w.ReopenTimer.Enabled());
  EXPECT_TRUE(form.Caption().endsWith("DX Spots Down - Reconnecting"));

  // Back on its port, the cluster is connected at the next attempt and spots again.
  ASSERT_TRUE(clusterPort.ListenOn(cluster));
  w.ReopenTimer.Tick();
  peer = Accepted();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.Label4.Visible(); }, kBoundMs));
  EXPECT_FALSE(w.ReopenTimer.Enabled());
  EXPECT_TRUE(w.Timer1.Enabled());
  EXPECT_EQ(form.Caption(), design);
  FromCluster(*peer, QByteArray::fromStdString(DxLine("144200.0", "Q1BACK")), [&] { return SpotCount() == 1; });
  EXPECT_EQ(SpotRows(), QStringList({"Q1BACK 144.2"}));
  EXPECT_FALSE(w.Visible());
  EXPECT_EQ(dialogs.Beeps(), 1);
}

// Closing the source on purpose ends the attempts, and the main window's note with them.
TEST_F(TelnetTest, ClosingASourceThatIsTriedAgainEndsTheAttemptsAndTheMainWindowsNote) {
  const QString design = form.Caption();
  const struct {
    const char* way;
    std::function<void(PacketSpotfrm&)> close;
  } closings[] = {
      {"Close Port", [](PacketSpotfrm& w) { Click(w.Command2); }},
      {"None chosen", [](PacketSpotfrm& w) { w.List1.SetListIndex(0); }},
      {"the window closed", [](PacketSpotfrm& w) { w.Unload(); }},
  };
  for (const auto& closing : closings) {
    SCOPED_TRACE(closing.way);
    QPointer<QTcpSocket> peer;
    PacketSpotfrm& w = ConnectedAndHidden(peer);
    ClusterGone(w, *peer);
    ASSERT_TRUE(form.Caption().endsWith("DX Spots Down - Reconnecting"));
    ShowActive(w);
    closing.close(w);
    EXPECT_EQ(form.Caption(), design);
    if (platform::IsLoaded<PacketSpotfrm>()) {
      EXPECT_FALSE(w.ReopenTimer.Enabled());
      w.Unload();
    }
  }
}

TEST_F(TelnetTest, AnAddressThatCannotBeConnectedToIsReportedAsInvalid) {
  const struct {
    const char* host;
    const char* port;
  } cases[] = {{"", "7300"}, {"  ", "7300"}, {"127.0.0.1", ""}, {"127.0.0.1", "telnet"}, {"127.0.0.1", "0"},
               {"127.0.0.1", "65536"}, {"127.0.0.1", "-23"}};
  PacketSpotfrm& w = WindowWithSource("Telnet");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.host) + ":" + c.port);
    w.txtTelnetHost.SetText(c.host);
    w.txtTelnetPort.SetText(c.port);
    Click(w.Command1);
    EXPECT_EQ(w.ReceivedText.Text(),
              "** Attempting to Open Port **\r\n\r\nERROR: The property value is invalid.\r\n\r\n** Port Closed **");
    EXPECT_FALSE(w.Label4.Visible());
    EXPECT_FALSE(w.Timer1.Enabled());
    EXPECT_EQ(w.Winsock1.State(), platform::SocketClosed);
  }
}

TEST(SocketErrorMessages, QtsSocketErrorsReadAsTheOperatorsMessages) {
  const struct {
    QAbstractSocket::SocketError error;
    int number;
    const char* message;
  } cases[] = {
      {QAbstractSocket::ConnectionRefusedError, 10061, "ERROR: Connection is forcefully rejected."},
      {QAbstractSocket::HostNotFoundError, 11001, "ERROR: Authoritative answer: Host not found."},
      {QAbstractSocket::SocketTimeoutError, 10060, "ERROR: Socket has been shut down."},
      {QAbstractSocket::AddressInUseError, 10048, "ERROR: Address in use."},
      {QAbstractSocket::NetworkError, 10051, "ERROR: The network cannot be reached from this host at this time."},
      {QAbstractSocket::SocketResourceError, 10055, "ERROR: No buffer space is available."},
      {QAbstractSocket::SocketAccessError, 10013, "Error number 10013"},
      {QAbstractSocket::UnknownSocketError, 10053, "ERROR: Connection is aborted due to timeout or other failure."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::WinsockErrorNumber(c.error), c.number) << c.error;
    EXPECT_EQ(spotting::SocketErrorMessage(c.number), c.message) << c.number;
  }
  EXPECT_EQ(spotting::SocketErrorMessage(7), "ERROR: Out of memory.");
  EXPECT_EQ(spotting::SocketErrorMessage(11004), "ERROR: Valid name, no data record of requested type.");
  EXPECT_EQ(spotting::SocketErrorMessage(-1), "Error number -1");
}

}  // namespace
