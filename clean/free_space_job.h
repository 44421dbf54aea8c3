// A free-space wipe as the program runs it: one operation, its volume recorded while the fill
// runs, and a line in the log for what came of it.
#pragma once

#include <mutex>
#include <string>

#include "clean/clean_services.h"
#include "clean/operation.h"
#include "clean/run_log.h"
#include "wipe/free_space.h"

namespace purgeon {

// Wipes the free space of the volume at root (ending in "\") as one operation of the host. The
// volume is recorded while the fill runs, so that a start after an abrupt end finds what was
// left; fillFolders is held meanwhile, as the fill folders are worked on by one job at a time.
// Gives what the host's runOperation gives.
bool wipeFreeSpaceRecorded(CleanServices& services, OperationHost& operations, RunLog& log,
                           std::mutex& fillFolders, const std::wstring& root,
                           FreeSpaceResult& result);

}  // namespace purgeon
