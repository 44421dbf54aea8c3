// The rules' places from the environment and the known folders; registry keys in any root,
// always in the 64-bit view; an emptied folder removed as itself.
#include "platform/win32/trace_system_win32.h"

#include <shlobj.h>

#include "platform/win32/extended_path.h"
#include "platform/win32/handles.h"
#include "platform/win32/system_folders_win32.h"
#include "platform/win32/win32_status.h"

namespace purgeon::win32 {

namespace {

std::wstring environmentValue(const wchar_t* name) {
    wchar_t buffer[32768] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, 32768);
    return length > 0 && length < 32768 ? std::wstring(buffer, length) : std::wstring();
}

void addDistinct(std::vector<std::wstring>& values, const std::wstring& value) {
    if (value.empty()) return;
    for (const std::wstring& known : values)
        if (::CompareStringOrdinal(known.c_str(), -1, value.c_str(), -1, TRUE) == CSTR_EQUAL)
            return;
    values.push_back(value);
}

// "HKCU\Software\X" into its root and the key below it.
bool splitKey(const std::wstring& key, HKEY& root, std::wstring& subKey) {
    const std::size_t slash = key.find(L'\\');
    const std::wstring name = key.substr(0, slash);
    subKey = slash == std::wstring::npos ? std::wstring() : key.substr(slash + 1);
    if (name == L"HKCU") {
        root = HKEY_CURRENT_USER;
    } else if (name == L"HKLM") {
        root = HKEY_LOCAL_MACHINE;
    } else if (name == L"HKCR") {
        root = HKEY_CLASSES_ROOT;
    } else if (name == L"HKU") {
        root = HKEY_USERS;
    } else {
        return false;
    }
    return true;
}

Status openKey(const std::wstring& key, REGSAM access, UniqueHkey& opened) {
    HKEY root = nullptr;
    std::wstring subKey;
    if (!splitKey(key, root, subKey)) return Status::error(ERROR_INVALID_PARAMETER);
    const LSTATUS answer =
        ::RegOpenKeyExW(root, subKey.c_str(), 0, access | KEY_WOW64_64KEY, opened.put());
    if (answer != ERROR_SUCCESS) opened.release();
    return registryStatus(answer);
}

bool missing(const Status& status) {
    return status.code == ERROR_FILE_NOT_FOUND || status.code == ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::vector<std::wstring> Win32TraceSystem::place(const std::wstring& name) {
    std::vector<std::wstring> values;
    if (name == L"localappdata") {
        addDistinct(values, knownFolderPath(FOLDERID_LocalAppData));
    } else if (name == L"appdata") {
        addDistinct(values, knownFolderPath(FOLDERID_RoamingAppData));
    } else if (name == L"locallowappdata") {
        addDistinct(values, knownFolderPath(FOLDERID_LocalAppDataLow));
    } else if (name == L"userprofile") {
        addDistinct(values, knownFolderPath(FOLDERID_Profile));
    } else if (name == L"documents") {
        addDistinct(values, knownFolderPath(FOLDERID_Documents));
    } else if (name == L"programdata") {
        addDistinct(values, knownFolderPath(FOLDERID_ProgramData));
    } else if (name == L"public") {
        addDistinct(values, knownFolderPath(FOLDERID_Public));
    } else if (name == L"windir") {
        addDistinct(values, knownFolderPath(FOLDERID_Windows));
    } else if (name == L"programfiles") {
        addDistinct(values, knownFolderPath(FOLDERID_ProgramFiles));
        addDistinct(values, knownFolderPath(FOLDERID_ProgramFilesX86));
    } else if (name == L"commonprogramfiles") {
        addDistinct(values, knownFolderPath(FOLDERID_ProgramFilesCommon));
        addDistinct(values, knownFolderPath(FOLDERID_ProgramFilesCommonX86));
    } else if (name == L"systemdrive") {
        addDistinct(values, environmentValue(L"SystemDrive"));
    } else if (name == L"username") {
        addDistinct(values, environmentValue(L"USERNAME"));
    } else if (name == L"temp") {
        wchar_t buffer[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
        if (length > 0 && length <= MAX_PATH) addDistinct(values, std::wstring(buffer, length));
    }
    return values;
}

WindowsVersion Win32TraceSystem::windowsVersion() {
    // The version the system really is, whatever the program's manifest declares.
    using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll")) {
        auto proc = reinterpret_cast<RtlGetVersionProc>(
            reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
        if (proc && proc(&info) == 0)
            return {static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion)};
    }
    return {};
}

bool Win32TraceSystem::elevated() {
    UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return ::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation),
                                 &size) &&
           elevation.TokenIsElevated != 0;
}

