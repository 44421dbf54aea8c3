// The common file and folder pickers, and the folder picker's start selection.
#pragma once

#include <string>

namespace purgeon {

class Pickers {
public:
    virtual ~Pickers() = default;
    // The Open dialog with one "Name|pattern" filter, starting from fileName. On OK the chosen
    // path goes into fileName and the result is true; Cancel leaves fileName as it was.
    virtual bool openFile(const std::wstring& filter, std::wstring& fileName) = 0;
    // The folder dialog (file-system folders only) opening on startFolder; empty on Cancel.
    virtual std::wstring browseForFolder(const std::wstring& startFolder,
                                         const std::wstring& title) = 0;
};

// The folder dialog as its callback sees it: a window that can be told what to select.
class FolderDialog {
public:
    virtual ~FolderDialog() = default;
    virtual void setSelection(const std::wstring& folder) = 0;
};

// The folder dialog reports that it is ready (BFFM_INITIALIZED).
inline constexpr unsigned kBffmInitialized = 1;

// Handles the folder dialog's callback messages: once it is ready, it is sent the start folder
// to select. Always gives 0.
inline int BrowseCallback(FolderDialog& dialog, unsigned message,
                          const std::wstring& initialFolder) {
    if (message == kBffmInitialized && !initialFolder.empty()) dialog.setSelection(initialFolder);
    return 0;
}

}  // namespace purgeon
