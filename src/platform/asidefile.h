#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace platform {

// The one way the program rewrites a file: the new content goes into a new file in the target's
// folder, which is flushed to the disk and then renamed over the target, only once it is whole.
// Until then the old file stays byte for byte, and a failure on the way (a full disk, a refused
// write) removes the new file and leaves the old one as it was. The new file takes the permission
// bits of the file it replaces; a file made for the first time gets them as any new file does
// (the umask applies). A target that is a link keeps its link: the file it leads to is replaced.
// An existing target the user may not write is refused, as writing it in place would be.
// Errors are RuntimeErrors numbered as FileOpenError numbers them, for the target.
class AsideFile {
 public:
  // Makes the new, empty file beside the target (a native path).
  explicit AsideFile(const QString& nativeTarget);
  // Removes the new file unless it has taken the target's place.
  ~AsideFile();
  AsideFile(const AsideFile&) = delete;
  AsideFile& operator=(const AsideFile&) = delete;

  void Write(QByteArrayView bytes);
  // The new file's name, for a writer that fills it by name (a database copy) before PutInPlace.
  const QByteArray& Name() const { return name_; }
  // Flushes the new file to the disk and renames it over the target.
  void PutInPlace();

 private:
  void Discard();
  [[noreturn]] void Fail() const;

  QString target_;      // the file that is replaced, links resolved
  QByteArray name_;     // the new file, until it is put in place
  int fd_ = -1;
};

// Replaces a file (a native path) by these bytes through an AsideFile.
void WriteFileAside(const QString& nativeTarget, QByteArrayView bytes);

}  // namespace platform
