// A folder shared as exchange folders are (sticky, everyone may write: 1777), and what another
// user of the PC plants there. Only root can give a file or a link away: a test for an ordinary
// user skips what needs a second user.
#pragma once

#include <QFile>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

// A user other than the process and than the one AsOrdinaryUser lends (nobody).
inline constexpr uid_t kAnotherUser = 12345;

inline bool MayPlantForAnotherUser() { return geteuid() == 0; }

// Gives folder to owner with mode: shared as exchange folders are by default.
inline void ShareFolder(const QString& folder, mode_t mode = 01777, uid_t owner = geteuid()) {
  const QByteArray name = QFile::encodeName(folder);
  ASSERT_EQ(::chown(name.constData(), owner, static_cast<gid_t>(-1)), 0) << name.constData();
  ASSERT_EQ(::chmod(name.constData(), mode), 0) << name.constData();
}

// A link at link, leading to leadsTo, that owner made.
inline void PlantLink(const QString& leadsTo, const QString& link, uid_t owner) {
  const QByteArray name = QFile::encodeName(link);
  ASSERT_EQ(::symlink(QFile::encodeName(leadsTo).constData(), name.constData()), 0) << name.constData();
  ASSERT_EQ(::lchown(name.constData(), owner, static_cast<gid_t>(-1)), 0) << name.constData();
}
