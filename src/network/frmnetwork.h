#pragma once

#include "network/records.h"
#include "platform/controlarray.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/form.h"
#include "platform/timer.h"
#include "platform/winsock.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>

namespace network {

// The station network window: the band-by-mode table of the station's PCs, station messages,
// clock synchronisation and the TCP links between the PCs. The PC that holds the log file is the
// server; every other PC keeps one connection to it and mirrors its station table.
class frmNetwork : public platform::Form {
 public:
  frmNetwork();

  // The band grid, columns 0 to 13: the header holds the column's band name, the cells the
  // stations working it in phone, CW and digital mode. An occupied cell is red (255).
  platform::ControlArray<platform::Label> lblBndHdr{this, "lblBndHdr"};
  platform::ControlArray<platform::Label> lblBandSSB{this, "lblBandSSB"};
  platform::ControlArray<platform::Label> lblBandCW{this, "lblBandCW"};
  platform::ControlArray<platform::Label> lblBandDIG{this, "lblBandDIG"};  // hidden, still kept up to date
  // The grid's row headings, element 0 for the upper block of columns, 1 for the lower.
  platform::ControlArray<platform::Label> lblRowSSB{this, "lblRowSSB"};
  platform::ControlArray<platform::Label> lblRowCW{this, "lblRowCW"};
  platform::ControlArray<platform::Label> lblRowDIG{this, "lblRowDIG"};  // hidden with its cells

  platform::Label Label3{this, "Label3"};
  platform::TextBox Text1{this, "Text1"};     // this PC's station name
  platform::CheckBox Check1{this, "Check1"};  // "Functions Enabled": mirrors NetworkEnabled
  platform::CommandButton Command2{this, "Command2"};  // "&Done"
  platform::Label Label5{this, "Label5"};
  platform::Label lblServer{this, "lblServer"};  // ServerName
  platform::Label Label9{this, "Label9"};
  platform::Label lblStatus{this, "lblStatus"};  // the state of this PC's connection
  platform::Label Label8{this, "Label8"};
  platform::TextBox Text3{this, "Text3"};  // a message's recipient; empty for everyone
  platform::CommandButton Command3{this, "Command3"};  // "Sync Clocks"
  platform::CommandButton Command4{this, "Command4"};  // "List Network PCs"
  platform::Label Label7{this, "Label7"};
  platform::TextBox txtSendData{this, "txtSendData"};          // the message being typed
  platform::CommandButton Command1{this, "Command1"};          // "Send Data", hidden: Enter sends
  platform::TextBox txtOutput{this, "txtOutput", platform::MultiLine};  // the messages
  platform::ListBox List2{this, "List2"};                      // the LAN's computers

  platform::Timer Timer1{this, "Timer1"};  // status exchange
  platform::Timer Timer2{this, "Timer2"};  // connecting and reconnecting to the server

  platform::Winsock WinsockClient{this, "WinsockClient"};  // this PC's connection to the server
  // Element 0 listens; elements 1 to PeerCount are the accepted peers, loaded as they come.
  platform::ControlArray<platform::Winsock> tcpWinsock{this, "tcpWinsock"};

  // Peer sockets loaded: elements 1..PeerCount of tcpWinsock, at most MaxPeers. A request takes
  // the lowest element whose connection is gone, so MaxPeers counts open connections.
  static constexpr std::int32_t MaxPeers = 195;
  // The message log keeps its newest 64 KiB, about what a text box of the program's first home
  // held, dropping its oldest whole lines.
  static constexpr qsizetype MessageLogLength = 64 * 1024;
  std::int32_t PeerCount = 0;
  // The peer whose record is handled: its row of the station table.
  float LastPeerIndex = 0;
  // The label of each socket state 0 to 9; slot 10 stays empty.
  std::array<QString, 11> SocketStateText;

  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(int& Cancel) override;

