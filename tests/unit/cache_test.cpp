// The Cache tab: listing, "Clear Cache" with its "Cookie" rule, "Delete Selected", selection.
#include <gtest/gtest.h>

#include "fakes/cache_entries.h"
#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::Log;
using fakes::ProgramRig;

std::vector<std::wstring> rowTexts(const FrmMain& main) {
    std::vector<std::wstring> texts;
    for (const ListRow& row : main.cacheList().rows()) texts.push_back(row.text);
    return texts;
}

std::vector<bool> selection(const FrmMain& main) {
    std::vector<bool> flags;
    for (const ListRow& row : main.cacheList().rows()) flags.push_back(row.selected);
    return flags;
}

const std::deque<UrlCacheEntry> kMixedCache = {
    {L"http://a.example/page.html", kNormalCacheEntry},
    {L"Cookie:user@a.example/", kNormalCacheEntry | 0x100000},
    {L"http://b.example/Cookie/jar.gif", kNormalCacheEntry},
    {L"http://c.example/cookie.js", kNormalCacheEntry},
    {L"Visited: user@http://d.example/", 0x200000},  // no normal-entry bit
    {L"http://e.example/\u00e9t\u00e9.html", kNormalCacheEntry},
};

TEST(Cache, ListingShowsOnlyNormalEntriesInCacheOrderWithNoCurrentRow) {
    ProgramRig rig;
    rig.urlCache.entries = kMixedCache;
    FrmMain& main = rig.loadMain();
    main.loadCacheContents();
    EXPECT_EQ(rowTexts(main), (std::vector<std::wstring>{
                                  L"http://a.example/page.html", L"Cookie:user@a.example/",
                                  L"http://b.example/Cookie/jar.gif", L"http://c.example/cookie.js",
                                  L"http://e.example/\u00e9t\u00e9.html"}));
    EXPECT_EQ(main.cacheList().currentRow(), -1);
    // Emptied at once, then filled as the listing hands its rows over.
    EXPECT_EQ(rig.log, (Log{L"cache.rows 0", L"cache.rows 5"}));
}

TEST(Cache, AWalkThatBreaksOffKeepsTheRowsListedSoFar) {
    ProgramRig rig;
    rig.urlCache.entries = kMixedCache;
    rig.urlCache.failAfter = 2;
    FrmMain& main = rig.loadMain();
    main.loadCacheContents();
    EXPECT_EQ(main.cacheList().rows().size(), 2u);
}

TEST(Cache, ClearCacheSparesCaseSensitiveCookieRowsUnlessPasswordsAreTicked) {
    struct Case {
        int passwordsBox;
        std::vector<std::wstring> left;
    };
    const std::vector<std::wstring> sparedCookies = {L"Cookie:user@a.example/",
                                                     L"http://b.example/Cookie/jar.gif"};
    for (const Case& c : {Case{0, sparedCookies}, Case{2, sparedCookies}, Case{1, {}}}) {
        ProgramRig rig;
        rig.urlCache.entries = kMixedCache;
        for (UrlCacheEntry& entry : rig.urlCache.entries) entry.size = 1;
        FrmMain& main = rig.loadMain();
        main.setValue(Ctl::chkDelCachedPasswords, c.passwordsBox);
        main.loadCacheContents();
        rig.log.clear();

        main.cmdDelAllFromCache_Click();

        EXPECT_EQ(rowTexts(main), c.left) << "box " << c.passwordsBox;
        // The entry without the normal-entry bit is never asked for.
        for (const std::wstring& name : rig.urlCache.removed)
            EXPECT_EQ(name.find(L"Visited:"), std::wstring::npos);
        const std::wstring rows = L"cache.rows " + std::to_wstring(c.left.size());
        EXPECT_EQ(rig.log, (Log{L"status:Clearing cache...", L"busy", L"cache.rows 0", rows,
                                L"idle", L"status:"}));
        // Every entry the list showed for the clear went: their size was freed.
        const std::wstring removed = c.left.empty() ? L"5 entries removed, 5 bytes"
                                                    : L"3 entries removed, 3 bytes; 2 cookie and "
                                                      L"password entries spared (\"Delete Cached "
                                                      L"passwords\" is off)";
        const std::wstring freed = c.left.empty() ? L"5 bytes" : L"3 bytes";
        EXPECT_EQ(rig.dialogs.shown,
                  (std::vector<fakes::ShownBox>{{L"Freed " + freed + L"\r\n\r\nCache: " + removed,
                                                 L" Purgeon", kMbOk | kMbIconInformation}}));
    }
}

