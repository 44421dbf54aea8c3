// Deleting one file with the read-only retry.
#include "wipe/remove_file.h"

namespace purgeon {

FileResult RemoveFile(FileSystem& files, const std::wstring& path) {
    FileResult result = files.deleteFile(path);
    if (result == FileResult::accessDenied) {
        files.setNormalAttributes(path);
        result = files.deleteFile(path);
    }
    return result;
}

}  // namespace purgeon
