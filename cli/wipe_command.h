// /wipe and /wipefreespace: paths wiped as the Secure Wipe tab wipes them, and a volume's free
// space.
#pragma once

#include "cli/command_run.h"

namespace purgeon {

// Each path as the Secure Wipe tab wipes it, at the stored shredding level: a folder through the
// folder guard and every file below it, a file alone. Asks first only when the run was given a
// question to ask (a start by the Explorer): Cancel wipes nothing and gives kExitCancelled. What
// was wiped is never named, on the console (which may be a file) nor in the log: a path is told
// by its place on the line. What was not wiped is named on the console, with why; the log gets
// counts only. Gives the exit code.
int runWipeSwitch(CommandRun& run);

// The free space of the volume the folder names, with no question. Gives the exit code.
int runFreeSpaceSwitch(CommandRun& run);

}  // namespace purgeon
