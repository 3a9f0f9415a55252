#include "app/folders.h"

#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/trace.h"

namespace app::modGlobalPreferences {

namespace {

void MakeFolders(const QString& base, const QString& makerFolder, const QString& subFolder) {
  MakeFolderPath(base + makerFolder, 1);
  MakeFolderPath(base + makerFolder + subFolder, 1);
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
