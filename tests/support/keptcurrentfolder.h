#pragma once

#include <QDir>
#include <QString>
#include <gtest/gtest.h>

// The current folder as the test found it, made current again when the test ends. The program
// moves it (a commit, a reload, the start-up), often into a folder that goes with the test, and
// the next test of the same process must not start in a folder that is gone.
class KeptCurrentFolder {
 public:
  KeptCurrentFolder() = default;
  KeptCurrentFolder(const KeptCurrentFolder&) = delete;
  KeptCurrentFolder& operator=(const KeptCurrentFolder&) = delete;
  ~KeptCurrentFolder() { Restore(); }

  void Restore() const {
    if (!QDir::setCurrent(saved_)) ADD_FAILURE() << "the current folder cannot go back to " << saved_.toStdString();
  }

 private:
  QString saved_ = QDir::currentPath();
};
