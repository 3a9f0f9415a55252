#include "app/form1.h"
#include "app/frmsplash.h"
#include "app/frmstationid.h"
#include "app/frmvarneklogo.h"
#include "app/globalpreferences.h"
#include "app/globals.h"
#include "logging/logstore.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/paths.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "fakehome.h"
#include "keptcurrentfolder.h"
#include "operatorscript.h"
#include "testbound.h"

namespace {

using namespace app;
using platform::Instance;
using platform::IsLoaded;

// A desktop user's home with ~/Documents, and the program started in a program folder of its own.
class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(programFolder.isValid());
    platform::ChDir(programFolder.path());
    home.MakeFolder("Documents");
    // The program folder as installed: the empty log beside the program.
    platform::CreateLogDatabase(programFolder.filePath("Corvane.MDB"));
    // The PC's clock agrees with the offset of a first start: no offer to change it.
    platform::Clock::SetFake(QDateTime(QDate(2024, 1, 20), QTime(14, 0)), 0);
  }
  void TearDown() override {
    logging::LogConnection.Close();
  }

  QString Documents(const QString& relative) const { return home.Path() + "/Documents/Varnek Software/" + relative; }

  // Everything under the home, folders and files.
  QStringList HomeTree() const {
    QStringList tree;
    QDirIterator it(home.Path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) tree << it.next();
    tree.sort();
    return tree;
  }

  // Starts the program as main does, as an operator takes it: whenLogoShown runs while the logo
  // window is up, then the logo is clicked away; whenSetUpShown runs while the station set-up
  // dialog is up, then Done takes the station and the installed log; "Open existing log?" is
  // answered Yes.
  void Start(const std::function<void()>& whenLogoShown = {}, const std::function<void()>& whenSetUpShown = {}) {
    OperatorScript operatorScript;
    operatorScript.When(
        "logo", [] { return IsLoaded<frmVarnekLogo>() && Instance<frmVarnekLogo>().Visible(); },
        [&] {
          if (whenLogoShown) whenLogoShown();
          QTest::mouseClick(Instance<frmVarnekLogo>().Image1.Widget(), Qt::LeftButton);
        });
    operatorScript.When(
        "station set-up", [] { return IsLoaded<frmStationID>() && Instance<frmStationID>().Visible(); },
        [&] {
          if (whenSetUpShown) whenSetUpShown();
          QTest::mouseClick(Instance<frmStationID>().Command1.Widget(), Qt::LeftButton);
        });
    dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);
    Instance<frmSplash>();
    platform::DoEvents();
    EXPECT_TRUE(operatorScript.Done());
  }

  // The one question of every start.
  void ExpectOpenExistingLogAsked(std::size_t index) const {
    ASSERT_GT(dialogs.MessageBoxes().size(), index);
    EXPECT_EQ(dialogs.MessageBoxes()[index].title, "Open existing log?");
  }

  FakeHome home;
  QTemporaryDir programFolder;
  KeptCurrentFolder currentFolder;
  platform::ScriptedDialogs dialogs;
};

TEST_F(StartUp, LogoFirstThenFoldersAndSharedPreferencesThenBackupThenTheMainWindow) {
  const QString programDir = QDir(programFolder.path()).canonicalPath();
  Start([&] {
    EXPECT_EQ(ProgramDir, programDir);
    EXPECT_EQ(ProgramDrive, "/");
    EXPECT_EQ(DataFolder, "");
    EXPECT_EQ(modGlobalPreferences::PreferencesPath, "");
    EXPECT_FALSE(QFileInfo::exists(Documents("Corvane")));
    EXPECT_FALSE(Instance<frmSplash>().Visible());
    EXPECT_FALSE(IsLoaded<Form1>());
  }, [&] {
    // The main window's load asks for the station once the folders and the shared file are found.
    EXPECT_EQ(platform::NativePath(DataFolder), Documents("Corvane"));
    EXPECT_EQ(platform::NativePath(SharedFolder), Documents("Shared"));
    EXPECT_TRUE(QFileInfo(Documents("Corvane/BACKUP")).isDir());
    EXPECT_FALSE(QFileInfo::exists(home.Path() + "/My Documents"));
    EXPECT_EQ(modGlobalPreferences::PreferencesPath, SharedFolder + "\\SharedUserPreferences.xml");
    EXPECT_EQ(modGlobalPreferences::PreferencesText, modGlobalPreferences::DeclarationLine);
    EXPECT_FALSE(QFileInfo::exists(Documents("Shared/SharedUserPreferences.xml"))) << "written at the first save only";
    EXPECT_EQ(Instance<frmStationID>().Text8.Text(), ProgramDir + "/Corvane.MDB") << "the installed log is offered";
    EXPECT_FALSE(Instance<Form1>().Visible());
  });
  EXPECT_TRUE(QFileInfo::exists(Documents("Shared/SharedUserPreferences.xml"))) << "Done saved the station";

  ASSERT_TRUE(IsLoaded<Form1>());
  EXPECT_TRUE(Instance<Form1>().Visible());
  EXPECT_EQ(ProgramDir, programDir);
  EXPECT_EQ(platform::CurDir(), programDir);
  EXPECT_FALSE(IsLoaded<frmSplash>());
  EXPECT_FALSE(IsLoaded<frmVarnekLogo>());
  EXPECT_EQ(dialogs.MessageBoxes().size(), 1u);
  ExpectOpenExistingLogAsked(0);
}

