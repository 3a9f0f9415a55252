// The network window with raw loopback sockets as the station's other PCs, and its station table
// and band grid fed with records as a connection receives them.

#include "network/frmnetwork.h"

#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/globalpreferences.h"
#include "app/globals.h"
#include "app/servername.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "network/globals.h"
#include "network/records.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/neighbourhood.h"
#include "platform/paths.h"
#include "platform/screen.h"

#include <QAction>
#include <QListWidget>
#include <QLocale>
#include <QTimeZone>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "formtesting.h"
#include "keptcurrentfolder.h"
#include "mountedshare.h"
#include "networktesting.h"

namespace {

using network::frmNetwork;
using network::TableRecord;

constexpr platform::Color kRed = 255;
constexpr platform::Color kFree = 0x80FF80;

frmNetwork& Network() { return platform::Instance<frmNetwork>(); }

// The red cells of the grid, "band mode name", columns in order, modes PH, CW, DIG.
QStringList RedCells() {
  frmNetwork& net = Network();
  QStringList red;
  for (int column : net.lblBndHdr.Indexes()) {
    const std::pair<platform::ControlArray<platform::Label>*, const char*> modes[] = {
        {&net.lblBandSSB, "PH"}, {&net.lblBandCW, "CW"}, {&net.lblBandDIG, "DIG"}};
    for (const auto& [cells, mode] : modes) {
      const platform::Label& cell = (*cells)[column];
      if (cell.BackColor() == kRed) {
        red << net.lblBndHdr[column].Caption() + " " + mode + " " + cell.Caption();
      } else {
        EXPECT_EQ(cell.BackColor(), kFree);
        EXPECT_EQ(cell.Caption(), "") << "a free cell holds no name";
      }
    }
  }
  return red;
}

QString Row(int row) {
  return network::NetStationName[row] + "|" + network::NetStationBand[row] + "|" + network::NetStationMode[row] +
         "|" + network::NetStationOpr[row];
}

// What the message log says of a refused connection.
QString RefusalLine(const QString& address) {
  return "Refused a connection from " + address +
         ": the station network takes only the PCs of its LAN (loopback, private and link-local addresses). "
         "CORVANE_STATION_ALLOW can name more addresses or subnets.\r\n\r\n";
}

// This PC is "Shack" on 144 M CW, and the server unless a test names another.
class NetworkWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    environment.Set("CORVANE_HOST_NAME", "Shack");
    environment.Set("CORVANE_STATION_PORT", "0");
    environment.Set("CORVANE_FAKE_SET_CLOCK", "1");  // a clock record sets this program's clock only
    app::ServerName = "SHACK";
    logging::CurrentBand = "144 M";
    logging::CurrentMode = "CW";
  }
  void TearDown() override { platform::UnloadAll(); }

  // The window with the network on, listening; its port.
  int ServerListening() {
    network::NetworkEnabled = 1;
    const int port = Network().tcpWinsock[0].LocalPort();
    EXPECT_EQ(Network().tcpWinsock[0].State(), platform::SocketListening);
    EXPECT_GT(port, 0);
    return port;
  }
  // This PC as "Tent2", a client of `shack`, a test socket standing in for the server; the link
  // the client made, once its first status record has come over it.
  std::unique_ptr<QTcpSocket> ClientOf(QTcpServer& shack) {
    environment.Set("CORVANE_STATION_PORT", QByteArray::number(shack.serverPort()));
    environment.Set("CORVANE_HOST_NAME", "Tent2");
    app::ServerName = " 127.0.0.1 ";
    network::NetworkEnabled = 1;
    Network().Timer2.Tick();
    EXPECT_TRUE(shack.waitForNewConnection(kNetworkWait));
    std::unique_ptr<QTcpSocket> link(shack.nextPendingConnection());
    EXPECT_EQ(ReadRecords(*link), "<Array:0> <Name:Tent2>: <Bnd:" + logging::CurrentBand + "> <Mde: " +
                                      logging::CurrentMode + "> <Opr: > <EOR>");
    return link;
  }
  // What a link reads until it has read the given number of records ending in "<EOR>".
  static QString ReadRecords(QTcpSocket& link, int records = 1) {
    QString read;
    EXPECT_TRUE(QTest::qWaitFor([&] {
      read += QString::fromLatin1(link.readAll());
      return read.count("<EOR>") >= records;
    }, kNetworkWait));
    return read;
  }

  // A raw peer accepted as peer `number`.
  std::unique_ptr<RawPeer> Join(int port, int number) {
    auto peer = std::make_unique<RawPeer>(port);
    EXPECT_TRUE(peer->Connected());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Network().PeerCount == number; }, kNetworkWait));
    return peer;
  }

  ScopedEnvironment environment;
};

TEST_F(NetworkWindow, TheServerAcceptsAPeerAndKeepsItsRowFromItsStatusRecords) {
  const int port = ServerListening();
  frmNetwork& net = Network();
  EXPECT_EQ(net.lblStatus.Caption(), "Initializing");
  EXPECT_EQ(net.lblServer.Caption(), "SHACK");
  EXPECT_EQ(net.Text1.Text(), "Shack") << "no station name: the host name";

  QStringList statusShown;
  net.lblStatus.Change = [&] { statusShown << net.lblStatus.Caption(); };
  auto peer = Join(port, 1);
  EXPECT_EQ(statusShown.value(0), "ConnectedConnection # 1");
  EXPECT_EQ(net.lblStatus.Caption(), "Listening") << "the server's own state follows at once";
  EXPECT_TRUE(peer->Receives("<Array:0> <Name:Shack>: <Bnd:144 M> <Mde: CW> <Opr: > <EOR>"));
  EXPECT_EQ(RedCells(), QStringList({"144 M CW Shack"}));

  // Whatever row the record names, the sender's row is its socket's.
  peer->Send("<Array:9> <Name:Tent2>: <Bnd:432 M> <Mde: PH> <Opr: > <EOR>");
  EXPECT_TRUE(peer->Receives("<Array:1> <Name:Tent2>: <Bnd:432 M> <Mde: PH> <Opr: > <EOR>"));
  EXPECT_EQ(Row(1), "Tent2|432 M|PH|");
  EXPECT_EQ(RedCells(), QStringList({"144 M CW Shack", "432 M PH Tent2"}));

  // A record split between two receives: its first part changes nothing.
  peer->Forget();
  peer->Send("<Array:0> <Name:Tent2>: <Bnd:222 M> <Mde: PH> <Opr: > <EOR><Array:0> <Name:Tent2>: <Bnd:5");
  ASSERT_TRUE(peer->Receives("<Name:Tent2>: <Bnd:222 M>"));
  EXPECT_EQ(Row(1), "Tent2|222 M|PH|");
  peer->Send("0 M> <Mde: CW> <Opr: > <EOR>");
  ASSERT_TRUE(peer->Receives("<Array:1> <Name:Tent2>: <Bnd:50 M> <Mde: CW> <Opr: > <EOR>"));
  EXPECT_EQ(RedCells(), QStringList({"50 M CW Tent2", "144 M CW Shack"}));
}

TEST_F(NetworkWindow, TwoStatusRecordsInOneReceiveAreBothApplied) {
  Network().ReceiveFromPeer(1, "<Array:0> <Name:Tent2>: <Bnd:222 M> <Mde: PH> <Opr: > <EOR>"
                               "<Array:0> <Name:Tent3>: <Bnd:902 M> <Mde: CW> <Opr: > <EOR>");
  EXPECT_EQ(Row(1), "Tent3|902 M|CW|");
  EXPECT_EQ(RedCells(), QStringList({"222 M PH Tent2", "902 M CW Tent3"}));
}

