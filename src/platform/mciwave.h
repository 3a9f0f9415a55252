#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace platform {

// Mode values of the multimedia control.
inline constexpr int MciModeNotOpen = 524;
inline constexpr int MciModeStop = 525;
inline constexpr int MciModePlay = 526;

// What sounds an open wave file. The control drives one; a test scripts it (ScriptedWavePlayback).
class WavePlayer {
 public:
  virtual ~WavePlayer() = default;
  // Starts the file from its beginning and returns at once.
  virtual void Play(const QString& nativePath) = 0;
  virtual void Stop() = 0;
  // False once the file has played to its end, has been stopped or could not be played.
  virtual bool Playing() const = 0;
};

// The multimedia control, as far as the program plays wave files with it: the device type
// "WaveAudio", the file name (written as the program writes paths), the commands "Open", "play",
// "Stop" and "Close" (any letter case) and the mode, 526 while the file plays. "play" returns at
// once; the file plays on over Qt Multimedia.
class MMControl {
 public:
  MMControl();
  ~MMControl();
  MMControl(const MMControl&) = delete;
  MMControl& operator=(const MMControl&) = delete;

  QString DeviceType;
  QString FileName;

  // Runs one command. Throws RuntimeError: "Open" with a device type other than "WaveAudio" or
  // a file that is missing, no regular file or no wave file (its header is read, nothing more);
  // "play" with nothing open; a command the control does not know (380). "Stop" and "Close"
  // with nothing open do nothing.
  void Command(const QString& command);

  int Mode() const;
  // The open file's length in milliseconds; 0 with nothing open.
  std::int32_t Length() const { return length_; }

 private:
  void Open();
  void Close();

  std::unique_ptr<WavePlayer> player_;
  QString openPath_;  // native; empty while nothing is open
  std::int32_t length_ = 0;
};

// The playing time of a wave file in milliseconds, from its header: the data chunk's size over
// the format's bytes per second (a data chunk that claims more than the file holds counts what
// the file holds). Throws RuntimeError for a file that is missing, no regular file or no wave file.
std::int32_t WaveFileLength(const QString& nativePath);

// Test seam: while one of these lives, controls that open their first file play nothing. Each
// "play" is recorded and the file stays playing until the test ends it or the program stops or
// closes it, as a player that never reports the end would. GUI thread only; one at a time.
class ScriptedWavePlayback {
 public:
  ScriptedWavePlayback();
  ~ScriptedWavePlayback();
  ScriptedWavePlayback(const ScriptedWavePlayback&) = delete;
  ScriptedWavePlayback& operator=(const ScriptedWavePlayback&) = delete;

  // The files played, natively, in order.
  const QStringList& Played() const;
  // How many controls are playing now.
  int PlayingCount() const;
  // Every file playing now reaches its end.
  void FinishPlaying();

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace platform