TEST_F(StartUp, SecondStartCreatesNothingShowsNothingAndReadsTheSharedPreferences) {
  Start({}, [] { QTest::keyClicks(Instance<frmStationID>().Text1.Widget(), "w1aw"); });
  const QByteArray shared = modGlobalPreferences::DeclarationLine.toLatin1() + "\r\n<OWN_CALL>W1AW</OWN_CALL>\r\n";
  QFile file(Documents("Shared/SharedUserPreferences.xml"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(shared);
  file.close();
  const QStringList afterFirst = HomeTree();
  platform::UnloadAll();
  platform::ResetModuleValues();

  Start({}, [&] {
    EXPECT_EQ(modGlobalPreferences::PreferencesText, QString::fromLatin1(shared.chopped(2)));
    EXPECT_EQ(Instance<frmStationID>().Text1.Text(), "W1AW") << "the station as the first start saved it";
  });
  EXPECT_EQ(HomeTree(), afterFirst);
  EXPECT_TRUE(IsLoaded<Form1>());
  EXPECT_EQ(dialogs.MessageBoxes().size(), 2u) << "only the question of each start";
}

TEST_F(StartUp, AnUnreadableSharedPreferencesFileIsReportedAndNeverWrittenOver) {
  home.MakeFolder("Documents/Varnek Software/Shared");
  const QString path = Documents("Shared/SharedUserPreferences.xml");
  const qint64 tooLarge = platform::MaxTextFileBytes + 1;
  ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
  ASSERT_TRUE(QFile::resize(path, tooLarge));

  dialogs.AnswerMessageBox(platform::MsgBoxResult::OK);
  dialogs.AnswerMessageBox(platform::MsgBoxResult::OK);
  Start();
  // The read is reported, and so is the set-up's attempt to record the station in it.
  ASSERT_EQ(dialogs.MessageBoxes().size(), 3u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "File, Network or Install Error.");
  EXPECT_TRUE(dialogs.MessageBoxes()[0].prompt.endsWith("SharedUserPreferences.xml"));
  EXPECT_EQ(dialogs.MessageBoxes()[1].title, "File, Network or Install Error.");
  ExpectOpenExistingLogAsked(2);
  ASSERT_TRUE(IsLoaded<Form1>()) << "the program starts all the same";
  EXPECT_TRUE(Instance<Form1>().Visible());

  EXPECT_THROW(modGlobalPreferences::SetPreference("OWN_CALL", "W1AW", 1), platform::RuntimeError);
  EXPECT_EQ(QFileInfo(path).size(), tooLarge);
}

// The logo window on its own, as the start-up shows it.
using LogoWindow = StartUp;

TEST_F(LogoWindow, CentredAboveTheMiddleShowsTheBadgeAfterAMomentAndClosesByItself) {
  frmVarnekLogo& logo = Instance<frmVarnekLogo>();
  EXPECT_EQ(logo.Left(), (platform::Screen::Width() - logo.Width()) / 2);
  EXPECT_EQ(logo.Top(), (platform::Screen::Height() - logo.Height()) / 2 - 170);
  EXPECT_EQ(logo.BorderStyle(), platform::BorderNone);
  EXPECT_TRUE(QFileInfo(Documents("Shared")).isDir()) << "the maker's folders are made to look for a picture";
  EXPECT_EQ(logo.Timer1.Interval(), 1900);
  EXPECT_EQ(logo.Timer2.Interval(), 1100);
  EXPECT_TRUE(logo.Timer2.Enabled());
  EXPECT_FALSE(logo.Image2.Visible());

  bool badgeShown = false;
  QTimer::singleShot(0, [&] {
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !IsLoaded<frmVarnekLogo>() || logo.Image2.Visible(); }, peertesting::kBoundMs));
    badgeShown = IsLoaded<frmVarnekLogo>() && logo.Image2.Visible();
  });
  logo.Show(platform::Modal);
  EXPECT_TRUE(badgeShown) << "the badge comes before the window closes";
  EXPECT_FALSE(IsLoaded<frmVarnekLogo>());
}

TEST_F(LogoWindow, TheMakersPictureReplacesTheLogoStaysLongerAndNeverShowsTheBadge) {
  home.MakeFolder("Documents/Varnek Software/Shared");
  QImage picture(200, 100, QImage::Format_RGB32);
  picture.fill(Qt::darkGreen);
  ASSERT_TRUE(picture.save(Documents("Shared/splash.jpg"), "JPG"));

  frmVarnekLogo& logo = Instance<frmVarnekLogo>();
  EXPECT_EQ(logo.Image1.Picture().size(), QSize(200, 100));
  EXPECT_EQ(logo.Timer1.Interval(), 2700);
  EXPECT_TRUE(logo.Timer1.Enabled());
  EXPECT_FALSE(logo.Timer2.Enabled());

  bool badgeShown = false;
  QTimer::singleShot(0, [&] {
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !IsLoaded<frmVarnekLogo>() || logo.Image2.Visible(); }, peertesting::kBoundMs));
    badgeShown = IsLoaded<frmVarnekLogo>();
  });
  logo.Show(platform::Modal);
  EXPECT_FALSE(badgeShown);
  EXPECT_FALSE(IsLoaded<frmVarnekLogo>()) << "closed by itself";
}

TEST_F(LogoWindow, APictureThatCannotBeReadLeavesTheBuiltInLogo) {
  home.MakeFolder("Documents/Varnek Software/Shared");
  QFile file(Documents("Shared/splash.jpg"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a picture");
  file.close();

  frmVarnekLogo& logo = Instance<frmVarnekLogo>();
  EXPECT_FALSE(logo.Image1.Picture().isNull());
  EXPECT_EQ(logo.Timer1.Interval(), 1900);
  EXPECT_TRUE(logo.Timer2.Enabled());
}

}  // namespace
