// The free-space fill: its target, its plan and the fill itself.
#include "wipe/free_space.h"

#include <algorithm>
#include <memory>

#include "wipe/fill_data.h"
#include "wipe/folder_guard.h"
#include "wipe/in_flight.h"
#include "wipe/remove_file.h"

namespace purgeon {

namespace {

// Names in a row found taken before the fill gives up.
constexpr int kMostNamesTaken = 100000;

bool volumeFull(const Status& status) {
    return status.code == kErrorDiskFull || status.code == kErrorHandleDiskFull;
}

// The path of a folder below the records folder by its place in the tree, breadth first: folder
// n (from 1) lies in folder (n - 1) / kRecordsPerFolder (0: the records folder itself).
std::wstring recordFolderPath(const std::wstring& records, std::uint64_t node) {
    std::wstring path;
    for (; node > 0; node = (node - 1) / kRecordsPerFolder)
        path.insert(
            0, std::wstring(L"\\") + static_cast<wchar_t>(L'0' + (node - 1) % kRecordsPerFolder));
    return records + path;
}

// One fill of one volume: its files, its counts and its progress.
class Fill {
public:
    Fill(FileSystem& files, Volumes& volumes, const std::wstring& root,
         const FreeSpaceRequest& request)
        : m_files(files),
          m_volumes(volumes),
          m_root(root),
          m_folder(fillFolderOf(root)),
          m_records(m_folder + L"\\" + kRecordsFolderName),
          m_request(request),
          m_overwrite(request.overwrite ? request.overwrite
                                        : keyedOverwriteSource(volumes.random())) {}

    FreeSpaceResult run() {
        m_result.leftovers = RemoveFillLeftovers(m_files, m_volumes, m_root).removed;
        if (!makeFolder()) return m_result;
        // Made now, while its folder may still grow: once the volume is full it could not be. One
        // that an earlier fill left, holding what its sweep did not remove, is left alone, and the
        // fill does without it.
        const Status made = m_volumes.makeFolder(m_records);
        if (!made && !nameTaken(made)) {
            m_result.status = made;
            removeAll();
            return m_result;
        }
        m_recordsMade = made.ok();
        VolumeSpace space;
        if (const Status asked = m_volumes.space(m_root, space); !asked) {
            m_result.status = asked;
            removeAll();
            return m_result;
        }
        m_plan = m_request.plan ? *m_request.plan : planFill(space);
        m_buffer.resize(m_plan.smallBytes);
        m_result.freeBytes = space.freeBytes;
        m_progress.bytesTotal = space.freeBytes;
        report();

        m_result.outcome = FillOutcome::filled;
        try {
            m_ahead = std::make_unique<DataAhead>(m_overwrite, m_plan.writeBytes);
            const bool more = fillLarge();
            m_ahead.reset();
            if (more && (!m_recordsMade || fillRecords())) fillSmall();
        } catch (...) {
            // A failing overwrite source leaves nothing behind either.
            m_ahead.reset();
            removeAll();
            throw;
        }
        removeAll();
        m_progress.bytesTotal = m_progress.bytesDone;
        report();
        return m_result;
    }

private:
    // The folder is made, or found as a folder that really lies at the root.
    bool makeFolder() {
        const Status made = m_volumes.makeFolder(m_folder);
        if (made) return true;
        if (!nameTaken(made)) {
            m_result.status = made;
            return false;
        }
        std::wstring final;
        if (!m_files.resolveFolder(m_folder, final) ||
            !samePath(plainPath(final), plainPath(m_folder))) {
            m_result.outcome = FillOutcome::folderInTheWay;
            return false;
        }
        return true;
    }

    bool stopNow() {
        if (!m_request.stop.stop_requested()) return false;
        m_result.outcome = FillOutcome::stopped;
        return true;
    }

    void fail(const Status& status) {
        m_result.outcome = FillOutcome::failed;
        m_result.status = status;
    }

    void report() {
        m_progress.bytesDone = m_result.bytesWritten;
        m_progress.bytesTotal = std::max(m_progress.bytesTotal, m_progress.bytesDone);
        m_progress.filesDone = m_result.largeFiles + m_result.smallFiles + m_result.recordFolders;
        if (m_request.progress) m_request.progress(m_progress);
    }

    // After each large file the total is what is written plus what the volume says is free now.
    void estimateTotal() {
        VolumeSpace space;
        if (m_volumes.space(m_root, space))
            m_progress.bytesTotal = m_result.bytesWritten + space.freeBytes;
    }

    // A name the volume says is taken, though nothing has it: ntfs-3g answers so when a full
    // folder cannot take another entry. The volume is full.
    bool takenByNothing(const Status& status, const std::wstring& path) {
        std::uint64_t bytes = 0;
        return nameTaken(status) && m_files.fileSize(path, bytes).notFound();
    }

