// Volumes in memory beside the fake file system: their kind, their free space in clusters, a file
// table of limited size, and the fill files made on them.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "fakes/fake_stores.h"
#include "platform/volumes.h"

namespace purgeon::fakes {

class FakeVolumes : public Volumes {
public:
    struct Volume {
        DriveKind kind = DriveKind::fixed;
        std::uint64_t freeBytes = 0;  // before any fill file
        std::uint32_t clusterBytes = 4096;
        std::size_t freeRecords = 1000;  // files and folders the file table still takes
        // A file this small lives in the table, in no cluster; and with it, a folder (0: a folder
        // needs a free cluster).
        std::size_t residentBytes = 0;
        bool partialWrites = false;  // a write that does not fit takes what fits
        // Once this many bytes went to the volume, every write fails as the device's fault.
        std::optional<std::uint64_t> failAfter;
        // Once this many bytes went to the volume, a fill file's flush answers flushFailure: a
        // volume that finds itself full only when handed the data, or a failing device.
        std::optional<std::uint64_t> flushFailsAfter;
        long flushFailure = 0;
        // A full volume answers a new name with kErrorFileExists, as ntfs-3g does when the
        // folder cannot take another entry.
        bool fullSaysExists = false;
    };

    explicit FakeVolumes(FakeFileSystem& files) : m_files(files) {}

    static Volume of(DriveKind kind, std::uint64_t freeBytes = 0) {
        Volume volume;
        volume.kind = kind;
        volume.freeBytes = freeBytes;
        return volume;
    }

    // Adds a volume and its root folder.
    Volume& add(const std::wstring& root, Volume volume) {
        m_files.folders[root];
        return volumes[root] = volume;
    }

    Status volumeRoot(const std::wstring& path, std::wstring& root) override {
        const std::wstring* best = nullptr;
        for (const auto& [known, volume] : volumes) {
            if (path.rfind(known, 0) == 0 || path + L"\\" == known) {
                if (!best || known.size() > best->size()) best = &known;
            }
        }
        if (!best) return Status::error(kErrorPathNotFound);
        root = *best;
        return {};
    }
    DriveKind driveKind(const std::wstring& root) override {
        auto found = volumes.find(root);
        return found == volumes.end() ? DriveKind::noRoot : found->second.kind;
    }
    Status space(const std::wstring& root, VolumeSpace& space) override {
        auto found = volumes.find(root);
        if (found == volumes.end()) return Status::error(kErrorPathNotFound);
        space.freeBytes = freeOn(root);
        space.totalBytes = found->second.freeBytes * 2;
        space.clusterBytes = found->second.clusterBytes;
        return {};
    }
    std::vector<std::wstring> driveRoots() override {
        std::vector<std::wstring> roots;
        for (const auto& [root, volume] : volumes)
            if (root.size() == 3) roots.push_back(root);
        return roots;
    }
    Status makeFolder(const std::wstring& path) override {
        events.push_back(L"make folder " + path);
        if (m_files.folders.count(path + L"\\") || m_files.files.count(path))
            return Status::error(kErrorAlreadyExists);
        std::wstring root;
        // A folder takes a record of the file table where small files live in it, else a cluster.
        if (volumeRoot(path, root) &&
            (recordsFull(root) ||
             (volumes[root].residentBytes == 0 && freeOn(root) < volumes[root].clusterBytes)))
            return full(root);
        const size_t slash = path.find_last_of(L'\\');
        m_files.addFile(path.substr(0, slash + 1), path.substr(slash + 1), kAttrDirectory);
        madeFolders.insert(path);
        return {};
    }
    Status removeFolder(const std::wstring& path) override {
        auto found = m_files.folders.find(path + L"\\");
        if (found == m_files.folders.end()) return Status::error(kErrorPathNotFound);
        for (const auto& [name, attributes] : found->second) {
            if ((attributes & kAttrDirectory) || m_files.files.count(path + L"\\" + name))
                return Status::error(kErrorDirNotEmpty);
        }
        m_files.folders.erase(found);
        const size_t slash = path.find_last_of(L'\\');
        auto& parent = m_files.folders[path.substr(0, slash + 1)];
        std::erase_if(parent,
                      [&](const auto& entry) { return entry.first == path.substr(slash + 1); });
        events.push_back(L"remove folder " + path);
        return {};
    }
    Status flushVolume(const std::wstring& root) override {
        events.push_back(L"flush volume " + root);
        return flushError ? Status::error(flushError) : Status{};
    }
    void awaitWriteBehind(const std::wstring& root, std::stop_token) override {
        events.push_back(L"await write-behind " + root);
    }
    RandomSource& random() override { return randomSource; }
    Status createFillFile(const std::wstring& path, bool removeOnClose,
                          std::unique_ptr<FillFile>& file) override {
        const std::lock_guard<std::mutex> held(m_lock);
        if (m_files.files.count(path)) return Status::error(kErrorFileExists);
        std::wstring root;
        if (!volumeRoot(path, root)) return Status::error(kErrorPathNotFound);
        const size_t slash = path.find_last_of(L'\\');
        const std::wstring folder = path.substr(0, slash + 1);
        if (!m_files.folders.count(folder)) return Status::error(kErrorPathNotFound);
        if (recordsFull(root)) return full(root);
        m_files.addFile(folder, path.substr(slash + 1));
        made.push_back(path);
        events.push_back(L"create " + nameOf(path) + (removeOnClose ? L" (goes on closing)" : L""));
        file = std::make_unique<Fill>(*this, path, root, removeOnClose);
        return {};
    }

