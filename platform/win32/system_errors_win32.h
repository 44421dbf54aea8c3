// The system's message texts over the Win32 API.
#pragma once

#include "platform/system_errors.h"

namespace purgeon::win32 {

class Win32SystemErrors : public SystemErrors {
public:
    std::wstring text(long code) override;
};

}  // namespace purgeon::win32
