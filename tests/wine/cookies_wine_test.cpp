// The Cookies tab against real files in the folder that the real "Cookies" value names.
#include <gtest/gtest.h>

#include "prefs/registry_text.h"
#include "win32_rig.h"

#include <shlobj.h>

namespace purgeon {
namespace {

using win32::UniqueFile;

class RealCookies : public ::testing::Test {
protected:
    void SetUp() override {
        RegValue value;
        ASSERT_TRUE(m_registry.query(kShellFoldersKey, L"Cookies", value));
        m_folder = QueryRegistryValue(value);
        ASSERT_FALSE(m_folder.empty()) << "the prefix names no cookie folder";
        if (m_folder.back() != L'\\') m_folder += L'\\';
        ::SHCreateDirectoryExW(nullptr, m_folder.c_str(), nullptr);
        clear();
        for (const wchar_t* name :
             {L"index.dat", L"root@a.example.txt", L"root@b.example.txt", L"root@c.example.txt"}) {
            // "index.dat" may be the cache's own index, held open by WinINet: shared, not replaced.
            UniqueFile file(::CreateFileW((m_folder + name).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(file) << "cannot create a cookie file, error " << ::GetLastError();
        }
        ::SetFileAttributesW((m_folder + L"root@b.example.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    void TearDown() override { clear(); }

    void clear() {
        for (const wchar_t* name :
             {L"root@a.example.txt", L"root@b.example.txt", L"root@c.example.txt"}) {
            ::SetFileAttributesW((m_folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW((m_folder + name).c_str());
        }
    }
    bool exists(const wchar_t* name) const {
        return ::GetFileAttributesW((m_folder + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    static bool listed(const FrmMain& main, const std::wstring& name) {
        for (const CookieRow& row : main.cookieList().rows())
            if (row.name == name) return true;
        return false;
    }
    static void selectOnly(FrmMain& main, const std::wstring& name) {
        main.cmdselectnocookies_Click();
        const auto& rows = main.cookieList().rows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].name == name) main.lstcookies_ItemSelected(static_cast<int>(i), true);
    }

    win32::Win32Registry m_registry;
    std::wstring m_folder;
};

TEST_F(RealCookies, IndexDatShowsUntilTheFirstDeletionEvenWhenItIsAnsweredNo) {
    Win32Rig rig;
    rig.program.state().includeIndexDat = true;
    rig.main.loadCookiesList();
    EXPECT_EQ(rig.mainView().texts[static_cast<int>(Ctl::txtCookieDir)] + L"\\",
              m_folder.substr(0, m_folder.size() - 1) + L"\\");
    EXPECT_TRUE(listed(rig.main, L"index.dat"));
    EXPECT_TRUE(listed(rig.main, L"root@a.example.txt"));

    rig.dialogs.answers = {kIdNo};
    rig.main.cmddelcookies_Click();
    EXPECT_FALSE(listed(rig.main, L"index.dat"));
    EXPECT_TRUE(exists(L"root@c.example.txt"));
}

TEST_F(RealCookies, AReadOnlyCookieIsDeletedAndItsRowGoes) {
    Win32Rig rig;
    rig.main.loadCookiesList();
    selectOnly(rig.main, L"root@b.example.txt");
    rig.dialogs.answers = {kIdYes};
    rig.main.deletecookies(true);
    EXPECT_FALSE(exists(L"root@b.example.txt"));
    EXPECT_FALSE(listed(rig.main, L"root@b.example.txt"));
    EXPECT_TRUE(exists(L"root@a.example.txt"));
}

TEST_F(RealCookies, AFileHeldOpenWithoutSharingStaysAndKeepsItsRow) {
    Win32Rig rig;
    UniqueFile holder(::CreateFileW((m_folder + L"root@a.example.txt").c_str(), GENERIC_READ, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    rig.main.loadCookiesList();
    rig.main.deletecookies(false);
    EXPECT_TRUE(exists(L"root@a.example.txt"));
    EXPECT_TRUE(listed(rig.main, L"root@a.example.txt"));
    EXPECT_FALSE(exists(L"root@c.example.txt"));
    EXPECT_FALSE(listed(rig.main, L"root@c.example.txt"));
}

}  // namespace
}  // namespace purgeon
