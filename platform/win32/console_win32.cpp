// Writing the command line's text to the console or to a redirected standard output.
#include "platform/win32/console_win32.h"

#include "platform/win32/win32_status.h"

#include <string>

namespace purgeon::win32 {

namespace {

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != 0;
}

// Each line ending in CR LF, as consoles and text files on this system expect.
std::wstring withCarriageReturns(const std::wstring& text) {
    std::wstring lines;
    for (wchar_t c : text) {
        if (c == L'\n') lines += L'\r';
        lines += c;
    }
    return lines;
}

// UTF-8 for files and pipes.
std::string utf8(const std::wstring& lines) {
    if (lines.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()),
                              bytes.data(), size, nullptr, nullptr);
    return bytes;
}

}  // namespace

Win32ConsoleOutput::~Win32ConsoleOutput() {
    m_conout.reset();
    if (m_attached) ::FreeConsole();
}

void Win32ConsoleOutput::choose() {
    m_chosen = true;
    // Redirected output (or, under some hosts, the console itself) comes as a handle given at
    // start; a window program started from a console window gets none and attaches to it.
    const HANDLE given = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (given && given != INVALID_HANDLE_VALUE && ::GetFileType(given) != FILE_TYPE_UNKNOWN) {
        m_target = given;
        m_console = isConsole(given);
        return;
    }
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;  // started without a console
    m_attached = true;
    m_conout.reset(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr));
    if (!m_conout) return;
    m_target = m_conout.get();
    m_console = true;
}

Status Win32ConsoleOutput::write(const std::wstring& text) {
    if (!m_chosen) choose();
    if (!m_target || text.empty()) return Status::success();
    const std::wstring lines = withCarriageReturns(text);
    if (m_console) {
        DWORD written = 0;
        return callStatus(::WriteConsoleW(m_target, lines.data(), static_cast<DWORD>(lines.size()),
                                          &written, nullptr));
    }
    const std::string bytes = utf8(lines);
    DWORD written = 0;
    if (!::WriteFile(m_target, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return lastError();
    return written == bytes.size() ? Status::success() : Status::error(ERROR_WRITE_FAULT);
}

}  // namespace purgeon::win32
