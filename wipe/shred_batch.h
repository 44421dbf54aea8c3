// Shredding a list of files, several at a time, telling progress and stopping when asked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>

#include "platform/files.h"
#include "wipe/enum_files.h"
#include "wipe/shred.h"
#include "wipe/wipe_report.h"

namespace purgeon {

struct BatchProgress {
    std::size_t filesDone = 0;
    std::size_t filesTotal = 0;
    std::uint64_t bytesDone = 0;   // written, all passes together
    std::uint64_t bytesTotal = 0;  // to write: the files' lengths times the method's passes
    std::wstring current;          // the file most recently started
    int passes = 1;                // over each file: the bytes of the files are the bytes / passes
    bool operator==(const BatchProgress&) const = default;
};
using BatchProgressSink = std::function<void(const BatchProgress&)>;

// Files in flight at once where many small files are overwritten: each flush waits for the
// device, and several waiting together keep it busy. Eight rather than four cut the clean of
// 40,000 cache files from 12-13 s to 10-11 s (bench/clean_bench.sh); more gained little.
inline constexpr std::size_t kFlushThreads = 8;

struct BatchRequest {
    WipeMethod method = WipeMethod::onePass;
    bool overwriteSharedData = true;
    // false: each file is only removed, behind the same checks (see ShredRequest::overwrite).
    bool overwrite = true;
    // Each file is renamed before its removal (see ShredRequest::hideName).
    bool hideNames = false;
    // Each file is expected at its listed path, when the listing started from a resolved folder;
    // false: at its own folder's final path, for paths put together from names (a rule's).
    bool atListedPaths = true;
    // Files in flight at once. Each file's flush waits for the device; several waiting together
    // keep it busy. One keeps the listed order exactly.
    std::size_t threads = 1;
    std::stop_token stop;
    // Called as the work moves on, one call at a time, from whichever thread moved it.
    BatchProgressSink progress;
    // Told each file's outcome as it ends, one call at a time, from whichever thread shredded it.
    std::function<void(const std::wstring& path, const ShredResult& result)> outcome;
};

struct BatchResult {
    WipeTally tally;  // files the stop kept from being started count as notReached
    std::uint64_t bytesWiped =
        0;  // the lengths of the files wiped (or, when only removing, removed)
    bool stopped = false;
};

// Shreds entries 1 to n of the found list, each expected where the request says (a link swapped
// in is not followed). totalBytes is what the listing added up, for the progress.
BatchResult ShredFiles(FileSystem& files, const FoundFileList& found, std::uint64_t totalBytes,
                       const BatchRequest& request);

}  // namespace purgeon
