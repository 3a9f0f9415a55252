#include "platform/asidefile.h"

#include "platform/errors.h"
#include "platform/paths.h"

#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>

namespace platform {

namespace {

// More links in a row than this are a loop, as the system counts them (MAXSYMLINKS).
constexpr int kMostLinks = 40;

QByteArray FolderOf(const QByteArray& fileName) {
  const qsizetype slash = fileName.lastIndexOf('/');
  return slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : fileName.left(slash);
}

// The id the system checks file access with: the file-system user id, which may be lent apart
// from the effective one. Asking to set an invalid id changes nothing and answers the current one.
uid_t FileSystemUserId() { return static_cast<uid_t>(::setfsuid(static_cast<uid_t>(-1))); }

// In a sticky folder that everyone may write, anyone may plant a link, and one leading to the
// operator's log would have the log replaced. Such a link is followed only when it belongs to the
// user or to the folder's owner: the rule the system applies to the links it follows itself
// (fs.protected_symlinks), which never sees the links this writer reads, and may be off.
bool MayFollow(const QByteArray& link, const struct stat& linkStatus) {
  if (linkStatus.st_uid == FileSystemUserId()) return true;
  struct stat folder {};
  if (::stat(FolderOf(link).constData(), &folder) != 0) return false;
  const bool sharedAndSticky = (folder.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
  return !sharedAndSticky || folder.st_uid == linkStatus.st_uid;
}

// What a link holds; nothing when it cannot be read.
std::optional<QByteArray> LinkContents(const QByteArray& link, const QString& nativeTarget) {
  char leadsTo[PATH_MAX];
  const ssize_t length = ::readlink(link.constData(), leadsTo, sizeof leadsTo);
  if (length < 0) return std::nullopt;
  if (length == sizeof leadsTo) throw FileOpenError(nativeTarget, true, ENAMETOOLONG);
  return QByteArray(leadsTo, length);
}

// The folders on the way to the file may be links too, which the system follows itself when the
// file is opened, by its own protection only where that is on. They are walked here as the system
// walks them, each link held to the same rule, so that one planted in a shared folder on the way
// is refused wherever the writer runs. A part that is not there ends the walk: the open says so.
void CheckFoldersOnTheWay(const QByteArray& folder, const QString& nativeTarget, int& links) {
  QByteArray walked;  // a path with no link in it, "" for the root
  if (!folder.startsWith('/')) {
    char current[PATH_MAX];
    if (::getcwd(current, sizeof current) == nullptr) return;
    walked = current;
    if (walked == "/") walked.clear();
  }
  QByteArrayList left = folder.split('/');
  while (!left.isEmpty()) {
    const QByteArray part = left.takeFirst();
    if (part.isEmpty() || part == ".") continue;
    if (part == "..") {
      walked.truncate(std::max<qsizetype>(walked.lastIndexOf('/'), 0));
      continue;
    }
    const QByteArray next = walked + '/' + part;
    struct stat status {};
    if (::lstat(next.constData(), &status) != 0) return;
    if (!S_ISLNK(status.st_mode)) {
      walked = next;
      continue;
    }
    if (++links > kMostLinks) throw FileOpenError(nativeTarget, true, ELOOP);
    if (!MayFollow(next, status)) throw FileOpenError(nativeTarget, true, EACCES);
    const std::optional<QByteArray> link = LinkContents(next, nativeTarget);
    if (!link) return;
    if (link->startsWith('/')) walked.clear();
    left = link->split('/') + left;
  }
}

// The file a link leads to, so the link itself stays where another program may have put it. The
// links are read one by one, a relative one from its own folder, so a link whose file does not
// exist yet (another program took the file away) leads to where the file is to be made. A link
// that may not be followed, the file's or a folder's on the way, refuses the write before
// anything is made.
QString ResolvedTarget(const QString& nativeTarget) {
  QByteArray name = QFile::encodeName(nativeTarget);
  for (int links = 0; links <= kMostLinks; ++links) {
    CheckFoldersOnTheWay(FolderOf(name), nativeTarget, links);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0 || !S_ISLNK(status.st_mode)) return QFile::decodeName(name);
    if (!MayFollow(name, status)) throw FileOpenError(nativeTarget, true, EACCES);
    const std::optional<QByteArray> link = LinkContents(name, nativeTarget);
    if (!link) return QFile::decodeName(name);
    name = link->startsWith('/') ? *link : FolderOf(name) + '/' + *link;
  }
  throw FileOpenError(nativeTarget, true, ELOOP);
}

// Checked with the ids that files are opened with, as an open for writing would check it.
bool MayWrite(const QByteArray& fileName) {
  return ::faccessat(AT_FDCWD, fileName.constData(), W_OK, AT_EACCESS) == 0;
}

bool MayAddFilesTo(const QByteArray& folder) {
  return ::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

// A file the user may write but not replace: the folder takes no new file, or it is sticky and
// the file is another user's (only the file's owner, the folder's owner and root may rename over
// it there).
bool WritableOnlyInPlace(const QByteArray& fileName, const struct stat& file) {
  const QByteArray folderName = FolderOf(fileName);
  if (!MayAddFilesTo(folderName)) return true;
  struct stat folder {};
  if (::stat(folderName.constData(), &folder) != 0 || !(folder.st_mode & S_ISVTX)) return false;
  const uid_t user = FileSystemUserId();
  return user != 0 && user != file.st_uid && user != folder.st_uid;
}

// The new file belongs to the replaced file's owner where the system allows it (root may), else
// to its group where the user is a member. A file left in another group gives that group no more
// than everyone else had, or the rewrite would open it to a group the user never gave it to.
mode_t KeepOwners(int fd, const struct stat& replaced) {
  const mode_t bits = replaced.st_mode & 07777;
  if (::fchown(fd, replaced.st_uid, replaced.st_gid) == 0 ||
      ::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid) == 0) {
    return bits;
  }
  return (bits & ~S_IRWXG) | ((bits & S_IRWXO) << 3);
}

// The rename is on the disk only once the folder is: a crash right after it must not bring the
// old file back. A folder that cannot be flushed (some network file systems) changes nothing.
void FlushFolderOf(const QByteArray& fileName) {
  const int fd = ::open(FolderOf(fileName).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

AsideFile::AsideFile(const QString& nativeTarget) : target_(ResolvedTarget(nativeTarget)) {
  const QByteArray targetName = QFile::encodeName(target_);
  struct stat replaced {};
  // Links are resolved: one found here now was put in the file's place meanwhile, and is refused.
  const bool replaces = ::lstat(targetName.constData(), &replaced) == 0;
  if (target_.isEmpty()) Fail(ENOENT);
  if (replaces && !S_ISREG(replaced.st_mode)) Fail(S_ISDIR(replaced.st_mode) ? EISDIR : 0);
  if (replaces && !MayWrite(targetName)) throw RuntimeError(QStringLiteral("Permission denied"), 70);
  if (replaces && WritableOnlyInPlace(targetName, replaced)) {
    OpenInPlace(targetName, replaced);
    return;
  }
  MakeBeside(targetName);
  if (replaces && ::fchmod(fd_, KeepOwners(fd_, replaced)) != 0) {
    const int error = errno;
    Discard();
    Fail(error);
  }
}

// Only the file that was checked is opened: in a shared folder its owner may put a link, a FIFO or
// another file in its place meanwhile.
void AsideFile::OpenInPlace(const QByteArray& targetName, const struct stat& checked) {
  inPlace_ = true;
  fd_ = ::open(targetName.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) Fail(errno);
  struct stat opened {};
  if (::fstat(fd_, &opened) != 0 || opened.st_dev != checked.st_dev || opened.st_ino != checked.st_ino) {
    Discard();
    Fail(0);
  }
  name_ = targetName;
}

void AsideFile::MakeBeside(const QByteArray& targetName) {
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    const QByteArray name = targetName + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      name_ = name;
    } else if (errno != EEXIST) {
      Fail(errno);
    }
  }
  if (fd_ < 0) Fail(EEXIST);
}

AsideFile::~AsideFile() { Discard(); }

void AsideFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!name_.isEmpty() && !inPlace_) ::unlink(name_.constData());
  name_.clear();
}

