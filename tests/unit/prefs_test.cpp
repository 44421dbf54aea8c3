// Stored preference texts, registry values as text, and the autostart value.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/fake_stores.h"
#include "fakes/plain_options.h"
#include "prefs/preferences.h"
#include "prefs/registry_text.h"

namespace purgeon {
namespace {

TEST(Prefs, CheckBoxTextsOutsideZeroToTwoFallBackToUnticked) {
    struct Case {
        std::wstring text;
        int value;
    };
    for (const Case& c :
         {Case{L"0", 0}, Case{L"1", 1}, Case{L"2", 2}, Case{L" 1 ", 1}, Case{L"3", 0},
          Case{L"-1", 0}, Case{L"", 0}, Case{L"yes", 0}, Case{L"1x", 0}, Case{L"99999", 0}}) {
        EXPECT_EQ(checkBoxFromText(c.text), c.value)
            << "text '" << std::string(c.text.begin(), c.text.end()) << "'";
    }
}

TEST(Prefs, ShredLevelAcceptsWordsInAnyCaseAndNumbersAndFallsBackToQuick) {
    struct Case {
        std::wstring text;
        bool quick;
    };
    for (const Case& c : {Case{L"True", true}, Case{L"False", false}, Case{L"FALSE", false},
                          Case{L"tRuE", true}, Case{L"0", false}, Case{L"-1", true},
                          Case{L"5", true}, Case{L"maybe", true}, Case{L"", true}}) {
        EXPECT_EQ(shredLevelFromText(c.text), c.quick)
            << "text '" << std::string(c.text.begin(), c.text.end()) << "'";
    }
}

using Options = fakes::PlainOptions;

TEST(StoredPrefs, AKeyThatFailsKeepsItsDefaultWhileTheOthersAreReadAndWritten) {
    fakes::FakeSettingsStore store;
    store.put(L"autostart", L"1");
    store.put(L"runonstart", L"1");
    store.put(L"secureforall", L"1");
    store.put(L"shredlevel", L"False");
    Options options;
    EXPECT_TRUE(readStoredPrefs(store, L" Purgeon", options));

    store.refused[L"runonstart"] = kErrorAccessDenied;
    store.refused[L"secureforall"] = kErrorInvalidParameter;
    options = Options();
    EXPECT_EQ(readStoredPrefs(store, L" Purgeon", options), Status::error(kErrorAccessDenied));
    EXPECT_EQ(options.boxes, (std::array<int, 10>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(options.quickSelected);
    EXPECT_TRUE(options.dodSelected);

    options.boxes = {0, 0, 1, 1, 1, 1, 1, 1, 1, 0};
    EXPECT_EQ(writeStoredPrefs(store, L" Purgeon", options), Status::error(kErrorAccessDenied));
    EXPECT_EQ(store.written.size(), 11u);
    store.refused.clear();
    Options reread;
    EXPECT_TRUE(readStoredPrefs(store, L" Purgeon", reread));
    // The two refused keys keep their old "1"; every other key holds what was written.
    EXPECT_EQ(reread.boxes, (std::array<int, 10>{0, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
}

TEST(RegistryText, ValueTypesBecomeTextByTheirRules) {
    using fakes::FakeRegistry;
    RegValue dword;
    dword.type = kRegDword;
    dword.dataRead = true;
    dword.data = {0xFF, 0xFF, 0xFF, 0xFF};
    RegValue positive = dword;
    positive.data = {0x2A, 0, 0, 0};
    RegValue binary = FakeRegistry::stringValue(L"abc", kRegBinary);
    RegValue unread = FakeRegistry::stringValue(L"abc");
    unread.dataRead = false;

    EXPECT_EQ(QueryRegistryValue(FakeRegistry::stringValue(L"C:\\Cookies")), L"C:\\Cookies");
    EXPECT_EQ(QueryRegistryValue(FakeRegistry::stringValue(L"no nul", kRegSz, false)), L"no nul");
    EXPECT_EQ(QueryRegistryValue(FakeRegistry::stringValue(std::wstring(L"one\0two", 7))), L"one");
    EXPECT_EQ(QueryRegistryValue(FakeRegistry::stringValue(L"%USERPROFILE%\\x", kRegExpandSz)),
              L"%USERPROFILE%\\x");
    EXPECT_EQ(QueryRegistryValue(dword), L"-1");
    EXPECT_EQ(QueryRegistryValue(positive), L"42");
    EXPECT_EQ(QueryRegistryValue(binary), L"");
    EXPECT_EQ(QueryRegistryValue(unread), L"");
}

TEST(RegistryText, AFailedQueryShowsTheSystemTextOnceAndGivesEmptyText) {
    struct Case {
        bool keyExists;
        long code;
    };
    for (const Case& c : {Case{true, kErrorFileNotFound}, Case{false, kErrorInvalidHandle}}) {
        fakes::FakeRegistry registry;
        fakes::FakeSystemErrors errors;
        fakes::FakeDialogs dialogs;
        if (c.keyExists) registry.keys.insert(kShellFoldersKey);
        EXPECT_EQ(GetRegistryValue(registry, errors, dialogs, kShellFoldersKey, L"Cookies"), L"");
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0], (fakes::ShownBox{errors.text(c.code), L" Purgeon", 0}));
    }
}

TEST(RegistryText, AnUnreadableTypeGivesEmptyTextWithoutABox) {
    fakes::FakeRegistry registry;
    fakes::FakeSystemErrors errors;
    fakes::FakeDialogs dialogs;
    registry.values[{kShellFoldersKey, L"Cookies"}] =
        fakes::FakeRegistry::stringValue(L"x", kRegBinary);
    EXPECT_EQ(GetRegistryValue(registry, errors, dialogs, kShellFoldersKey, L"Cookies"), L"");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(Autostart, WritesTheQuotedFullPathAndDeletesItAgain) {
    struct Case {
        std::wstring folder;
        std::wstring data;
    };
    for (const Case& c :
         {Case{L"C:\\Program Files\\Purgeon", L"\"C:\\Program Files\\Purgeon\\purgeon.exe\""},
          Case{L"E:\\Tools", L"\"E:\\Tools\\purgeon.exe\""}}) {
        fakes::FakeRegistry registry;
        registry.keys.insert(kRunKey);
        fakes::FakeAppInfo app;
        app.programFolder = c.folder;
        EXPECT_TRUE(SetAutostart(registry, app, true));
        EXPECT_EQ(registry.text(kRunKey, L" Purgeon"), c.data);
        EXPECT_TRUE(SetAutostart(registry, app, true));  // overwritten, not doubled
        EXPECT_EQ(registry.text(kRunKey, L" Purgeon"), c.data);
        EXPECT_TRUE(SetAutostart(registry, app, false));
        EXPECT_FALSE(registry.hasValue(kRunKey, L" Purgeon"));
        EXPECT_TRUE(SetAutostart(registry, app, false));  // a missing value is no error
        EXPECT_FALSE(registry.hasValue(kRunKey, L" Purgeon"));
    }
}

}  // namespace
}  // namespace purgeon
