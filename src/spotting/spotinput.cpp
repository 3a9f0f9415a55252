// The spotting window's receive side: the TNC's port and its lines, the receive tick, the spot
// hand-off to the main window, the receive box kept short and the send box.
#include "app/form1.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/trace.h"
#include "spotting/packetspotfrm.h"

namespace spotting {

namespace {

constexpr int EnterKey = 13;
constexpr int EscapeKey = 27;
constexpr int ColonKey = 58;
// Ticks without a spot (about two minutes) before the band map is drawn again for the ages.
constexpr float QuietTicksBeforeRefresh = 360;
// The AGW engine's send box sends a line once a blank follows this many characters.
constexpr int AGWLineLength = 70;

bool SameLine(const QString& value, const char* line) { return value.compare(QLatin1String(line), Qt::CaseInsensitive) == 0; }

}  // namespace

void PacketSpotfrm::OpenTNCPort() {
  try {
    if (comComm1.PortOpen()) comComm1.SetPortOpen(false);
    comComm1.SetCommPort(SpotPort);
    comComm1.SetSettings(SpotCommSettings);
    comComm1.SetDTREnable(false);
    comComm1.SetRTSEnable(false);
    SetTNCHandshaking();
    comComm1.SetPortOpen(true);
    PowerTNC();
    if (comComm1.PortOpen()) SourceReached();
    ReceivedText.Append(QStringLiteral("** TNC Serial Port Open **") + CrLf + CrLf);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
    // An attempt to open the port again that fails is no news: the drop was reported.
    if (!Reopening()) ReportTNCPortFailure();
  }
}

// Handshaking 3 and 4 hold RTS up for the TNC to send.
void PacketSpotfrm::SetTNCHandshaking() {
  if (SpotHandshake < 1 || SpotHandshake > 4) return;
  comComm1.SetHandshaking(SpotHandshake - 1);
  if (SpotHandshake >= 3) comComm1.SetRTSEnable(true);
}

void PacketSpotfrm::PowerTNC() {
  if (SameLine(SpotPowerLine, "R")) comComm1.SetRTSEnable(true);
  if (SameLine(SpotPowerLine, "D")) comComm1.SetDTREnable(true);
}

void PacketSpotfrm::ReportTNCPortFailure() {
  try {
    platform::Beep();
    ReceivedText.Append(QStringLiteral("** Unable to open TNC Serial Port **") + CrLf + CrLf);
    platform::MsgBox(QStringLiteral("The comm port that you selected for DX Spotting is either in use, invalid or the "
                                    "settings that you have selected are invalid.  Please select another combination "
                                    "or choose None for your DX Spot selection."),
                     platform::MsgBoxStyle::OKOnly, QStringLiteral("Invalid Comm Settings."));
    if (!Visible()) Show(platform::Modal);
    SourceLost();
    Timer1.SetEnabled(false);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

void PacketSpotfrm::Timer1_Timer() {
  try {
    if (SourceIs(TNCSource)) ReadTNCInput();
    if (SourceIs(AGWSource)) ProcessAGWData();
    RefreshBandMapWhenQuiet();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// Spots age on the band map even when none arrive.
void PacketSpotfrm::RefreshBandMapWhenQuiet() {
  SpotRefreshCount += 1;
  if (SpotRefreshCount <= QuietTicksBeforeRefresh) return;
  SpotRefreshCount = 0;
  app::Form1& form = platform::Instance<app::Form1>();
  if (form.lblDX.Visible()) form.DisplayBandMapLabels();
}

// A port the device closed (an adapter pulled out) is a source lost.
void PacketSpotfrm::ReadTNCInput() {
  try {
    if (!comComm1.PortOpen()) {
      SourceLost();
      return;
    }
    const QString SpotInput = comComm1.Input();
    if (SpotInput.isEmpty()) return;
    SpotBuffer.Append(SpotInput);
    if (SpotBuffer.Size() > 2) ProcessTNCBuffer();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// Every whole line of the tick: repeats dropped, the rest shown (only DX lines with "List DX
// Only"), and each DX line handed on.
void PacketSpotfrm::ProcessTNCBuffer() {
  try {
    std::vector<DXLine> spots;
    bool shown = false;
    ReceivedText.Edit([&](QString& text) {
      const qsizetype before = text.size();
      spots = TakeReceivedLines(SpotBuffer, text, chkDX.Value() != 0);
      shown = text.size() != before || !spots.empty();
    });
    if (shown) TrimReceivedText();
    for (const DXLine& spot : spots) PostSpot(spot.Frequency, spot.Call, spot.Line);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

void PacketSpotfrm::PostSpot(const QString& frequency, const QString& call, const QString& line) {
  SpotRefreshCount = 0;
  platform::Instance<app::Form1>().BandMapSpots(call, frequency, SpotRecord(line));
}

// The caret just before the last character scrolls the box to its end.
void PacketSpotfrm::TrimReceivedText() {
  ReceivedText.Edit(CutReceivedText);
  const int length = static_cast<int>(ReceivedText.Text().size());
  if (length > 2) ReceivedText.SetSelStart(length - 1);
}

// Enter sends the box to the open source (opening it first when none is); Esc types the AGW
// engine's command colon.
void PacketSpotfrm::txtSent_KeyPress(int& KeyAscii) {
  try {
    if (KeyAscii == EnterKey) {
      if (!Label4.Visible()) Command1_Click();
      if (SourceIs(TNCSource) && comComm1.PortOpen()) comComm1.SetOutput(txtSent.Text() + QChar(EnterKey));
      if (SourceIs(TelnetSource)) SendTelnetText();
      if (SourceIs(AGWSource) && Timer1.Enabled()) SendAGWText();
      txtSent.SetText(QString());
    }
    if (SourceIs(AGWSource) && KeyAscii == EscapeKey) KeyAscii = ColonKey;
    if (KeyAscii == EnterKey || KeyAscii == EscapeKey) KeyAscii = 0;
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// The AGW engine's word wrap: a blank after a full line sends the line.
void PacketSpotfrm::txtSent_Change() {
  try {
    const QString text = txtSent.Text();
    if (!SourceIs(AGWSource) || !Timer1.Enabled() || text.size() <= AGWLineLength || !text.endsWith(u' ')) return;
    txtSent.SetText(text.chopped(1));
    SendAGWText();
    txtSent.SetText(QString());
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

}  // namespace spotting
