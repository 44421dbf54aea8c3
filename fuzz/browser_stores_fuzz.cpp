// Fuzz target: whole database files of a browser profile (Chromium's Cookies and History,
// Firefox's cookies.sqlite and places.sqlite): listed, then cleared, then listed again. The input
// is the file; it is put in place of each of them.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "browsers/browser_cookies.h"
#include "browsers/browser_history.h"
#include "browsers/cookie_keep_list.h"
#include "browsers/sqlite_database.h"
#include "fakes/fake_stores.h"
#include "fuzz/browser_database.h"
#include "fuzz/fuzz_support.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

ScratchFolder& scratch() {
    static ScratchFolder folder;
    return folder;
}

// Whether SQLite finds the file sound. A damaged file may answer two queries differently without
// an error, so what one listing says of another is only checked on a sound one.
bool soundFile(const std::wstring& path) {
    try {
        SqliteDatabase db(path, true);
        return db.integrityCheck() == "ok";
    } catch (const SqliteError&) {
        return false;
    }
}

// A clear that reports no error leaves only the kept cookies.
void clearCookies(FileSystem& files, const BrowserProfile& profile, bool sound) {
    std::vector<BrowserCookie> before;
    const std::wstring listed = listBrowserCookies(files, profile, before);
    CookieKeepList keep;
    if (!before.empty()) keep.add(before.front().host);
    const StoreClearing clearing = deleteBrowserCookies(files, profile, keep);
    check(!clearing.busy, "nobody else holds the cookie database");
    if (!sound || !listed.empty() || !clearing.error.empty()) return;
    check(clearing.removed + clearing.kept == before.size(),
          "every cookie listed is removed or kept");
    std::vector<BrowserCookie> after;
    if (!listBrowserCookies(files, profile, after).empty()) return;
    check(after.size() == clearing.kept, "the cookies left are the ones kept",
          std::to_string(after.size()) + " left, " + std::to_string(clearing.kept) + " kept");
    for (const BrowserCookie& cookie : after)
        check(keep.keeps(cookie.host), "only a kept site's cookie is left", shown(cookie.host));
}

// A clear that reports no error leaves no visited page.
void clearHistory(FileSystem& files, const BrowserProfile& profile, bool sound) {
    std::vector<BrowserVisit> before;
    const std::wstring listed = listBrowserHistory(files, profile, before);
    const HistoryClearing clearing = clearBrowserHistory(files, profile);
    check(!clearing.database.busy, "nobody else holds the history database");
    if (!sound || !clearing.database.error.empty()) return;
    if (profile.family == BrowserFamily::chromium && listed.empty())
        check(clearing.database.removed == before.size(), "every page listed is counted removed",
              std::to_string(clearing.database.removed) + " of " + std::to_string(before.size()));
    std::vector<BrowserVisit> after;
    if (!listBrowserHistory(files, profile, after).empty()) return;
    check(after.empty(), "no visited page is left after a clear",
          std::to_string(after.size()) + " left");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = bytesOf(data, size);
    for (const BrowserFamily family : {BrowserFamily::chromium, BrowserFamily::firefox}) {
        const bool firefox = family == BrowserFamily::firefox;
        const std::wstring folder = scratch().emptyFolder(firefox ? "firefox" : "chromium");
        const std::wstring cookies = folder + (firefox ? L"cookies.sqlite" : L"Cookies");
        const std::wstring history = folder + (firefox ? L"places.sqlite" : L"History");
        writeWholeFile(cookies, bytes);
        writeWholeFile(history, bytes);
        fakes::FakeFileSystem files;
        files.files[cookies];
        files.files[history];
        const BrowserProfile profile{firefox ? L"Firefox" : L"Chromium",
                                     L"Default",
                                     folder,
                                     folder,
                                     folder + L"lock",
                                     family};
        const bool whole = soundFile(cookies);
        clearCookies(files, profile, whole);
        clearHistory(files, profile, whole);
    }
    return 0;
}
