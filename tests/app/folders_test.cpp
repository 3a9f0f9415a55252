#include "app/folders.h"

#include "platform/dialogs.h"
#include "platform/paths.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>

#include "fakehome.h"

using namespace app::modGlobalPreferences;

namespace {

class DocumentsFolder : public ::testing::Test {
 protected:
  // A plain file where the folder "My Documents" would go, so that it cannot be made.
  void BlockMyDocuments() const {
    QFile file(home.Path() + "/My Documents");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  bool IsFolder(const QString& relative) const { return QFileInfo(home.Path() + "/" + relative).isDir(); }

  // Every folder under the home, the XDG config folder included.
  QStringList Folders() const {
    QStringList folders;
    QDirIterator it(home.Path(), QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) folders << it.next().mid(home.Path().size() + 1);
    folders.sort();
    return folders;
  }

  QStringList Shown() const {
    QStringList shown;
    for (const auto& box : dialogs.MessageBoxes()) shown << box.title + ": " + box.prompt;
    return shown;
  }

  FakeHome home;
  platform::ScriptedDialogs dialogs;
};

// Where the maker folder goes on a desktop, and which documents folders stay untouched.
TEST_F(DocumentsFolder, TheDesktopsDocumentsFolderStandsForMyDocuments) {
  const struct {
    const char* what;
    std::function<void(const FakeHome&)> prepare;
    const char* documents;  // the folder the maker folder goes into, under the home
    QStringList untouched;  // folders that must not come into being
  } cases[] = {
      {"~/Documents present", [](const FakeHome& h) { h.MakeFolder("Documents"); }, "Documents",
       {"My Documents"}},
      {"no documents folder: the literal rule", [](const FakeHome&) {}, "My Documents", {"Documents"}},
      {"named otherwise by the desktop",
       [](const FakeHome& h) {
         h.SetDesktopDocuments("$HOME/Dokumente");
         h.MakeFolder("Dokumente");
         h.MakeFolder("Documents");
       },
       "Dokumente", {"My Documents", "Documents/Varnek Software"}},
      {"the desktop's folder is missing",
       [](const FakeHome& h) { h.SetDesktopDocuments("$HOME/Dokumente"); }, "My Documents", {"Dokumente"}},
      {"the desktop has none", [](const FakeHome& h) { h.SetDesktopDocuments("$HOME/"); }, "My Documents",
       {"Varnek Software"}},
      {"an earlier run's My Documents tree beside ~/Documents",
       [](const FakeHome& h) {
         h.MakeFolder("Documents");
         h.MakeFolder("My Documents/Varnek Software");
       },
       "My Documents", {"Documents/Varnek Software"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeHome caseHome;
    c.prepare(caseHome);
    const QString result = GetDocumentsFolder("\\Varnek Software", "\\Corvane");
    EXPECT_EQ(platform::NativePath(result).toStdString(),
              (caseHome.Path() + "/" + c.documents + "/Varnek Software").toStdString());
    EXPECT_TRUE(QFileInfo(caseHome.Path() + "/" + c.documents + "/Varnek Software/Corvane").isDir());
    for (const QString& folder : c.untouched) {
      EXPECT_FALSE(QFileInfo::exists(caseHome.Path() + "/" + folder)) << folder.toStdString();
    }
  }
  EXPECT_TRUE(Shown().isEmpty()) << Shown().join('\n').toStdString();
}

TEST_F(DocumentsFolder, SecondRunMakesNothingAndShowsNothing) {
  home.MakeFolder("Documents");
  const DocumentFolders first = FindDocumentFolders();
  const QStringList made = Folders();
  const DocumentFolders second = FindDocumentFolders();
  EXPECT_EQ(second.DataFolder, first.DataFolder);
  EXPECT_EQ(second.SharedFolder, first.SharedFolder);
  EXPECT_EQ(Folders(), made);
  EXPECT_TRUE(Shown().isEmpty()) << Shown().join('\n').toStdString();
}

TEST_F(DocumentsFolder, DocumentsInAnyLetterCaseIsUsedWhenMyDocumentsCannotBeMade) {
  home.SetDesktopDocuments("$HOME/Dokumente");
  BlockMyDocuments();
  home.MakeFolder("documents");
  const QString result = GetDocumentsFolder("\\Varnek Software", "\\Shared");
  EXPECT_EQ(result, home.Path() + "\\Documents\\Varnek Software");
  EXPECT_TRUE(IsFolder("documents/Varnek Software/Shared"));
  EXPECT_TRUE(Shown().isEmpty()) << "the attempt at My Documents fails silently";
}

TEST_F(DocumentsFolder, WithoutDocumentsFoldersAreMadeUnderHomeAndTheConfigFolder) {
  BlockMyDocuments();
  const QString result = GetDocumentsFolder("\\Varnek Software", "\\Corvane");
  EXPECT_EQ(result, home.ConfigPath() + "\\Varnek Software");
  EXPECT_TRUE(IsFolder("Varnek Software/Corvane"));
  EXPECT_TRUE(IsFolder(".config/Varnek Software/Corvane"));
  EXPECT_TRUE(Shown().isEmpty()) << Shown().join('\n').toStdString();
}

TEST_F(DocumentsFolder, StartUpFindsDataAndSharedFolders) {
  const DocumentFolders folders = FindDocumentFolders();
  EXPECT_EQ(folders.DataFolder, home.Path() + "\\My Documents\\Varnek Software\\Corvane");
  EXPECT_EQ(folders.SharedFolder, home.Path() + "\\My Documents\\Varnek Software\\Shared");
  EXPECT_TRUE(IsFolder("My Documents/Varnek Software/Corvane"));
  EXPECT_TRUE(IsFolder("My Documents/Varnek Software/Shared"));
}

TEST_F(DocumentsFolder, FolderCreationFailuresAreReportedOnlyWhenAsked) {
  MakeFolderPath("", 0);
  const QString orphan = home.Path() + "\\missing\\BACKUP";
  MakeFolderPath(orphan, 0);
  MakeFolderPath(orphan, 1);
  EXPECT_EQ(Shown(), QStringList({"Unable to Create Directory: Invalid Path",
                                "Unable to create directory.: Path not found  " + orphan}));
  EXPECT_FALSE(QFileInfo::exists(home.Path() + "/missing"));
}

}  // namespace
