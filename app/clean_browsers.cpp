// The browsers' area of a run from the command line.
#include "app/clean_browsers.h"

#include "clean/browser_areas.h"
#include "app/program.h"
#include "browsers/browser_cache.h"
#include "browsers/browser_cookies.h"
#include "browsers/browser_history.h"
#include "browsers/profile_lock.h"

namespace purgeon {

namespace {

std::wstring inUseNote(const std::vector<BrowserProfile>& inUse) {
    std::wstring text;
    for (const BrowserProfile& profile : inUse)
        text += (text.empty() ? L"left alone while running: " : L", ") + profile.title();
    return text;
}

}  // namespace

AreaOutcome previewBrowsers(AreaRun& run) {
    FileSystem& files = run.program.services().files;
    const BrowserAreas& browsers = run.program.browsers();
    AreaOutcome outcome;
    std::size_t count = 0;
    std::uint64_t bytes = 0;
    std::vector<BrowserProfile> inUse;
    for (const BrowserChoice& choice : browsers.choices()) {
        if (!choice.ticked) continue;
        if (profileInUse(files, choice.profile)) inUse.push_back(choice.profile);
        std::vector<BrowserCookie> cookies;
        if (listBrowserCookies(files, choice.profile, cookies).empty())
            for (const BrowserCookie& cookie : cookies)
                count += browsers.keepList().keeps(cookie.host) ? 0 : 1;
        std::vector<BrowserVisit> visits;
        if (listBrowserHistory(files, choice.profile, visits).empty()) count += visits.size();
        for (const BrowserCacheEntry& entry : listBrowserCache(files, choice.profile)) {
            count += entry.fileCount;
            bytes += entry.bytes;
        }
    }
    outcome.count = count;
    outcome.bytes = bytes;
    if (!inUse.empty()) {
        outcome.done = false;
        outcome.why = inUseNote(inUse);
    }
    return outcome;
}

AreaOutcome cleanBrowsers(AreaRun& run) {
    Program& program = run.program;
    FileSystem& files = program.services().files;
    const std::vector<BrowserChoice> choices = program.browsers().choices();
    const CookieKeepList keep = program.browsers().keepList();
    BrowserClearing cookies;
    BrowserClearing cache;
    if (program.browsers().anyTicked() &&
        !program.runOperation(L"clearing the browsers", [&](std::stop_token stop, ProgressSink&) {
            cookies = clearBrowserCookies(files, choices, keep);
            cache = clearBrowserCaches(files, choices, stop);
        })) {
        AreaOutcome outcome;
        outcome.ran = false;
        outcome.done = false;
        outcome.why = L"another operation was running";
        return outcome;
    }
    const BrowserClearing history = program.clearBrowserHistories();
    AreaOutcome outcome;
    std::size_t count = 0;
    std::vector<std::wstring> failures;
    for (const BrowserClearing* area :
         std::initializer_list<const BrowserClearing*>{&cookies, &cache, &history}) {
        program.reportBrowsers(*area, false);
        count += area->removed;
        for (const std::wstring& failure : area->failures)
            if (failure.find(L"the browser is running") == std::wstring::npos)
                failures.push_back(failure);
    }
    outcome.count = count;
    std::wstring why = inUseNote(cookies.inUse);
    if (!failures.empty())
        why += (why.empty() ? L"" : L"; ") + std::to_wstring(failures.size()) +
               L" profile area(s) not fully cleared (see the log)";
    outcome.why = why;
    outcome.done = !cookies.incomplete && !cache.incomplete && !history.incomplete;
    return outcome;
}

}  // namespace purgeon
