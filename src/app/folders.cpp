#include "app/folders.h"

#include "app/globals.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/trace.h"

#include <optional>

namespace app::modGlobalPreferences {

namespace {

void MakeFolders(const QString& base, const QString& makerFolder, const QString& subFolder) {
  MakeFolderPath(base + makerFolder, 1);
  MakeFolderPath(base + makerFolder + subFolder, 1);
}

// What stands for "My Documents" before any is made: the one an earlier run filled, else the
// desktop's documents folder where it exists, so that no second documents folder appears beside it.
std::optional<QString> StandingMyDocuments(const QString& myDocuments, const QString& makerFolder) {
  if (platform::DirExists(myDocuments + makerFolder)) return myDocuments;
  const QString desktopDocuments = platform::DesktopDocumentsFolder();
  if (!desktopDocuments.isEmpty() && platform::DirExists(desktopDocuments)) return desktopDocuments;
  return std::nullopt;
}

}  // namespace

void MakeFolderPath(const QString& path, std::uint8_t reportErrors) {
  if (path.isEmpty()) {
    platform::MsgBox(QStringLiteral("Invalid Path"), platform::MsgBoxStyle::OKOnly,
                     QStringLiteral("Unable to Create Directory"));
    return;
  }
  if (platform::DirExists(path)) return;
  try {
    platform::MkDir(path);
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcApp, error);
    if (reportErrors == 1)
      platform::MsgBox(error.Description() + QStringLiteral("  ") + path, platform::MsgBoxStyle::OKOnly,
                       QStringLiteral("Unable to create directory."));
  }
}

QString GetDocumentsFolder(const QString& makerFolder, const QString& subFolder) {
  const QString profile = platform::Environ(QStringLiteral("USERPROFILE"));
  if (profile.isEmpty()) {
    const QString base = QStringLiteral("c:\\My Documents");
    MakeFolderPath(base, 1);
    MakeFolders(base, makerFolder, subFolder);
    return base + makerFolder;
  }
  const QString myDocuments = profile + QStringLiteral("\\My Documents");
  if (const std::optional<QString> base = StandingMyDocuments(myDocuments, makerFolder)) {
    MakeFolders(*base, makerFolder, subFolder);
    return *base + makerFolder;
  }
  MakeFolderPath(myDocuments, 0);
  for (const QString& base : {myDocuments, profile + QStringLiteral("\\Documents")}) {
    if (platform::DirExists(base)) {
      MakeFolders(base, makerFolder, subFolder);
      return base + makerFolder;
    }
  }
  const QString appData = platform::Environ(QStringLiteral("APPDATA"));
  MakeFolders(profile, makerFolder, subFolder);
  MakeFolders(appData, makerFolder, subFolder);
  return appData + makerFolder;
}

DocumentFolders FindDocumentFolders() {
  GetDocumentsFolder(MakerFolder, ProgramFolder);
  const QString makerFolder = GetDocumentsFolder(MakerFolder, SharedSubFolder);
  return {makerFolder + ProgramFolder, makerFolder + SharedSubFolder};
}

}  // namespace app::modGlobalPreferences

namespace app {

void SelectProgramFolder() {
  platform::ChDrive(ProgramDrive);
  platform::ChDir(ProgramDir);
}

}  // namespace app