    // The folders made on a volume that still exist.
    std::size_t foldersOn(const std::wstring& root) const {
        return static_cast<std::size_t>(
            std::count_if(madeFolders.begin(), madeFolders.end(), [&](const std::wstring& path) {
                return path.rfind(root, 0) == 0 && m_files.folders.count(path + L"\\");
            }));
    }
    // The fill files made on a volume that still exist.
    std::size_t filesOn(const std::wstring& root) const {
        return static_cast<std::size_t>(std::count_if(made.begin(), made.end(), [&](const auto& p) {
            return p.rfind(root, 0) == 0 && m_files.files.count(p);
        }));
    }
    std::uint64_t freeOn(const std::wstring& root) const {
        const Volume& volume = volumes.at(root);
        std::uint64_t used = 0;
        for (const std::wstring& path : made) {
            auto found = m_files.files.find(path);
            if (path.rfind(root, 0) == 0 && found != m_files.files.end())
                used += allocated(volume, found->second.content.size());
        }
        return volume.freeBytes > used ? volume.freeBytes - used : 0;
    }
    static std::wstring nameOf(const std::wstring& path) {
        return path.substr(path.find_last_of(L'\\') + 1);
    }

    std::map<std::wstring, Volume> volumes;  // by root, ending in "\"
    std::vector<std::wstring> made;          // every fill file made, in order
    std::set<std::wstring> madeFolders;      // every folder made
    // "create NAME", "write NAME BYTES", "flush NAME LENGTH", "close NAME" (with " (removed)"
    // for a file that goes on closing), "make folder PATH", "remove folder PATH", "flush volume
    // ROOT": in order.
    std::vector<std::wstring> events;
    std::uint64_t written = 0;  // all the bytes the volumes took
    long flushError = 0;        // what flushVolume answers
    FakeRandomSource randomSource;

private:
    bool recordsFull(const std::wstring& root) const {
        return filesOn(root) + foldersOn(root) >= volumes.at(root).freeRecords;
    }
    Status full(const std::wstring& root) const {
        return Status::error(volumes.at(root).fullSaysExists ? kErrorFileExists : kErrorDiskFull);
    }
    static std::uint64_t allocated(const Volume& volume, std::uint64_t length) {
        if (length <= volume.residentBytes) return 0;
        return (length + volume.clusterBytes - 1) / volume.clusterBytes * volume.clusterBytes;
    }

    class Fill : public FillFile {
    public:
        Fill(FakeVolumes& volumes, std::wstring path, std::wstring root, bool removeOnClose)
            : m_volumes(volumes),
              m_path(std::move(path)),
              m_root(std::move(root)),
              m_removeOnClose(removeOnClose) {}
        ~Fill() override {
            const std::lock_guard<std::mutex> held(m_volumes.m_lock);
            m_volumes.events.push_back(L"close " + nameOf(m_path) +
                                       (m_removeOnClose ? L" (removed)" : L""));
            if (m_removeOnClose) m_volumes.m_files.files.erase(m_path);
        }
        Status append(const void* data, std::size_t bytes, std::size_t& written) override {
            const std::lock_guard<std::mutex> held(m_volumes.m_lock);
            written = 0;
            auto found = m_volumes.m_files.files.find(m_path);
            if (found == m_volumes.m_files.files.end()) return Status::error(kErrorInvalidHandle);
            const Volume& volume = m_volumes.volumes.at(m_root);
            if (volume.failAfter && m_volumes.written >= *volume.failAfter)
                return Status::error(kErrorCrc);
            std::vector<unsigned char>& content = found->second.content;
            const std::uint64_t free = m_volumes.freeOn(m_root);
            const std::uint64_t now = allocated(volume, content.size());
            std::size_t fits = bytes;
            if (allocated(volume, content.size() + bytes) - now > free) {
                // What fits is the whole clusters still free, past the file's own.
                const std::uint64_t most = (now + free) / volume.clusterBytes * volume.clusterBytes;
                fits = volume.partialWrites && most > content.size()
                           ? static_cast<std::size_t>(most - content.size())
                           : 0;
            }
            const auto* source = static_cast<const unsigned char*>(data);
            content.insert(content.end(), source, source + fits);
            written = fits;
            m_volumes.written += fits;
            if (fits > 0)
                m_volumes.events.push_back(L"write " + nameOf(m_path) + L" " +
                                           std::to_wstring(fits));
            return fits == bytes ? Status{} : Status::error(kErrorDiskFull);
        }
        Status flush() override {
            const std::lock_guard<std::mutex> held(m_volumes.m_lock);
            const auto found = m_volumes.m_files.files.find(m_path);
            m_volumes.events.push_back(L"flush " + nameOf(m_path) + L" " +
                                       std::to_wstring(found->second.content.size()));
            const Volume& volume = m_volumes.volumes.at(m_root);
            if (volume.flushFailsAfter && m_volumes.written >= *volume.flushFailsAfter)
                return Status::error(volume.flushFailure);
            return {};
        }

    private:
        static constexpr long kErrorCrc = 23;
        FakeVolumes& m_volumes;
        std::wstring m_path;
        std::wstring m_root;
        bool m_removeOnClose;
    };

    FakeFileSystem& m_files;
    std::mutex m_lock;  // the fill flushes on a helper thread while it writes
};

}  // namespace purgeon::fakes
