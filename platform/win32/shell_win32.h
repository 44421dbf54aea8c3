// The shell's open verb and the Recycle Bin over the Win32 API.
#pragma once

#include "platform/shell.h"

namespace purgeon::win32 {

class Win32Shell : public Shell {
public:
    Status open(const std::wstring& target) override;
    Status openText(const std::wstring& path) override;
    Status emptyRecycleBin() override;
    Status queryRecycleBin(RecycleBinContents& contents) override;
};

}  // namespace purgeon::win32
