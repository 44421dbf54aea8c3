// Deleting one file with the read-only retry; what a failed deletion or creation means.
#include "wipe/remove_file.h"

namespace purgeon {

Status RemoveFile(FileSystem& files, const std::wstring& path) {
    const Status deleted = files.deleteFile(path);
    if (deleted.code != kErrorAccessDenied) return deleted;
    // Attributes that cannot be reset leave the file as it was: the second attempt says so.
    static_cast<void>(files.setNormalAttributes(path));
    return files.deleteFile(path);
}

bool removedOrGone(const Status& status) { return status.ok() || status.notFound(); }

bool nameTaken(const Status& status) {
    return status.code == kErrorFileExists || status.code == kErrorAlreadyExists;
}

}  // namespace purgeon
