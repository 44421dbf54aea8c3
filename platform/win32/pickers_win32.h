// The common Open dialog and the shell's folder dialog, owned by the program's active window.
#pragma once

#include "platform/pickers.h"

namespace purgeon::win32 {

class Win32Pickers : public Pickers {
public:
    bool openFile(const std::wstring& filter, std::wstring& fileName) override;
    std::wstring browseForFolder(const std::wstring& startFolder,
                                 const std::wstring& title) override;
};

}  // namespace purgeon::win32