TEST_F(NetworkWindow, ADroppedPeerBelowTheTopStaysLoadedUntilTheTopOneGoesToo) {
  const int port = ServerListening();
  auto peer1 = Join(port, 1);
  auto peer2 = Join(port, 2);
  auto peer3 = Join(port, 3);
  peer2->Send(network::StatusRecord("Tent2", "432 M", "PH"));
  ASSERT_TRUE(peer3->Receives("<Name:Tent2>"));
  frmNetwork& net = Network();

  peer2->Close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return net.tcpWinsock[2].State() == platform::SocketClosed; }, kNetworkWait));
  EXPECT_EQ(net.PeerCount, 3);
  EXPECT_TRUE(net.tcpWinsock.Exists(2)) << "closed, still loaded";
  EXPECT_EQ(Row(2), "|||") << "its station left the table";
  EXPECT_EQ(RedCells(), QStringList({"144 M CW Shack"}));

  peer3->Send(network::StatusRecord("Van", "50 M", "CW"));
  ASSERT_TRUE(peer1->Receives("<Name:Van>: <Bnd:50 M>"));
  EXPECT_EQ(RedCells(), QStringList({"50 M CW Van", "144 M CW Shack"}));
  peer3->Close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return net.PeerCount == 1; }, kNetworkWait));
  EXPECT_FALSE(net.tcpWinsock.Exists(3));
  EXPECT_FALSE(net.tcpWinsock.Exists(2));
  EXPECT_EQ(net.tcpWinsock[1].State(), platform::SocketConnected);
  EXPECT_EQ(RedCells(), QStringList({"144 M CW Shack"})) << "the top peer's station leaves the grid too";

  auto again = Join(port, 2);
  EXPECT_TRUE(again->Receives("<Array:0> <Name:Shack>")) << "a later peer takes the free number";
}

TEST_F(NetworkWindow, TheRequestBeyond195PeersIsClosedAtOnce) {
  const int port = ServerListening();
  std::vector<std::unique_ptr<RawPeer>> peers;
  for (int number = 1; number <= frmNetwork::MaxPeers; ++number) {
    peers.push_back(Join(port, number));
    ASSERT_EQ(Network().PeerCount, number);
  }
  RawPeer extra(port);
  ASSERT_TRUE(extra.Connected());
  EXPECT_TRUE(extra.SeesClose());
  EXPECT_EQ(extra.Read(), "") << "it heard nothing";
  EXPECT_EQ(Network().PeerCount, 195);
  EXPECT_FALSE(Network().tcpWinsock.Exists(196));
  EXPECT_EQ(Network().tcpWinsock[195].State(), platform::SocketConnected);
}

TEST_F(NetworkWindow, TheRoleFollowsTheHostNameInAnyCase) {
  const struct {
    const char* hostName;
    const char* serverName;
    bool server;
  } cases[] = {{"Shack", "SHACK", true}, {"shack", "Shack", true}, {"Tent2", "127.0.0.1", false}};
  QTcpServer server;  // the server the client reaches, on the station port
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
  environment.Set("CORVANE_STATION_PORT", QByteArray::number(server.serverPort()));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hostName);
    platform::UnloadAll();
    environment.Set("CORVANE_HOST_NAME", c.hostName);
    app::ServerName = c.serverName;
    network::NetworkEnabled = 1;
    frmNetwork& net = Network();
    ASSERT_TRUE(net.Timer2.Enabled());
    net.Timer2.Tick();
    EXPECT_EQ(net.Timer2.Enabled(), !c.server) << "the server's timer stops at its first tick";
    if (c.server) {
      EXPECT_EQ(net.WinsockClient.State(), platform::SocketClosed) << "the server never connects";
    } else {
      EXPECT_TRUE(server.waitForNewConnection(kNetworkWait)) << "the client connects to the server";
    }
  }
}

// A client with a test socket as its server.
TEST_F(NetworkWindow, AClientSendsItsStatusAndMirrorsTheServersTable) {
  QTcpServer shack;
  ASSERT_TRUE(shack.listen(QHostAddress::LocalHost));
  logging::CurrentBand = "432 M";
  logging::CurrentMode = "PH";
  std::unique_ptr<QTcpSocket> link = ClientOf(shack);  // its status names 432 M PH
  frmNetwork& net = Network();
  EXPECT_EQ(net.tcpWinsock[0].State(), platform::SocketClosed) << "the station port is the server's";
  EXPECT_EQ(net.WinsockClient.State(), platform::SocketConnected);

  const QByteArray table = (TableRecord(0, "Shack", "144 M", "CW", "") + TableRecord(1, "Tent2", "432 M", "PH", "")).toLatin1();
  link->write(table.left(70));
  link->flush();
  link->write(table.mid(70));
  link->flush();
  ASSERT_TRUE(QTest::qWaitFor([&] { return RedCells().size() == 2; }, kNetworkWait));
  EXPECT_EQ(RedCells(), QStringList({"144 M CW Shack", "432 M PH Tent2"}));
  net.Timer2.Tick();
  EXPECT_FALSE(net.Timer2.Enabled()) << "connected: no more tries";

  link->disconnectFromHost();
  ASSERT_TRUE(QTest::qWaitFor([&] { return net.Timer2.Enabled(); }, kNetworkWait)) << "it tries again";
  EXPECT_EQ(net.WinsockClient.State(), platform::SocketClosed);
  EXPECT_EQ(RedCells(), QStringList());
  EXPECT_EQ(network::NetStationBand[1], "");
}

TEST_F(NetworkWindow, TheStationNameIsCutAsItIsLeftAndTheOthersHearOfIt) {
  const int port = ServerListening();
  auto peer = Join(port, 1);
  frmNetwork& net = Network();
  ShowActive(net);
  const struct {
    const char* typed;  // typed keys, or set by code when it holds an apostrophe
    const char* name;
  } cases[] = {
      {"Tent \"2\" x", "Tent 2 x"},       // quotes are never typed
      {"  Tower 'B' 2", "Tower "},        // trimmed, then cut before the apostrophe
      {"Operating Position", "Operating"}, // the box takes ten characters
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    net.Text1.SetFocus();
    net.Text1.SetText("");
    const QString typed = QString::fromLatin1(c.typed);
    if (typed.contains('\'')) {
      net.Text1.SetText(typed);
    } else {
      QTest::keyClicks(net.Text1.Widget(), typed);
    }
    peer->Forget();
    net.Text3.SetFocus();
    EXPECT_EQ(network::StationName, c.name);
    EXPECT_EQ(net.Text1.Text(), c.name);
    EXPECT_TRUE(peer->Receives("<Array:0> <Name:" + QString::fromLatin1(c.name) + ">"));
  }
}

TEST_F(NetworkWindow, SwitchingTheNetworkOffClosesEverythingAndOnListensAgain) {
  const int port = ServerListening();
  auto peer1 = Join(port, 1);
  auto peer2 = Join(port, 2);
  frmNetwork& net = Network();
  ShowActive(net);

  QTest::mouseClick(net.Check1.Widget(), Qt::LeftButton);
  EXPECT_EQ(network::NetworkEnabled, 0);
  EXPECT_TRUE(peer1->SeesClose());
  EXPECT_TRUE(peer2->SeesClose());
  EXPECT_EQ(net.PeerCount, 0);
  EXPECT_FALSE(net.tcpWinsock.Exists(1));
  EXPECT_EQ(net.tcpWinsock[0].State(), platform::SocketClosed);
  EXPECT_EQ(net.lblStatus.Caption(), "Closed");
  EXPECT_EQ(RedCells(), QStringList());
  EXPECT_FALSE(net.Timer1.Enabled());
  EXPECT_FALSE(net.Timer2.Enabled());
  EXPECT_TRUE(net.Command2.HasFocus());

  QTest::mouseClick(net.Check1.Widget(), Qt::LeftButton);
  EXPECT_EQ(network::NetworkEnabled, 1);
  EXPECT_EQ(net.lblStatus.Caption(), "Initializing");
  EXPECT_TRUE(net.Timer1.Enabled());
  EXPECT_TRUE(net.Timer2.Enabled());
  ASSERT_EQ(net.tcpWinsock[0].State(), platform::SocketListening);
  auto again = Join(net.tcpWinsock[0].LocalPort(), 1);
  EXPECT_TRUE(again->Receives("<Array:0> <Name:Shack>"));
}

