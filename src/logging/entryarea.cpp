#include "logging/entryarea.h"

#include "app/form1.h"

namespace logging {

void ClearDupeLabel(app::Form1& form) {
  form.lblDupe.SetBackColor(platform::ButtonFaceColor());
  form.lblDupe.SetCaption(QString());
}

void ClearEntryLine(app::Form1& form) {
  for (platform::TextBox* box : {&form.txtRSTS, &form.txtCall, &form.txtRSTR, &form.txtSec}) box->SetText(QString());
}

}  // namespace logging
