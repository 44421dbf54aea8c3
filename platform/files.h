// Files and folders: listing a folder, deleting a file, resetting attributes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace purgeon {

inline constexpr std::uint32_t kAttrReadOnly = 0x1;
inline constexpr std::uint32_t kAttrHidden = 0x2;
inline constexpr std::uint32_t kAttrSystem = 0x4;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;

// How a file operation ended, as far as the logic tells cases apart.
enum class FileResult { ok, accessDenied, notFound, failed };

struct DirEntry {
    std::wstring name;
    std::uint32_t attributes = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Calls visit for every entry of the folder (path ending in "\"), "." and ".." included,
    // in the order the platform returns them. False when the folder cannot be listed.
    virtual bool listFolder(const std::wstring& folder,
                            const std::function<void(const DirEntry&)>& visit) = 0;
    virtual FileResult deleteFile(const std::wstring& path) = 0;
    // Clears every attribute bit (read-only, hidden, system, archive).
    virtual FileResult setNormalAttributes(const std::wstring& path) = 0;
};

}  // namespace purgeon
