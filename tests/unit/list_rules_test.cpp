// The lists' own rules: the history list's order and type-to-find in the cookie list.
#include <gtest/gtest.h>

#include "areas/cache_list.h"
#include "areas/cookie_list.h"
#include "areas/history_view.h"
#include "fakes/fake_platform.h"

namespace purgeon {
namespace {

const fakes::FakeCollation kCollation;

HistoryEntry entry(const std::wstring& title, const std::wstring& url, double visited = 0) {
    return browserHistoryEntry(title, url, visited, kCollation);
}

// The titles in the order the list shows them.
std::vector<std::wstring> shownTitles(const HistoryList& list) {
    std::vector<std::wstring> titles;
    for (std::size_t place = 0; place < list.size(); ++place)
        titles.push_back(list.shown(place).title);
    return titles;
}

TEST(HistoryList, SortsByTitleIgnoringCaseAndKeepsTheOrderOfEqualRows) {
    HistoryList list;
    list.add({L"B",
              kCollation.sortKey(L"B"),
              {entry(L"beta", L"http://c/", 3), entry(L"Alpha", L"http://b/", 1),
               entry(L"alpha", L"http://a/", 2), entry(L"", L"http://d/")}});
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
    list.add({L"Chrome", kCollation.sortKey(L"Chrome"), {entry(L"d", L"x"), entry(L"b", L"x")}});
    list.add({L"Firefox", kCollation.sortKey(L"Firefox"), {entry(L"c", L"x"), entry(L"a", L"x")}});
    EXPECT_EQ(shownTitles(list), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    list.sortBy(6);
    EXPECT_EQ(shownTitles(list), (std::vector<std::wstring>{L"d", L"b", L"c", L"a"}));
    list.add({L"Chrome", kCollation.sortKey(L"Chrome"), {entry(L"e", L"x")}});
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

TEST(CookieList, TypeToFindFindsTheNextNameFromTheStartRowIgnoringCase) {
    std::vector<CookieRow> rows;
    for (const wchar_t* name : {L"me@alpha.txt", L"me@beta.txt", L"ME@ALPHA2.txt", L"index.dat"})
        rows.push_back({name, L"", false});
    struct Case {
        std::wstring wanted;
        bool partial;
        int start;
        bool wrap;
        int found;
    };
    for (const Case& c : {
             Case{L"me@a", true, 0, false, 0},
             Case{L"me@a", true, 1, false, 2},
             Case{L"me@a", true, 3, false, -1},
             Case{L"me@a", true, 3, true, 0},
             Case{L"me@alpha.txt", false, 0, false, 0},
             Case{L"me@alpha", false, 0, false, -1},
             Case{L"INDEX", true, 0, false, 3},
             Case{L"", true, 2, false, 2},
             Case{L"zz", true, 0, true, -1},
             Case{L"me@b", true, 7, false, 1},
         }) {
        EXPECT_EQ(findCookieRow(rows, c.wanted, c.partial, c.start, c.wrap, kCollation), c.found)
            << std::string(c.wanted.begin(), c.wanted.end()) << " from " << c.start;
    }
    EXPECT_EQ(findCookieRow({}, L"a", true, 0, true, kCollation), -1);
}

}  // namespace
}  // namespace purgeon
