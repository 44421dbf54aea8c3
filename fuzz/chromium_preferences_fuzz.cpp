// Fuzz target: clearing a Chromium profile's history, which rewrites its Preferences file without
// the sites the profile has engaged with and leaves the rest of the file as it was.
#include <cstdint>
#include <optional>
#include <string>

#include "browsers/browser_history.h"
#include "browsers/json_value.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/json_same.h"
#include "fakes/fake_stores.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

constexpr const char* kEngagementKinds[] = {"media_engagement", "site_engagement",
                                            "important_site_info"};

// profile.content_settings.exceptions, when the file has it.
JsonValue* exceptionsOf(JsonValue& root) {
    JsonValue* at = &root;
    for (const char* name : {"profile", "content_settings", "exceptions"}) {
        const auto found = at->members.find(name);
        if (found == at->members.end()) return nullptr;
        at = &found->second;
    }
    return at;
}

// The value with every engaged site taken out, the way a clear leaves it.
JsonValue withoutEngagedSites(JsonValue root) {
    if (JsonValue* exceptions = exceptionsOf(root))
        for (const char* kind : kEngagementKinds) {
            const auto sites = exceptions->members.find(kind);
            if (sites != exceptions->members.end()) sites->second.members.clear();
        }
    return root;
}

bool holdsEngagedSites(JsonValue root) {
    const JsonValue* exceptions = exceptionsOf(root);
    if (!exceptions) return false;
    for (const char* kind : kEngagementKinds) {
        const JsonValue* sites = exceptions->member(kind);
        if (sites && !sites->members.empty()) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string original(bytesOf(data, size));
    fakes::FakeFileSystem files;
    const std::wstring folder = L"C:\\Users\\me\\AppData\\Local\\Chromium\\User Data\\Default\\";
    files.addFile(L"C:\\Users\\me\\AppData\\Local\\Chromium\\User Data\\", L"Default",
                  kAttrDirectory);
    files.addFile(folder, L"Preferences", kAttrArchive, {original.begin(), original.end()});
    const BrowserProfile profile{L"Chromium",
                                 L"Default",
                                 folder,
                                 folder,
                                 L"C:\\Users\\me\\AppData\\Local\\Chromium\\User Data\\lockfile",
                                 BrowserFamily::chromium};

    const HistoryClearing clearing = clearBrowserHistory(files, profile);
    const auto& content = files.files.at(folder + L"Preferences").content;
    const std::string after(content.begin(), content.end());

    const std::optional<JsonValue> before = parseJson(original);
    if (!before) {
        check(after == original, "a Preferences file that is not JSON is left as it was");
        check(clearing.database.error.find(L"Preferences") != std::wstring::npos,
              "a Preferences file that is not JSON is reported", shown(clearing.database.error));
        return 0;
    }
    check(clearing.database.error.empty(), "a JSON Preferences file is cleared without an error",
          shown(clearing.database.error));
    if (!holdsEngagedSites(*before)) {
        check(after == original, "a Preferences file without engaged sites is not rewritten");
        return 0;
    }
    const std::optional<JsonValue> rewritten = parseJson(after);
    check(rewritten.has_value(), "the rewritten Preferences file is JSON", shown(after));
    check(!holdsEngagedSites(*rewritten), "no engaged site is left in the rewritten file",
          shown(after));
    check(sameJson(*rewritten, withoutEngagedSites(*before)),
          "everything but the engaged sites stays as it was", shown(after));
    return 0;
}
