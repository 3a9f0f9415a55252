#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <optional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

// A home folder of the test's own, as a Linux desktop user has one: $HOME and its XDG config
// folder point into it and USERPROFILE and APPDATA are unset, so the program finds its
// documents and settings folders there. The environment comes back as it was at the end.
class FakeHome {
 public:
  FakeHome() {
    EXPECT_TRUE(dir_.isValid());
    QDir(dir_.path()).mkpath(QStringLiteral("home/.config"));
    Set("HOME", Path());
    Set("XDG_CONFIG_HOME", Path() + "/.config");
    Set("USERPROFILE", std::nullopt);
    Set("APPDATA", std::nullopt);
  }
  ~FakeHome() {
    for (auto& [name, value] : saved_) {
      if (value) {
        qputenv(name.constData(), *value);
      } else {
        qunsetenv(name.constData());
      }
    }
  }
  FakeHome(const FakeHome&) = delete;
  FakeHome& operator=(const FakeHome&) = delete;

  QString Path() const { return dir_.path() + "/home"; }
  QString ConfigPath() const { return Path() + "/.config"; }
  void MakeFolder(const QString& relative) const { ASSERT_TRUE(QDir(Path()).mkpath(relative)); }
  // The desktop's name for the documents folder, as xdg-user-dirs writes it ("$HOME/Dokumente").
  void SetDesktopDocuments(const QString& entry) const {
    QFile file(ConfigPath() + "/user-dirs.dirs");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# written by the test\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"" + entry.toUtf8() +
               "\"\n");
  }

 private:
  void Set(const char* name, const std::optional<QString>& value) {
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    if (value) {
      qputenv(name, QFile::encodeName(*value));
    } else {
      qunsetenv(name);
    }
  }

  QTemporaryDir dir_;
  std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
};
