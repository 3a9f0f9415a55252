#include "platform/paths.h"

#include "platform/asidefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace platform {

namespace {

QString& MountTablePath() {
  static QString path = QStringLiteral("/proc/mounts");
  return path;
}

// The table writes blanks, tabs, line ends and backslashes in its fields as "\" and three octal digits.
QString UnescapeMountField(const QString& field) {
  static const QRegularExpression octal(QStringLiteral(R"(\\([0-7]{3}))"));
  QString result;
  qsizetype last = 0;
  for (auto it = octal.globalMatch(field); it.hasNext();) {
    const auto match = it.next();
    result += field.mid(last, match.capturedStart() - last);
    result += QChar(match.captured(1).toInt(nullptr, 8));
    last = match.capturedEnd();
  }
  return result + field.mid(last);
}

std::optional<QString> MountPointOfShare(const QString& share) {
  for (const MountEntry& entry : ParseMountTable(MountTableText())) {
    if (entry.IsCifs() && entry.source.compare(share, Qt::CaseInsensitive) == 0) return entry.mountPoint;
  }
  return std::nullopt;
}

// "//host/share/rest" becomes the share's mount point followed by rest, when mounted.
QString MapUncPath(const QString& slashed) {
  const qsizetype hostEnd = slashed.indexOf('/', 2);
  if (hostEnd < 0) return slashed;
  const qsizetype shareEnd = slashed.indexOf('/', hostEnd + 1);
  const QString share = shareEnd < 0 ? slashed : slashed.left(shareEnd);
  const auto mountPoint = MountPointOfShare(share);
  if (!mountPoint) return slashed;
  return shareEnd < 0 ? *mountPoint : *mountPoint + slashed.mid(shareEnd);
}

bool IsUnc(const QString& slashed) { return slashed.startsWith(QLatin1String("//")); }

bool HasDrivePrefix(const QString& path) {
  return path.size() >= 2 && path[1] == ':' && path[0].isLetter() && path[0].unicode() < 128;
}

// The absolute path, with separators, drive and share dealt with but letter case untouched.
QString AbsoluteSlashedPath(const QString& programPath) {
  QString slashed = QString(programPath).replace('\\', '/');
  if (IsUnc(slashed)) {
    const QString mapped = MapUncPath(slashed);
    return IsUnc(mapped) ? mapped : QDir::cleanPath(mapped);
  }
  if (HasDrivePrefix(slashed)) {
    slashed = slashed.mid(2);
    if (slashed.isEmpty()) slashed = QStringLiteral("/");
  }
  if (!slashed.startsWith('/')) slashed = QDir::currentPath() + '/' + slashed;
  return QDir::cleanPath(slashed);
}

std::optional<QString> EntryDifferingInCase(const QString& folder, const QString& name) {
  const QStringList entries =
      QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name);
  for (const QString& entry : entries) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
  }
  return std::nullopt;
}

QString ResolveLetterCase(const QString& absolute) {
  if (QFileInfo::exists(absolute)) return absolute;
  const bool unc = IsUnc(absolute);
  QString resolved = unc ? QStringLiteral("//") : QStringLiteral("/");
  bool missing = unc;  // an unmounted share cannot be listed
  for (const QString& name : absolute.split('/', Qt::SkipEmptyParts)) {
    QString next = JoinPath(resolved, name);
    if (!missing && !QFileInfo::exists(next)) {
      const auto existing = EntryDifferingInCase(resolved, name);
      if (existing) {
        next = JoinPath(resolved, *existing);
      } else {
        missing = true;
      }
    }
    resolved = next;
  }
  return resolved;
}

RuntimeError NotARegularFile(const QString& nativePath) {
  return RuntimeError(QStringLiteral("Path/File access error: \"%1\" is not a regular file").arg(nativePath), 75);
}

