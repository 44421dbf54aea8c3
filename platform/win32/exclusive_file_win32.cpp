// Files held alone (unbuffered, or through the cache when small) to overwrite, read back, rename
// and remove; folders' final paths.
#include "platform/win32/files_win32.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/win32/extended_path.h"
#include "platform/win32/random_source_win32.h"
#include "platform/win32/win32_status.h"

namespace purgeon::win32 {

namespace {

// A path as the system reports it ("\\?\C:\x", "\\?\UNC\srv\sh\x") in its plain form
// ("C:\x", "\\srv\sh\x"); any other path is returned as it is.
std::wstring plainPath(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
    if (path.size() >= 6 && path.rfind(L"\\\\?\\", 0) == 0 && path[5] == L':')
        return path.substr(4);
    return path;
}

// The handle's name as the object manager holds it, read in full. Wine's GetFinalPathNameByHandleW
// reads that name ("\??\C:\dir\name" there) into a MAX_PATH buffer and fails with ERROR_MORE_DATA
// for anything longer. Windows names its devices here ("\Device\..."), which is no answer, but
// its GetFinalPathNameByHandleW has no such limit.
Status objectName(HANDLE handle, std::wstring& path) {
    struct NameInformation {
        USHORT length;
        USHORT maximumLength;
        PWSTR buffer;
    };
    using QueryObject = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    constexpr int kObjectNameInformation = 1;
    const auto query = reinterpret_cast<QueryObject>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
    if (!query) return Status::error(ERROR_MORE_DATA);
    std::vector<ULONGLONG> buffer((sizeof(NameInformation) + 65536) / sizeof(ULONGLONG) + 1);
    ULONG needed = 0;
    if (query(handle, kObjectNameInformation, buffer.data(),
              static_cast<ULONG>(buffer.size() * sizeof(ULONGLONG)), &needed) < 0)
        return Status::error(ERROR_MORE_DATA);
    const auto* info = reinterpret_cast<const NameInformation*>(buffer.data());
    const std::wstring name(info->buffer ? info->buffer : L"", info->length / sizeof(wchar_t));
    if (name.rfind(L"\\??\\", 0) != 0) return Status::error(ERROR_MORE_DATA);
    path = plainPath(L"\\\\?\\" + name.substr(4));
    return Status::success();
}

// The handle's path with every link resolved, in plain form.
Status finalPathOf(HANDLE handle, std::wstring& path) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            if (::GetLastError() == ERROR_MORE_DATA) return objectName(handle, path);
            return lastError();
        }
        if (length < buffer.size()) {
            path = plainPath(std::wstring(buffer.data(), length));
            return Status::success();
        }
        buffer.resize(length + 1);
    }
}

class Win32ExclusiveFile : public ExclusiveFile {
public:
    // folder: the path the file was opened by, up to and with its last separator.
    Win32ExclusiveFile(UniqueFile file, std::wstring folder, bool cached)
        : m_file(std::move(file)), m_folder(std::move(folder)), m_cached(cached) {}

    Status facts(FileFacts& facts) override {
        // Two narrow questions rather than GetFileInformationByHandle, which also gathers names
        // and times and, under Wine, costs as much as the rest of a small file's wipe.
        FILE_STANDARD_INFO standard{};
        FILE_ATTRIBUTE_TAG_INFO tag{};
        if (!::GetFileInformationByHandleEx(m_file.get(), FileStandardInfo, &standard,
                                            sizeof(standard)) ||
            !::GetFileInformationByHandleEx(m_file.get(), FileAttributeTagInfo, &tag, sizeof(tag)))
            return lastError();
        facts.attributes = tag.FileAttributes;
        facts.links = standard.NumberOfLinks;
        facts.length = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
        facts.cached = m_cached;
        return finalPathOf(m_file.get(), facts.finalPath);
    }

