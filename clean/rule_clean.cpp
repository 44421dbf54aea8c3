// One entry's clean, as the rules' areas run it.
#include "clean/rule_clean.h"

#include <algorithm>

#include "clean/area.h"
#include "wipe/shred_batch.h"
#include "wipe/wipe_target.h"

namespace purgeon {

namespace {

bool gone(ShredOutcome outcome) {
    return outcome == ShredOutcome::wiped || outcome == ShredOutcome::removed ||
           outcome == ShredOutcome::unlinked || outcome == ShredOutcome::linkRemoved ||
           outcome == ShredOutcome::gone || outcome == ShredOutcome::removedNotOverwritten ||
           outcome == ShredOutcome::notVerified;
}

}  // namespace

EntryClean cleanTargets(CleanContext& context, TraceSystem& system, const EntryTargets& targets,
                        bool wipe, std::stop_token stop, ProgressSink& sink,
                        BatchProgress& progress) {
    EntryClean done;
    FoundFileList found{L""};
    for (const TargetFile& file : targets.files) found.push_back(file.path);
    BatchRequest request;
    request.method = WipeMethod::onePass;
    request.overwrite = wipe;
    // Data another name shares lies outside what the rule reaches: that name keeps it.
    request.overwriteSharedData = false;
    // A rule's paths are put together from names: each file must be where its folder really is,
    // so that a link in a swept folder is never followed out of it.
    request.atListedPaths = false;
    request.threads = std::max<std::size_t>(1, context.state.filesInFlight);
    request.stop = stop;
    const BatchProgress before = progress;
    request.progress = [&](const BatchProgress& batch) {
        progress.filesDone = before.filesDone + batch.filesDone;
        progress.bytesDone = before.bytesDone + batch.bytesDone;
        progress.current = batch.current;
        sink.report(progress);
    };
    // A file left in use is named: the user can close what holds it. A removed file never is.
    request.outcome = [&](const std::wstring& path, const ShredResult& result) {
        if (result.outcome == ShredOutcome::inUse) done.inUse.push_back(fileNameOf(path));
    };
    const BatchResult result = ShredFiles(context.services.files, found, targets.bytes(), request);
    done.removed = result.tally.removed();
    done.bytes = result.bytesWiped;
    for (int i = 0; i < kShredOutcomeCount; ++i) {
        const auto outcome = static_cast<ShredOutcome>(i);
        if (!gone(outcome)) done.left.add(outcome, result.tally.count(outcome));
    }
    std::sort(done.inUse.begin(), done.inUse.end());
    if (stop.stop_requested()) return done;
    for (const std::wstring& folder : targets.folders)
        if (system.removeEmptyFolder(folder)) ++done.folders;
    for (const TargetRegistry& item : targets.registry) {
        const Status deleted =
            item.value ? system.deleteValue(item.key, *item.value) : system.deleteKey(item.key);
        if (deleted) {
            ++done.registry;
        } else {
            ++done.registryFailed;
        }
    }
    return done;
}

std::wstring entryCleanText(const EntryClean& done, const EntryTargets& targets) {
    std::wstring text = countText(done.removed, L"file", L"files") + L" and " +
                        countText(done.registry, L"registry item", L"registry items") + L" removed";
    if (done.folders) text += L", " + countText(done.folders, L"folder", L"folders");
    if (done.left.total()) {
        text += L"; left: " + done.left.notWipedDetails();
        std::wstring names;
        for (const std::wstring& name : done.inUse) names += (names.empty() ? L"" : L", ") + name;
        if (!names.empty()) text += L"; in use: " + names;
    }
    if (done.registryFailed)
        text += L"; " + std::to_wstring(done.registryFailed) +
                L" registry item(s) could not be removed";
    if (targets.excluded)
        text += L"; " + std::to_wstring(targets.excluded) + L" kept by exclusions";
    return text;
}

}  // namespace purgeon
