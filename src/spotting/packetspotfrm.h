#pragma once

#include "platform/controlarray.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/optiongroups.h"
#include "platform/serialoptions.h"
#include "platform/serialcontrol.h"
#include "platform/timer.h"
#include "platform/winsock.h"
#include "spotting/receivebox.h"
#include "spotting/spotlines.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace spotting {

// The spot sources, as the source list names them.
inline const QString NoneSource = QStringLiteral("None");
inline const QString TNCSource = QStringLiteral("TNC");
inline const QString TelnetSource = QStringLiteral("Telnet");
inline const QString AGWSource = QStringLiteral("AGW Packet Engine");

// How long after a source dropped, and after each attempt that failed, it is opened again while
// the operator has not closed it.
inline constexpr int ReopenIntervalMs = 30000;

// The line break of the receive box's text.
inline const QString CrLf = QStringLiteral("\r\n");

// Where the AGW packet engine is to be had, as the window's texts name it.
inline const QString AGWEngineDownloadPlace = QStringLiteral("the AGW Packet Engine website.");

// The steps to the AGW packet engine, in the help and in the report of an engine not reached.
inline const QString AGWDownloadStep = QStringLiteral("- Download the freely available software from ") +
                                       AGWEngineDownloadPlace;
inline const QString AGWRunStep = QStringLiteral(
    "- Run the Packet Engine software and configure it as described on the AGW Packet Engine website for your "
    "sound card or TNC.");
inline const QString AGWOpenStep = QStringLiteral("- Click Open from this program.");

// The spotting window: the spot source (none, a TNC on a serial port, a telnet cluster or the
// AGW packet engine), the TNC's port settings, how the main window shows spots, and the source
// opened and closed. Done hides it; an open source goes on receiving.
class PacketSpotfrm : public platform::Form {
 public:
  PacketSpotfrm();

  QString SpotSource;             // "None", "TNC", "Telnet", "AGW Packet Engine"; empty until chosen
  std::uint8_t SpotLoading = 0;   // 1 while the load restores the settings
  QString ConnectedCall;          // the station the AGW engine reports connected
  QString AGWOwnCall;             // the own call, as the AGW engine was opened with it
  SpotLineBuffer SpotBuffer;      // TNC text not yet taken as whole lines
  float SpotRefreshCount = 0;     // receive ticks since the last spot or band-map refresh
  SpotLineBuffer TelnetLines;     // the cluster's text not yet taken as whole lines
  // The TNC port values, as last taken from the options when the port was opened, or loaded.
  // They start as the design's options show them, so that settings saved before the TNC was
  // ever opened load again.
  std::uint8_t SpotPort = 1;  // 1..10
  QString SpotBaud = QStringLiteral("19200");
  QString SpotParity = QStringLiteral("N");     // "O", "N", "E"
  QString SpotDataBits = QStringLiteral("8");   // "7", "8"
  QString SpotStopBits = QStringLiteral("1");   // "1", "2"
  QString SpotCommSettings;                     // "9600,N,8,1"
  QString SpotPowerLine = QStringLiteral("N");  // the line that powers the TNC: "N" none, "R" RTS, "D" DTR
  std::uint8_t SpotHandshake = 1;               // 1 none, 2 XON/XOFF, 3 RTS, 4 RTS and XON/XOFF
  // The source was reached and the operator has not closed it since: when it drops, it is opened
  // again every ReopenIntervalMs until it is back.
  bool SourceMeantOpen = false;

  platform::Label Label1{this, "Label1"};
  platform::ListBox List1{this, "List1"};
  platform::TextBox txtUnProcessed{this, "txtUnProcessed", platform::MultiLine};
  platform::Label Label6{this, "Label6"};
  platform::TextBox txtSent{this, "txtSent"};
  platform::Label Label4{this, "Label4"};  // "Listening": shown while a source is open
  platform::CommandButton Command1{this, "Command1"};  // Open Port
  platform::CommandButton Command2{this, "Command2"};  // Close Port
  platform::CommandButton Command3{this, "Command3"};  // Spot Last
  platform::CommandButton cmdDone{this, "cmdDone"};

  platform::Frame Frame2{this, "Frame2"};
  platform::OptionButton OptBand{&Frame2, "OptBand"};
  platform::OptionButton OptList{&Frame2, "OptList"};  // the main window shows the spot list, not the band map
  platform::CheckBox chkDX{this, "chkDX"};

  platform::Frame fraPort{this, "fraPort"};
  platform::ControlArray<platform::OptionButton> optComm{&fraPort, "optComm"};  // index i: port i + 1

  platform::BaudRateOptions baud{this};

  platform::Frame fraParity{this, "fraParity"};
  platform::OptionButton optParityOdd{&fraParity, "optParityOdd"};
  platform::OptionButton optParityNone{&fraParity, "optParityNone"};
  platform::OptionButton optParityEven{&fraParity, "optParityEven"};

