#include "platform/endprogram.h"

#include "platform/printerport.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace platform {

namespace {

ScriptedEndProgram* scripted = nullptr;

// The noted devices, in slots a signal handler reads without a lock: each holds its descriptor + 1,
// so a free slot is 0.
constexpr std::size_t kLineSlots = 64;
static_assert(std::atomic<int>::is_always_lock_free);
std::array<std::atomic<int>, kLineSlots> lineSlots{};
std::array<std::atomic<detail::LineDevice>, kLineSlots> lineKinds{};

constexpr std::array kEndSignals = {SIGTERM, SIGINT, SIGHUP};
constexpr std::array kFatalSignals = {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL};
// The rest of the signals whose default action ends the process: nothing of the program raises
// them, so they come from outside (a kill, Ctrl+\, a limit passed) and end it at once, as would
// have happened, once the lines are down.
constexpr std::array kOtherEndingSignals = {SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU,
                                            SIGXFSZ, SIGSYS,  SIGTRAP, SIGSTKFLT, SIGIO, SIGPWR};
// The signals that stop the program: Ctrl+Z, a background job that reads or writes its terminal.
constexpr std::array kStopSignals = {SIGTSTP, SIGTTIN, SIGTTOU};
constexpr std::size_t kHandlerStackBytes = 64 * 1024;

// The watch's pipe, written by the handlers; -1 while no watch lives.
std::atomic<int> signalPipe{-1};
volatile std::sig_atomic_t endSignalPending = 0;

void EndSignalHandler(int signal) {
  const int savedErrno = errno;
  detail::DropLinesNow();
  if (endSignalPending != 0 || signalPipe.load() < 0) {
    // The event loop has not come to the first one: the program ends now, of this signal.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
  } else {
    endSignalPending = signal;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(signalPipe.load(), &byte, 1);
  }
  errno = savedErrno;
}

// Installed to act once: the signal raised again meets the default action as the handler returns.
// It may run on any thread, so it does only what a handler may.
void FatalSignalHandler(int signal) {
  detail::DropLinesNow();
  std::raise(signal);
}

// Stopped, the program could not release the transmitter for as long as it stays so: the lines
// drop, then it stops, and once continued it goes on unkeyed. SIGSTOP stops it from within the
// handler, which stays in place for the next stop.
void StopSignalHandler(int) {
  const int savedErrno = errno;
  detail::DropLinesNow();
  std::raise(SIGSTOP);
  errno = savedErrno;
}

using SignalHandler = void (*)(int);

struct sigaction Install(int signal, SignalHandler handler, int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = flags;
  struct sigaction previous {};
  sigaction(signal, &action, &previous);
  return previous;
}

SignalHandler CurrentHandler(int signal) {
  struct sigaction current {};
  sigaction(signal, nullptr, &current);
  return current.sa_handler;
}

// They and the real-time signals the C library leaves to programs, as it reports them at run time:
// it keeps the first few for its threads and moves SIGRTMIN past them.
std::vector<int> OtherEndingSignals() {
  std::vector<int> ending(kOtherEndingSignals.begin(), kOtherEndingSignals.end());
  for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) ending.push_back(signal);
  return ending;
}

}  // namespace

void EndProgram() {
  if (scripted) {
    ++scripted->calls_;
    return;
  }
  // _Exit rather than exit: the windows and their Qt objects are never torn down, as an
  // immediate end requires, and no static destructor runs against a live application.
  std::fflush(nullptr);
  std::_Exit(0);
}

void EndProgramBySignal(int signal) {
  if (scripted) {
    scripted->signals_.push_back(signal);
    return;
  }
  std::fflush(nullptr);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
  std::_Exit(128 + signal);  // a signal whose default is not to end
}

bool EndSignalPending() { return endSignalPending != 0; }

ScriptedEndProgram::ScriptedEndProgram() { scripted = this; }

ScriptedEndProgram::~ScriptedEndProgram() { scripted = nullptr; }

