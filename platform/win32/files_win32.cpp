// Listing folders and streams, reading, measuring, making and deleting files, resetting attributes.
#include "platform/win32/files_win32.h"

#include "platform/win32/extended_path.h"
#include "platform/win32/win32_status.h"

namespace purgeon::win32 {

namespace {

std::uint64_t fileLength(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// The largest file readFile takes into memory.
constexpr LONGLONG kLargestRead = 1 << 24;

}  // namespace

Status Win32FileSystem::listFolder(const std::wstring& folder,
                                   const std::function<void(const DirEntry&)>& visit) {
    WIN32_FIND_DATAW data{};
    UniqueFind find(::FindFirstFileW(extendedPath(folder + L"*").c_str(), &data));
    if (!find) return lastError();
    do {
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        visit({data.cFileName, data.dwFileAttributes,
               isFolder ? 0 : fileLength(data.nFileSizeHigh, data.nFileSizeLow)});
    } while (::FindNextFileW(find.get(), &data));
    const DWORD ended = ::GetLastError();
    return ended == ERROR_NO_MORE_FILES ? Status::success() : Status::error(ended);
}

Status Win32FileSystem::readFile(const std::wstring& path, std::string& bytes) {
    UniqueFile file(::CreateFileW(extendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return lastError();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return lastError();
    if (size.QuadPart > kLargestRead) return Status::error(ERROR_FILE_TOO_LARGE);
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return lastError();
    bytes.resize(read);
    return Status::success();
}

Status moveFilePointer(HANDLE file, std::uint64_t offset) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return callStatus(::SetFilePointerEx(file, to, nullptr, FILE_BEGIN));
}

Status Win32FileSystem::readPart(const std::wstring& path, std::uint64_t offset, std::size_t most,
                                 std::string& bytes) {
    UniqueFile file(::CreateFileW(extendedPath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return lastError();
    if (most > static_cast<std::size_t>(kLargestRead)) return Status::error(ERROR_FILE_TOO_LARGE);
    bytes.assign(most, '\0');
    if (Status moved = moveFilePointer(file.get(), offset); !moved) return moved;
    DWORD read = 0;
    if (most > 0 && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(most), &read, nullptr))
        return lastError();
    bytes.resize(read);
    return Status::success();
}

Status Win32FileSystem::fileSize(const std::wstring& path, std::uint64_t& bytes) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(extendedPath(path).c_str(), GetFileExInfoStandard, &data))
        return lastError();
    bytes = fileLength(data.nFileSizeHigh, data.nFileSizeLow);
    return Status::success();
}

Status Win32FileSystem::listStreams(const std::wstring& path,
                                    const std::function<void(const StreamEntry&)>& visit) {
    WIN32_FIND_STREAM_DATA data{};
    UniqueFind find(
        ::FindFirstStreamW(extendedPath(path).c_str(), FindStreamInfoStandard, &data, 0));
    if (!find) {
        const DWORD error = ::GetLastError();
        // No stream at all (Wine answers so for every file), or a file system without streams.
        if (error == ERROR_HANDLE_EOF || error == ERROR_INVALID_PARAMETER ||
            error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED)
            return Status::success();
        return Status::error(static_cast<long>(error));
    }
    do {
        // ":name:$DATA"; the file's own data is "::$DATA".
        const std::wstring name = data.cStreamName;
        const std::size_t end = name.rfind(L':');
        if (name.size() > 1 && name[0] == L':' && end != std::wstring::npos && end > 1)
            visit({name.substr(1, end - 1), static_cast<std::uint64_t>(data.StreamSize.QuadPart)});
    } while (::FindNextStreamW(find.get(), &data));
    const DWORD ended = ::GetLastError();
    return ended == ERROR_HANDLE_EOF ? Status::success() : Status::error(ended);
}

Status Win32FileSystem::makeFile(const std::wstring& path) {
    const UniqueFile file(::CreateFileW(extendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? Status::success() : lastError();
}

Status Win32FileSystem::deleteFile(const std::wstring& path) {
    return callStatus(::DeleteFileW(extendedPath(path).c_str()));
}

Status Win32FileSystem::replaceFile(const std::wstring& path, const std::string& bytes,
                                    const std::wstring& oldName) {
    const std::wstring beside = path + L".purgeon-new";
    {
        UniqueFile file(::CreateFileW(extendedPath(beside).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return lastError();
        DWORD written = 0;
        const bool wrote =
            bytes.empty() || (::WriteFile(file.get(), bytes.data(),
                                          static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                              written == bytes.size());
        if (!wrote || !::FlushFileBuffers(file.get())) {
            const Status failed = lastError();
            file.reset();
            ::DeleteFileW(extendedPath(beside).c_str());
            return failed;
        }
    }
    if (!oldName.empty() &&
        !::CreateHardLinkW(extendedPath(oldName).c_str(), extendedPath(path).c_str(), nullptr)) {
        const Status failed = lastError();
        ::DeleteFileW(extendedPath(beside).c_str());
        return failed;
    }
    if (!::MoveFileExW(extendedPath(beside).c_str(), extendedPath(path).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const Status failed = lastError();
        ::DeleteFileW(extendedPath(beside).c_str());
        if (!oldName.empty()) ::DeleteFileW(extendedPath(oldName).c_str());
        return failed;
    }
    return Status::success();
}

Status Win32FileSystem::heldOpen(const std::wstring& path, bool& held) {
    held = false;
    // Asking for the right to delete, sharing everything: a holder that does not share deletion
    // (a browser's lock file) makes this a sharing violation. Nothing is deleted.
    UniqueFile file(::CreateFileW(
        extendedPath(path).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
        nullptr));
    if (file) return Status::success();
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Status::success();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
        held = true;
        return Status::success();
    }
    return Status::error(error);
}

Status Win32FileSystem::setNormalAttributes(const std::wstring& path) {
    return callStatus(::SetFileAttributesW(extendedPath(path).c_str(), FILE_ATTRIBUTE_NORMAL));
}

}  // namespace purgeon::win32
