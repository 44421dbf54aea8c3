// Error texts from FormatMessage.
#include "platform/win32/system_errors_win32.h"

#include "platform/win32/handles.h"

namespace purgeon::win32 {

std::wstring Win32SystemErrors::text(long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    UniqueLocalMem owner(buffer);
    return length ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace purgeon::win32
