// Removing a profile's plain files (sessions, caches) with one overwriting pass each.
#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "platform/files.h"
#include "wipe/enum_files.h"
#include "wipe/wipe_report.h"

namespace purgeon {

struct FileRemoval {
    WipeTally tally;
    std::uint64_t bytes = 0;               // what the files listed held
    std::vector<UnlistedFolder> unlisted;  // folders whose files were not reached
    void add(const FileRemoval& other);
};

// What a removal of folders and single files would take, found without touching any file.
struct ProfileFiles {
    FoundFileList found;                   // from its second slot on (resetFoundFiles)
    std::uint64_t bytes = 0;               // what the files hold
    std::vector<UnlistedFolder> unlisted;  // folders that are there but could not be listed whole
    std::size_t count() const { return found.empty() ? 0 : found.size() - 1; }
};

// Every file below each folder that exists (ending in "\") and each single file that exists.
ProfileFiles findProfileFiles(FileSystem& files, const std::vector<std::wstring>& folders,
                              const std::vector<std::wstring>& singleFiles = {});

// Overwrites once and removes what findProfileFiles finds; links are removed as themselves,
// never followed. Folders stay.
FileRemoval removeProfileFiles(FileSystem& files, const std::vector<std::wstring>& folders,
                               const std::vector<std::wstring>& singleFiles,
                               std::stop_token stop = {});

}  // namespace purgeon
