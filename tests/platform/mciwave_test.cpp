#include "platform/mciwave.h"

#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "testbound.h"
#include "wavefile.h"

using namespace platform;

namespace {

class WaveFiles : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }
  // The number of the run-time error a call throws; 0 when it throws none.
  template <class Call>
  static int ErrorOf(Call call) {
    try {
      call();
    } catch (const RuntimeError& error) {
      return error.Number();
    }
    return 0;
  }
  QTemporaryDir dir_;
};

TEST_F(WaveFiles, LengthComesFromTheHeaderWhateverTheFormatAndTheChunksBeforeTheData) {
  const struct {
    int milliseconds, sampleRate, channels;
    bool listChunkFirst;
  } cases[] = {{1500, 8000, 1, false}, {250, 44100, 2, true}, {3000, 22050, 1, true}, {0, 8000, 1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.milliseconds);
    ASSERT_TRUE(WriteWaveFile(Path("cue.wav"), c.milliseconds, c.sampleRate, c.channels, c.listChunkFirst));
    EXPECT_EQ(WaveFileLength(Path("cue.wav")), c.milliseconds);
  }
}

TEST_F(WaveFiles, ADataChunkClaimingMoreThanTheFileHoldsCountsWhatItHolds) {
  ASSERT_TRUE(WriteWaveFile(Path("cut.wav"), 2000));  // 16000 bytes a second: 8000 samples of 2 bytes
  QFile file(Path("cut.wav"));
  ASSERT_TRUE(file.resize(file.size() - 16000));
  EXPECT_EQ(WaveFileLength(Path("cut.wav")), 1000);
}

TEST_F(WaveFiles, MissingFoldersAndFilesThatAreNoWaveFilesAreRefused) {
  const auto write = [this](const char* name, const QByteArray& bytes) {
    QFile file(Path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  };
  write("empty.wav", "");
  write("text.wav", "this is a note, not a recording\r\n");
  write("riffonly.wav", "RIFF\x04\0\0\0WAVE");
  QByteArray silentRate;
  {
    ASSERT_TRUE(WriteWaveFile(Path("norate.wav"), 100));
    QFile file(Path("norate.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    silentRate = file.readAll();
    silentRate.replace(28, 4, QByteArray(4, '\0'));  // bytes per second
  }
  write("norate.wav", silentRate);
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.wav"));

  EXPECT_EQ(ErrorOf([&] { WaveFileLength(Path("missing.wav")); }), 53);
  EXPECT_NE(ErrorOf([&] { WaveFileLength(Path("folder.wav")); }), 0);
  for (const char* name : {"empty.wav", "text.wav", "riffonly.wav", "norate.wav"}) {
    EXPECT_EQ(ErrorOf([&] { WaveFileLength(Path(name)); }), 321) << name;
  }
}

class ScriptedControl : public WaveFiles {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteWaveFile(Path("Dupe.wav"), 1200));
    ASSERT_TRUE(WriteWaveFile(Path("Call.wav"), 800));
    control.DeviceType = "WaveAudio";
  }
  // The program writes its paths with "\" and does not mind the letter case.
  QString ProgramPath(const QString& name) const { return dir_.path() + "\\" + name; }

  ScriptedWavePlayback playback;
  MMControl control;
};

TEST_F(ScriptedControl, ModeFollowsOpenPlayEndStopAndClose) {
  EXPECT_EQ(control.Mode(), MciModeNotOpen);
  control.FileName = ProgramPath("DUPE.WAV");
  control.Command("Open");
  EXPECT_EQ(control.Mode(), MciModeStop);
  EXPECT_EQ(control.Length(), 1200);

  control.Command("play");
  EXPECT_EQ(control.Mode(), MciModePlay);
  playback.FinishPlaying();
  EXPECT_EQ(control.Mode(), MciModeStop);

  control.Command("PLAY");
  EXPECT_EQ(control.Mode(), MciModePlay);
  control.Command("Stop");
  EXPECT_EQ(control.Mode(), MciModeStop);
  control.Command("Close");
  EXPECT_EQ(control.Mode(), MciModeNotOpen);
  EXPECT_EQ(control.Length(), 0);
  EXPECT_EQ(playback.Played(), QStringList({Path("Dupe.wav"), Path("Dupe.wav")}));
}

TEST_F(ScriptedControl, OpeningAnotherFileEndsThePlayingOne) {
  control.FileName = ProgramPath("Dupe.wav");
  control.Command("Open");
  control.Command("play");
  control.FileName = ProgramPath("Call.wav");
  control.Command("Open");
  EXPECT_EQ(playback.PlayingCount(), 0);
  EXPECT_EQ(control.Length(), 800);
  control.Command("play");
  EXPECT_EQ(playback.PlayingCount(), 1);
  EXPECT_EQ(playback.Played().last(), Path("Call.wav"));
}

TEST_F(ScriptedControl, FailuresAreRunTimeErrorsAndLeaveNothingOpen) {
  control.FileName = ProgramPath("Missing.wav");
  EXPECT_EQ(ErrorOf([&] { control.Command("Open"); }), 53);
  EXPECT_EQ(control.Mode(), MciModeNotOpen);
  EXPECT_NE(ErrorOf([&] { control.Command("play"); }), 0);
  EXPECT_EQ(ErrorOf([&] { control.Command("Stop"); }), 0);
  EXPECT_EQ(ErrorOf([&] { control.Command("Close"); }), 0);
  EXPECT_EQ(ErrorOf([&] { control.Command("Rewind"); }), 380);

  control.DeviceType = "CDAudio";
  control.FileName = ProgramPath("Dupe.wav");
  EXPECT_NE(ErrorOf([&] { control.Command("Open"); }), 0);
  EXPECT_EQ(control.Mode(), MciModeNotOpen);
  EXPECT_TRUE(playback.Played().isEmpty());
}

// The real player, without a sound card: a short file plays to its end (or fails to play) and
// the mode leaves 526 either way.
TEST_F(WaveFiles, TheRealPlayerEndsPlaying) {
  ASSERT_TRUE(WriteWaveFile(Path("short.wav"), 200));
  MMControl control;
  control.DeviceType = "WaveAudio";
  control.FileName = Path("short.wav");
  control.Command("Open");
  control.Command("play");
  EXPECT_EQ(control.Mode(), MciModePlay);
  EXPECT_TRUE(QTest::qWaitFor([&] { return control.Mode() != MciModePlay; }, peertesting::kBoundMs));
  control.Command("Close");
  EXPECT_EQ(control.Mode(), MciModeNotOpen);
}

}  // namespace
