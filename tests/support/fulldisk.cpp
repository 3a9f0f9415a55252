// The test binary's own write, pwrite and pwrite64 take the place of the C library's for the whole
// process (the program's code, Qt and SQLite alike), and pass every write on unchanged unless a
// FullDisk lives. A limit on the file size (RLIMIT_FSIZE) would fail the same writes, but with
// EFBIG, "File too large", which is not what a full disk says. The reads, flushes, removals and
// closes of a FailingShare's files pass through here the same way.
#include "fulldisk.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
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

// The same for the failing share: its folder and calls are set before it is switched on.
std::atomic<bool> shareOn{false};
std::atomic<bool> shareAway{false};
std::string shareFolder;  // canonical, ending in "/"
unsigned shareCalls = 0;
// Descriptors that were open on the share while it was away, by number; the lowest numbers are
// all a test process uses. Atomic, since any thread or a signal handler may read or close one.
constexpr int TrackedDescriptors = 4096;
std::array<std::atomic<bool>, TrackedDescriptors> dead{};

// The folder's canonical path ending in "/", or "" with a test failure for one that is not there.
std::string CanonicalFolder(const std::string& folder) {
  char* canonical = ::realpath(folder.c_str(), nullptr);
  EXPECT_NE(canonical, nullptr) << folder;
  const std::string path = canonical == nullptr ? std::string() : std::string(canonical) + '/';
  std::free(canonical);
  return path;
}

bool IsInFolder(const std::string& path, const std::string& folder) { return path.starts_with(folder); }

std::string PathOf(int fd) {
  char path[PATH_MAX];
  const ssize_t length = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
  return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

bool IsRegularFile(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

bool OnTheDisk(int fd) { return diskFolder.empty() || IsInFolder(PathOf(fd), diskFolder); }

bool OnTheShare(int fd) { return IsRegularFile(fd) && IsInFolder(PathOf(fd), shareFolder); }

bool IsTracked(int fd) { return fd >= 0 && fd < TrackedDescriptors; }

// Whether a call of this kind on fd fails as the share makes it fail; errno is EIO then.
bool ShareFails(int fd, unsigned call) {
  if (!shareOn.load(std::memory_order_acquire) || (shareCalls & call) == 0 || !OnTheShare(fd)) return false;
  const bool away = shareAway.load(std::memory_order_acquire);
  if (away && IsTracked(fd)) dead[fd].store(true, std::memory_order_release);
  if (!away && !(IsTracked(fd) && dead[fd].load(std::memory_order_acquire))) return false;
  errno = EIO;
  return true;
}

// Every descriptor open on the share now dies with it.
void KillOpenDescriptors() {
  DIR* descriptors = ::opendir("/proc/self/fd");
  if (descriptors == nullptr) return;
  const int own = ::dirfd(descriptors);
  while (const dirent* entry = ::readdir(descriptors)) {
    const int fd = std::atoi(entry->d_name);
    if (entry->d_name[0] != '.' && fd != own && IsTracked(fd) && OnTheShare(fd)) {
      dead[fd].store(true, std::memory_order_release);
    }
  }
  ::closedir(descriptors);
}

void ReviveAllDescriptors() {
  for (std::atomic<bool>& descriptor : dead) descriptor.store(false, std::memory_order_release);
}

bool ShareLosesRemovalReplies() {
  return shareOn.load(std::memory_order_acquire) && shareAway.load(std::memory_order_acquire) &&
         (shareCalls & FailingShare::Removals) != 0;
}

// Whether a path names a file in the share's folder, by its own folder's canonical path.
bool PathOnTheShare(const std::string& path) {
  const std::string folder = path.substr(0, path.rfind('/') + 1);
  char* canonical = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr);
  const bool onTheShare = canonical != nullptr && IsInFolder(std::string(canonical) + '/', shareFolder);
  std::free(canonical);
  return onTheShare;
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

// Writes what the disk takes through write(taken), or fails as the disk or the share does.
template <class Write>
ssize_t WriteWhatFits(int fd, off_t position, size_t count, const Write& write) {
  if (ShareFails(fd, FailingShare::Writes)) return -1;
  const size_t taken = Taken(fd, position, count);
  return taken == 0 && count != 0 ? -1 : write(taken);
}

// Runs call unless the share fails calls of this kind on fd.
template <class Call>
auto UnlessShareFails(int fd, unsigned kind, const Call& call) -> decltype(call()) {
  return ShareFails(fd, kind) ? -1 : call();
}

using PositionedWrite = ssize_t (*)(int, const void*, size_t, off_t);
using PositionedRead = ssize_t (*)(int, void*, size_t, off_t);
using Flush = int (*)(int);

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

extern "C" ssize_t read(int fd, void* bytes, size_t count) {
  static const auto next = Next<ssize_t (*)(int, void*, size_t)>("read");
  return UnlessShareFails(fd, FailingShare::Reads, [&] { return next(fd, bytes, count); });
}

extern "C" ssize_t pread(int fd, void* bytes, size_t count, off_t position) {
  static const auto next = Next<PositionedRead>("pread");
  return UnlessShareFails(fd, FailingShare::Reads, [&] { return next(fd, bytes, count, position); });
}

extern "C" ssize_t pread64(int fd, void* bytes, size_t count, off_t position) {
  static const auto next = Next<PositionedRead>("pread64");
  return UnlessShareFails(fd, FailingShare::Reads, [&] { return next(fd, bytes, count, position); });
}

extern "C" int fsync(int fd) {
  static const auto next = Next<Flush>("fsync");
  return UnlessShareFails(fd, FailingShare::Flushes, [&] { return next(fd); });
}

extern "C" int fdatasync(int fd) {
  static const auto next = Next<Flush>("fdatasync");
  return UnlessShareFails(fd, FailingShare::Flushes, [&] { return next(fd); });
}

// A descriptor's number is free for the next file once it is closed, dead or not.
extern "C" int close(int fd) {
  static const auto next = Next<int (*)(int)>("close");
  if (IsTracked(fd)) dead[fd].store(false, std::memory_order_release);
  return next(fd);
}

// A removal on the share while it is away reaches the server; only its reply is lost.
extern "C" int unlink(const char* path) noexcept {
  static const auto next = Next<int (*)(const char*)>("unlink");
  const int result = next(path);
  if (result != 0 || !ShareLosesRemovalReplies() || !PathOnTheShare(path)) return result;
  errno = EIO;
  return -1;
}

FullDisk::FullDisk(off_t bytesPerFile, const std::string& folder) {
  room = bytesPerFile;
  diskFolder = folder.empty() ? std::string() : CanonicalFolder(folder);
  full.store(true, std::memory_order_release);
}

FullDisk::~FullDisk() { full.store(false, std::memory_order_release); }

FailingShare::FailingShare(const std::string& folder, unsigned failingCalls) {
  shareFolder = CanonicalFolder(folder);
  shareCalls = failingCalls;
  shareOn.store(!shareFolder.empty(), std::memory_order_release);
}

FailingShare::~FailingShare() {
  shareOn.store(false, std::memory_order_release);
  ComeBack();
  ReviveAllDescriptors();
}

void FailingShare::GoAway() {
  KillOpenDescriptors();
  shareAway.store(true, std::memory_order_release);
}

void FailingShare::ComeBack() { shareAway.store(false, std::memory_order_release); }
