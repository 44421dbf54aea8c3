// /clean and /preview: the areas named, through the one run loop the automatic runs take, each
// area's line told as soon as it is done.
#pragma once

#include "cli/command_run.h"

namespace purgeon {

int runCleanSwitch(CommandRun& run);
int runPreviewSwitch(CommandRun& run);

}  // namespace purgeon
