#include "app/frmsplash.h"

#include "app/folders.h"
#include "app/form1.h"
#include "app/frmvarneklogo.h"
#include "app/globalpreferences.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/trace.h"

namespace app {

namespace {

using namespace modGlobalPreferences;

// A shared preferences file that cannot be read is reported and left alone: the program starts
// without it, and the set-up's save reports that it has nowhere to write.
void OpenSharedPreferences() {
  const QString path = SharedFolder + SharedPreferencesFile;
  try {
    LoadPreferencesText(path);
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcApp, error);
    platform::MsgBox(error.Description() + QStringLiteral("  ") + path, platform::MsgBoxStyle::OKOnly,
                     QStringLiteral("File, Network or Install Error."));
  }
}

}  // namespace

frmSplash::frmSplash() : Form(QStringLiteral("frmSplash")) {
  SetCaption(QStringLiteral("Corvane"));
  Move(0, 0, 4800, 3600);
}

void frmSplash::Form_Load() {
  ProgramDir = platform::CurDir();
  ProgramDrive = ProgramDir.left(1);
  platform::Instance<frmVarnekLogo>().Show(platform::Modal);
  ModFormResize::ResizeToScreen(*this);
  const DocumentFolders folders = FindDocumentFolders();
  SharedFolder = folders.SharedFolder;
  DataFolder = folders.DataFolder;
  OpenSharedPreferences();
  MakeFolderPath(DataFolder + BackupFolder, 0);
  SelectProgramFolder();
  platform::Instance<Form1>().Show();
  Unload();
}

}  // namespace app
