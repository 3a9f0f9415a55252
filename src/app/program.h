#pragma once

// The program's run, as main starts it once its application object exists, and its ways out.
namespace app {

// The start-up (the logo, the folders, the main window's load with the station set-up), then the
// windows' events until the main window ends the run. Returns the program's exit code: 1 when the
// start-up never reached the main window. Every way out lets go of the transmitter and the
// devices first (ReleaseForProgramEnd): the run's own end, File Exit and the set-up's Cancel
// (ExitProgram), SIGTERM, SIGINT and SIGHUP, and an exit() from anywhere while it runs (there the
// keyer library closes its device itself); the signals of a fatal error drop the keying lines.
int RunProgram();

// Ends the run once the event being handled returns. Outside a run it does nothing.
void EndRun();

// Lets go of whatever reaches the transmitter or holds a device: every serial port's DTR and RTS
// dropped and the port closed (its lock file goes with it), every printer port written to left
// idle and let go of, the keyer device closed. A step that fails is traced and skipped.
void ReleaseForProgramEnd();

// The release, then the program ends at once, without the windows' unload handlers.
void ExitProgram();

}  // namespace app
