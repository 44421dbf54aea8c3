// The temporary folder, the known folders and the system's own temporary folders.
#include "platform/win32/system_folders_win32.h"

namespace purgeon::win32 {

std::wstring knownFolderPath(const KNOWNFOLDERID& id) {
    wchar_t* path = nullptr;
    const HRESULT hr = ::SHGetKnownFolderPath(id, 0, nullptr, &path);
    UniqueCoTaskMem owner(path);
    return SUCCEEDED(hr) && path ? std::wstring(path) : std::wstring();
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
        {FOLDERID_RoamingAppData, kRoamingAppDataName},
        {FOLDERID_LocalAppData, kLocalAppDataName},
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
        std::wstring path = knownFolderPath(folder.id);
        if (!path.empty()) folders.push_back({folder.name, std::move(path)});
    }
    return folders;
}

std::vector<std::wstring> Win32SystemFolders::systemTempFolders() {
    std::vector<std::wstring> folders;
    for (const KNOWNFOLDERID* id : {&FOLDERID_LocalAppData, &FOLDERID_Windows, &FOLDERID_Profile}) {
        const std::wstring base = knownFolderPath(*id);
        if (!base.empty()) folders.push_back(base + L"\\Temp");
    }
    return folders;
}

}  // namespace purgeon::win32
