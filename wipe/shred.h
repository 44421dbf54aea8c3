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
inline constexpr unsigned char kShredByte = 0x01;

// What happened to one file.
enum class ShredOutcome {
    wiped,                  // overwritten and removed
    unlinked,               // removed only: its data lives on under another name (a hard link)
    linkRemoved,            // a link: the link was removed, what it points to left alone
    removedNotOverwritten,  // removed, but a write or flush failed
    notRemoved,             // overwritten, but the name could not be removed
    inUse,                  // another program holds it: left exactly as it is
    accessDenied,           // left as it is
    gone,                   // no longer there
    redirected,             // reached through a link out of the target: left alone
    interrupted,            // stopped part-way: partly overwritten, still there
    notReached,             // stopped before it was touched
    failed,                 // left as it is
};
inline constexpr int kShredOutcomeCount = static_cast<int>(ShredOutcome::failed) + 1;

struct ShredResult {
    ShredOutcome outcome = ShredOutcome::failed;
    Status status;  // the failing step's error, when there is one
};

struct ShredRequest {
    ShredRequest(int passes = 1, bool overwriteSharedData = true,
                 std::wstring expectedFinalPath = {})
        : passes(passes),
          overwriteSharedData(overwriteSharedData),
          expectedFinalPath(std::move(expectedFinalPath)) {}

    int passes = 1;
    // A file whose data another name shares is overwritten as well (the user chose it), or only
    // unlinked (an unattended clearing must not reach data outside its folder).
    bool overwriteSharedData = true;
    // Where the file must really be: when the opened file's final path differs, a link along
    // the way was swapped in and nothing is touched. Empty: the final path of the file's folder
    // with the file's name.
    std::wstring expectedFinalPath;
    // Asked before every write: once stop is requested the file is left where it is.
    std::stop_token stop;
    // Told, after each write, how many of the file's own bytes it covered: a pass adds up to the
    // file's length.
    std::function<void(std::uint64_t bytes)> written;
};

// Opens the file alone (a file in use is left as it is), then runs the passes and removes it
// through the same handle, so the name checked is the name removed. Each pass writes
// (length div 1024) + 1 blocks of 0x01 from the file's start, measuring the length afresh, so the
// file ends every pass a whole number of blocks long, one block longer than its length rounded
// down; each pass is flushed to the device (a long one every 64 MiB as well). A read-only, hidden
// or system file is made normal first. A link is removed as itself and never followed.
ShredResult ShredFile(FileSystem& files, const std::wstring& path, const ShredRequest& request);

// The outcome that a failed open or removal stands for.
ShredOutcome outcomeOf(const Status& status);

}  // namespace purgeon
