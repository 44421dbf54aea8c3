// Files and folders: listing a folder, deleting a file, resetting attributes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
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

// A file open for overwriting in place. Closing is releasing it.
class WritableFile {
public:
    virtual ~WritableFile() = default;
    virtual bool length(std::uint64_t& bytes) = 0;
    virtual bool writeAt(std::uint64_t offset, const void* data, std::size_t bytes) = 0;
    // Hands what was written to the device, not just to the file system's cache.
    virtual bool flush() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens for reading and writing without truncating; a missing file is created empty (its
    // folder must exist). Empty when the file cannot be opened, for instance while another
    // program holds it without sharing.
    virtual std::unique_ptr<WritableFile> openForOverwrite(const std::wstring& path) = 0;
    virtual bool attributes(const std::wstring& path, std::uint32_t& attributes) = 0;
    virtual FileResult setAttributes(const std::wstring& path, std::uint32_t attributes) = 0;
    // Reads a whole (small) file; false when it cannot be opened or read.
    virtual bool readFile(const std::wstring& path, std::string& bytes) = 0;
    // The length of a file without opening it; 0 or the system's error code.
    virtual long fileSize(const std::wstring& path, std::uint64_t& bytes) = 0;
    // Calls visit for every entry of the folder (path ending in "\"), "." and ".." included,
    // in the order the platform returns them. False when the folder cannot be listed.
    virtual bool listFolder(const std::wstring& folder,
                            const std::function<void(const DirEntry&)>& visit) = 0;
    virtual FileResult deleteFile(const std::wstring& path) = 0;
    // Clears every attribute bit (read-only, hidden, system, archive).
    virtual FileResult setNormalAttributes(const std::wstring& path) = 0;
};

// Folders the system names for the current user.
class SystemFolders {
public:
    virtual ~SystemFolders() = default;
    // The temporary folder, ending in "\"; empty when the system gives none.
    virtual std::wstring tempPath() = 0;
    virtual std::wstring profileFolder() = 0;
    virtual std::wstring windowsFolder() = 0;
};

}  // namespace purgeon
