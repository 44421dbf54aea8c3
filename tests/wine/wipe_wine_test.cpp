// Shredding, enumeration, the temporary folder and the Recycle Bin against real files under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "areas/temp_folder.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/random_source_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/system_folders_win32.h"
#include "wipe/enum_files.h"
#include "wipe/folder_guard.h"
#include "wipe/shred.h"
#include "test_folder.h"

#include <shellapi.h>

namespace purgeon {
namespace {

using namespace wine;
using win32::UniqueFile;

class RealFiles : public ::testing::Test {
protected:
    TestFolder m_folder{L"purgeon-wipe-tests"};
    const std::wstring m_root = m_folder.path();
    win32::Win32FileSystem m_files;
};

ShredOutcome shred(win32::Win32FileSystem& files, const std::wstring& path,
                   WipeMethod method = WipeMethod::quick) {
    return ShredFile(files, path, {method, true, {}}).outcome;
}

TEST_F(RealFiles, AnEmptyOrReadOnlyFileIsWipedAndAMissingOneIsGoneWithNothingCreated) {
    writeFile(m_root + L"empty.txt", "");
    writeFile(m_root + L"ro.txt", "secret");
    ::SetFileAttributesW((m_root + L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(shred(m_files, m_root + L"empty.txt"), ShredOutcome::wiped);
    EXPECT_EQ(shred(m_files, m_root + L"ro.txt", WipeMethod::onePass), ShredOutcome::wiped);
    EXPECT_EQ(shred(m_files, m_root + L"nowhere\\f.txt"), ShredOutcome::gone);
    EXPECT_EQ(shred(m_files, m_root + L"missing.txt"), ShredOutcome::gone);
    EXPECT_FALSE(exists(m_root + L"empty.txt"));
    EXPECT_FALSE(exists(m_root + L"ro.txt"));
    EXPECT_FALSE(exists(m_root + L"nowhere"));
    EXPECT_FALSE(exists(m_root + L"missing.txt"));
}

TEST_F(RealFiles, AFileAnotherProgramHoldsInAnyWayIsInUseAndUnchanged) {
    for (DWORD sharing : {0UL, static_cast<unsigned long>(FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                          FILE_SHARE_DELETE)}) {
        writeFile(m_root + L"held.txt", "keep me");
        UniqueFile holder(::CreateFileW((m_root + L"held.txt").c_str(), GENERIC_READ, sharing,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(shred(m_files, m_root + L"held.txt"), ShredOutcome::inUse) << sharing;
        holder.reset();
        EXPECT_EQ(readFile(m_root + L"held.txt"), "keep me") << sharing;
    }
}

TEST_F(RealFiles, TheUnattendedClearingOnlyUnlinksAFileWithASecondName) {
    makeFolder(m_root + L"Temp");
    writeFile(m_root + L"thesis.doc", "my thesis");
    ASSERT_TRUE(::CreateHardLinkW((m_root + L"Temp\\copy.doc").c_str(),
                                  (m_root + L"thesis.doc").c_str(), nullptr));
    const ShredResult result =
        ShredFile(m_files, m_root + L"Temp\\copy.doc", {WipeMethod::onePass, false, {}});
    EXPECT_EQ(result.outcome, ShredOutcome::unlinked);
    EXPECT_FALSE(exists(m_root + L"Temp\\copy.doc"));
    EXPECT_EQ(readFile(m_root + L"thesis.doc"), "my thesis");
}

// A second name keeps the data in sight after the wiped name is gone: it must hold the last pass,
// random data over every block the passes wrote, and it must have been read back as written.
TEST_F(RealFiles, EachMethodLeavesItsLastRandomPassOnTheDiskAndVerifiesIt) {
    struct Case {
        WipeMethod method;
        size_t length;
    };
    std::vector<std::string> lastPasses;
    for (const Case& c : {Case{WipeMethod::onePass, 0}, Case{WipeMethod::quick, 5000},
                          Case{WipeMethod::dod, 3 * 1024 * 1024 + 100}}) {
        const std::string original(c.length, 'S');
        writeFile(m_root + L"secret.doc", original);
        ASSERT_TRUE(::CreateHardLinkW((m_root + L"seen.doc").c_str(),
                                      (m_root + L"secret.doc").c_str(), nullptr));
        EXPECT_EQ(shred(m_files, m_root + L"secret.doc", c.method), ShredOutcome::wiped);
        EXPECT_FALSE(exists(m_root + L"secret.doc"));
        const std::string left = readFile(m_root + L"seen.doc");
        EXPECT_EQ(left.size(), (c.length / 1024 + passCount(c.method)) * 1024) << c.length;
        EXPECT_EQ(left.find(std::string(64, 'S')), std::string::npos) << c.length;
        EXPECT_NE(left.find_first_not_of(left[0]), std::string::npos) << c.length;
        lastPasses.push_back(left.substr(0, 1024));
        ASSERT_TRUE(::DeleteFileW((m_root + L"seen.doc").c_str()));
    }
    EXPECT_NE(lastPasses[0], lastPasses[1]);
    EXPECT_NE(lastPasses[1], lastPasses[2]);
}

TEST(RealRandomSource, TheSystemsGeneratorGivesNewBytesEveryTime) {
    win32::Win32RandomSource random;
    std::string first(32, '\0'), second(32, '\0');
    ASSERT_TRUE(random.fill(first.data(), first.size()));
    ASSERT_TRUE(random.fill(second.data(), second.size()));
    EXPECT_NE(first, second);
    EXPECT_NE(first, std::string(32, '\0'));
}

TEST_F(RealFiles, AFolderSwappedForALinkAfterListingIsNotFollowed) {
    const std::wstring outside = m_root + L"outside\\";
    const std::wstring wiped = m_root + L"wiped\\";
    makeFolder(outside);
    makeFolder(wiped);
    makeFolder(wiped + L"sub");
    writeFile(outside + L"doc.txt", "do not touch");
    writeFile(wiped + L"sub\\doc.txt", "junk");
    FoundFileList found;
    resetFoundFiles(found);
    ASSERT_TRUE(EnumFiles(m_files, wiped, found).empty());
    ASSERT_EQ(found, (FoundFileList{L"", wiped + L"sub\\doc.txt"}));

    // Between the listing and the wipe, "sub" becomes a link to the outside folder.
    ::DeleteFileW((wiped + L"sub\\doc.txt").c_str());
    ::RemoveDirectoryW((wiped + L"sub").c_str());
    if (!makeUnixLink(outside, wiped + L"sub")) GTEST_SKIP() << "not under Wine: no Unix links";
    ASSERT_TRUE(exists(wiped + L"sub\\doc.txt"));
    const ShredResult result = ShredFile(m_files, found[1], {WipeMethod::quick, true, found[1]});
    EXPECT_EQ(result.outcome, ShredOutcome::redirected);
    EXPECT_EQ(readFile(outside + L"doc.txt"), "do not touch");
}

TEST_F(RealFiles, ATreeIsWipedFileByFileAndItsFoldersRemain) {
    makeFolder(m_root + L"s");
    makeFolder(m_root + L"s\\t");
    writeFile(m_root + L"a.txt", "a");
    writeFile(m_root + L"s\\b.txt", std::string(3000, 'b'));
    writeFile(m_root + L"s\\t\\c.txt", "c");
    FoundFileList found;
    resetFoundFiles(found);
    ASSERT_TRUE(EnumFiles(m_files, m_root, found).empty());
    ASSERT_EQ(found.size(), 4u);
    for (size_t i = 1; i < found.size(); ++i)
        EXPECT_EQ(shred(m_files, found[i]), ShredOutcome::wiped);
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
    if (!makeUnixLink(outside, wiped + L"link")) GTEST_SKIP() << "not under Wine: no Unix links";
    ASSERT_TRUE(exists(wiped + L"link\\precious.doc"));

    FoundFileList found;
    resetFoundFiles(found);
    ASSERT_TRUE(EnumFiles(m_files, wiped, found).empty());
    EXPECT_EQ(found, (FoundFileList{L"", wiped + L"junk.txt"}));
    for (size_t i = 1; i < found.size(); ++i) shred(m_files, found[i]);
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
    ASSERT_TRUE(EnumFiles(m_files, m_root, found).empty());
    ASSERT_EQ(found, (FoundFileList{L"", file}));
    EXPECT_EQ(shred(m_files, file), ShredOutcome::wiped);
    EXPECT_FALSE(exists(file));
    EXPECT_TRUE(exists(deep));
}

TEST(RealTempFolder, ClearingShredsTheFilesOfTheRealTemporaryFolderAndKeepsItsFolders) {
    win32::Win32FileSystem files;
    win32::Win32SystemFolders folders;
    const std::wstring temp = folders.tempPath();
    ASSERT_FALSE(temp.empty());
    makeFolder(temp + L"purgeon-temp-sub");
    writeFile(temp + L"purgeon-a.tmp", "a");
    writeFile(temp + L"purgeon-temp-sub\\b.tmp", "b");
    FoundFileList found;
    const TempClearing clearing = ClearTempFolder(files, folders, found);
    EXPECT_TRUE(clearing.check.allowed())
        << std::string(clearing.check.folder.begin(), clearing.check.folder.end());
    EXPECT_FALSE(exists(temp + L"purgeon-a.tmp"));
    EXPECT_FALSE(exists(temp + L"purgeon-temp-sub\\b.tmp"));
    EXPECT_TRUE(exists(temp + L"purgeon-temp-sub"));
    ::RemoveDirectoryW((temp + L"purgeon-temp-sub").c_str());
}

// TEMP and TMP pointing at folders that hold other people's data, in every spelling: the real
// folders are resolved, refused and left exactly as they were.
TEST(RealTempFolder, ATemporaryVariableNamingANamedFolderClearsNothing) {
    win32::Win32FileSystem files;
    win32::Win32SystemFolders folders;
    std::wstring documents, local;
    for (const KnownFolder& known : folders.knownFolders()) {
        if (known.name == L"Documents") documents = known.path;
        if (known.name == L"Local app data") local = known.path;
    }
    ASSERT_FALSE(documents.empty());
    makeFolder(documents);
    writeFile(documents + L"\\purgeon-thesis.doc", "my thesis");
    wchar_t shortName[MAX_PATH] = {};
    ::GetShortPathNameW(documents.c_str(), shortName, MAX_PATH);
    TestFolder links(L"purgeon-temp-links");
    const std::wstring junction = links.path() + L"Temp";
    const bool linked = makeUnixLink(documents, junction);

    std::vector<std::wstring> spellings = {
        documents + L"\\", L"\\\\?\\" + documents + L"\\",  documents + L"\\.\\",
        local + L"\\",     std::wstring(shortName) + L"\\", L"C:\\"};
    if (linked) spellings.push_back(junction + L"\\");
    wchar_t saved[2][MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"TMP", saved[0], MAX_PATH);
    ::GetEnvironmentVariableW(L"TEMP", saved[1], MAX_PATH);
    for (const std::wstring& spelling : spellings) {
        ::SetEnvironmentVariableW(L"TMP", spelling.c_str());
        ::SetEnvironmentVariableW(L"TEMP", spelling.c_str());
        FoundFileList found;
        const TempClearing clearing = ClearTempFolder(files, folders, found);
        const std::string label(spelling.begin(), spelling.end());
        EXPECT_TRUE(clearing.folderGiven) << label;
        EXPECT_FALSE(clearing.check.allowed()) << label;
        EXPECT_EQ(clearing.tally.total(), 0u) << label;
        EXPECT_EQ(readFile(documents + L"\\purgeon-thesis.doc"), "my thesis") << label;
    }
    ::SetEnvironmentVariableW(L"TMP", saved[0]);
    ::SetEnvironmentVariableW(L"TEMP", saved[1]);
    ::DeleteFileW((documents + L"\\purgeon-thesis.doc").c_str());
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
    TestFolder folder(L"purgeon-trash-tests");
    const std::wstring victim = folder.path() + L"purgeon-trash-me.txt";
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
    EXPECT_TRUE(shell.emptyRecycleBin());
    EXPECT_FALSE(exists(trash + L"purgeon-trash-me.txt"));
}

}  // namespace
}  // namespace purgeon
