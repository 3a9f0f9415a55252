#include "app/form1.h"
#include "app/globals.h"
#include "keying/blindfrm.h"
#include "keying/cwfrm.h"
#include "keying/phonefrm.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/preferences.h"
#include "logtools/form2.h"
#include "logtools/form5.h"
#include "logtools/form6.h"
#include "logtools/graphqso.h"
#include "network/frmnetwork.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/paths.h"
#include "platform/trace.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/frmbandplan.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotmapwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include "anotherpc.h"
#include "formtesting.h"
#include "programfolderfixture.h"
#include "operatorscript.h"

namespace {

using app::Form1;
using platform::Instance;
using platform::IsLoaded;

// A window a menu item opens, reached through its global instance.
struct MenuWindow {
  const char* item;
  std::function<platform::Menu&(Form1&)> menu;
  std::function<platform::Form&()> instance;
  std::function<bool()> isLoaded;
};

template <class F>
MenuWindow Opens(const char* item, platform::Menu Form1::*menu) {
  return {item, [menu](Form1& form) -> platform::Menu& { return form.*menu; },
          []() -> platform::Form& { return Instance<F>(); }, [] { return IsLoaded<F>(); }};
}

// What a modal window showed while the main window waited for it.
struct ModalVisit {
  bool wasModal = false;
  bool wasTheWindow = false;
  QString caption;
  QString currentFolder;
  std::int32_t contactsHeld = -1;
};

// The main window of a PC of the station on a shared log that holds no contacts yet, with the
// program folder somewhere else than the current folder.
class WindowMenus : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    app::OwnGrid = "FN31";
    // The viewer that Privileges opens reads the plan the program folder holds.
    ASSERT_TRUE(QFile::copy(CORVANE_SOURCE_DIR "/data/BandPlan.txt", folder.filePath("BandPlan.txt")));
    platform::CreateLogDatabase(LogPath());
    logging::LogConnection.Open(LogPath());
    ShowActive(form);
  }
  void TearDown() override {
    platform::UnloadAll();
    logging::LogConnection.Close();
    ProgramFolderTest::TearDown();
  }

  QString LogPath() const { return folder.filePath("Corvane.MDB"); }
  QString ProgramFolder() const { return QDir(folder.path()).canonicalPath(); }
  void LoggedElsewhere(const QString& call) {
    InsertFromAnotherPc(LogPath(), {call, "59", "FN42", "57", "FN31", "2024/06/08", "18:00:00", "144 M", "PH"});
  }

  // Chooses the item, and closes the modal window it opens once it shows; a caption given is set
  // on the window before it closes.
  ModalVisit ChooseModal(const MenuWindow& window, const QString& newCaption = {}) {
    ModalVisit visit;
    OperatorScript operatorScript;
    operatorScript.When(
        window.item, [] { return QApplication::activeModalWidget() != nullptr; },
        [&] {
          platform::Form& shown = window.instance();
          visit.wasTheWindow = QApplication::activeModalWidget() == shown.Widget();
          visit.wasModal = shown.Widget()->isModal() && shown.Visible();
          visit.caption = shown.Caption();
          visit.currentFolder = platform::CurDir();
          visit.contactsHeld = logging::LogCount;
          if (!newCaption.isEmpty()) shown.SetCaption(newCaption);
          shown.Hide();  // its own Done or Close button
        });
    window.menu(form).Action()->trigger();
    EXPECT_TRUE(operatorScript.Done());
    return visit;
  }

  platform::ScriptedDialogs dialogs;
  Form1& form = platform::InstanceWithoutLoad<Form1>();
};

// ---- Dialogs: modal, unloaded once closed

const MenuWindow kDialogs[] = {
    Opens<logtools::GraphQSO>("&Graph", &Form1::mnuGraph),
    Opens<logtools::Form5>("&Help", &Form1::mnuHelp),
    Opens<spotting::frmBandPlan>("&Privileges", &Form1::mnuPrivileges),
    Opens<spotting::SpectrumMap>("&View Spectrum Map", &Form1::mnuViewSpectrumMap),
    Opens<logtools::Form6>("&Colors", &Form1::mnuColors),
    Opens<logtools::Form2>("&Write Cabrillo File", &Form1::mnuWriteSumm),
};

TEST_F(WindowMenus, DialogsAreModalAndEverySecondOpeningStartsFromTheDesign) {
  for (const MenuWindow& dialog : kDialogs) {
    SCOPED_TRACE(dialog.item);
    const ModalVisit first = ChooseModal(dialog, "changed while open");
    EXPECT_TRUE(first.wasModal && first.wasTheWindow);
    EXPECT_FALSE(dialog.isLoaded()) << "unloaded as soon as it closed";

    const ModalVisit second = ChooseModal(dialog);
    EXPECT_EQ(second.caption, first.caption) << "a freshly loaded window";
    EXPECT_FALSE(dialog.isLoaded());
    EXPECT_TRUE(form.Visible());
  }
  // The graph of the empty log says why it is empty, at each of its two openings.
  ASSERT_EQ(dialogs.MessageBoxes().size(), 2U);
  for (const platform::MessageBoxShown& shown : dialogs.MessageBoxes())
    EXPECT_EQ(shown.title, "Not Enough Contacts to Graph.");
}

