// The command line's wipes of paths and of a volume's free space.
#include "cli/wipe_command.h"

#include <mutex>
#include <utility>

#include "clean/failure_text.h"
#include "clean/free_space_job.h"
#include "clean/path_wipe.h"
#include "wipe/folder_guard.h"
#include "wipe/free_space_report.h"
#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

// A box's line breaks as the console's.
std::wstring consoleLines(std::wstring text) {
    for (size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;) text.erase(at, 1);
    return text + L"\n";
}

}  // namespace

int runWipeSwitch(CommandRun& run) {
    CleanContext& context = run.context;
    CleanServices& s = context.services;
    const std::vector<std::wstring>& paths = run.command.paths;
    const Tell& tell = run.tell;
    if (run.askFirst) {
        std::wstring question = std::wstring(kWipeWarning) + L"\r\n";
        for (const std::wstring& path : paths) question += L"\r\n" + path;
        if (!run.askFirst(question)) {
            context.log.write(L"Command line: the wipe was not confirmed; nothing was wiped.");
            return kExitCancelled;
        }
    }
    const WipeMethod method = chosenWipeMethod(context.options.quick());
    WipeTally tally;
    std::size_t refused = 0;
    std::size_t unlistedFolders = 0;
    std::size_t unrefilled = 0;  // folders whose index could not be refilled
    RemovedNames later;          // the chosen files' folders, refilled once all are wiped
    auto notRefilled = [&](const Status& refilled, const wchar_t* indent) {
        if (refilled) return;
        ++unrefilled;
        tell(indent + std::wstring(L"A folder's index could not be refilled, so wiped names may ") +
             L"stay on the disk: " + systemWords(s.errors, refilled) + L"\n");
    };
    for (std::size_t place = 0; place < paths.size(); ++place) {
        const std::wstring& path = paths[place];
        const std::wstring item = L"Item " + std::to_wstring(place + 1);
        std::wstring final;
        if (s.files.resolveFolder(path, final)) {
            const FolderCheck check = checkFolder(s.files, s.folders, path, FolderUse::wipe);
            if (!check.allowed()) {
                ++refused;
                tell(check.folder + L" cannot be wiped: " + refusalReason(check) + L".\n");
                continue;
            }
            std::vector<std::pair<std::wstring, ShredResult>> notWiped;
            FolderWipeJob job;
            job.method = method;
            job.threads = context.state.filesInFlight;
            job.outcome = [&](const std::wstring& file, const ShredResult& result) {
                if (result.outcome != ShredOutcome::wiped) notWiped.emplace_back(file, result);
            };
            FolderWipe wiped;
            wipeFolderOperation(context.operations, s.files, context.state.foundFiles, check.folder,
                                job, wiped);
            const WipeTally& folderTally = wiped.result.tally;
            tell(item + L" (a folder): " + std::to_wstring(folderTally.wiped()) +
                 L" file(s) wiped" +
                 (folderTally.notWiped() > 0
                      ? L", " + std::to_wstring(folderTally.notWiped()) + L" not wiped:\n"
                      : std::wstring(L".\n")));
            for (const auto& [file, result] : notWiped)
                tell(L"  " + fileWipeMessage(file, result, systemWords(s.errors, result.status)) +
                     L"\n");
            for (const UnlistedFolder& folder : wiped.unlisted) {
                tell(L"  " + folder.path + L" could not be listed: " +
                     systemWords(s.errors, folder.status) + L"\n");
            }
            for (int outcome = 0; outcome < kShredOutcomeCount; ++outcome) {
                const auto each = static_cast<ShredOutcome>(outcome);
                tally.add(each, folderTally.count(each));
            }
            unlistedFolders += wiped.unlisted.size();
            notRefilled(wiped.refilled, L"  ");
            continue;
        }
        std::uint64_t bytes = 0;
        if (const Status found = s.files.fileSize(path, bytes); found.notFound()) {
            ++refused;
            tell(path + L" could not be wiped: there is no such file or folder.\n");
            continue;
        }
        ShredResult result;
        wipeFileOperation(context.operations, s.files, path, method, result, &later);
        tally.add(result.outcome);
        tell(result.outcome == ShredOutcome::wiped
                 ? item + L" (a file) wiped.\n"
                 : fileWipeMessage(path, result, systemWords(s.errors, result.status)) + L"\n");
    }
    notRefilled(RefillIndexes(s.files, later), L"");
    std::wstring line = L"Command line: wipe: " + wipeCountsText(tally);
    if (refused > 0) line += L"; " + std::to_wstring(refused) + L" path(s) refused or missing";
    if (unlistedFolders > 0)
        line += L"; " + std::to_wstring(unlistedFolders) + L" folder(s) could not be listed";
    if (unrefilled > 0)
        line +=
            L"; " + std::to_wstring(unrefilled) + L" folder(s) whose index could not be refilled";
    context.log.write(line + L".");
    return tally.notWiped() == 0 && refused == 0 && unlistedFolders == 0 ? kExitDone
                                                                         : kExitIncomplete;
}

int runFreeSpaceSwitch(CommandRun& run) {
    CleanContext& context = run.context;
    CleanServices& s = context.services;
    const std::wstring& folder = run.command.paths.front();
    const Tell& tell = run.tell;
    const FreeSpaceTarget target = findFreeSpaceTarget(s.files, s.volumes, folder);
    if (!target.allowed()) {
        tell(freeSpaceRefusal(target) + L"\n");
        context.log.write(target.root.empty()
                              ? std::wstring(L"Free space: not wiped: the folder named was "
                                             L"refused.")
                              : L"Free space: not wiped: " + freeSpaceRefusal(target));
        return kExitIncomplete;
    }
    VolumeSpace space;
    static_cast<void>(s.volumes.space(target.root, space));
    tell(L"Wiping the free space of " + target.root + L" (" + sizeText(space.freeBytes) +
         L" free)...\n");
    FreeSpaceResult result;
    // No sweep of an earlier fill runs beside a command: the fill has its folders to itself.
    std::mutex fillFolders;
    wipeFreeSpaceRecorded(s, context.operations, context.log, fillFolders, target.root, result);
    tell(consoleLines(freeSpaceMessage(target.root, result, systemWords(s.errors, result.status))));
    return result.outcome == FillOutcome::filled && result.notRemoved == 0 ? kExitDone
                                                                           : kExitIncomplete;
}

}  // namespace purgeon
