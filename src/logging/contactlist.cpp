#include "logging/contactlist.h"

#include "app/form1.h"
#include "app/modformresize.h"
#include "logging/contactrow.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/keys.h"
#include "platform/modulevalues.h"
#include "platform/trace.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace logging {

void CreateContactListColumns(app::Form1& form) {
  static const std::pair<const char*, double> kColumns[] = {
      {"Rec#", 560},        {"Call", 940}, {"Rec", 500},    {"Grid R", 690}, {"Snt", 500},
      {"Date / Time", 1050}, {"Bnd", 480},  {"Grid S", 690}, {"Mode", 600},
  };
  for (const auto& [caption, width] : kColumns) {
    form.ListView1.ColumnHeaders.Add(QString::fromUtf8(caption), app::ModFormResize::ColumnWidthIn(form, width));
  }
}

}  // namespace logging

namespace app {

namespace {

constexpr std::int32_t kLastContacts = 20;

bool HasCaption(const platform::CommandButton& button, const char* caption) {
  return button.Caption().compare(QLatin1String(caption), Qt::CaseInsensitive) == 0;
}

// Which contacts the list shows: of all bands or of the current band, all or the last 20.
struct ListedView {
  bool allBands;
  bool allContacts;
  QString band;

  bool operator==(const ListedView&) const = default;
};

ListedView ChosenView(const Form1& form) {
  const bool allBands = HasCaption(form.Command3, "All Bands");
  const bool allContacts = allBands ? logging::ListAllContacts == 1 : HasCaption(form.cmdList, "All");
  return {allBands, allContacts, allBands ? QString() : logging::CurrentBand.toCaseFolded()};
}

// What the list was last filled with: the view, the log as it was (its newest slot, and the
// rewrites of its calls, which a reload or a new log moves) and the list's own revision then.
struct ListedLog {
  ListedView view;
  std::int32_t newest = -1;
  std::uint64_t logRewrites = 0;
  std::uint64_t listRevision = 0;
};
MODULE_VALUE(std::optional<ListedLog>, LastListed);

void RememberListed(const Form1& form, const ListedView& view) {
  LastListed = ListedLog{view, logging::LogCount, logging::LogCalls.Rewrites(), form.ListView1.Revision()};
}

// Whether the list shows the chosen view of the log as it was before its newest contact.
bool ListsAllButNewest(const Form1& form, const ListedView& view) {
  return LastListed && LastListed->view == view && LastListed->newest == logging::LogCount - 1 &&
         LastListed->logRewrites == logging::LogCalls.Rewrites() &&
         LastListed->listRevision == form.ListView1.Revision();
}

bool OnCurrentBand(std::int32_t slot) {
  return logging::LogBand[slot].compare(logging::CurrentBand, Qt::CaseInsensitive) == 0;
}

// The list's rows, newest first: all contacts or the last 20, of all bands or of the current
// band only. A failure keeps the rows collected so far.
void CollectListedRows(const ListedView& view, std::vector<QStringList>& rows) {
  const std::int32_t newest = logging::LogCount;
  if (view.allBands) {
    const bool last20 = !view.allContacts && newest >= kLastContacts;
    const std::int32_t oldest = last20 ? newest - kLastContacts + 1 : 1;
    rows.reserve(static_cast<std::size_t>(std::max(newest - oldest + 1, 0)));
    for (std::int32_t slot = newest; slot >= oldest; --slot) rows.push_back(logging::ContactListRow(slot));
    return;
  }
  // The current band's contacts lie anywhere in the log: "Last 20" walks back only until it has
  // found 20 of them.
  for (std::int32_t slot = newest; slot >= 1 && (view.allContacts || rows.size() < kLastContacts); --slot) {
    if (OnCurrentBand(slot)) rows.push_back(logging::ContactListRow(slot));
  }
}

bool HasRows(const platform::ListView& list) { return list.ListItems.Count() > 0; }

void ShowEditButtons(Form1& form) {
  form.cmdEdit.SetVisible(true);
  form.cmdDelete.SetVisible(true);
}

}  // namespace

// Filled in one go: a reload rebuilds the list at the log's full size.
void Form1::ListContacts() {
  const ListedView view = ChosenView(*this);
  std::vector<QStringList> rows;
  bool whole = true;
  try {
    CollectListedRows(view, rows);
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
    whole = false;
  }
  ListView1.SetRows(std::move(rows));
  LastListed.reset();
  if (whole) RememberListed(*this, view);
}

void Form1::Command3_Click() {
  const bool allBands = HasCaption(Command3, "All Bands");
  Command3.SetCaption(allBands ? QStringLiteral("Current Band") : QStringLiteral("All Bands"));
  ListContacts();
  txtCall.SetFocus();
}

// The button names the view it leads to; the choice is kept in the preferences file.
void Form1::Command2_Click() {
  if (!HasCaption(Command2, "View Grids")) {
    Command2.SetCaption(QStringLiteral("View Grids"));
    ShowBandLists();
  } else {
    Command2.SetCaption(QStringLiteral("View Bands"));
    HideBandLists();
  }
  SavePref();
  txtCall.SetFocus();
}

// Picking a contact to edit or delete: the shared-log poll stops, so that a reload cannot
// renumber the list meanwhile; the call box's focus starts it again.
void Form1::ListView1_Click() {
  if (!HasRows(ListView1)) return;
  ShowEditButtons(*this);
  Timer3.SetEnabled(false);
}

void Form1::ListView1_GotFocus() {
  if (HasRows(ListView1)) ShowEditButtons(*this);
}

// A right click anywhere in a list with rows opens the edit.
void Form1::ListView1_MouseUp(int Button, int, float, float) {
  try {
    if (HasRows(ListView1) && Button == platform::RightButton) cmdEdit_Click();
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
  }
}

// Sorts once by the clicked column's text; the next refill brings back the newest-first order.
void Form1::ListView1_ColumnClick(int ColumnIndex) {
  ListView1.SetSortKey(ColumnIndex - 1);
  ListView1.SetSorted(true);
  ListView1.SetSorted(false);
}

}  // namespace app

namespace logging {

// The new contact goes in at the top, and "Last 20" lets its oldest row go, so the rows on screen
// move down as drawn; a list that shows anything else is filled again.
void ListNewContact(app::Form1& form) {
  using namespace app;
  const ListedView view = ChosenView(form);
  if (!ListsAllButNewest(form, view)) {
    form.ListContacts();
    return;
  }
  platform::ListView& list = form.ListView1;
  try {
    if (view.allBands || OnCurrentBand(LogCount)) list.InsertRow(1, ContactListRow(LogCount));
    if (!view.allContacts && list.ListItems.Count() > kLastContacts) list.ListItems.Remove(kLastContacts + 1);
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
    form.ListContacts();
    return;
  }
  RememberListed(form, view);
}

}  // namespace logging
