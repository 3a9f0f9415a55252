#pragma once

#include <QString>

#include <cstdint>

// The user's document folders: the maker's folder under the documents folder, with the program's
// data folder and the shared folder in it. Paths are written as the program writes them ("\").
namespace app::modGlobalPreferences {

inline const QString MakerFolder = QStringLiteral("\\Varnek Software");
inline const QString ProgramFolder = QStringLiteral("\\Corvane");
inline const QString SharedSubFolder = QStringLiteral("\\Shared");
inline const QString BackupFolder = QStringLiteral("\\BACKUP");

// Creates the last level of path when it is missing; its parent must exist. reportErrors 1
// shows a failure as "<description>  <path>" titled "Unable to create directory.";
// any other value fails silently. An empty path is always reported, as "Invalid Path".
void MakeFolderPath(const QString& path, std::uint8_t reportErrors);

// Makes sure documents folder + makerFolder + subFolder exists and returns documents folder +
// makerFolder. The documents folder is USERPROFILE's "My Documents" where an earlier run made
// makerFolder in it, else the desktop's documents folder where that exists. Otherwise it is
// "My Documents" (made silently when missing) or else "Documents" under USERPROFILE; with
// neither, the folders are made under USERPROFILE and under APPDATA and APPDATA's are used;
// with no USERPROFILE at all it is "c:\My Documents". makerFolder and subFolder begin with "\".
QString GetDocumentsFolder(const QString& makerFolder, const QString& subFolder);

// The data folder (maker folder + "\Corvane") and the shared folder (maker folder + "\Shared"),
// both made when missing, as the start-up finds them.
struct DocumentFolders {
  QString DataFolder;
  QString SharedFolder;
};
DocumentFolders FindDocumentFolders();

}  // namespace app::modGlobalPreferences

namespace app {

// Makes the program folder current (its drive first), as every access to a file by its plain
// name needs. Throws platform::RuntimeError when the folder is gone.
void SelectProgramFolder();

}  // namespace app