void AsideFile::Write(QByteArrayView bytes) {
  // In place, the old content goes when the new content starts, not before: a writer that fills
  // the file by name never calls Write.
  if (inPlace_ && ::lseek(fd_, 0, SEEK_CUR) == 0 && ::ftruncate(fd_, 0) != 0) Fail(errno);
  if (const int error = WriteWhole(fd_, bytes); error != 0) Fail(error);
}

void AsideFile::PutInPlace() {
  // A write the disk refuses late (a full disk on a network file system) shows at the flush.
  const int flushError = ::fsync(fd_) == 0 ? 0 : errno;
  const int closeError = ::close(fd_) == 0 ? 0 : errno;
  fd_ = -1;
  if (flushError != 0 || closeError != 0) Fail(flushError != 0 ? flushError : closeError);
  if (!inPlace_) {
    if (::rename(name_.constData(), QFile::encodeName(target_).constData()) != 0) Fail(errno);
    FlushFolderOf(name_);
  }
  name_.clear();
}

void AsideFile::Fail(int systemError) const { throw FileOpenError(target_, true, systemError); }

int WriteWhole(int fd, QByteArrayView bytes) {
  const char* next = bytes.data();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, next, static_cast<size_t>(left));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written < 0 ? errno : ENOSPC;
    next += written;
    left -= written;
  }
  return 0;
}

void WriteFileAside(const QString& nativeTarget, QByteArrayView bytes) {
  AsideFile file(nativeTarget);
  file.Write(bytes);
  file.PutInPlace();
}

}  // namespace platform
