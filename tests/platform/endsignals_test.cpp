#include "platform/endprogram.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "childprocess.h"

namespace {

// tests/platform/signalchild started with every signal at its default, as from a terminal, whatever
// this suite was started under (a script's background job ignores SIGINT and SIGQUIT, and a
// library of this process may have ignored SIGPIPE). With `ignored`, that signal is ignored, as
// `nohup corvane &` does SIGHUP and a script's `corvane &` SIGINT and SIGQUIT.
std::vector<std::string> SignalChildArguments(const std::string& way, const std::string& ignored = "") {
  std::vector<std::string> arguments{"/usr/bin/env", "--default-signal"};
  if (!ignored.empty()) arguments.push_back("--ignore-signal=" + ignored);
  arguments.insert(arguments.end(), {SIGNALCHILD_PATH, way});
  return arguments;
}

// The child with its output in a file.
class SignalChild {
 public:
  explicit SignalChild(const std::string& way, const std::string& ignored = "")
      : process_(SignalChildArguments(way, ignored), OutputPath()) {}

  bool WaitFor(const std::string& text) const {
    return peertesting::WaitUntil([&] { return Output().find(text) != std::string::npos; });
  }
  std::string Output() const {
    std::ifstream file(OutputPath());
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  // How often the child printed the line by then.
  int Count(const std::string& printed) const {
    std::istringstream lines(Output());
    int count = 0;
    for (std::string line; std::getline(lines, line);) count += line == printed ? 1 : 0;
    return count;
  }
  // How often DTR and RTS were dropped by then.
  int Drops() const { return Count("lines dropped"); }
  peertesting::ChildProcess& Process() { return process_; }

 private:
  std::string OutputPath() const { return folder_.Path("output"); }

  peertesting::ScratchFolder folder_;
  peertesting::ChildProcess process_;
};

bool DiedOf(int status, int signal) { return status != -1 && WIFSIGNALED(status) && WTERMSIG(status) == signal; }

// The ignored signal is sent before SIGTERM, so it is delivered first: had it been caught, its
// handler would have dropped the lines a second time, or its end have come first.
TEST(EndSignals, OneTheProgramWasStartedWithIgnoredStaysIgnoredAndSigtermStillEndsIt) {
  for (const auto& [signal, name] : {std::pair{SIGHUP, "HUP"}, std::pair{SIGINT, "INT"}, std::pair{SIGQUIT, "QUIT"}}) {
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

// Ctrl+\, a kill -USR1, a limit the process passed, a real-time signal that nothing uses: each
// ends the program as it would have, the lines dropped first.
TEST(EndSignals, EveryOtherSignalThatEndsAProcessDropsTheLinesBeforeTheEnd) {
  const int ending[] = {SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM,  SIGVTALRM, SIGPROF,  SIGXCPU,      SIGXFSZ,
                        SIGSYS,  SIGTRAP, SIGSTKFLT, SIGIO, SIGPWR,    SIGRTMIN, SIGRTMIN + 1, SIGRTMAX};
  for (const int signal : ending) {
    SCOPED_TRACE(strsignal(signal));
    SignalChild child("wait");
    ASSERT_TRUE(child.WaitFor("ready\n")) << child.Output();
    child.Process().Signal(signal);
    const int status = child.Process().WaitForExit();
    EXPECT_TRUE(DiedOf(status, signal)) << "status " << status;
    EXPECT_EQ(child.Output(), "ready\nlines dropped\n");
  }
}

// Ctrl+Z, or a background job that reads or writes its terminal: the program stops with the lines
// dropped, since it could not release them while stopped; continued, it goes on, and each stop
// after that drops them again.
TEST(EndSignals, ASignalThatStopsTheProgramDropsTheLinesFirstAndItGoesOnWhenContinued) {
  for (const int signal : {SIGTSTP, SIGTTIN, SIGTTOU}) {
    SCOPED_TRACE(strsignal(signal));
    SignalChild child("wait");
    ASSERT_TRUE(child.WaitFor("ready\n")) << child.Output();
    for (int stop = 1; stop <= 2; ++stop) {
      child.Process().Signal(signal);
      ASSERT_TRUE(child.Process().WaitForStop()) << "stop " << stop;
      EXPECT_EQ(child.Drops(), stop) << child.Output();
      child.Process().Signal(SIGCONT);
    }
    child.Process().Signal(SIGTERM);
    const int status = child.Process().WaitForExit();
    EXPECT_TRUE(DiedOf(status, SIGTERM)) << "status " << status;
    EXPECT_EQ(child.Drops(), 3) << child.Output();
  }
}

// A library that handles one for itself keeps it: the program goes on.
TEST(EndSignals, OneALibraryAlreadyHandlesStaysItsOwn) {
  SignalChild child("handled");
  ASSERT_TRUE(child.WaitFor("ready\n")) << child.Output();
  int handled = 0;
  for (const int signal : {SIGUSR2, SIGRTMIN}) {
    SCOPED_TRACE(strsignal(signal));
    child.Process().Signal(signal);
    ++handled;
    ASSERT_TRUE(peertesting::WaitUntil([&] { return child.Count("handled") == handled; })) << child.Output();
  }
  child.Process().Signal(SIGTERM);
  const int status = child.Process().WaitForExit();
  EXPECT_TRUE(DiedOf(status, SIGTERM)) << "status " << status;
  EXPECT_EQ(child.Drops(), 1) << child.Output();
}

// `corvane 2>&1 | tee log` whose terminal closed: tee is gone, and the program's next line of
// output, here the drop the end signal asks for, goes to a pipe that no one reads. The write
// fails, and the program goes on to the end it was asked for.
TEST(EndSignals, AWriteToAPipeWhoseReaderIsGoneFailsAndTheProgramGoesOn) {
  const peertesting::ScratchFolder folder;
  const std::string pipePath = folder.Path("output");
  ASSERT_EQ(mkfifo(pipePath.c_str(), 0600), 0) << std::strerror(errno);
  const int reader = open(pipePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0) << std::strerror(errno);
  peertesting::ChildProcess child(SignalChildArguments("wait"), pipePath);
  std::string output;
  const bool ready = peertesting::WaitUntil([&] {
    char bytes[256];
    const ssize_t got = read(reader, bytes, sizeof bytes);
    if (got > 0) output.append(bytes, static_cast<std::size_t>(got));
    return output.find("ready\n") != std::string::npos;
  });
  close(reader);
  ASSERT_TRUE(ready) << output;
  child.Signal(SIGTERM);
  const int status = child.WaitForExit();
  EXPECT_TRUE(DiedOf(status, SIGTERM)) << "status " << status;
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
