// The temporary folder's clearing behind the folder guard.
#include "areas/temp_folder.h"

namespace purgeon {

TempClearing ClearTempFolder(FileSystem& files, SystemFolders& folders, FoundFileList& found,
                             const TempClearingControl& control) {
    TempClearing clearing;
    const std::wstring temp = folders.tempPath();
    if (temp.empty() || temp.size() >= kTempPathBuffer) return clearing;
    clearing.folderGiven = true;
    clearing.check = checkFolder(files, folders, temp, FolderUse::temporary);
    if (!clearing.check.allowed()) return clearing;

    resetFoundFiles(found);
    std::uint64_t bytes = 0;
    clearing.unlisted = EnumFiles(files, clearing.check.folder, found, &bytes);
    BatchRequest request;
    request.method = WipeMethod::onePass;
    request.overwriteSharedData = false;
    request.threads = control.threads;
    request.stop = control.stop;
    request.progress = control.progress;
    clearing.tally = ShredFiles(files, found, bytes, request).tally;
    return clearing;
}

std::wstring tempClearingSummary(const TempClearing& clearing) {
    if (!clearing.folderGiven) return L"Temporary files: the system names no temporary folder.";
    if (!clearing.check.allowed()) {
        return L"Temporary files: " + clearing.check.folder + L" was not cleared: " +
               refusalReason(clearing.check) + L".";
    }
    std::wstring text = L"Temporary files: " + std::to_wstring(clearing.tally.wiped()) +
                        L" wiped in " + clearing.check.folder;
    if (clearing.tally.notWiped() > 0) text += L"; not wiped: " + clearing.tally.notWipedDetails();
    return text + L".";
}

}  // namespace purgeon
