// Fuzz target: finding the browsers' profiles from Chromium's "Local State" and Firefox's
// profiles.ini. The input is the two files one after the other, with a NUL byte between them.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "browsers/json_value.h"
#include "browsers/profile_discovery.h"
#include "browsers/utf8_text.h"
#include "fuzz/fuzz_support.h"
#include "fakes/fake_stores.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

constexpr wchar_t kLocal[] = L"C:\\Users\\me\\AppData\\Local\\";
constexpr wchar_t kRoaming[] = L"C:\\Users\\me\\AppData\\Roaming\\";
constexpr wchar_t kUserData[] = L"C:\\Users\\me\\AppData\\Local\\Google\\Chrome\\User Data\\";
constexpr wchar_t kFirefox[] = L"C:\\Users\\me\\AppData\\Roaming\\Mozilla\\Firefox\\";

// Every folder of Chrome's user data holds its Preferences, and every Firefox profile its prefs.js,
// wherever profiles.ini puts it. No other browser is there.
class ProfileFiles : public fakes::FakeFileSystem {
public:
    Status fileSize(const std::wstring& path, std::uint64_t& bytes) override {
        if ((path.rfind(kUserData, 0) == 0 && endsWith(path, L"\\Preferences")) ||
            endsWith(path, L"\\prefs.js")) {
            bytes = 1;
            return {};
        }
        return FakeFileSystem::fileSize(path, bytes);
    }

private:
    static bool endsWith(const std::wstring& text, const std::wstring& end) {
        return text.size() >= end.size() &&
               text.compare(text.size() - end.size(), end.size(), end) == 0;
    }
};

// The profile folders the Chrome user data folder holds: the usual ones, and every one that
// Local State names (as far as a folder can have that name).
std::set<std::wstring> chromeFolders(std::string_view localState) {
    std::set<std::wstring> names = {L"Default", L"Profile 1"};
    const std::optional<JsonValue> state = parseJson(localState);
    const JsonValue* profile = state ? state->member("profile") : nullptr;
    const JsonValue* cache = profile ? profile->member("info_cache") : nullptr;
    if (cache)
        for (const auto& [folder, info] : cache->members) {
            const std::wstring name = fromUtf8(folder);
            if (!name.empty() && name != L"." && name != L".." &&
                name.find_first_of(L"\\/") == std::wstring::npos)
                names.insert(name);
        }
    return names;
}

bool endsInSeparator(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> parts = partsOf(bytesOf(data, size), '\0');
    const std::string_view localState = parts[0];
    const std::string_view profilesIni = parts.size() > 1 ? parts[1] : std::string_view();

    ProfileFiles files;
    files.addFile(kUserData, L"Local State", kAttrArchive, {localState.begin(), localState.end()});
    const std::set<std::wstring> folders = chromeFolders(localState);
    for (const std::wstring& folder : folders) files.addFile(kUserData, folder, kAttrDirectory);
    files.addFile(kFirefox, L"profiles.ini", kAttrArchive,
                  {profilesIni.begin(), profilesIni.end()});

    const std::vector<BrowserProfile> profiles = discoverProfiles(files, {kLocal, kRoaming});
    std::size_t chrome = 0;
    for (const BrowserProfile& profile : profiles) {
        check(!profile.browser.empty(), "every profile names its browser");
        check(endsInSeparator(profile.folder) && endsInSeparator(profile.cacheFolder),
              "profile and cache folders end in a separator", shown(profile.folder));
        check(!profile.lockFile.empty(), "every profile has a lock file");
        if (profile.family == BrowserFamily::firefox) {
            check(profile.lockFile == profile.folder + L"parent.lock",
                  "a Firefox profile's lock file is in its folder", shown(profile.lockFile));
            continue;
        }
        check(profile.browser == L"Chrome", "only Chrome is installed", shown(profile.browser));
        ++chrome;
        const std::wstring folder = lastFolderName(profile.folder);
        check(profile.folder == kUserData + folder + L"\\" && folders.count(folder) == 1,
              "a Chrome profile is a folder of its user data", shown(profile.folder));
        check(!profile.name.empty(), "a Chrome profile has a name", shown(profile.folder));
    }
    check(chrome == folders.size(), "every Chrome folder with Preferences is a profile");
    return 0;
}
