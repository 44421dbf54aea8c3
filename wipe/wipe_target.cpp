// File existence for the wipe command, and the folder dialog's start selection.
#include "wipe/wipe_target.h"

#include "app/app_text.h"

namespace purgeon {

bool FileExists(FileSystem& files, SystemErrors& errors, Dialogs& dialogs,
                const std::wstring& path) {
    std::uint64_t bytes = 0;
    const long error = files.fileSize(path, bytes);
    if (error == 0) return bytes > 0;
    if (error != kErrorFileNotFound) dialogs.messageBox(errors.text(error), kAppTitle, kMbOk);
    return false;
}

std::wstring fileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

int BrowseCallback(FolderDialog& dialog, unsigned message, const std::wstring& initialFolder) {
    if (message == kBffmInitialized && !initialFolder.empty()) dialog.setSelection(initialFolder);
    return 0;
}

}  // namespace purgeon
