#include "platform/endprogram.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
ScriptedEndProgram* scripted = nullptr;
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

ScriptedEndProgram::ScriptedEndProgram() { scripted = this; }

ScriptedEndProgram::~ScriptedEndProgram() { scripted = nullptr; }

}  // namespace platform