struct EndSignalWatch::State {
  std::function<void(int)> end;
  int pipe[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier;
  // Every signal the watch took over, with its earlier handling.
  std::vector<std::pair<int, struct sigaction>> previous;
  // The fatal signals' handler runs here, so that a stack overflow's SIGSEGV still drops the lines.
  std::vector<char> handlerStack;
  stack_t previousStack{};
};

EndSignalWatch::EndSignalWatch(std::function<void(int signal)> end) : state_(std::make_unique<State>()) {
  state_->end = std::move(end);
  endSignalPending = 0;
  if (pipe2(state_->pipe, O_CLOEXEC | O_NONBLOCK) == 0) {
    state_->notifier = std::make_unique<QSocketNotifier>(state_->pipe[0], QSocketNotifier::Read);
    QObject::connect(state_->notifier.get(), &QSocketNotifier::activated, [state = state_.get()] {
      unsigned char byte = 0;
      if (read(state->pipe[0], &byte, 1) != 1) return;
      // Still pending while the release runs, so that a second signal ends the program at once.
      state->end(byte);
      endSignalPending = 0;
    });
    signalPipe.store(state_->pipe[1]);
  }
  state_->handlerStack.resize(std::max(static_cast<std::size_t>(SIGSTKSZ), kHandlerStackBytes));
  stack_t handlerStack{};
  handlerStack.ss_sp = state_->handlerStack.data();
  handlerStack.ss_size = state_->handlerStack.size();
  sigaltstack(&handlerStack, &state_->previousStack);
  const auto takeOver = [this](int signal, SignalHandler handler, int flags) {
    state_->previous.emplace_back(signal, Install(signal, handler, flags));
  };
  // One the program was started with ignored (nohup's SIGHUP, a script's background job's SIGINT)
  // stays ignored: the operator asked that it not end the program.
  for (const int signal : kEndSignals) {
    if (CurrentHandler(signal) != SIG_IGN) takeOver(signal, &EndSignalHandler, SA_RESTART);
  }
  for (const int signal : kFatalSignals) takeOver(signal, &FatalSignalHandler, SA_RESETHAND | SA_ONSTACK);
  // Only where the default action still stands: an ignored one stays ignored, and one that a
  // library already handles is that library's.
  for (const int signal : OtherEndingSignals()) {
    if (CurrentHandler(signal) == SIG_DFL) takeOver(signal, &FatalSignalHandler, SA_RESETHAND | SA_ONSTACK);
  }
  for (const int signal : kStopSignals) {
    if (CurrentHandler(signal) == SIG_DFL) takeOver(signal, &StopSignalHandler, SA_RESTART | SA_ONSTACK);
  }
  // A reader gone from the program's output (a `| tee` whose terminal closed) fails the write
  // with EPIPE instead of ending the program in the middle of a trace line.
  if (CurrentHandler(SIGPIPE) == SIG_DFL) takeOver(SIGPIPE, SIG_IGN, 0);
}

EndSignalWatch::~EndSignalWatch() {
  for (const auto& [signal, previous] : state_->previous) sigaction(signal, &previous, nullptr);
  sigaltstack(&state_->previousStack, nullptr);
  signalPipe.store(-1);
  state_->notifier.reset();
  for (const int end : state_->pipe) {
    if (end >= 0) close(end);
  }
}

namespace detail {

void NoteLineDevice(int descriptor, LineDevice kind) {
  if (descriptor < 0) return;
  for (std::size_t slot = 0; slot < kLineSlots; ++slot) {
    if (lineSlots[slot].load() != 0) continue;
    lineKinds[slot].store(kind);
    lineSlots[slot].store(descriptor + 1);
    return;
  }
}

void ForgetLineDevice(int descriptor) {
  if (descriptor < 0) return;
  for (std::atomic<int>& slot : lineSlots) {
    if (slot.load() == descriptor + 1) slot.store(0);
  }
}

void DropLinesNow() {
  for (std::size_t slot = 0; slot < kLineSlots; ++slot) {
    const int descriptor = lineSlots[slot].load() - 1;
    if (descriptor < 0) continue;
    if (lineKinds[slot].load() == LineDevice::Serial) {
      const int lines = TIOCM_DTR | TIOCM_RTS;
      ioctl(descriptor, TIOCMBIC, &lines);
    } else {
      unsigned char idle = PrinterControlIdle;
      ioctl(descriptor, PPWCONTROL, &idle);
    }
  }
}

}  // namespace detail

}  // namespace platform
