// The spotting window's AGW packet engine: registering with it, its frames (monitored spots and
// the connected station's text), the connect and disconnect commands and the text sent.
#include "app/form1.h"
#include "app/globals.h"
#include "platform/agwengine.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/numbertext.h"
#include "platform/trace.h"
#include "spotting/packetspotfrm.h"

#include <algorithm>
#include <optional>

namespace spotting {

namespace {

constexpr std::int32_t ConnectedKind = 'c';
constexpr std::int32_t DisconnectedKind = 'd';
constexpr std::int32_t ConnectRequest = 'c';
constexpr std::int32_t ConnectFollowUp = 'P';  // sent right after a connect request
constexpr std::int32_t DisconnectRequest = 'd';
constexpr std::int32_t DataKind = 'D';
constexpr int ApplicationNameLength = 50;

const QString WindowCaption = QStringLiteral("DX Spotting Setup");
const QString NotReached = QStringLiteral(
    "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and receive packet with "
    "your soundcard or devices such a Baypac:");

// Every CR and every LF as a line break of the receive box: a CR LF pair becomes two.
QString WithCrLfBreaks(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (const QChar character : text) {
    if (character == u'\r' || character == u'\n') {
      shown += CrLf;
    } else {
      shown += character;
    }
  }
  return shown;
}

// A monitored frame's first line is the engine's own heading (who to whom, the frame's kind and
// time), not a spot.
QString WithoutHeading(const QString& shownData) {
  const qsizetype lineFeed = shownData.indexOf(u'\n');
  return platform::TrimBlanks(lineFeed >= 0 ? shownData.mid(lineFeed + 1) : shownData);
}

bool SameCall(const QString& one, const QString& other) { return one.compare(other, Qt::CaseInsensitive) == 0; }

}  // namespace

void PacketSpotfrm::OpenAGWEngine() {
  AGWOwnCall = app::OwnCall;
  if (platform::TrimBlanks(AGWOwnCall).isEmpty()) {
    // Nothing is opened: with no "Listening", Done, Esc and Enter open the engine once a call is set.
    platform::Beep();
    platform::MsgBox(QStringLiteral("Please enter your call sign on the setup form to transmit!"),
                     platform::MsgBoxStyle::OKOnly, QStringLiteral("Call Sign Required!"));
    return;
  }
  try {
    if (StartAGWEngine()) return;
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
  ReportAGWEngineNotReached();
}

// Registers the own call the engine was opened with; false when the engine is not reached.
bool PacketSpotfrm::StartAGWEngine() {
  const QString call = platform::TrimBlanks(AGWOwnCall);
  const QString applicationName =
      platform::TrimBlanks(platform::Instance<app::Form1>().Caption().left(ApplicationNameLength));
  if (platform::AGWStartPoll(call, applicationName, static_cast<std::int32_t>(call.size()),
                             static_cast<std::int32_t>(applicationName.size())) == 0) {
    return false;
  }
  SourceReached();
  ReceivedText.Append(CrLf + QStringLiteral("** Successfully connected to AGW Packet Engine **") + CrLf + CrLf);
  return true;
}

// Registering waits for the engine: its port is tried first without waiting, and the window
// registers once it answers.
void PacketSpotfrm::ProbeAGWEngine() {
  AGWProbe.Close();
  AGWProbe.Connect(platform::AgwEngineHost(), platform::AgwEnginePort());
}

// An engine gone again meanwhile is tried at the next attempt.
void PacketSpotfrm::AGWProbe_Connect() {
  try {
    AGWProbe.Close();
    StartAGWEngine();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

void PacketSpotfrm::AGWProbe_Error(int, const QString&) { AGWProbe.Close(); }

void PacketSpotfrm::ReportAGWEngineNotReached() {
  try {
    const QString paragraphBreak = CrLf + CrLf;
    platform::MsgBox(NotReached + paragraphBreak + AGWDownloadStep + paragraphBreak +
                         QStringLiteral("- Make sure the AGW Packet Engine software is running and configure it as "
                                        "described on the AGW Packet Engine website."),
                     platform::MsgBoxStyle::OKOnly, QStringLiteral("Unable to connect to the AGW Packet Engine."));
    for (const QString& paragraph : {NotReached, AGWDownloadStep, AGWRunStep, AGWOpenStep}) {
      ReceivedText.Append(paragraph + paragraphBreak);
    }
    if (!Visible()) Show();
    SourceLost();
    Timer1.SetEnabled(false);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// One frame per tick. Once the frames are taken, an engine connection that ended by itself
// closes the source.
void PacketSpotfrm::ProcessAGWData() {
  QString station;
  QString data;
  std::int32_t kind = 0;
  std::int32_t dataLength = 0;
  std::int32_t radioPort = 0;
  if (platform::AGWGetData(station, data, kind, dataLength, radioPort) == 0) {
    EndAGWEngineConnection();
    return;
  }
  data.truncate(std::max<std::int32_t>(dataLength, 0));
  ShowAGWFrame(kind, station, data);
  TakeAGWConnectNotice(kind, station);
}

void PacketSpotfrm::EndAGWEngineConnection() {
  const std::optional<platform::AgwEngineFault> fault = platform::AgwEngineEnded();
  if (!fault) return;
  if (fault->badFrame) {
    ReceivedText.Append(CrLf + QStringLiteral("** The AGW Packet Engine sent a bad frame **") + CrLf);
    TrimReceivedText();
  }
  SourceLost();
}

// DX lines (not repeats) are shown and handed on; the connected station's other text is shown;
// with no station connected, every frame without a DX line is shown with its kind and station.
void PacketSpotfrm::ShowAGWFrame(std::int32_t kind, const QString& station, const QString& data) {
  const QString shownFullText = WithCrLfBreaks(QChar::fromLatin1(static_cast<char>(kind)) + station + u' ' + data);
  QString shownData = WithCrLfBreaks(data);
  if (ConnectedCall.isEmpty()) shownData = WithoutHeading(shownData);
  if (shownData == CrLf) shownData.clear();
  if (shownData.size() > 4 && shownData.endsWith(CrLf + CrLf)) shownData.chop(2);

  const bool repeat = IsRepeatLine(ReceivedText.Text(), shownData);
  const qsizetype dxAt = shownData.indexOf(QStringLiteral("DX"), 0, Qt::CaseInsensitive);
  const bool dxLine = IsDXLine(shownData);
  const bool dxOnly = chkDX.Value() != 0;
  if (!repeat && (dxAt == 0 || dxAt == 1)) {
    ReceivedText.Append(shownData);
    const DXLine spot = ParseDXLine(shownData);
    platform::SkipOnError(lcSpotting, [&] { PostSpot(spot.Frequency, spot.Call, spot.Line); });
    TrimReceivedText();
  }
  if (!ConnectedCall.isEmpty() && SameCall(station, ConnectedCall) && !dxOnly && !dxLine) {
    ReceivedText.Append(shownData);
    TrimReceivedText();
  }
  if (!dxOnly && ConnectedCall.isEmpty() && !shownFullText.contains(QStringLiteral("DX "), Qt::CaseInsensitive) &&
      !dxLine) {
    ReceivedText.Append(shownFullText);
    TrimReceivedText();
  }
}

// The engine's notices that a station connected or went. A notice naming no station is no
// station's.
void PacketSpotfrm::TakeAGWConnectNotice(std::int32_t kind, const QString& station) {
  if (station.isEmpty()) return;
  if (kind == DisconnectedKind && SameCall(station, ConnectedCall)) {
    platform::Beep();
    platform::Beep();
    ReceivedText.Append(CrLf + QStringLiteral("** Disconnected from ") + ConnectedCall + QStringLiteral(" **") + CrLf);
    TrimReceivedText();
    SetCaption(WindowCaption);
    ConnectedCall.clear();
  }
  if (kind == ConnectedKind && ConnectedCall.isEmpty()) {
    ConnectedCall = station;
    ReceivedText.Append(QStringLiteral("** Connected to ") + ConnectedCall + QStringLiteral(" **"));
    SetCaption(WindowCaption + QStringLiteral(" - Connected to ") + ConnectedCall);
    TrimReceivedText();
    platform::Beep();
  }
}

// ":C call" connects, ":D" disconnects; other text goes to the connected station with a CR, and
// nowhere when none is connected.
void PacketSpotfrm::SendAGWText() {
  const QString text = txtSent.Text();
  if (text.startsWith(u':')) {
    SendAGWCommand(text);
    return;
  }
  if (ConnectedCall.isEmpty()) return;
  const QString line = text + QChar(u'\r');
  platform::AGWPutData(ConnectedCall, line, DataKind, static_cast<std::int32_t>(line.size()), 0);
}

void PacketSpotfrm::SendAGWCommand(const QString& text) {
  const QString letter = text.mid(1, 1).toUpper();
  if (letter == u'D') {
    if (!ConnectedCall.isEmpty()) DisconnectAGWStation();
  } else if (letter == u'C') {
    const QString destination = platform::TrimBlanks(text.mid(2)).toUpper();
    if (destination.isEmpty()) {
      platform::MsgBox(QStringLiteral("You must enter a call sign to connect to such as :C Varnek"),
                       platform::MsgBoxStyle::OKOnly, QStringLiteral("Call sign Required"));
      return;
    }
    platform::AGWPutData(destination, QString(), ConnectRequest, 0, 0);
    platform::AGWPutData(destination, QString(), ConnectFollowUp, 0, 0);
  }
}

// The engine's disconnect frame to the connected station, without data.
void PacketSpotfrm::DisconnectAGWStation() { platform::AGWPutData(ConnectedCall, QString(), DisconnectRequest, 0, 0); }

void PacketSpotfrm::CloseAGWEngine() { platform::AGWClose(); }

}  // namespace spotting
