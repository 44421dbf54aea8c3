// A chosen file or folder wiped: the one way the tab and the command line both take.
#include "wipe/chosen_wipe.h"

#include "wipe/wipe_report.h"

namespace purgeon {

WipeMethod chosenWipeMethod(bool quick) { return quick ? WipeMethod::quick : WipeMethod::dod; }

ShredResult WipeChosenFile(FileSystem& files, const std::wstring& path, WipeMethod method,
                           std::stop_token stop, const BatchProgressSink& progress,
                           RemovedNames* later) {
    std::uint64_t length = 0;
    static_cast<void>(files.fileSize(path, length));  // for the progress only
    BatchProgress shown{
        0, 1, 0, length * static_cast<std::uint64_t>(passCount(method)), path, passCount(method)};
    if (progress) progress(shown);
    ShredRequest request{method, true, {}};
    request.hideName = true;
    request.stop = stop;
    request.written = [&](std::uint64_t bytes) {
        shown.bytesDone += bytes;
        if (progress) progress(shown);
    };
    ShredResult result = ShredFile(files, path, request);
    if (nameRemoved(result.outcome)) {
        const std::size_t slash = path.find_last_of(L'\\');
        const std::wstring folder = path.substr(0, slash + 1);
        const Status refilled =
            RefillIndexes(files, {{folder, {path.size() - slash - 1}}}, later == nullptr);
        if (later) (*later)[folder];
        if (!refilled && result.outcome == ShredOutcome::wiped)
            result = {ShredOutcome::nameKept, refilled};
    }
    shown.filesDone = 1;
    if (progress) progress(shown);
    return result;
}

FolderWipe WipeChosenFolder(FileSystem& files, FoundFileList& found, const std::wstring& folder,
                            const BatchRequest& request) {
    FolderWipe wipe;
    resetFoundFiles(found);
    std::uint64_t bytes = 0;
    wipe.unlisted = EnumFiles(files, folder, found, &bytes);
    BatchRequest hiding = request;
    hiding.hideNames = true;
    RemovedNames removed;
    hiding.outcome = [&](const std::wstring& path, const ShredResult& result) {
        if (nameRemoved(result.outcome)) {
            const std::size_t slash = path.find_last_of(L'\\');
            removed[path.substr(0, slash + 1)].push_back(path.size() - slash - 1);
        }
        if (request.outcome) request.outcome(path, result);
    };
    wipe.result = ShredFiles(files, found, bytes, hiding);
    wipe.refilled = RefillIndexes(files, removed);
    return wipe;
}

}  // namespace purgeon
