#include "app/folders.h"

#include "platform/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace app::modGlobalPreferences;

namespace {

class DocumentsFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    QDir(root.path()).mkdir("profile");
    QDir(root.path()).mkdir("appdata");
    profile = root.path() + "/profile";
    appData = root.path() + "/appdata";
    savedProfile = qgetenv("USERPROFILE");
    savedAppData = qgetenv("APPDATA");
    qputenv("USERPROFILE", profile.toLocal8Bit());
    qputenv("APPDATA", appData.toLocal8Bit());
  }
  void TearDown() override {
    qputenv("USERPROFILE", savedProfile);
    qputenv("APPDATA", savedAppData);
  }

  // A plain file where the folder "My Documents" would go, so that it cannot be made.
  void BlockMyDocuments() const {
    QFile file(profile + "/My Documents");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  static bool IsFolder(const QString& nativePath) { return QFileInfo(nativePath).isDir(); }

  QStringList Shown() const {
    QStringList shown;
    for (const auto& box : dialogs.MessageBoxes()) shown << box.title + ": " + box.prompt;
    return shown;
  }

  QTemporaryDir root;
  QString profile, appData;
  QByteArray savedProfile, savedAppData;
  platform::ScriptedDialogs dialogs;
};

TEST_F(DocumentsFolder, MyDocumentsUnderProfileIsMadeAndUsed) {
  const QString result = GetDocumentsFolder("\\Varnek Software", "\\Corvane");
  EXPECT_EQ(result, profile + "\\My Documents\\Varnek Software");
  EXPECT_TRUE(IsFolder(profile + "/My Documents/Varnek Software/Corvane"));
  EXPECT_TRUE(Shown().isEmpty()) << Shown().join('\n').toStdString();
}

TEST_F(DocumentsFolder, SecondRunMakesNothingAndShowsNothing) {
  const QString first = GetDocumentsFolder("\\Varnek Software", "\\Corvane");
  EXPECT_EQ(GetDocumentsFolder("\\Varnek Software", "\\Corvane"), first);
  EXPECT_TRUE(Shown().isEmpty()) << Shown().join('\n').toStdString();
}

TEST_F(DocumentsFolder, DocumentsInAnyLetterCaseIsUsedWhenMyDocumentsCannotBeMade) {
  BlockMyDocuments();
  QDir(profile).mkdir("documents");
  const QString result = GetDocumentsFolder("\\Varnek Software", "\\Shared");
  EXPECT_EQ(result, profile + "\\Documents\\Varnek Software");
  EXPECT_TRUE(IsFolder(profile + "/documents/Varnek Software/Shared"));
  EXPECT_TRUE(Shown().isEmpty()) << "the attempt at My Documents fails silently";
}

TEST_F(DocumentsFolder, WithoutDocumentsFoldersAreMadeUnderProfileAndAppData) {
  BlockMyDocuments();
  const QString result = GetDocumentsFolder("\\Varnek Software", "\\Corvane");
  EXPECT_EQ(result, appData + "\\Varnek Software");
  EXPECT_TRUE(IsFolder(profile + "/Varnek Software/Corvane"));
  EXPECT_TRUE(IsFolder(appData + "/Varnek Software/Corvane"));
  EXPECT_TRUE(Shown().isEmpty()) << Shown().join('\n').toStdString();
}

TEST_F(DocumentsFolder, StartUpFindsDataAndSharedFolders) {
  const DocumentFolders folders = FindDocumentFolders();
  EXPECT_EQ(folders.DataFolder, profile + "\\My Documents\\Varnek Software\\Corvane");
  EXPECT_EQ(folders.SharedFolder, profile + "\\My Documents\\Varnek Software\\Shared");
  EXPECT_TRUE(IsFolder(profile + "/My Documents/Varnek Software/Corvane"));
  EXPECT_TRUE(IsFolder(profile + "/My Documents/Varnek Software/Shared"));
}

TEST_F(DocumentsFolder, FolderCreationFailuresAreReportedOnlyWhenAsked) {
  MakeFolderPath("", 0);
  const QString orphan = profile + "\\missing\\BACKUP";
  MakeFolderPath(orphan, 0);
  MakeFolderPath(orphan, 1);
  EXPECT_EQ(Shown(), QStringList({"Unable to Create Directory: Invalid Path",
                                "Unable to create directory.: Path not found  " + orphan}));
  EXPECT_FALSE(QFileInfo::exists(profile + "/missing"));
}

}  // namespace