TEST(Cache, ClearCacheDeletesOnlyWhatIsListedAndShowsRefusedEntriesAgain) {
    ProgramRig rig;
    rig.urlCache.entries = {{L"http://a.example/", kNormalCacheEntry},
                            {L"http://busy.example/", kNormalCacheEntry}};
    rig.urlCache.refused = {L"http://busy.example/"};
    FrmMain& main = rig.loadMain();
    main.loadCacheContents();
    rig.urlCache.entries.push_back({L"http://later.example/", kNormalCacheEntry});

    main.deletecache();

    EXPECT_EQ(rig.urlCache.removed,
              (std::vector<std::wstring>{L"http://a.example/", L"http://busy.example/"}));
    EXPECT_EQ(rowTexts(main),
              (std::vector<std::wstring>{L"http://busy.example/", L"http://later.example/"}));
}

TEST(Cache, DeleteSelectedTakesEverySelectedRowIgnoresTheCookieRuleAndEndsWithTheSummary) {
    ProgramRig rig;
    rig.urlCache.entries = kMixedCache;
    rig.urlCache.entries[0].size = 1024;
    rig.urlCache.entries[1].size = 2048;
    rig.urlCache.refused = {L"http://b.example/Cookie/jar.gif"};
    FrmMain& main = rig.loadMain();
    main.loadCacheContents();
    main.List1_Click(0);
    main.List1_Click(2);
    main.List1_Click(1);  // three rows selected, whichever is current

    main.cmdDelSelFromCache_Click();

    EXPECT_EQ(rig.urlCache.removed,
              (std::vector<std::wstring>{L"http://a.example/page.html", L"Cookie:user@a.example/",
                                         L"http://b.example/Cookie/jar.gif"}));
    EXPECT_EQ(main.cacheList().rows().size(), 3u);
    EXPECT_EQ(main.cacheList().currentRow(), -1);
    EXPECT_EQ(rig.dialogs.shown,
              (std::vector<fakes::ShownBox>{
                  {L"Freed 3.0 KB\r\n\r\nCache: 2 entries removed, 3.0 KB; 1 refused by the cache",
                   L" Purgeon", kMbOk | kMbIconExclamation}}));
}

TEST(Cache, DeleteSelectedWithNothingSelectedDeletesNothingButListsAfresh) {
    ProgramRig rig;
    rig.urlCache.entries = kMixedCache;
    FrmMain& main = rig.loadMain();
    main.loadCacheContents();
    main.cmdDelSelFromCache_Click();
    EXPECT_TRUE(rig.urlCache.removed.empty());
    EXPECT_EQ(rig.urlCache.walks, 2);
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST(Cache, AHeaderClickSortsTheListWhichKeepsItsOrderWhenListedAfresh) {
    ProgramRig rig;
    rig.urlCache.entries = {{L"http://b.example/", kNormalCacheEntry, 30},
                            {L"http://a.example/", kNormalCacheEntry, 10},
                            {L"http://c.example/", kNormalCacheEntry, 20}};
    FrmMain& main = rig.loadMain();
    main.loadCacheContents();
    main.List1_ColumnClick(3);  // the size
    main.List1_ColumnClick(3);  // descending
    rig.urlCache.entries.push_back({L"http://d.example/", kNormalCacheEntry, 25});
    main.loadCacheContents();
    std::vector<std::wstring> shown;
    for (std::size_t place = 0; place < main.cacheList().rows().size(); ++place)
        shown.push_back(main.cacheList().text(main.cacheList().rowAt(place), 0));
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"http://b.example/", L"http://d.example/",
                                                L"http://c.example/", L"http://a.example/"}));
}

