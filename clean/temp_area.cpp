// The temporary folder's preview and clean, behind the folder guard.
#include "clean/temp_area.h"

#include "areas/temp_folder.h"
#include "clean/failure_text.h"

namespace purgeon {

namespace {

constexpr wchar_t kTempTitle[] = L"Temporary files";

std::wstring tempRefusal(const TempClearing& clearing) {
    if (!clearing.folderGiven) return L"the system names no usable temporary folder";
    return refusedText(clearing.check);
}

std::wstring unlistedText(std::size_t folders) {
    return std::to_wstring(folders) + L" folder(s) below it could not be listed";
}

AreaResult previewTemp(CleanContext& context) {
    FileSystem& files = context.services.files;
    SystemFolders& folders = context.services.folders;
    // The same folder, and the same guard, as the clearing itself takes.
    TempClearing clearing;
    const std::wstring temp = folders.tempPath();
    clearing.folderGiven = !temp.empty() && temp.size() < kTempPathBuffer;
    if (clearing.folderGiven)
        clearing.check = checkFolder(files, folders, temp, FolderUse::temporary);
    if (!clearing.folderGiven || !clearing.check.allowed()) return leftAlone(tempRefusal(clearing));

    FoundFileList found;
    std::uint64_t bytes = 0;
    const std::vector<UnlistedFolder> unlisted =
        EnumFiles(files, clearing.check.folder, found, &bytes);
    AreaResult result;
    result.count = found.size() - 1;
    result.bytes = bytes;
    result.place = clearing.check.folder;
    if (!unlisted.empty()) {
        result.done = false;
        result.why = unlistedText(unlisted.size());
    }
    return result;
}

AreaResult cleanTemp(CleanContext& context) {
    TempClearing clearing;
    bool ran = false;
    context.operations.runOperation(
        L"clearing temporary files", [&](std::stop_token stop, ProgressSink& sink) {
            ran = true;
            const TempClearingControl control{context.state.filesInFlight, stop, progressTo(sink)};
            clearing = ClearTempFolder(context.services.files, context.services.folders,
                                       context.state.foundFiles, control);
        });
    if (!ran) {
        AreaResult result = leftAlone(L"another operation was running");
        result.log.push_back(L"Temporary files: not cleared: another operation was running.");
        return result;
    }
    std::vector<std::wstring> log{tempClearingSummary(clearing)};
    for (std::wstring& line : unlistedLines(context.services.errors, kTempTitle, clearing.unlisted))
        log.push_back(std::move(line));
    if (!clearing.folderGiven || !clearing.check.allowed()) {
        AreaResult result = leftAlone(tempRefusal(clearing));
        if (clearing.folderGiven) result.refused = clearing.check;
        result.log = std::move(log);
        return result;
    }
    const WipeTally& tally = clearing.tally;
    // A file removed though its overwriting failed or was not verified is removed, but not done.
    // A file that someone else removed first ("gone") is neither removed by this run nor left.
    const std::size_t removed = tally.removed();
    const std::size_t left = tally.total() - removed - tally.count(ShredOutcome::gone);
    AreaResult result;
    result.count = removed;
    result.place = clearing.check.folder;
    std::vector<std::wstring> notes;
    if (tally.notWiped() > 0) notes.push_back(L"not wiped: " + tally.notWipedDetails());
    if (!clearing.unlisted.empty()) notes.push_back(unlistedText(clearing.unlisted.size()));
    result.why = joinedNotes(notes);
    result.done = left == 0 && tally.count(ShredOutcome::removedNotOverwritten) == 0 &&
                  tally.count(ShredOutcome::notVerified) == 0 && clearing.unlisted.empty();
    result.log = std::move(log);
    return result;
}

}  // namespace

const Area kTempArea{
    .name = L"temp",
    .title = kTempTitle,
    .one = L"file",
    .many = L"files",
    .help =
        L"the files below the temporary folder, overwritten once; only a dedicated temporary "
        L"folder is touched",
    .optionKey = kAutoTempKey,
    .status = L"Deleting temp files...",
    .preview = previewTemp,
    .clean = cleanTemp,
};

std::wstring tempRefusalText(const FolderCheck& check) {
    return L"The temporary folder " + check.folder + L" was not cleared: " + refusalReason(check) +
           L".";
}

}  // namespace purgeon