Status Win32TraceSystem::listValues(const std::wstring& key, std::vector<RegistryEntry>& values) {
    values.clear();
    UniqueHkey opened;
    if (const Status status = openKey(key, KEY_QUERY_VALUE, opened); !status) return status;
    DWORD count = 0, longestName = 0, longestData = 0;
    if (const Status asked = registryStatus(
            ::RegQueryInfoKeyW(opened.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &count, &longestName, &longestData, nullptr, nullptr));
        !asked)
        return asked;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<unsigned char> data(longestData);
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const LSTATUS answer =
            ::RegEnumValueW(opened.get(), index, name.data(), &nameLength, nullptr, &type,
                            data.empty() ? nullptr : data.data(), &dataLength);
        // A value written since the key was asked about is not this listing's.
        if (answer == ERROR_NO_MORE_ITEMS || answer == ERROR_MORE_DATA) break;
        if (answer != ERROR_SUCCESS) return registryStatus(answer);
        values.push_back({std::wstring(name.data(), nameLength), type,
                          std::vector<unsigned char>(data.begin(), data.begin() + dataLength)});
    }
    return Status::success();
}

Status Win32TraceSystem::listSubkeys(const std::wstring& key, std::vector<std::wstring>& names) {
    names.clear();
    UniqueHkey opened;
    if (const Status status = openKey(key, KEY_ENUMERATE_SUB_KEYS, opened); !status) return status;
    // A key's name is at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        const LSTATUS answer =
            ::RegEnumKeyExW(opened.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (answer == ERROR_NO_MORE_ITEMS) return Status::success();
        if (answer != ERROR_SUCCESS) return registryStatus(answer);
        names.emplace_back(name, length);
    }
}

Status Win32TraceSystem::keyExists(const std::wstring& key, bool& exists) {
    UniqueHkey opened;
    const Status status = openKey(key, KEY_READ, opened);
    exists = status.ok();
    return status.ok() || missing(status) ? Status::success() : status;
}

Status Win32TraceSystem::valueExists(const std::wstring& key, const std::wstring& name,
                                     bool& exists) {
    exists = false;
    UniqueHkey opened;
    const Status status = openKey(key, KEY_READ, opened);
    if (!status) return missing(status) ? Status::success() : status;
    const Status asked = registryStatus(
        ::RegQueryValueExW(opened.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr));
    exists = asked.ok();
    return asked.ok() || missing(asked) ? Status::success() : asked;
}

Status Win32TraceSystem::deleteKey(const std::wstring& key) {
    const std::size_t slash = key.find_last_of(L'\\');
    if (slash == std::wstring::npos || key.find(L'\\') == slash)
        return Status::error(ERROR_INVALID_PARAMETER);  // never a root's first level
    UniqueHkey parent;
    const Status opened = openKey(key.substr(0, slash), KEY_READ | KEY_WRITE | DELETE, parent);
    if (!opened) return missing(opened) ? Status::success() : opened;
    const std::wstring name = key.substr(slash + 1);
    const Status deleted = registryStatus(::RegDeleteTreeW(parent.get(), name.c_str()));
    return deleted.ok() || missing(deleted) ? Status::success() : deleted;
}

Status Win32TraceSystem::deleteValue(const std::wstring& key, const std::wstring& name) {
    UniqueHkey opened;
    const Status status = openKey(key, KEY_SET_VALUE, opened);
    if (!status) return missing(status) ? Status::success() : status;
    const Status deleted = registryStatus(::RegDeleteValueW(opened.get(), name.c_str()));
    return deleted.ok() || missing(deleted) ? Status::success() : deleted;
}

Status Win32TraceSystem::removeEmptyFolder(const std::wstring& path) {
    // RemoveDirectory takes a folder link as itself and fails for a folder that holds anything.
    return callStatus(::RemoveDirectoryW(extendedPath(path).c_str()));
}

Status Win32TraceSystem::writeWholeFile(const std::wstring& path, const std::string& bytes) {
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return Status::error(ERROR_INVALID_PARAMETER);
    const std::wstring folder = extendedPath(path.substr(0, slash));
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return lastError();
    const std::wstring written = extendedPath(path + L".new");
    {
        UniqueFile file(::CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return lastError();
        DWORD done = 0;
        if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done,
                         nullptr) ||
            done != bytes.size() || !::FlushFileBuffers(file.get())) {
            const Status failed = lastError();
            file.reset();
            ::DeleteFileW(written.c_str());
            return failed;
        }
    }
    if (!::MoveFileExW(written.c_str(), extendedPath(path).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const Status failed = lastError();
        ::DeleteFileW(written.c_str());
        return failed;
    }
    return Status::success();
}

}  // namespace purgeon::win32
