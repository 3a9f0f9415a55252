#include "logtools/exportdialogs.h"

#include "app/folders.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/trace.h"

namespace logtools {

QString ChooseExportFile(platform::CommonDialog& dialog, const QString& initialFileName, const QString& filter) {
  dialog.CancelError = true;
  dialog.FileName = initialFileName;
  dialog.Filter = filter;
  dialog.Flags = platform::CommonDialogFlags::OverwritePrompt;
  dialog.FilterIndex = 1;
  dialog.ShowSave();
  return dialog.FileName;
}

bool RunExport(const std::function<void()>& steps, const std::source_location& where) {
  try {
    steps();
    return true;
  } catch (const platform::RuntimeError& error) {
    platform::SkipOnError(lcLogtools, &app::SelectProgramFolder, where);
    if (error.Number() == platform::CancelSelectedError) return false;
    platform::TraceError(lcLogtools, error, where);
    platform::Beep();
    platform::MsgBox(error.Description(), platform::MsgBoxStyle::OKOnly, QStringLiteral("Unable to write file."));
    return false;
  }
}

}  // namespace logtools
