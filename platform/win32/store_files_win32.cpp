// Registry values, the settings store and files over the Win32 API.
#include "platform/win32/store_files_win32.h"

#include <shlobj.h>

#include <cwctype>

namespace purgeon::win32 {

namespace {

DWORD byteSize(const std::wstring& text) {
    return static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
}

std::wstring withoutBlanks(const std::wstring& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::iswspace(text[first])) ++first;
    while (last > first && std::iswspace(text[last - 1])) --last;
    return text.substr(first, last - first);
}

}  // namespace

RegValue Win32Registry::query(const std::wstring& subKey, const std::wstring& name) {
    // A key that cannot be opened stays null; the query on it then fails with the invalid-handle
    // error, which is what the user is told.
    UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        key.release();
    RegValue value;
    DWORD type = 0;
    DWORD size = 0;
    value.status =
        ::RegQueryValueExW(key ? key.get() : nullptr, name.c_str(), nullptr, &type, nullptr, &size);
    if (value.status != ERROR_SUCCESS) {
        if (!key) value.status = ERROR_INVALID_HANDLE;
        return value;
    }
    value.type = type;
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_DWORD) return value;
    value.data.resize(size);
    DWORD read = size;
    value.dataRead = ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                                        value.data.empty() ? nullptr : value.data.data(),
                                        &read) == ERROR_SUCCESS;
    value.data.resize(std::min<size_t>(read, value.data.size()));
    return value;
}

void Win32Registry::setString(const std::wstring& subKey, const std::wstring& name,
                              const std::wstring& text) {
    UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_WRITE, key.put()) !=
        ERROR_SUCCESS) {
        key.release();
        return;
    }
    ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(text.c_str()), byteSize(text));
}

void Win32Registry::deleteValue(const std::wstring& subKey, const std::wstring& name) {
    UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_WRITE, key.put()) !=
        ERROR_SUCCESS) {
        key.release();
        return;
    }
    ::RegDeleteValueW(key.get(), name.c_str());
}

std::wstring Win32SystemErrors::text(long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    UniqueLocalMem owner(buffer);
    return length ? std::wstring(buffer, length) : std::wstring();
}

std::wstring Win32SettingsStore::keyPath(const std::wstring& application,
                                         const std::wstring& section) const {
    return m_root + L"\\" + withoutBlanks(application) + L"\\" + section;
}

bool Win32SettingsStore::read(const std::wstring& application, const std::wstring& section,
                              const std::wstring& key, std::wstring& text) {
    UniqueHkey hkey;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(application, section).c_str(), 0, KEY_READ,
                        hkey.put()) != ERROR_SUCCESS) {
        hkey.release();
        return false;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(hkey.get(), key.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;
    }
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = size;
    if (::RegQueryValueExW(hkey.get(), key.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &read) != ERROR_SUCCESS) {
        return false;
    }
    text.assign(buffer.c_str());
    return true;
}

void Win32SettingsStore::write(const std::wstring& application, const std::wstring& section,
                               const std::wstring& key, const std::wstring& text) {
    UniqueHkey hkey;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(application, section).c_str(), 0, nullptr, 0,
                          KEY_WRITE, nullptr, hkey.put(), nullptr) != ERROR_SUCCESS) {
        hkey.release();
        return;
    }
    ::RegSetValueExW(hkey.get(), key.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(text.c_str()), byteSize(text));
}

std::wstring extendedPath(const std::wstring& path) {
    if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0) return path;
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

FileResult fileResultFromError(DWORD error) {
    switch (error) {
        case ERROR_SUCCESS:
            return FileResult::ok;
        case ERROR_ACCESS_DENIED:
            return FileResult::accessDenied;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return FileResult::notFound;
        default:
            return FileResult::failed;
    }
}

bool Win32FileSystem::listFolder(const std::wstring& folder,
                                 const std::function<void(const DirEntry&)>& visit) {
    WIN32_FIND_DATAW data{};
    UniqueFind find(::FindFirstFileW(extendedPath(folder + L"*").c_str(), &data));
    if (!find) return false;
    do {
        const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::uint64_t size =
            folder ? 0 : (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        visit({data.cFileName, data.dwFileAttributes, size});
    } while (::FindNextFileW(find.get(), &data));
    return true;
}

namespace {

std::wstring knownFolder(const KNOWNFOLDERID& id) {
    wchar_t* path = nullptr;
    const HRESULT hr = ::SHGetKnownFolderPath(id, 0, nullptr, &path);
    UniqueCoTaskMem owner(path);
    return SUCCEEDED(hr) && path ? std::wstring(path) : std::wstring();
}

}  // namespace

bool Win32FileSystem::readFile(const std::wstring& path, std::string& bytes) {
    UniqueFile file(::CreateFileW(extendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > (1 << 24)) return false;
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return false;
    bytes.resize(read);
    return true;
}

long Win32FileSystem::fileSize(const std::wstring& path, std::uint64_t& bytes) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(extendedPath(path).c_str(), GetFileExInfoStandard, &data))
        return static_cast<long>(::GetLastError());
    bytes = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return 0;
}

std::wstring Win32SystemFolders::tempPath() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    return length > 0 && length <= MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

std::vector<KnownFolder> Win32SystemFolders::knownFolders() {
    struct Named {
        const KNOWNFOLDERID& id;
        const wchar_t* name;
    };
    static const Named kFolders[] = {
        {FOLDERID_Profile, L"profile"},
        {FOLDERID_Desktop, L"Desktop"},
        {FOLDERID_Documents, L"Documents"},
        {FOLDERID_Downloads, L"Downloads"},
        {FOLDERID_Pictures, L"Pictures"},
        {FOLDERID_Music, L"Music"},
        {FOLDERID_Videos, L"Videos"},
        {FOLDERID_RoamingAppData, L"Roaming app data"},
        {FOLDERID_LocalAppData, L"Local app data"},
        {FOLDERID_ProgramData, L"ProgramData"},
        {FOLDERID_ProgramFiles, L"Program Files"},
        {FOLDERID_ProgramFilesX86, L"Program Files (x86)"},
        {FOLDERID_Windows, L"Windows"},
        {FOLDERID_System, L"System"},
        {FOLDERID_Public, L"Public"},
        {FOLDERID_UserProfiles, L"Users"},
    };
    std::vector<KnownFolder> folders;
    for (const Named& folder : kFolders) {
        std::wstring path = knownFolder(folder.id);
        if (!path.empty()) folders.push_back({folder.name, std::move(path)});
    }
    return folders;
}

std::vector<std::wstring> Win32SystemFolders::systemTempFolders() {
    std::vector<std::wstring> folders;
    for (const KNOWNFOLDERID* id : {&FOLDERID_LocalAppData, &FOLDERID_Windows, &FOLDERID_Profile}) {
        const std::wstring base = knownFolder(*id);
        if (!base.empty()) folders.push_back(base + L"\\Temp");
    }
    return folders;
}

FileResult Win32FileSystem::deleteFile(const std::wstring& path) {
    if (::DeleteFileW(extendedPath(path).c_str())) return FileResult::ok;
    return fileResultFromError(::GetLastError());
}

FileResult Win32FileSystem::setNormalAttributes(const std::wstring& path) {
    if (::SetFileAttributesW(extendedPath(path).c_str(), FILE_ATTRIBUTE_NORMAL))
        return FileResult::ok;
    return fileResultFromError(::GetLastError());
}

}  // namespace purgeon::win32
