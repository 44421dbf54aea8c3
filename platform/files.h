// Files and folders: listing, opening a file alone to overwrite and remove it, resolving folders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/random_source.h"
#include "platform/status.h"

namespace purgeon {

inline constexpr std::uint32_t kAttrReadOnly = 0x1;
inline constexpr std::uint32_t kAttrHidden = 0x2;
inline constexpr std::uint32_t kAttrSystem = 0x4;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;

struct DirEntry {
    std::wstring name;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;  // of a file; 0 for a folder
};

// A named data stream of a file (an alternate data stream on NTFS): "name" in "file:name".
struct StreamEntry {
    std::wstring name;
    std::uint64_t size = 0;
};

// Files shorter than this are held through the system's cache (see openExclusive).
inline constexpr std::uint64_t kCachedFileBytes = 4096;

// What an open handle tells of the file behind it.
struct FileFacts {
    std::uint32_t attributes = 0;
    std::uint32_t links = 1;  // names that share the file's data (hard links)
    std::uint64_t length = 0;
    // The path the system reaches the handle's file by, every link resolved, in the plain form
    // "C:\dir\name" or "\\server\share\dir\name" (no "\\?\" prefix).
    std::wstring finalPath;
    // Held through the system's cache (a small file): reads and writes of any offset and length.
    bool cached = false;
};

// A file held alone: nobody else may read, write or delete it while this lives. Opened as itself:
// a link is the link, never what it points to. Its reads and writes bypass the system's cache
// (where the system honours that: Wine reads and writes through its cache all the same), so each
// one starts at a multiple of ioUnit(), covers a multiple of it and uses memory aligned to it;
// a small file (FileFacts::cached) is held through the cache instead and takes any of them.
class ExclusiveFile {
public:
    virtual ~ExclusiveFile() = default;
    virtual Status facts(FileFacts& facts) = 0;
    // The alignment of every read and write: a power of two from 512 to 64 KiB (1 for a file held
    // through the cache).
    virtual std::size_t ioUnit() = 0;
    // A write past the end makes the file longer; setLength cuts it back.
    virtual Status writeAt(std::uint64_t offset, const void* data, std::size_t bytes) = 0;
    // Reads what the device holds; read falls short of bytes only at the end of the file.
    virtual Status readAt(std::uint64_t offset, void* data, std::size_t bytes,
                          std::size_t& read) = 0;
    virtual Status setLength(std::uint64_t length) = 0;
    // Hands what was written to the device, not just to the file system's cache.
    virtual Status flush() = 0;
    // The system's generator, for the keys of the random data written over the file.
    virtual RandomSource& random() = 0;
    // Clears the read-only, hidden and system bits, which would block writing or removal.
    virtual Status clearAttributes() = 0;
    // Gives the file another name in the same folder (a name alone, no separator). A name that is
    // taken fails with kErrorAlreadyExists (or kErrorFileExists) and changes nothing.
    virtual Status rename(const std::wstring& name) = 0;
    // Removes the name the file has now; it is gone once the handle closes.
    virtual Status remove() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens an existing file, or a link of either kind, alone for writing and removal. Never
    // creates a file. A file another program holds fails with kErrorSharingViolation (or
    // kErrorLockViolation) and is left exactly as it is. A file shorter than kCachedFileBytes is
    // held through the system's cache: NTFS keeps such a file's data inside its file record, and
    // only a write of the file's own length, in place, overwrites it there (an unbuffered write
    // rounded up to whole units first moves the data out and leaves the record's copy behind).
    // A named stream is opened as "path:name".
    virtual Status openExclusive(const std::wstring& path,
                                 std::unique_ptr<ExclusiveFile>& file) = 0;
    // The folder's final path in the plain form of FileFacts::finalPath: absolute, long names,
    // every junction and symbolic link resolved, no trailing separator (but "C:\" for a root).
    virtual Status resolveFolder(const std::wstring& path, std::wstring& finalPath) = 0;
    // Reads a whole (small) file.
    virtual Status readFile(const std::wstring& path, std::string& bytes) = 0;
    // Reads at most `most` bytes from offset on (fewer at the end of the file, none past it).
    virtual Status readPart(const std::wstring& path, std::uint64_t offset, std::size_t most,
                            std::string& bytes) = 0;
    // Puts new content in place of an existing file's, whole or not at all: written beside it,
    // handed to the device, then moved over it. With oldName, the old content first gets that
    // second name (a hard link), so the move frees none of its blocks and the caller can
    // overwrite them; when the file system cannot give it one, nothing is changed.
    virtual Status replaceFile(const std::wstring& path, const std::string& bytes,
                               const std::wstring& oldName) = 0;
    // The length of a file without opening it.
    virtual Status fileSize(const std::wstring& path, std::uint64_t& bytes) = 0;
    // Calls visit for every entry of the folder (path ending in "\"), "." and ".." included,
    // in the order the platform returns them. Fails when the folder cannot be listed at all.
    virtual Status listFolder(const std::wstring& folder,
                              const std::function<void(const DirEntry&)>& visit) = 0;
    // Calls visit for every named data stream of the file (not its own unnamed data). A file
    // system without such streams has none.
    virtual Status listStreams(const std::wstring& path,
                               const std::function<void(const StreamEntry&)>& visit) = 0;
    // Makes a new, empty file and closes it; a name that is taken fails with kErrorFileExists.
    virtual Status makeFile(const std::wstring& path) = 0;
    // Deletes the file by name; a read-only file fails with kErrorAccessDenied.
    virtual Status deleteFile(const std::wstring& path) = 0;
    // Clears every attribute bit (read-only, hidden, system, archive).
    virtual Status setNormalAttributes(const std::wstring& path) = 0;
    // Whether another program holds the file open so that nobody may delete it, as a running
    // browser holds its profile's lock file. Asking opens nothing for writing and changes
    // nothing. A missing file is not held.
    virtual Status heldOpen(const std::wstring& path, bool& held) = 0;
};

}  // namespace purgeon
