// ShellExecuteW for documents and web addresses, SHEmptyRecycleBinW and SHQueryRecycleBinW for
// the bins.
#include "platform/win32/shell_win32.h"

#include "platform/win32/win32_status.h"

#include <shellapi.h>

namespace purgeon::win32 {

Status Win32Shell::open(const std::wstring& target) {
    return shellExecuteStatus(
        ::ShellExecuteW(nullptr, nullptr, target.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL));
}

Status Win32Shell::openText(const std::wstring& path) {
    if (shellExecuteStatus(
            ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)))
        return Status::success();
    const std::wstring quoted = L"\"" + path + L"\"";
    return shellExecuteStatus(
        ::ShellExecuteW(nullptr, L"open", L"notepad.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL));
}

Status Win32Shell::emptyRecycleBin() {
    // The shell may be asked from a worker thread: it needs COM there as well.
    const ComApartment com;
    const HRESULT hr = ::SHEmptyRecycleBinW(nullptr, L"", SHERB_NOCONFIRMATION);
    // An empty bin answers E_UNEXPECTED: there was nothing to do.
    if (hr == S_OK || hr == E_UNEXPECTED) return Status::success();
    return Status::error(hr);
}

Status Win32Shell::queryRecycleBin(RecycleBinContents& contents) {
    const ComApartment com;
    SHQUERYRBINFO info{};
    info.cbSize = sizeof(info);
    // An empty root path asks for the bins of all drives.
    const HRESULT hr = ::SHQueryRecycleBinW(L"", &info);
    if (FAILED(hr)) return Status::error(hr);
    contents.items = static_cast<std::uint64_t>(info.i64NumItems);
    contents.bytes = static_cast<std::uint64_t>(info.i64Size);
    return Status::success();
}

}  // namespace purgeon::win32
