#include "logging/entryline.h"

#include "app/form1.h"
#include "app/globals.h"
#include "keying/blindfrm.h"
#include "logging/globals.h"
#include "logging/keyfilters.h"
#include "logging/logstore.h"
#include "platform/clock.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/trace.h"

namespace logging {

bool DigitStartsRstReceived(const QString& call, int keyAscii, int caret) {
  if (call.size() < 3 || keyAscii < '0' || keyAscii > '9' || caret != call.size()) return false;
  qsizetype lastDigit = -1;
  for (qsizetype i = 1; i < call.size(); ++i) {
    const char16_t c = call[i].unicode();
    if (c < '0') return false;
    if (c <= '9') lastDigit = i;
  }
  return lastDigit > 0 && lastDigit < call.size() - 1;
}

}  // namespace logging

namespace app {

namespace {

using platform::KeyBack;
using platform::KeyReturn;
using platform::KeySpace;

constexpr int kDoubleQuote = 34;

bool IsEmpty(const platform::TextBox& box) { return box.Text().isEmpty(); }

void SelectAll(platform::TextBox& box) {
  box.SetSelStart(0);
  box.SetSelLength(static_cast<int>(box.Text().size()));
}

void SendTab() { platform::SendKeys(QStringLiteral("{TAB}")); }

void PlayCue(const QString& cue) { platform::Instance<keying::BlindFrm>().BlindKeyPhone(cue); }

// While reports are not recorded the RST boxes are passed over.
bool RecordsReports() { return logging::RstRecord == 1; }

// Phone reports have two figures, CW reports three; selected, so that typing replaces them.
void FillDefaultReport(platform::TextBox& box) {
  if (!IsEmpty(box)) return;
  const bool cw = logging::CurrentMode.compare(QStringLiteral("CW"), Qt::CaseInsensitive) == 0;
  box.SetText(cw ? QStringLiteral("599") : QStringLiteral("59"));
  SelectAll(box);
}

void CarryKey(int keyAscii, std::uint8_t target) {
  logging::PendingKey = QString::number(keyAscii);
  logging::PendingKeyTarget = target;
}

int CarriedKey() { return logging::PendingKey.toInt(); }

// The carried key becomes the whole text of the box it starts, with the caret after it.
void StartWithCarriedKey(platform::TextBox& box, int keyAscii) {
  box.SetText(QString(QChar(keyAscii)));
  box.SetSelStart(1);
  logging::PendingKeyTarget = 0;
}

// A rover in contest type 5 lists each grid with the own grid it was worked from.
bool WorkedOnCurrentBand(const QString& grid) {
  const logging::WorkedGridEntry worked =
      logging::WorkedGridEntryOf(logging::CurrentBand, grid, OwnGrid, Rover, ContestType);
  return logging::BandHasGrid(worked.BandIndex, worked.Entry);
}

// Space moves on and Enter commits; besides Backspace only the characters from `lowest` to
// `highest` reach the box.
void PostContestKey(Form1& form, int& KeyAscii, int lowest, int highest) {
  if (KeyAscii == KeySpace) {
    KeyAscii = 0;
    SendTab();
  }
  if (KeyAscii == KeyReturn) {
    KeyAscii = 0;
    form.Mains();
  }
  if (KeyAscii != KeyBack && (KeyAscii < lowest || KeyAscii > highest)) KeyAscii = 0;
}

}  // namespace

// ---- The call box

void Form1::txtCall_KeyPress(int& KeyAscii) {
  const QString call = txtCall.Text();
  if (call.isEmpty()) lblDialog.SetCaption(QString());
  if (KeyAscii == kDoubleQuote) KeyAscii = 0;
  if (logging::DigitStartsRstReceived(call, KeyAscii, txtCall.SelStart())) {
    CarryKey(KeyAscii, logging::CarriedIntoRstReceived);
    txtRSTR.SetFocus();
    txtRSTR_KeyPress(KeyAscii);
    KeyAscii = 0;
  }
  if (call.size() < 3 && logging::LoggedOn == 1) lblDialog.SetCaption(QStringLiteral(" "));
  if (KeyAscii == KeyReturn) {
    KeyAscii = 0;
    // The commit's outcome stands: a dupe's message and the hold after it must outlive this key.
    Mains();
    return;
  }
  if (KeyAscii == KeySpace) {
    KeyAscii = 0;
    txtRSTR.SetFocus();
  }
  logging::Capital(KeyAscii);
  PartialCallCheck(KeyAscii);
  if (logging::DupeFound == 1) DupeHoldTimeout();
}

void Form1::txtCall_GotFocus() {
  cmdEdit.SetVisible(false);
  cmdDelete.SetVisible(false);
  if (IsEmpty(txtCall)) {
    txtRSTS.SetText(QString());
    txtRSTR.SetText(QString());
  }
  if (!Timer3.Enabled()) Timer3.SetEnabled(true);
  if (logging::ReloadPending != 0) WorkList();
  if (logging::VoiceNavigation != 0) PlayCue(QStringLiteral("Call"));
  const int listed = ListView1.ListItems.Count();
  if (IsEmpty(txtCall) && listed < 18 && listed < logging::LogCount) ListContacts();
}

void Form1::txtCall_Change() { logging::CurrentCall = txtCall.Text(); }

// ---- The RST boxes

void Form1::txtRSTR_KeyPress(int& KeyAscii) {
  if (KeyAscii > '9') {
    CarryKey(KeyAscii, logging::CarriedIntoGrid);
    txtSec_KeyPress(KeyAscii);
    KeyAscii = KeySpace;
  }
  if (logging::PendingKeyTarget == logging::CarriedIntoRstReceived) KeyAscii = CarriedKey();
  if (KeyAscii == KeyReturn) {
    KeyAscii = 0;
    Mains();
  } else {
    if (KeyAscii == KeySpace) txtSec.SetFocus();
    logging::number(KeyAscii);
  }
  if (logging::PendingKeyTarget == logging::CarriedIntoRstReceived) StartWithCarriedKey(txtRSTR, KeyAscii);
}

void Form1::txtRSTR_GotFocus() {
  const bool skipped = !RecordsReports();
  if (skipped) txtSec.SetFocus();
  if (!IsEmpty(txtCall)) {
    dupcheck2();
    if (!skipped) {
      FillDefaultReport(txtRSTR);
      FillDefaultReport(txtRSTS);
    }
  }
  // A skipped box is not announced: the grid box has the focus and announced itself.
  if (logging::VoiceNavigation > 1 && !skipped) PlayCue(QStringLiteral("RstRcvd"));
}

void Form1::txtRSTS_KeyPress(int& KeyAscii) {
  if (KeyAscii == KeyReturn) {
    KeyAscii = 0;
    Mains();
    return;
  }
  if (KeyAscii == KeySpace) SendTab();
  logging::number(KeyAscii);
}

void Form1::txtRSTS_GotFocus() {
  if (!RecordsReports()) {
    SendTab();
    return;  // passed over unannounced
  }
  if (logging::VoiceNavigation > 1) PlayCue(QStringLiteral("RstSnt"));
}

void Form1::txtRSTS_Change() { logging::CurrentRstSent = txtRSTS.Text(); }

// ---- The grid box

void Form1::txtSec_KeyPress(int& KeyAscii) {
  if (KeyAscii == kDoubleQuote) KeyAscii = 0;
  if (logging::PendingKeyTarget == logging::CarriedIntoGrid) KeyAscii = CarriedKey();
  if (KeyAscii == KeyReturn) {
    KeyAscii = 0;
    Mains();
  } else {
    if (KeyAscii == KeySpace) {
      KeyAscii = 0;
      SendTab();
    }
    // Field and square are upper case; the subsquare letters keep the case they were typed in.
    if (txtSec.SelStart() < 4) logging::Capital(KeyAscii);
  }
  if (logging::PendingKeyTarget == logging::CarriedIntoGrid) StartWithCarriedKey(txtSec, KeyAscii);
}

void Form1::txtSec_GotFocus() {
  if (logging::VoiceNavigation > 1) PlayCue(QStringLiteral("Grid"));
}

// The "New" indicator, heading and distance for the grid as it stands; the mode and band menus
// run it too. On an error the indicator stays as it was.
void Form1::txtSec_Change() {
  try {
    const QString grid = txtSec.Text();
    Label3.SetVisible(grid.size() >= 4 && !WorkedOnCurrentBand(grid));
    if (grid.size() >= 2) {
      GridHeading();
    } else {
      Label23.SetCaption(QString());
      Label24.SetCaption(QString());
    }
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
  }
}

// ---- Post-contest date and time

void Form1::txtPostConDate_KeyPress(int& KeyAscii) { PostContestKey(*this, KeyAscii, '/', '9'); }

// Today, with the one separator the box lets the operator type.
void Form1::txtPostConDate_GotFocus() {
  if (!IsEmpty(txtPostConDate)) return;
  txtPostConDate.SetText(platform::Now().date().toString(QStringLiteral("yyyy/MM/dd")));
  SelectAll(txtPostConDate);
}

void Form1::txtPostConTime_KeyPress(int& KeyAscii) { PostContestKey(*this, KeyAscii, '0', ':'); }

void Form1::txtPostConTime_GotFocus() { SelectAll(txtPostConTime); }

void Form1::mnuPostContest_Click() {
  const bool postContest = !mnuPostContest.Checked();
  mnuPostContest.SetChecked(postContest);
  for (platform::Control* control : std::initializer_list<platform::Control*>{
           &lblPostConDate, &txtPostConDate, &lblPostConTime, &txtPostConTime}) {
    control->SetVisible(postContest);
  }
}

// ---- Menus of the entry line

// The last contact's call and grid again, and on to the RST box, whose focus checks for a dupe.
void Form1::mnuRecall_Click() {
  if (logging::LogCount <= 0) return;
  txtCall.SetFocus();
  const std::int32_t last = logging::LogCount;  // after the call box's focus, which may reload
  txtCall.SetText(logging::LogCalls[last]);
  txtSec.SetText(logging::LogGridRcvd[last]);
  SelectAll(txtSec);
  SendTab();
}

void Form1::mnuRstRecord_Click() {
  logging::RstRecord = 1;
  mnuRstRecord.SetChecked(true);
  mnuRstDontRecord.SetChecked(false);
  SavePref();
}

void Form1::mnuRstDontRecord_Click() {
  logging::RstRecord = 2;
  mnuRstRecord.SetChecked(false);
  mnuRstDontRecord.SetChecked(true);
  SavePref();
}

// The check mark is what the in-memory dupe check reads; ListPrevious carries it to the next start.
void Form1::mnuListPrevious_Click() {
  mnuListPrevious.SetChecked(!mnuListPrevious.Checked());
  logging::ListPrevious = mnuListPrevious.Checked() ? 1 : 0;
  SavePref();
}

}  // namespace app
