#include "app/globals.h"
#include "keying/blindfrm.h"
#include "keying/phonefrm.h"
#include "platform/instances.h"
#include "platform/mciwave.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "wavefile.h"

namespace {

using platform::MciModeNotOpen;
using platform::MciModePlay;

// A program folder holding the cues the operator recorded: Call.wav and Dupe.wav, no Grid.wav.
class VoiceCues : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteWaveFile(dir_.filePath("Call.wav"), 600));
    ASSERT_TRUE(WriteWaveFile(dir_.filePath("dupe.wav"), 900));
    app::ProgramDir = dir_.path();
  }
  QString Cue(const char* file) const { return QDir(dir_.path()).filePath(file); }

  QTemporaryDir dir_;
  platform::ScriptedWavePlayback playback;
};

TEST_F(VoiceCues, ACuePlaysItsFileFromTheProgramFolderWhileTheCallerGoesOnAndTheNextCutsItOff) {
  EXPECT_FALSE(platform::IsLoaded<keying::BlindFrm>());
  keying::BlindFrm& blind = platform::Instance<keying::BlindFrm>();
  blind.BlindKeyPhone("Call");
  EXPECT_EQ(blind.MMControl1.Mode(), MciModePlay);
  EXPECT_FALSE(blind.Visible());

  blind.BlindKeyPhone("Dupe");  // the file's name differs in case only
  EXPECT_EQ(playback.Played(), QStringList({Cue("Call.wav"), Cue("dupe.wav")}));
  EXPECT_EQ(playback.PlayingCount(), 1);
  EXPECT_EQ(blind.MMControl1.Length(), 900);
}

TEST_F(VoiceCues, ACueNotRecordedIsSilenceAndStillEndsTheOnePlaying) {
  keying::BlindFrm& blind = platform::Instance<keying::BlindFrm>();
  blind.BlindKeyPhone("Call");
  blind.BlindKeyPhone("Grid");
  EXPECT_EQ(blind.MMControl1.Mode(), MciModeNotOpen);
  EXPECT_EQ(playback.PlayingCount(), 0);
  EXPECT_EQ(playback.Played(), QStringList{Cue("Call.wav")});
}

TEST_F(VoiceCues, TheVoiceWindowsCloseTheirPlayersWhenUnloaded) {
  keying::BlindFrm& blind = platform::Instance<keying::BlindFrm>();
  blind.BlindKeyPhone("Call");
  keying::PhoneFrm& phone = platform::Instance<keying::PhoneFrm>();
  phone.MMControl1.DeviceType = "WaveAudio";
  phone.MMControl1.FileName = Cue("dupe.wav");
  phone.MMControl1.Command("Open");
  phone.MMControl1.Command("play");
  ASSERT_EQ(playback.PlayingCount(), 2);

  phone.Unload();
  EXPECT_EQ(playback.PlayingCount(), 1);
  blind.Unload();
  EXPECT_EQ(playback.PlayingCount(), 0);
}

}  // namespace
