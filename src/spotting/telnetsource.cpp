// The spotting window's telnet cluster: the connection, its text and DX lines, what the operator
// sends and the socket's errors.
#include "platform/dialogs.h"
#include "platform/numbertext.h"
#include "platform/trace.h"
#include "spotting/packetspotfrm.h"
#include "spotting/socketerrors.h"

#include <optional>

namespace spotting {

namespace {

constexpr int InvalidPropertyValue = 380;
constexpr int HighestPort = 65535;

// The port box's number; none for a text that is no port.
std::optional<int> TelnetPortNumber(const QString& text) {
  try {
    const std::int32_t port = platform::WholeOfNumberText(text);
    if (port >= 1 && port <= HighestPort) return port;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

}  // namespace

// No login is sent: the operator types the call when the cluster asks. A host or port that
// cannot be connected to is reported, and the source closed, instead of showing "Listening".
void PacketSpotfrm::OpenTelnet() {
  try {
    Winsock1.Close();
    const QString host = txtTelnetHost.Text();
    const std::optional<int> port = TelnetPortNumber(txtTelnetPort.Text());
    if (host.trimmed().isEmpty() || !port) {
      SourceMeantOpen = false;  // no cluster to open again
      Winsock1_Error(InvalidPropertyValue, QString());
      return;
    }
    Winsock1.SetRemoteHost(host);
    Winsock1.SetRemotePort(*port);
    // Shown before connecting: a refusal can be reported from within Connect.
    ReceivedText.SetText(TelnetAttemptText());
    Timer1.SetEnabled(true);
    ConnectTelnet();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// The cluster the source was opened on, again; the box keeps what came before.
void PacketSpotfrm::ReconnectTelnet() {
  Winsock1.Close();
  ShowTelnetText(CrLf + TelnetAttemptText());
  ConnectTelnet();
}

QString PacketSpotfrm::TelnetAttemptText() const {
  return QStringLiteral("Attempting connection to: ") + Winsock1.RemoteHost() + u':' +
         QString::number(Winsock1.RemotePort()) + CrLf + CrLf;
}

void PacketSpotfrm::ConnectTelnet() {
  TelnetLines = SpotLineBuffer();
  Winsock1.Connect();
}

void PacketSpotfrm::Winsock1_Connect() { SourceReached(); }

void PacketSpotfrm::Winsock1_DataArrival(std::int32_t) {
  try {
    QString chunk;
    Winsock1.GetData(chunk);
    TakeTelnetText(chunk);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// Each read is shown as it comes (a prompt has no line end), unless only DX lines are shown;
// the spots are the read's whole DX lines, a line split across reads taken once it is whole.
void PacketSpotfrm::TakeTelnetText(const QString& chunk) {
  const bool dxOnly = chkDX.Value() != 0;
  if (!dxOnly) ShowTelnetText(chunk);
  TelnetLines.Append(chunk);
  for (const DXLine& spot : TakeDXLines(TelnetLines)) {
    PostSpot(spot.Frequency, spot.Call, spot.Line);
    if (dxOnly) ShowTelnetText(spot.Line);
  }
}

void PacketSpotfrm::ShowTelnetText(const QString& text) {
  ReceivedText.Append(text);
  TrimReceivedText();
}

// The cluster ended the connection.
void PacketSpotfrm::Winsock1_Close() { SourceLost(); }

void PacketSpotfrm::SendTelnetText() {
  if (Winsock1.State() != platform::SocketConnected) {
    ReceivedText.Append(QStringLiteral("**  Connection not yet established.  Please wait a moment and try again.") +
                        CrLf + CrLf);
    TrimReceivedText();
    return;
  }
  Winsock1.SendData(txtSent.Text() + CrLf);
}

// An attempt to open the source again that fails is no news: the drop was reported.
void PacketSpotfrm::Winsock1_Error(int Number, const QString&) {
  try {
    const bool reopening = Reopening();
    const QString message = SocketErrorMessage(Number);
    Winsock1.Close();
    ReceivedText.Append(message);
    SourceLost();
    TrimReceivedText();
    if (!reopening) platform::Beep();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

}  // namespace spotting
