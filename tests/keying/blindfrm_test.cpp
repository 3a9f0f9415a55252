// The voice navigation window: its options announce themselves with the cue files of the program
// folder, Done stores the mode in the preferences file, and its load announces the stored mode.
#include "app/form1.h"
#include "app/globals.h"
#include "keying/blindfrm.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/mciwave.h"
#include "platform/modulevalues.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "formtesting.h"
#include "wavefile.h"

namespace {

constexpr int kNavEnMilliseconds = 1500;

class VoiceNavigation : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    savedDir = platform::CurDir();
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0);
    NewStart();
  }
  void TearDown() override {
    platform::UnloadAll();
    platform::ChDir(savedDir);
  }

  // A new start of the program: fresh values and main window, the preferences file read.
  void NewStart() {
    platform::UnloadAll();
    platform::ResetModuleValues();
    app::ProgramDir = folder.path();
    app::ProgramDrive = "/";
    form = &platform::InstanceWithoutLoad<app::Form1>();
  }
  void RecordCues() {
    for (const char* cue : {"NavDis", "NavEn", "Call"}) {
      ASSERT_TRUE(WriteWaveFile(QDir(folder.path()).filePath(QString(cue) + ".wav"),
                                QString(cue) == "NavEn" ? kNavEnMilliseconds : 400));
    }
  }
  // The cues played from the given one on, by name.
  QStringList CuesFrom(qsizetype first = 0) const {
    QStringList cues;
    for (const QString& file : playback.Played().mid(first)) cues << QFileInfo(file).baseName();
    return cues;
  }
  bool PreferencesWritten() const { return QFileInfo::exists(QDir(folder.path()).filePath("corvaneprf.txt")); }

  QTemporaryDir folder;
  QString savedDir;
  app::Form1* form = nullptr;
  platform::ScriptedDialogs dialogs;
  platform::ScriptedWavePlayback playback;
};

TEST_F(VoiceNavigation, OffAnnouncesItselfAndTheCloseBoxStoresNothing) {
  RecordCues();
  logging::VoiceNavigation = 2;
  keying::BlindFrm& blind = platform::Instance<keying::BlindFrm>();
  EXPECT_EQ(blind.Label7.Caption(),
            "Put the audio wave files in this program's working directory: " + folder.path());
  ShowActive(blind);
  const qsizetype before = playback.Played().size();
  QTest::mouseClick(blind.Option1.Widget(), Qt::LeftButton);
  EXPECT_EQ(CuesFrom(before), QStringList{"NavDis"});

  blind.Unload();
  EXPECT_EQ(logging::VoiceNavigation, 2);
  EXPECT_FALSE(PreferencesWritten());
  EXPECT_EQ(playback.PlayingCount(), 0);
}

TEST_F(VoiceNavigation, CallOnlyPlaysTheWholeAnnouncementBeforeTheCallCue) {
  RecordCues();
  keying::BlindFrm& blind = platform::Instance<keying::BlindFrm>();
  ShowActive(blind);
  const struct {
    const char* what;
    std::function<void()> end;
  } cases[] = {{"the player reports the end", [this] { playback.FinishPlaying(); }},
               {"a player that never reports it", [] { platform::Clock::Advance(kNavEnMilliseconds + 1000); }}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    blind.Option1.SetValue(true);
    const qsizetype before = playback.Played().size();
    QStringList heardWhileWaiting;
    QTimer::singleShot(0, [&] {
      heardWhileWaiting = CuesFrom(before);
      c.end();
    });
    QTest::mouseClick(blind.Option2.Widget(), Qt::LeftButton);
    EXPECT_EQ(heardWhileWaiting, QStringList{"NavEn"});
    EXPECT_EQ(CuesFrom(before), QStringList({"NavEn", "Call"}));
    EXPECT_EQ(blind.MMControl1.Mode(), platform::MciModePlay);
  }
  EXPECT_EQ(logging::VoiceNavigation, 0) << "choosing does not store";
}

TEST_F(VoiceNavigation, DoneStoresTheChoiceWhichTheNextStartAnnouncesAsItLoads) {
  RecordCues();
  keying::BlindFrm& blind = platform::Instance<keying::BlindFrm>();
  ShowActive(blind);
  QTest::mouseClick(blind.Option3.Widget(), Qt::LeftButton);
  QTest::mouseClick(blind.Command1.Widget(), Qt::LeftButton);
  EXPECT_EQ(logging::VoiceNavigation, 2);
  EXPECT_FALSE(blind.Visible());
  EXPECT_TRUE(platform::IsLoaded<keying::BlindFrm>()) << "Done keeps it loaded";
  EXPECT_TRUE(dialogs.MessageBoxes().empty());

  NewStart();
  form->ReadPreferences();
  EXPECT_EQ(logging::VoiceNavigation, 2);
  const qsizetype before = playback.Played().size();
  keying::BlindFrm& next = platform::Instance<keying::BlindFrm>();
  EXPECT_TRUE(next.Option3.Value());
  EXPECT_EQ(CuesFrom(before), QStringList{"NavEn"});
}

TEST_F(VoiceNavigation, TheLoadSelectsAndAnnouncesTheStoredModeAndAnUnknownOneSelectsNothing) {
  RecordCues();
  const struct {
    std::uint8_t stored;
    int selected;  // 1 to 3; 0 none
    QStringList cues;
    std::uint8_t afterDone;
  } cases[] = {{0, 1, {"NavDis"}, 0}, {1, 2, {"NavEn", "Call"}, 1}, {2, 3, {"NavEn"}, 2}, {3, 0, {}, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.stored));
    NewStart();
    logging::VoiceNavigation = c.stored;
    const qsizetype before = playback.Played().size();
    if (c.stored == 1) QTimer::singleShot(0, [this] { playback.FinishPlaying(); });  // NavEn ends
    keying::BlindFrm& blind = platform::Instance<keying::BlindFrm>();
    EXPECT_EQ(CuesFrom(before), c.cues);
    const bool selected[] = {blind.Option1.Value(), blind.Option2.Value(), blind.Option3.Value()};
    for (int option = 1; option <= 3; ++option) EXPECT_EQ(selected[option - 1], option == c.selected) << option;
    blind.Command1_Click();
    EXPECT_EQ(logging::VoiceNavigation, c.afterDone);
  }
}

TEST_F(VoiceNavigation, WithoutCueFilesEveryChoiceIsSilentAndShowsNothing) {
  logging::VoiceNavigation = 1;
  keying::BlindFrm& blind = platform::Instance<keying::BlindFrm>();
  ShowActive(blind);
  for (platform::OptionButton* option : {&blind.Option1, &blind.Option3, &blind.Option2}) {
    QTest::mouseClick(option->Widget(), Qt::LeftButton);
  }
  QTest::mouseClick(blind.Command1.Widget(), Qt::LeftButton);
  EXPECT_TRUE(playback.Played().isEmpty());
  EXPECT_EQ(blind.MMControl1.Mode(), platform::MciModeNotOpen);
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(logging::VoiceNavigation, 1);
  EXPECT_TRUE(PreferencesWritten());
}

}  // namespace