TEST_F(NetworkWindow, AWindowLoadedWhileTheNetworkIsOffListensOnlyOnceSwitchedOn) {
  frmNetwork& net = Network();
  EXPECT_EQ(net.tcpWinsock[0].State(), platform::SocketClosed);
  net.Timer1_Timer();
  EXPECT_EQ(RedCells(), QStringList()) << "the network is off";
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  form.Timer4.Tick();
  EXPECT_EQ(net.tcpWinsock[0].State(), platform::SocketListening);
  EXPECT_EQ(net.Check1.Value(), 1);
}

TEST_F(NetworkWindow, TheWindowFillsTheScreenOrTheWorkAreaAndItsHelpNamesTheServer) {
  platform::Screen::SetSizeForTesting(19200, 14400);
  platform::Screen::SetWorkAreaForTesting(0, 0, 19200, 13200);
  const struct {
    std::uint8_t taskBarDisplay;
    double height;
  } cases[] = {{0, 14400}, {1, 13200}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.taskBarDisplay);
    platform::UnloadAll();
    app::TaskBarDisplay = c.taskBarDisplay;
    frmNetwork& net = Network();
    EXPECT_EQ(net.Left(), 0);
    EXPECT_EQ(net.Top(), 0);
    EXPECT_EQ(net.Width(), 19200);
    EXPECT_EQ(net.Height(), c.height);
    EXPECT_DOUBLE_EQ(net.lblBndHdr[8].Left(), 2160 * 2) << "the lower block's second column";
    EXPECT_DOUBLE_EQ(net.lblBndHdr[8].Top(), 1320 * c.height / 7200);
  }
  const QString help = Network().txtOutput.Text();
  EXPECT_TRUE(help.startsWith("A copy of this program must be running"));
  EXPECT_TRUE(help.contains("the PC server name is SHACK.  It is not necessary"));
  EXPECT_TRUE(help.contains("begin their log file path with \\\\SHACK.  The server path"));
  EXPECT_EQ(help.count("\r\n\r\n"), 5);
}

TEST_F(NetworkWindow, UnloadingTheWindowClosesItsConnections) {
  const int port = ServerListening();
  auto peer = Join(port, 1);
  Network().Unload();
  EXPECT_TRUE(peer->SeesClose());
  RawPeer late(port);
  EXPECT_FALSE(late.Connected()) << "nothing listens any more";
}

TEST_F(NetworkWindow, DoneHidesTheWindowAndAPickedPcBecomesTheRecipient) {
  frmNetwork& net = Network();
  ShowActive(net);
  net.List2.AddItem("TENT2");
  net.List2.AddItem("ROVER");
  auto* list = qobject_cast<QListWidget*>(net.List2.Widget());
  ASSERT_NE(list, nullptr);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(net.Text3.Text(), "ROVER");
  EXPECT_TRUE(net.txtSendData.HasFocus());
  QTest::mouseClick(net.Command2.Widget(), Qt::LeftButton);
  EXPECT_FALSE(net.Visible());
  EXPECT_TRUE(platform::IsLoaded<frmNetwork>());
}

// ---------------------------------------------------------------------------------------------
// Station messages and clocks. This PC's clock stands at 20:30:15 on 2 March 2024; times show in
// the US English long format.

class StationMessages : public NetworkWindow {
 protected:
  void SetUp() override {
    NetworkWindow::SetUp();
    platform::Clock::SetFake(QDateTime(QDate(2024, 3, 2), QTime(20, 30, 15)), -5.0);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    platform::InstanceWithoutLoad<app::Form1>();
  }
  void TearDown() override {
    QLocale::setDefault(QLocale::system());
    NetworkWindow::TearDown();
  }
  // An entry of the message log as this PC writes it at 20:30:15.
  static QString Entry(const QString& to, const QString& from, const QString& text) {
    return "To: " + to + "\r\nFrom: " + from + "\r\n8:30:15 PM\r\n" + text + "\r\n\r\n";
  }
  static void PressEnter(frmNetwork& net) { QTest::keyClick(net.txtSendData.Widget(), Qt::Key_Return); }
  // The window of a client shown, with the status its activation sends read off the server's link.
  static frmNetwork& ShownAsClient(QTcpSocket& link) {
    frmNetwork& net = Network();
    ShowActive(net);
    ReadRecords(link);
    return net;
  }
  // A message to `to` typed into the send box and sent with Enter.
  static void TypeAndSend(frmNetwork& net, const QString& to, const char* text) {
    net.Text3.SetText(to);
    net.txtSendData.SetFocus();
    QTest::keyClicks(net.txtSendData.Widget(), text);
    PressEnter(net);
  }
  static QDateTime ClockAt(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone(-5 * 3600));
  }
  // What the message log says of a message that no connection took.
  static QString NotSent(const QString& why) {
    return "Not sent: " + why + ". The message stays in the box to send again.\r\n\r\n";
  }
  // A connection to the server's port from the given address, which the server closes at once.
  static void RefusedFrom(int port, const QString& address) {
    const platform::PeerAddressForTesting from(address);
    RawPeer outsider(port);
    EXPECT_TRUE(outsider.Connected() && outsider.SeesClose()) << address.toStdString();
  }

  platform::ScriptedDialogs dialogs;
};

TEST_F(StationMessages, TheServerSendsOnlyWithPeersAndABroadcastOnlyOnceTheOperatorConfirmsIt) {
  const int port = ServerListening();
  frmNetwork& net = Network();
  ShowActive(net);
  const QString help = net.txtOutput.Text();
  TypeAndSend(net, "Tent2", "no one hears");
  EXPECT_EQ(net.txtSendData.Text(), "No one hears") << "a capital first; alone, nothing is sent";
  const QString notSent = help + NotSent("no other PC of the station is connected");
  EXPECT_EQ(net.txtOutput.Text(), notSent);
  EXPECT_TRUE(dialogs.MessageBoxes().empty()) << "a recipient needs no question";

  auto peer = Join(port, 1);
  net.Text3.SetText("");
  dialogs.AnswerMessageBox(platform::MsgBoxResult::No);
  PressEnter(net);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  const platform::MessageBoxShown& question = dialogs.MessageBoxes().front();
  EXPECT_EQ(question.title, "Are you sure that you want to send a broadcast message?");
  EXPECT_EQ(question.style, platform::MsgBoxStyle::YesNo);
  EXPECT_EQ(question.prompt,
            "The \"Message To\" field is currently blank.  This will send a broadcast message to ALL the PCs and "
            "interrupt everyone!  Broadcast messages should only be sent for critically important information such as "
            "\"I'm shutting down the generator in 5 minutes to refuel!\" or  \"It is time for EVERYONE to eat! \" Are "
            "you sure that you want to send a broadcast message?\r\n\r\nIf you only want to send a message to one "
            "other station, please select that station's name from the list.");
  EXPECT_EQ(net.txtSendData.Text(), "No one hears") << "No: the text stays, without an Enter";

  dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);
  PressEnter(net);
  EXPECT_TRUE(peer->Receives("<MessageFrom>Shack<MessageTo> <MessageText>No one hears\r\n\r\n<EOR>"));
  EXPECT_EQ(peer->Read().count("<MessageFrom>"), 1) << "the answer No sent nothing";
  EXPECT_EQ(net.txtOutput.Text(), notSent + Entry("", "Shack", "No one hears")) << "the server logs its own";
  EXPECT_EQ(net.txtSendData.Text(), "");
  EXPECT_TRUE(net.txtSendData.HasFocus());
}

