#pragma once

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A folder of the test's own standing for the share "//host/share" mounted there: while it lives
// the program reads a mount table that lists it, instead of /proc/mounts.
class MountedShare {
 public:
  MountedShare(const QString& host, const QString& share) {
    EXPECT_TRUE(dir_.isValid());
    EXPECT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("share")));
    mountPoint_ = QDir(dir_.filePath(QStringLiteral("share"))).canonicalPath();
    QFile mounts(dir_.filePath(QStringLiteral("mounts")));
    EXPECT_TRUE(mounts.open(QIODevice::WriteOnly));
    mounts.write(("//" + host + "/" + share + " " + mountPoint_ + " cifs rw 0 0\n").toUtf8());
    mounts.close();
    platform::SetMountTableForTesting(mounts.fileName());
  }
  ~MountedShare() { platform::SetMountTableForTesting(QStringLiteral("/proc/mounts")); }
  MountedShare(const MountedShare&) = delete;
  MountedShare& operator=(const MountedShare&) = delete;

  // A file in the share, by its name.
  QString FilePath(const QString& name) const { return mountPoint_ + "/" + name; }

 private:
  QTemporaryDir dir_;
  QString mountPoint_;
};