TEST(Cache, ClickTogglesAndInvertSelectionTwiceRestoresTheSelection) {
    ProgramRig rig;
    rig.urlCache.entries = kMixedCache;
    FrmMain& main = rig.loadMain();
    main.loadCacheContents();

    main.cmdinvertcachesel_Click();
    EXPECT_EQ(selection(main), std::vector<bool>(5, true));

    main.List1_Click(3);
    main.List1_Click(4);
    main.List1_Click(4);
    const std::vector<bool> before = {true, true, true, false, true};
    EXPECT_EQ(selection(main), before);
    EXPECT_EQ(main.cacheList().currentRow(), 4);

    main.cmdinvertcachesel_Click();
    EXPECT_EQ(selection(main), (std::vector<bool>{false, false, false, true, false}));
    main.cmdinvertcachesel_Click();
    EXPECT_EQ(selection(main), before);
}

// A browser's cache entries show at once, by the names of their files, with their sizes in the
// total; each address follows, read from the entry's file, and only the texts change then. An
// entry that names no address shows its file's name; the cache's index is no entry.
TEST(Cache, ABrowsersEntriesShowAtOnceAndTheirAddressesFollow) {
    ProgramRig rig;
    const std::wstring userData = L"C:\\Users\\me\\AppData\\Local\\Google\\Chrome\\User Data\\";
    const std::wstring profile = userData + L"Default\\";
    const std::wstring data = profile + L"Cache\\Cache_Data\\";
    rig.files.addFile(userData, L"Default", kAttrDirectory);
    rig.files.addFile(profile, L"Preferences");
    rig.files.addFile(profile, L"Cache", kAttrDirectory);
    rig.files.addFile(profile + L"Cache\\", L"Cache_Data", kAttrDirectory);
    const std::string key = "1/0/_dk_http://a.test http://a.test http://a.test/x.png";
    const std::string entry = fakes::simpleCacheEntry(key, static_cast<std::uint32_t>(key.size()));
    rig.files.addFile(data, L"0a_0", kAttrArchive, {entry.begin(), entry.end()});
    rig.files.addFile(data, L"0b_0", kAttrArchive, {'n', 'o'});
    rig.files.addFile(data, L"index", kAttrArchive, {'i'});
    FrmMain& main = rig.loadMain();
    main.loadUserPrefs();  // finds the profile
    rig.log.clear();
    main.loadCacheContents();
    EXPECT_EQ(rowTexts(main),
              (std::vector<std::wstring>{L"http://a.test/x.png", L"(no address) 0b_0"}));
    EXPECT_EQ(main.cacheList().totalBytes(), entry.size() + 2);
    EXPECT_EQ(rig.log, (Log{L"cache.rows 0", L"cache.rows 0", L"cache.rows 2", L"cache.texts"}));
}

TEST(Cache, ListsMoreThan32767EntriesWhole) {
    ProgramRig rig;
    for (int i = 0; i < 40000; ++i)
        rig.urlCache.entries.push_back(
            {L"http://bulk.example/" + std::to_wstring(i), kNormalCacheEntry});
    FrmMain& main = rig.loadMain();
    main.loadCacheContents();
    ASSERT_EQ(main.cacheList().rows().size(), 40000u);
    EXPECT_EQ(main.cacheList().rows().back().text, L"http://bulk.example/39999");
    main.setValue(Ctl::chkDelCachedPasswords, 1);
    main.deletecache();
    EXPECT_TRUE(main.cacheList().rows().empty());
}

}  // namespace
}  // namespace purgeon
