// The running program's file, folder and version over the Win32 API.
#pragma once

#include "platform/app_info.h"

namespace purgeon::win32 {

class Win32AppInfo : public AppInfo {
public:
    AppVersion version() const override;
    std::wstring folder() const override;
    std::wstring exePath() const override;
};

}  // namespace purgeon::win32