    // A new file under the next free number; numbers that another fill took are passed over.
    Status create(bool removeOnClose, std::unique_ptr<FillFile>& file, std::uint64_t& number) {
        Status created;
        for (int tries = 0; tries < kMostNamesTaken; ++tries) {
            number = m_next++;
            const std::wstring path = m_folder + L"\\" + fillFileName(number);
            created = m_volumes.createFillFile(path, removeOnClose, file);
            if (takenByNothing(created, path)) return Status::error(kErrorDiskFull);
            if (!nameTaken(created)) break;
        }
        return created;
    }

    // Writes bytes at the file's end, from the data made ahead when there is some (large writes)
    // or else made here (small ones); counts what went in.
    Status append(FillFile& file, std::size_t bytes, std::size_t& written) {
        const unsigned char* data = nullptr;
        if (m_ahead) {
            data = m_ahead->next();
        } else {
            m_overwrite(m_buffer.data(), bytes);
            data = m_buffer.data();
        }
        written = 0;
        const Status status = file.append(data, bytes, written);
        m_result.bytesWritten += written;
        report();
        return status;
    }

    // Large files until the volume is full, their last flush answered. False when the fill ends
    // here.
    bool fillLarge() {
        if (!fillLargeFiles()) return false;
        bool full = false;
        return flushed(m_flushing.wait(), full);
    }

    bool fillLargeFiles() {
        std::size_t size = m_plan.writeBytes;
        for (bool full = false; !full;) {
            if (stopNow()) return false;
            std::unique_ptr<FillFile> made;
            std::uint64_t number = 0;
            const Status created = create(true, made, number);
            if (volumeFull(created)) return true;
            if (!created) {
                fail(created);
                return false;
            }
            m_large.push_back({number, std::move(made)});
            ++m_result.largeFiles;
            FillFile& file = *m_large.back().file;
            std::uint64_t inFile = 0;
            std::uint64_t unflushed = 0;
            while (inFile < m_plan.fileBytes) {
                if (stopNow()) return false;
                const std::size_t bytes = static_cast<std::size_t>(
                    std::min<std::uint64_t>(size, m_plan.fileBytes - inFile));
                std::size_t written = 0;
                const Status status = append(file, bytes, written);
                inFile += written;
                unflushed += written;
                if (!status && !volumeFull(status)) {
                    fail(status);
                    return false;
                }
                if (status && written == bytes) {
                    if (unflushed >= m_plan.flushBytes) {
                        if (!flushAhead(file, full)) return false;
                        unflushed = 0;
                    }
                    continue;
                }
                // The volume is full, or nearly: smaller writes take what is left.
                if (written > 0) continue;
                if (size <= m_plan.leastBytes) {
                    full = true;
                    break;
                }
                size = std::max(m_plan.leastBytes, size / 2);
            }
            if (!flushAhead(file, full)) return false;
            estimateTotal();
            report();
        }
        return true;
    }

    // Hands what the file holds to the device on a helper thread while the writing goes on, once
    // the flush before it has ended; that flush's answer is looked at here.
    bool flushAhead(FillFile& file, bool& full) {
        if (!flushed(m_flushing.wait(), full)) return false;
        return flushed(m_flushing.start([&file] { return file.flush(); }), full);
    }

    bool flush(FillFile& file, bool& full) { return flushed(file.flush(), full); }

    // A volume that finds itself full only when handed the data counts as full.
    bool flushed(const Status& status, bool& full) {
        if (status) return true;
        if (volumeFull(status)) {
            full = true;
            return true;
        }
        fail(status);
        return false;
    }

    // Folders until the volume can make no more. False when the fill ends here.
    bool fillRecords() {
        for (;;) {
            if (stopNow()) return false;
            const std::wstring path = recordFolderPath(m_records, m_result.recordFolders + 1);
            const Status made = m_volumes.makeFolder(path);
            if (volumeFull(made) || takenByNothing(made, path)) return true;
            if (!made) {
                fail(made);
                return false;
            }
            ++m_result.recordFolders;
            report();
        }
    }

    // Small files until several in a row take nothing.
    void fillSmall() {
        std::size_t size = m_plan.smallBytes;
        std::vector<std::unique_ptr<FillFile>> batch;
        for (int empty = 0; empty < m_plan.emptyLimit;) {
            if (stopNow()) return;
            std::unique_ptr<FillFile> file;
            std::uint64_t number = 0;
            const Status created = create(false, file, number);
            if (volumeFull(created)) {
                ++empty;  // even the folder's own table may be full
                continue;
            }
            if (!created) {
                fail(created);
                return;
            }
            m_small.push_back(number);
            ++m_result.smallFiles;
            std::size_t took = 0;
            for (;;) {
                if (stopNow()) return;
                std::size_t written = 0;
                const Status status = append(*file, size, written);
                took += written;
                if (!status && !volumeFull(status)) {
                    fail(status);
                    return;
                }
                if (took > 0 || size <= m_plan.leastBytes) break;
                size = std::max(m_plan.leastBytes, size / 2);
            }
            empty = took > 0 ? 0 : empty + 1;
            batch.push_back(std::move(file));
            if (batch.size() >= m_plan.smallBatch && !flushAll(batch)) return;
        }
        flushAll(batch);
    }

