// Volumes: which one holds a path, what kind of disk it is, its free space, and files that fill it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "platform/random_source.h"
#include "platform/status.h"

namespace purgeon {

// System error codes of filling a volume.
inline constexpr long kErrorHandleDiskFull = 39;
inline constexpr long kErrorDiskFull = 112;

// What kind of drive a volume is on, as the system tells it.
enum class DriveKind {
    unknown,    // the system cannot tell
    noRoot,     // no such volume
    removable,  // a removable disk: a USB stick, a memory card
    fixed,      // a local fixed disk
    network,    // a network drive
    optical,    // a CD or DVD drive
    ramDisk,    // a RAM disk
};

struct VolumeSpace {
    std::uint64_t freeBytes = 0;  // what this user may still write
    std::uint64_t totalBytes = 0;
    std::uint32_t clusterBytes = 0;  // the unit the volume allocates in
};

// A file made to take up free space, held alone. Ending the object closes the file; one made to
// go on closing is then gone.
class FillFile {
public:
    virtual ~FillFile() = default;
    // Writes at the file's end. A volume that runs full takes part of the bytes or none: written
    // says how many went in, and a full volume fails with kErrorDiskFull (or
    // kErrorHandleDiskFull).
    virtual Status append(const void* data, std::size_t bytes, std::size_t& written) = 0;
    // Hands what was written to the device, not just to the file system's cache.
    virtual Status flush() = 0;
};

class Volumes {
public:
    virtual ~Volumes() = default;
    // The root of the volume that holds the path (which need not exist): "C:\",
    // "\\server\share\", or the folder a volume is mounted on; always ending in "\".
    virtual Status volumeRoot(const std::wstring& path, std::wstring& root) = 0;
    virtual DriveKind driveKind(const std::wstring& root) = 0;
    virtual Status space(const std::wstring& root, VolumeSpace& space) = 0;
    // The roots of the drive letters in use ("C:\", "D:\"), in order.
    virtual std::vector<std::wstring> driveRoots() = 0;
    // Makes one folder; one that exists already fails with kErrorAlreadyExists.
    virtual Status makeFolder(const std::wstring& path) = 0;
    // Removes an empty folder; one that holds anything stays, and the call fails.
    virtual Status removeFolder(const std::wstring& path) = 0;
    // Hands everything of the volume that the system holds in its cache to the device: the file
    // system's own records (directories, the maps of where files lie) as well as file data. Needs
    // administrator rights where the system guards its volumes.
    virtual Status flushVolume(const std::wstring& root) = 0;
    // Waits until the system has written, of its own accord, what its cache holds of the volume
    // (its lazy writer; the kernel's write-back of Linux under Wine), or until stop is requested:
    // what a volume flush hands over at once where it may not be asked for.
    virtual void awaitWriteBehind(const std::wstring& root, std::stop_token stop) = 0;
    // Makes a new file held alone; an existing name fails with kErrorFileExists and is left as it
    // is. removeOnClose: the system removes the file when it is closed, also when the program
    // ends abruptly.
    virtual Status createFillFile(const std::wstring& path, bool removeOnClose,
                                  std::unique_ptr<FillFile>& file) = 0;
    // The system's generator, for the key of the overwrite data.
    virtual RandomSource& random() = 0;
};

}  // namespace purgeon
