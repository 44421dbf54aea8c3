// A fresh folder under the temporary path for tests on real files, and small file helpers.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/extended_path.h"
#include "platform/win32/handles.h"

namespace purgeon::wine {

inline bool exists(const std::wstring& path) {
    return ::GetFileAttributesW(win32::extendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool writeFile(const std::wstring& path, const std::string& content) {
    win32::UniqueFile file(::CreateFileW(win32::extendedPath(path).c_str(), GENERIC_WRITE, 0,
                                         nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                       nullptr) &&
           written == content.size();
}

// The whole file, or "<unreadable>".
inline std::string readFile(const std::wstring& path) {
    win32::UniqueFile file(::CreateFileW(win32::extendedPath(path).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         0, nullptr));
    if (!file) return "<unreadable>";
    std::string content;
    char buffer[1 << 16];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        content.append(buffer, read);
    return content;
}

// Waits until done() holds, checking every 20 ms, for at most the given time; whether it held.
template <typename Done>
bool waitUntil(Done done, DWORD timeoutMs = 60000) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= end) return false;
        ::Sleep(20);
    }
    return true;
}

// Wine only: starts a Unix command. Wine's "start /unix" returns before the command ends, even
// with "/wait", so callers wait for the command's effect themselves.
inline bool startUnixCommand(const std::wstring& commandLine) {
    return _wsystem((L"start /unix " + commandLine).c_str()) == 0;
}

inline void makeFolder(const std::wstring& path) {
    ::CreateDirectoryW(win32::extendedPath(path).c_str(), nullptr);
}

// Removes a tree below folder (ending in "\"): files first, then folders, never following a link
// as Windows sees links (not for trees that may hold Wine's Unix links: see TestFolder).
inline void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data{};
    win32::UniqueFind find(::FindFirstFileW(win32::extendedPath(folder + L"*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + name;
            const DWORD attributes = data.dwFileAttributes;
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                removeTree(path + L"\\");
            } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
                ::RemoveDirectoryW(win32::extendedPath(path).c_str());
            } else {
                ::SetFileAttributesW(win32::extendedPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(win32::extendedPath(path).c_str());
            }
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    ::RemoveDirectoryW(win32::extendedPath(folder).c_str());
}

// Wine only: the Unix path of a Windows path; empty elsewhere.
inline std::string unixPath(const std::wstring& path) {
    using Converter = char*(__cdecl*)(const wchar_t*);
    auto convert = reinterpret_cast<Converter>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return {};
    char* unix = convert(path.c_str());
    std::string result = unix ? unix : "";
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

// Wine only: makes a Unix symbolic link at link that points to target (both Windows paths, the
// target existing). False when not under Wine or when ln fails.
inline bool makeUnixLink(const std::wstring& target, const std::wstring& link) {
    const std::string unixTarget = unixPath(target);
    const size_t slash = link.find_last_of(L'\\');
    const std::string unixFolder = unixPath(link.substr(0, slash));
    if (unixTarget.empty() || unixFolder.empty()) return false;
    const std::wstring command =
        L"/bin/ln -s \"" + std::wstring(unixTarget.begin(), unixTarget.end()) + L"\" \"" +
        std::wstring(unixFolder.begin(), unixFolder.end()) + L"/" + link.substr(slash + 1) + L"\"";
    // ln makes the link in one step: once it is seen, ln is done.
    return startUnixCommand(command) && waitUntil([&] { return exists(link); });
}

// A folder of its own below the temporary path, made empty on creation and removed afterwards.
class TestFolder {
public:
    explicit TestFolder(const std::wstring& name) {
        wchar_t buffer[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, buffer);
        m_path = std::wstring(buffer) + name + L"\\";
        remove();
        makeFolder(m_path);
    }
    ~TestFolder() { remove(); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // Ends in "\".
    const std::wstring& path() const { return m_path; }

private:
    // Wine deletes through a Unix link what it points to and leaves the link, so under Wine the
    // tree goes from the Unix side, where rm never follows a link; elsewhere the Windows way.
    // rm removes the folder itself last, so once it is gone rm is done and cannot race the
    // next test's files; nothing is started when there is nothing to remove.
    void remove() {
        const std::string unix = unixPath(m_path);
        if (unix.empty()) {
            removeTree(m_path);
            return;
        }
        if (!exists(m_path)) return;
        const std::wstring command =
            L"/bin/rm -rf \"" + std::wstring(unix.begin(), unix.end()) + L"\"";
        if (!startUnixCommand(command) || !waitUntil([&] { return !exists(m_path); }))
            std::fprintf(stderr, "test folder %ls could not be removed\n", m_path.c_str());
    }

    std::wstring m_path;
};

}  // namespace purgeon::wine
