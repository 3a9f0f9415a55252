// A disk that is full for as long as this lives: any file written on it grows to a few bytes at
// most, and the write past them fails with ENOSPC, "No space left on device", as on a full disk.
// Without a folder every file of the process is on it; given one, only the files in that folder
// (and below it) are, as when that folder is a mount of its own. It holds for the whole process,
// so a test uses it only while nothing else writes files there. Plain C++, no Qt.
#pragma once

#include <string>

#include <sys/types.h>

// The test binaries' writes of regular files pass through fulldisk.cpp, which fails them for as
// long as a FullDisk lives.
class FullDisk {
 public:
  explicit FullDisk(off_t bytesPerFile = 16, const std::string& folder = {});
  ~FullDisk();
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;
};

// A folder on a network share whose server can go away and come back while this lives. While it
// is away, the calls named fail with EIO, "Input/output error", on the regular files in the
// folder, and every descriptor open on them dies. Once it is back, a file opened afresh works,
// but a dead descriptor keeps failing those calls until it is closed, as the handle of a session
// the server forgot does. A removal is different: the server carries it out and only its reply is
// lost, so the file is gone while the caller is told it failed. The share is up at first and
// again once this ends. It holds for the whole process, as a FullDisk does.
class FailingShare {
 public:
  enum Calls : unsigned { Reads = 1, Writes = 2, Flushes = 4, Removals = 8 };
  static constexpr unsigned ReadsWritesAndFlushes = Reads | Writes | Flushes;

  explicit FailingShare(const std::string& folder, unsigned failingCalls = ReadsWritesAndFlushes);
  ~FailingShare();
  FailingShare(const FailingShare&) = delete;
  FailingShare& operator=(const FailingShare&) = delete;

  void GoAway();
  void ComeBack();
};
