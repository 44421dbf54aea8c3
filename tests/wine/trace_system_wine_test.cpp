// The rules' platform against Wine: keys in any root and the 64-bit view, values, the places
// the environment names stand for, and removing an emptied folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/system_folders_win32.h"
#include "platform/win32/trace_system_win32.h"
#include "wine/test_folder.h"

namespace purgeon {
namespace {

class RealTraces : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\PurgeonTraceTests");
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\PurgeonTraceTests",
                          KEY_WOW64_64KEY, 0);
    }
    static void setValue(HKEY root, const std::wstring& key, const wchar_t* name) {
        win32::UniqueHkey opened;
        ASSERT_EQ(
            ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                              nullptr, opened.put(), nullptr),
            ERROR_SUCCESS);
        const wchar_t data[] = L"x";
        ASSERT_EQ(::RegSetValueExW(opened.get(), name, 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(data), sizeof(data)),
                  ERROR_SUCCESS);
    }
    bool exists(const std::wstring& key) {
        bool found = false;
        EXPECT_TRUE(m_traces.keyExists(key, found).ok()) << testing::PrintToString(key);
        return found;
    }
    bool valueThere(const std::wstring& key, const std::wstring& name) {
        bool found = false;
        EXPECT_TRUE(m_traces.valueExists(key, name, found).ok());
        return found;
    }
    win32::Win32TraceSystem m_traces;
};

