// The module's file name and its version resource.
#include "platform/win32/app_info_win32.h"

#include <vector>

#include "platform/win32/handles.h"

namespace purgeon::win32 {

std::wstring Win32AppInfo::exePath() const {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring Win32AppInfo::folder() const {
    std::wstring path = exePath();
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    // A drive root keeps its separator ("C:\"); any other folder loses it.
    if (slash == 2 && path[1] == L':') return path.substr(0, 3);
    return path.substr(0, slash);
}

AppVersion Win32AppInfo::version() const {
    const std::wstring path = exePath();
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<unsigned char> block(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) ||
        infoSize < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    return {static_cast<int>(HIWORD(info->dwFileVersionMS)),
            static_cast<int>(LOWORD(info->dwFileVersionMS)),
            static_cast<int>(HIWORD(info->dwFileVersionLS))};
}

}  // namespace purgeon::win32
