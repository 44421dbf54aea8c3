// Volume roots, drive types and free space from the system; fill files as plain Win32 files.
#include "platform/win32/volumes_win32.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/win32/extended_path.h"
#include "platform/win32/win32_status.h"

namespace purgeon::win32 {

namespace {

class Win32FillFile : public FillFile {
public:
    explicit Win32FillFile(UniqueFile file) : m_file(std::move(file)) {}

    Status append(const void* data, std::size_t bytes, std::size_t& written) override {
        // One write call takes at most a DWORD's count; larger blocks go in pieces.
        constexpr std::size_t kLargestWrite = 1u << 30;
        written = 0;
        const auto* next = static_cast<const unsigned char*>(data);
        while (written < bytes) {
            const DWORD piece = static_cast<DWORD>(std::min(bytes - written, kLargestWrite));
            DWORD done = 0;
            const BOOL wrote = ::WriteFile(m_file.get(), next + written, piece, &done, nullptr);
            written += done;
            if (!wrote) return lastError();
            // A volume that runs full may take part of a write and say nothing of it.
            if (done < piece) return Status::error(ERROR_DISK_FULL);
        }
        return Status::success();
    }

    Status flush() override { return callStatus(::FlushFileBuffers(m_file.get())); }

private:
    UniqueFile m_file;
};

DriveKind kindOf(UINT type) {
    switch (type) {
        case DRIVE_NO_ROOT_DIR:
            return DriveKind::noRoot;
        case DRIVE_REMOVABLE:
            return DriveKind::removable;
        case DRIVE_FIXED:
            return DriveKind::fixed;
        case DRIVE_REMOTE:
            return DriveKind::network;
        case DRIVE_CDROM:
            return DriveKind::optical;
        case DRIVE_RAMDISK:
            return DriveKind::ramDisk;
        default:
            return DriveKind::unknown;
    }
}

}  // namespace

Status Win32Volumes::volumeRoot(const std::wstring& path, std::wstring& root) {
    // The root is never longer than the path itself, plus its closing separator.
    std::vector<wchar_t> buffer(std::max<std::size_t>(path.size() + 2, MAX_PATH + 1));
    if (!::GetVolumePathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size())))
        return lastError();
    root = buffer.data();
    if (root.empty()) return Status::error(ERROR_PATH_NOT_FOUND);
    if (root.back() != L'\\') root += L'\\';
    return Status::success();
}

DriveKind Win32Volumes::driveKind(const std::wstring& root) {
    return kindOf(::GetDriveTypeW(root.c_str()));
}

Status Win32Volumes::space(const std::wstring& root, VolumeSpace& space) {
    ULARGE_INTEGER available{};
    ULARGE_INTEGER total{};
    if (!::GetDiskFreeSpaceExW(root.c_str(), &available, &total, nullptr)) return lastError();
    space.freeBytes = available.QuadPart;
    space.totalBytes = total.QuadPart;
    // The cluster size helps only; without it the caller takes a usual one.
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD clusters = 0;
    space.clusterBytes = ::GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector,
                                             &freeClusters, &clusters)
                             ? sectorsPerCluster * bytesPerSector
                             : 0;
    return Status::success();
}

std::vector<std::wstring> Win32Volumes::driveRoots() {
    std::vector<std::wstring> roots;
    const DWORD drives = ::GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if (drives & (1u << letter))
            roots.push_back(std::wstring(1, static_cast<wchar_t>(L'A' + letter)) + L":\\");
    }
    return roots;
}

Status Win32Volumes::makeFolder(const std::wstring& path) {
    return callStatus(::CreateDirectoryW(extendedPath(path).c_str(), nullptr));
}

Status Win32Volumes::removeFolder(const std::wstring& path) {
    return callStatus(::RemoveDirectoryW(extendedPath(path).c_str()));
}

Status Win32Volumes::flushVolume(const std::wstring& root) {
    // A drive is opened by its letter; a volume mounted on a folder by its volume name.
    std::wstring device;
    if (root.size() == 3 && root[1] == L':' && root[2] == L'\\') {
        device = L"\\\\.\\" + root.substr(0, 2);
    } else {
        wchar_t name[MAX_PATH + 1] = {};
        if (!::GetVolumeNameForVolumeMountPointW(root.c_str(), name, MAX_PATH + 1))
            return lastError();
        device = name;
        if (!device.empty() && device.back() == L'\\') device.pop_back();
    }
    UniqueFile volume(::CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
    if (!volume) return lastError();
    return callStatus(::FlushFileBuffers(volume.get()));
}

void Win32Volumes::awaitWriteBehind(const std::wstring&, std::stop_token stop) {
    // Windows' lazy writer hands what the cache holds to the disk within seconds. Linux, under
    // Wine, writes a dirty buffer back 30 s after it was dirtied, its flusher waking every 5 s:
    // measured on ext4, the blocks of a fill's own records had reached the disk 36 s after the
    // fill, and not 10 s after it.
    constexpr std::chrono::seconds kWriteBehind{36};
    std::mutex lock;
    std::condition_variable_any woken;
    std::unique_lock<std::mutex> held(lock);
    static_cast<void>(woken.wait_for(held, stop, kWriteBehind, [] { return false; }));
}

Status Win32Volumes::createFillFile(const std::wstring& path, bool removeOnClose,
                                    std::unique_ptr<FillFile>& file) {
    const DWORD flags = FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_FLAG_SEQUENTIAL_SCAN |
                        (removeOnClose ? FILE_FLAG_DELETE_ON_CLOSE : 0);
    UniqueFile handle(::CreateFileW(extendedPath(path).c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                    CREATE_NEW, flags, nullptr));
    if (!handle) return lastError();
    file = std::make_unique<Win32FillFile>(std::move(handle));
    return Status::success();
}

}  // namespace purgeon::win32