TEST_F(StationMessages, TheServerRelaysAMessageToEveryPeerAndLogsItButOnlyOneForThisPcShowsTheWindow) {
  network::StationName = "Op 2";
  const int port = ServerListening();
  auto tent = Join(port, 1);
  auto rover = Join(port, 2);
  frmNetwork& net = Network();
  const app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  const QString help = net.txtOutput.Text();

  // One receive: a status, a message for another station, a status.
  const QString message = network::MessageRecord("Tent2", "Tower", "QRT in 5");
  tent->Send(network::StatusRecord("Tent2", "432 M", "PH") + message + network::StatusRecord("Tent2", "50 M", "PH"));
  EXPECT_TRUE(tent->Receives(message)) << "the sender hears it back";
  EXPECT_TRUE(rover->Receives(message));
  ASSERT_TRUE(QTest::qWaitFor([] { return Row(1) == "Tent2|50 M|PH|"; }, kNetworkWait));
  EXPECT_EQ(net.txtOutput.Text(), help + Entry("Tower", "Tent2", "QRT in 5"));
  EXPECT_EQ(form.lblDupe.Caption(), "To: Tower From: Tent2\r\nQRT in 5\r\n\r\n");
  EXPECT_EQ(dialogs.Beeps(), 0);
  EXPECT_FALSE(net.Visible());

  const struct {
    const char* recipient;
    bool forThisPc;
  } cases[] = {{"", true}, {"sHACK", true}, {"OP 2", true}, {"Tower", false}, {"Shack2", false}};
  QString log = net.txtOutput.Text();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.recipient);
    net.Hide();
    const int beeps = dialogs.Beeps();
    const QString text = QStringLiteral("For ") + c.recipient;
    tent->Send(network::MessageRecord("Tent2", c.recipient, text));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.lblDupe.Caption().contains(text); }, kNetworkWait));
    EXPECT_EQ(dialogs.Beeps(), beeps + (c.forThisPc ? 1 : 0));
    EXPECT_EQ(net.Visible(), c.forThisPc);
    // Shown, it comes to the front (and its activation shows it again) before it is hidden.
    if (c.forThisPc) {
      ASSERT_TRUE(QTest::qWaitForWindowActive(net.Widget(), peertesting::kBoundMs));
    }
    log += Entry(QString::fromLatin1(c.recipient).trimmed(), "Tent2", text);
    EXPECT_EQ(net.txtOutput.Text(), log) << "every message is logged, an empty line after each";
  }
}

TEST_F(StationMessages, AClientLogsItsOwnMessageOnlyWhenTheServerRelaysIt) {
  QTcpServer shack;
  ASSERT_TRUE(shack.listen(QHostAddress::LocalHost));
  std::unique_ptr<QTcpSocket> link = ClientOf(shack);
  frmNetwork& net = ShownAsClient(*link);
  const QString help = net.txtOutput.Text();
  TypeAndSend(net, "Shack", "coffee is ready");
  const QString message = "<MessageFrom>Tent2<MessageTo> Shack<MessageText>Coffee is ready\r\n\r\n<EOR>";
  EXPECT_EQ(ReadRecords(*link, 2), message + "<Array:0> <Name:Tent2>: <Bnd:144 M> <Mde: CW> <Opr: > <EOR>");
  EXPECT_EQ(net.txtSendData.Text(), "");
  EXPECT_EQ(net.txtOutput.Text(), help) << "not before the server relays it";

  link->write(message.toLatin1());
  ASSERT_TRUE(QTest::qWaitFor([&] { return net.txtOutput.Text() != help; }, kNetworkWait));
  EXPECT_EQ(net.txtOutput.Text(), help + Entry("Shack", "Tent2", "Coffee is ready"));
  EXPECT_EQ(dialogs.Beeps(), 0);
}

TEST_F(StationMessages, AMessageTypedWhileTheServerIsDownStaysInTheBoxAndTheLogSaysItWasNotSent) {
  QTcpServer shack;
  ASSERT_TRUE(shack.listen(QHostAddress::LocalHost));
  std::unique_ptr<QTcpSocket> link = ClientOf(shack);
  frmNetwork& net = ShownAsClient(*link);
  link->disconnectFromHost();
  ASSERT_TRUE(QTest::qWaitFor([&] { return net.WinsockClient.State() == platform::SocketClosed; }, kNetworkWait))
      << "the server is gone";
  const QString before = net.txtOutput.Text();

  TypeAndSend(net, "Shack", "antenna is down");
  EXPECT_EQ(net.txtOutput.Text(), before + NotSent("this PC has no connection to the server, 127.0.0.1"));
  EXPECT_EQ(net.txtSendData.Text(), "Antenna is down") << "kept to send again";

  // The server back: the same Enter sends it.
  net.Timer2.Tick();
  ASSERT_TRUE(shack.waitForNewConnection(kNetworkWait));
  std::unique_ptr<QTcpSocket> again(shack.nextPendingConnection());
  ASSERT_TRUE(ReadRecords(*again).startsWith("<Array:0> <Name:Tent2>"));
  PressEnter(net);
  EXPECT_TRUE(ReadRecords(*again).startsWith("<MessageFrom>Tent2<MessageTo> Shack<MessageText>Antenna is down\r\n"));
  EXPECT_EQ(net.txtSendData.Text(), "");
  EXPECT_EQ(net.txtOutput.Text(), before + NotSent("this PC has no connection to the server, 127.0.0.1"))
      << "sent, it is logged when the server relays it";
}

TEST_F(StationMessages, SyncClocksOnAClientSendsItsTimeAndTakesTheServersAnswerHoweverItArrives) {
  QTcpServer shack;
  ASSERT_TRUE(shack.listen(QHostAddress::LocalHost));
  std::unique_ptr<QTcpSocket> link = ClientOf(shack);
  frmNetwork& net = ShownAsClient(*link);
  QTest::mouseClick(net.Command3.Widget(), Qt::LeftButton);
  EXPECT_EQ(ReadRecords(*link),
            "<Date:>2024/03/02<Time:>20:30:15<Array:0> <Name:Tent2>: <Bnd:144 M> <Mde: CW> <Opr: > <EOR>");
  EXPECT_TRUE(net.txtSendData.HasFocus());

  // The server's answer, followed by its table in the same receive.
  link->write("<Date:>2031/07/04<Time:>03:21:09<Array:0> <Name:Shack>: <Bnd:432 M> <Mde: CW> <Opr: > <EOR>");
  ASSERT_TRUE(QTest::qWaitFor([] { return Row(0) == "Shack|432 M|CW|"; }, kNetworkWait));
  EXPECT_EQ(platform::Now(), ClockAt(2031, 7, 4, 3, 21, 9));
  net.Timer1_Timer();
  EXPECT_TRUE(ReadRecords(*link).startsWith("<Array:0>")) << "a client passes no clock on";

  // Split over two receives, with nothing after it.
  net.ReceiveFromServer("<Date:>2031/07/05<Ti");
  EXPECT_EQ(platform::Now(), ClockAt(2031, 7, 4, 3, 21, 9));
  net.ReceiveFromServer("me:>4:00:00 PM");
  EXPECT_EQ(platform::Now(), ClockAt(2031, 7, 5, 16, 0, 0));

  // Split after its seconds: the PM in the next receive still counts.
  net.ReceiveFromServer("<Date:>2031/07/06<Time:>1:05:42");
  EXPECT_EQ(platform::Now(), ClockAt(2031, 7, 5, 16, 0, 0));
  net.ReceiveFromServer(" PM" + TableRecord(0, "Shack", "432 M", "CW", ""));
  EXPECT_EQ(platform::Now(), ClockAt(2031, 7, 6, 13, 5, 42));
}

TEST_F(StationMessages, AClientsClockRecordSetsTheServersClockWhichEveryClientThenTakes) {
  const int port = ServerListening();
  auto tent = Join(port, 1);
  auto rover = Join(port, 2);
  tent->Send("<Date:>2031/07/04<Time:>03:21:09" + network::StatusRecord("Tent2", "432 M", "PH"));
  EXPECT_TRUE(rover->Receives("<Date:>2031/07/04<Time:>03:21:09<Array:"));
  EXPECT_TRUE(tent->Receives("<Date:>2031/07/04<Time:>03:21:09<Array:")) << "the pressing client's too";
  EXPECT_EQ(platform::Now(), ClockAt(2031, 7, 4, 3, 21, 9));
  EXPECT_TRUE(rover->Receives("<Array:1> <Name:Tent2>: <Bnd:432 M> <Mde: PH>")) << "the status after it counts";

  // A part that does not read stays as it is; the server answers all the same.
  const struct {
    const char* sent;
    const char* answer;
  } cases[] = {
      {"<Date:>2031/13/40<Time:>05:06:07", "<Date:>2031/07/04<Time:>05:06:07"},
      {"<Date:>2031/07/06<Time:>5 past 6", "<Date:>2031/07/06<Time:>05:06:07"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent);
    tent->Send(QString::fromLatin1(c.sent) + network::StatusRecord("Tent2", "432 M", "PH"));
    EXPECT_TRUE(rover->Receives(c.answer));
  }
}

