// The free-space wipe with its record and its log line.
#include "clean/free_space_job.h"

#include "clean/failure_text.h"
#include "product/product.h"
#include "wipe/free_space_report.h"

namespace purgeon {

bool wipeFreeSpaceRecorded(CleanServices& services, OperationHost& operations, RunLog& log,
                           std::mutex& fillFolders, const std::wstring& root,
                           FreeSpaceResult& result) {
    bool ran = false;
    const bool stay = operations.runOperation(
        L"wiping free space", [&](std::stop_token stop, ProgressSink& sink) {
            ran = true;
            // A sweep still running at the start ends first: it must not take this fill's files.
            const std::lock_guard<std::mutex> alone(fillFolders);
            FillRecord record(services.settings, kAppTitle);
            logFailure(log, services.errors, L"Free space: the fill could not be recorded",
                       record.add(root));
            FreeSpaceRequest request;
            request.stop = stop;
            request.progress = progressTo(sink);
            result = WipeFreeSpace(services.files, services.volumes, root, request);
            if (result.notRemoved == 0) static_cast<void>(record.remove(root));
        });
    if (ran) log.write(freeSpaceLogLine(root, result, systemWords(services.errors, result.status)));
    return stay;
}

}  // namespace purgeon
