// Browser profiles written by the real Chromium and Firefox: listed, cleared with the keep list,
// left sound and without the removed addresses; a running browser's profile left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "clean/browser_areas.h"
#include "browsers/browser_cache.h"
#include "browsers/browser_cookies.h"
#include "browsers/browser_history.h"
#include "browsers/profile_discovery.h"
#include "browsers/profile_lock.h"
#include "browsers/sqlite_database.h"
#include "platform/win32/files_win32.h"
#include "wine/test_folder.h"

namespace purgeon {
namespace {

using wine::TestFolder;

// The profiles tests/browsers/make_profiles.sh wrote (a Unix folder given by the build), copied
// below a test folder.
class RealProfiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (wine::unixPath(m_root.path()).empty()) GTEST_SKIP() << "the profiles are made on Linux";
        // The Unix folder as Wine's drive Z: shows it.
        std::wstring source = L"Z:";
        for (const char c : std::string(PURGEON_REAL_PROFILES))
            source += c == '/' ? L'\\' : wchar_t(c);
        ASSERT_TRUE(copyTree(source + L"\\Local\\", m_root.path() + L"Local\\"));
        ASSERT_TRUE(copyTree(source + L"\\Roaming\\", m_root.path() + L"Roaming\\"));
        m_profiles =
            discoverProfiles(m_files, {m_root.path() + L"Local\\", m_root.path() + L"Roaming\\"});
    }

    // Copies the files and folders below from (ending in "\") to a new folder to.
    static bool copyTree(const std::wstring& from, const std::wstring& to) {
        wine::makeFolder(to);
        WIN32_FIND_DATAW data{};
        win32::UniqueFind find(::FindFirstFileW((from + L"*").c_str(), &data));
        if (!find) return false;
        bool copied = true;
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                copied = copyTree(from + name + L"\\", to + name + L"\\") && copied;
            } else {
                copied = ::CopyFileW((from + name).c_str(), (to + name).c_str(), TRUE) && copied;
            }
        } while (::FindNextFileW(find.get(), &data));
        return copied;
    }

    const BrowserProfile* profile(const std::wstring& browser) const {
        for (const BrowserProfile& found : m_profiles)
            if (found.browser == browser) return &found;
        return nullptr;
    }

    // Every file below the folder, ending in "\".
    std::vector<std::wstring> allFiles(const std::wstring& folder) {
        std::vector<std::wstring> paths;
        (void)m_files.listFolder(folder, [&](const DirEntry& entry) {
            if (entry.name == L"." || entry.name == L"..") return;
            if (entry.attributes & kAttrDirectory) {
                const auto below = allFiles(folder + entry.name + L"\\");
                paths.insert(paths.end(), below.begin(), below.end());
            } else {
                paths.push_back(folder + entry.name);
            }
        });
        return paths;
    }

    std::vector<std::wstring> filesHolding(const std::wstring& folder, const std::string& text) {
        std::vector<std::wstring> holding;
        std::string wide;
        for (const char c : text) wide += std::string{c, '\0'};
        for (const std::wstring& path : allFiles(folder)) {
            const std::string content = wine::readFile(path);
            if (content.find(text) != std::string::npos || content.find(wide) != std::string::npos)
                holding.push_back(path);
        }
        return holding;
    }

    TestFolder m_root{
        L"purgeon-real-profiles-" +
        std::wstring(
            ::testing::UnitTest::GetInstance()->current_test_info()->name(),
            ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                std::strlen(::testing::UnitTest::GetInstance()->current_test_info()->name()))};
    win32::Win32FileSystem m_files;
    std::vector<BrowserProfile> m_profiles;
};

bool anyCookie(const std::vector<BrowserCookie>& cookies, const std::wstring& name) {
    return std::any_of(cookies.begin(), cookies.end(),
                       [&](const BrowserCookie& cookie) { return cookie.name == name; });
}

