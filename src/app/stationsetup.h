#pragma once

namespace app {

class Form1;

// The station set-up as the start-up runs it (Form1::mnuSetup_Click without the reload of the log):
// the dialog and what it sets, and the grid map named for the station. The start-up question that
// follows reads the log.
void SetUpStationAtStart(Form1& form);

}  // namespace app
