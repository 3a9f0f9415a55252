#include "logging/commit.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/bandlists.h"
#include "logging/contactlist.h"
#include "logging/entryarea.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/logtable.h"
#include "logging/reload.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/keys.h"
#include "platform/paths.h"
#include "platform/trace.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace logging {

namespace {

// The order of day, month and year in the locale's short date, as "dMy", "Mdy" or "yMd".
QString DateFieldOrder(const QLocale& locale) {
  const QString format = locale.dateFormat(QLocale::ShortFormat);
  std::array<std::pair<qsizetype, QChar>, 3> fields = {
      {{format.indexOf(QLatin1Char('d')), QLatin1Char('d')},
       {format.indexOf(QLatin1Char('M')), QLatin1Char('M')},
       {format.indexOf(QLatin1Char('y')), QLatin1Char('y')}}};
  if (std::any_of(fields.begin(), fields.end(), [](const auto& field) { return field.first < 0; })) {
    return QStringLiteral("yMd");
  }
  std::sort(fields.begin(), fields.end());
  return QString(fields[0].second) + fields[1].second + fields[2].second;
}

// Two-digit years fall in 1930-2029, as the system's date entry takes them.
std::optional<int> YearOf(const QString& digits) {
  if (digits.size() == 4) return digits.toInt();
  if (digits.size() == 1 || digits.size() == 2) {
    const int year = digits.toInt();
    return year < 30 ? 2000 + year : 1900 + year;
  }
  return std::nullopt;
}

}  // namespace

QDateTime UtcMomentOf(const QDateTime& localNow, float utcOffsetHours) {
  const QDateTime wallClock(localNow.date(), localNow.time(), Qt::UTC);
  const qint64 offsetMinutes = qRound64(static_cast<double>(utcOffsetHours) * 60.0);
  return wallClock.addSecs(offsetMinutes * 60);
}

ContactStamp UtcStampOf(const QDateTime& localNow, float utcOffsetHours) {
  const QDateTime utc = UtcMomentOf(localNow, utcOffsetHours);
  return {utc.toString(QStringLiteral("yyyy/MM/dd")), utc.toString(QStringLiteral("HH:mm:ss"))};
}

