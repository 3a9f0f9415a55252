#pragma once

// The program's run, as main starts it once its application object exists.
namespace app {

// The start-up (the logo, the folders, the main window's load with the station set-up), then the
// windows' events until the main window ends the run. Returns the program's exit code: 1 when the
// start-up never reached the main window.
int RunProgram();

// Ends the run once the event being handled returns. Outside a run it does nothing.
void EndRun();

}  // namespace app
