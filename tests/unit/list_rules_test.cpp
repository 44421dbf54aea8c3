// The lists' own rules: their orders, their columns and type-to-find.
#include <gtest/gtest.h>

#include "areas/cache_list.h"
#include "areas/cookie_list.h"
#include "areas/history_view.h"
#include "fakes/fake_platform.h"

namespace purgeon {
namespace {

const fakes::FakeCollation kCollation;

struct Visit {
    std::wstring title;
    std::wstring url;
    double visited = 0;
};

HistoryBatch batchOf(const std::wstring& browser, const std::vector<Visit>& visits) {
    HistoryBatch batch(browser, kCollation);
    for (const Visit& visit : visits) {
        HistoryEntry entry;
        entry.visited = visit.visited;
        batch.add(visit.title, visit.url, entry, kCollation);
    }
    return batch;
}

// The titles in the order the list shows them.
std::vector<std::wstring> shownTitles(const HistoryList& list) {
    std::vector<std::wstring> titles;
    for (std::size_t place = 0; place < list.size(); ++place)
        titles.emplace_back(list.title(place));
    return titles;
}

TEST(HistoryList, SortsByTitleIgnoringCaseAndKeepsTheOrderOfEqualRows) {
    HistoryList list;
    list.add(batchOf(L"B", {{L"beta", L"http://c/", 3},
                            {L"Alpha", L"http://b/", 1},
                            {L"alpha", L"http://a/", 2},
                            {L"", L"http://d/"}}));
    EXPECT_EQ(shownTitles(list), (std::vector<std::wstring>{L"", L"Alpha", L"alpha", L"beta"}));
    list.sortBy(1);  // the address
    EXPECT_EQ(shownTitles(list), (std::vector<std::wstring>{L"alpha", L"Alpha", L"beta", L""}));
    list.sortBy(1);  // the same column again: turned round
    EXPECT_EQ(shownTitles(list), (std::vector<std::wstring>{L"", L"beta", L"Alpha", L"alpha"}));
    list.sortBy(2);  // the last visit, by its date rather than its text
    EXPECT_EQ(shownTitles(list), (std::vector<std::wstring>{L"", L"Alpha", L"alpha", L"beta"}));
    list.sortBy(99);  // no such column: nothing changes
    EXPECT_EQ(list.sortColumn(), 2);
}

TEST(HistoryList, RowsThatComeInBatchesJoinTheOrder) {
    HistoryList list;
    list.add(batchOf(L"Chrome", {{L"d", L"x"}, {L"b", L"x"}}));
    list.add(batchOf(L"Firefox", {{L"c", L"x"}, {L"a", L"x"}}));
    EXPECT_EQ(shownTitles(list), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    list.sortBy(6);
    EXPECT_EQ(shownTitles(list), (std::vector<std::wstring>{L"d", L"b", L"c", L"a"}));
    list.add(batchOf(L"Chrome", {{L"e", L"x"}}));
    EXPECT_EQ(shownTitles(list), (std::vector<std::wstring>{L"d", L"b", L"e", L"c", L"a"}));
    EXPECT_EQ(list.browsers(), (std::vector<std::wstring>{L"Chrome", L"Firefox"}));
}

TEST(CacheList, SortsByAddressBrowserOrSizeAndCountsTheTotal) {
    CacheList list;
    BrowserCacheEntry big{L"http://b.test/", {L"C:\\c\\1"}, 300, 1};
    BrowserCacheEntry small{L"http://a.test/", {L"C:\\c\\2"}, 100, 1};
    BrowserCacheEntry folder{L"", {L"C:\\p\\GPUCache\\"}, 200, 5};
    list.add(CacheList::batchOf(L"Chrome (Default)", 0, {big, small, folder}, kCollation));
    EXPECT_EQ(list.totalBytes(), 600u);
    EXPECT_EQ(list.text(2, 0), L"GPUCache (folder, 5 files)");
    EXPECT_EQ(list.text(2, 1), L"Chrome (Default)");
    EXPECT_EQ(list.text(2, 2), L"200 bytes");
    EXPECT_EQ(list.rowAt(0), 0u);  // the listing's order until a header is clicked
    list.sortBy(2);
    EXPECT_EQ((std::vector<std::size_t>{list.rowAt(0), list.rowAt(1), list.rowAt(2)}),
              (std::vector<std::size_t>{1, 2, 0}));
    list.sortBy(0);
    EXPECT_EQ((std::vector<std::size_t>{list.rowAt(0), list.rowAt(1), list.rowAt(2)}),
              (std::vector<std::size_t>{2, 1, 0}));
}

// Entries listed by name show at once, with their sizes in the total; their addresses come later,
// in any order, and move the rows to their places when sorted by address. An entry that names
// none shows its file's name.
TEST(CacheList, AddressesThatComeAfterTheRowsMoveThemToTheirPlaces) {
    CacheList list;
    list.sortBy(0);
    const std::vector<BrowserCacheEntry> entries = {
        {L"", {L"C:\\c\\Cache_Data\\aa_0"}, 10, 1},
        {L"http://b.test/", {L"C:\\c\\x"}, 20, 1},
        {L"", {L"C:\\c\\Cache_Data\\cc_0", L"C:\\c\\Cache_Data\\cc_1"}, 30, 2},
        {L"", {L"C:\\p\\GPUCache\\"}, 40, 5},
        {L"", {L"C:\\c\\Cache_Data\\dd_0"}, 50, 1},
    };
    list.add(CacheList::batchOf(L"Chrome (Default)", 0, entries, kCollation));
    EXPECT_EQ(list.totalBytes(), 150u);
    const auto shown = [&] {
        std::vector<std::wstring> texts;
        for (std::size_t place = 0; place < list.rows().size(); ++place)
            texts.push_back(list.text(list.rowAt(place), 0));
        return texts;
    };
    EXPECT_EQ(shown(), (std::vector<std::wstring>{L"", L"", L"", L"GPUCache (folder, 5 files)",
                                                  L"http://b.test/"}));
    const auto address = [](std::size_t entry, const std::wstring& url, const std::wstring& text) {
        return CacheAddressRow{entry, url, kCollation.sortKey(text)};
    };
    list.setAddresses(
        {address(2, L"", L"(no address) dd_0"), address(0, L"http://c.test/", L"http://c.test/")});
    list.setAddresses(
        {address(1, L"http://a.test/", L"http://a.test/"), address(1, L"http://z.test/", L"z")});
    EXPECT_EQ(shown(),
              (std::vector<std::wstring>{L"(no address) dd_0", L"GPUCache (folder, 5 files)",
                                         L"http://a.test/", L"http://b.test/", L"http://c.test/"}));
    const BrowserCacheEntry* third = nullptr;
    for (const ListRow& row : list.rows())
        if (row.text == L"http://a.test/")
            third = &list.browserEntry(static_cast<std::size_t>(row.browserRow));
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->files.size(), 2u);  // the entry's files stay for its removal
    for (const ListRow& row : list.rows()) EXPECT_EQ(row.addressToCome, -1) << row.text;
}

// Type-to-find is one rule for every list, each by its first column in the order shown.
TEST(ListFind, FindsTheNextRowFromTheStartIgnoringCaseInTheShownOrder) {
    const std::vector<std::wstring> texts = {L"alpha.test", L"beta.test", L"ALPHA2.test",
                                             L"index.dat"};
    std::vector<CookieRow> cookies;
    for (const std::wstring& text : texts) cookies.emplace_back(L"", L"").site = text;
    CacheList cache;
    std::vector<BrowserCacheEntry> entries;
    for (const std::wstring& text : texts) entries.push_back({text, {L"C:\\c\\1"}, 1, 1});
    cache.add(CacheList::batchOf(L"Chrome", 0, entries, kCollation));
    HistoryList history;
    std::vector<Visit> visits;
    for (const std::wstring& text : texts)
        visits.push_back({text, L"http://" + std::to_wstring(visits.size())});
    history.add(batchOf(L"Chrome", visits));
    history.sortBy(1);  // by address: the titles show in the order above
    struct Case {
        std::wstring wanted;
        bool partial;
        int start;
        bool wrap;
        int found;
    };
    for (const Case& c : {
             Case{L"al", true, 0, false, 0},
             Case{L"al", true, 1, false, 2},
             Case{L"al", true, 3, false, -1},
             Case{L"al", true, 3, true, 0},
             Case{L"alpha.test", false, 0, false, 0},
             Case{L"alpha", false, 0, false, -1},
             Case{L"INDEX", true, 0, false, 3},
             Case{L"", true, 2, false, 2},
             Case{L"zz", true, 0, true, -1},
             Case{L"be", true, 7, false, 1},
         }) {
        const std::string wanted(c.wanted.begin(), c.wanted.end());
        SCOPED_TRACE(wanted + " from " + std::to_string(c.start));
        EXPECT_EQ(findCookieRow(cookies, c.wanted, c.partial, c.start, c.wrap, kCollation),
                  c.found);
        EXPECT_EQ(cache.find(c.wanted, c.partial, c.start, c.wrap, kCollation), c.found);
        EXPECT_EQ(history.find(c.wanted, c.partial, c.start, c.wrap, kCollation), c.found);
    }
    EXPECT_EQ(findCookieRow({}, L"a", true, 0, true, kCollation), -1);
    // Sorted by address, descending: the places are those shown, not the listing's.
    cache.sortBy(0);
    cache.sortBy(0);
    EXPECT_EQ(cache.find(L"al", true, 0, false, kCollation), 2);  // ALPHA2 shows before alpha
    EXPECT_EQ(cache.find(L"index", true, 1, true, kCollation), 0);
}

TEST(CookieList, ShowsSiteNameBrowserAndSizeAndSortsByEachColumn) {
    CookieList list;
    list.appendBrowserCookies(L"Chrome (Default)", 0,
                              {{L".b.test", L"sid", L"/", 1, 40},
                               {L"a.test", L"pref", L"/", 2, 300},
                               {L".C.test", L"id", L"/", 3, 5}});
    list.appendBrowserCookies(L"Firefox (x)", 1, {{L"a.test", L"zz", L"/", 4, 12}});
    list.setSelected(1, true);  // a.test's pref
    const auto column = [&](std::size_t c) {
        std::vector<std::wstring> texts;
        for (const CookieRow& row : list.rows()) texts.push_back(cookieColumnText(row, c));
        return texts;
    };
    using Texts = std::vector<std::wstring>;
    EXPECT_EQ(column(0), (Texts{L"b.test", L"a.test", L"C.test", L"a.test"}));
    EXPECT_EQ(column(2), (Texts{L"Chrome (Default)", L"Chrome (Default)", L"Chrome (Default)",
                                L"Firefox (x)"}));
    EXPECT_EQ(column(3), (Texts{L"40 bytes", L"300 bytes", L"5 bytes", L"12 bytes"}));

    list.sortBy(0, kCollation);  // sites ignoring case; equal sites keep their order
    EXPECT_EQ(column(1), (Texts{L"pref", L"zz", L"sid", L"id"}));
    EXPECT_TRUE(list.rows()[0].selected);  // the selection moved with its row
    list.sortBy(3, kCollation);            // sizes as numbers, not as texts
    EXPECT_EQ(column(3), (Texts{L"5 bytes", L"12 bytes", L"40 bytes", L"300 bytes"}));
    list.sortBy(3, kCollation);  // again: turned round
    EXPECT_EQ(column(3), (Texts{L"300 bytes", L"40 bytes", L"12 bytes", L"5 bytes"}));
    EXPECT_FALSE(list.ascending());
    // Cookies listed later join the order.
    list.appendBrowserCookies(L"Edge (Default)", 2, {{L"d.test", L"big", L"/", 5, 100}},
                              &kCollation);
    EXPECT_EQ(column(1), (Texts{L"pref", L"big", L"sid", L"zz", L"id"}));
    list.sortBy(7, kCollation);  // no such column: nothing changes
    EXPECT_EQ(list.sortColumn(), 3);
}

TEST(CookieList, AFileOfTheCookieFolderIsForTheSiteItsNameGives) {
    struct Case {
        const wchar_t* file;
        const wchar_t* site;
    };
    for (const Case& c :
         {Case{L"me@example[2].txt", L"example"}, Case{L"me@a.test.txt", L"a.test"},
          Case{L"index.dat", L"index.dat"}, Case{L"me@[1].txt", L"[1]"}, Case{L".txt", L".txt"}})
        EXPECT_EQ(cookieFileSite(c.file), c.site) << c.file;
}

}  // namespace
}  // namespace purgeon
