// The browsers' parts and the browsers' area: their previews, counted profile by profile, and
// their clears, each as one operation.
#include "clean/browser_area.h"

#include <algorithm>
#include <future>
#include <vector>

#include "browsers/browser_cache.h"
#include "browsers/browser_cookies.h"
#include "browsers/browser_history.h"
#include "browsers/profile_lock.h"

namespace purgeon {

namespace {

enum class Part { cookies, cache, history };

// "left alone while running: Chrome (Default), Edge (Default)"
std::wstring titlesNote(const wchar_t* lead, const std::vector<BrowserProfile>& profiles) {
    std::wstring text;
    for (const BrowserProfile& profile : profiles)
        text += (text.empty() ? std::wstring(lead) : L", ") + profile.title();
    return text;
}

// "2 folder(s) of browsers could not be listed": the search for profiles did not reach them all.
std::wstring unlistedNote(const BrowserAreas& browsers) {
    if (browsers.unlisted().empty()) return {};
    return std::to_wstring(browsers.unlisted().size()) +
           L" folder(s) of browsers could not be listed";
}

// Counts what a clean of the parts would remove in every ticked profile. A profile whose store or
// cache folder cannot be read is named and leaves the preview not done; so does a folder the search
// for profiles could not list.
AreaResult previewParts(CleanContext& context, std::initializer_list<Part> parts) {
    FileSystem& files = context.services.files;
    const BrowserAreas& browsers = context.browsers;
    std::size_t count = 0;
    std::uint64_t bytes = 0;
    std::vector<BrowserProfile> inUse;
    std::vector<BrowserProfile> unread;
    for (const BrowserChoice& choice : browsers.choices()) {
        if (!choice.ticked) continue;
        const bool running = profileInUse(files, choice.profile);
        if (running) inUse.push_back(choice.profile);
        bool read = true;
        for (const Part part : parts) {
            if (part == Part::cookies) {
                std::vector<BrowserCookie> cookies;
                read = listBrowserCookies(files, choice.profile, cookies).empty() && read;
                for (const BrowserCookie& cookie : cookies)
                    count += browsers.keepList().keeps(cookie.host) ? 0 : 1;
            } else if (part == Part::history) {
                std::size_t pages = 0;
                read = countBrowserHistory(files, choice.profile, pages).empty() && read;
                count += pages;
            } else {
                // The files the clear removes, by name: reading each entry's address would
                // cost an open per file, for nothing the count needs.
                const ProfileFiles cache = findBrowserCacheFiles(files, choice.profile);
                count += cache.count();
                bytes += cache.bytes;
                read = cache.unlisted.empty() && read;
            }
        }
        // A running browser may hold its stores: it is left alone all the same.
        if (!read && !running) unread.push_back(choice.profile);
    }
    AreaResult result;
    result.count = count;
    result.bytes = bytes;
    std::vector<std::wstring> notes;
    if (!inUse.empty()) notes.push_back(titlesNote(L"left alone while running: ", inUse));
    if (!unread.empty()) notes.push_back(titlesNote(L"could not be read: ", unread));
    if (!browsers.unlisted().empty()) notes.push_back(unlistedNote(browsers));
    result.why = joinedNotes(notes);
    result.done = notes.empty();
    return result;
}

// What the activity of an operation running the parts is called where its progress shows.
const wchar_t* activityOf(const std::vector<Part>& parts) {
    if (parts.size() > 1) return L"clearing the browsers' cookies, cache and history";
    return parts.front() == Part::cookies ? L"deleting cookies"
           : parts.front() == Part::cache ? L"clearing the cache"
                                          : L"clearing the browsers' history";
}

// Runs the parts' clears over the ticked profiles as one operation: the first on the operation's
// thread, the others beside it, each part's results in the order asked. A history's databases keep
// the processor busy while a cache's files wait on the device, so together they take little more
// than the longer alone.
std::vector<AreaResult> clearParts(CleanContext& context, const std::vector<Part>& parts) {
    std::vector<AreaResult> results(parts.size());
    if (!context.browsers.anyTicked()) return results;
    FileSystem& files = context.services.files;
    const std::vector<BrowserChoice> choices = context.browsers.choices();
    const CookieKeepList keep = context.browsers.keepList();
    std::vector<CookieRow> selected;
    const bool selectedOnly = context.shown.cookies && context.shown.selectedCookiesOnly;
    if (selectedOnly && std::find(parts.begin(), parts.end(), Part::cookies) != parts.end())
        for (const CookieRow& row : context.shown.cookies->rows())
            if (row.selected && row.fromBrowser()) selected.push_back(row);
    auto clear = [&](Part part, std::stop_token stop) {
        switch (part) {
            case Part::cookies:
                return clearBrowserCookies(files, choices, keep,
                                           selectedOnly ? &selected : nullptr);
            case Part::cache:
                return clearBrowserCaches(files, choices, stop);
            case Part::history:
                break;
        }
        return clearBrowserHistories(files, choices, stop);
    };
    std::vector<BrowserClearing> clearings(parts.size());
    const bool ran = context.operations.runOperation(
        activityOf(parts), [&](std::stop_token stop, ProgressSink&) {
            // A part beside hands back its clearing, or its exception, through its future.
            std::vector<std::future<BrowserClearing>> beside;
            for (std::size_t i = 1; i < parts.size(); ++i)
                beside.push_back(std::async(std::launch::async, clear, parts[i], stop));
            clearings[0] = clear(parts[0], stop);
            for (std::size_t i = 1; i < parts.size(); ++i) clearings[i] = beside[i - 1].get();
        });
    if (!ran)
        return std::vector<AreaResult>(parts.size(), leftAlone(L"another operation was running"));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        results[i].count = clearings[i].removed;
        results[i].done = !clearings[i].incomplete;
        results[i].log = clearings[i].lines;
        results[i].browsers = std::move(clearings[i]);
    }
    return results;
}

template <Part kPart>
AreaResult previewPart(CleanContext& context) {
    return previewParts(context, {kPart});
}

template <Part kPart>
AreaResult cleanPart(CleanContext& context) {
    return std::move(clearParts(context, {kPart}).front());
}

// A part has no name on the command line, no option and no step of its own: it goes with the
// area of its kind, or with the browsers' area.
template <Part kPart>
constexpr Area partArea(const wchar_t* title, const wchar_t* one, const wchar_t* many) {
    return Area{.title = title,
                .one = one,
                .many = many,
                .preview = previewPart<kPart>,
                .clean = cleanPart<kPart>};
}

AreaResult previewBrowsers(CleanContext& context) {
    return previewParts(context, {Part::cookies, Part::history, Part::cache});
}

AreaResult cleanBrowsers(CleanContext& context) {
    std::vector<std::wstring> log;
    std::size_t count = 0;
    std::size_t failures = 0;
    bool done = true;
    std::vector<BrowserProfile> inUse;
    const std::vector<Part> parts{Part::cookies, Part::cache, Part::history};
    const std::vector<AreaResult> results = clearParts(context, parts);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const AreaResult& cleared = results[i];
        log.insert(log.end(), cleared.log.begin(), cleared.log.end());
        if (!cleared.ran) {
            AreaResult result = leftAlone(cleared.why);
            result.log = std::move(log);
            return result;
        }
        count += cleared.count.value_or(0);
        failures += cleared.browsers.failures.size();
        done = done && cleared.done;
        if (parts[i] == Part::cookies) inUse = cleared.browsers.inUse;
    }
    AreaResult result;
    result.count = count;
    std::vector<std::wstring> notes;
    if (!inUse.empty()) notes.push_back(titlesNote(L"left alone while running: ", inUse));
    if (failures > 0)
        notes.push_back(std::to_wstring(failures) +
                        L" profile area(s) not fully cleared (see the log)");
    if (!context.browsers.unlisted().empty()) {
        notes.push_back(unlistedNote(context.browsers));
        done = false;
    }
    result.why = joinedNotes(notes);
    result.done = done;
    result.log = std::move(log);
    return result;
}

}  // namespace

const Area kBrowserCookiesArea =
    partArea<Part::cookies>(L"Browsers' cookies", L"cookie", L"cookies");
const Area kBrowserCacheArea = partArea<Part::cache>(L"Browsers' cache", L"file", L"files");
const Area kBrowserHistoryArea = partArea<Part::history>(L"Browsers' history", L"page", L"pages");

const Area kBrowsersArea{
    .name = L"browsers",
    .title = L"Browsers",
    .one = L"item",
    .many = L"items",
    .help =
        L"the cookies (but the keep list's), cache and history of the browser profiles ticked in "
        L"the options: Chrome, Edge, Brave, Vivaldi, Chromium, Opera and Firefox",
    .preview = previewBrowsers,
    .clean = cleanBrowsers,
};

}  // namespace purgeon
