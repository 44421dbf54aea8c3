// Clearing the user's temporary folder with one shredding pass per file.
#pragma once

#include <string>

#include "platform/files.h"
#include "wipe/enum_files.h"

namespace purgeon {

// The longest temporary path the clearing accepts, its terminating NUL included.
inline constexpr size_t kTempPathBuffer = 100;

// False for a path that is no dedicated temporary folder: a drive root, the user's profile
// folder, the Windows folder, or a folder that holds one of them.
bool isClearableTempFolder(const std::wstring& temp, const std::wstring& profile,
                           const std::wstring& windows);

// Shreds every file below the temporary folder with one pass; folders stay. Does nothing when the
// system gives no usable temporary folder.
void ClearTempFolder(FileSystem& files, SystemFolders& folders, FoundFileList& found);

}  // namespace purgeon
