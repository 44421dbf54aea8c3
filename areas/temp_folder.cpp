// The temporary folder's clearing behind the folder guard.
#include "areas/temp_folder.h"

#include "wipe/shred.h"

namespace purgeon {

TempClearing ClearTempFolder(FileSystem& files, SystemFolders& folders, FoundFileList& found) {
    TempClearing clearing;
    const std::wstring temp = folders.tempPath();
    if (temp.empty() || temp.size() >= kTempPathBuffer) return clearing;
    clearing.folderGiven = true;
    clearing.check = checkFolder(files, folders, temp, FolderUse::temporary);
    if (!clearing.check.allowed()) return clearing;

    resetFoundFiles(found);
    EnumFiles(files, clearing.check.folder, found);
    const size_t count = found.size() - 1;
    for (size_t i = 1; i <= count; ++i) {
        const ShredRequest request{1, false, found[i]};
        clearing.tally.add(ShredFile(files, found[i], request).outcome);
    }
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
