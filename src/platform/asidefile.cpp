#include "platform/asidefile.h"

#include "platform/errors.h"
#include "platform/paths.h"

#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace platform {

namespace {

// More links in a row than this are a loop, as the system counts them (MAXSYMLINKS).
constexpr int kMostLinks = 40;

QByteArray FolderOf(const QByteArray& fileName) {
  const qsizetype slash = fileName.lastIndexOf('/');
  return slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : fileName.left(slash);
}

// The file a link leads to, so the link itself stays where another program may have put it. The
// links are read one by one, a relative one from its own folder, so a link whose file does not
// exist yet (another program took the file away) leads to where the file is to be made.
QString ResolvedTarget(const QString& nativeTarget) {
  QByteArray name = QFile::encodeName(nativeTarget);
  for (int links = 0; links <= kMostLinks; ++links) {
    char leadsTo[PATH_MAX];
    const ssize_t length = ::readlink(name.constData(), leadsTo, sizeof leadsTo);
    if (length < 0) return QFile::decodeName(name);
    if (length == sizeof leadsTo) throw FileOpenError(nativeTarget, true, ENAMETOOLONG);
    const QByteArray link(leadsTo, length);
    name = link.startsWith('/') ? link : FolderOf(name) + '/' + link;
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
  const bool replaces = ::stat(targetName.constData(), &replaced) == 0;
  if (target_.isEmpty()) Fail(ENOENT);
  if (replaces && !S_ISREG(replaced.st_mode)) Fail(S_ISDIR(replaced.st_mode) ? EISDIR : 0);
  if (replaces && !MayWrite(targetName)) throw RuntimeError(QStringLiteral("Permission denied"), 70);
  if (replaces && !MayAddFilesTo(FolderOf(targetName))) {
    inPlace_ = true;
    fd_ = ::open(targetName.constData(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) Fail(errno);
    name_ = targetName;
    return;
  }
  MakeBeside(targetName);
  if (replaces && ::fchmod(fd_, KeepOwners(fd_, replaced)) != 0) {
    const int error = errno;
    Discard();
    Fail(error);
  }
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
