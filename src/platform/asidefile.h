#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <sys/stat.h>

namespace platform {

// The one way the program rewrites a file: the new content goes into a new file in the target's
// folder, which is flushed to the disk and then renamed over the target, only once it is whole.
// Until then the old file stays byte for byte, and a failure on the way (a full disk, a refused
// write) removes the new file and leaves the old one as it was. The new file takes what the user
// set on the file it replaces: its permission bits, its group where the user is a member of it,
// and its owner where the system lets the user give files away (root may). In a group it could not
// keep, the group gets no more than everyone else had. A file made for the first time is made as
// any new file is (the umask applies). A target that is a link keeps its link, through a chain of
// links and also when the file it leads to does not exist yet: the file it leads to is written.
// In a sticky folder that everyone may write, a link is followed only when it is the user's or the
// folder owner's, as the system's protected-links rule has it, also where the link is a folder on
// the way to the file; another is refused (70).
// An existing target the user may not write is refused, as writing it in place would be. One the
// user may write but not replace (a folder the user may not add files to, or another user's file
// in a sticky folder) is written in place instead: its old content goes at the first Write, and a
// failure after that leaves it part-written.
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
  // The written file's name, for a writer that fills it by name (a database copy) before PutInPlace.
  const QByteArray& Name() const { return name_; }
  // Flushes the new file to the disk and renames it over the target.
  void PutInPlace();

 private:
  void OpenInPlace(const QByteArray& targetName, const struct stat& checked);
  void MakeBeside(const QByteArray& targetName);
  void Discard();
  [[noreturn]] void Fail(int systemError) const;

  QString target_;       // the file that is replaced, links resolved
  QByteArray name_;      // the file written, until it is put in place: the new one, or the target
  bool inPlace_ = false;
  int fd_ = -1;
};

// Writes every byte to an open file, however many writes it takes. Returns the system's error
// number (errno) of a failure, ENOSPC for a disk that takes nothing more, else 0.
int WriteWhole(int fd, QByteArrayView bytes);

// Replaces a file (a native path) by these bytes through an AsideFile.
void WriteFileAside(const QString& nativeTarget, QByteArrayView bytes);

}  // namespace platform