    std::size_t ioUnit() override {
        if (m_cached) return 1;
        if (m_unit == 0) {
            // A page covers every sector size in use; a volume with larger sectors says so. Wine
            // does not answer this question.
            m_unit = kPage;
            FILE_STORAGE_INFO storage{};
            if (::GetFileInformationByHandleEx(m_file.get(), FileStorageInfo, &storage,
                                               sizeof(storage))) {
                for (const ULONG sector : {storage.LogicalBytesPerSector,
                                           storage.PhysicalBytesPerSectorForPerformance}) {
                    if (sector > m_unit && sector <= kLargestUnit && (sector & (sector - 1)) == 0)
                        m_unit = sector;
                }
            }
        }
        return m_unit;
    }

    // At the handle's own pointer (moveFilePointer). The read-back may run beside the writes, so
    // one call at a time holds the pointer.
    Status writeAt(std::uint64_t offset, const void* data, std::size_t bytes) override {
        const std::lock_guard<std::mutex> held(m_pointer);
        if (Status moved = moveFilePointer(m_file.get(), offset); !moved) return moved;
        const auto* next = static_cast<const unsigned char*>(data);
        while (bytes > 0) {
            const DWORD piece = pieceOf(bytes);
            DWORD written = 0;
            if (!::WriteFile(m_file.get(), next, piece, &written, nullptr)) return lastError();
            if (written != piece) return Status::error(ERROR_WRITE_FAULT);
            next += piece;
            bytes -= piece;
        }
        return Status::success();
    }

    Status readAt(std::uint64_t offset, void* data, std::size_t bytes, std::size_t& read) override {
        const std::lock_guard<std::mutex> held(m_pointer);
        read = 0;
        if (Status moved = moveFilePointer(m_file.get(), offset); !moved) return moved;
        auto* next = static_cast<unsigned char*>(data);
        while (bytes > 0) {
            const DWORD piece = pieceOf(bytes);
            DWORD got = 0;
            if (!::ReadFile(m_file.get(), next, piece, &got, nullptr)) {
                if (::GetLastError() == ERROR_HANDLE_EOF) break;
                return lastError();
            }
            read += got;
            if (got < piece) break;  // the end of the file
            next += piece;
            bytes -= piece;
        }
        return Status::success();
    }

    Status setLength(std::uint64_t length) override {
        FILE_END_OF_FILE_INFO info{};
        info.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
        return setInformation(FileEndOfFileInfo, info);
    }

    Status flush() override { return callStatus(::FlushFileBuffers(m_file.get())); }

    RandomSource& random() override { return m_random; }

    Status clearAttributes() override {
        // Zero times leave the file's times as they are.
        FILE_BASIC_INFO info{};
        info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        return setInformation(FileBasicInfo, info);
    }

    Status rename(const std::wstring& name) override {
        // The whole new path: a bare name, which the system would take in the same folder, Wine
        // takes in the current folder, and over a file of that name.
        const std::wstring path = extendedPath(m_folder + name);
        std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + path.size() * sizeof(wchar_t));
        auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
        info->FileNameLength = static_cast<DWORD>(path.size() * sizeof(wchar_t));
        std::copy(path.begin(), path.end(), info->FileName);
        return callStatus(::SetFileInformationByHandle(m_file.get(), FileRenameInfo, info,
                                                       static_cast<DWORD>(buffer.size())));
    }

    Status remove() override {
        FILE_DISPOSITION_INFO info{};
        info.DeleteFile = TRUE;
        return setInformation(FileDispositionInfo, info);
    }

private:
    static constexpr std::size_t kPage = 4096;
    static constexpr std::size_t kLargestUnit = 64 * 1024;

    // One call takes at most a DWORD's count; larger blocks go in pieces that keep the alignment.
    static DWORD pieceOf(std::size_t bytes) {
        constexpr std::size_t kLargestCall = 1u << 30;
        return static_cast<DWORD>(std::min(bytes, kLargestCall));
    }

    template <typename Information>
    Status setInformation(FILE_INFO_BY_HANDLE_CLASS kind, Information& information) {
        return callStatus(
            ::SetFileInformationByHandle(m_file.get(), kind, &information, sizeof(information)));
    }

    UniqueFile m_file;
    const std::wstring m_folder;
    const bool m_cached;
    std::mutex m_pointer;    // the handle's file pointer, between a move and its read or write
    std::size_t m_unit = 0;  // asked once
    Win32RandomSource m_random;
};

