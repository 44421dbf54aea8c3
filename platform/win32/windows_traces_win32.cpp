// The built-in rules as a resource of the running program; the clipboard opened for no window;
// the resolver's cache flushed by the system's own ipconfig.
#include "platform/win32/windows_traces_win32.h"

#include "platform/win32/handles.h"
#include "platform/win32/win32_status.h"
#include "resource.h"

#include <shellapi.h>

namespace purgeon::win32 {

namespace {

// How long ipconfig may take to flush the cache.
constexpr DWORD kFlushWaitMs = 15000;

// The clipboard, open for as long as it lives. Another program may hold it for a moment.
class OpenClipboardScope {
public:
    OpenClipboardScope() {
        for (int attempt = 0; attempt < 10 && !m_open; ++attempt) {
            m_open = ::OpenClipboard(nullptr) != FALSE;
            if (!m_open) {
                m_status = lastError();
                ::Sleep(20);
            }
        }
    }
    ~OpenClipboardScope() {
        if (m_open) ::CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    Status status() const { return m_open ? Status::success() : m_status; }

private:
    bool m_open = false;
    Status m_status;
};

// The characters of the clipboard's text, never reading past its memory block.
std::size_t textLength(HANDLE data) {
    const SIZE_T size = ::GlobalSize(data);
    const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
    if (text == nullptr) return 0;
    std::size_t length = 0;
    while (length < size / sizeof(wchar_t) && text[length] != L'\0') ++length;
    ::GlobalUnlock(data);
    return length;
}

}  // namespace

Status Win32WindowsTraces::builtInRules(std::string& bytes) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_WINDOWS_RULES), RT_RCDATA);
    if (found == nullptr) return lastError();
    HGLOBAL loaded = ::LoadResource(nullptr, found);
    const DWORD size = ::SizeofResource(nullptr, found);
    const void* data = loaded == nullptr ? nullptr : ::LockResource(loaded);
    if (data == nullptr) return lastError();
    bytes.assign(static_cast<const char*>(data), size);
    return Status::success();
}

Status Win32WindowsTraces::readClipboard(ClipboardContent& content) {
    content = {};
    const OpenClipboardScope clipboard;
    if (!clipboard.status()) return clipboard.status();
    content.formats = static_cast<std::size_t>(::CountClipboardFormats());
    if (HANDLE text = ::GetClipboardData(CF_UNICODETEXT)) content.textLength = textLength(text);
    if (HANDLE drop = ::GetClipboardData(CF_HDROP))
        content.files = ::DragQueryFileW(static_cast<HDROP>(drop), 0xFFFFFFFF, nullptr, 0);
    content.picture =
        ::IsClipboardFormatAvailable(CF_DIB) || ::IsClipboardFormatAvailable(CF_BITMAP);
    return Status::success();
}

Status Win32WindowsTraces::emptyClipboard() {
    const OpenClipboardScope clipboard;
    if (!clipboard.status()) return clipboard.status();
    return callStatus(::EmptyClipboard());
}

Status Win32WindowsTraces::flushDnsCache(unsigned long& exitCode) {
    exitCode = 0;
    wchar_t system[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return lastError();
    const std::wstring program = std::wstring(system, length) + L"\\ipconfig.exe";
    std::wstring commandLine = L"\"" + program + L"\" /flushdns";
    // Its words go nowhere: neither into a console the program was started from nor a window.
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    UniqueFile nowhere(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING,
                                     0, nullptr));
    if (!nowhere) return lastError();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nowhere.get();
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started))
        return lastError();
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    const DWORD waited = ::WaitForSingleObject(process.get(), kFlushWaitMs);
    if (waited == WAIT_TIMEOUT) return Status::error(ERROR_TIMEOUT);
    if (waited != WAIT_OBJECT_0) return lastError();
    DWORD code = 0;
    if (!::GetExitCodeProcess(process.get(), &code)) return lastError();
    exitCode = code;
    return Status::success();
}

}  // namespace purgeon::win32
