// Removing a profile's plain files with one overwriting pass each.
#include "browsers/browser_files.h"

#include "wipe/shred_batch.h"

namespace purgeon {

void FileRemoval::add(const FileRemoval& other) {
    for (size_t outcome = 0; outcome < kShredOutcomeCount; ++outcome) {
        const auto kind = static_cast<ShredOutcome>(outcome);
        tally.add(kind, other.tally.count(kind));
    }
    bytes += other.bytes;
    unlisted.insert(unlisted.end(), other.unlisted.begin(), other.unlisted.end());
}

ProfileFiles findProfileFiles(FileSystem& files, const std::vector<std::wstring>& folders,
                              const std::vector<std::wstring>& singleFiles) {
    ProfileFiles listed;
    resetFoundFiles(listed.found);
    for (const std::wstring& folder : folders) {
        std::uint64_t bytes = 0;
        for (UnlistedFolder& missed : EnumFiles(files, folder, listed.found, &bytes)) {
            // A folder the browser has not made (yet) simply has nothing to remove.
            if (!(missed.status.notFound() && missed.path == listingPath(folder)))
                listed.unlisted.push_back(std::move(missed));
        }
        listed.bytes += bytes;
    }
    for (const std::wstring& file : singleFiles) {
        std::uint64_t bytes = 0;
        if (!files.fileSize(file, bytes).ok()) continue;  // not there
        listed.found.push_back(file);
        listed.bytes += bytes;
    }
    return listed;
}

FileRemoval removeProfileFiles(FileSystem& files, const std::vector<std::wstring>& folders,
                               const std::vector<std::wstring>& singleFiles, std::stop_token stop) {
    ProfileFiles listed = findProfileFiles(files, folders, singleFiles);
    FileRemoval removal;
    removal.bytes = listed.bytes;
    removal.unlisted = std::move(listed.unlisted);
    if (listed.count() == 0) return removal;
    BatchRequest request;
    request.method = WipeMethod::onePass;
    request.overwriteSharedData = false;
    request.threads = kFlushThreads;
    request.stop = stop;
    removal.tally = ShredFiles(files, listed.found, removal.bytes, request).tally;
    return removal;
}

}  // namespace purgeon
