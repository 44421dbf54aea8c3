// Depth-first file enumeration without following links.
#include "wipe/enum_files.h"

#include <utility>

namespace purgeon {

void resetFoundFiles(FoundFileList& found) { found.assign(1, std::wstring()); }

std::wstring listingPath(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L"\\";
}

std::wstring StripNulls(const std::wstring& text) { return text.substr(0, text.find(L'\0')); }

namespace {

struct FolderLevel {
    std::wstring path;  // ends in "\"
    std::vector<DirEntry> entries;
    size_t next = 0;
};

FolderLevel openLevel(FileSystem& files, std::wstring path, std::vector<UnlistedFolder>& unlisted) {
    FolderLevel level{std::move(path), {}, 0};
    const Status listed = files.listFolder(level.path, [&](const DirEntry& entry) {
        DirEntry stripped{StripNulls(entry.name), entry.attributes, entry.size};
        if (!stripped.name.empty()) level.entries.push_back(std::move(stripped));
    });
    if (!listed) unlisted.push_back({level.path, listed});
    return level;
}

}  // namespace

std::vector<UnlistedFolder> EnumFiles(FileSystem& files, const std::wstring& folder,
                                      FoundFileList& found, std::uint64_t* bytes) {
    if (found.empty()) resetFoundFiles(found);
    const std::wstring root = listingPath(folder);

    // An explicit stack of open levels instead of recursion, so depth cannot exhaust the stack;
    // the order is the same: a sub-folder's files come before its parent's later entries.
    std::vector<UnlistedFolder> unlisted;
    std::vector<FolderLevel> stack;
    stack.push_back(openLevel(files, root, unlisted));
    while (!stack.empty()) {
        FolderLevel& level = stack.back();
        if (level.next == level.entries.size()) {
            stack.pop_back();
            continue;
        }
        const DirEntry entry = level.entries[level.next++];
        if (entry.attributes & kAttrReparsePoint) continue;
        if (entry.attributes & kAttrDirectory) {
            if (entry.name == L"." || entry.name == L"..") continue;
            std::wstring sub = level.path + entry.name;
            if (sub.back() != L'\\') sub += L'\\';
            stack.push_back(openLevel(files, std::move(sub), unlisted));
            continue;
        }
        found.push_back(level.path + entry.name);
        if (bytes) *bytes += entry.size;
    }
    return unlisted;
}

}  // namespace purgeon
