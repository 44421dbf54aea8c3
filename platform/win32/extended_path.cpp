// The "\\?\" form of long absolute paths.
#include "platform/win32/extended_path.h"

#include "platform/win32/handles.h"

namespace purgeon::win32 {

std::wstring extendedPath(const std::wstring& path) {
    if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0) return path;
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

}  // namespace purgeon::win32
