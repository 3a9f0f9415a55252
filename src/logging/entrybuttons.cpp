#include "app/folders.h"
#include "app/form1.h"
#include "logging/entryarea.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/logtable.h"
#include "logtools/frmeditcon.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/instances.h"
#include "platform/trace.h"

namespace app {

namespace {

void HideEditButtons(Form1& form) {
  form.cmdEdit.SetVisible(false);
  form.cmdDelete.SetVisible(false);
}

// The slot in the log held of the contact list's selected row, whose text is that slot. Throws
// when no row is selected or the slot holds no contact (the log was reloaded shorter meanwhile).
std::int32_t SelectedSlot(const Form1& form) {
  const std::optional<platform::ListItem> row = form.ListView1.SelectedItem();
  if (!row) throw platform::RuntimeError(QStringLiteral("No contact is selected."));
  bool isNumber = false;
  const std::int32_t slot = row->Text().toInt(&isNumber);
  if (!isNumber) throw platform::RuntimeError(QStringLiteral("Type mismatch"), 13);
  if (slot < 1 || slot > logging::LogCount) throw platform::RuntimeError(QStringLiteral("Subscript out of range"), 9);
  return slot;
}

}  // namespace

// The post-contest date and time stay: the next late contact is usually close to the last.
void Form1::cmdClear_Click() {
  logging::ClearEntryLine(*this);
  logging::ClearDupeLabel(*this);
  lblDialog.SetCaption(QStringLiteral(" "));
  lblDialog.SetBackColor(logging::MessageBackColor);
  txtCall.SetFocus();
}

// The selected contact, and only it: a second contact with the same values stays, one row each.
// The poll is off meanwhile, so no reload renumbers the list under the question; it runs again
// whatever the answer.
void Form1::cmdDelete_Click() {
  Timer3.SetEnabled(false);
  const int answer = platform::MsgBox(QStringLiteral("Are you sure?"), platform::MsgBoxStyle::YesNo,
                                      QStringLiteral("Are you sure?"));
  HideEditButtons(*this);
  if (answer == platform::MsgBoxResult::Yes) {
    try {
      logging::DeleteContact(logging::ContactInSlot(SelectedSlot(*this)));
      WorkList();
    } catch (const std::exception& error) {
      platform::TraceError(lcLogging, error);
      logging::LogRecordset.Close();
    }
  }
  Timer3.SetEnabled(true);
}

// The edit window changes the table only; the reload brings the log held up to date, whatever
// became of the window. It opens only for a contact the log holds.
void Form1::cmdEdit_Click() {
  Timer3.SetEnabled(false);
  platform::SkipOnError(lcLogging, [this] {
    logtools::EditIndex = SelectedSlot(*this);
    platform::Instance<logtools::frmEditCon>().Show(platform::Modal);
  });
  if (platform::IsLoaded<logtools::frmEditCon>()) platform::Instance<logtools::frmEditCon>().Unload();
  HideEditButtons(*this);
  platform::SkipOnError(lcLogging, [] { SelectProgramFolder(); });
  WorkList();
  Timer3.SetEnabled(true);
}

// The caption names the state the check is in.
void Form1::cmdDup_Click() {
  lblDupe.SetBackColor(platform::ButtonFaceColor());
  if (logging::DupCheckOn != 1) {
    logging::DupCheckOn = 1;
    cmdDup.SetCaption(QStringLiteral("On"));
  } else {
    logging::DupCheckOn = 0;
    cmdDup.SetCaption(QStringLiteral("Off"));
  }
  txtCall.SetFocus();
}

// The caption names what the list shows now.
void Form1::cmdList_Click() {
  if (logging::ListAllContacts == 0) {
    cmdList.SetCaption(QStringLiteral("All"));
    logging::ListAllContacts = 1;
  } else {
    cmdList.SetCaption(QStringLiteral("Last 20"));
    logging::ListAllContacts = 0;
  }
  ListContacts();
  txtCall.SetFocus();
}

}  // namespace app
