#include "logtools/frmeditcon.h"

#include "app/form1.h"
#include "app/modformresize.h"
#include "logging/keyfilters.h"
#include "logging/logstore.h"
#include "logging/logtable.h"
#include "logging/storeddatetime.h"
#include "platform/design.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/trace.h"

#include <algorithm>

namespace logtools {

namespace {

constexpr platform::Color kRed = 0x0000FF;

// The edit offers the bands of the first ten names only.
constexpr int kEditableBands = 10;

constexpr int kApostrophe = 39;
constexpr int kDoubleQuote = 34;
constexpr int kSpace = 32;

QString TwoDigits(int number) { return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')); }

void DesignField(platform::Label& label, const char* caption, platform::TextBox& box, double top) {
  platform::DesignCaption(label, QString::fromUtf8(caption), 240, top + 30, 1200, 255);
  box.Move(1560, top, 1800, 315);
  box.NameAfter(label);
}

void DesignIndicator(platform::Label& label, const char* caption, double left, double top) {
  platform::DesignCaption(label, QString::fromUtf8(caption), left, top, 1200, 255);
  label.SetForeColor(kRed);
  label.SetFontBold(true);
  label.SetVisible(false);
}

bool IsEditableBand(const QString& band) {
  const auto last = logging::BandNames.begin() + kEditableBands;
  return std::find(logging::BandNames.begin(), last, band) != last;
}

bool IsLogMode(const QString& mode) { return mode == QLatin1String("PH") || mode == QLatin1String("CW"); }

void ReportInvalid(platform::TextBox& box, const QString& prompt, const QString& title) {
  platform::Beep();
  platform::MsgBox(prompt, platform::MsgBoxStyle::OKOnly, title);
  box.SetFocus();
}

void ReportInvalidDate(platform::TextBox& box) {
  ReportInvalid(box, QStringLiteral("You have entered an invalid date format!"),
                QStringLiteral("Invalid Date Format!"));
}

void ReportInvalidTime(platform::TextBox& box) {
  ReportInvalid(box, QStringLiteral("You have entered an invalid time format!"),
                QStringLiteral("Invalid Time Format!"));
}

// A band or mode left invalid: the box gets the contact's value as loaded back, and the focus.
void RefuseLeftValue(platform::TextBox& box, platform::Label& indicator, const QString& loaded) {
  platform::Beep();
  indicator.SetVisible(true);
  box.SetFocus();
  box.SetText(loaded);
}

}  // namespace

std::optional<QString> StoredContactDate(QStringView typed) {
  const std::optional<logging::ContactDate> date = logging::ReadContactDate(typed);
  if (!date) return std::nullopt;
  return QStringLiteral("%1/%2/%3")
      .arg(date->Year, 4, 10, QLatin1Char('0'))
      .arg(TwoDigits(date->Month), TwoDigits(date->Day));
}

std::optional<QString> StoredContactTime(QStringView typed) {
  const std::optional<int> seconds = logging::ReadContactTime(typed);
  if (!seconds) return std::nullopt;
  QString stored = TwoDigits(*seconds / 3600) + QLatin1Char(':') + TwoDigits(*seconds / 60 % 60);
  if (typed.count(u':') == 2) stored += QLatin1Char(':') + TwoDigits(*seconds % 60);
  return stored;
}

frmEditCon::frmEditCon() : Form(QStringLiteral("frmEditCon")) {
  SetCaption(QStringLiteral("Edit Contact Entry"));
  SetBorderStyle(platform::BorderFixedSingle);
  // Designed by its client area.
  Move(0, 0, 5160 + 2 * BorderTwips, 5160 + CaptionTwips + BorderTwips);
  LayOut();
  Connect();
}

void frmEditCon::LayOut() {
  platform::DesignCaption(lblEditTitle, QStringLiteral("Edit Contact:"), 240, 120, 2400, 255);
  lblEditTitle.SetFontBold(true);
  DesignField(lblEditCall, "Callsign", txtEditCall, 540);
  DesignField(lblEditCk, "Rst(R)", txtEditCk, 960);
  DesignField(lblEditSec, "Grid(R)", txtEditSec, 1380);
  DesignField(lblEditNum, "Rst(S)", txtEditNum, 1800);
  DesignField(lblEditPre, "Grid(S)", txtEditPre, 2220);
  DesignField(lblEditDate, "Date", txtEditDate, 2640);
  DesignField(lblEditTime, "Time", txtEditTime, 3060);
  DesignField(lblEditBnd, "Band", txtEditBnd, 3480);
  DesignIndicator(Label3, "   Invalid!", 3480, 3510);
  DesignField(lblEditMode, "Mode", txtEditMode, 3900);
  DesignIndicator(Label5, "   Invalid!", 3480, 3930);
  platform::DesignCaption(cmdDone, QStringLiteral("Done"), 1560, 4500, 1200, 375);
  DesignIndicator(Label1, "Dupe!", 240, 4560);
  platform::DesignCaption(cmdDeleteDupe, QStringLiteral("Delete Dupe"), 2880, 4500, 1500, 375);
  cmdDeleteDupe.SetVisible(false);
}

void frmEditCon::Connect() {
  WIRE(cmdDone, Click);
  WIRE(cmdDeleteDupe, Click);
  WIRE(txtEditCall, KeyPress);
  WIRE(txtEditCk, KeyPress);
  WIRE(txtEditSec, KeyPress);
  WIRE(txtEditNum, KeyPress);
  WIRE(txtEditPre, KeyPress);
  WIRE(txtEditDate, KeyPress);
  WIRE(txtEditTime, KeyPress);
  WIRE(txtEditBnd, KeyPress);
  WIRE(txtEditMode, KeyPress);
  WIRE(txtEditDate, LostFocus);
  WIRE(txtEditTime, LostFocus);
  WIRE(txtEditBnd, LostFocus);
  WIRE(txtEditMode, LostFocus);
}

// The boxes take the contact's values as the log holds them.
void frmEditCon::Form_Load() {
  platform::SkipOnError(lcLogtools, [this] {
    app::ModFormResize::FitToScreen(*this, app::ModFormResize::ScreenPlacement::Centred);
  });
  platform::SkipOnError(lcLogtools, [this] {
    const logging::LogContact contact = logging::ContactInSlot(EditIndex);
    txtEditCall.SetText(contact.Call);
    txtEditCk.SetText(contact.RstRcvd);
    txtEditSec.SetText(contact.GridRcvd);
    txtEditNum.SetText(contact.RstSent);
    txtEditPre.SetText(contact.GridSent);
    txtEditDate.SetText(contact.Date);
    txtEditTime.SetText(contact.Time);
    txtEditBnd.SetText(contact.Band);
    txtEditMode.SetText(contact.Mode);
  });
}

void frmEditCon::Cap2(int& KeyAscii) { logging::Capital(KeyAscii); }

bool frmEditCon::EnterRunsDone(int& KeyAscii) {
  if (KeyAscii != platform::KeyReturn) return false;
  KeyAscii = 0;
  cmdDone_Click();
  return true;
}

void frmEditCon::FilterTextKey(int& KeyAscii) {
  if (EnterRunsDone(KeyAscii)) return;
  if (KeyAscii == kDoubleQuote) KeyAscii = 0;
  Cap2(KeyAscii);
}

void frmEditCon::txtEditCall_KeyPress(int& KeyAscii) {
  if (EnterRunsDone(KeyAscii)) return;
  if (KeyAscii == kApostrophe || KeyAscii == kDoubleQuote || KeyAscii == kSpace) KeyAscii = 0;
  Cap2(KeyAscii);
}

void frmEditCon::txtEditCk_KeyPress(int& KeyAscii) { FilterTextKey(KeyAscii); }
void frmEditCon::txtEditSec_KeyPress(int& KeyAscii) { FilterTextKey(KeyAscii); }
void frmEditCon::txtEditNum_KeyPress(int& KeyAscii) { FilterTextKey(KeyAscii); }
void frmEditCon::txtEditPre_KeyPress(int& KeyAscii) { FilterTextKey(KeyAscii); }
void frmEditCon::txtEditBnd_KeyPress(int& KeyAscii) { FilterTextKey(KeyAscii); }
void frmEditCon::txtEditMode_KeyPress(int& KeyAscii) { FilterTextKey(KeyAscii); }

// Digits and "/" only.
void frmEditCon::txtEditDate_KeyPress(int& KeyAscii) {
  if (EnterRunsDone(KeyAscii)) return;
  if (KeyAscii != platform::KeyBack && (KeyAscii < '/' || KeyAscii > '9')) KeyAscii = 0;
  Cap2(KeyAscii);
}

// Digits and ":" only.
void frmEditCon::txtEditTime_KeyPress(int& KeyAscii) {
  if (EnterRunsDone(KeyAscii)) return;
  if (KeyAscii != platform::KeyBack && (KeyAscii < '0' || KeyAscii > ':')) KeyAscii = 0;
  Cap2(KeyAscii);
}

void frmEditCon::txtEditDate_LostFocus() {
  if (!StoredContactDate(txtEditDate.Text())) ReportInvalidDate(txtEditDate);
}

void frmEditCon::txtEditTime_LostFocus() {
  if (!StoredContactTime(txtEditTime.Text())) ReportInvalidTime(txtEditTime);
}

// Case counts: the band names are stored as written.
void frmEditCon::txtEditBnd_LostFocus() {
  if (IsEditableBand(txtEditBnd.Text())) {
    Label3.SetVisible(false);
    return;
  }
  RefuseLeftValue(txtEditBnd, Label3, logging::ContactInSlot(EditIndex).Band);
}

void frmEditCon::txtEditMode_LostFocus() {
  if (IsLogMode(txtEditMode.Text())) {
    Label5.SetVisible(false);
    return;
  }
  RefuseLeftValue(txtEditMode, Label5, logging::ContactInSlot(EditIndex).Mode);
}

// Checks the time, then the date, then the log for a dupe of the edit; stores only when all pass.
void frmEditCon::cmdDone_Click() {
  if (!StoredContactTime(txtEditTime.Text())) {
    ReportInvalidTime(txtEditTime);
    return;
  }
  if (!StoredContactDate(txtEditDate.Text())) {
    ReportInvalidDate(txtEditDate);
    return;
  }
  if (ReportDupes()) return;
  Label1.SetVisible(false);
  StoreEdit();
}

// Exact comparisons, so an edit that only changes the letter case of a call is no dupe.
bool frmEditCon::ReportDupes() {
  bool found = false;
  for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot) {
    if (slot == EditIndex) continue;
    if (txtEditCall.Text() == logging::LogCalls[slot] && txtEditBnd.Text() == logging::LogBand[slot] &&
        txtEditSec.Text() == logging::LogGridRcvd[slot] && txtEditPre.Text() == logging::LogGridSent[slot]) {
      found = true;
      Label1.SetVisible(true);
      cmdDeleteDupe.SetVisible(true);
      platform::Beep();
    }
  }
  return found;
}

// The contact's one row, found by every value it was loaded with, so a second contact with the
// same call, band and time stays as it is. A failure stores nothing and keeps the window open with
// what was typed.
void frmEditCon::StoreEdit() {
  int changed = 0;
  try {
    const logging::LogContact edited = {txtEditCall.Text().trimmed(),
                                        txtEditCk.Text(),
                                        txtEditSec.Text().trimmed(),
                                        txtEditNum.Text().trimmed(),
                                        txtEditPre.Text(),
                                        *StoredContactDate(txtEditDate.Text()),
                                        *StoredContactTime(txtEditTime.Text()),
                                        txtEditBnd.Text(),
                                        txtEditMode.Text()};
    changed = logging::UpdateContact(logging::ContactInSlot(EditIndex), edited);
  } catch (const std::exception& error) {
    platform::TraceError(lcLogtools, error);
    logging::LogRecordset.Close();
    return;
  }
  if (changed == 0) {
    platform::MsgBox(QStringLiteral("This contact was changed or deleted on another PC meanwhile, so the edit was not "
                                    "stored. The log is reloaded as it stands now."),
                     platform::MsgBoxStyle::OKOnly, QStringLiteral("Contact Not Found"));
  }
  Hide();
}

// The contact as loaded, not as edited, is the one the main window deletes.
void frmEditCon::cmdDeleteDupe_Click() {
  Hide();
  platform::Instance<app::Form1>().cmdDelete_Click();
}

}  // namespace logtools
