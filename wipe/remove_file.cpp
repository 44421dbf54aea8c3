// Deleting one file with the read-only retry.
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

}  // namespace purgeon
