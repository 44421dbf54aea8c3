// The WinINet cache backend and the Cache tab against a real cache filled by the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/win32/url_cache_win32.h"
#include "win32_rig.h"

namespace purgeon {
namespace {

// Commits one entry to the real cache with the given type bits.
bool commit(const std::wstring& url, DWORD type) {
    wchar_t file[MAX_PATH] = {};
    if (!::CreateUrlCacheEntryW(url.c_str(), 0, L"htm", file, 0)) return false;
    {
        win32::UniqueFile h(
            ::CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        if (!h) return false;
        DWORD written = 0;
        ::WriteFile(h.get(), "x", 1, &written, nullptr);
    }
    FILETIME zero{};
    return ::CommitUrlCacheEntryW(url.c_str(), file, zero, zero, type, nullptr, 0, nullptr,
                                  nullptr) != FALSE;
}

std::vector<UrlCacheEntry> walk(UrlCache& cache) {
    std::vector<UrlCacheEntry> seen;
    EXPECT_TRUE(cache.enumerate([&](const UrlCacheEntry& e) { seen.push_back(e); }));
    return seen;
}

bool listed(const std::vector<UrlCacheEntry>& entries, const std::wstring& name) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const UrlCacheEntry& e) { return e.sourceUrlName == name; });
}

// The program over the real cache; rows found by their text.
struct CacheRig : Win32Rig {
    int row(const std::wstring& text) const {
        const auto& rows = main.cacheList().rows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].text == text) return static_cast<int>(i);
        return -1;
    }
};

const std::wstring kPage = L"http://purgeon-test.example/page.html";
const std::wstring kOther = L"http://purgeon-test.example/other.css";
const std::wstring kUnicode = L"http://purgeon-test.example/\u00e9t\u00e9/\u65e5\u672c.html";
const std::wstring kCookie = L"Cookie:user@purgeon-test.example/";
const std::wstring kCookieWord = L"http://purgeon-test.example/Cookie/jar.gif";
const std::wstring kHistoryOnly = L"Visited: user@http://purgeon-test.example/hidden";

class RealCache : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(commit(kPage, NORMAL_CACHE_ENTRY));
        ASSERT_TRUE(commit(kOther, NORMAL_CACHE_ENTRY));
        ASSERT_TRUE(commit(kUnicode, NORMAL_CACHE_ENTRY));
        ASSERT_TRUE(commit(kCookie, NORMAL_CACHE_ENTRY | COOKIE_CACHE_ENTRY));
        ASSERT_TRUE(commit(kCookieWord, NORMAL_CACHE_ENTRY));
        ASSERT_TRUE(commit(kHistoryOnly, URLHISTORY_CACHE_ENTRY));
    }
    void TearDown() override {
        for (const std::wstring& url :
             {kPage, kOther, kUnicode, kCookie, kCookieWord, kHistoryOnly})
            ::DeleteUrlCacheEntryW(url.c_str());
    }
};

TEST_F(RealCache, BackendWalksEveryEntryWithItsTypeAndNonAsciiNamesIntact) {
    win32::WinInetUrlCache cache;
    const auto entries = walk(cache);
    EXPECT_TRUE(listed(entries, kPage));
    EXPECT_TRUE(listed(entries, kUnicode));
    EXPECT_TRUE(listed(entries, kCookie));
    EXPECT_TRUE(listed(entries, kHistoryOnly));
    for (const UrlCacheEntry& e : entries) {
        if (e.sourceUrlName == kPage) {
            EXPECT_TRUE(e.type & NORMAL_CACHE_ENTRY);
        }
        if (e.sourceUrlName == kHistoryOnly) {
            EXPECT_FALSE(e.type & NORMAL_CACHE_ENTRY);
        }
    }
}

TEST_F(RealCache, RemovingANameTheCacheDoesNotHoldFailsAsNotFound) {
    // The update check counts on this answer to tell a missing cached copy from a refusal.
    win32::WinInetUrlCache cache;
    EXPECT_EQ(cache.remove(L"http://purgeon-test.example/never-cached.txt"),
              Status::error(kErrorFileNotFound));
    EXPECT_TRUE(cache.remove(kOther));
    EXPECT_FALSE(listed(walk(cache), kOther));
}

TEST_F(RealCache, ListingShowsNormalEntriesOnly) {
    CacheRig rig;
    rig.main.loadCacheContents();
    for (const std::wstring& url : {kPage, kOther, kUnicode, kCookie, kCookieWord})
        EXPECT_GE(rig.row(url), 0) << "missing row";
    EXPECT_EQ(rig.row(kHistoryOnly), -1);
}

TEST_F(RealCache, DeleteSelectedRemovesEverySelectedRowsEntryAndNoOther) {
    CacheRig rig;
    rig.main.loadCacheContents();
    rig.main.List1_Click(rig.row(kPage));
    rig.main.List1_Click(rig.row(kUnicode));
    rig.main.List1_Click(rig.row(kCookie));
    rig.main.List1_Click(rig.row(kPage));  // clicked again: no longer selected

    rig.main.cmdDelSelFromCache_Click();

    EXPECT_EQ(rig.row(kUnicode), -1);
    EXPECT_EQ(rig.row(kCookie), -1);
    EXPECT_GE(rig.row(kPage), 0);
    EXPECT_GE(rig.row(kOther), 0);
    win32::WinInetUrlCache cache;
    const auto left = walk(cache);
    EXPECT_FALSE(listed(left, kUnicode));
    EXPECT_FALSE(listed(left, kCookie));
    EXPECT_TRUE(listed(left, kPage));
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_NE(rig.dialogs.shown[0].text.find(L"\r\nCache: 2 entries removed"), std::wstring::npos)
        << testing::PrintToString(rig.dialogs.shown[0].text);
}

TEST_F(RealCache, ClearCacheSparesCookieRowsUnlessPasswordsAreTicked) {
    {
        CacheRig rig;
        rig.main.loadCacheContents();
        rig.main.cmdDelAllFromCache_Click();
        EXPECT_EQ(rig.row(kPage), -1);
        EXPECT_EQ(rig.row(kUnicode), -1);
        EXPECT_GE(rig.row(kCookie), 0);
        EXPECT_GE(rig.row(kCookieWord), 0);
        win32::WinInetUrlCache cache;
        const auto left = walk(cache);
        EXPECT_FALSE(listed(left, kOther));
        EXPECT_TRUE(listed(left, kCookie));
        EXPECT_TRUE(listed(left, kHistoryOnly));  // never listed, never deleted
    }
    {
        CacheRig rig;
        rig.main.setValue(Ctl::chkDelCachedPasswords, 1);
        rig.main.loadCacheContents();
        rig.main.cmdDelAllFromCache_Click();
        EXPECT_EQ(rig.row(kCookie), -1);
        EXPECT_EQ(rig.row(kCookieWord), -1);
        win32::WinInetUrlCache cache;
        const auto left = walk(cache);
        EXPECT_FALSE(listed(left, kCookie));
        EXPECT_TRUE(listed(left, kHistoryOnly));
    }
}

}  // namespace
}  // namespace purgeon
