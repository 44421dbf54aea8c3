// MessageBoxW over the program's active window.
#include "platform/win32/dialogs_win32.h"

#include "platform/win32/handles.h"

namespace purgeon::win32 {

int Win32Dialogs::messageBox(const std::wstring& text, const std::wstring& caption,
                             unsigned style) {
    return ::MessageBoxW(::GetActiveWindow(), text.c_str(), caption.c_str(), style);
}

}  // namespace purgeon::win32
