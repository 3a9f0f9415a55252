#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace platform {

// Ends the program at once: no window's unload handler runs, nothing after the call runs.
// Under a ScriptedEndProgram the call is only recorded and returns, so the caller must not
// rely on code after it never running.
void EndProgram();

// Ends the program as the termination signal would have, once the caller has let go of what it
// holds: the process dies of the signal. Under a ScriptedEndProgram the signal is only recorded
// and the call returns.
void EndProgramBySignal(int signal);

// Test seam: while one of these lives, EndProgram counts its calls and EndProgramBySignal notes
// its signals instead of ending the process. GUI thread only; one at a time.
class ScriptedEndProgram {
 public:
  ScriptedEndProgram();
  ~ScriptedEndProgram();
  ScriptedEndProgram(const ScriptedEndProgram&) = delete;
  ScriptedEndProgram& operator=(const ScriptedEndProgram&) = delete;

  int Calls() const { return calls_; }
  const std::vector<int>& Signals() const { return signals_; }

 private:
  friend void EndProgram();
  friend void EndProgramBySignal(int signal);
  int calls_ = 0;
  std::vector<int> signals_;
};

// While one lives (the program's run), the signals that end a program do not leave the
// transmitter keyed. SIGTERM, SIGINT and SIGHUP (a desktop's log-out) drop every keying line in
// the handler itself, then run `end` with the signal from the event loop at its next pass; a
// second one before `end` has returned ends the program at once. One the program was started
// with ignored (nohup's SIGHUP, a script's background job's SIGINT) stays ignored. The signals of
// a fatal error (SIGABRT, as abort and a fatal Qt error raise it, SIGSEGV, SIGBUS, SIGFPE, SIGILL)
// drop the lines and end the program as they would have; on the GUI thread their handler runs on
// a stack of its own, so a stack overflow drops them too. So do the other signals whose default
// action ends a process (SIGQUIT, SIGUSR1, the timer and limit signals, the real-time signals the
// C library leaves free...), save one the program was started with ignored or a library already
// handles. The signals that stop a program (SIGTSTP from Ctrl+Z, SIGTTIN, SIGTTOU) drop the lines
// and then stop it, so a stopped program never holds the transmitter; continued, it goes on
// unkeyed. SIGPIPE is ignored: a write to a pipe or socket whose reader is gone fails with EPIPE
// and the program goes on. The earlier handling of every signal, and the thread's earlier signal
// stack, come back when it goes. GUI thread; one at a time.
class EndSignalWatch {
 public:
  explicit EndSignalWatch(std::function<void(int signal)> end);
  ~EndSignalWatch();
  EndSignalWatch(const EndSignalWatch&) = delete;
  EndSignalWatch& operator=(const EndSignalWatch&) = delete;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Whether a termination signal waits for the event loop to end the program. A job that holds the
// GUI thread while it keys (a CW character) stops at once instead of keying on until then.
bool EndSignalPending();

namespace detail {

// The open devices whose keying lines the signal handlers drop without the objects that own them.
enum class LineDevice { Serial, PrinterPort };

// Noted by a device's owner once it is open, forgotten before it closes. GUI thread.
void NoteLineDevice(int descriptor, LineDevice kind);
void ForgetLineDevice(int descriptor);

// Drops the lines of every noted device: a serial line's DTR and RTS low, a printer port's
// control register idle. System calls only, no lock and no allocation, so a signal handler may
// call it; a failure is ignored.
void DropLinesNow();

}  // namespace detail

}  // namespace platform
