// The volume interface and the fill files against the real platform: roots, drive kinds, free
// space, folders, fill files held alone and gone on closing; leftovers removed from real folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/files_win32.h"
#include "platform/win32/volumes_win32.h"
#include "wipe/folder_guard.h"
#include "wipe/free_space.h"
#include "test_folder.h"

namespace purgeon {
namespace {

using namespace wine;
using win32::UniqueFile;

class RealVolumes : public ::testing::Test {
protected:
    TestFolder m_folder{L"purgeon-volume-tests"};
    const std::wstring m_root = m_folder.path();
    win32::Win32Volumes m_volumes;
    win32::Win32FileSystem m_files;
};

std::uint64_t sizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST_F(RealVolumes, AFolderNamesItsVolumeWhichIsALocalDiskWithFreeSpace) {
    std::wstring root;
    ASSERT_TRUE(m_volumes.volumeRoot(m_root + L"not there yet\\x.txt", root));
    EXPECT_EQ(root.back(), L'\\');
    EXPECT_TRUE(isBelow(plainPath(m_root), plainPath(root)) || samePath(root, m_root))
        << testing::PrintToString(root);
    EXPECT_EQ(m_volumes.driveKind(root), DriveKind::fixed);

    VolumeSpace space;
    ASSERT_TRUE(m_volumes.space(root, space));
    EXPECT_GT(space.freeBytes, 0u);
    EXPECT_GE(space.totalBytes, space.freeBytes);
    EXPECT_GE(space.clusterBytes, 512u);
    // Flushing a whole volume reaches the volume: the system may refuse it (administrator
    // rights; under Wine, a drive that is a plain folder of the host), but finds it.
    const Status flushed = m_volumes.flushVolume(root);
    EXPECT_NE(flushed.code, kErrorFileNotFound);
    EXPECT_NE(flushed.code, kErrorPathNotFound);

    // The drive letters in use, in order, each with its root; a letter not in use has none.
    const std::vector<std::wstring> drives = m_volumes.driveRoots();
    ASSERT_FALSE(drives.empty());
    EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
    EXPECT_NE(std::find(drives.begin(), drives.end(), root.substr(0, 3)), drives.end());
    for (wchar_t letter = L'Z'; letter >= L'D'; --letter) {
        const std::wstring unused = std::wstring(1, letter) + L":\\";
        if (std::find(drives.begin(), drives.end(), unused) != drives.end()) continue;
        EXPECT_EQ(m_volumes.driveKind(unused), DriveKind::noRoot);
        VolumeSpace none;
        EXPECT_FALSE(m_volumes.space(unused, none));
        EXPECT_EQ(m_volumes.flushVolume(unused).code, kErrorFileNotFound);
        break;
    }
}

TEST_F(RealVolumes, AFolderIsMadeOnceAndRemovedOnlyWhenEmpty) {
    const std::wstring folder = m_root + L"fill";
    ASSERT_TRUE(m_volumes.makeFolder(folder));
    EXPECT_EQ(m_volumes.makeFolder(folder).code, kErrorAlreadyExists);
    ASSERT_TRUE(writeFile(folder + L"\\keep.txt", "keep"));
    EXPECT_FALSE(m_volumes.removeFolder(folder));
    EXPECT_EQ(readFile(folder + L"\\keep.txt"), "keep");
    ::DeleteFileW((folder + L"\\keep.txt").c_str());
    EXPECT_TRUE(m_volumes.removeFolder(folder));
    EXPECT_FALSE(exists(folder));
}

TEST_F(RealVolumes, AFillFileIsNewHeldAloneTakesItsBytesAndGoesOnClosingWhenMadeSo) {
    std::vector<unsigned char> data(1 << 20);
    pseudoRandomSource()(data.data(), data.size());
    for (const bool removeOnClose : {true, false}) {
        SCOPED_TRACE(removeOnClose);
        const std::wstring path = m_root + fillFileName(removeOnClose ? 1 : 2);
        std::unique_ptr<FillFile> file;
        const Status created = m_volumes.createFillFile(path, removeOnClose, file);
        ASSERT_TRUE(created) << created.code;
        std::size_t written = 0;
        Status appended = file->append(data.data(), data.size(), written);
        ASSERT_TRUE(appended) << appended.code;
        EXPECT_EQ(written, data.size());
        appended = file->append(data.data(), 512, written);
        ASSERT_TRUE(appended) << appended.code;
        EXPECT_TRUE(file->flush());
        EXPECT_EQ(sizeOf(path), data.size() + 512);
        // Nobody else may open it, and the name is not made twice.
        UniqueFile other(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(other);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        std::unique_ptr<FillFile> twice;
        EXPECT_EQ(m_volumes.createFillFile(path, removeOnClose, twice).code, kErrorFileExists);
        file.reset();
        EXPECT_EQ(exists(path), !removeOnClose);
    }
    // What was written is what is there: the bytes of the source, not a pattern.
    const std::string kept = readFile(m_root + fillFileName(2));
    ASSERT_EQ(kept.size(), data.size() + 512);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), kept.begin(), [](unsigned char a, char b) {
        return a == static_cast<unsigned char>(b);
    }));
    std::vector<int> seen(256);
    for (unsigned char byte : data) ++seen[byte];
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int n) { return n > 3000; }));
}

TEST_F(RealVolumes, LeftoversGoFromTheFillFolderAndNothingElseNorThroughALink) {
    // The test folder stands for a volume's root.
    const std::wstring folder = fillFolderOf(m_root);
    makeFolder(folder);
    for (const std::wstring& name : {fillFileName(1), fillFileName(12), std::wstring(L"notes.txt"),
                                     std::wstring(L"purgeon-fill-12.tmp")})
        ASSERT_TRUE(writeFile(folder + L"\\" + name, "x"));
    // A held fill file stays, and so does the folder that holds it.
    UniqueFile holder(::CreateFileW((folder + L"\\" + fillFileName(12)).c_str(), GENERIC_READ, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    LeftoverSweep swept = RemoveFillLeftovers(m_files, m_volumes, m_root);
    EXPECT_EQ(swept.removed, 1u);
    EXPECT_EQ(swept.notRemoved, 1u);
    EXPECT_FALSE(exists(folder + L"\\" + fillFileName(1)));
    EXPECT_TRUE(exists(folder + L"\\" + fillFileName(12)));
    EXPECT_TRUE(exists(folder + L"\\notes.txt"));
    EXPECT_TRUE(exists(folder + L"\\purgeon-fill-12.tmp"));

    // Through a Unix link in the fill folder's place, fill files elsewhere are not ours.
    holder.reset();
    TestFolder elsewhere{L"purgeon-volume-tests-elsewhere"};
    ASSERT_TRUE(writeFile(elsewhere.path() + fillFileName(3), "x"));
    const std::wstring linkRoot = m_root + L"linked\\";
    makeFolder(linkRoot);
    if (!makeUnixLink(elsewhere.path(), fillFolderOf(linkRoot)))
        GTEST_SKIP() << "not under Wine: no Unix links";
    swept = RemoveFillLeftovers(m_files, m_volumes, linkRoot);
    EXPECT_EQ(swept.removed, 0u);
    EXPECT_TRUE(exists(elsewhere.path() + fillFileName(3)));
}

}  // namespace
}  // namespace purgeon
