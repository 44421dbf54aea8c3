// The temporary folder's clearing and the guard against folders that are not temporary.
#include "areas/temp_folder.h"

#include <cwctype>

#include "wipe/shred.h"

namespace purgeon {

namespace {

// Lower case, "/" as "\", no trailing separator: paths compared as the file system compares them.
std::wstring comparable(const std::wstring& path) {
    std::wstring result;
    for (wchar_t c : path)
        result.push_back(c == L'/' ? L'\\' : static_cast<wchar_t>(std::towlower(c)));
    while (!result.empty() && result.back() == L'\\') result.pop_back();
    return result;
}

// True when `folder` is `inner` or one of its parents.
bool holds(const std::wstring& folder, const std::wstring& inner) {
    if (inner.empty()) return false;
    return inner == folder || inner.rfind(folder + L"\\", 0) == 0;
}

}  // namespace

bool isClearableTempFolder(const std::wstring& temp, const std::wstring& profile,
                           const std::wstring& windows) {
    const std::wstring t = comparable(temp);
    if (t.empty()) return false;
    const bool driveRoot = t.size() == 2 && t[1] == L':';
    const bool shareRoot =
        t.rfind(L"\\\\", 0) == 0 && t.find(L'\\', t.find(L'\\', 2) + 1) == std::wstring::npos;
    if (driveRoot || shareRoot) return false;
    return !holds(t, comparable(profile)) && !holds(t, comparable(windows));
}

void ClearTempFolder(FileSystem& files, SystemFolders& folders, FoundFileList& found) {
    const std::wstring temp = folders.tempPath();
    if (temp.empty() || temp.size() >= kTempPathBuffer) return;
    if (!isClearableTempFolder(temp, folders.profileFolder(), folders.windowsFolder())) return;
    resetFoundFiles(found);
    EnumFiles(files, temp, found);
    const size_t count = found.size() - 1;
    for (size_t i = 1; i <= count; ++i) ShredFile(files, found[i], 1);
}

}  // namespace purgeon
