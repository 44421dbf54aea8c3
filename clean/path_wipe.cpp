// The chosen file's and folder's wipes as operations.
#include "clean/path_wipe.h"

namespace purgeon {

bool wipeFileOperation(OperationHost& operations, FileSystem& files, const std::wstring& path,
                       WipeMethod method, ShredResult& result, RemovedNames* later) {
    result = {ShredOutcome::notReached, {}};
    return operations.runOperation(L"wiping a file", [&](std::stop_token stop, ProgressSink& sink) {
        result = WipeChosenFile(files, path, method, stop, progressTo(sink), later);
    });
}

bool wipeFolderOperation(OperationHost& operations, FileSystem& files, FoundFileList& found,
                         const std::wstring& folder, const FolderWipeJob& job, FolderWipe& wiped) {
    return operations.runOperation(
        L"wiping files",
        [&](std::stop_token stop, ProgressSink& sink) {
            BatchRequest request;
            request.method = job.method;
            request.threads = job.threads;
            request.stop = stop;
            request.progress = progressTo(sink);
            request.outcome = job.outcome;
            wiped = WipeChosenFolder(files, found, folder, request);
        },
        job.view);
}

}  // namespace purgeon