// Unbuffered unless cached, so that a read after the last pass reads the device rather than the
// cache: a second handle for that cannot be had while this one shares nothing.
UniqueFile openAlone(const std::wstring& path, bool cached) {
    return UniqueFile(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                    OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS |
                                        (cached ? 0 : FILE_FLAG_NO_BUFFERING),
                                    nullptr));
}

// Opens the file alone; a read-only file has the bit taken off so that it opens like any other.
Status openAloneAnyway(const std::wstring& target, bool cached, UniqueFile& handle) {
    handle = openAlone(target, cached);
    if (handle) return Status::success();
    const DWORD error = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES &&
                          (attributes & FILE_ATTRIBUTE_READONLY) &&
                          !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (error != ERROR_ACCESS_DENIED || !readOnly) return Status::error(static_cast<long>(error));
    // The read-only bit refuses writing; once it is off the file opens like any other.
    const DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (!::SetFileAttributesW(target.c_str(), writable ? writable : FILE_ATTRIBUTE_NORMAL))
        return Status::error(static_cast<long>(error));
    handle = openAlone(target, cached);
    if (handle) return Status::success();
    const DWORD retryError = ::GetLastError();
    ::SetFileAttributesW(target.c_str(), attributes);
    return Status::error(static_cast<long>(retryError));
}

// Which file a handle holds: its volume and its number there.
Status identityOf(HANDLE handle, std::uint64_t& volume, std::uint64_t& index) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) return lastError();
    volume = info.dwVolumeSerialNumber;
    index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return Status::success();
}

}  // namespace

Status Win32FileSystem::openExclusive(const std::wstring& path,
                                      std::unique_ptr<ExclusiveFile>& file) {
    const std::wstring target = extendedPath(path);
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    // Through the cache first: most files a clean removes are small, and stay so opened.
    UniqueFile handle;
    if (Status opened = openAloneAnyway(target, true, handle); !opened) return opened;
    FILE_STANDARD_INFO standard{};
    if (!::GetFileInformationByHandleEx(handle.get(), FileStandardInfo, &standard,
                                        sizeof(standard)))
        return lastError();
    if (static_cast<std::uint64_t>(standard.EndOfFile.QuadPart) < kCachedFileBytes) {
        file = std::make_unique<Win32ExclusiveFile>(std::move(handle), folder, true);
        return Status::success();
    }
    // A larger file is held unbuffered: opened once more, and only if it is still the same file.
    std::uint64_t volume = 0, index = 0, volumeNow = 0, indexNow = 0;
    if (Status known = identityOf(handle.get(), volume, index); !known) return known;
    handle.reset();
    if (Status opened = openAloneAnyway(target, false, handle); !opened) return opened;
    if (Status known = identityOf(handle.get(), volumeNow, indexNow); !known) return known;
    // Another program put a file in its place meanwhile: nothing here is touched.
    if (volumeNow != volume || indexNow != index) return Status::error(ERROR_SHARING_VIOLATION);
    file = std::make_unique<Win32ExclusiveFile>(std::move(handle), folder, false);
    return Status::success();
}

Status Win32FileSystem::resolveFolder(const std::wstring& path, std::wstring& finalPath) {
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = 0;
    for (;;) {
        length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(),
                                    nullptr);
        if (length == 0) return lastError();
        if (length < buffer.size()) break;
        buffer.resize(length + 1);
    }
    const std::wstring full(buffer.data(), length);

    // Opened for its attributes only, sharing everything: links on the way are followed.
    UniqueFile folder(::CreateFileW(extendedPath(full).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return lastError();
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(folder.get(), &info)) return lastError();
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return Status::error(ERROR_DIRECTORY);

    std::wstring resolved;
    const Status status = finalPathOf(folder.get(), resolved);
    if (!status) return status;
    const bool driveRoot = resolved.size() == 3 && resolved[1] == L':';
    while (!driveRoot && resolved.size() > 1 && resolved.back() == L'\\') resolved.pop_back();
    finalPath = std::move(resolved);
    return Status::success();
}

}  // namespace purgeon::win32