TEST_F(RealTraces, RemovesOneValueOrAWholeKeyAndLeavesTheRest) {
    setValue(HKEY_CURRENT_USER, L"Software\\PurgeonTraceTests\\App", L"Recent");
    setValue(HKEY_CURRENT_USER, L"Software\\PurgeonTraceTests\\App", L"Settings");
    setValue(HKEY_CURRENT_USER, L"Software\\PurgeonTraceTests\\App\\MRU\\Deep", L"1");
    setValue(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\PurgeonTraceTests", L"Installed");

    EXPECT_TRUE(exists(L"HKCU\\Software\\PurgeonTraceTests\\App"));
    EXPECT_TRUE(exists(L"HKLM\\Software\\Wow6432Node\\PurgeonTraceTests"));
    EXPECT_FALSE(exists(L"HKCU\\Software\\PurgeonTraceTests\\Missing"));
    EXPECT_FALSE(exists(L"HKCR\\PurgeonTraceTests.NoSuchClass"));
    EXPECT_TRUE(valueThere(L"HKCU\\Software\\PurgeonTraceTests\\App", L"recent"));
    EXPECT_FALSE(valueThere(L"HKCU\\Software\\PurgeonTraceTests\\App", L"Other"));
    EXPECT_FALSE(valueThere(L"HKCU\\Software\\PurgeonTraceTests\\Missing", L"Recent"));

    EXPECT_TRUE(m_traces.deleteValue(L"HKCU\\Software\\PurgeonTraceTests\\App", L"Recent").ok());
    EXPECT_FALSE(valueThere(L"HKCU\\Software\\PurgeonTraceTests\\App", L"Recent"));
    EXPECT_TRUE(valueThere(L"HKCU\\Software\\PurgeonTraceTests\\App", L"Settings"));
    EXPECT_TRUE(m_traces.deleteKey(L"HKCU\\Software\\PurgeonTraceTests\\App\\MRU").ok());
    EXPECT_FALSE(exists(L"HKCU\\Software\\PurgeonTraceTests\\App\\MRU"));
    EXPECT_TRUE(exists(L"HKCU\\Software\\PurgeonTraceTests\\App"));
    EXPECT_TRUE(m_traces.deleteKey(L"HKLM\\Software\\Wow6432Node\\PurgeonTraceTests").ok());
    EXPECT_FALSE(exists(L"HKLM\\Software\\Wow6432Node\\PurgeonTraceTests"));
    // What is not there needs no removing; a root's first level is never removed.
    EXPECT_TRUE(m_traces.deleteKey(L"HKCU\\Software\\PurgeonTraceTests\\Gone").ok());
    EXPECT_TRUE(m_traces.deleteValue(L"HKCU\\Software\\PurgeonTraceTests\\Gone", L"x").ok());
    EXPECT_FALSE(m_traces.deleteKey(L"HKCU\\Software").ok());
    EXPECT_TRUE(exists(L"HKCU\\Software"));
}

TEST_F(RealTraces, PlacesAreTheSystemsFoldersAndTheVersionIsKnown) {
    EXPECT_EQ(m_traces.place(L"appdata"),
              std::vector<std::wstring>{win32::knownFolderPath(FOLDERID_RoamingAppData)});
    EXPECT_EQ(m_traces.place(L"localappdata"),
              std::vector<std::wstring>{win32::knownFolderPath(FOLDERID_LocalAppData)});
    EXPECT_EQ(m_traces.place(L"programfiles").size(), 2u);
    EXPECT_EQ(m_traces.place(L"systemdrive"), std::vector<std::wstring>{L"C:"});
    EXPECT_EQ(m_traces.place(L"nosuchname"), std::vector<std::wstring>{});
    for (const wchar_t* name : {L"userprofile", L"programdata", L"windir", L"commonprogramfiles",
                                L"public", L"temp", L"locallowappdata", L"documents", L"username"})
        EXPECT_FALSE(m_traces.place(name).empty()) << testing::PrintToString(std::wstring(name));
    EXPECT_GE(m_traces.windowsVersion().major, 5);
}

TEST_F(RealTraces, RemovesAFolderOnlyOnceItIsEmpty) {
    wine::TestFolder folder(L"purgeon-trace-folders");
    const std::wstring full = folder.path() + L"full";
    const std::wstring empty = folder.path() + L"empty";
    wine::makeFolder(full);
    wine::makeFolder(empty);
    ASSERT_TRUE(wine::writeFile(full + L"\\kept.txt", "kept"));
    EXPECT_EQ(m_traces.removeEmptyFolder(full).code, kErrorDirNotEmpty);
    EXPECT_EQ(wine::readFile(full + L"\\kept.txt"), "kept");
    EXPECT_TRUE(m_traces.removeEmptyFolder(empty).ok());
    EXPECT_FALSE(wine::exists(empty));
}

TEST_F(RealTraces, WritesAWholeFileIntoANewFolderAndReplacesIt) {
    wine::TestFolder folder(L"purgeon-trace-write");
    const std::wstring path = folder.path() + L"Purgeon\\winapp2.ini";
    EXPECT_TRUE(m_traces.writeWholeFile(path, "[A]\r\n").ok());
    EXPECT_EQ(wine::readFile(path), "[A]\r\n");
    EXPECT_TRUE(m_traces.writeWholeFile(path, "[B]\r\n").ok());
    EXPECT_EQ(wine::readFile(path), "[B]\r\n");
    EXPECT_FALSE(wine::exists(path + L".new"));
}

TEST_F(RealTraces, ListsAKeysValuesWithTheirDataAndTheKeysBelowIt) {
    setValue(HKEY_CURRENT_USER, L"Software\\PurgeonTraceTests\\List", L"First");
    setValue(HKEY_CURRENT_USER, L"Software\\PurgeonTraceTests\\List\\Below", L"x");
    setValue(HKEY_CURRENT_USER, L"Software\\PurgeonTraceTests\\List\\Other", L"x");
    std::vector<RegistryEntry> values;
    ASSERT_TRUE(m_traces.listValues(L"HKCU\\Software\\PurgeonTraceTests\\List", values).ok());
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, L"First");
    EXPECT_EQ(values[0].type, static_cast<std::uint32_t>(REG_SZ));
    EXPECT_EQ(values[0].data, (std::vector<unsigned char>{'x', 0, 0, 0}));
    std::vector<std::wstring> names;
    ASSERT_TRUE(m_traces.listSubkeys(L"HKCU\\Software\\PurgeonTraceTests\\List", names).ok());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Below", L"Other"}));
    EXPECT_EQ(m_traces.listValues(L"HKCU\\Software\\PurgeonTraceTests\\Gone", values).code,
              kErrorFileNotFound);
    EXPECT_EQ(m_traces.listSubkeys(L"HKCU\\Software\\PurgeonTraceTests\\Gone", names).code,
              kErrorFileNotFound);
}

}  // namespace
}  // namespace purgeon
