// File existence for the wipe command, and a path's file name.
#include "wipe/wipe_target.h"

#include "product/product.h"

namespace purgeon {

bool FileExists(FileSystem& files, SystemErrors& errors, Dialogs& dialogs,
                const std::wstring& path) {
    std::uint64_t bytes = 0;
    const Status asked = files.fileSize(path, bytes);
    if (asked) return bytes > 0;
    if (asked.code != kErrorFileNotFound)
        dialogs.messageBox(errors.text(asked.code), kAppTitle, kMbOk);
    return false;
}

std::wstring fileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace purgeon
