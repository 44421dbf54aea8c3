// The run loop over small fakes of its context: order, the options' ticks, stopping, what the log
// and the watch get; every area of the table when its operation cannot start; and the browsers'
// profiles and folders that could not be read.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "clean/apps_area.h"
#include "clean/area_table.h"
#include "clean/browser_area.h"
#include "clean/windows_area.h"
#include "fakes/clean_rig.h"

namespace purgeon {
namespace {

using fakes::CleanRig;
using Lines = std::vector<std::wstring>;

// What the scripted areas do, noted in one list: the test sets it up before a run.
struct Script {
    Lines calls;
    std::map<std::wstring, bool> notDone;             // by title
    std::function<void(const std::wstring&)> during;  // runs inside each area's work
};
Script* script = nullptr;

AreaResult scripted(CleanContext&, const wchar_t* verb, const wchar_t* title) {
    script->calls.push_back(std::wstring(verb) + L" " + title);
    if (script->during) script->during(title);
    AreaResult result;
    result.done = !script->notDone[title];
    result.log = {std::wstring(title) + L": line 1", std::wstring(title) + L": line 2"};
    return result;
}

template <const wchar_t* kTitle>
AreaResult previewOf(CleanContext& context) {
    return scripted(context, L"preview", kTitle);
}
template <const wchar_t* kTitle>
AreaResult cleanOf(CleanContext& context) {
    return scripted(context, L"clean", kTitle);
}

constexpr wchar_t kFirst[] = L"First";
constexpr wchar_t kSecond[] = L"Second";
constexpr wchar_t kThird[] = L"Third";
const Area kFirstArea{.title = kFirst,
                      .optionKey = L"autodelcookies",
                      .status = L"first...",
                      .preview = previewOf<kFirst>,
                      .clean = cleanOf<kFirst>};
const Area kSecondArea{.title = kSecond,
                       .optionKey = L"autodelcache",
                       .preview = previewOf<kSecond>,
                       .clean = cleanOf<kSecond>};
const Area kThirdArea{.title = kThird, .preview = previewOf<kThird>, .clean = cleanOf<kThird>};

// Notes the watch's calls in the script's list.
struct NotingWatch : RunWatch {
    void starting(const Area& area) override {
        script->calls.push_back(L"starting " + std::wstring(area.title));
    }
    void finished(const Area& area, const AreaResult& result) override {
        script->calls.push_back(L"finished " + std::wstring(area.title) +
                                (result.done ? L"" : L" (not done)"));
    }
};

struct ScriptedRig : CleanRig {
    Script steps;
    NotingWatch watch;
    ScriptedRig() { script = &steps; }
    ~ScriptedRig() { script = nullptr; }
    CleanReport runAll(CleanMode mode, bool onlyTicked = false, std::stop_token stop = {}) {
        CleanRun run{{&kFirstArea, &kSecondArea, &kThirdArea}, mode, onlyTicked, stop, &watch};
        return runClean(context, run);
    }
};

TEST(CleanRun, TakesEachAreaInTurnAndOnlyACleanWritesTheAreasLines) {
    for (const CleanMode mode : {CleanMode::preview, CleanMode::clean}) {
        ScriptedRig rig;
        rig.steps.notDone[kSecond] = true;
        const CleanReport report = rig.runAll(mode);
        const std::wstring verb = mode == CleanMode::preview ? L"preview " : L"clean ";
        EXPECT_EQ(rig.steps.calls,
                  (Lines{L"starting First", verb + L"First", L"finished First", L"starting Second",
                         verb + L"Second", L"finished Second (not done)", L"starting Third",
                         verb + L"Third", L"finished Third"}));
        const Lines written = mode == CleanMode::preview
                                  ? Lines{}
                                  : Lines{L"First: line 1",  L"First: line 2", L"Second: line 1",
                                          L"Second: line 2", L"Third: line 1", L"Third: line 2"};
        EXPECT_EQ(rig.logFile.lines, written);
        ASSERT_EQ(report.entries.size(), 3u);
        EXPECT_FALSE(report.done());
        ASSERT_NE(report.find(kSecondArea), nullptr);
        EXPECT_FALSE(report.find(kSecondArea)->done);
        EXPECT_EQ(report.find(kBrowsersArea), nullptr);
    }
}

TEST(CleanRun, TheAutomaticRunsReadEachAreasOptionWhenItsTurnComes) {
    ScriptedRig rig;
    rig.options.setCheckBox(kAutoCookiesKey, 1);  // the first area
    // The first area's work ticks the second's option: the run still sees it in time.
    rig.steps.during = [&](const std::wstring& title) {
        if (title == kFirst) rig.options.setCheckBox(kAutoCacheKey, 1);
    };
    const CleanReport report = rig.runAll(CleanMode::clean, /*onlyTicked=*/true);
    EXPECT_EQ(rig.steps.calls, (Lines{L"starting First", L"clean First", L"finished First",
                                      L"starting Second", L"clean Second", L"finished Second"}));
    EXPECT_TRUE(report.done());  // an area with no option is no step of these runs
}

// An area whose key is no stored check box would never be taken by the automatic runs.
TEST(CleanRun, EveryAreasOptionIsAStoredCheckBoxUnlessTheAreaDecidesItself) {
    for (const Area* area : cleanAreas()) {
        if (!area->optionKey) continue;
        const StoredOption* option = storedOption(area->optionKey);
        ASSERT_NE(option, nullptr) << testing::PrintToString(std::wstring(area->name));
        EXPECT_TRUE(option->kind == OptionKind::box || area->autoTicked)
            << testing::PrintToString(std::wstring(area->name));
    }
}

TEST(CleanRun, AStopTakesNoFurtherAreaAndTheReportIsNotDone) {
    ScriptedRig rig;
    std::stop_source stop;
    rig.steps.during = [&](const std::wstring&) { stop.request_stop(); };
    const CleanReport report = rig.runAll(CleanMode::clean, false, stop.get_token());
    EXPECT_EQ(rig.steps.calls, (Lines{L"starting First", L"clean First", L"finished First"}));
    EXPECT_TRUE(report.stopped);
    EXPECT_FALSE(report.done());
}

// With another operation running, no area's work starts: each is left as it was, says so in
// the report, and nothing of the machine's data goes.
TEST(CleanRun, AnAreaWhoseOperationCannotStartIsLeftAloneAndNotDone) {
    for (const Area* area : cleanAreas()) {
        CleanRig rig;
        rig.urlCache.entries = {{L"http://a.example/", kNormalCacheEntry}};
        rig.files.addFile(rig.cookieFolder + L"\\", L"me@a.txt");
        rig.files.addFile(rig.folders.temp, L"t.tmp", kAttrArchive, {1});
        rig.history.shared->entries = {{L"http://a.example/", true, L"A", 0, 0}};
        rig.operations.busy = true;
        const CleanReport report = rig.run({area});
        const AreaResult& result = report.entries.at(0).result;
        // No profile ticked, no rule file, no Windows items: nothing to start.
        const bool noWork = area == &kBrowsersArea || area == &kAppsArea || area == &kWindowsArea;
        EXPECT_EQ(result.ran, noWork) << area->name;
        EXPECT_EQ(result.done, noWork) << area->name;
        EXPECT_EQ(rig.operations.activities.empty(), noWork) << area->name;
        EXPECT_EQ(rig.urlCache.entries.size(), 1u) << area->name;
        EXPECT_TRUE(rig.files.files.count(rig.cookieFolder + L"\\me@a.txt")) << area->name;
        EXPECT_TRUE(rig.files.files.count(rig.folders.temp + L"t.tmp")) << area->name;
        EXPECT_EQ(rig.history.shared->entries.size(), 1u) << area->name;
        EXPECT_EQ(rig.shell.recycleBinEmptied, 0) << area->name;
    }
}

// A Chrome profile as the search for profiles finds it.
const std::wstring kUserData = L"C:\\Users\\me\\AppData\\Local\\Google\\Chrome\\User Data\\";

struct BrowserRig : CleanRig {
    BrowserRig() {
        files.addFile(kUserData, L"Default", kAttrDirectory);
        files.addFile(kUserData + L"Default\\", L"Preferences");
    }
    void loadChoices() { loadBrowserChoices(browsers, files, folders, settings, errors, log); }
};

TEST(BrowsersArea, AProfileWhoseStoreCannotBeReadIsNamedAndThePreviewIsNotDone) {
    BrowserRig rig;
    // A cookie database that is no database.
    rig.files.addFile(kUserData + L"Default\\", L"Cookies", kAttrArchive, {'x', 'y'});
    rig.loadChoices();
    const AreaResult preview = rig.run({&kBrowsersArea}, CleanMode::preview).entries.at(0).result;
    EXPECT_EQ(preview.why, L"could not be read: Chrome (Default)");
    EXPECT_FALSE(preview.done);
}

TEST(BrowsersArea, ABrowsersFolderThatCannotBeListedIsLoggedAndLeavesTheAreaNotDone) {
    BrowserRig rig;
    rig.files.listErrors[kUserData] = kErrorAccessDenied;
    rig.loadChoices();
    EXPECT_TRUE(rig.browsers.choices().empty());
    EXPECT_EQ(rig.logFile.lines,
              Lines{L"Browsers: " + kUserData + L" could not be listed: system text 5"});
    for (const CleanMode mode : {CleanMode::preview, CleanMode::clean}) {
        const AreaResult result = rig.run({&kBrowsersArea}, mode).entries.at(0).result;
        EXPECT_EQ(result.why, L"1 folder(s) of browsers could not be listed");
        EXPECT_FALSE(result.done);
    }
}

// The browsers' clean is one operation, so that a window running one at a time takes it whole;
// its parts run side by side, and their lines keep the order cookies, cache, history.
TEST(BrowsersArea, TheCleanIsOneOperationWhoseLinesKeepTheirOrder) {
    BrowserRig rig;
    const std::wstring profile = kUserData + L"Default\\";
    const std::wstring cache = profile + L"Cache\\Cache_Data\\";
    rig.files.files[profile + L"Preferences"].content = {'{', '}'};
    rig.files.addFile(profile, L"Cookies", kAttrArchive, {'x', 'y'});  // no database
    rig.files.addFile(profile, L"Cache", kAttrDirectory);
    rig.files.addFile(profile + L"Cache\\", L"Cache_Data", kAttrDirectory);
    for (const wchar_t* name : {L"0123456789abcdef_0", L"0123456789abcdee_0", L"index"})
        rig.files.addFile(cache, name, kAttrArchive, {1, 2, 3});
    rig.loadChoices();
    const AreaResult result = rig.run({&kBrowsersArea}).entries.at(0).result;
    EXPECT_EQ(rig.operations.activities,
              Lines{L"clearing the browsers' cookies, cache and history"});
    ASSERT_EQ(result.log.size(), 3u);
    EXPECT_EQ(
        result.log[0].rfind(L"Cookies: Chrome (Default): 0 cookie(s) removed; not cleared: ", 0),
        0u)
        << result.log[0];
    EXPECT_EQ(result.log[1], L"Cache: Chrome (Default): 3 file(s) removed.");
    EXPECT_EQ(result.log[2],
              L"History: Chrome (Default): 0 page(s) removed; session files: 0 file(s) removed.");
    EXPECT_FALSE(result.done);
    EXPECT_EQ(result.why, L"1 profile area(s) not fully cleared (see the log)");  // the cookies
    for (const wchar_t* name : {L"0123456789abcdef_0", L"0123456789abcdee_0", L"index"})
        EXPECT_FALSE(rig.files.files.count(cache + name)) << name;
}

// The preview of the browsers' cache counts every file of its folders, as the clear removes them,
// the cache's own index among them, and reads none: an entry's address is no part of a count.
// A folder it cannot list leaves it not done.
TEST(BrowsersArea, TheCachePreviewCountsEveryFileOfTheCacheWithoutReadingOne) {
    BrowserRig rig;
    const std::wstring profile = kUserData + L"Default\\";
    const std::wstring cache = profile + L"Cache\\Cache_Data\\";
    rig.files.addFile(profile, L"Cache", kAttrDirectory);
    rig.files.addFile(profile + L"Cache\\", L"Cache_Data", kAttrDirectory);
    rig.files.addFile(cache, L"index-dir", kAttrDirectory);
    rig.files.addFile(profile, L"Code Cache", kAttrDirectory);
    rig.files.addFile(profile + L"Code Cache\\", L"js", kAttrDirectory);
    rig.files.addFile(cache, L"index", kAttrArchive, {1, 2});
    rig.files.addFile(cache, L"0123456789abcdef_0", kAttrArchive, {3, 4, 5});
    rig.files.addFile(cache + L"index-dir\\", L"the-real-index", kAttrArchive, {6});
    rig.files.addFile(profile + L"Code Cache\\js\\", L"f", kAttrArchive, {7, 8, 9, 10});
    rig.loadChoices();
    rig.files.reads.value = 0;  // the profiles' own settings, read to find them
    const AreaResult preview =
        rig.run({&kBrowserCacheArea}, CleanMode::preview).entries.at(0).result;
    EXPECT_EQ(preview.count, 4u);
    EXPECT_EQ(preview.bytes, 10u);
    EXPECT_TRUE(preview.done) << preview.why;
    EXPECT_EQ(rig.files.reads.value.load(), 0u);
    // A cache folder that is there but cannot be listed is not counted as empty.
    rig.files.addFile(profile, L"GPUCache", kAttrDirectory);
    rig.files.listErrors[profile + L"GPUCache\\"] = kErrorAccessDenied;
    const AreaResult unlisted =
        rig.run({&kBrowserCacheArea}, CleanMode::preview).entries.at(0).result;
    EXPECT_EQ(unlisted.why, L"could not be read: Chrome (Default)");
    EXPECT_FALSE(unlisted.done);
}

}  // namespace
}  // namespace purgeon
