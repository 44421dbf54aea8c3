// Message boxes, the shell's open verb, the program's own facts and the single-instance mutex.
#include "platform/win32/win32_platform.h"

#include <shellapi.h>

#include <vector>

namespace purgeon::win32 {

int Win32Dialogs::messageBox(const std::wstring& text, const std::wstring& caption,
                             unsigned style) {
    return ::MessageBoxW(::GetActiveWindow(), text.c_str(), caption.c_str(), style);
}

void Win32Shell::open(const std::wstring& target) {
    ::ShellExecuteW(nullptr, nullptr, target.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL);
}

Status Win32Shell::openText(const std::wstring& path) {
    // ShellExecute answers a number above 32 for success, an error code up to 32 otherwise.
    const auto answer = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (answer > 32) return Status::success();
    const std::wstring quoted = L"\"" + path + L"\"";
    const auto notepad = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", L"notepad.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL));
    return notepad > 32 ? Status::success() : Status::error(static_cast<long>(notepad));
}

Status Win32Shell::emptyRecycleBin() {
    const HRESULT hr = ::SHEmptyRecycleBinW(nullptr, L"", SHERB_NOCONFIRMATION);
    // An empty bin answers E_UNEXPECTED: there was nothing to do.
    if (hr == S_OK || hr == E_UNEXPECTED) return Status::success();
    return Status::error(hr);
}

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
            static_cast<int>(LOWORD(info->dwFileVersionMS))};
}

bool Win32InstanceGuard::previousInstanceRunning() {
    if (m_mutex) return false;  // this process holds the slot already
    m_mutex.reset(::CreateMutexW(nullptr, FALSE, m_name.c_str()));
    if (m_mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        m_mutex.reset();
        return true;
    }
    return false;
}

}  // namespace purgeon::win32