  platform::DataAndStopBitOptions bits{this};

  platform::Frame fraPower{this, "fraPower"};
  platform::OptionButton optPowerNone{&fraPower, "optPowerNone"};
  platform::OptionButton optPowerRTS{&fraPower, "optPowerRTS"};
  platform::OptionButton optPowerDTR{&fraPower, "optPowerDTR"};

  platform::Frame Frame1{this, "Frame1"};  // handshaking
  platform::OptionButton Option1{&Frame1, "Option1"};
  platform::OptionButton Option2{&Frame1, "Option2"};
  platform::OptionButton Option3{&Frame1, "Option3"};
  platform::OptionButton Option4{&Frame1, "Option4"};

  platform::Label Label2{this, "Label2"};
  platform::TextBox txtHex{this, "txtHex"};  // the TNC's command-mode character, two hex digits
  platform::CheckBox chkConvToHex{this, "chkConvToHex"};
  platform::Label Label7{this, "Label7"};
  platform::TextBox txtTelnetHost{this, "txtTelnetHost"};
  platform::Label Label3{this, "Label3"};
  platform::TextBox txtTelnetPort{this, "txtTelnetPort"};

  platform::SerialControl comComm1;
  platform::Winsock Winsock1{this, "Winsock1"};
  platform::Timer Timer1{this, "Timer1"};
  platform::Timer ReopenTimer{this, "ReopenTimer"};  // runs while a dropped source is opened again
  // Tries the AGW engine's port without waiting before registering with it again.
  platform::Winsock AGWProbe{this, "AGWProbe"};

  // What the receive box holds; the box shows it.
  ReceiveBoxText ReceivedText{txtUnProcessed};

  void Form_Load() override;
  void Form_Activate() override;
  void Form_KeyDown(int& KeyCode, int Shift) override;
  void Form_Unload(int& Cancel) override;

  void List1_Click();
  void Command1_Click();  // Open
  void Command2_Click();  // Close
  void Command3_Click();  // Spot Last
  void cmdDone_Click();

  void DisableAllControls();
  void EnableTNCControls();
  void EnableTelnetControls();
  void EnableAGWControls();
  void ShowSpottingHelp();

  void LoadPacketSettings();
  void SavePacketSettings();
  void SetCommSettings();

  void OpenTNCPort();
  void Timer1_Timer();
  void ReadTNCInput();
  void ProcessTNCBuffer();
  void PostSpot(const QString& frequency, const QString& call, const QString& line);
  void TrimReceivedText();
  void txtSent_KeyPress(int& KeyAscii);
  void txtSent_Change();

  void ReopenTimer_Timer();

  void OpenTelnet();
  void Winsock1_Connect();
  void Winsock1_DataArrival(std::int32_t bytesTotal);
  // One read of the cluster's text: shown, and its whole DX lines posted.
  void TakeTelnetText(const QString& chunk);
  void Winsock1_Close();
  void Winsock1_Error(int Number, const QString& Description);
  void SendTelnetText();

  void OpenAGWEngine();
  void AGWProbe_Connect();
  void AGWProbe_Error(int Number, const QString& Description);
  void ProcessAGWData();
  void SendAGWText();

 private:
  using OptionGroup = platform::OptionGroup;

  OptionGroup ParityOptions();
  OptionGroup PowerOptions();
  std::vector<platform::OptionButton*> HandshakeOptions();
  std::vector<platform::OptionButton*> LineOptions();

  void LayOutControls();
  void WirePortOptions();
  void EnablePortOptions(bool enabled);
  void PortOption_Click();
  void SelectLoadedOptions();
  void EnableSourceControls();
  bool SourceIs(const QString& source) const;
  bool NoSource() const;
  void FocusSendBox();
  void CloseSource();
  void SourceReached();
  void SourceLost();
  void StopReopening();
  bool Reopening() const;
  void ShowSourceDownOnMainWindow(bool down);
  void SendCommandCharacter();
  void DisconnectAGWStation();
  void CloseAGWEngine();
  bool StartAGWEngine();
  void ProbeAGWEngine();
  void ReportAGWEngineNotReached();
  void EndAGWEngineConnection();
  void ShowAGWFrame(std::int32_t kind, const QString& station, const QString& data);
  void TakeAGWConnectNotice(std::int32_t kind, const QString& station);
  void SendAGWCommand(const QString& text);
  void SetTNCHandshaking();
  void PowerTNC();
  void ReportTNCPortFailure();
  void RefreshBandMapWhenQuiet();
  void ShowTelnetText(const QString& text);
  QString TelnetAttemptText() const;
  void ConnectTelnet();
  void ReconnectTelnet();
};

}  // namespace spotting
