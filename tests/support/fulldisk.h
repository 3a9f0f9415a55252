// A disk that is full for as long as this lives: any file written grows to a few bytes at most,
// and the write past them fails (EFBIG) as on a full disk. It holds for the whole process, so a
// test uses it only while nothing else writes files. Plain C++, no Qt.
#pragma once

#include <sys/resource.h>

#include <csignal>

#include <gtest/gtest.h>

class FullDisk {
 public:
  explicit FullDisk(rlim_t bytesPerFile = 16) {
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &saved_), 0);
    savedSignal_ = std::signal(SIGXFSZ, SIG_IGN);  // the failing write reports, it does not end us
    rlimit full = saved_;
    full.rlim_cur = bytesPerFile;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
  }
  ~FullDisk() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, savedSignal_);
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

 private:
  rlimit saved_{};
  void (*savedSignal_)(int) = SIG_DFL;
};
