#include "keyertesting.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>

namespace keyertesting {
namespace fs = std::filesystem;

KeyerDevicePeer::KeyerDevicePeer(const std::string& mode) : mode_(mode) { PlugIn(); }

void KeyerDevicePeer::PlugIn() {
  const std::string transcript = TranscriptPath(++plugIns_);
  line_.PlugIn([&](const std::string& peerEnd) {
    device_ = std::make_unique<ChildProcess>(std::vector<std::string>{KEYER_DEVICE, peerEnd, transcript, mode_},
                                             folder_.Path("device.log"), true);
    if (!WaitUntil([&] { return fs::exists(transcript); })) throw std::runtime_error("no keyer device");
  });
}

void KeyerDevicePeer::Unplug() {
  device_.reset();
  line_.PullOut();
}

Bytes KeyerDevicePeer::Transcript() const {
  Bytes bytes;
  for (int plugIn = 1; plugIn <= plugIns_; ++plugIn) {
    // Whole lines only: the device may be writing the next one.
    std::ifstream file(TranscriptPath(plugIn));
    std::stringstream content;
    content << file.rdbuf();
    const std::string text = content.str();
    std::istringstream lines(text.substr(0, text.rfind('\n') + 1));
    for (std::string milliseconds, hex; lines >> milliseconds >> hex;) {
      bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16)));
    }
  }
  return bytes;
}

bool KeyerDevicePeer::WaitForTranscriptEnding(const Bytes& tail) const {
  return WaitUntil([&] {
    const Bytes bytes = Transcript();
    return bytes.size() >= tail.size() && std::equal(tail.rbegin(), tail.rend(), bytes.rbegin());
  });
}

int DescriptorsOn(const std::string& path) {
  std::error_code error;
  const fs::path device = fs::canonical(path, error);
  if (error) return 0;
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
    std::error_code unreadable;
    if (fs::read_symlink(entry.path(), unreadable) == device) ++count;
  }
  return count;
}

StalledLink::StalledLink(const std::string& line) : fd_(open(line.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
  if (fd_ < 0) throw std::runtime_error("cannot open " + line);
}

StalledLink::~StalledLink() {
  Release();
  close(fd_);
}

void StalledLink::Stall() {
  std::lock_guard lock(mutex_);
  if (stalled_ || tcflow(fd_, TCOOFF) != 0) return;
  stalled_ = true;
  deadline_ = std::thread([this] {
    std::unique_lock lock(mutex_);
    if (released_.wait_for(lock, kBound, [this] { return !stalled_; })) return;
    letGoAtTheDeadline_ = true;
    stalled_ = false;
    tcflow(fd_, TCOON);
  });
}

bool StalledLink::Release() {
  {
    std::lock_guard lock(mutex_);
    if (stalled_) tcflow(fd_, TCOON);
    stalled_ = false;
  }
  released_.notify_all();
  if (deadline_.joinable()) deadline_.join();
  return letGoAtTheDeadline_;
}

namespace {
std::mutex callbackMutex;
std::condition_variable callbackMade;
std::vector<std::pair<std::int32_t, std::int32_t>> callbacks;
}  // namespace

void CallbackLog::Record(std::int32_t kind, std::int32_t value) {
  {
    std::lock_guard lock(callbackMutex);
    callbacks.emplace_back(kind, value);
  }
  callbackMade.notify_all();
}

void CallbackLog::Clear() {
  std::lock_guard lock(callbackMutex);
  callbacks.clear();
}

bool CallbackLog::WaitFor(std::int32_t kind, std::int32_t value) {
  std::unique_lock lock(callbackMutex);
  return callbackMade.wait_for(lock, kBound, [&] {
    return std::find(callbacks.begin(), callbacks.end(), std::pair{kind, value}) != callbacks.end();
  });
}

Bytes TextBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace keyertesting
