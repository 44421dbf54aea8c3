// The file and folder pickers over the common dialogs and the shell.
#include "platform/win32/pickers_win32.h"

#include "platform/win32/handles.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace purgeon::win32 {

namespace {

// Room for a path of any length the wide file functions accept.
constexpr std::size_t kLongPathChars = 32768;

class FolderDialogWindow : public FolderDialog {
public:
    explicit FolderDialogWindow(HWND dialog) : m_dialog(dialog) {}
    void setSelection(const std::wstring& folder) override {
        ::SendMessageW(m_dialog, BFFM_SETSELECTIONW, TRUE,
                       reinterpret_cast<LPARAM>(folder.c_str()));
    }

private:
    HWND m_dialog;
};

// The folder dialog's callback; its data is the folder to start from.
int CALLBACK folderDialogProc(HWND dialog, UINT message, LPARAM /*detail*/, LPARAM data) {
    const auto* startFolder = reinterpret_cast<const std::wstring*>(data);
    if (startFolder == nullptr) return 0;
    FolderDialogWindow window(dialog);
    return BrowseCallback(window, message, *startFolder);
}

}  // namespace

bool Win32Pickers::openFile(const std::wstring& filter, std::wstring& fileName) {
    // "Name|pattern" pairs become the NUL-separated list the dialog reads, ending in two NULs.
    std::wstring filters = filter;
    std::replace(filters.begin(), filters.end(), L'|', L'\0');
    filters.append(2, L'\0');

    std::vector<wchar_t> path(kLongPathChars, L'\0');
    fileName.copy(path.data(), path.size() - 1);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = ::GetActiveWindow();
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    if (!::GetOpenFileNameW(&dialog)) return false;
    fileName.assign(path.data());
    return true;
}

std::wstring Win32Pickers::browseForFolder(const std::wstring& startFolder,
                                           const std::wstring& title) {
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW browse{};
    browse.hwndOwner = ::GetActiveWindow();
    browse.pidlRoot = nullptr;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title.empty() ? nullptr : title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = &folderDialogProc;
    browse.lParam = reinterpret_cast<LPARAM>(&startFolder);

    const UniqueCoTaskMem chosen(::SHBrowseForFolderW(&browse));
    if (!chosen) return {};
    const auto folder = static_cast<PCIDLIST_ABSOLUTE>(chosen.get());
    std::vector<wchar_t> path(kLongPathChars, L'\0');
    if (::SHGetPathFromIDListEx(folder, path.data(), static_cast<DWORD>(path.size()),
                                GPFIDL_DEFAULT)) {
        return path.data();
    }
    wchar_t shortPath[MAX_PATH] = {};
    if (::SHGetPathFromIDListW(folder, shortPath)) return shortPath;
    return {};
}

}  // namespace purgeon::win32
