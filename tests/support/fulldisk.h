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