TEST_F(StationMessages, AClockThatMayNotBeSetIsReportedInTheLogAndTheServerStillAnswers) {
  environment.Set("CORVANE_FAKE_SET_CLOCK", "refuse");
  const int port = ServerListening();
  auto tent = Join(port, 1);
  frmNetwork& net = Network();
  const QString help = net.txtOutput.Text();
  tent->Send("<Date:>2031/07/04<Time:>03:21:09" + network::StatusRecord("Tent2", "432 M", "PH"));
  EXPECT_TRUE(tent->Receives("<Date:>2024/03/02<Time:>20:30:15"));
  EXPECT_EQ(platform::Now(), ClockAt(2024, 3, 2, 20, 30, 15));
  EXPECT_EQ(net.txtOutput.Text(), help + "This PC's clock was not set: Operation not permitted\r\n\r\n");
}

// ---------------------------------------------------------------------------------------------
// A LAN that is unlucky or hostile: floods, closed links, strangers, a port that cannot be taken.

TEST_F(StationMessages, AFloodKeepsTheLogToItsNewestWholeLinesAndANewPeerIsStillAnswered) {
  const int port = ServerListening();
  auto tent = Join(port, 1);
  frmNetwork& net = Network();
  const app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  QString everything = net.txtOutput.Text();
  constexpr int kMessages = 400;  // three times what the log keeps
  for (int i = 0; i < kMessages; ++i) {
    const QString text = QStringLiteral("Message %1 ").arg(i) + QString(300, QLatin1Char('x'));
    tent->Send(network::MessageRecord("Tent2", "Tower", text));
    everything += Entry("Tower", "Tent2", text);
  }
  const QString last = QStringLiteral("Message %1 ").arg(kMessages - 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.lblDupe.Caption().contains(last); }, kNetworkWait));

  const QString log = net.txtOutput.Text();
  EXPECT_LE(log.size(), frmNetwork::MessageLogLength);
  EXPECT_GT(log.size(), frmNetwork::MessageLogLength - 400) << "only what did not fit went";
  EXPECT_TRUE(everything.endsWith(log)) << "the newest entries, in order";
  EXPECT_EQ(everything.at(everything.size() - log.size() - 1), QLatin1Char('\n')) << "whole lines go";
  EXPECT_TRUE(tent->Receives(last)) << "every message was relayed";

  auto rover = Join(port, 2);
  EXPECT_TRUE(rover->Receives("<Array:0> <Name:Shack>"));
}

// Strangers taking turns: each is named at most once a minute, and no more than three in a
// minute; the other refusals are counted into one line a minute, so the station's own messages
// and the help stay in the log.
TEST_F(StationMessages, RefusalsOfStrangersTakingTurnsAreNamedOnceAMinuteAndTheRestCountedInOneLine) {
  const int port = ServerListening();
  frmNetwork& net = Network();
  auto tent = Join(port, 1);
  QString expected = net.txtOutput.Text() + Entry("", "Tent2", "Generator refuel at 1400");
  tent->Send(network::MessageRecord("Tent2", "", "Generator refuel at 1400"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return net.txtOutput.Text() == expected; }, kNetworkWait));
  const auto refuse = [&](const QString& address) { RefusedFrom(port, address); };

  constexpr int kBurst = 400;  // as many lines as the log keeps, were each named
  for (int i = 0; i < kBurst; ++i) refuse(i % 2 == 0 ? "203.0.113.5" : "203.0.113.6");
  expected += RefusalLine("203.0.113.5") + RefusalLine("203.0.113.6");
  EXPECT_EQ(net.txtOutput.Text(), expected);
  net.Timer1.Tick();
  EXPECT_EQ(net.txtOutput.Text(), expected) << "the minute is not over";

  platform::Clock::Advance(60000);
  net.Timer1.Tick();
  expected += "Refused 398 more connections from 2 addresses outside the LAN.\r\n\r\n";
  EXPECT_EQ(net.txtOutput.Text(), expected);

  for (const char* address : {"203.0.113.5", "203.0.113.6", "198.51.100.7", "198.51.100.8", "198.51.100.9"}) {
    refuse(address);
  }
  expected += RefusalLine("203.0.113.5") + RefusalLine("203.0.113.6") + RefusalLine("198.51.100.7");
  EXPECT_EQ(net.txtOutput.Text(), expected) << "a minute later each is named again, but only three";

  platform::Clock::Advance(60000);
  refuse("198.51.100.8");
  expected += "Refused 2 more connections from 2 addresses outside the LAN.\r\n\r\n" + RefusalLine("198.51.100.8");
  EXPECT_EQ(net.txtOutput.Text(), expected) << "the count comes with the next refusal too";
  EXPECT_EQ(net.PeerCount, 1);
}

// Strangers from ever new addresses: their count stops at a bound, so they cannot make the server
// hold an address for each of them.
TEST_F(StationMessages, RefusalsFromMoreAddressesThanAreCountedSayOnlyThatThereWereAsManyOrMore) {
  const int port = ServerListening();
  frmNetwork& net = Network();
  constexpr int kNamed = 3;
  constexpr int kFolded = 4097;  // one more address than are counted
  for (int i = 0; i < kNamed + kFolded; ++i) {
    RefusedFrom(port, QStringLiteral("198.18.%1.%2").arg(i / 256).arg(i % 256));
    if (testing::Test::HasFailure()) return;
  }
  EXPECT_EQ(net.txtOutput.Text().count("Refused a connection from"), kNamed);
  platform::Clock::Advance(60000);
  net.Timer1.Tick();
  EXPECT_TRUE(net.txtOutput.Text().endsWith(
      "Refused 4097 more connections from 4096 or more addresses outside the LAN.\r\n\r\n"));
}

TEST_F(StationMessages, APeerThatReadsNothingIsCutItsSlotFreedAndTheLogSaysSo) {
  const int port = ServerListening();
  auto deaf = Join(port, 1);
  deaf->Send(network::StatusRecord("Deaf", "50 M", "CW"));
  ASSERT_TRUE(deaf->Receives("<Name:Deaf>"));
  deaf->TakeNothing();
  auto tent = Join(port, 2);
  frmNetwork& net = Network();

  // Each message goes back to its sender too, which takes none of it.
  const QString cut = QStringLiteral("Closed the connection to 127.0.0.1 (Deaf): that PC read nothing while 1024 KiB "
                                     "waited for it. It may connect again.\r\n\r\n");
  int sent = 0;
  while (!net.txtOutput.Text().contains(cut) && sent < 1000) {
    const QString mark = QStringLiteral("<MessageText>%1 ").arg(sent);
    deaf->Send(network::MessageRecord("Deaf", "Tower", QString::number(sent) + " " + QString(60000, 'x')));
    ++sent;
    ASSERT_TRUE(tent->Receives(mark)) << sent;
    tent->Forget();
  }
  ASSERT_TRUE(net.txtOutput.Text().contains(cut)) << sent << " messages of 60 kB";
  EXPECT_TRUE(deaf->SeesClose());
  EXPECT_EQ(Row(1), "|||") << "its station left the table";

  // Its number is free for the next PC; the other PC kept its own.
  auto rover = std::make_unique<RawPeer>(port);
  ASSERT_TRUE(rover->Connected());
  ASSERT_TRUE(rover->Receives("<Array:0> <Name:Shack>"));
  rover->Send(network::StatusRecord("Rover", "432 M", "PH"));
  EXPECT_TRUE(tent->Receives("<Array:1> <Name:Rover>: <Bnd:432 M>"));
  EXPECT_EQ(net.PeerCount, 2);
  EXPECT_EQ(net.tcpWinsock[2].State(), platform::SocketConnected);
}

