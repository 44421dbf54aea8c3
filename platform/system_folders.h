// Folders the system names: the temporary folder, the user's and the system's own folders.
#pragma once

#include <string>
#include <vector>

namespace purgeon {

// A folder the system names for the current user or the machine, with a name to tell the user.
struct KnownFolder {
    std::wstring name;  // "Documents", "Program Files", ...
    std::wstring path;
};

// The names knownFolders gives the two application-data folders.
inline constexpr wchar_t kRoamingAppDataName[] = L"Roaming app data";
inline constexpr wchar_t kLocalAppDataName[] = L"Local app data";

// Folders the system names.
class SystemFolders {
public:
    virtual ~SystemFolders() = default;
    // The temporary folder, ending in "\"; empty when the system gives none.
    virtual std::wstring tempPath() = 0;
    // The folders that hold the user's or the system's own data: the profile, Desktop,
    // Documents, Downloads, Pictures, Music, Videos, Roaming and Local app data, ProgramData,
    // both Program Files, Windows, System, Public and the Users folder. Missing ones are left out.
    virtual std::vector<KnownFolder> knownFolders() = 0;
    // The system's own temporary folders: Local app data's Temp, the Windows folder's Temp and
    // the profile's Temp.
    virtual std::vector<std::wstring> systemTempFolders() = 0;
};

}  // namespace purgeon
