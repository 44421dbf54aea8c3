// Message boxes over the Win32 API.
#pragma once

#include "platform/dialogs.h"

namespace purgeon::win32 {

class Win32Dialogs : public Dialogs {
public:
    // The box is owned by the calling thread's active window, if any.
    int messageBox(const std::wstring& text, const std::wstring& caption, unsigned style) override;
};

}  // namespace purgeon::win32
