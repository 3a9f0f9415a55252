#pragma once

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/modulevalues.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace logtools {

// The slot (1 to LogCount) of the contact being edited in the in-memory log; the main window's
// Edit button sets it from the contact list's selected row before it shows the window.
MODULE_VALUE(std::int32_t, EditIndex, 0);

// A typed date as the log stores it, "yyyy/mm/dd"; empty when it is no date (see ReadContactDate).
std::optional<QString> StoredContactDate(QStringView typed);

// A typed time as the log stores it: "hh:mm:ss", or "hh:mm" when hours and minutes alone were
// typed, as for a contact logged after the contest; empty when it is no time (see ReadContactTime).
std::optional<QString> StoredContactTime(QStringView typed);

// Edits the contact picked in the main window's contact list: one row of tbllog is rewritten, and
// the main window reloads the log once the window has closed.
class frmEditCon : public platform::Form {
 public:
  frmEditCon();

  // The boxes' key filter: "a" to "z" upper-cased, every other code left as it is.
  static void Cap2(int& KeyAscii);

  platform::Label lblEditTitle{this, "lblEditTitle"};
  // Declared in the order of the focus, which is therefore their tab order.
  platform::Label lblEditCall{this, "lblEditCall"};
  platform::TextBox txtEditCall{this, "txtEditCall"};
  platform::Label lblEditCk{this, "lblEditCk"};
  platform::TextBox txtEditCk{this, "txtEditCk"};
  platform::Label lblEditSec{this, "lblEditSec"};
  platform::TextBox txtEditSec{this, "txtEditSec"};
  platform::Label lblEditNum{this, "lblEditNum"};
  platform::TextBox txtEditNum{this, "txtEditNum"};
  platform::Label lblEditPre{this, "lblEditPre"};
  platform::TextBox txtEditPre{this, "txtEditPre"};
  platform::Label lblEditDate{this, "lblEditDate"};
  platform::TextBox txtEditDate{this, "txtEditDate"};
  platform::Label lblEditTime{this, "lblEditTime"};
  platform::TextBox txtEditTime{this, "txtEditTime"};
  platform::Label lblEditBnd{this, "lblEditBnd"};
  platform::TextBox txtEditBnd{this, "txtEditBnd"};
  platform::Label Label3{this, "Label3"};  // "   Invalid!" beside the band
  platform::Label lblEditMode{this, "lblEditMode"};
  platform::TextBox txtEditMode{this, "txtEditMode"};
  platform::Label Label5{this, "Label5"};  // "   Invalid!" beside the mode
  platform::CommandButton cmdDone{this, "cmdDone"};
  platform::Label Label1{this, "Label1"};  // "Dupe!"
  platform::CommandButton cmdDeleteDupe{this, "cmdDeleteDupe"};

  void Form_Load() override;

  void cmdDone_Click();
  void cmdDeleteDupe_Click();
  void txtEditCall_KeyPress(int& KeyAscii);
  void txtEditCk_KeyPress(int& KeyAscii);
  void txtEditSec_KeyPress(int& KeyAscii);
  void txtEditNum_KeyPress(int& KeyAscii);
  void txtEditPre_KeyPress(int& KeyAscii);
  void txtEditDate_KeyPress(int& KeyAscii);
  void txtEditTime_KeyPress(int& KeyAscii);
  void txtEditBnd_KeyPress(int& KeyAscii);
  void txtEditMode_KeyPress(int& KeyAscii);
  void txtEditDate_LostFocus();
  void txtEditTime_LostFocus();
  void txtEditBnd_LostFocus();
  void txtEditMode_LostFocus();

 private:
  void LayOut();
  void Connect();
  // Enter is swallowed and runs Done at once, the focus staying in the box.
  bool EnterRunsDone(int& KeyAscii);
  // The filter of the boxes that take any key but the double quote.
  void FilterTextKey(int& KeyAscii);
  // One beep per other contact of the log with the same call, band and both grids, as typed.
  bool ReportDupes();
  void StoreEdit();
};

}  // namespace logtools
