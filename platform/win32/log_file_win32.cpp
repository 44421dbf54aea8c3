// The program's log file: UTF-8 lines appended one at a time, one backup when it grows too big.
#include "platform/win32/log_file_win32.h"

#include "platform/win32/extended_path.h"
#include "platform/win32/system_folders_win32.h"
#include "platform/win32/win32_status.h"

namespace purgeon::win32 {

namespace {

std::wstring defaultLogPath() {
    const std::wstring folder = knownFolderPath(FOLDERID_LocalAppData);
    return folder.empty() ? std::wstring() : folder + L"\\Purgeon\\purgeon.log";
}

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                              size, nullptr, nullptr);
    return bytes;
}

}  // namespace

Win32LogFile::Win32LogFile(std::wstring path)
    : m_path(path.empty() ? defaultLogPath() : std::move(path)) {}

std::wstring Win32LogFile::backupPath() const {
    const size_t slash = m_path.find_last_of(L"\\/");
    const size_t dot = m_path.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return m_path + L".old";
    return m_path.substr(0, dot) + L".old" + m_path.substr(dot);
}

Status Win32LogFile::append(const std::wstring& line) {
    if (m_path.empty()) return Status::error(ERROR_PATH_NOT_FOUND);
    const std::lock_guard<std::mutex> lock(m_appending);
    const std::wstring target = extendedPath(m_path);
    const size_t slash = m_path.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        ::CreateDirectoryW(extendedPath(m_path.substr(0, slash)).c_str(), nullptr);

    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data) &&
        ((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) >
            kLogLimit) {
        // Should the move fail (a reader holding the file without sharing deletion), the line
        // still goes to the current file.
        ::MoveFileExW(target.c_str(), extendedPath(backupPath()).c_str(),
                      MOVEFILE_REPLACE_EXISTING);
    }

    UniqueFile file(::CreateFileW(target.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return lastError();
    const std::string bytes = utf8(line) + "\r\n";
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return lastError();
    if (written != bytes.size()) return Status::error(ERROR_WRITE_FAULT);
    return Status::success();
}

}  // namespace purgeon::win32
