// Overwriting a file in place, pass after pass, before it is removed; and what came of it.
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <utility>

#include "platform/files.h"

namespace purgeon {

inline constexpr std::uint64_t kShredBlock = 1024;
inline constexpr int kNameChanges = 3;

// What the passes write. Every method ends with a pass of random data, which the read-back
// compares with what the device holds. Random data comes from a stream keyed afresh for every
// pass of every file with 256 bits of the system's generator (see RandomStream).
enum class WipeMethod {
    // One pass of random data: the clearing of temporary and browser files. Random rather than
    // one fixed byte because a file system that compresses a file could store a fixed pattern in
    // a few new clusters and leave the old ones as they were.
    onePass,
    // "Quick( 3 passes)": zeros, ones (0xFF), random data.
    quick,
    // "US DOD (7passes)": the seven passes of DoD 5220.22-M ECE, with characters drawn from the
    // system's generator for every file: a character, its complement, random data; another
    // character; a third character, its complement, random data.
    dod,
};

// The passes a method writes.
int passCount(WipeMethod method);

// What happened to one file.
enum class ShredOutcome {
    wiped,                  // overwritten and removed
    removed,                // removed without overwriting, as the request asked
    unlinked,               // removed only: its data lives on under another name (a hard link)
    linkRemoved,            // a link: the link was removed, what it points to left alone
    removedNotOverwritten,  // removed, but a write or flush failed
    notVerified,            // overwritten and removed, but the read-back did not show the last pass
    nameKept,  // overwritten and removed, but its name may stay on the disk: renaming it (or, for a
               // chosen file, refilling its folder's index) failed
    notRemoved,    // overwritten, but the name could not be removed
    inUse,         // another program holds it: left exactly as it is
    accessDenied,  // left as it is
    gone,          // no longer there
    redirected,    // reached through a link out of the target: left alone
    interrupted,   // stopped part-way: partly overwritten, still there
    notReached,    // stopped before it was touched
    failed,        // left as it is
};
inline constexpr int kShredOutcomeCount = static_cast<int>(ShredOutcome::failed) + 1;

struct ShredResult {
    ShredOutcome outcome = ShredOutcome::failed;
    Status status;  // the failing step's error, when there is one
    // The alignment the file's writes kept, once it was known: every file of the same folder
    // shares it (see ShredRequest::ioUnit).
    std::size_t ioUnit = 0;
};

struct ShredRequest {
    ShredRequest(WipeMethod method = WipeMethod::onePass, bool overwriteSharedData = true,
                 std::wstring expectedFinalPath = {})
        : method(method),
          overwriteSharedData(overwriteSharedData),
          expectedFinalPath(std::move(expectedFinalPath)) {}

    WipeMethod method = WipeMethod::onePass;
    // A file whose data another name shares is overwritten as well (the user chose it), or only
    // unlinked (an unattended clearing must not reach data outside its folder).
    bool overwriteSharedData = true;
    // false: the same checks, then the file is removed without being overwritten (a clean that
    // deletes rather than wipes); it is told written() its length once it is gone.
    bool overwrite = true;
    // Where the file must really be: when the opened file's final path differs, a link along
    // the way was swapped in and nothing is touched. Empty: the final path of the file's folder
    // with the file's name.
    std::wstring expectedFinalPath;
    // The alignment of unbuffered writes on the file's volume, when the caller already knows it
    // from a file of the same folder; 0: the file is asked (a question the system answers with a
    // round trip of its own).
    std::size_t ioUnit = 0;
    // Before the removal the file is renamed kNameChanges times, each time to random letters and
    // digits as many as its name has, so that neither its file record nor its folder's index keeps
    // the name (NTFS keeps a removed file's record, and the slack of its folder's index, as they
    // were). A file that then stays gets its own name back.
    bool hideName = false;
    // Asked before every write: once stop is requested the file is left where it is.
    std::stop_token stop;
    // Told, after each write, how many of the file's own bytes it covered: a pass adds up to the
    // file's length.
    std::function<void(std::uint64_t bytes)> written;
};

// Opens the file alone (a file in use is left as it is), then runs the method's passes and removes
// it through the same handle, so the name checked is the name removed. Each pass writes
// (length div 1024) + 1 blocks from the file's start, measuring the length afresh, so the file ends
// every pass a whole number of blocks long, one block longer than its length rounded down; each
// pass is flushed to the device (a long one every 64 MiB as well). After the last pass the file is
// read back past the system's cache and compared with what that pass wrote: a difference, a failed
// read or a stop during the read-back still removes the file (it was overwritten, and the user
// asked for it to go) but reports it notVerified. In a long pass the flush of each 64 MiB, and in
// the last pass the read-back of what is already flushed, run on helper threads while the next
// stretch is written. A small file, held through the cache, has each pass overwrite its own
// length in place before the pass makes it longer: NTFS keeps such a file's data in its file
// record, and would otherwise move it out and leave the record's copy behind. The file's named
// streams are overwritten the same way and removed first (a stream that cannot be makes the file
// removedNotOverwritten). A read-only, hidden or system file is made normal first. A link is
// removed as itself and never followed. When the system's generator gives no key, the file is
// left untouched and reported failed.
ShredResult ShredFile(FileSystem& files, const std::wstring& path, const ShredRequest& request);

// The status of a read-back that the stop cut short.
inline constexpr long kErrorOperationAborted = 995;

// The outcome that a failed open or removal stands for.
ShredOutcome outcomeOf(const Status& status);

}  // namespace purgeon
