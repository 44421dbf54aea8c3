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

// Overwrites once and removes every file below each folder that exists (ending in "\") and each
// single file that exists; links are removed as themselves, never followed. Folders stay.
FileRemoval removeProfileFiles(FileSystem& files, const std::vector<std::wstring>& folders,
                               const std::vector<std::wstring>& singleFiles,
                               std::stop_token stop = {});

// Lists the files below a folder ("" when missing) without touching them; bytes adds up sizes.
FoundFileList listProfileFiles(FileSystem& files, const std::wstring& folder,
                               std::uint64_t* bytes = nullptr);

}  // namespace purgeon