RuntimeError FileTooLarge(const QString& nativePath, qint64 maxBytes) {
  return RuntimeError(QStringLiteral("Path/File access error: \"%1\" is larger than %2")
                          .arg(nativePath, QLocale::c().formattedDataSize(maxBytes, 0)),
                      75);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

QString JoinPath(const QString& folder, const QString& name) {
  return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QString NativePath(const QString& programPath) {
  if (programPath.isEmpty()) return {};
  return ResolveLetterCase(AbsoluteSlashedPath(programPath));
}

QString CurDir() { return QDir::currentPath(); }

void ChDir(const QString& path) {
  const QString native = NativePath(path);
  if (native.isEmpty() || !QFileInfo(native).isDir() || !QDir::setCurrent(native)) {
    throw RuntimeError(QStringLiteral("Path not found"), 76);
  }
}

void ChDrive(const QString& drive) {
  if (drive.isEmpty()) return;
  const QChar first = drive[0];
  const bool isDriveLetter = first.isLetter() && first.unicode() < 128;
  if (!isDriveLetter && first != '/' && first != '\\') {
    throw RuntimeError(QStringLiteral("Device unavailable"), 68);
  }
}

bool FileExists(const QString& path) { return QFileInfo(NativePath(path)).isFile(); }

bool DirExists(const QString& path) { return QFileInfo(NativePath(path)).isDir(); }

void MkDir(const QString& path) {
  const QString native = NativePath(path);
  const QFileInfo info(native);
  if (native.isEmpty() || !info.dir().exists()) throw RuntimeError(QStringLiteral("Path not found"), 76);
  if (info.exists() || !QDir().mkdir(native)) {
    throw RuntimeError(QStringLiteral("Path/File access error"), 75);
  }
}

void FileCopy(const QString& source, const QString& destination) {
  const QString from = NativePath(source);
  const QString to = NativePath(destination);
  QFile input(from);
  if (!input.open(QIODevice::ReadOnly)) throw FileOpenError(from, false);
  AsideFile output(to);
  while (!input.atEnd()) {
    const QByteArray block = input.read(1 << 16);
    if (block.isEmpty() && input.error() != QFileDevice::NoError) throw FileOpenError(from, false);
    output.Write(block);
  }
  output.PutInPlace();
}

RuntimeError FileOpenError(const QString& nativePath, bool forWriting, int systemError) {
  const QFileInfo info(nativePath);
  if (!info.dir().exists()) return RuntimeError(QStringLiteral("Path not found"), 76);
  if (!info.exists() && !forWriting) return RuntimeError(QStringLiteral("File not found"), 53);
  const bool refused =
      systemError != 0 ? systemError == EACCES || systemError == EPERM
      : forWriting     ? (info.exists() ? !info.isWritable() : !QFileInfo(info.path()).isWritable())
                       : !info.isReadable();
  if (refused) return RuntimeError(QStringLiteral("Permission denied"), 70);
  return FileAccessError(systemError);
}

RuntimeError FileAccessError(int systemError) {
  return RuntimeError(systemError != 0 ? qt_error_string(systemError) : QStringLiteral("Path/File access error"), 75);
}

QByteArray ReadRegularFile(const QString& nativePath, qint64 maxBytes) {
  const QByteArray name = QFile::encodeName(nativePath);
  struct stat status {};
  // Opening a device can act on it (a serial port raises its lines), so it is not even opened.
  if (::stat(name.constData(), &status) != 0) throw FileOpenError(nativePath, false);
  if (!S_ISREG(status.st_mode)) throw NotARegularFile(nativePath);
  // Without O_NONBLOCK, a FIFO put in the file's place meanwhile would wait for a writer for ever.
  const FileDescriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) throw FileOpenError(nativePath, false);
  if (::fstat(file.Get(), &status) != 0) throw FileOpenError(nativePath, false);
  if (!S_ISREG(status.st_mode)) throw NotARegularFile(nativePath);
  if (status.st_size > maxBytes) throw FileTooLarge(nativePath, maxBytes);

  // The file may grow while it is read: never past the cap.
  QByteArray content;
  char block[16384];
  for (;;) {
    const ssize_t got = ::read(file.Get(), block, sizeof block);
    if (got == 0) return content;
    if (got < 0) {
      if (errno == EINTR) continue;
      throw FileOpenError(nativePath, false);
    }
    if (content.size() + got > maxBytes) throw FileTooLarge(nativePath, maxBytes);
    content.append(block, got);
  }
}

bool MountEntry::IsCifs() const {
  return type == QLatin1String("cifs") || type == QLatin1String("smb3") || type == QLatin1String("smbfs");
}

QList<MountEntry> ParseMountTable(const QString& text) {
  QList<MountEntry> entries;
  for (const QStringView line : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
    const QList<QStringView> fields = line.split(u' ', Qt::SkipEmptyParts);
    if (fields.size() < 3) continue;
    entries.append({UnescapeMountField(fields[0].toString()), UnescapeMountField(fields[1].toString()),
                    fields[2].toString()});
  }
  return entries;
}

// /proc/mounts reads as a regular file of size 0; a table larger than any text file the program
// reads is no mount table.
QString MountTableText() {
  try {
    return QString::fromLocal8Bit(ReadRegularFile(MountTablePath(), MaxTextFileBytes));
  } catch (const RuntimeError&) {
    return {};
  }
}

void SetMountTableForTesting(const QString& mountsFile) { MountTablePath() = mountsFile; }

}  // namespace platform
