#include "childprocess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace peertesting {
namespace fs = std::filesystem;

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return condition();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

namespace {

std::string MadeTemporaryFolder(const std::string& prefix) {
  std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
  return pattern;
}

// Removes the folder whole, also where a test left a folder in it that takes no change.
void RemoveFolder(const std::string& path) {
  std::error_code ignored;
  for (auto entry = fs::recursive_directory_iterator(path, ignored); entry != fs::recursive_directory_iterator();
       entry.increment(ignored)) {
    if (entry->is_directory(ignored) && !entry->is_symlink(ignored)) {
      fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
  }
  fs::remove_all(path, ignored);
}

}  // namespace

ScratchFolder::ScratchFolder() : path_(MadeTemporaryFolder("corvane-test")) {}

ScratchFolder::~ScratchFolder() { RemoveFolder(path_); }

ProcessTemporaryFolder::ProcessTemporaryFolder() : path_(MadeTemporaryFolder("corvane-tests")) {
  // Others may pass through, as through /tmp: some tests check a file as another user would.
  fs::permissions(path_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  const std::string runtime = path_ + "/runtime";
  if (mkdir(runtime.c_str(), 0700) != 0) throw std::runtime_error("no runtime folder");
  setenv("TMPDIR", path_.c_str(), 1);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}

ProcessTemporaryFolder::~ProcessTemporaryFolder() { RemoveFolder(path_); }

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
  Stop();
}

void ChildProcess::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

void ChildProcess::Write(const std::string& text) const {
  if (write(stdin_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    throw std::runtime_error("child's input refused");
  }
}

void ChildProcess::Signal(int signal) const {
  if (pid_ > 0) kill(pid_, signal);
}

bool ChildProcess::WaitForStop() const {
  return WaitUntil([&] {
    int status = 0;
    return waitpid(pid_, &status, WNOHANG | WUNTRACED) == pid_ && WIFSTOPPED(status);
  });
}

int ChildProcess::WaitForExit() {
  int status = 0;
  const bool ended = WaitUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; });
  if (!ended) return -1;
  pid_ = -1;
  return status;
}

}  // namespace peertesting
