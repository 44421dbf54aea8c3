// Shredding, enumeration, the temporary folder and the Recycle Bin against real files under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "areas/temp_folder.h"
#include "platform/win32/store_files_win32.h"
#include "platform/win32/win32_platform.h"
#include "wipe/enum_files.h"
#include "wipe/shred.h"

#include <shellapi.h>

namespace purgeon {
namespace {

using win32::UniqueFile;

std::wstring tempRoot() {
    wchar_t buffer[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, buffer);
    return std::wstring(buffer) + L"purgeon-wipe-tests\\";
}

bool exists(const std::wstring& path) {
    return ::GetFileAttributesW(win32::extendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void writeFile(const std::wstring& path, const std::string& content) {
    UniqueFile file(::CreateFileW(win32::extendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot create " << std::string(path.begin(), path.end());
    DWORD written = 0;
    ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

std::string readFile(const std::wstring& path) {
    UniqueFile file(::CreateFileW(win32::extendedPath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    if (!file) return "<unreadable>";
    std::string content(1 << 16, '\0');
    DWORD read = 0;
    ::ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    content.resize(read);
    return content;
}

void makeFolder(const std::wstring& path) {
    ::CreateDirectoryW(win32::extendedPath(path).c_str(), nullptr);
}

// Removes a test tree: files first, then folders, without following links.
void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data{};
    win32::UniqueFind find(::FindFirstFileW(win32::extendedPath(folder + L"*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + name;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                removeTree(path + L"\\");
            } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ::RemoveDirectoryW(win32::extendedPath(path).c_str());
            } else {
                ::SetFileAttributesW(win32::extendedPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(win32::extendedPath(path).c_str());
            }
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    ::RemoveDirectoryW(win32::extendedPath(folder).c_str());
}

// Wine only: the Unix path of a Windows path, for making a Unix symbolic link.
std::string unixPath(const std::wstring& path) {
    using Converter = char*(__cdecl*)(const wchar_t*);
    auto convert = reinterpret_cast<Converter>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return {};
    char* unix = convert(path.c_str());
    std::string result = unix ? unix : "";
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

class RealFiles : public ::testing::Test {
protected:
    void SetUp() override {
        removeTree(m_root);
        makeFolder(m_root);
    }
    void TearDown() override { removeTree(m_root); }

    std::wstring m_root = tempRoot();
    win32::Win32FileSystem m_files;
};

TEST_F(RealFiles, AnEmptyFileShreddedWithThreePassesIsGone) {
    writeFile(m_root + L"empty.txt", "");
    ShredFile(m_files, m_root + L"empty.txt", 3);
    EXPECT_FALSE(exists(m_root + L"empty.txt"));
}

TEST_F(RealFiles, AFileHeldOpenWithoutSharingStaysUnchanged) {
    writeFile(m_root + L"held.txt", "keep me");
    UniqueFile holder(::CreateFileW((m_root + L"held.txt").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    ShredFile(m_files, m_root + L"held.txt", 3);
    holder.reset();
    EXPECT_EQ(readFile(m_root + L"held.txt"), "keep me");
}

TEST_F(RealFiles, AMissingFolderCreatesNothing) {
    ShredFile(m_files, m_root + L"nowhere\\f.txt", 3);
    EXPECT_FALSE(exists(m_root + L"nowhere"));
}

TEST_F(RealFiles, AReadOnlyFileIsShreddedAndGone) {
    writeFile(m_root + L"ro.txt", "secret");
    ::SetFileAttributesW((m_root + L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ShredFile(m_files, m_root + L"ro.txt", 1);
    EXPECT_FALSE(exists(m_root + L"ro.txt"));
}

TEST_F(RealFiles, ATreeIsWipedFileByFileAndItsFoldersRemain) {
    makeFolder(m_root + L"s");
    makeFolder(m_root + L"s\\t");
    writeFile(m_root + L"a.txt", "a");
    writeFile(m_root + L"s\\b.txt", std::string(3000, 'b'));
    writeFile(m_root + L"s\\t\\c.txt", "c");
    FoundFileList found;
    resetFoundFiles(found);
    EnumFiles(m_files, m_root, found);
    ASSERT_EQ(found.size(), 4u);
    for (size_t i = 1; i < found.size(); ++i) ShredFile(m_files, found[i], 3);
    EXPECT_FALSE(exists(m_root + L"a.txt"));
    EXPECT_FALSE(exists(m_root + L"s\\b.txt"));
    EXPECT_FALSE(exists(m_root + L"s\\t\\c.txt"));
    EXPECT_TRUE(exists(m_root + L"s\\t"));
}

TEST_F(RealFiles, ADirectoryLinkInsideTheFolderLeavesTheOutsideFilesAlone) {
    const std::wstring outside = m_root + L"outside\\";
    const std::wstring wiped = m_root + L"wiped\\";
    makeFolder(outside);
    makeFolder(wiped);
    writeFile(outside + L"precious.doc", "do not touch");
    writeFile(wiped + L"junk.txt", "junk");
    const std::string target = unixPath(outside);
    const std::string link = unixPath(wiped) + "/link";
    if (target.empty()) GTEST_SKIP() << "not under Wine: no Unix links to make";
    const std::wstring command = L"start /wait /unix /bin/ln -s \"" +
                                 std::wstring(target.begin(), target.end()) + L"\" \"" +
                                 std::wstring(link.begin(), link.end()) + L"\"";
    ASSERT_EQ(_wsystem(command.c_str()), 0);
    ASSERT_TRUE(exists(wiped + L"link\\precious.doc"));

    FoundFileList found;
    resetFoundFiles(found);
    EnumFiles(m_files, wiped, found);
    EXPECT_EQ(found, (FoundFileList{L"", wiped + L"junk.txt"}));
    for (size_t i = 1; i < found.size(); ++i) ShredFile(m_files, found[i], 3);
    EXPECT_EQ(readFile(outside + L"precious.doc"), "do not touch");
    EXPECT_FALSE(exists(wiped + L"junk.txt"));
}

TEST_F(RealFiles, LongPathsAndNonAsciiNamesAreFoundAndWiped) {
    std::wstring deep = m_root;
    while (deep.size() < 300) {
        deep += L"a-rather-long-folder-name-\u00e9\u00e8\\";
        makeFolder(deep);
    }
    const std::wstring file = deep + L"\u65e5\u672c\u8a9e \u00fc.txt";
    writeFile(file, "far away");
    ASSERT_TRUE(exists(file));
    FoundFileList found;
    resetFoundFiles(found);
    EnumFiles(m_files, m_root, found);
    ASSERT_EQ(found, (FoundFileList{L"", file}));
    ShredFile(m_files, file, 3);
    EXPECT_FALSE(exists(file));
    EXPECT_TRUE(exists(deep));
}

TEST(RealTempFolder, ClearingShredsTheFilesOfTheRealTemporaryFolderAndKeepsItsFolders) {
    win32::Win32FileSystem files;
    win32::Win32SystemFolders folders;
    const std::wstring temp = folders.tempPath();
    ASSERT_FALSE(temp.empty());
    ASSERT_TRUE(isClearableTempFolder(temp, folders.profileFolder(), folders.windowsFolder()));
    makeFolder(temp + L"purgeon-temp-sub");
    writeFile(temp + L"purgeon-a.tmp", "a");
    writeFile(temp + L"purgeon-temp-sub\\b.tmp", "b");
    FoundFileList found;
    ClearTempFolder(files, folders, found);
    EXPECT_FALSE(exists(temp + L"purgeon-a.tmp"));
    EXPECT_FALSE(exists(temp + L"purgeon-temp-sub\\b.tmp"));
    EXPECT_TRUE(exists(temp + L"purgeon-temp-sub"));
    ::RemoveDirectoryW((temp + L"purgeon-temp-sub").c_str());
}

// The Recycle Bin of the throwaway home: Wine keeps it in the freedesktop trash.
TEST(RealRecycleBin, ItemsTrashedAreGoneAfterEmptying) {
    // Wine names the Unix home folder, as a DOS path behind "\\??\\".
    wchar_t home[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH))
        GTEST_SKIP() << "not under Wine";
    std::wstring trash = home;
    if (trash.rfind(L"\\??\\", 0) == 0) trash = trash.substr(4);
    trash += L"\\.local\\share\\Trash\\files\\";
    const std::wstring victim = tempRoot() + L"..\\purgeon-trash-me.txt";
    writeFile(victim, "to the bin");
    std::wstring from = victim + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ASSERT_EQ(::SHFileOperationW(&op), 0);
    ASSERT_FALSE(exists(victim));
    ASSERT_TRUE(exists(trash + L"purgeon-trash-me.txt"));

    win32::Win32Shell shell;
    shell.emptyRecycleBin();
    EXPECT_FALSE(exists(trash + L"purgeon-trash-me.txt"));
}

}  // namespace
}  // namespace purgeon
