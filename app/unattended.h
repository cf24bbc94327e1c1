#pragma once
// The program started with switches, for scripts and deployment tools: a check or a repair
// that never creates a window and answers with its exit code. The trace goes to the console
// it was started from and to the log file the command line names.
#include "app/commandline.h"

enum TExitCode : int {
  ecInOrder = 0,           // /check: nothing to repair; /repair: the layer works (again)
  ecRepairNeeded = 1,      // /check: a repair is needed; /repair: nothing it did helped
  ecWrongCommandLine = 2,
  ecWindowsTooOld = 3,     // older than Windows 2000
  ecNoAdministrator = 4,
  ecAnotherCopy = 5,       // a wizard or another repair runs
  ecLogNotWritable = 6,
  ecRestartRequired = 3010,  // the repair takes effect when Windows restarts
};

// Runs the check or repair `line` asks for, or shows the usage; the exit code. A mode of
// Wizard is not for it.
int RunUnattended(const TCommandLine& line);
