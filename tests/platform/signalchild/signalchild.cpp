// A program that watches the end signals as the program's run does, for the tests of what they do
// to a process of its own:
//
//   signalchild wait|slow|overflow|handled
//
// It notes a pseudo-terminal of its own as an open serial line, sets up the watch and prints
// "ready". Then:
//   wait      runs its event loop; the end dies of the signal
//   slow      the end prints "releasing" and never finishes, as a release stuck on a device
//   overflow  recurses without end on the GUI thread
//   handled   as wait, but SIGUSR2 and the first real-time signal were given a handler of their
//             own before the watch, as a library of the program would; it prints "handled"
// It leaves no core file, whichever signal ends it.
// Every request to drop a noted line's DTR and RTS is printed "lines dropped" as the system gets
// it, so the test sees what a transmitter on the line would.

#include "platform/endprogram.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

int notedLine = -1;

// Unbuffered, so that what the handlers print comes in order with the rest; safe in a handler.
void Say(const char* text) {
  [[maybe_unused]] const ssize_t written = write(STDOUT_FILENO, text, std::strlen(text));
}

// Deep enough frames that the stack runs out quickly; the flag keeps the compiler from seeing a
// recursion without end.
volatile bool deeper = true;

int Recurse(int depth) {
  volatile char frame[4096];
  frame[0] = static_cast<char>(depth);
  if (!deeper) return frame[0];
  return Recurse(depth + 1) + frame[0];
}

void LibrarysHandler(int) { Say("handled\n"); }

void HandleAsALibraryWould() {
  for (const int signal : {SIGUSR2, SIGRTMIN}) {
    struct sigaction action {};
    action.sa_handler = &LibrarysHandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
  }
}

}  // namespace

// Stands in for a serial driver: the drop the handlers ask of the noted line is printed before the
// request goes on to the system.
int ioctl(int descriptor, unsigned long request, ...) noexcept {
  va_list arguments;
  va_start(arguments, request);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  if (descriptor == notedLine && request == TIOCMBIC &&
      *static_cast<const int*>(argument) == (TIOCM_DTR | TIOCM_RTS)) {
    Say("lines dropped\n");
  }
  return static_cast<int>(syscall(SYS_ioctl, descriptor, request, argument));
}

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const QString way = argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (way != QLatin1String("wait") && way != QLatin1String("slow") && way != QLatin1String("overflow") &&
      way != QLatin1String("handled")) {
    std::fputs("usage: signalchild wait|slow|overflow|handled\n", stderr);
    return 2;
  }
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
  if (way == QLatin1String("handled")) HandleAsALibraryWould();
  notedLine = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (notedLine < 0) return 2;
  platform::detail::NoteLineDevice(notedLine, platform::detail::LineDevice::Serial);
  platform::EndSignalWatch watch([&way](int signal) {
    if (way == QLatin1String("slow")) {
      Say("releasing\n");
      for (;;) pause();
    }
    platform::EndProgramBySignal(signal);
  });
  Say("ready\n");
  if (way == QLatin1String("overflow")) return Recurse(0);
  return QCoreApplication::exec();
}
