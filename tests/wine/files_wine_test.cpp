// Exclusive files, resolved folders, listings, system folders and the Recycle Bin on real files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/files_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/system_folders_win32.h"
#include "test_folder.h"

namespace purgeon {
namespace {

using wine::exists;
using wine::makeFolder;
using wine::makeUnixLink;
using wine::readFile;
using wine::writeFile;

bool samePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::string narrow(const std::wstring& text) {
    std::string result;
    for (wchar_t c : text) result += c < 0x80 ? static_cast<char>(c) : '?';
    return result;
}

class RealFileSystem : public ::testing::Test {
protected:
    // The test folder's own final path, without its trailing separator.
    std::wstring resolvedRoot() {
        std::wstring resolved;
        EXPECT_TRUE(m_files.resolveFolder(m_root, resolved));
        return resolved;
    }

    wine::TestFolder m_folder{L"purgeon-files-tests"};
    const std::wstring& m_root = m_folder.path();
    win32::Win32FileSystem m_files;
};

TEST_F(RealFileSystem, OpeningAloneFailsForAHeldOrMissingFileAndChangesNothing) {
    struct Case {
        const char* what;
        std::wstring name;
        bool held;
        DWORD holderShare;
        long expected;
    };
    const Case cases[] = {
        {"held without sharing", L"held.txt", true, 0, kErrorSharingViolation},
        {"held sharing everything", L"shared.txt", true,
         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, kErrorSharingViolation},
        {"missing file", L"missing.txt", false, 0, kErrorFileNotFound},
        {"missing folder", L"nowhere\\missing.txt", false, 0, kErrorPathNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring path = m_root + c.name;
        win32::UniqueFile holder;
        if (c.held) {
            ASSERT_TRUE(writeFile(path, "keep me"));
            holder.reset(::CreateFileW(path.c_str(), GENERIC_READ, c.holderShare, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holder);
        }
        std::unique_ptr<ExclusiveFile> file;
        EXPECT_EQ(m_files.openExclusive(path, file).code, c.expected);
        EXPECT_FALSE(file);
        holder.reset();
        if (c.held) {
            EXPECT_EQ(readFile(path), "keep me");
        } else {
            EXPECT_FALSE(exists(path));
        }
    }
}

TEST_F(RealFileSystem, FactsTellLengthHardLinksAndTheFinalPath) {
    const std::wstring plain = m_root + L"plain.txt";
    const std::wstring second = m_root + L"second name.txt";
    ASSERT_TRUE(writeFile(plain, "hello"));
    {
        std::unique_ptr<ExclusiveFile> file;
        ASSERT_TRUE(m_files.openExclusive(plain, file));
        FileFacts facts;
        ASSERT_TRUE(file->facts(facts));
        EXPECT_EQ(facts.length, 5u);
        EXPECT_EQ(facts.links, 1u);
        EXPECT_EQ(facts.attributes & (kAttrDirectory | kAttrReparsePoint), 0u);
        EXPECT_EQ(facts.finalPath, resolvedRoot() + L"\\plain.txt");
        EXPECT_TRUE(samePath(facts.finalPath, plain)) << narrow(facts.finalPath);
    }
    ASSERT_TRUE(::CreateHardLinkW(second.c_str(), plain.c_str(), nullptr));
    for (const std::wstring& name : {plain, second}) {
        SCOPED_TRACE(narrow(name));
        std::unique_ptr<ExclusiveFile> file;
        ASSERT_TRUE(m_files.openExclusive(name, file));
        FileFacts facts;
        ASSERT_TRUE(file->facts(facts));
        EXPECT_EQ(facts.links, 2u);
        EXPECT_TRUE(samePath(facts.finalPath, name)) << narrow(facts.finalPath);
    }
}

TEST_F(RealFileSystem, PathsPastTheOldLengthLimitAndNonAsciiNamesAreReportedWhole) {
    std::wstring deep = resolvedRoot() + L"\\";
    while (deep.size() < 300) {
        deep += L"a-rather-long-folder-name-\u00e9\u00e8\\";
        makeFolder(deep);
    }
    const std::wstring path = deep + L"\u65e5\u672c\u8a9e \u00fc.txt";
    ASSERT_TRUE(writeFile(path, "far away"));
    std::unique_ptr<ExclusiveFile> file;
    ASSERT_TRUE(m_files.openExclusive(path, file));
    FileFacts facts;
    ASSERT_TRUE(file->facts(facts));
    EXPECT_EQ(facts.finalPath, path);
    std::wstring folder;
    ASSERT_TRUE(m_files.resolveFolder(deep, folder));
    EXPECT_EQ(folder + L"\\", deep);
}

// The handle of a file of kCachedFileBytes or more is unbuffered: whole units of aligned memory,
// then the length set back.
TEST_F(RealFileSystem, AlignedWritesAndReadsLandAtTheirOffsetsAndARemovedFileIsGoneOnClose) {
    const std::wstring path = m_root + L"data.bin";
    ASSERT_TRUE(writeFile(path, std::string(kCachedFileBytes, 'x')));
    size_t unit = 0;
    {
        std::unique_ptr<ExclusiveFile> file;
        ASSERT_TRUE(m_files.openExclusive(path, file));
        unit = file->ioUnit();
        ASSERT_TRUE(unit >= 512 && unit <= 65536 && (unit & (unit - 1)) == 0) << unit;
        std::vector<char> memory(3 * unit);
        char* aligned =
            memory.data() + (unit - reinterpret_cast<std::uintptr_t>(memory.data()) % unit);
        std::fill_n(aligned, unit, 'b');
        EXPECT_TRUE(file->writeAt(unit, aligned, unit));
        std::fill_n(aligned, unit, 'a');
        EXPECT_TRUE(file->writeAt(0, aligned, unit));
        EXPECT_TRUE(file->setLength(unit + 10));
        EXPECT_TRUE(file->flush());
        FileFacts facts;
        ASSERT_TRUE(file->facts(facts));
        EXPECT_EQ(facts.length, unit + 10);
        size_t read = 0;
        EXPECT_TRUE(file->readAt(0, aligned, 2 * unit, read));
        EXPECT_EQ(read, unit + 10);
        EXPECT_EQ(std::string(aligned, read), std::string(unit, 'a') + std::string(10, 'b'));
    }
    EXPECT_EQ(readFile(path), std::string(unit, 'a') + std::string(10, 'b'));
    {
        std::unique_ptr<ExclusiveFile> file;
        ASSERT_TRUE(m_files.openExclusive(path, file));
        EXPECT_TRUE(file->remove());
    }
    EXPECT_FALSE(exists(path));
}

// A small file is held through the cache: a write of any length lands in place. Its handle
// renames it in its folder, never over a name that is taken.
TEST_F(RealFileSystem, ASmallFileIsHeldThroughTheCacheAndRenamedInItsFolderOnly) {
    const std::wstring path = m_root + L"small.txt";
    ASSERT_TRUE(writeFile(path, "0123456789"));
    ASSERT_TRUE(writeFile(m_root + L"taken.txt", "someone's"));
    {
        std::unique_ptr<ExclusiveFile> file;
        ASSERT_TRUE(m_files.openExclusive(path, file));
        FileFacts facts;
        ASSERT_TRUE(file->facts(facts));
        EXPECT_TRUE(facts.cached);
        EXPECT_EQ(file->ioUnit(), 1u);
        EXPECT_TRUE(file->writeAt(3, "abc", 3));
        EXPECT_TRUE(file->flush());
        EXPECT_EQ(file->rename(L"taken.txt").code, kErrorAlreadyExists);
        EXPECT_TRUE(file->rename(L"0k2j9x4q7m"));
        ASSERT_TRUE(file->facts(facts));
        EXPECT_TRUE(samePath(facts.finalPath, resolvedRoot() + L"\\0k2j9x4q7m"))
            << narrow(facts.finalPath);
    }
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(readFile(m_root + L"0k2j9x4q7m"), "012abc6789");
    EXPECT_EQ(readFile(m_root + L"taken.txt"), "someone's");

    ASSERT_TRUE(writeFile(m_root + L"large.bin", std::string(kCachedFileBytes, 'L')));
    std::unique_ptr<ExclusiveFile> large;
    ASSERT_TRUE(m_files.openExclusive(m_root + L"large.bin", large));
    FileFacts facts;
    ASSERT_TRUE(large->facts(facts));
    EXPECT_FALSE(facts.cached);
}

// Wine makes no named stream: a file has none. A file is made new, and only where no name is.
TEST_F(RealFileSystem, AFileHasNoStreamsHereAndIsMadeOnlyUnderAFreeName) {
    ASSERT_TRUE(writeFile(m_root + L"plain.txt", "plain"));
    int streams = 0;
    EXPECT_TRUE(m_files.listStreams(m_root + L"plain.txt", [&](const StreamEntry&) { ++streams; }));
    EXPECT_EQ(streams, 0);
    EXPECT_TRUE(m_files.makeFile(m_root + L"made"));
    EXPECT_EQ(readFile(m_root + L"made"), "");
    EXPECT_EQ(m_files.makeFile(m_root + L"plain.txt").code, kErrorFileExists);
    EXPECT_EQ(readFile(m_root + L"plain.txt"), "plain");
}

TEST_F(RealFileSystem, AReadOnlyHiddenSystemFileIsClearedThroughItsHandleAndRemoved) {
    const std::wstring path = m_root + L"guarded.txt";
    ASSERT_TRUE(writeFile(path, "guarded"));
    ASSERT_TRUE(::SetFileAttributesW(
        path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    {
        std::unique_ptr<ExclusiveFile> file;
        ASSERT_TRUE(m_files.openExclusive(path, file));
        EXPECT_TRUE(file->clearAttributes());
        FileFacts facts;
        ASSERT_TRUE(file->facts(facts));
        EXPECT_EQ(facts.attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem), 0u);
        EXPECT_TRUE(file->remove());
    }
    EXPECT_FALSE(exists(path));
}

TEST_F(RealFileSystem, AFileReachedThroughAFolderLinkReportsTheTargetsPath) {
    makeFolder(m_root + L"real");
    ASSERT_TRUE(writeFile(m_root + L"real\\inside.txt", "inside"));
    if (!makeUnixLink(m_root + L"real", m_root + L"link"))
        GTEST_SKIP() << "not under Wine: no Unix links to make";
    std::unique_ptr<ExclusiveFile> file;
    ASSERT_TRUE(m_files.openExclusive(m_root + L"link\\inside.txt", file));
    FileFacts facts;
    ASSERT_TRUE(file->facts(facts));
    EXPECT_EQ(facts.finalPath, resolvedRoot() + L"\\real\\inside.txt");
}

// Wine opens a Unix link to a file as its target; what the handle tells must give that away, so
// that nobody takes the target for the file of that name.
TEST_F(RealFileSystem, ALinkToAFileShowsItselfAsALinkOrByItsTargetsPath) {
    const std::wstring target = m_root + L"target.txt";
    const std::wstring link = m_root + L"link.txt";
    ASSERT_TRUE(writeFile(target, "the target"));
    if (!makeUnixLink(target, link)) GTEST_SKIP() << "not under Wine: no Unix links to make";
    {
        std::unique_ptr<ExclusiveFile> file;
        ASSERT_TRUE(m_files.openExclusive(link, file));
        FileFacts facts;
        ASSERT_TRUE(file->facts(facts));
        EXPECT_TRUE((facts.attributes & kAttrReparsePoint) || !samePath(facts.finalPath, link))
            << narrow(facts.finalPath);
    }
    EXPECT_EQ(readFile(target), "the target");
}

TEST_F(RealFileSystem, RemovingAFolderLinkNeverTouchesTheTargetsFiles) {
    makeFolder(m_root + L"kept");
    ASSERT_TRUE(writeFile(m_root + L"kept\\precious.doc", "do not touch"));
    const std::wstring link = m_root + L"link";
    if (!makeUnixLink(m_root + L"kept", link))
        GTEST_SKIP() << "not under Wine: no Unix links to make";
    Status removed;
    {
        std::unique_ptr<ExclusiveFile> file;
        ASSERT_TRUE(m_files.openExclusive(link, file));
        removed = file->remove();
    }
    EXPECT_EQ(readFile(m_root + L"kept\\precious.doc"), "do not touch");
    if (removed) {
        EXPECT_FALSE(exists(link));
    }
}

TEST_F(RealFileSystem, AFolderResolvesToItsFinalLongPath) {
    const std::wstring root = resolvedRoot();
    ASSERT_TRUE(samePath(root + L"\\", m_root)) << narrow(root);
    const std::wstring longName = m_root + L"A Long Folder Name";
    makeFolder(longName);
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameW(longName.c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortName), longName);
    const std::wstring expected = root + L"\\A Long Folder Name";

    struct Case {
        const char* what;
        std::wstring path;
        std::wstring expected;
    };
    std::vector<Case> cases = {
        {"long name", longName, expected},
        {"short name", shortName, expected},
        {"extended form", L"\\\\?\\" + longName, expected},
        {"trailing separator", longName + L"\\", expected},
        {"trailing dot", longName + L"\\.", expected},
        {"step up", longName + L"\\sub\\..", expected},
        {"drive root", m_root.substr(0, 3), m_root.substr(0, 3)},
    };
    makeFolder(m_root + L"real");
    if (makeUnixLink(m_root + L"real", m_root + L"link"))
        cases.push_back({"folder link", m_root + L"link", root + L"\\real"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring resolved;
        EXPECT_TRUE(m_files.resolveFolder(c.path, resolved));
        EXPECT_EQ(resolved, c.expected) << narrow(resolved);
    }
}

TEST_F(RealFileSystem, ResolvingFailsForAMissingFolderOrAFile) {
    ASSERT_TRUE(writeFile(m_root + L"file.txt", "not a folder"));
    struct Case {
        const char* what;
        std::wstring path;
        long expected;
    };
    const Case cases[] = {
        {"missing folder", m_root + L"missing", kErrorFileNotFound},
        {"missing parent", m_root + L"missing\\deeper", kErrorPathNotFound},
        {"file", m_root + L"file.txt", ERROR_DIRECTORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring resolved = L"untouched";
        EXPECT_EQ(m_files.resolveFolder(c.path, resolved).code, c.expected);
        EXPECT_EQ(resolved, L"untouched");
    }
}

TEST_F(RealFileSystem, AListingTellsTheSizeOfEachFile) {
    ASSERT_TRUE(writeFile(m_root + L"sized.bin", std::string(3000, 's')));
    makeFolder(m_root + L"folder");
    std::vector<DirEntry> entries;
    ASSERT_TRUE(m_files.listFolder(m_root, [&](const DirEntry& entry) {
        if (entry.name != L"." && entry.name != L"..") entries.push_back(entry);
    }));
    ASSERT_EQ(entries.size(), 2u);
    for (const DirEntry& entry : entries) {
        SCOPED_TRACE(narrow(entry.name));
        EXPECT_EQ(entry.size, entry.name == L"sized.bin" ? 3000u : 0u);
    }
}

TEST_F(RealFileSystem, FileOperationsByNameGiveTheSystemsCodes) {
    ASSERT_TRUE(writeFile(m_root + L"kept.txt", "kept"));
    ASSERT_TRUE(writeFile(m_root + L"locked.txt", "locked"));
    ASSERT_TRUE(::SetFileAttributesW((m_root + L"locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    const std::wstring missing = m_root + L"missing.txt";
    std::string bytes;
    std::uint64_t size = 0;

    EXPECT_TRUE(m_files.readFile(m_root + L"kept.txt", bytes));
    EXPECT_EQ(bytes, "kept");
    EXPECT_TRUE(m_files.fileSize(m_root + L"kept.txt", size));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(m_files.readFile(missing, bytes).code, kErrorFileNotFound);
    EXPECT_EQ(m_files.fileSize(missing, size).code, kErrorFileNotFound);
    EXPECT_EQ(m_files.deleteFile(missing).code, kErrorFileNotFound);
    EXPECT_EQ(m_files.listFolder(m_root + L"missing\\", [](const DirEntry&) {}).code,
              kErrorPathNotFound);

    // A read-only file refuses deletion until its attributes are reset.
    EXPECT_EQ(m_files.deleteFile(m_root + L"locked.txt").code, kErrorAccessDenied);
    EXPECT_TRUE(m_files.setNormalAttributes(m_root + L"locked.txt"));
    EXPECT_TRUE(m_files.deleteFile(m_root + L"locked.txt"));
    EXPECT_FALSE(exists(m_root + L"locked.txt"));
}

TEST(RealSystemFolders, KnownFoldersAgreeWithTheSystemsOwnAnswers) {
    wchar_t windows[MAX_PATH] = {};
    wchar_t system[MAX_PATH] = {};
    wchar_t profile[MAX_PATH] = {};
    ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    ASSERT_GT(::GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH), 0u);

    win32::Win32SystemFolders folders;
    const std::vector<KnownFolder> known = folders.knownFolders();
    auto pathOf = [&](const std::wstring& name) {
        for (const KnownFolder& folder : known)
            if (folder.name == name) return folder.path;
        return std::wstring();
    };
    EXPECT_TRUE(samePath(pathOf(L"Windows"), windows));
    EXPECT_TRUE(samePath(pathOf(L"System"), system));
    EXPECT_TRUE(samePath(pathOf(L"profile"), profile));

    const std::vector<std::wstring> temps = folders.systemTempFolders();
    auto listed = [&](const std::wstring& path) {
        for (const std::wstring& temp : temps)
            if (samePath(temp, path)) return true;
        return false;
    };
    EXPECT_TRUE(listed(std::wstring(windows) + L"\\Temp"));
    EXPECT_TRUE(listed(std::wstring(profile) + L"\\Temp"));
}

TEST(RealShell, EmptyingAnEmptyRecycleBinSucceeds) {
    win32::Win32Shell shell;
    static_cast<void>(shell.emptyRecycleBin());  // whatever an earlier test left there
    EXPECT_TRUE(shell.emptyRecycleBin());
}

}  // namespace
}  // namespace purgeon