  // Reports this station's band and mode to the others; the main window runs it after every
  // band or mode change. Only while the network functions are on.
  void Timer1_Timer();
  void Timer2_Timer();
  // Sends this station's status (a client) or the station table (the server) and redraws this
  // station's own cell.
  void NetworkUpdateProcedure();

  // Switches the network functions on or off; the main window's start-up switches them on here.
  void Check1_Click();
  void Text1_KeyPress(int& KeyAscii);
  void Text1_LostFocus();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void List2_Click();
  void txtSendData_KeyPress(int& KeyAscii);

  void tcpWinsock_ConnectionRequest(int Index, std::int32_t requestID);
  void tcpWinsock_DataArrival(int Index, std::int32_t bytesTotal);
  void tcpWinsock_Close(int Index);
  // A connection that failed is gone as one that closed; one cut because its PC read nothing
  // is named in the message log.
  void tcpWinsock_Error(int Index, int Number, const QString& Description);
  void WinsockClient_Connect();
  void WinsockClient_DataArrival(std::int32_t bytesTotal);
  void WinsockClient_Close();

  // What a connection received, handled record by record in order; an incomplete record waits
  // for the rest. From a peer (on the server) and from the server (on a client).
  void ReceiveFromPeer(int Index, const QString& received);
  void ReceiveFromServer(const QString& received);

  // The station table on the server: the sender's row from its status record; and the table
  // sent to every connected peer.
  void ParseStationRecordServer(const QString& record);
  void BroadcastStationTable();
  // A client's copy of the server's table: one table record.
  void ParseStationRecordsClient(const QString& record);

  // The grid.
  void ClearBandGrid();
  void RemoveStationFromGrid(const QString& name);
  void ShowStationCell(int row);
  void RefreshOwnRow();
  void PurgeDisconnectedStations();

  // A received station message: logged, shown in the main window, relayed by the server to
  // every peer; one for this PC brings the hidden window back.
  void ShowReceivedMessage(const QString& record);
  // Sets this PC's clock from a received clock record; false when the text is no clock record.
  // A refusal to set it is written into the message log.
  bool ApplyClockRecord(const QString& record);
  // The LAN's computers into List2.
  void ListNetworkPCs();
  // Shows the server the set-up decided, or this PC when it decided none (which then becomes
  // ServerName), in lblServer and in the help text at the top of the message log.
  void ShowServerName();

 private:
  void DesignBandGrid();
  void DesignControls();
  void ScaleToScreen();
  void StartListening();
  void ShowListenFailure(int port, const platform::RuntimeError& failure);
  void ShowMalformedAllowEntries();
  bool RefusedAddress(const QString& address);
  void ShowFoldedRefusals();
  std::optional<int> FreePeerSlot();
  void ForgetStation(int row);
  void PeerGone();
  void ServeItself();
  void CheckConnections();
  bool ThisPcIsServer();
  const QString& StateText(int state) const;
  void SwitchNetworkOff();
  void HandleServerRecord(const Record& record);
  void HandleClientRecord(const Record& record);
  int SendToConnectedPeers(const QString& record);
  void ShowMessageNotSent();
  void LogMessage(const QString& recipient, const QString& sender, const QString& text);
  void AppendToOutput(const QString& text);
  bool AddressedToThisPc(const QString& recipient);

  RecordBuffer clientRecords_;
  std::map<int, RecordBuffer> peerRecords_;  // by peer element; entries stay for a later peer
  // This PC's client reached its own listener: it is the server, whatever its name.
  bool servesItself_ = false;
  QString helpShown_;            // the help text at the top of the message log
  QString listenFailureShown_;   // the last failure to listen named in the log; shown once
  QString allowNoticeShown_;     // the malformed entries of CORVANE_STATION_ALLOW named in the log
  std::map<QString, std::uint32_t> refusalsNamed_;  // addresses named in the last minute, and when
  qint64 refusalsFolded_ = 0;    // refusals not named since foldingSince_
  std::uint32_t foldingSince_ = 0;
  std::set<QString> foldedFrom_;  // their addresses, up to a bound
};

}  // namespace network