// The log lies on a share whose host is this PC's own address: the set-up makes that the server.
TEST_F(NetworkWindow, APcWhoseServerNameReachesItsOwnListenerDropsThatLinkAndServes) {
  {
    const MountedShare share("127.0.0.1", "log");
    app::ServerName = app::ServerNameForLogFile(share.FilePath("Corvane.MDB"));
  }
  ASSERT_EQ(app::ServerName, "127.0.0.1");

  environment.Set("CORVANE_HOST_NAME", "Tent2");
  const int port = ServerListening();
  environment.Set("CORVANE_STATION_PORT", QByteArray::number(port));
  frmNetwork& net = Network();
  net.Timer2.Tick();  // the client connects to the server name: to this PC
  ASSERT_TRUE(QTest::qWaitFor([&] {
    return !net.Timer2.Enabled() && net.WinsockClient.State() == platform::SocketClosed;
  }, kNetworkWait)) << "the link to itself is closed, and no other tried";
  EXPECT_EQ(net.lblServer.Caption(), "127.0.0.1");
  EXPECT_EQ(net.lblStatus.Caption(), "Listening");
  net.Timer1_Timer();
  EXPECT_FALSE(net.Timer2.Enabled()) << "it is the server now";

  auto tent = std::make_unique<RawPeer>(port);
  ASSERT_TRUE(tent->Connected());
  EXPECT_TRUE(tent->Receives("<Array:0> <Name:Tent2>: <Bnd:144 M> <Mde: CW>"));
  EXPECT_EQ(net.tcpWinsock[1].State(), platform::SocketConnected) << "the number its own link had is free again";
  EXPECT_EQ(Row(1), "|||");
  EXPECT_EQ(RedCells(), QStringList({"144 M CW Tent2"})) << "this PC once, as the server";
}

int OpenPeers() {
  int open = 0;
  for (int k = 1; k <= Network().PeerCount; ++k) {
    if (Network().tcpWinsock.Exists(k) && Network().tcpWinsock[k].State() == platform::SocketConnected) ++open;
  }
  return open;
}

TEST_F(NetworkWindow, ClosedConnectionsFreeTheirNumbersLowestFirstSoAFlakyPcLocksNoOneOut) {
  const int port = ServerListening();
  frmNetwork& net = Network();
  auto stable = Join(port, 1);
  auto second = Join(port, 2);
  auto third = Join(port, 3);
  second->Close();
  ASSERT_TRUE(QTest::qWaitFor([] { return OpenPeers() == 2; }, kNetworkWait));
  QStringList statusShown;
  net.lblStatus.Change = [&] { statusShown << net.lblStatus.Caption(); };
  auto again = std::make_unique<RawPeer>(port);
  ASSERT_TRUE(again->Receives("<Array:0> <Name:Shack>"));
  EXPECT_TRUE(statusShown.contains("ConnectedConnection # 2"));
  net.lblStatus.Change = nullptr;
  third->Close();
  again->Close();
  ASSERT_TRUE(QTest::qWaitFor([] { return OpenPeers() == 1; }, kNetworkWait));

  // A PC on a flaky link: a new connection before the old one is seen to close, 200 times.
  std::unique_ptr<RawPeer> previous;
  for (int cycle = 0; cycle < 200; ++cycle) {
    auto next = std::make_unique<RawPeer>(port);
    ASSERT_TRUE(next->Receives("<Array:0> <Name:Shack>")) << "cycle " << cycle;
    if (previous) {
      previous->Close();
      ASSERT_TRUE(QTest::qWaitFor([] { return OpenPeers() == 2; }, kNetworkWait)) << "cycle " << cycle;
    }
    previous = std::move(next);
  }
  EXPECT_LE(net.PeerCount, 3);
  auto late = std::make_unique<RawPeer>(port);
  EXPECT_TRUE(late->Receives("<Array:0> <Name:Shack>")) << "another PC is still accepted";
  EXPECT_EQ(net.tcpWinsock[1].State(), platform::SocketConnected);
}

TEST_F(NetworkWindow, APcFromOutsideTheLanIsRefusedAtOnceAndNamedInTheLogOnce) {
  const int port = ServerListening();
  frmNetwork& net = Network();
  const QString help = net.txtOutput.Text();
  platform::PeerAddressForTesting from("203.0.113.9");
  for (int attempt = 0; attempt < 2; ++attempt) {
    RawPeer outsider(port);
    ASSERT_TRUE(outsider.Connected());
    EXPECT_TRUE(outsider.SeesClose());
    EXPECT_EQ(outsider.Read(), "") << "it heard nothing";
  }
  EXPECT_EQ(net.PeerCount, 0);
  EXPECT_EQ(net.txtOutput.Text(), help + RefusalLine("203.0.113.9")) << "a PC that keeps trying is named once";

  environment.Set("CORVANE_STATION_ALLOW", "192.0.2.1, 203.0.113.0/24");
  auto named = Join(port, 1);
  EXPECT_TRUE(named->Receives("<Array:0> <Name:Shack>"));
}

// Its own client is known for what it is before any address is checked: a server name that
// reaches this PC by its public address makes it the server, not a stranger to itself.
TEST_F(NetworkWindow, APcThatReachesItsOwnListenerFromOutsideTheLanServesInsteadOfRefusingItself) {
  environment.Set("CORVANE_HOST_NAME", "Tent2");
  app::ServerName = "127.0.0.1";
  const int port = ServerListening();
  environment.Set("CORVANE_STATION_PORT", QByteArray::number(port));
  frmNetwork& net = Network();
  const QString help = net.txtOutput.Text();
  {
    platform::PeerAddressForTesting publicAddress("203.0.113.5");
    net.Timer2.Tick();  // the client connects to the server name: to this PC
    ASSERT_TRUE(QTest::qWaitFor([&] {
      return !net.Timer2.Enabled() && net.WinsockClient.State() == platform::SocketClosed;
    }, kNetworkWait)) << "the link to itself is closed, and no other tried";
  }
  EXPECT_EQ(net.txtOutput.Text(), help) << "it refused no one";
  EXPECT_EQ(net.lblStatus.Caption(), "Listening");
  net.Timer1_Timer();
  EXPECT_FALSE(net.Timer2.Enabled()) << "it is the server now";
  auto tent = Join(port, 1);
  EXPECT_TRUE(tent->Receives("<Array:0> <Name:Tent2>: <Bnd:144 M> <Mde: CW>"));
}

