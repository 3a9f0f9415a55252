#include "keyertesting.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace keyertesting {
namespace fs = std::filesystem;

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return condition();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "corvane-keyer-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const std::string& logFile, bool stdinPipe) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int pipeEnds[2] = {-1, -1};
  if (stdinPipe) {
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const int failed = posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (stdinPipe) {
    close(pipeEnds[0]);
    stdin_ = pipeEnds[1];
  }
  if (failed != 0) throw std::runtime_error("cannot start " + arguments[0]);
}

ChildProcess::~ChildProcess() {
  if (stdin_ >= 0) close(stdin_);
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
}

void ChildProcess::Write(const std::string& text) const {
  if (write(stdin_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    throw std::runtime_error("child's input refused");
  }
}

int ChildProcess::WaitForExit() {
  int status = 0;
  const bool ended = WaitUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; });
  if (!ended) return -1;
  pid_ = -1;
  return status;
}

KeyerDevicePeer::KeyerDevicePeer(const std::string& mode) {
  const std::string host = folder_.Path("host");
  const std::string device = folder_.Path("device");
  socat_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"socat", "-d", "-d", "pty,raw,echo=0,link=" + host, "pty,raw,echo=0,link=" + device},
      folder_.Path("socat.log"));
  if (!WaitUntil([&] { return fs::exists(host) && fs::exists(device); })) throw std::runtime_error("no socat pair");
  device_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{KEYER_DEVICE, device, folder_.Path("transcript"), mode}, folder_.Path("device.log"),
      true);
  if (!WaitUntil([&] { return fs::exists(folder_.Path("transcript")); })) throw std::runtime_error("no keyer device");
}

Bytes KeyerDevicePeer::Transcript() const {
  // Whole lines only: the device may be writing the next one.
  std::ifstream file(folder_.Path("transcript"));
  std::stringstream content;
  content << file.rdbuf();
  const std::string text = content.str();
  Bytes bytes;
  std::istringstream lines(text.substr(0, text.rfind('\n') + 1));
  for (std::string milliseconds, hex; lines >> milliseconds >> hex;) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16)));
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
