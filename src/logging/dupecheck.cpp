#include "logging/dupecheck.h"

#include "app/form1.h"
#include "app/globals.h"
#include "keying/blindfrm.h"
#include "logging/contactrow.h"
#include "logging/entryarea.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/logtable.h"
#include "platform/clock.h"
#include "platform/deadline.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/trace.h"

#include <optional>
#include <vector>

namespace logging {

namespace {

bool SameText(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

char16_t FoldedCase(QChar c) {
  const char16_t code = c.unicode();
  if (code < 0x80) return (code >= 'a' && code <= 'z') ? code - ('a' - 'A') : code;
  return QChar(c).toCaseFolded().unicode();
}

// QString::startsWith without regard to case, at a fraction of its cost on the short ASCII texts
// of call signs: it runs for every contact of the log on every key.
bool BeginsWithIgnoringCase(const QString& text, const QString& prefix) {
  if (text.size() < prefix.size()) return false;
  for (qsizetype i = 0; i < prefix.size(); ++i) {
    if (text[i] != prefix[i] && FoldedCase(text[i]) != FoldedCase(prefix[i])) return false;
  }
  return true;
}

}  // namespace

bool SameDupeKey(const DupeKey& a, const DupeKey& b) {
  return SameText(a.Band, b.Band) && SameText(a.GridRcvd, b.GridRcvd) && SameText(a.GridSent, b.GridSent);
}

QString PartialCallMatches(const QString& typed, const QString& band, const QString& ownGrid) {
  QString matches;
  for (std::int32_t slot = 1; slot <= LogCount; ++slot) {
    // The prefix first: it rules out nearly every contact at its first character.
    const QString& call = LogCalls[slot];
    if (!BeginsWithIgnoringCase(call, typed)) continue;
    if (!SameText(LogBand[slot], band) || !SameText(LogGridSent[slot], ownGrid)) continue;
    matches = call + QLatin1Char(' ') + matches;
    if (matches.size() > PartialCallListLimit) break;
  }
  return matches;
}

bool IsCallAreaCharacter(QChar c) { return c.unicode() >= '/' && c.unicode() <= '9'; }

}  // namespace logging

namespace app {

namespace {

using logging::DupeKey;

// A table row of the typed call that makes the entry line a dupe.
struct DupeRow {
  QString Call, GridRcvd, Date, Time;
};

DupeKey EntryLineKey(const Form1& form) { return {logging::CurrentBand, form.txtSec.Text(), OwnGrid}; }

void FillGridFrom(Form1& form, const QString& grid) {
  form.txtSec.SetText(grid);
  form.txtSec.SetSelStart(0);
  form.txtSec.SetSelLength(static_cast<int>(grid.size()));
}

// Walks the table's rows of the typed call, as other PCs wrote them too; an empty grid box takes
// the first row's grid. Returns the first row that makes a dupe.
std::optional<DupeRow> FindDupeInTable(Form1& form) {
  using logging::LogRecordset;
  const QString call = form.txtCall.Text();
  logging::OpenContactsOfCall(call);
  for (; !LogRecordset.Eof(); LogRecordset.MoveNext()) {
    const QString rowCall = LogRecordset.Fields(QStringLiteral("calls"));
    if (rowCall.compare(call, Qt::CaseInsensitive) != 0) continue;
    const QString gridRcvd = LogRecordset.Fields(QStringLiteral("gridr"));
    if (form.txtSec.Text().isEmpty()) FillGridFrom(form, gridRcvd);
    const DupeKey row = {LogRecordset.Fields(QStringLiteral("uband")), gridRcvd,
                         LogRecordset.Fields(QStringLiteral("grids"))};
    if (logging::SameDupeKey(row, EntryLineKey(form))) {
      return DupeRow{rowCall, gridRcvd, LogRecordset.Fields(QStringLiteral("flddate")),
                     LogRecordset.Fields(QStringLiteral("fldtime"))};
    }
  }
  return std::nullopt;
}

// The operator hears the whole cue before the call box's own cue can cut it off. Timers and
// sockets go on meanwhile; keys typed meanwhile wait and follow in order.
void WaitForDupeCue(Form1& form) {
  form.HoldKeys();
  platform::Instance<keying::BlindFrm>().WaitForCue(platform::UserInput::Handled);
  form.ReleaseKeys();
}

void AnnounceDupe(Form1& form, const DupeRow& dupe) {
  form.lblDialog.SetCaption(QStringLiteral("Dupe: ") + dupe.Call + QLatin1Char(' ') + dupe.GridRcvd +
                            QStringLiteral(" ON ") + dupe.Date + QLatin1Char(' ') + dupe.Time);
  form.lblDialog.SetBackColor(logging::DupeColor);
  logging::ClearDupeLabel(form);
  platform::Beep();
  platform::Instance<keying::BlindFrm>().BlindKeyPhone(QStringLiteral("Dupe"));
  if (logging::VoiceNavigation != 0) WaitForDupeCue(form);
}

bool IsDupeOfSlot(const Form1& form, std::int32_t slot) {
  const DupeKey logged = {logging::LogBand[slot], logging::LogGridRcvd[slot], logging::LogGridSent[slot]};
  return logging::SameDupeKey(logged, EntryLineKey(form));
}

void WarnOfDupe(Form1& form, std::int32_t slot) {
  using namespace logging;
  form.lblDialog.SetCaption(QStringLiteral("Duplicate Unless Rover! ") + LogCalls[slot] + QLatin1Char(' ') +
                            LogGridRcvd[slot] + QLatin1Char(' ') + ListDate(LogDate[slot]) + QLatin1Char(' ') +
                            LogTime[slot] + QStringLiteral("  Rec# ") + QString::number(slot));
  form.lblDialog.SetBackColor(DupeColor);
  form.lblDupe.SetBackColor(platform::ButtonFaceColor());
  platform::Beep();
}

}  // namespace

// On any failure the check gives up quietly: the commit's insert then reports a lost connection.
void Form1::dupcheck() {
  logging::DupeFound = 0;
  try {
    const std::optional<DupeRow> dupe = FindDupeInTable(*this);
    // Released before the cue's wait, in which a timer's poll may need the record set.
    logging::LogRecordset.Close();
    if (!dupe) return;
    AnnounceDupe(*this, *dupe);
    logging::DupeFound = 1;
    logging::DupeTime = platform::Now();
    txtCall.SetFocus();
    logging::ClearEntryLine(*this);
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
    logging::LogRecordset.Close();
  }
}

// A warning only: the contact may still be logged, as a rover may work a station again after moving.
void Form1::dupcheck2() {
  const bool listing = mnuListPrevious.Checked();
  std::vector<QStringList> earlier;
  const QString call = txtCall.Text();
  for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot) {
    if (logging::LogCalls[slot].compare(call, Qt::CaseInsensitive) != 0) continue;
    if (listing) earlier.push_back(logging::ContactListRow(slot));
    if (txtSec.Text().isEmpty()) FillGridFrom(*this, logging::LogGridRcvd[slot]);
    if (IsDupeOfSlot(*this, slot)) {
      WarnOfDupe(*this, slot);
      if (!listing) break;
    }
  }
  if (listing) ListView1.SetRows(std::move(earlier));
}

void Form1::PartialCallCheck(int& KeyAscii) {
  lblDialog.SetBackColor(logging::MessageBackColor);
  logging::ClearDupeLabel(*this);
  const QString typed = txtCall.Text() + QChar(KeyAscii);
  const bool typesCallCharacter = KeyAscii > 45 && KeyAscii < 91;
  QString matches;
  if (logging::DupCheckOn == 1 && typesCallCharacter) {
    matches = logging::PartialCallMatches(typed, logging::CurrentBand, OwnGrid);
    lblDupe.SetBackColor(matches.isEmpty() ? platform::ButtonFaceColor() : logging::MessageBackColor);
    lblDupe.SetCaption(matches);
  }
  if (txtCall.Text().size() > 2 && !matches.isEmpty()) {
    lblDialog.SetCaption(QStringLiteral("Possible Duplicate!"));
  } else if (logging::LoggedOn == 1) {
    lblDialog.SetCaption(QStringLiteral(" "));
  }
  if (typed.size() == 3 && typesCallCharacter) {
    if (logging::IsCallAreaCharacter(typed[1]) || logging::IsCallAreaCharacter(typed[2])) {
      lblDialog.SetCaption(QStringLiteral(" "));
    } else {
      platform::Beep();
      lblDialog.SetCaption(QStringLiteral("The second or third character is not numeric!"));
    }
  }
}

// The key being typed, and any typed after it, wait for the deadline while the event loop runs on.
void Form1::DupeHoldTimeout() {
  const QDateTime deadline = logging::DupeTime.addSecs(3);
  if (platform::Now() >= deadline) {
    logging::DupeFound = 0;
    return;
  }
  HoldKeys();
  platform::AtClockTime(Widget(), deadline, [this] {
    logging::DupeFound = 0;
    ReleaseKeys();
  });
}

}  // namespace app