TEST_F(RealProfiles, AreFoundListedAndClearedWithTheKeepListLeavingNoAddressBehind) {
    ASSERT_NE(profile(L"Chrome"), nullptr);
    ASSERT_NE(profile(L"Chromium"), nullptr);
    ASSERT_NE(profile(L"Firefox"), nullptr);
    EXPECT_EQ(profile(L"Firefox")->name, L"default-release");
    CookieKeepList keep(L"keep.purgeon.test");

    for (const BrowserProfile& found : m_profiles) {
        SCOPED_TRACE(found.title());
        std::vector<BrowserCookie> cookies;
        ASSERT_EQ(listBrowserCookies(m_files, found, cookies), L"");
        EXPECT_TRUE(anyCookie(cookies, L"gonesite_session"));
        EXPECT_TRUE(anyCookie(cookies, L"keepsite_session"));
        std::vector<BrowserVisit> visits;
        ASSERT_EQ(listBrowserHistory(m_files, found, visits), L"");
        EXPECT_TRUE(std::any_of(visits.begin(), visits.end(), [](const BrowserVisit& visit) {
            return visit.url == L"http://gone.purgeon.test/" && visit.lastVisited > 0;
        }));
        const auto cache = listBrowserCache(m_files, found);
        EXPECT_TRUE(std::any_of(cache.begin(), cache.end(), [](const BrowserCacheEntry& entry) {
            return entry.url.find(L"/gone-asset-7731.png") != std::wstring::npos;
        }));

        const StoreClearing cookieClearing = deleteBrowserCookies(m_files, found, keep);
        EXPECT_EQ(cookieClearing.error, L"");
        EXPECT_GT(cookieClearing.removed, 0u);
        EXPECT_GT(cookieClearing.kept, 0u);
        const HistoryClearing history = clearBrowserHistory(m_files, found);
        EXPECT_EQ(history.database.error, L"");
        EXPECT_GT(history.database.removed, 0u);
        const FileRemoval removal = clearBrowserCache(m_files, found);
        EXPECT_GT(removal.tally.wiped(), 0u);
        EXPECT_EQ(removal.tally.notWiped(), 0u);

        ASSERT_EQ(listBrowserCookies(m_files, found, cookies), L"");
        EXPECT_FALSE(anyCookie(cookies, L"gonesite_session"));
        EXPECT_FALSE(anyCookie(cookies, L"gonesite_pref"));
        EXPECT_TRUE(anyCookie(cookies, L"keepsite_session"));
        ASSERT_EQ(listBrowserHistory(m_files, found, visits), L"");
        EXPECT_TRUE(visits.empty());
        EXPECT_TRUE(listBrowserCache(m_files, found).empty());
    }

    // Every database is sound, and the profiles name the removed site nowhere.
    for (const std::wstring& path : allFiles(m_root.path())) {
        if (wine::readFile(path).rfind(std::string("SQLite format 3\0", 16), 0) != 0) continue;
        SqliteDatabase db(path, true);
        EXPECT_EQ(db.integrityCheck(), "ok") << std::string(path.begin(), path.end());
    }
    // Beside the profiles too: "User Data" keeps usage metrics with page addresses.
    for (const std::wstring& path : filesHolding(m_root.path(), "gone.purgeon.test"))
        ADD_FAILURE() << "still names the removed site: " << std::string(path.begin(), path.end());
    for (const std::wstring& path : filesHolding(m_root.path(), "gonesite_session"))
        ADD_FAILURE() << "still names a removed cookie: " << std::string(path.begin(), path.end());
    // No journal or old copy of a changed file is left to be freed later (the browser leaves
    // its own journals empty).
    for (const std::wstring& path : allFiles(m_root.path())) {
        std::uint64_t bytes = 0;
        if (!m_files.fileSize(path, bytes).ok() || bytes == 0) continue;
        for (const wchar_t* left : {L"-journal", L".purgeon-old", L".purgeon-new"})
            if (path.find(left) != std::wstring::npos)
                ADD_FAILURE() << "left behind: " << std::string(path.begin(), path.end());
    }
}

// A browser that runs holds its lock: Chromium's "lockfile" sharing reading only, Firefox's
// "parent.lock" sharing nothing. Its profile is left exactly as it is.
TEST_F(RealProfiles, ARunningBrowsersProfileIsLeftAsItIs) {
    for (const wchar_t* browser : {L"Chrome", L"Firefox"}) {
        const BrowserProfile* running = profile(browser);
        ASSERT_NE(running, nullptr);
        SCOPED_TRACE(running->title());
        const bool chromium = running->family == BrowserFamily::chromium;
        win32::UniqueFile lock(::CreateFileW(
            running->lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, chromium ? FILE_SHARE_READ : 0,
            nullptr, OPEN_ALWAYS, chromium ? FILE_FLAG_DELETE_ON_CLOSE : 0, nullptr));
        ASSERT_TRUE(lock);
        EXPECT_TRUE(profileInUse(m_files, *running));

        const std::wstring cookiesPath = cookieDatabase(m_files, *running);
        const std::string before = wine::readFile(cookiesPath);
        const std::vector<BrowserChoice> choices = {{*running, true}};
        const BrowserClearing cookies = clearBrowserCookies(m_files, choices, {});
        const BrowserClearing history = clearBrowserHistories(m_files, choices);
        const BrowserClearing cache = clearBrowserCaches(m_files, choices);
        for (const BrowserClearing* run : {&cookies, &history, &cache}) {
            ASSERT_EQ(run->inUse.size(), 1u);
            EXPECT_EQ(closeBrowsersText(*run), L"Close " + std::wstring(browser) + L" to clean it");
        }
        EXPECT_EQ(wine::readFile(cookiesPath), before);
        EXPECT_FALSE(listBrowserCache(m_files, *running).empty());

        lock.reset();
        EXPECT_FALSE(profileInUse(m_files, *running));
    }
}

}  // namespace
}  // namespace purgeon