std::optional<QDate> ParsePostContestDate(const QString& text, const QLocale& locale) {
  static const QRegularExpression pattern(QStringLiteral("^(\\d{1,4})([/.-])(\\d{1,4})\\2(\\d{1,4})$"));
  const QRegularExpressionMatch match = pattern.match(text);
  if (!match.hasMatch()) return std::nullopt;
  const QStringList parts = {match.captured(1), match.captured(3), match.captured(4)};
  const QString order = parts[0].size() == 4 ? QStringLiteral("yMd") : DateFieldOrder(locale);
  QString day, month, year;
  for (int i = 0; i < 3; ++i) {
    if (order[i] == QLatin1Char('d')) day = parts[i];
    if (order[i] == QLatin1Char('M')) month = parts[i];
    if (order[i] == QLatin1Char('y')) year = parts[i];
  }
  const std::optional<int> fullYear = YearOf(year);
  if (!fullYear || day.size() > 2 || month.size() > 2) return std::nullopt;
  const QDate date(*fullYear, month.toInt(), day.toInt());
  return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

QString WithTimeColon(const QString& text) {
  static const QRegularExpression digits(QStringLiteral("^\\d{3,4}$"));
  if (!digits.match(text).hasMatch()) return text;
  return text.left(text.size() - 2) + QLatin1Char(':') + text.right(2);
}

std::optional<QTime> ParsePostContestTime(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
  const QRegularExpressionMatch match = pattern.match(text);
  if (!match.hasMatch()) return std::nullopt;
  const QTime time(match.captured(1).toInt(), match.captured(2).toInt());
  return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

}  // namespace logging

namespace app {

namespace {

using logging::ClearDupeLabel;
using logging::ClearEntryLine;
using logging::MessageBackColor;

void RefuseEntry(Form1& form, const QString& message) {
  form.lblDialog.SetCaption(message);
  platform::Beep();
}

// Checks the typed post-contest date and time and writes them back in the stored formats.
// False when one is refused: the commit then ends at once.
bool TakePostContestDateAndTime(Form1& form) {
  const std::optional<QDate> date = logging::ParsePostContestDate(form.txtPostConDate.Text());
  if (!date) {
    RefuseEntry(form, QStringLiteral("Invalid date format!"));
    return false;
  }
  form.txtPostConDate.SetText(date->toString(QStringLiteral("yyyy/MM/dd")));
  form.txtPostConTime.SetText(logging::WithTimeColon(form.txtPostConTime.Text()));
  const std::optional<QTime> time = logging::ParsePostContestTime(form.txtPostConTime.Text());
  if (!time) {
    RefuseEntry(form, QStringLiteral("Invalid time format!"));
    return false;
  }
  form.txtPostConTime.SetText(time->toString(QStringLiteral("HH:mm")));
  return true;
}

// The clock is read once here, so the stored row and the in-memory copy carry the same moment.
logging::LogContact ContactOfEntryLine(const Form1& form) {
  const logging::ContactStamp utc = logging::UtcStampOf(platform::Now(), UtcOffset);
  return {form.txtCall.Text(),
          form.txtRSTR.Text(),
          form.txtSec.Text(),
          form.txtRSTS.Text(),
          OwnGrid,
          form.txtPostConDate.Visible() ? form.txtPostConDate.Text() : utc.Date,
          form.txtPostConTime.Visible() ? form.txtPostConTime.Text() : utc.Time,
          logging::CurrentBand,
          logging::CurrentMode};
}

// A grid new on the band (the "New" indicator is showing): marked on the map and listed.
void ListNewGrid(Form1& form) {
  QString& grid = logging::LogGridRcvd[logging::LogCount];
  form.ColorChange(grid);
  const std::int32_t band = logging::AddWorkedGrid(logging::CurrentBand, grid, logging::LogGridSent[logging::LogCount],
                                                   Rover, ContestType);
  logging::ListNewBandGrid(form, band);
}

// Everything the commit does once the row is stored.
void KeepStoredContact(Form1& form, const logging::LogContact& contact) {
  logging::LogRowCount += 1;
  logging::AppendContact(contact);
  platform::ChDir(ProgramDir);
  logging::AddActivatedGrid(contact.GridSent);
  logging::ListNewContact(form);
  logging::CountBandQso(contact.Band);
  if (form.Label3.Visible()) ListNewGrid(form);

  // The message line is emptied here, once: a blank set before it would never be seen, since no
  // event runs in between, yet it would have the line drawn again.
  ClearEntryLine(form);
  form.txtCall.SetFocus();
  form.lblDialog.SetBackColor(MessageBackColor);
  ClearDupeLabel(form);
  form.lblDialog.SetCaption(QString());
  platform::DoEvents();
}

// The next call is typed into the call box, whichever box the commit was made from.
void FocusCallBox(Form1& form) {
  platform::SkipOnError(lcLogging, [&] { form.txtCall.SetFocus(); });
}

// Run whether or not a contact was stored.
void FinishCommit(Form1& form) {
  ClearDupeLabel(form);
  form.Labeldisplay();
  platform::DoEvents();
  form.TimeStats();
  platform::DoEvents();
}

// The row is stored but keeping it in memory failed part-way: the log is reloaded from the table,
// so the in-memory log and the tallies agree with it again, and the entry line is cleared, as the
// contact is logged. Only a table that cannot be read now is reported, as a reload reports it,
// and the next poll then reloads.
void ResynchroniseWithTable(Form1& form) {
  ClearEntryLine(form);
  form.WorkList();
  ClearDupeLabel(form);
  form.lblDialog.SetCaption(QString());
  form.lblDialog.SetBackColor(MessageBackColor);
  FocusCallBox(form);
}

}  // namespace

void Form1::frmcmp() {
  logging::EntryIncomplete = 0;
  if (txtSec.Text().isEmpty()) {
    platform::Beep();
    lblDialog.SetCaption(QStringLiteral("Need Grid!"));
    logging::EntryIncomplete = 1;
    txtSec.SetFocus();
  }
  if (txtCall.Text().size() < 3) {
    platform::Beep();
    lblDialog.SetCaption(QStringLiteral("Need Call Sign!"));
    logging::EntryIncomplete = 1;
    txtCall.SetFocus();
  }
}

void Form1::Mains() {
  bool rowStored = false;
  try {
    frmcmp();
    // Before the dupe check, which reads the log as well.
    logging::ReopenLostLog();
    dupcheck();
    if (txtPostConTime.Visible() && !TakePostContestDateAndTime(*this)) return;
    if (logging::EntryIncomplete != 1 && logging::DupeFound != 1) {
      logging::LogContact contact = ContactOfEntryLine(*this);
      contact.RowId = logging::InsertContact(contact);
      rowStored = true;
      KeepStoredContact(*this, contact);
    }
    FinishCommit(*this);
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
    logging::LogRecordset.Close();
    if (rowStored) {
      ResynchroniseWithTable(*this);
      return;
    }
    platform::Beep();
    platform::MsgBox(QStringLiteral("Network Error, please try again."), platform::MsgBoxStyle::OKOnly,
                     QStringLiteral("Network Error!"));
    FocusCallBox(*this);
  }
}

}  // namespace app
