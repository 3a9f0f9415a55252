#pragma once

namespace platform {

// Ends the program at once: no window's unload handler runs, nothing after the call runs.
// Under a ScriptedEndProgram the call is only recorded and returns, so the caller must not
// rely on code after it never running.
void EndProgram();

// Test seam: while one of these lives, EndProgram counts its calls instead of ending the
// process. GUI thread only; one at a time.
class ScriptedEndProgram {
 public:
  ScriptedEndProgram();
  ~ScriptedEndProgram();
  ScriptedEndProgram(const ScriptedEndProgram&) = delete;
  ScriptedEndProgram& operator=(const ScriptedEndProgram&) = delete;

  int Calls() const { return calls_; }

 private:
  friend void EndProgram();
  int calls_ = 0;
};

}  // namespace platform