    // Every file of the batch goes to the device, then all are closed.
    bool flushAll(std::vector<std::unique_ptr<FillFile>>& batch) {
        bool full = false;
        for (const std::unique_ptr<FillFile>& file : batch) {
            if (!flush(*file, full)) return false;
        }
        batch.clear();
        return true;
    }

    // Closing a large file removes it; each is removed by name as well, in case the system kept
    // it. What still cannot be removed is counted for the next start's sweep.
    void removeAll() {
        // A flush still in flight when the fill stops hands over data about to go anyway.
        static_cast<void>(m_flushing.wait());
        // The file system's records of the fill lie in free blocks as well; written only to its
        // journal, they would be freed with the files and never reach those blocks.
        if (!m_large.empty() || !m_small.empty() || m_result.recordFolders > 0) {
            m_result.recordsFlushed = m_volumes.flushVolume(m_root);
            // Freed unwritten, those blocks would keep what they held before the fill.
            if (!m_result.recordsFlushed) m_volumes.awaitWriteBehind(m_root, m_request.stop);
        }
        std::vector<std::uint64_t> numbers;
        for (LargeFile& large : m_large) {
            large.file.reset();
            numbers.push_back(large.number);
        }
        numbers.insert(numbers.end(), m_small.begin(), m_small.end());
        for (const std::uint64_t number : numbers) {
            if (!removedOrGone(m_files.deleteFile(m_folder + L"\\" + fillFileName(number))))
                ++m_result.notRemoved;
        }
        m_large.clear();
        m_small.clear();
        // Each folder before the one that holds it.
        for (std::uint64_t node = m_result.recordFolders; node > 0; --node) {
            if (!m_volumes.removeFolder(recordFolderPath(m_records, node))) ++m_result.notRemoved;
        }
        if (m_recordsMade && !m_volumes.removeFolder(m_records)) ++m_result.notRemoved;
        m_recordsMade = false;
        // A folder that holds anything else (another fill of the same volume) stays.
        static_cast<void>(m_volumes.removeFolder(m_folder));
    }

    struct LargeFile {
        std::uint64_t number;
        std::unique_ptr<FillFile> file;  // held open until the end: closing removes it
    };

    FileSystem& m_files;
    Volumes& m_volumes;
    const std::wstring m_root;
    const std::wstring m_folder;
    const std::wstring m_records;
    bool m_recordsMade = false;
    const FreeSpaceRequest& m_request;
    OverwriteSource m_overwrite;
    FillPlan m_plan;
    std::unique_ptr<DataAhead> m_ahead;   // while the large files are written
    std::vector<unsigned char> m_buffer;  // for the small ones
    std::uint64_t m_next = 1;
    std::vector<LargeFile> m_large;
    InFlight m_flushing;  // after the files it flushes: it ends before they go
    std::vector<std::uint64_t> m_small;
    FreeSpaceResult m_result;
    BatchProgress m_progress;
};

}  // namespace

FreeSpaceTarget findFreeSpaceTarget(FileSystem& files, Volumes& volumes,
                                    const std::wstring& folder) {
    FreeSpaceTarget target;
    target.folder = folder;
    // "D:" names the drive, not the folder that is current on it.
    const std::wstring given = folder.size() == 2 && folder[1] == L':' ? folder + L"\\" : folder;
    const std::wstring plain = plainPath(given);
    if (plain.empty()) {
        target.verdict = FreeSpaceVerdict::relative;
        return target;
    }
    target.folder = plain;
    std::wstring final;
    if (const Status resolved = files.resolveFolder(plain, final); !resolved) {
        target.verdict = FreeSpaceVerdict::unresolvable;
        target.status = resolved;
        return target;
    }
    if (!plainPath(final).empty()) target.folder = plainPath(final);
    if (const Status found = volumes.volumeRoot(target.folder, target.root); !found) {
        target.verdict = FreeSpaceVerdict::noVolume;
        target.status = found;
        return target;
    }
    target.kind = volumes.driveKind(target.root);
    if (target.kind == DriveKind::network) {
        target.verdict = FreeSpaceVerdict::network;
    } else if (target.kind != DriveKind::fixed && target.kind != DriveKind::removable) {
        target.verdict = FreeSpaceVerdict::notLocalDisk;
    } else {
        target.verdict = FreeSpaceVerdict::allowed;
    }
    return target;
}

FillPlan planFill(const VolumeSpace& space) {
    FillPlan plan;
    if (space.clusterBytes > 0)
        plan.smallBytes = std::clamp<std::size_t>(space.clusterBytes, plan.leastBytes, 64u << 10);
    return plan;
}

FreeSpaceResult WipeFreeSpace(FileSystem& files, Volumes& volumes, const std::wstring& root,
                              const FreeSpaceRequest& request) {
    return Fill(files, volumes, root, request).run();
}

}  // namespace purgeon
