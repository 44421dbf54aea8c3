// The file system over the Win32 API: listing, sizes, deletion, exclusive opening, final paths.
#pragma once

#include <windows.h>

#include "platform/files.h"

namespace purgeon::win32 {

// Moves the handle's file pointer to offset, where the next read or write goes. Reads and writes
// go there rather than at an OVERLAPPED offset, which under Wine posts a completion to its server
// on every call, a round trip of its own.
Status moveFilePointer(HANDLE file, std::uint64_t offset);

// Every path goes through extendedPath, so that long paths work too. openExclusive and
// resolveFolder live in exclusive_file_win32.cpp.
class Win32FileSystem : public FileSystem {
public:
    Status openExclusive(const std::wstring& path, std::unique_ptr<ExclusiveFile>& file) override;
    Status resolveFolder(const std::wstring& path, std::wstring& finalPath) override;
    Status readFile(const std::wstring& path, std::string& bytes) override;
    Status readPart(const std::wstring& path, std::uint64_t offset, std::size_t most,
                    std::string& bytes) override;
    Status fileSize(const std::wstring& path, std::uint64_t& bytes) override;
    Status listFolder(const std::wstring& folder,
                      const std::function<void(const DirEntry&)>& visit) override;
    Status listStreams(const std::wstring& path,
                       const std::function<void(const StreamEntry&)>& visit) override;
    Status makeFile(const std::wstring& path) override;
    Status deleteFile(const std::wstring& path) override;
    Status replaceFile(const std::wstring& path, const std::string& bytes,
                       const std::wstring& oldName) override;
    Status heldOpen(const std::wstring& path, bool& held) override;
    Status setNormalAttributes(const std::wstring& path) override;
};

}  // namespace purgeon::win32
