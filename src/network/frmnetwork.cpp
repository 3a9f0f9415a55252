#include "network/frmnetwork.h"

#include "app/form1.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "app/stationfields.h"
#include "logging/globals.h"
#include "logging/keyfilters.h"
#include "logging/logstore.h"
#include "network/globals.h"
#include "network/listcomp.h"
#include "platform/clock.h"
#include "platform/design.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/numbertext.h"
#include "platform/pcclock.h"
#include "platform/screen.h"
#include "platform/trace.h"
#include "platform/twips.h"

#include <QLocale>

#include <cmath>
#include <functional>

namespace network {

namespace {

using platform::Color;
using platform::SkipOnError;

constexpr int GridColumns = 14;  // "50 M" to "120 G"; bands from 142 G up have no column
constexpr int ColumnsPerBlock = 7;
constexpr Color FreeCellColor = 0x80FF80;
constexpr Color OccupiedCellColor = 255;
constexpr Color HeaderForeColor = 0xFFFFFF;
constexpr Color HeaderBackColor = 0x000000;
constexpr int StationNameLength = 10;
constexpr int KeyQuote = 34;
constexpr int KeyApostrophe = 39;
constexpr int QueueOverflowError = 10055;  // the socket cut a peer that read nothing
// Refusals in the log: an address is named at most once a minute, and at most a few addresses
// in a minute; the rest are counted, the addresses up to a bound, and told in one line a minute.
constexpr std::uint32_t RefusalNoticeSpacing = 60000;  // milliseconds
constexpr std::size_t MaxAddressesNamedPerMinute = 3;
constexpr std::size_t MaxAddressesCounted = 4096;

const QString CrLf = QStringLiteral("\r\n");
const QString CrLf2 = CrLf + CrLf;

const QString BroadcastTitle = QStringLiteral("Are you sure that you want to send a broadcast message?");
const QString BroadcastQuestion =
    QStringLiteral("The \"Message To\" field is currently blank.  This will send a broadcast message to ALL the PCs "
                   "and interrupt everyone!  Broadcast messages should only be sent for critically important "
                   "information such as \"I'm shutting down the generator in 5 minutes to refuel!\" or  \"It is time "
                   "for EVERYONE to eat! \" Are you sure that you want to send a broadcast message?") +
    CrLf2 +
    QStringLiteral("If you only want to send a message to one other station, please select that station's name from "
                   "the list.");

// "1 address", "2 addresses".
QString Counted(qint64 count, const char* one, const char* many) {
  return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

bool SameText(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Station names travel inside records and SQL-free texts alike: blanks trimmed, at most ten
// characters, nothing from the first apostrophe on.
QString StationNameFrom(const QString& text) {
  QString name = platform::TrimBlanks(text).left(StationNameLength);
  const qsizetype apostrophe = name.indexOf(QLatin1Char('\''));
  if (apostrophe >= 0) name.truncate(apostrophe);
  return name;
}

void RequireRow(int row) {
  if (row < 0 || row >= StationTableRows) throw platform::RuntimeError(QStringLiteral("Subscript out of range"), 9);
}

void SetRow(int row, const QString& name, const QString& band, const QString& mode, const QString& operatorName) {
  RequireRow(row);
  NetStationName[row] = name;
  NetStationBand[row] = band;
  NetStationMode[row] = mode;
  NetStationOpr[row] = operatorName;
}

// Errors met while records are handled end this receive: its other whole records go unread.
void HandleWholeRecords(RecordBuffer& records, const std::function<void(const Record&)>& handle) {
  try {
    while (std::optional<Record> record = records.Next()) handle(*record);
  } catch (const std::exception& error) {
    platform::TraceError(lcNetwork, error);
    records.DropWholeRecords();
  }
}

// A cell is read by its band and its row: "50 M PH".
void DesignCell(platform::Label& cell, double left, double top, const QString& name) {
  platform::DesignCaption(cell, QString(), left, top, 1095, 270);
  cell.SetAccessibleName(name);
  cell.SetAlignment(platform::AlignCenter);
  cell.SetBorderStyle(1);
  cell.SetBackColor(FreeCellColor);
}

QString HelpText() {
  const QString& server = app::ServerName;
  return QStringLiteral(
             "A copy of this program must be running on the same PC that is hosting your log file for the network "
             "status functions to display.  The PC hosting your log file is the server for the network status "
             "display.  Based on the path to the file that you selected in setup, the PC server name is ") +
         server + QStringLiteral(".") +
         QStringLiteral("  It is not necessary to run a copy of this program on the PC hosting your log file for "
                        "the regular logging and dupe checking functions to work properly.") +
         CrLf2 +
         QStringLiteral("The path to the log file as specified in setup determines whether this PC is a server or "
                        "client.  The client PCs should begin their log file path with \\\\") +
         server +
         QStringLiteral(".  The server path should reference the local drive directly with a path such as ") +
         app::LogFilePathShown(QString(), app::ProgramDir) + QStringLiteral(".") + CrLf2 +
         QStringLiteral(
             "To send a message, type text in the text box above and press enter.  All messages are seen on all PCs "
             "regardless of the \"Message To\" field; however, a message box will only appear on the main form of "
             "the receiving PC if the \"Message To\" field either identifies that station or is left blank.  When "
             "blank, a broadcast message is assumed and the message box will appear on the main form of all the "
             "PCs.") +
         CrLf2 +
         QStringLiteral("The list box of PCs shows all the PCs that would be listed by Windows Explorer.  It is not "
                        "necessary for all the PCs on your network to be listed for the network functions to work "
                        "properly.") +
         CrLf2 +
         QStringLiteral("Clicking the \"Sync Clocks\" button will set all the PCs currently connected and running "
                        "this program to the current date and time of this PC.") +
         CrLf2;
}

}  // namespace

frmNetwork::frmNetwork() : Form(QStringLiteral("frmNetwork")) {
  SetCaption(QStringLiteral(" Network Status Display"));
  Move(0, 0, platform::DesignScreen.width, platform::DesignScreen.height);
  DesignBandGrid();
  DesignControls();
  WIRE(Check1, Click);
  WIRE(Text1, KeyPress);
  WIRE(Text1, LostFocus);
  WIRE(Command1, Click);
  WIRE(Command2, Click);
  WIRE(Command3, Click);
  WIRE(Command4, Click);
  WIRE(List2, Click);
  WIRE(txtSendData, KeyPress);
  WIRE_TIMER(Timer1);
  WIRE_TIMER(Timer2);
  WIRE_SOCKET(tcpWinsock, ConnectionRequest);
  WIRE_SOCKET(tcpWinsock, DataArrival);
  WIRE_SOCKET(tcpWinsock, Close);
  WIRE_SOCKET(tcpWinsock, Error);
  WIRE_SOCKET(WinsockClient, Connect);
  WIRE_SOCKET(WinsockClient, DataArrival);
  WIRE_SOCKET(WinsockClient, Close);
}

// Two blocks of seven columns, the lower block 1200 twips below the upper.
void frmNetwork::DesignBandGrid() {
  for (int column = 0; column < GridColumns; ++column) {
    const double left = 960 + 1200 * (column % ColumnsPerBlock);
    const double blockTop = 1200 * (column / ColumnsPerBlock);
    platform::Label& header = lblBndHdr.Add(column);
    platform::DesignCaption(header, logging::BandNames[column], left, blockTop + 120, 1095, 255);
    header.SetAlignment(platform::AlignCenter);
    header.SetBorderStyle(1);
    header.SetForeColor(HeaderForeColor);
    header.SetBackColor(HeaderBackColor);
    const QString band = logging::BandNames[column] + QLatin1Char(' ');
    DesignCell(lblBandSSB.Add(column), left, blockTop + 360, band + QStringLiteral("PH"));
    DesignCell(lblBandCW.Add(column), left, blockTop + 660, band + QStringLiteral("CW"));
    DesignCell(lblBandDIG.Add(column), left, blockTop + 960, band + QStringLiteral("DIG"));
    lblBandDIG[column].SetVisible(false);
  }
  for (int block = 0; block < 2; ++block) {
    const double blockTop = 1200 * block;
    platform::DesignCaption(lblRowSSB.Add(block), QStringLiteral("PH:"), 240, blockTop + 360, 600, 270);
    platform::DesignCaption(lblRowCW.Add(block), QStringLiteral("CW:"), 240, blockTop + 660, 600, 270);
    platform::DesignCaption(lblRowDIG.Add(block), QStringLiteral("DIG:"), 240, blockTop + 960, 600, 270);
    lblRowDIG[block].SetVisible(false);
  }
}

void frmNetwork::DesignControls() {
  platform::DesignCaption(Label3, QStringLiteral("This Station's Name"), 240, 2670, 2100, 255);
  Text1.SetMaxLength(StationNameLength);
  Text1.Move(2400, 2640, 1500, 285);
  platform::DesignCaption(Check1, QStringLiteral("Functions Enabled"), 4200, 2640, 1935, 285);
  platform::DesignCaption(Command2, QStringLiteral("&Done"), 7920, 2580, 1215, 375);
  platform::DesignCaption(Label5, QStringLiteral("Server Name:"), 240, 3060, 2100, 255);
  platform::DesignCaption(lblServer, QStringLiteral("Server"), 2400, 3060, 2400, 255);
  platform::DesignCaption(Label9, QStringLiteral("Status:"), 4920, 3060, 900, 255);
  platform::DesignCaption(lblStatus, QStringLiteral("Ready"), 5880, 3060, 3255, 255);
  platform::DesignCaption(Label8, QStringLiteral("Message To:  (Blank to Send Broadcast)"), 240, 3480, 3600, 255);
  Text3.Move(240, 3750, 3600, 285);
  platform::DesignCaption(Command3, QStringLiteral("Sync Clocks"), 4200, 3690, 1575, 375);
  platform::DesignCaption(Command4, QStringLiteral("List Network PCs"), 5880, 3690, 1935, 375);
  platform::DesignCaption(Label7, QStringLiteral("Type message to send and press enter:"), 240, 4140, 4500, 255);
  txtSendData.Move(240, 4410, 6900, 285);
  platform::DesignCaption(Command1, QStringLiteral("Send Data"), 7320, 4380, 1215, 375);
  Command1.SetVisible(false);
  txtOutput.Move(240, 4800, 6900, 1800);
  List2.Move(7320, 4800, 1815, 1800);
  Text1.NameAfter(Label3);
  lblServer.NameAfter(Label5);
  lblStatus.NameAfter(Label9);
  Text3.NameAfter(Label8);
  txtSendData.NameAfter(Label7);
  txtOutput.SetAccessibleName(QStringLiteral("Messages"));
  List2.SetAccessibleName(QStringLiteral("Network PCs"));
  Timer1.SetInterval(60000);
  Timer1.SetEnabled(true);
  Timer2.SetInterval(15000);
  Timer2.SetEnabled(false);
  tcpWinsock.Add(0);
}

// ---------------------------------------------------------------------------------------------
// The window's life

void frmNetwork::Form_Load() {
  ScaleToScreen();
  SkipOnError(lcNetwork, [this] {
    // The help first: what switching the network on may write into the log comes after it.
    ShowServerName();
    Text1.SetText(platform::TrimBlanks(StationName));
    Check1.SetValue(NetworkEnabled);
    if (Text1.Text().isEmpty()) Text1.SetText(WinsockClient.LocalHostName());
    StationName = StationNameFrom(Text1.Text());
    Text1.SetText(StationName);
    PeerCount = 0;
    SocketStateText = {"Closed",     "Open",           "Listening", "Connect pending", "Resolving host", "Host resolved",
                       "Connecting...", "Connected", "Peer is closing", "Error",         ""};
    if (NetworkEnabled == 1) StartListening();
  });
}

// The whole screen, or the desktop's work area when the main window keeps clear of the task bar.
void frmNetwork::ScaleToScreen() {
  SkipOnError(lcNetwork, [this] {
    const bool workArea = app::TaskBarDisplay == 1;
    const double width = workArea ? platform::Screen::WorkAreaWidth() : platform::Screen::Width();
    const double height = workArea ? platform::Screen::WorkAreaHeight() : platform::Screen::Height();
    const double oldWidth = Width();
    const double oldHeight = Height();
    Move(0, 0, width, height);
    app::ModFormResize::ScaleControlsBy(*this, width / oldWidth, height / oldHeight);
  });
}

void frmNetwork::Form_Activate() {
  Check1.SetValue(NetworkEnabled);
  SetVisible(true);
  platform::DoEvents();
  Timer1_Timer();
  List2.Clear();
}

void frmNetwork::Form_Unload(int& Cancel) {
  (void)Cancel;  // the unload goes on whatever fails
  Timer2.SetEnabled(false);
  const std::int32_t last = PeerCount;
  for (int i = 0; i <= last; ++i) {
    SkipOnError(lcNetwork, [&] {
      platform::Winsock& socket = tcpWinsock[i];
      if (socket.State() != platform::SocketConnected) return;
      socket.Close();
      if (i > 0) tcpWinsock.Unload(i);
      platform::DoEvents();
    });
  }
  WinsockClient.Close();
}

void frmNetwork::Command2_Click() { Hide(); }

void frmNetwork::List2_Click() {
  Text3.SetText(List2.List(List2.ListIndex()));
  txtSendData.SetFocus();
}

void frmNetwork::Command4_Click() {
  txtSendData.SetFocus();
  List2.Clear();
  ListNetworkPCs();
}

// ---------------------------------------------------------------------------------------------
// Station name and switch

void frmNetwork::Text1_KeyPress(int& KeyAscii) {
  if (KeyAscii == KeyQuote || KeyAscii == KeyApostrophe) KeyAscii = 0;
}

void frmNetwork::Text1_LostFocus() {
  StationName = StationNameFrom(Text1.Text());
  Text1.SetText(StationName);
  NetworkUpdateProcedure();
}

void frmNetwork::Check1_Click() {
  SkipOnError(lcNetwork, [this] {
    NetworkEnabled = Check1.Value() == 1 ? 1 : 0;
    if (NetworkEnabled == 1) {
      // The start-up switches the network on here, also in a window loaded while it was off;
      // it starts the reconnect timer first.
      if (tcpWinsock[0].State() != platform::SocketListening) StartListening();
      Timer2.SetEnabled(true);
      Timer1.SetEnabled(true);
      lblStatus.SetCaption(QStringLiteral("Initializing"));
    } else {
      SwitchNetworkOff();
    }
    Command2.SetFocus();
  });
}

// Closes every socket; peers that went meanwhile (their close runs while events are processed)
// are passed over.
void frmNetwork::SwitchNetworkOff() {
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
  const std::int32_t last = PeerCount;
  for (int i = 0; i <= last; ++i) {
    if (!tcpWinsock.Exists(i)) continue;
    tcpWinsock[i].Close();
    if (i > 0) tcpWinsock.Unload(i);
    platform::DoEvents();
    tcpWinsock[0].Close();
  }
  WinsockClient.Close();
  ClearBandGrid();
  lblStatus.SetCaption(QStringLiteral("Closed"));
  PeerCount = 0;
}

// ---------------------------------------------------------------------------------------------
// Connections

bool frmNetwork::ThisPcIsServer() { return servesItself_ || SameText(WinsockClient.LocalHostName(), app::ServerName); }

const QString& frmNetwork::StateText(int state) const {
  if (state < 0 || state >= static_cast<int>(SocketStateText.size())) {
    throw platform::RuntimeError(QStringLiteral("Subscript out of range"), 9);
  }
  return SocketStateText[static_cast<std::size_t>(state)];
}

void frmNetwork::StartListening() {
  SkipOnError(lcNetwork, [this] {
    platform::Winsock& listener = tcpWinsock[0];
    listener.Close();
    const int port = platform::StationPort();
    listener.SetLocalPort(port);
    try {
      listener.Listen();
      listenFailureShown_.clear();
      ShowMalformedAllowEntries();
    } catch (const platform::RuntimeError& failure) {
      ShowListenFailure(port, failure);
      throw;
    }
  });
}

// Without its port the server never hears of its clients, and they try again for ever: the
// operator learns why, once.
void frmNetwork::ShowListenFailure(int port, const platform::RuntimeError& failure) {
  const QString notice =
      QStringLiteral("This PC cannot take connections on TCP port %1 (%2), so the other PCs of the station cannot "
                     "reach it. The README's station network section says how to let the program use the port, "
                     "or how to choose another with CORVANE_STATION_PORT on every PC.")
          .arg(port)
          .arg(failure.Description());
  if (notice == listenFailureShown_) return;
  listenFailureShown_ = notice;
  AppendToOutput(notice + CrLf2);
}

// A malformed entry would let in more than its writer meant, so it is left out; the operator
// learns which, once.
void frmNetwork::ShowMalformedAllowEntries() {
  const QStringList malformed = platform::MalformedStationAllowEntries();
  if (malformed.isEmpty()) return;
  const QString notice =
      QStringLiteral("This PC leaves out \"%1\" of CORVANE_STATION_ALLOW: an entry is a whole address alone, or a "
                     "network's own address with \"/\" and its prefix length (\"203.0.113.7\", \"198.51.100.0/24\", "
                     "\"2001:db8::/32\"). Connections from the addresses meant are refused.")
          .arg(malformed.join(QStringLiteral("\", \"")));
  if (notice == allowNoticeShown_) return;
  allowNoticeShown_ = notice;
  qCWarning(lcNetwork).noquote() << notice;
  AppendToOutput(notice + CrLf2);
}

void frmNetwork::tcpWinsock_ConnectionRequest(int Index, std::int32_t requestID) {
  // A request left unaccepted is closed as this returns.
  SkipOnError(lcNetwork, [&] {
    if (Index != 0) return;
    // Its own client first: a server name that reaches this PC by a public address is no stranger.
    if (tcpWinsock[0].IsRequestFrom(requestID, WinsockClient)) {
      ServeItself();
      return;
    }
    if (RefusedAddress(tcpWinsock[0].RemoteHostIP())) return;
    const std::optional<int> slot = FreePeerSlot();
    if (!slot) return;
    const int n = *slot;
    platform::Winsock& peer = tcpWinsock.Exists(n) ? tcpWinsock[n] : tcpWinsock.Load(n);
    if (peer.State() != platform::SocketClosed) peer.Close();
    peer.SetLocalPort(platform::StationPort() + n);
    peer.Accept(requestID);
    // Counted only once accepted: a peer counted without a socket stops every later loop.
    PeerCount = std::max(PeerCount, n);
    peerRecords_[n].Clear();
    ForgetStation(n);
    lblStatus.SetCaption(StateText(peer.State()) + QStringLiteral("Connection # ") + QString::number(n));
    NetworkUpdateProcedure();
  });
}

// Anyone who reaches the listener could set every PC's clock and fill the station table: the
// station network takes only its LAN's PCs.
bool frmNetwork::RefusedAddress(const QString& address) {
  if (platform::StationPeerAllowed(address)) return false;
  ShowFoldedRefusals();
  const std::uint32_t now = platform::TimeGetTime();
  std::erase_if(refusalsNamed_, [now](const auto& named) { return now - named.second >= RefusalNoticeSpacing; });
  if (!refusalsNamed_.contains(address) && refusalsNamed_.size() < MaxAddressesNamedPerMinute) {
    refusalsNamed_[address] = now;
    AppendToOutput(QStringLiteral("Refused a connection from %1: the station network takes only the PCs of its LAN "
                                  "(loopback, private and link-local addresses). CORVANE_STATION_ALLOW can name more "
                                  "addresses or subnets.")
                       .arg(address) +
                   CrLf2);
    return true;
  }
  if (refusalsFolded_ == 0) foldingSince_ = now;
  ++refusalsFolded_;
  if (foldedFrom_.size() < MaxAddressesCounted) foldedFrom_.insert(address);
  return true;
}

// The refusals not named, in one line once they have been counted for a minute. The clock is read
// only then: each reading moves a test's stopped clock.
void frmNetwork::ShowFoldedRefusals() {
  if (refusalsFolded_ == 0 || platform::TimeGetTime() - foldingSince_ < RefusalNoticeSpacing) return;
  // The addresses stop being counted at the bound: a full count tells only that there were as many or more.
  const bool countFull = foldedFrom_.size() == MaxAddressesCounted;
  const QString from = countFull ? QStringLiteral("%1 or more addresses").arg(MaxAddressesCounted)
                                 : Counted(static_cast<qint64>(foldedFrom_.size()), "address", "addresses");
  AppendToOutput(QStringLiteral("Refused %1 from %2 outside the LAN.")
                     .arg(Counted(refusalsFolded_, "more connection", "more connections"), from) +
                 CrLf2);
  refusalsFolded_ = 0;
  foldedFrom_.clear();
}

// The lowest peer element whose connection is gone, else a new one on top while there is room.
std::optional<int> frmNetwork::FreePeerSlot() {
  for (int k = 1; k <= PeerCount; ++k) {
    if (!tcpWinsock.Exists(k) || tcpWinsock[k].State() != platform::SocketConnected) return k;
  }
  if (PeerCount < MaxPeers) return PeerCount + 1;
  return std::nullopt;
}

// A row taken anew tells nothing of the station that had it before.
void frmNetwork::ForgetStation(int row) {
  if (!NetStationName[row].isEmpty()) RemoveStationFromGrid(NetStationName[row]);
  SetRow(row, QString(), QString(), QString(), QString());
}

// A server name that reaches this PC (its address, its full name, 127.0.0.1) makes its client a
// peer of its own listener, and every status would come back to be sent again: the request goes
// unaccepted, the client is closed, and this PC is the server.
void frmNetwork::ServeItself() {
  WinsockClient.Close();
  clientRecords_.Clear();
  servesItself_ = true;
  Timer2.SetEnabled(false);
  RefreshOwnRow();
  lblStatus.SetCaption(StateText(tcpWinsock[0].State()));
}

void frmNetwork::Timer2_Timer() {
  if (NetworkEnabled != 1) return;
  SkipOnError(lcNetwork, [this] {
    if (app::ServerName.isEmpty()) ShowServerName();
    if (!ThisPcIsServer() && WinsockClient.State() != platform::SocketConnected) {
      lblStatus.SetCaption(StateText(WinsockClient.State()));
      WinsockClient.Close();
      clientRecords_.Clear();
      WinsockClient.SetRemoteHost(platform::TrimBlanks(app::ServerName));
      WinsockClient.SetRemotePort(platform::StationPort());
      WinsockClient.Connect();
      if (WinsockClient.State() == platform::SocketConnected) {
        NetworkUpdateProcedure();
        Timer2.SetEnabled(false);
      }
    } else {
      Timer2.SetEnabled(false);
    }
    const platform::Winsock& shown = ThisPcIsServer() ? tcpWinsock[0] : WinsockClient;
    lblStatus.SetCaption(StateText(shown.State()));
  });
}

void frmNetwork::WinsockClient_Connect() { NetworkUpdateProcedure(); }

void frmNetwork::WinsockClient_Close() {
  SkipOnError(lcNetwork, [this] {
    CheckConnections();
    for (int row = 1; row <= PeerCount + 2; ++row) NetStationBand[row].clear();
    ClearBandGrid();
    Timer2.SetEnabled(true);
  });
}

void frmNetwork::tcpWinsock_Close(int Index) {
  (void)Index;  // every check looks at all peers
  PeerGone();
}

void frmNetwork::tcpWinsock_Error(int Index, int Number, const QString& Description) {
  (void)Description;  // only a cut is named in the log, and the socket has traced it
  SkipOnError(lcNetwork, [&] {
    if (Number != QueueOverflowError) return;
    const platform::Winsock& peer = tcpWinsock[Index];
    const QString& station = NetStationName[Index];
    const QString who = station.isEmpty() ? peer.RemoteHostIP()
                                          : peer.RemoteHostIP() + QStringLiteral(" (") + station + QStringLiteral(")");
    AppendToOutput(QStringLiteral("Closed the connection to %1: that PC read nothing while %2 KiB waited for it. It "
                                  "may connect again.")
                       .arg(who)
                       .arg(platform::Winsock::MaxQueuedBytes / 1024) +
                   CrLf2);
  });
  PeerGone();
}

// Every station's band is forgotten until its next status; the grid follows the table, so a
// peer unloaded from the top (its row beyond the purge) leaves no cell behind.
void frmNetwork::PeerGone() {
  SkipOnError(lcNetwork, [this] {
    CheckConnections();
    NetworkUpdateProcedure();
    for (int row = 1; row <= PeerCount + 2; ++row) NetStationBand[row].clear();
    ClearBandGrid();
    RefreshOwnRow();
  });
}

// Closes dead sockets. Peers are unloaded from the top down only, so a dead peer below the top
// stays loaded, closed, until it is the top one.
void frmNetwork::CheckConnections() {
  const int clientState = WinsockClient.State();
  if (clientState == platform::SocketClosed || clientState > platform::SocketConnected) {
    if (clientState > platform::SocketConnected) WinsockClient.Close();
    if (!ThisPcIsServer()) ClearBandGrid();
  }
  const std::int32_t last = PeerCount;
  for (int i = 1; i <= last; ++i) {
    platform::Winsock& peer = tcpWinsock[i];
    const int state = peer.State();
    if (state != platform::SocketClosed && state <= platform::SocketConnected) continue;
    peer.Close();
    if (i == PeerCount) {
      tcpWinsock.Unload(i);
      --PeerCount;
    }
  }
}

void frmNetwork::Timer1_Timer() {
  if (NetworkEnabled != 1) return;
  SkipOnError(lcNetwork, [this] {
    ShowFoldedRefusals();
    const bool server = ThisPcIsServer();
    if (!Timer2.Enabled() && !server && WinsockClient.State() != platform::SocketConnected) Timer2.SetEnabled(true);
    NetworkUpdateProcedure();
    const platform::Winsock& shown = server ? tcpWinsock[0] : WinsockClient;
    lblStatus.SetCaption(StateText(shown.State()));
    if (PeerCount == 0 && WinsockClient.State() != platform::SocketConnected) {
      ClearBandGrid();
      RefreshOwnRow();
    }
  });
}

void frmNetwork::NetworkUpdateProcedure() {
  SkipOnError(lcNetwork, [this] {
    if (app::ServerName.isEmpty()) ShowServerName();
    if (ThisPcIsServer()) {
      lblStatus.SetCaption(StateText(tcpWinsock[0].State()));
      PurgeDisconnectedStations();
    }
    CheckConnections();
    if (!ThisPcIsServer()) lblStatus.SetCaption(StateText(WinsockClient.State()));
    if (WinsockClient.State() == platform::SocketConnected) {
      WinsockClient.SendData(StatusRecord(Text1.Text(), logging::CurrentBand, logging::CurrentMode));
    }
    if (PeerCount == 0) return;
    BroadcastStationTable();
    RemoveStationFromGrid(StationName);
    RefreshOwnRow();
  });
}

// ---------------------------------------------------------------------------------------------
// Records

void frmNetwork::tcpWinsock_DataArrival(int Index, std::int32_t bytesTotal) {
  (void)bytesTotal;  // everything received is taken
  SkipOnError(lcNetwork, [&] {
    QString received;
    tcpWinsock[Index].GetData(received);
    ReceiveFromPeer(Index, received);
  });
}

void frmNetwork::ReceiveFromPeer(int Index, const QString& received) {
  RecordBuffer& records = peerRecords_[Index];
  records.Append(received);
  HandleWholeRecords(records, [this, Index](const Record& record) {
    LastPeerIndex = static_cast<float>(Index);
    HandleServerRecord(record);
  });
}

void frmNetwork::HandleServerRecord(const Record& record) {
  switch (record.kind) {
    case RecordKind::Message:
      ShowReceivedMessage(record.text);
      break;
    case RecordKind::Clock:
      if (ApplyClockRecord(record.text)) Command3_Click();  // every client takes the clock just set
      break;
    case RecordKind::Station:
      ParseStationRecordServer(record.text);
      NetworkUpdateProcedure();
      break;
  }
}

void frmNetwork::WinsockClient_DataArrival(std::int32_t bytesTotal) {
  (void)bytesTotal;  // everything received is taken
  SkipOnError(lcNetwork, [this] {
    QString received;
    WinsockClient.GetData(received);
    ReceiveFromServer(received);
  });
}

void frmNetwork::ReceiveFromServer(const QString& received) {
  clientRecords_.Append(received);
  HandleWholeRecords(clientRecords_, [this](const Record& record) { HandleClientRecord(record); });
}

void frmNetwork::HandleClientRecord(const Record& record) {
  switch (record.kind) {
    case RecordKind::Message:
      ShowReceivedMessage(record.text);
      break;
    case RecordKind::Clock:
      ApplyClockRecord(record.text);
      break;
    case RecordKind::Station:
      ParseStationRecordsClient(record.text);
      break;
  }
}

// The sender's row is the number of its socket, whatever its record says.
void frmNetwork::ParseStationRecordServer(const QString& record) {
  const int row = static_cast<int>(std::nearbyint(LastPeerIndex));
  const StationFields fields = ReadStationFields(record);
  SetRow(row, fields.name, fields.band, fields.mode, fields.operatorName);
  if (!fields.name.isEmpty()) RemoveStationFromGrid(fields.name);
  if (!NetStationBand[row].isEmpty()) ShowStationCell(row);
}

// A row outside the table throws, which ends the receive it came in.
void frmNetwork::ParseStationRecordsClient(const QString& record) {
  const std::optional<int> row = TableRow(record);
  if (!row) return;
  const StationFields fields = ReadStationFields(record);
  SetRow(*row, fields.name, fields.band, fields.mode, fields.operatorName);
  if (!fields.name.isEmpty()) RemoveStationFromGrid(fields.name);
  if (NetStationBand[*row].isEmpty()) return;
  if (*row == 0) ClearBandGrid();  // a broadcast starts with row 0: the grid is drawn anew
  ShowStationCell(*row);
}

// Every connected peer gets every named row; a peer found gone loses its name on the way, so
// the peers after it no longer hear of it.
void frmNetwork::BroadcastStationTable() {
  SetRow(0, StationName, logging::CurrentBand, logging::CurrentMode, QString());
  const std::int32_t last = PeerCount;
  for (int k = 1; k <= last; ++k) {
    platform::Winsock& peer = tcpWinsock[k];
    if (peer.State() != platform::SocketConnected) {
      NetStationName[k].clear();
      continue;
    }
    // A peer cut for reading nothing is gone from one record to the next.
    for (int i = 0; i <= PeerCount && peer.State() == platform::SocketConnected; ++i) {
      if (NetStationName[i].isEmpty()) continue;
      peer.SendData(TableRecord(i, NetStationName[i], NetStationBand[i], NetStationMode[i], NetStationOpr[i]));
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The grid

void frmNetwork::ClearBandGrid() {
  for (auto* cells : {&lblBandSSB, &lblBandCW, &lblBandDIG}) {
    for (int column : cells->Indexes()) {
      platform::Label& cell = (*cells)[column];
      cell.SetCaption(QString());
      if (cell.BackColor() != FreeCellColor) cell.SetBackColor(FreeCellColor);
    }
  }
}

void frmNetwork::RemoveStationFromGrid(const QString& name) {
  for (auto* cells : {&lblBandSSB, &lblBandCW, &lblBandDIG}) {
    for (int column : cells->Indexes()) {
      platform::Label& cell = (*cells)[column];
      if (!SameText(cell.Caption(), name)) continue;
      cell.SetBackColor(FreeCellColor);
      cell.SetCaption(QString());
    }
  }
}

// A band without a column, or a mode other than PH, CW and DIG, shows nowhere.
void frmNetwork::ShowStationCell(int row) {
  RequireRow(row);
  for (int column : lblBndHdr.Indexes()) {
    if (!SameText(lblBndHdr[column].Caption(), NetStationBand[row])) continue;
    const QString& mode = NetStationMode[row];
    platform::ControlArray<platform::Label>* cells = SameText(mode, QStringLiteral("PH"))    ? &lblBandSSB
                                                     : SameText(mode, QStringLiteral("CW"))  ? &lblBandCW
                                                     : SameText(mode, QStringLiteral("DIG")) ? &lblBandDIG
                                                                                             : nullptr;
    if (!cells) return;
    platform::Label& cell = (*cells)[column];
    cell.SetCaption(NetStationName[row]);
    cell.SetBackColor(OccupiedCellColor);
    return;
  }
}

void frmNetwork::RefreshOwnRow() {
  SetRow(0, StationName, logging::CurrentBand, logging::CurrentMode, QString());
  ShowStationCell(0);
}

// On the server: the rows of peers whose sockets are gone leave the table and the grid.
void frmNetwork::PurgeDisconnectedStations() {
  SkipOnError(lcNetwork, [this] {
    for (int k = 1; k <= PeerCount; ++k) {
      if (tcpWinsock[k].State() == platform::SocketConnected) continue;
      if (!NetStationName[k].isEmpty()) RemoveStationFromGrid(NetStationName[k]);
      NetStationName[k].clear();
      NetStationBand[k].clear();
      NetStationMode[k].clear();
    }
  });
}

// ---------------------------------------------------------------------------------------------
// Messages, clocks and the LAN list

// Enter sends; a broadcast only once the operator confirms it. A message starts with a capital.
void frmNetwork::txtSendData_KeyPress(int& KeyAscii) {
  if (KeyAscii != platform::KeyReturn) {
    if (txtSendData.SelStart() == 0) logging::Capital(KeyAscii);
    return;
  }
  KeyAscii = 0;
  if (Text3.Text().isEmpty() &&
      platform::MsgBox(BroadcastQuestion, platform::MsgBoxStyle::YesNo, BroadcastTitle) == platform::MsgBoxResult::No) {
    return;
  }
  Command1_Click();
}

// A client logs its own message only when the server relays it back; the server logs it here. A
// message no connection took stays in the box, and the log says it was not sent.
void frmNetwork::Command1_Click() {
  SkipOnError(lcNetwork, [this] {
    const QString record = MessageRecord(Text1.Text(), Text3.Text(), txtSendData.Text());
    bool sent = false;
    if (WinsockClient.State() == platform::SocketConnected) {
      WinsockClient.SendData(record);
      sent = WinsockClient.State() == platform::SocketConnected;  // not cut for a server that reads nothing
    }
    platform::DoEvents();
    if (PeerCount > 0 && SendToConnectedPeers(record) > 0) {
      LogMessage(Text3.Text(), Text1.Text(), txtSendData.Text() + CrLf2);
      sent = true;
    }
    if (!sent) {
      ShowMessageNotSent();
      return;
    }
    txtSendData.SetText(QString());
    txtSendData.SetFocus();
    platform::DoEvents();
    Timer1_Timer();
  });
}

// "Sync Clocks": the others take this PC's clock; the server passes it on to every client.
void frmNetwork::Command3_Click() {
  SkipOnError(lcNetwork, [this] {
    const QString record = ClockRecord(platform::Now());
    if (WinsockClient.State() == platform::SocketConnected) WinsockClient.SendData(record);
    platform::DoEvents();
    if (PeerCount > 0) SendToConnectedPeers(record);
    txtSendData.SetFocus();
    platform::DoEvents();
    Timer1_Timer();
  });
}

void frmNetwork::ShowReceivedMessage(const QString& record) {
  SkipOnError(lcNetwork, [&] {
    const MessageFields message = ReadMessageFields(record);
    if (PeerCount > 0) SendToConnectedPeers(record);  // the sender too: it logs what comes back
    LogMessage(message.recipient, message.sender, message.text);
    platform::Instance<app::Form1>().lblDupe.SetCaption(QStringLiteral("To: ") + message.recipient +
                                                        QStringLiteral(" From: ") + message.sender + CrLf +
                                                        message.text);
    if (!AddressedToThisPc(message.recipient) || Visible()) return;
    platform::Beep();
    SetVisible(true);
    txtOutput.SetSelStart(static_cast<int>(txtOutput.TextLength()));
    txtSendData.SetFocus();
  });
}

// A message for this PC names its host or its station, or no one (a broadcast).
bool frmNetwork::AddressedToThisPc(const QString& recipient) {
  return recipient.isEmpty() || SameText(recipient, WinsockClient.LocalHostName()) || SameText(recipient, Text1.Text());
}

// Each part of the clock is set when its text reads as one; the rest of the clock stays.
bool frmNetwork::ApplyClockRecord(const QString& record) {
  const std::optional<ClockSetting> setting = ReadClockRecord(record);
  if (!setting) return false;
  if (!setting->date.isValid() && !setting->time.isValid()) return true;
  const QDateTime now = platform::Now();
  try {
    platform::SetPcClock(setting->date.isValid() ? setting->date : now.date(),
                         setting->time.isValid() ? setting->time : now.time());
  } catch (const platform::RuntimeError& refusal) {
    platform::TraceError(lcNetwork, refusal);
    AppendToOutput(refusal.Description() + CrLf2);
  }
  return true;
}

// The operator learns that the typed message reached no one, and why.
void frmNetwork::ShowMessageNotSent() {
  const QString server = platform::TrimBlanks(app::ServerName);
  const QString why = ThisPcIsServer() ? QStringLiteral("no other PC of the station is connected")
                                       : QStringLiteral("this PC has no connection to the server, %1").arg(server);
  AppendToOutput(QStringLiteral("Not sent: %1. The message stays in the box to send again.").arg(why) + CrLf2);
}

// Every connected peer, in order; events run after each send, so a peer may be gone by its turn.
// The peers that took the record.
int frmNetwork::SendToConnectedPeers(const QString& record) {
  int taken = 0;
  const std::int32_t last = PeerCount;
  for (int k = 1; k <= last; ++k) {
    if (!tcpWinsock.Exists(k) || tcpWinsock[k].State() != platform::SocketConnected) continue;
    tcpWinsock[k].SendData(record);
    if (tcpWinsock[k].State() == platform::SocketConnected) ++taken;
    platform::DoEvents();
  }
  return taken;
}

// One entry of the message log: recipient, sender, the time of this PC, then the text, which
// ends in the empty line that parts the entries.
void frmNetwork::LogMessage(const QString& recipient, const QString& sender, const QString& text) {
  AppendToOutput(QStringLiteral("To: ") + recipient + CrLf);
  AppendToOutput(QStringLiteral("From: ") + sender + CrLf);
  AppendToOutput(QLocale().toString(platform::Now().time(), LongTimeFormat()) + CrLf);
  AppendToOutput(text);
}

// The caret stays at the end, after what was added.
void frmNetwork::AppendToOutput(const QString& text) { txtOutput.AppendText(text, MessageLogLength); }

void frmNetwork::ShowServerName() {
  if (app::ServerName.isEmpty()) app::ServerName = WinsockClient.LocalHostName();
  if (!SameText(lblServer.Caption(), app::ServerName)) servesItself_ = false;
  lblServer.SetCaption(app::ServerName);
  const QString help = HelpText();
  if (help == helpShown_) return;
  // The help stays where it is, unless messages have pushed it out of the log.
  const QString log = txtOutput.Text();
  if (log.startsWith(helpShown_)) {
    txtOutput.SetText(help + log.mid(helpShown_.size()));
    if (log.size() > helpShown_.size()) txtOutput.SetSelStart(static_cast<int>(txtOutput.TextLength()));
  }
  helpShown_ = help;
}

void frmNetwork::ListNetworkPCs() {
  std::vector<QString> pcs;
  EnumerateNetworkPCs(pcs);
  List2.Clear();
  for (std::size_t i = 1; i < pcs.size(); ++i) List2.AddItem(pcs[i]);
}

}  // namespace network
