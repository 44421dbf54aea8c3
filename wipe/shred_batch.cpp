// Several files in flight at once, one progress, one stop.
#include "wipe/shred_batch.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace purgeon {

namespace {

// A path's folder, up to and with its last separator.
std::wstring_view folderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L'\\');
    return std::wstring_view(path).substr(0, slash == std::wstring::npos ? 0 : slash + 1);
}

}  // namespace

BatchResult ShredFiles(FileSystem& files, const FoundFileList& found, std::uint64_t totalBytes,
                       const BatchRequest& request) {
    const std::size_t count = found.empty() ? 0 : found.size() - 1;
    BatchResult result;
    BatchProgress progress;
    progress.filesTotal = count;
    progress.passes = request.overwrite ? passCount(request.method) : 1;
    progress.bytesTotal = totalBytes * static_cast<std::uint64_t>(progress.passes);
    std::mutex lock;
    std::exception_ptr failure;
    std::atomic<std::size_t> next{1};

    // Every change to the shared state, and the report of it, under the one lock.
    auto report = [&](const auto& change) {
        const std::lock_guard<std::mutex> held(lock);
        change();
        if (request.progress) request.progress(progress);
    };
    auto work = [&]() noexcept {
        try {
            // The last folder this worker wrote in, and the alignment its files keep.
            std::wstring unitFolder;
            std::size_t unit = 0;
            for (;;) {
                if (request.stop.stop_requested()) return;
                const std::size_t i = next.fetch_add(1);
                if (i > count) return;
                report([&] { progress.current = found[i]; });
                ShredRequest each{request.method, request.overwriteSharedData,
                                  request.atListedPaths ? found[i] : std::wstring()};
                each.overwrite = request.overwrite;
                each.hideName = request.hideNames;
                each.stop = request.stop;
                const std::wstring_view folder = folderOf(found[i]);
                if (folder == unitFolder) each.ioUnit = unit;
                std::uint64_t written = 0;
                each.written = [&](std::uint64_t bytes) {
                    written += bytes;
                    report([&] { progress.bytesDone += bytes; });
                };
                const ShredResult shredded = ShredFile(files, found[i], each);
                if (shredded.ioUnit != 0 && shredded.ioUnit != each.ioUnit) {
                    unitFolder = folder;
                    unit = shredded.ioUnit;
                }
                report([&] {
                    ++progress.filesDone;
                    result.tally.add(shredded.outcome);
                    if (shredded.outcome == ShredOutcome::wiped ||
                        shredded.outcome == ShredOutcome::removed)
                        result.bytesWiped += written / static_cast<std::uint64_t>(progress.passes);
                    if (request.outcome) request.outcome(found[i], shredded);
                });
            }
        } catch (...) {
            // Handed to the calling thread, which rethrows it once every worker has ended.
            const std::lock_guard<std::mutex> held(lock);
            if (!failure) failure = std::current_exception();
        }
    };

    const std::size_t threads =
        std::clamp<std::size_t>(request.threads, 1, std::max<std::size_t>(count, 1));
    {
        std::vector<std::jthread> helpers;
        for (std::size_t t = 1; t < threads; ++t) helpers.emplace_back(work);
        work();
    }
    if (failure) std::rethrow_exception(failure);
    result.stopped = request.stop.stop_requested();
    result.tally.add(ShredOutcome::notReached, count - result.tally.total());
    return result;
}

}  // namespace purgeon
