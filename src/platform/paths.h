#pragma once

#include "platform/errors.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace platform {

// Every path the program builds goes through here: the program writes paths with "\"
// separators, drive letters and "\\host\share" names, and expects file names to match
// regardless of letter case. Nothing else in the program handles separators or case.

// The native path for a path as the program writes it:
// - "\" becomes "/";
// - a drive prefix "X:" stands for the filesystem root ("c:\Pegasus\PEGASUS.OUT" is
//   "/Pegasus/PEGASUS.OUT"); "X:name" without a separator is relative, like any relative path;
// - "\\host\share\rest" is the mount point of that share when one is mounted (cifs), else
//   "//host/share/rest";
// - a relative path is taken from the current folder;
// - each component that does not exist under its exact name, but does under a name that
//   differs only in case, takes the existing name ("CW.txt" finds "cw.txt"); components after
//   the first missing one stay as written.
// The result is absolute. An empty path stays empty.
QString NativePath(const QString& programPath);

// A name in a native folder, with one "/" between them.
QString JoinPath(const QString& folder, const QString& name);

// The current folder of the process, natively. Relative paths everywhere resolve against it.
QString CurDir();
// Makes a folder current. Throws RuntimeError 76 "Path not found" when it is no folder.
void ChDir(const QString& path);
// Selecting a drive has no meaning here; a drive letter, "/" or "\" (the first character of
// the program folder) is accepted and nothing happens. Anything else throws 68 "Device unavailable".
void ChDrive(const QString& drive);

bool FileExists(const QString& path);
bool DirExists(const QString& path);
// Creates one folder level; the parent must exist. Throws RuntimeError 76 "Path not found" when
// the parent is missing and 75 "Path/File access error" when the folder exists (in any letter
// case) or cannot be made.
void MkDir(const QString& path);
// Copies a file byte for byte, replacing the destination. Throws RuntimeError on failure.
void FileCopy(const QString& source, const QString& destination);

// The run-time error for a file that could not be opened or written, numbered as the program
// expects: 76 "Path not found" (no such folder), 53 "File not found" (reading), 70 "Permission
// denied", otherwise 75 "Path/File access error". Given the system's error number of the failure
// (errno), a refusal is told by it, and a 75 is described by the system's reason ("No space left
// on device"), which is what the operator can act on.
RuntimeError FileOpenError(const QString& nativePath, bool forWriting, int systemError = 0);

// Its 75: described by the system's reason of the failure (errno) where there is one.
RuntimeError FileAccessError(int systemError);

// The largest settings or text file the program reads.
inline constexpr qint64 MaxTextFileBytes = 4 * 1024 * 1024;

// The whole content of a regular file (links followed), for the readers of settings and text
// files. Anything else at the path (a folder, a FIFO, a device) is refused without opening it, so
// nothing blocks or reads for ever, and so is a file larger than maxBytes. Throws RuntimeError:
// FileOpenError's numbers when it cannot be opened or read, 75 "Path/File access error" with the
// reason when it is no regular file or too large.
QByteArray ReadRegularFile(const QString& nativePath, qint64 maxBytes);

// One line of the mount table, its fields decoded ("\040" is a blank).
struct MountEntry {
  QString source;      // "//host/share", "host:/path", "/dev/sda1"
  QString mountPoint;  // where it is mounted
  QString type;        // "cifs", "nfs4", "ext4"

  // A share of the kind "\\host\share" paths name: cifs, smb3 or smbfs.
  bool IsCifs() const;
};

// Text laid out as /proc/mounts, one entry a line; lines of fewer than three fields are passed over.
QList<MountEntry> ParseMountTable(const QString& text);

// The text of the mount table: /proc/mounts, or the file SetMountTableForTesting names; empty when
// it cannot be read. Every reader of the mount table goes through here.
QString MountTableText();

// Test seam: the mount table that "\\host\share" paths and the station's server name are read from
// (normally /proc/mounts).
void SetMountTableForTesting(const QString& mountsFile);

}  // namespace platform
