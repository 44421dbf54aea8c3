// Finding the Chromium-family browsers' and Firefox's profiles.
#include "browsers/profile_discovery.h"

#include <algorithm>
#include <map>

#include "browsers/ini_text.h"
#include "browsers/json_value.h"
#include "browsers/utf8_text.h"

namespace purgeon {

namespace {

struct ChromiumBrowser {
    const wchar_t* name;
    bool roaming;
    const wchar_t* userData;  // below the app-data folder
    bool singleProfile;       // the folder is the profile itself (Opera)
};

constexpr ChromiumBrowser kChromiumBrowsers[] = {
    {L"Chrome", false, L"Google\\Chrome\\User Data\\", false},
    {L"Edge", false, L"Microsoft\\Edge\\User Data\\", false},
    {L"Brave", false, L"BraveSoftware\\Brave-Browser\\User Data\\", false},
    {L"Vivaldi", false, L"Vivaldi\\User Data\\", false},
    {L"Chromium", false, L"Chromium\\User Data\\", false},
    {L"Opera", true, L"Opera Software\\Opera Stable\\", true},
};

bool isFile(FileSystem& files, const std::wstring& path) {
    std::uint64_t bytes = 0;
    return files.fileSize(path, bytes).ok();
}

// A folder that is not there holds no profile; one that is there but cannot be listed is noted.
std::vector<std::wstring> subfolders(FileSystem& files, const std::wstring& folder,
                                     std::vector<UnlistedFolder>* unlisted) {
    std::vector<std::wstring> names;
    const Status listed = files.listFolder(folder, [&](const DirEntry& entry) {
        if ((entry.attributes & kAttrDirectory) && entry.name != L"." && entry.name != L"..")
            names.push_back(entry.name);
    });
    if (!listed && !listed.notFound() && unlisted) unlisted->push_back({folder, listed});
    std::sort(names.begin(), names.end());
    return names;
}

// Profile folder to its name, from "Local State"'s profile.info_cache.
std::map<std::wstring, std::wstring> chromiumProfileNames(FileSystem& files,
                                                          const std::wstring& userData) {
    std::map<std::wstring, std::wstring> names;
    std::string text;
    if (!files.readFile(userData + L"Local State", text)) return names;
    const std::optional<JsonValue> state = parseJson(text);
    const JsonValue* profile = state ? state->member("profile") : nullptr;
    const JsonValue* cache = profile ? profile->member("info_cache") : nullptr;
    if (!cache) return names;
    for (const auto& [folder, info] : cache->members) {
        const JsonValue* name = info.member("name");
        names[fromUtf8(folder)] = name ? fromUtf8(name->text) : fromUtf8(folder);
    }
    return names;
}

void addChromium(FileSystem& files, const ChromiumBrowser& browser, const std::wstring& base,
                 std::vector<BrowserProfile>& profiles, std::vector<UnlistedFolder>* unlisted) {
    const std::wstring userData = base + browser.userData;
    auto add = [&](const std::wstring& folder, const std::wstring& name) {
        profiles.push_back(
            {browser.name, name, folder, folder, userData + L"lockfile", BrowserFamily::chromium});
    };
    if (browser.singleProfile) {
        if (isFile(files, userData + L"Preferences")) add(userData, L"Default");
        return;
    }
    const auto names = chromiumProfileNames(files, userData);
    for (const std::wstring& folder : subfolders(files, userData, unlisted)) {
        const std::wstring path = userData + folder + L"\\";
        if (!isFile(files, path + L"Preferences")) continue;
        const auto named = names.find(folder);
        add(path, named != names.end() && !named->second.empty() ? named->second : folder);
    }
}

void addFirefox(FileSystem& files, const AppDataFolders& appData,
                std::vector<BrowserProfile>& profiles) {
    const std::wstring roamingRoot = appData.roaming + L"Mozilla\\Firefox\\";
    const std::wstring localRoot = appData.local + L"Mozilla\\Firefox\\";
    std::string text;
    if (!files.readFile(roamingRoot + L"profiles.ini", text)) return;
    for (const IniSection& section : parseIni(fromUtf8(text))) {
        if (section.name.rfind(L"Profile", 0) != 0) continue;
        std::wstring path = section.value(L"Path");
        if (path.empty()) continue;
        std::replace(path.begin(), path.end(), L'/', L'\\');
        const bool relative = section.value(L"IsRelative") != L"0";
        const std::wstring folder = withSeparator(relative ? roamingRoot + path : path);
        if (!isFile(files, folder + L"prefs.js") && !isFile(files, folder + L"places.sqlite") &&
            !isFile(files, folder + L"cookies.sqlite"))
            continue;
        const std::wstring name = section.value(L"Name");
        profiles.push_back({L"Firefox", name.empty() ? lastFolderName(folder) : name, folder,
                            relative ? withSeparator(localRoot + path) : folder,
                            folder + L"parent.lock", BrowserFamily::firefox});
    }
}

}  // namespace

std::wstring withSeparator(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::vector<BrowserProfile> discoverProfiles(FileSystem& files, const AppDataFolders& appData,
                                             std::vector<UnlistedFolder>* unlisted) {
    std::vector<BrowserProfile> profiles;
    if (appData.local.empty() && appData.roaming.empty()) return profiles;
    const AppDataFolders bases{withSeparator(appData.local), withSeparator(appData.roaming)};
    for (const ChromiumBrowser& browser : kChromiumBrowsers) {
        const std::wstring& base = browser.roaming ? bases.roaming : bases.local;
        if (!base.empty()) addChromium(files, browser, base, profiles, unlisted);
    }
    if (!bases.roaming.empty()) addFirefox(files, bases, profiles);
    return profiles;
}

}  // namespace purgeon
