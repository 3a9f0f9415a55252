// The test binary's own write, pwrite and pwrite64 take the place of the C library's for the whole
// process (the program's code, Qt and SQLite alike), and pass every write on unchanged unless a
// FullDisk lives. A limit on the file size (RLIMIT_FSIZE) would fail the same writes, but with
// EFBIG, "File too large", which is not what a full disk says.
#include "fulldisk.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include <gtest/gtest.h>

namespace {

// Set before the disk fills and cleared after it has room again: a write reads them only while
// full, with no lock, since a signal handler may write too.
std::atomic<bool> full{false};
off_t room = 0;
std::string diskFolder;  // canonical, ending in "/"; empty for every file

bool OnTheDisk(int fd) {
  if (diskFolder.empty()) return true;
  char path[PATH_MAX];
  const ssize_t length = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
  return length > 0 && std::string(path, static_cast<size_t>(length)).starts_with(diskFolder);
}

// How many of count bytes written at position (-1: the descriptor's own) the disk takes; 0 with
// ENOSPC when it takes none.
size_t Taken(int fd, off_t position, size_t count) {
  struct stat status {};
  if (!full.load(std::memory_order_acquire) || count == 0 || ::fstat(fd, &status) != 0 ||
      !S_ISREG(status.st_mode) || !OnTheDisk(fd)) {
    return count;
  }
  if (position < 0) position = (::fcntl(fd, F_GETFL) & O_APPEND) ? status.st_size : ::lseek(fd, 0, SEEK_CUR);
  if (position >= room) {
    errno = ENOSPC;
    return 0;
  }
  return std::min(count, static_cast<size_t>(room - position));
}

template <class Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

// Writes what the disk takes through write(taken), or fails as the disk does.
template <class Write>
ssize_t WriteWhatFits(int fd, off_t position, size_t count, const Write& write) {
  const size_t taken = Taken(fd, position, count);
  return taken == 0 && count != 0 ? -1 : write(taken);
}

using PositionedWrite = ssize_t (*)(int, const void*, size_t, off_t);

}  // namespace

extern "C" ssize_t write(int fd, const void* bytes, size_t count) {
  static const auto next = Next<ssize_t (*)(int, const void*, size_t)>("write");
  return WriteWhatFits(fd, -1, count, [&](size_t taken) { return next(fd, bytes, taken); });
}

extern "C" ssize_t pwrite(int fd, const void* bytes, size_t count, off_t position) {
  static const auto next = Next<PositionedWrite>("pwrite");
  return WriteWhatFits(fd, position, count, [&](size_t taken) { return next(fd, bytes, taken, position); });
}

extern "C" ssize_t pwrite64(int fd, const void* bytes, size_t count, off_t position) {
  static const auto next = Next<PositionedWrite>("pwrite64");
  return WriteWhatFits(fd, position, count, [&](size_t taken) { return next(fd, bytes, taken, position); });
}

FullDisk::FullDisk(off_t bytesPerFile, const std::string& folder) {
  room = bytesPerFile;
  diskFolder.clear();
  if (!folder.empty()) {
    char* canonical = ::realpath(folder.c_str(), nullptr);
    EXPECT_NE(canonical, nullptr) << folder;
    if (canonical != nullptr) diskFolder = std::string(canonical) + '/';
    std::free(canonical);
  }
  full.store(true, std::memory_order_release);
}

FullDisk::~FullDisk() { full.store(false, std::memory_order_release); }
