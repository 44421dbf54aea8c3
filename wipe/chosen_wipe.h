// Wiping what the user chose, as the Secure Wipe tab and the command line both do: one file, or
// every file below a folder that the folder guard allowed.
#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "platform/files.h"
#include "wipe/enum_files.h"
#include "wipe/index_refill.h"
#include "wipe/shred.h"
#include "wipe/shred_batch.h"

namespace purgeon {

// The method of the shredding level: "Quick( 3 passes)", or "US DOD (7passes)".
WipeMethod chosenWipeMethod(bool quick);

// Shreds one chosen file, which must be what its folder holds under that name: a link swapped in
// is not followed. It is renamed before its removal (ShredRequest::hideName), and its folder's
// index refilled after it with a name as long as its own, then with long names (RefillIndexes; a
// failure there makes it nameKept). With later, the long names are left to the caller: the
// folder is added there, to be refilled once every chosen file in it is wiped. Refilled while
// other chosen files of the folder still wait, the index would move their names about and leave
// copies of them behind. The progress counts one file, and its length once a pass.
ShredResult WipeChosenFile(FileSystem& files, const std::wstring& path, WipeMethod method,
                           std::stop_token stop, const BatchProgressSink& progress,
                           RemovedNames* later = nullptr);

struct FolderWipe {
    std::vector<UnlistedFolder> unlisted;  // folders whose files the listing did not reach
    BatchResult result;
    Status refilled;  // the first failure refilling the folders' indexes
};

// Lists every file below the folder (its final path, as the folder guard gave it) afresh into
// found and shreds them as the request says, each renamed before its removal; then refills the
// index of every folder that lost names (RefillIndexes).
FolderWipe WipeChosenFolder(FileSystem& files, FoundFileList& found, const std::wstring& folder,
                            const BatchRequest& request);

}  // namespace purgeon
