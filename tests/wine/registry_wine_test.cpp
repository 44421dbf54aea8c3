// Registry text, the autostart value and the settings store against Wine's real registry.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "platform/win32/app_info_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/settings_store_win32.h"
#include "platform/win32/system_errors_win32.h"
#include "prefs/preferences.h"
#include "prefs/registry_text.h"

namespace purgeon {
namespace {

const std::wstring kTestKey = L"Software\\PurgeonTests\\Values";

class RealRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\PurgeonTests");
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey.c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, m_key.put(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        m_key.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\PurgeonTests");
    }
    void set(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(
            ::RegSetValueExW(m_key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes),
            ERROR_SUCCESS);
    }
    std::wstring read(const std::wstring& subKey, const wchar_t* name) {
        return GetRegistryValue(m_registry, m_errors, m_dialogs, subKey, name);
    }

    win32::UniqueHkey m_key;
    win32::Win32Registry m_registry;
    win32::Win32SystemErrors m_errors;
    fakes::FakeDialogs m_dialogs;
};

TEST_F(RealRegistry, EachValueTypeReadsByItsRule) {
    const wchar_t noNul[] = L"C:\\NoTerminator";
    set(L"sz", REG_SZ, noNul, static_cast<DWORD>(wcslen(noNul) * sizeof(wchar_t)));
    const wchar_t expand[] = L"%TEMP%\\cookies";
    set(L"expand", REG_EXPAND_SZ, expand, sizeof(expand));
    const DWORD allBits = 0xFFFFFFFF;
    set(L"dword", REG_DWORD, &allBits, sizeof(allBits));
    const BYTE binary[] = {1, 2, 3};
    set(L"binary", REG_BINARY, binary, sizeof(binary));

    EXPECT_EQ(read(kTestKey, L"sz"), noNul);
    EXPECT_EQ(read(kTestKey, L"expand"), expand);
    EXPECT_EQ(read(kTestKey, L"dword"), L"-1");
    EXPECT_EQ(read(kTestKey, L"binary"), L"");
    EXPECT_TRUE(m_dialogs.shown.empty());
}

TEST_F(RealRegistry, MissingValueAndMissingKeyShowTheSystemTextForTheirErrors) {
    struct Case {
        std::wstring subKey;
        long code;
    };
    for (const Case& c : {Case{kTestKey, ERROR_FILE_NOT_FOUND},
                          Case{L"Software\\PurgeonTests\\NoSuchKey", ERROR_INVALID_HANDLE}}) {
        m_dialogs.shown.clear();
        EXPECT_EQ(read(c.subKey, L"Cookies"), L"");
        ASSERT_EQ(m_dialogs.shown.size(), 1u);
        const std::wstring text = m_errors.text(c.code);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(m_dialogs.shown[0], (fakes::ShownBox{text, L" Purgeon", 0}));
    }
}

TEST_F(RealRegistry, RunValueIsWrittenOverwrittenAndRemoved) {
    win32::Win32AppInfo app;
    const std::wstring expected = L"\"" + app.exePath() + L"\"";
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L" Purgeon");

    EXPECT_TRUE(SetAutostart(m_registry, app, true));
    EXPECT_EQ(read(kRunKey, L" Purgeon"), expected);
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L" Purgeon", REG_SZ, L"stale", 12);
    EXPECT_TRUE(SetAutostart(m_registry, app, true));
    EXPECT_EQ(read(kRunKey, L" Purgeon"), expected);

    EXPECT_TRUE(SetAutostart(m_registry, app, false));
    m_dialogs.shown.clear();
    EXPECT_EQ(read(kRunKey, L" Purgeon"), L"");
    EXPECT_EQ(m_dialogs.shown.size(), 1u);  // gone: the query fails

    EXPECT_TRUE(SetAutostart(m_registry, app, false));  // a missing value goes quietly
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kRunKey, L" Purgeon", RRF_RT_ANY, nullptr, nullptr,
                             nullptr),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(RealRegistry, SettingsStoreKeepsTextsPerUserAndReportsMissingKeys) {
    win32::Win32SettingsStore store(L"Software\\PurgeonTests");
    std::wstring text;
    EXPECT_EQ(store.read(L" Purgeon", L"Settings", L"autostart", text),
              Status::error(kErrorFileNotFound));
    ASSERT_TRUE(store.write(L" Purgeon", L"Settings", L"autostart", L"1"));
    ASSERT_TRUE(store.write(L" Purgeon", L"Settings", L"shredlevel", L"False"));
    EXPECT_EQ(store.read(L" Purgeon", L"Settings", L"runonstart", text),
              Status::error(kErrorFileNotFound));
    ASSERT_TRUE(store.read(L" Purgeon", L"Settings", L"autostart", text));
    EXPECT_EQ(text, L"1");
    ASSERT_TRUE(store.read(L" Purgeon", L"Settings", L"shredlevel", text));
    EXPECT_EQ(text, L"False");
    EXPECT_EQ(store.keyPath(L" Purgeon", L"Settings"),
              L"Software\\PurgeonTests\\Purgeon\\Settings");

    // A value of another type is no text: reading it fails, and not as a missing key.
    const DWORD number = 1;
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, store.keyPath(L" Purgeon", L"Settings").c_str(),
                                L"autostart", REG_DWORD, &number, sizeof(number)),
              ERROR_SUCCESS);
    const Status mismatch = store.read(L" Purgeon", L"Settings", L"autostart", text);
    EXPECT_FALSE(mismatch);
    EXPECT_NE(mismatch.code, kErrorFileNotFound);
}

TEST_F(RealRegistry, AStringIsNotWrittenUnderAMissingKeyAndWhatIsNotThereNeedsNoDeleting) {
    const std::wstring missingKey = L"Software\\PurgeonTests\\NoSuchKey";
    EXPECT_EQ(m_registry.setString(missingKey, L"name", L"text"),
              Status::error(kErrorFileNotFound));
    HKEY created = nullptr;  // the key was not created on the way
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, missingKey.c_str(), 0, KEY_READ, &created),
              ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(m_registry.deleteValue(missingKey, L"name"));
    EXPECT_TRUE(m_registry.deleteValue(kTestKey, L"missing"));
}

}  // namespace
}  // namespace purgeon