// ---- Before and after

TEST_F(WindowMenus, WriteCabrilloHoldsTheContactsOtherPcsLoggedWhenItOpens) {
  LoggedElsewhere("W1AW");
  LoggedElsewhere("K2XY");
  logging::ReloadPending = 1;

  const ModalVisit visit = ChooseModal(Opens<logtools::Form2>("&Write Cabrillo File", &Form1::mnuWriteSumm));
  EXPECT_EQ(visit.contactsHeld, 2);
  EXPECT_EQ(logging::LogCalls[2], "K2XY");
  EXPECT_EQ(logging::ReloadPending, 0) << "the reload the call box was waiting for has run";
}

TEST_F(WindowMenus, ColorsSavesThePreferencesAndRedisplaysTheLogEvenWithNoColourChanged) {
  logging::WorkedGridColor = 0x00C000;  // picked in the dialog before, or left as it is
  LoggedElsewhere("W1AW");
  const QString preferences = folder.filePath(logging::PreferencesFileName);
  ASSERT_FALSE(QFile::exists(preferences));

  const ModalVisit visit = ChooseModal(Opens<logtools::Form6>("&Colors", &Form1::mnuColors));
  EXPECT_EQ(visit.contactsHeld, 0) << "nothing is reloaded before the dialog";
  EXPECT_EQ(logging::ReadPreferencesFile(preferences).WorkedGridColor, 0x00C000);
  EXPECT_EQ(logging::LogCount, 1);
  EXPECT_EQ(logging::LogCalls[1], "W1AW");
}

// ---- Tool windows: modeless, loaded until the main window unloads

const MenuWindow kToolWindows[] = {
    Opens<keying::BlindFrm>("&Voice Navigation", &Form1::mnuBlind),
    Opens<network::frmNetwork>("&Network", &Form1::mnuNetwork),
    Opens<rig::RigControlfrm>("Rig &Interface", &Form1::mnuRigInterface),
    Opens<spotting::PacketSpotfrm>("&Configure", &Form1::mnuDXSpotting),
};

TEST_F(WindowMenus, ToolWindowsOpenBesideTheMainWindowAndStayLoadedUntilItUnloads) {
  for (const MenuWindow& tool : kToolWindows) {
    SCOPED_TRACE(tool.item);
    currentFolder.Restore();
    tool.menu(form).Action()->trigger();
    ASSERT_TRUE(tool.isLoaded());
    platform::Form& window = tool.instance();
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    window.Hide();  // the window's own Done
    EXPECT_TRUE(tool.isLoaded());
  }
  form.Unload();
  for (const MenuWindow& tool : kToolWindows) EXPECT_FALSE(tool.isLoaded()) << tool.item;
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(WindowMenus, PrivilegesAndRigInterfaceOpenTheirWindowsInTheProgramFolder) {
  currentFolder.Restore();
  const ModalVisit visit = ChooseModal(Opens<spotting::frmBandPlan>("&Privileges", &Form1::mnuPrivileges));
  EXPECT_EQ(visit.currentFolder.toStdString(), ProgramFolder().toStdString()) << "the viewer reads its plan there";

  currentFolder.Restore();
  form.mnuRigInterface.Action()->trigger();
  EXPECT_EQ(platform::CurDir().toStdString(), ProgramFolder().toStdString());
}

TEST_F(WindowMenus, ConfigureSavesThePreferencesAndOpensTheSpottingWindow) {
  app::OwnCall = "W9XYZ";
  form.mnuDXSpotting.Action()->trigger();
  EXPECT_TRUE(Instance<spotting::PacketSpotfrm>().Visible());
  EXPECT_EQ(logging::ReadPreferencesFile(folder.filePath(logging::PreferencesFileName)).OwnCall, "W9XYZ");
}

// ---- The CW and voice set-ups

TEST_F(WindowMenus, CwAndPhoneSetupAreModalFromTheMenuAndStayLoaded) {
  const MenuWindow setups[] = {Opens<keying::CWFrm>("&CW Setup", &Form1::mnuCWSetup),
                               Opens<keying::PhoneFrm>("&Phone Setup", &Form1::mnuPhoneSetup)};
  for (const MenuWindow& setup : setups) {
    SCOPED_TRACE(setup.item);
    const ModalVisit visit = ChooseModal(setup);
    EXPECT_TRUE(visit.wasModal && visit.wasTheWindow);
    EXPECT_TRUE(setup.isLoaded()) << "it keys the messages";
  }
}

}  // namespace
