#include "platform/mciwave.h"

#include "platform/errors.h"
#include "platform/paths.h"

#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <optional>
#include <vector>

namespace platform {

namespace {

// A header with more chunks before its format and data is no wave file this program plays.
constexpr int kMostChunksRead = 64;

[[noreturn]] void NotAWaveFile() { throw RuntimeError(QStringLiteral("Invalid file format"), 321); }

quint32 LittleEndian32(const QByteArray& bytes, qsizetype at) {
  return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// Plays through Qt Multimedia (the GStreamer backend plays to the end without a sound server).
// Playing ends at the end of the file, on an error, or when stopped.
class QtWavePlayer : public WavePlayer {
 public:
  QtWavePlayer() {
    player_.setAudioOutput(&output_);
    QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, &player_, [this](QMediaPlayer::MediaStatus status) {
      if (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia) playing_ = false;
    });
    QObject::connect(&player_, &QMediaPlayer::errorOccurred, &player_, [this] { playing_ = false; });
    QObject::connect(&player_, &QMediaPlayer::playbackStateChanged, &player_, [this](QMediaPlayer::PlaybackState state) {
      if (state == QMediaPlayer::StoppedState) playing_ = false;
    });
  }

  // Playing from before the source is set, so that a file refused at once is not playing.
  void Play(const QString& nativePath) override {
    player_.stop();
    playing_ = true;
    player_.setSource(QUrl::fromLocalFile(nativePath));
    player_.play();
  }

  void Stop() override {
    playing_ = false;
    player_.stop();
  }

  bool Playing() const override { return playing_; }

 private:
  QAudioOutput output_;  // outlives the player that sounds through it
  QMediaPlayer player_;
  bool playing_ = false;
};

}  // namespace

class ScriptedWavePlayer;

struct ScriptedWavePlayback::State {
  QStringList played;
  std::vector<ScriptedWavePlayer*> players;
};

namespace {

std::weak_ptr<ScriptedWavePlayback::State> activeScript;

}  // namespace

class ScriptedWavePlayer : public WavePlayer {
 public:
  explicit ScriptedWavePlayer(std::shared_ptr<ScriptedWavePlayback::State> state) : state_(std::move(state)) {
    state_->players.push_back(this);
  }
  ~ScriptedWavePlayer() override { std::erase(state_->players, this); }

  void Play(const QString& nativePath) override {
    state_->played << nativePath;
    playing_ = true;
  }
  void Stop() override { playing_ = false; }
  bool Playing() const override { return playing_; }

 private:
  std::shared_ptr<ScriptedWavePlayback::State> state_;
  bool playing_ = false;
};

namespace {

std::unique_ptr<WavePlayer> NewWavePlayer() {
  if (auto script = activeScript.lock()) return std::make_unique<ScriptedWavePlayer>(std::move(script));
  return std::make_unique<QtWavePlayer>();
}

}  // namespace

std::int32_t WaveFileLength(const QString& nativePath) {
  if (!QFileInfo(nativePath).isFile()) throw FileOpenError(nativePath, false);
  QFile file(nativePath);
  if (!file.open(QIODevice::ReadOnly)) throw FileOpenError(nativePath, false);
  const qint64 fileSize = file.size();
  const QByteArray riff = file.read(12);
  if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE") NotAWaveFile();

  quint32 bytesPerSecond = 0;
  std::optional<qint64> dataBytes;
  qint64 position = 12;
  for (int chunk = 0; chunk < kMostChunksRead && (bytesPerSecond == 0 || !dataBytes); ++chunk) {
    if (!file.seek(position)) break;
    const QByteArray header = file.read(8);
    if (header.size() < 8) break;
    const QByteArray id = header.left(4);
    const quint32 size = LittleEndian32(header, 4);
    const qint64 body = position + 8;
    if (id == "fmt ") {
      const QByteArray format = file.read(16);
      if (size < 16 || format.size() < 16) NotAWaveFile();
      bytesPerSecond = LittleEndian32(format, 8);
    } else if (id == "data") {
      dataBytes = std::min<qint64>(size, fileSize - body);
    }
    position = body + size + (size & 1);  // chunks are padded to an even size
  }
  if (bytesPerSecond == 0 || !dataBytes) NotAWaveFile();
  return static_cast<std::int32_t>(std::min<qint64>(*dataBytes * 1000 / bytesPerSecond, INT32_MAX));
}

MMControl::MMControl() = default;
MMControl::~MMControl() = default;

void MMControl::Command(const QString& command) {
  const auto is = [&command](const char* name) {
    return command.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
  };
  if (is("Open")) {
    Open();
  } else if (is("Play")) {
    if (openPath_.isEmpty()) InvalidProcedureCall();
    player_->Play(openPath_);
  } else if (is("Stop")) {
    if (player_) player_->Stop();
  } else if (is("Close")) {
    Close();
  } else {
    InvalidPropertyValue();
  }
}

void MMControl::Open() {
  if (DeviceType.compare(QLatin1String("WaveAudio"), Qt::CaseInsensitive) != 0) InvalidProcedureCall();
  Close();
  const QString nativePath = NativePath(FileName);
  length_ = WaveFileLength(nativePath);
  openPath_ = nativePath;
  if (!player_) player_ = NewWavePlayer();
}

void MMControl::Close() {
  if (player_) player_->Stop();
  openPath_.clear();
  length_ = 0;
}

int MMControl::Mode() const {
  if (openPath_.isEmpty()) return MciModeNotOpen;
  return player_->Playing() ? MciModePlay : MciModeStop;
}

ScriptedWavePlayback::ScriptedWavePlayback() : state_(std::make_shared<State>()) { activeScript = state_; }

ScriptedWavePlayback::~ScriptedWavePlayback() { activeScript.reset(); }

const QStringList& ScriptedWavePlayback::Played() const { return state_->played; }

int ScriptedWavePlayback::PlayingCount() const {
  return static_cast<int>(std::count_if(state_->players.begin(), state_->players.end(),
                                        [](const ScriptedWavePlayer* player) { return player->Playing(); }));
}

void ScriptedWavePlayback::FinishPlaying() {
  for (ScriptedWavePlayer* player : state_->players) player->Stop();
}

}  // namespace platform
