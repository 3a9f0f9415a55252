// Helpers for tests with a peer process: a scratch folder, a started process stopped by its id,
// and a bounded wait. Plain C++, no Qt, so the keyer library's tests use them too.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "testbound.h"

namespace peertesting {

// Polls `condition` until it holds or `bound` has passed; returns its last value.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound = kBound);

// A fresh scratch folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string Path(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// One folder for every temporary file of this process and of the processes it starts, gone with
// everything in it when this goes: TMPDIR and XDG_RUNTIME_DIR point into it meanwhile. A child
// stopped by SIGKILL never removes its own folders, and the libraries that find no runtime folder
// make theirs in /tmp; this way nothing of a test stays behind.
class ProcessTemporaryFolder {
 public:
  ProcessTemporaryFolder();
  ~ProcessTemporaryFolder();
  ProcessTemporaryFolder(const ProcessTemporaryFolder&) = delete;
  ProcessTemporaryFolder& operator=(const ProcessTemporaryFolder&) = delete;

 private:
  std::string path_;
};

// A started process, stopped by its id when this goes.
class ChildProcess {
 public:
  // stdinPipe: give the child a pipe on its standard input that Write() feeds.
  ChildProcess(const std::vector<std::string>& arguments, const std::string& logFile, bool stdinPipe = false);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  void Write(const std::string& text) const;
  // Waits for the child to end by itself; its wait status (WIFEXITED, WTERMSIG), or -1 when it did
  // not end in time.
  int WaitForExit();
  // Waits for the child to be stopped (SIGSTOP, SIGTSTP); false when it was not in time.
  bool WaitForStop() const;
  // Sends the child a signal; WaitForExit tells how it ended.
  void Signal(int signal) const;
  // Stops the child now and waits for it.
  void Stop();

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
};

}  // namespace peertesting