// What QHostAddress alone reads as a subnet ("203" as 203.0.0.0/8, "/0" as everything) and an address
// with bits past its prefix length would let in more than its writer meant: such an entry lets no
// one in, and the log names it once.
TEST_F(NetworkWindow, AMalformedAllowEntryLetsNoOneInAndIsNamedInTheLogOnce) {
  const struct {
    const char* setting;
    bool accepted;          // a PC at 203.0.113.5
    const char* malformed;  // as the log names the entries left out
  } cases[] = {
      {"/0", false, "\"/0\""},
      {"/24", false, "\"/24\""},
      {"203", false, "\"203\""},
      {"203.0.113", false, "\"203.0.113\""},
      {"203.0.113.0/33", false, "\"203.0.113.0/33\""},
      {"203.0.113.5/0", false, "\"203.0.113.5/0\""},
      {"203.0.113.5/24, 203.0.113.5/8", false, "\"203.0.113.5/24\", \"203.0.113.5/8\""},
      {"::ffff:203.0.113.5/120", false, "\"::ffff:203.0.113.5/120\""},
      {"203 /16, 203.0.113.05", false, "\"203\", \"/16\", \"203.0.113.05\""},
      {"203, 203.0.113.0/24", true, "\"203\""},
      {"203.0.113.5", true, nullptr},
      {"203.0.113.0/24", true, nullptr},
      {"0.0.0.0/0", true, nullptr},
      {"::ffff:203.0.113.5", true, nullptr},
      {"::ffff:203.0.113.0/120", true, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting);
    environment.Set("CORVANE_STATION_ALLOW", c.setting);
    ServerListening();
    frmNetwork& net = Network();
    for (int click = 0; click < 2; ++click) QTest::mouseClick(net.Check1.Widget(), Qt::LeftButton);
    const int port = net.tcpWinsock[0].LocalPort();  // switched off and on, it listens anew
    ASSERT_EQ(net.tcpWinsock[0].State(), platform::SocketListening);
    platform::PeerAddressForTesting from("203.0.113.5");
    std::vector<std::unique_ptr<RawPeer>> peers;
    for (int attempt = 0; attempt < 3; ++attempt) {
      auto& peer = peers.emplace_back(std::make_unique<RawPeer>(port));
      ASSERT_TRUE(peer->Connected());
      if (c.accepted) {
        ASSERT_TRUE(peer->Receives("<Array:0> <Name:Shack>"));
      } else {
        ASSERT_TRUE(peer->SeesClose());
        EXPECT_EQ(peer->Read(), "") << "it heard nothing";
      }
    }
    const QString log = net.txtOutput.Text();
    EXPECT_EQ(log.count("This PC leaves out"), c.malformed ? 1 : 0) << "once, whatever the connections";
    if (c.malformed) {
      EXPECT_EQ(log.count(QStringLiteral("This PC leaves out %1 of CORVANE_STATION_ALLOW: an entry is a whole "
                                         "address alone, or a network's own address with \"/\" and its prefix "
                                         "length (\"203.0.113.7\", \"198.51.100.0/24\", \"2001:db8::/32\"). "
                                         "Connections from the addresses meant are refused.\r\n\r\n")
                              .arg(c.malformed)),
                1);
    }
    EXPECT_EQ(log.count(RefusalLine("203.0.113.5")), c.accepted ? 0 : 1);
    peers.clear();
    platform::UnloadAll();
  }
}

TEST_F(NetworkWindow, AStationPortThatCannotBeTakenIsNamedInTheLogOnce) {
  QTcpServer holder;  // another program on the station port
  ASSERT_TRUE(holder.listen(QHostAddress::Any));
  environment.Set("CORVANE_STATION_PORT", QByteArray::number(holder.serverPort()));
  network::NetworkEnabled = 1;
  frmNetwork& net = Network();
  ShowActive(net);
  const QString notice = QStringLiteral("This PC cannot take connections on TCP port %1 (Address in use), so the other "
                                        "PCs of the station cannot reach it. The README's station network section "
                                        "says how to let the program use the port, or how to choose another with "
                                        "CORVANE_STATION_PORT on every PC.\r\n\r\n")
                             .arg(holder.serverPort());
  EXPECT_EQ(net.tcpWinsock[0].State(), platform::SocketClosed);
  EXPECT_TRUE(net.txtOutput.Text().endsWith(notice)) << "after the help";
  EXPECT_EQ(net.txtOutput.Text().count(notice), 1);

  for (int click = 0; click < 2; ++click) QTest::mouseClick(net.Check1.Widget(), Qt::LeftButton);
  EXPECT_EQ(net.tcpWinsock[0].State(), platform::SocketClosed);
  EXPECT_EQ(net.txtOutput.Text().count(notice), 1) << "the same failure again is not repeated";

  holder.close();
  for (int click = 0; click < 2; ++click) QTest::mouseClick(net.Check1.Widget(), Qt::LeftButton);
  EXPECT_EQ(net.tcpWinsock[0].State(), platform::SocketListening);
}

// The window was loaded before the set-up decided the server, as a band change loads it.
TEST_F(StationMessages, TheServerTheSetUpDecidesIsShownAtOnceInTheLabelAndTheHelp) {
  environment.Set("CORVANE_HOST_NAME", "Tent2");
  app::ServerName = "";
  frmNetwork& net = Network();
  EXPECT_EQ(net.lblServer.Caption(), "Tent2");
  net.ReceiveFromServer(network::MessageRecord("Shack", "Tower", "Soup is ready"));
  const QString entry = Entry("Tower", "Shack", "Soup is ready");

  const MountedShare share("Tent1", "log");
  platform::CreateLogDatabase(share.FilePath("Corvane.MDB"));
  app::modGlobalPreferences::PreferencesText = app::modGlobalPreferences::DeclarationLine;
  app::modGlobalPreferences::PreferencesPath = share.FilePath("SharedUserPreferences.xml");
  app::frmStationID& setUp = platform::Instance<app::frmStationID>();
  ShowActive(setUp);
  setUp.Text8.SetText(R"(\\Tent1\log\Corvane.MDB)");
  QTest::mouseClick(setUp.Command1.Widget(), Qt::LeftButton);
  logging::LogConnection.Close();

  EXPECT_EQ(app::ServerName, "Tent1");
  EXPECT_EQ(net.lblServer.Caption(), "Tent1");
  const QString log = net.txtOutput.Text();
  EXPECT_TRUE(log.contains("the PC server name is Tent1.  It is not necessary"));
  EXPECT_TRUE(log.contains("begin their log file path with \\\\Tent1.  The server path"));
  EXPECT_FALSE(log.contains("Tent2"));
  EXPECT_TRUE(log.endsWith(entry)) << "the messages stay";
  EXPECT_EQ(log.count("A copy of this program must be running"), 1);
}

// ---------------------------------------------------------------------------------------------
// The LAN's computers, from a network neighbourhood of the test's own.

platform::NetworkResource Container(const QString& name, std::vector<platform::NetworkResource> entries) {
  return {name, true, std::move(entries)};
}
platform::NetworkResource Share(const QString& name) { return {name, false, {}}; }
// A workgroup of computers "\\<prefix>1" to "\\<prefix><count>", each with a share.
platform::NetworkResource Workgroup(const QString& name, const QString& prefix, int count) {
  std::vector<platform::NetworkResource> computers;
  for (int i = 1; i <= count; ++i) {
    const QString computer = "\\\\" + prefix + QString::number(i);
    computers.push_back(Container(computer, {Share(computer + "\\LOG")}));
  }
  return Container(name, std::move(computers));
}

TEST_F(NetworkWindow, TheLanListNamesTheComputersTheWalkFindsUpToItsLimit) {
  const QString longName = "\\\\" + QString(300, 'L');
  const struct {
    const char* what;
    platform::NetworkResource root;
    QStringList listed;  // empty: only the count and the last name are checked
    int count;
    QString last;
  } cases[] = {
      {"three computers in a workgroup, in order",
       Container("", {Container("Station Network", {Container("WORKGROUP", {
                                                        Container("\\\\SHACK", {Share("\\\\SHACK\\LOG")}),
                                                        Container("\\\\TENT2", {}),
                                                        Container("\\\\ROVER", {Share("\\\\ROVER\\PRINTER")}),
                                                    })})}),
       {"SHACK", "TENT2", "ROVER"}, 3, "ROVER"},
      {"a share and a name read up to its zero or 255 characters",
       Container("", {Container("WORKGROUP", {Share("\\\\SHACK\\LOG"), Container(longName, {}),
                                              Container(QString("\\\\TENT2") + QChar(0) + "\\junk", {})})}),
       {QString(253, 'L'), "TENT2"}, 2, "TENT2"},
      {"no network", Container("", {}), {}, 0, ""},
      {"60 computers in one workgroup", Container("", {Workgroup("WORKGROUP", "PC", 60)}), {}, 51, "PC51"},
      {"one more for each enclosing level that lists one",
       Container("", {Workgroup("WORKGROUP", "PC", 60), Container("\\\\LATE1", {}), Container("\\\\LATE2", {})}), {},
       52, "LATE1"},
  };
  platform::ScriptedDialogs dialogs;
  frmNetwork& net = Network();
  ShowActive(net);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    net.List2.AddItem("OLD");
    platform::ScriptedNetworkNeighbourhood neighbourhood(c.root);
    QTest::mouseClick(net.Command4.Widget(), Qt::LeftButton);
    const QStringList listed = ItemsOf(net.List2);
    if (!c.listed.isEmpty()) {
      EXPECT_EQ(listed, c.listed);
    }
    EXPECT_EQ(listed.size(), c.count);
    EXPECT_EQ(listed.value(listed.size() - 1), c.last);
    EXPECT_EQ(network::PCCount, c.count);
    EXPECT_TRUE(net.txtSendData.HasFocus());
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());

  platform::ScriptedNetworkNeighbourhood neighbourhood(cases[0].root);
  QTest::mouseClick(net.Command4.Widget(), Qt::LeftButton);
  auto* list = qobject_cast<QListWidget*>(net.List2.Widget());
  ASSERT_NE(list, nullptr);
  net.Text3.SetFocus();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(net.Text3.Text(), "TENT2");
  EXPECT_TRUE(net.txtSendData.HasFocus());
}

