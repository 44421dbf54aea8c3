// Wiping a volume's free space: fill files of overwrite data until the volume is full, then
// their removal; and the fill files an abrupt end left behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/settings_store.h"
#include "platform/volumes.h"
#include "wipe/shred_batch.h"

namespace purgeon {

// The folder of the program's own at a volume's root where the fill files live while a wipe runs.
inline constexpr wchar_t kFillFolderName[] = L"Purgeon free space";
// The folder in the fill folder under which the fill makes folders for the file table's free
// records, each named by one digit (isRecordFolderName) and holding up to kRecordsPerFolder more.
inline constexpr wchar_t kRecordsFolderName[] = L"purgeon-records";
inline constexpr std::size_t kRecordsPerFolder = 4;

// "purgeon-fill-00000001.tmp": the fill files' names, numbered from 1.
std::wstring fillFileName(std::uint64_t number);
// True only for a name that fillFileName makes (in any case).
bool isFillFileName(const std::wstring& name);
// True only for the name of a folder below kRecordsFolderName: one digit below kRecordsPerFolder.
bool isRecordFolderName(const std::wstring& name);
// The fill folder of a volume root: "C:\" gives "C:\Purgeon free space".
std::wstring fillFolderOf(const std::wstring& root);

// Fills a buffer with overwrite data.
using OverwriteSource = std::function<void(unsigned char* data, std::size_t bytes)>;
// Pseudo-random bytes from the wipes' fast stream, keyed afresh from the clock and the library's
// random device: nothing a compressing file system or device could shrink, and no two writes alike.
OverwriteSource pseudoRandomSource();
// The overwrite data of a fill: a fast stream keyed with 256 bits of the system's generator, as
// the wipes' random passes are; should the generator fail, pseudoRandomSource's.
OverwriteSource keyedOverwriteSource(RandomSource& random);

enum class FreeSpaceVerdict {
    allowed,
    relative,      // not a full path
    unresolvable,  // missing, or cannot be opened
    noVolume,      // the system names no volume for it
    network,       // on a network drive
    notLocalDisk,  // on a volume that is not a local fixed or removable disk
};

// The volume a chosen folder or drive names, and whether its free space may be wiped.
struct FreeSpaceTarget {
    FreeSpaceVerdict verdict = FreeSpaceVerdict::unresolvable;
    std::wstring folder;  // the folder's final path; the path as given before that
    std::wstring root;    // the volume's root, ending in "\"
    DriveKind kind = DriveKind::unknown;
    Status status;  // why the folder or its volume could not be found
    bool allowed() const { return verdict == FreeSpaceVerdict::allowed; }
};

// Only the volume counts: any folder on it names it, a user's Documents as well as the root ("D:"
// alone names drive D). The folder is resolved first, so a link names the volume it leads to.
FreeSpaceTarget findFreeSpaceTarget(FileSystem& files, Volumes& volumes,
                                    const std::wstring& folder);

// How a fill goes: first large files in large writes, then folders for the file table's free
// records, then small files until nothing more fits.
struct FillPlan {
    std::size_t writeBytes = 4u << 20;        // each large write
    std::uint64_t fileBytes = 1ull << 30;     // each large file at most (FAT32 holds under 4 GiB)
    std::uint64_t flushBytes = 256ull << 20;  // a large file goes to the device this often too
    std::size_t smallBytes = 4096;            // each small file at first: one cluster
    std::size_t leastBytes = 512;             // the smallest write tried, halving from the first
    std::size_t smallBatch = 64;              // small files written before they are flushed
    int emptyLimit = 3;                       // small files in a row that take nothing end it
};
// The plan for a volume: small files of one cluster each.
FillPlan planFill(const VolumeSpace& space);

struct FreeSpaceRequest {
    std::stop_token stop;
    OverwriteSource overwrite;  // keyedOverwriteSource(volumes.random()) when empty
    // filesDone: fill files made; bytesDone of bytesTotal: of the free space, the total
    // estimated afresh as the fill goes on. Never names a file.
    BatchProgressSink progress;
    std::optional<FillPlan> plan;  // planFill's when empty
};

enum class FillOutcome {
    filled,          // the volume was filled and every fill file written was removed
    stopped,         // stopped when asked; what was written is removed
    failed,          // a write or flush failed; what was written is removed
    folderInTheWay,  // the fill folder's name is taken by a file or a link: nothing written
};

struct FreeSpaceResult {
    FillOutcome outcome = FillOutcome::failed;
    Status status;                   // the failure that ended the fill
    std::uint64_t freeBytes = 0;     // the volume's free space when the fill began
    std::uint64_t bytesWritten = 0;  // overwrite data written into the free space
    std::size_t largeFiles = 0;
    std::size_t smallFiles = 0;
    std::size_t recordFolders = 0;  // folders made for the file table's free records
    std::size_t leftovers = 0;      // fill files of an earlier, abruptly ended wipe removed first
    // Fill files and folders still there at the end (a next start removes them).
    std::size_t notRemoved = 0;
    // Whether the file system's own records of the fill (its folder, the maps of where the large
    // files lie) reached the device before the files went; those records take free blocks too,
    // and a file system may otherwise never write them where they lie.
    Status recordsFlushed;
};

// Fills the free space of the volume at root (ending in "\") in the fill folder there: large
// files in large writes, each handed to the device, made to go when closed (also when the program
// ends abruptly); once a write finds the volume full, halving writes down to the least. Then, with
// no cluster left, folders under the records folder (made at the start, while its folder could
// still grow), breadth first and kRecordsPerFolder to a folder, so few that each folder's index
// stays inside its own record: on NTFS each takes one free record of the file table, reusing every
// one that a removed file left, until the volume has no record left to give; elsewhere the first
// one finds no room. Then small files, flushed in batches, for the last free clusters. Before
// anything is removed the whole volume is flushed, so that the blocks the file system took for
// its own records of the fill are written as well; where that cannot be done, the fill waits for
// the system to write them of its own accord. Whatever happened, every fill file and folder is
// removed at the end, and the fill folder with them when nothing else is in it. A stop is
// honoured before the next write.
FreeSpaceResult WipeFreeSpace(FileSystem& files, Volumes& volumes, const std::wstring& root,
                              const FreeSpaceRequest& request);

struct LeftoverSweep {
    std::size_t removed = 0;
    std::size_t notRemoved = 0;
    LeftoverSweep& operator+=(const LeftoverSweep& other) {
        removed += other.removed;
        notRemoved += other.notRemoved;
        return *this;
    }
};

// Removes the fill files an abrupt end left on the volume at root: only names that fillFileName
// makes, only in the volume's fill folder, and only when that folder really lies there (not a
// link to elsewhere); and the records folder's folders, deepest first, never through a link. The
// folders go too once they are empty.
LeftoverSweep RemoveFillLeftovers(FileSystem& files, Volumes& volumes, const std::wstring& root,
                                  std::stop_token stop = {});

// The volumes with a fill under way, kept in the settings so that a start after an abrupt end
// finds their fill folders also where no drive letter leads.
class FillRecord {
public:
    FillRecord(SettingsStore& store, std::wstring application)
        : m_store(store), m_application(std::move(application)) {}
    std::vector<std::wstring> roots();
    Status add(const std::wstring& root);
    Status remove(const std::wstring& root);

private:
    Status write(const std::vector<std::wstring>& roots);
    SettingsStore& m_store;
    std::wstring m_application;
};

// The start's sweep: the recorded volumes and every local fixed drive. A recorded volume with
// nothing left on it leaves the record.
LeftoverSweep SweepFillLeftovers(FileSystem& files, Volumes& volumes, FillRecord& record,
                                 std::stop_token stop = {});

}  // namespace purgeon
