#include "platform/asidefile.h"

#include "platform/errors.h"
#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// The file a link leads to, so the link itself stays where another program may have put it.
QString ResolvedTarget(const QString& nativeTarget) {
  const QFileInfo info(nativeTarget);
  return info.exists() ? info.canonicalFilePath() : nativeTarget;
}

// Checked with the ids that files are opened with, as an open for writing would check it.
bool MayWrite(const QByteArray& fileName) {
  return ::faccessat(AT_FDCWD, fileName.constData(), W_OK, AT_EACCESS) == 0;
}

// The rename is on the disk only once the folder is: a crash right after it must not bring the
// old file back. A folder that cannot be flushed (some network file systems) changes nothing.
void FlushFolderOf(const QByteArray& fileName) {
  const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(fileName)).absolutePath());
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

AsideFile::AsideFile(const QString& nativeTarget) : target_(ResolvedTarget(nativeTarget)) {
  const QByteArray targetName = QFile::encodeName(target_);
  struct stat replaced {};
  const bool replaces = ::stat(targetName.constData(), &replaced) == 0;
  if (target_.isEmpty() || (replaces && !S_ISREG(replaced.st_mode))) Fail();
  if (replaces && !MayWrite(targetName)) throw RuntimeError(QStringLiteral("Permission denied"), 70);
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    const QByteArray name = targetName + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      name_ = name;
    } else if (errno != EEXIST) {
      Fail();
    }
  }
  if (fd_ < 0) Fail();
  if (replaces && ::fchmod(fd_, replaced.st_mode & 07777) != 0) {
    Discard();
    Fail();
  }
}

AsideFile::~AsideFile() { Discard(); }

void AsideFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!name_.isEmpty()) ::unlink(name_.constData());
  name_.clear();
}

void AsideFile::Write(QByteArrayView bytes) {
  const char* next = bytes.data();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd_, next, static_cast<size_t>(left));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) Fail();
    next += written;
    left -= written;
  }
}

void AsideFile::PutInPlace() {
  // A write the disk refuses late (a full disk on a network file system) shows at the flush.
  const bool flushed = ::fsync(fd_) == 0;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!flushed || !closed) Fail();
  if (::rename(name_.constData(), QFile::encodeName(target_).constData()) != 0) Fail();
  FlushFolderOf(name_);
  name_.clear();
}

void AsideFile::Fail() const { throw FileOpenError(target_, true); }

void WriteFileAside(const QString& nativeTarget, QByteArrayView bytes) {
  AsideFile file(nativeTarget);
  file.Write(bytes);
  file.PutInPlace();
}

}  // namespace platform