// ---------------------------------------------------------------------------------------------
// The table and grid as a client's receives fill them.

class StationGrid : public NetworkWindow {
 protected:
  void SetUp() override {
    NetworkWindow::SetUp();
    ASSERT_TRUE(folder.isValid());
    app::ProgramDir = folder.path();
  }
  static void Receive(const QString& text) { Network().ReceiveFromServer(text); }

  KeptCurrentFolder currentFolder;
  QTemporaryDir folder;
};

TEST_F(StationGrid, TableRecordsFillRowsAndCells) {
  const struct {
    const char* what;
    QStringList received;  // one receive each
    QStringList red;
    QStringList rows;  // rows 0 to 3
  } cases[] = {
      {"rows in order", {TableRecord(0, "Shack", "144 M", "CW", "") + TableRecord(1, "Tent2", "432 M", "PH", "")},
       {"144 M CW Shack", "432 M PH Tent2"}, {"Shack|144 M|CW|", "Tent2|432 M|PH|", "|||", "|||"}},
      {"markers in any case and a \">\" in a name",
       {"<ARRAY:2> <name:Ten>t3>: <BND:222 m> <mde: ph> <OPR: K1> <eor>"}, {"222 M PH Ten"},
       {"|||", "|||", "Ten|222 m|ph|K1", "|||"}},
      {"row 201 ends its receive; earlier rows stay",
       {TableRecord(1, "Tent2", "50 M", "PH", "") + TableRecord(201, "Far", "50 M", "CW", "") +
            TableRecord(2, "Lost", "50 M", "CW", ""),
        TableRecord(3, "Next", "902 M", "PH", "")},
       {"50 M PH Tent2", "902 M PH Next"}, {"|||", "Tent2|50 M|PH|", "|||", "Next|902 M|PH|"}},
      {"row 0 with a band clears the grid first",
       {TableRecord(3, "Old", "902 M", "PH", ""), TableRecord(0, "Shack", "144 M", "CW", "")},
       {"144 M CW Shack"}, {"Shack|144 M|CW|", "|||", "|||", "Old|902 M|PH|"}},
      {"row 0 without a band clears nothing",
       {TableRecord(3, "Old", "902 M", "PH", ""), TableRecord(0, "Shack", "", "CW", "")},
       {"902 M PH Old"}, {"Shack||CW|", "|||", "|||", "Old|902 M|PH|"}},
      {"a station moves: its old cell is freed", {TableRecord(1, "Tower", "144 M", "CW", ""),
                                                    TableRecord(1, "Tower", "432 M", "CW", "")},
       {"432 M CW Tower"}, {"|||", "Tower|432 M|CW|", "|||", "|||"}},
      {"two stations in one cell: the last drawn shows",
       {TableRecord(1, "Tent2", "222 M", "PH", "") + TableRecord(2, "Tent3", "222 M", "PH", "")},
       {"222 M PH Tent3"}, {"|||", "Tent2|222 M|PH|", "Tent3|222 M|PH|", "|||"}},
      {"142 G is kept but has no cell", {TableRecord(1, "Rover", "142 G", "CW", "")}, {},
       {"|||", "Rover|142 G|CW|", "|||", "|||"}},
      {"an unknown mode has no cell", {TableRecord(1, "Rover", "50 M", "FM", "")}, {},
       {"|||", "Rover|50 M|FM|", "|||", "|||"}},
      {"digital fills the hidden row", {TableRecord(1, "Van", "144 M", "DIG", "")}, {"144 M DIG Van"},
       {"|||", "Van|144 M|DIG|", "|||", "|||"}},
      {"column 13 is cleared like the others",
       {TableRecord(1, "Far", "120 G", "CW", ""), TableRecord(0, "Shack", "144 M", "CW", "")},
       {"144 M CW Shack"}, {"Shack|144 M|CW|", "Far|120 G|CW|", "|||", "|||"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    platform::UnloadAll();
    platform::ResetModuleValues();
    for (const QString& received : c.received) Receive(received);
    EXPECT_EQ(RedCells(), c.red);
    EXPECT_EQ(QStringList({Row(0), Row(1), Row(2), Row(3)}), c.rows);
  }
}

TEST_F(StationGrid, RecordsFedByteByByteComeOutWhole) {
  const QString table = TableRecord(0, "Shack", "144 M", "CW", "") + TableRecord(1, "Tent2", "432 M", "PH", "");
  for (const QChar c : table) Receive(QString(c));
  EXPECT_EQ(RedCells(), QStringList({"144 M CW Shack", "432 M PH Tent2"}));
}

TEST_F(StationGrid, JunkHugeNumbersAndOversizedInputChangeNothing) {
  Receive(TableRecord(1, "Tent2", "432 M", "PH", ""));
  const QStringList rogue[] = {
      {"hello there <EOR> <Name:X> <Bnd:50 M> <Mde: PH> <EOR>"},
      {"<Array:99999999999999999999999> <Name:X>: <Bnd:50 M> <Mde: PH> <Opr: > <EOR>"},
      {"<Array:-1> <Name:X>: <Bnd:50 M> <Mde: PH> <Opr: > <EOR>"},
      {"<Array:2> <Name:" + QString(70000, 'X'), ">: <Bnd:50 M> <Mde: PH> <Opr: > <EOR>"},
  };
  for (const QStringList& receives : rogue) {
    SCOPED_TRACE(receives.front().left(40).toStdString());
    for (const QString& received : receives) Receive(received);
    EXPECT_EQ(RedCells(), QStringList({"432 M PH Tent2"}));
    for (int row = 0; row < network::StationTableRows; ++row) {
      if (row == 1) continue;
      ASSERT_EQ(Row(row), "|||") << row;
    }
    EXPECT_EQ(Row(1), "Tent2|432 M|PH|");
  }
  Receive(TableRecord(2, "Tent3", "50 M", "CW", ""));
  EXPECT_EQ(RedCells(), QStringList({"50 M CW Tent3", "432 M PH Tent2"})) << "records after them are read";
}

TEST_F(StationGrid, AloneTheGridHoldsOnlyThisStationInRed) {
  network::NetworkEnabled = 1;
  Receive(TableRecord(1, "Tent2", "432 M", "PH", "") + TableRecord(2, "Van", "50 M", "DIG", ""));
  Network().Timer1_Timer();
  EXPECT_EQ(RedCells(), QStringList({"144 M CW Shack"}));
}

// What the main window warns of when the operator picks a band.
TEST_F(StationGrid, TheMainWindowWarnsOfOtherStationsInAnyModeButNotOf142GOrItself) {
  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  Receive(TableRecord(0, "Shack", "144 M", "CW", "") + TableRecord(1, "Van", "144 M", "DIG", "") +
          TableRecord(2, "Rover", "142 G", "CW", ""));
  form.mnu80.Action()->trigger();  // 144 M
  EXPECT_EQ(form.lblDialog.Caption(), "Be careful, Van is also operating on 144 M on digital!");
  EXPECT_EQ(dialogs.Beeps(), 1) << "its own cell does not count";
  form.mnu142g.Action()->trigger();
  EXPECT_EQ(form.lblDialog.Caption(), "");
  EXPECT_EQ(dialogs.Beeps(), 1);
}

}  // namespace
