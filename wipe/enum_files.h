// Listing every file below a folder into the shared list of found paths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

namespace purgeon {

// The found paths: entry 0 stays empty, the paths run from entry 1.
using FoundFileList = std::vector<std::wstring>;

// Back to the single empty entry 0.
void resetFoundFiles(FoundFileList& found);

// A folder whose files are missing from a listing, and why.
struct UnlistedFolder {
    std::wstring path;  // ends in "\"
    Status status;
    bool operator==(const UnlistedFolder&) const = default;
};

// The folder as a listing names it: with a trailing "\" ("C:\" and "C:\x" alike).
std::wstring listingPath(const std::wstring& folder);

// Appends the full path of every file below the folder (with or without a trailing "\"), depth
// first in the order the platform lists entries. Links (junctions, symbolic links, mount points)
// are neither followed nor listed: only what really lies below the folder is found. When bytes is
// given, the sizes of the files found are added to it. Gives the folders, the given one included,
// that could not be listed; the listing goes on without them.
[[nodiscard]] std::vector<UnlistedFolder> EnumFiles(FileSystem& files, const std::wstring& folder,
                                                    FoundFileList& found,
                                                    std::uint64_t* bytes = nullptr);

// The part of a text before its first NUL character.
std::wstring StripNulls(const std::wstring& text);

}  // namespace purgeon
