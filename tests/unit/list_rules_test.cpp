// The lists' own rules: the history list's order and type-to-find in the cookie list.
#include <gtest/gtest.h>

#include "areas/cookie_list.h"
#include "areas/history_view.h"
#include "fakes/fake_platform.h"

namespace purgeon {
namespace {

const fakes::FakeCollation kCollation;

HistoryRow row(const std::wstring& title, const std::wstring& url) {
    return {title, url, L"", L"", L"", L""};
}

TEST(HistoryList, SortsByTheKeyColumnIgnoringCaseAndKeepsTheOrderOfEqualRows) {
    const std::vector<HistoryRow> rows = {row(L"beta", L"http://c/"), row(L"Alpha", L"http://b/"),
                                          row(L"alpha", L"http://a/"), row(L"", L"http://d/")};
    struct Case {
        int key;
        std::vector<std::size_t> order;
    };
    for (const Case& c : {Case{0, {3, 1, 2, 0}}, Case{1, {2, 1, 0, 3}}, Case{5, {0, 1, 2, 3}},
                          Case{99, {3, 1, 2, 0}}}) {
        EXPECT_EQ(historyOrder(rows, c.key, kCollation), c.order) << "key " << c.key;
    }
    EXPECT_TRUE(historyRowBefore(rows, 0, 1, 2, kCollation));  // equal titles: collection order
    EXPECT_FALSE(historyRowBefore(rows, 0, 2, 1, kCollation));
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
