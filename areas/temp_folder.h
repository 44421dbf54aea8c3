// Clearing the user's temporary folder with one shredding pass per file.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/system_folders.h"
#include "wipe/enum_files.h"
#include "wipe/folder_guard.h"
#include "wipe/shred_batch.h"
#include "wipe/wipe_report.h"

namespace purgeon {

// The longest temporary path the clearing accepts, its terminating NUL included.
inline constexpr size_t kTempPathBuffer = 100;

struct TempClearing {
    bool folderGiven = false;              // the system named a usable temporary folder
    FolderCheck check;                     // what the guard said of it
    WipeTally tally;                       // what became of each file below it
    std::vector<UnlistedFolder> unlisted;  // folders below it whose files were not reached
};

// How the clearing runs: files in flight at once, when to stop, where progress goes.
struct TempClearingControl {
    std::size_t threads = 1;
    std::stop_token stop;
    BatchProgressSink progress;
};

// Shreds every file below the temporary folder with one pass; folders stay. Only a dedicated
// temporary folder is touched (see FolderUse::temporary); the files are listed below its final
// path, and each must still be there when it is opened. A file whose data has another name is
// only unlinked, and a file in use is left alone.
TempClearing ClearTempFolder(FileSystem& files, SystemFolders& folders, FoundFileList& found,
                             const TempClearingControl& control = {});

// One line for the log or a box: what the clearing did, or why it did nothing.
std::wstring tempClearingSummary(const TempClearing& clearing);

}  // namespace purgeon
