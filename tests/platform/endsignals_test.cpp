#include "platform/endprogram.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "childprocess.h"

namespace {

// tests/platform/signalchild in a process of its own, its output in a file. With `ignored`, a
// shell starts it with that signal ignored, as `nohup corvane &` does SIGHUP and a script's
// `corvane &` SIGINT.
class SignalChild {
 public:
  explicit SignalChild(const std::string& way, const std::string& ignored = "") {
    std::vector<std::string> arguments{SIGNALCHILD_PATH, way};
    if (!ignored.empty()) {
      arguments.insert(arguments.begin(), {"/bin/sh", "-c", "trap '' " + ignored + "; exec \"$@\"", "sh"});
    }
    process_ = std::make_unique<peertesting::ChildProcess>(arguments, OutputPath());
  }

  bool WaitFor(const std::string& text) const {
    return peertesting::WaitUntil([&] { return Output().find(text) != std::string::npos; });
  }
  std::string Output() const {
    std::ifstream file(OutputPath());
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  // How often DTR and RTS were dropped by then.
  int Drops() const {
    std::istringstream lines(Output());
    int drops = 0;
    for (std::string line; std::getline(lines, line);) drops += line == "lines dropped" ? 1 : 0;
    return drops;
  }
  peertesting::ChildProcess& Process() { return *process_; }

 private:
  std::string OutputPath() const { return folder_.Path("output"); }

  peertesting::ScratchFolder folder_;
  std::unique_ptr<peertesting::ChildProcess> process_;
};

bool DiedOf(int status, int signal) { return status != -1 && WIFSIGNALED(status) && WTERMSIG(status) == signal; }

// The ignored signal is sent before SIGTERM, so it is delivered first: had it been caught, its
// handler would have dropped the lines a second time, or its end have come first.
TEST(EndSignals, OneTheProgramWasStartedWithIgnoredStaysIgnoredAndSigtermStillEndsIt) {
  for (const auto& [signal, name] : {std::pair{SIGHUP, "HUP"}, std::pair{SIGINT, "INT"}}) {
    SCOPED_TRACE(name);
    SignalChild child("wait", name);
    ASSERT_TRUE(child.WaitFor("ready\n")) << child.Output();
    child.Process().Signal(signal);
    child.Process().Signal(SIGTERM);
    const int status = child.Process().WaitForExit();
    EXPECT_TRUE(DiedOf(status, SIGTERM)) << "status " << status;
    EXPECT_EQ(child.Drops(), 1) << child.Output();
  }
}

TEST(EndSignals, ASecondEndSignalWhileTheReleaseRunsEndsTheProgramAtOnceWithTheLinesDropped) {
  SignalChild child("slow");
  ASSERT_TRUE(child.WaitFor("ready\n")) << child.Output();
  child.Process().Signal(SIGTERM);
  ASSERT_TRUE(child.WaitFor("releasing\n")) << child.Output();
  const std::string beforeSecond = child.Output();
  child.Process().Signal(SIGINT);
  const int status = child.Process().WaitForExit();
  EXPECT_TRUE(DiedOf(status, SIGINT)) << "status " << status;
  EXPECT_EQ(child.Output(), beforeSecond + "lines dropped\n");
}

TEST(EndSignals, AStackOverflowStillDropsTheLines) {
  SignalChild child("overflow");
  const int status = child.Process().WaitForExit();
  EXPECT_TRUE(DiedOf(status, SIGSEGV)) << "status " << status;
  EXPECT_EQ(child.Output(), "ready\nlines dropped\n");
}

// A signal stack left behind would be freed memory that a later handler runs on.
TEST(EndSignals, TheThreadsSignalStackComesBackWhenTheWatchGoes) {
  stack_t before{};
  ASSERT_EQ(sigaltstack(nullptr, &before), 0);
  {
    const platform::EndSignalWatch watch([](int) {});
    stack_t during{};
    ASSERT_EQ(sigaltstack(nullptr, &during), 0);
    EXPECT_NE(during.ss_sp, before.ss_sp);
  }
  stack_t after{};
  ASSERT_EQ(sigaltstack(nullptr, &after), 0);
  EXPECT_EQ(after.ss_sp, before.ss_sp);
  EXPECT_EQ(after.ss_size, before.ss_size);
  EXPECT_EQ(after.ss_flags, before.ss_flags);
}

}  // namespace
