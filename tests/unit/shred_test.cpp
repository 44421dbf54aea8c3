// The shredding engine, file enumeration and the temporary folder's clearing, on a fake disk.
#include <gtest/gtest.h>

#include "areas/temp_folder.h"
#include "fakes/fake_stores.h"
#include "wipe/enum_files.h"
#include "wipe/shred.h"

namespace purgeon {
namespace {

using fakes::FakeFileSystem;
using PassEnd = FakeFileSystem::PassEnd;

const std::wstring kDir = L"D:\\x\\";

std::vector<unsigned char> bytes(size_t count, unsigned char value = 0x55) {
    return std::vector<unsigned char>(count, value);
}

TEST(Shred, EachPassWritesOneBlockMoreThanTheLengthRoundedDownThenTheFileGoes) {
    struct Case {
        size_t length;
        int passes;
        std::vector<size_t> lengthAfterPass;
    };
    for (const Case& c :
         {Case{0, 3, {1024, 2048, 3072}}, Case{1024, 1, {2048}}, Case{1500, 3, {2048, 3072, 4096}},
          Case{5000, 0, {}}, Case{3 * 1024 * 1024 + 7, 1, {3 * 1024 * 1024 + 1024}}}) {
        FakeFileSystem fs;
        fs.addFile(kDir, L"f.bin", kAttrArchive, bytes(c.length));
        ShredFile(fs, kDir + L"f.bin", c.passes);

        std::vector<PassEnd> expected;
        for (size_t length : c.lengthAfterPass) expected.push_back({kDir + L"f.bin", length, true});
        EXPECT_EQ(fs.passEnds, expected) << "length " << c.length << ", " << c.passes << " passes";
        EXPECT_TRUE(fs.files.empty());
    }
}

TEST(Shred, AMissingFileInAnExistingFolderIsCreatedFilledAndRemoved) {
    FakeFileSystem fs;
    fs.addFile(kDir, L"other.txt");
    ShredFile(fs, kDir + L"new.bin", 2);
    EXPECT_EQ(fs.passEnds, (std::vector<PassEnd>{{kDir + L"new.bin", 1024, true},
                                                 {kDir + L"new.bin", 2048, true}}));
    EXPECT_EQ(fs.fileNames(), (std::vector<std::wstring>{kDir + L"other.txt"}));
}

TEST(Shred, AMissingFolderCreatesNothing) {
    FakeFileSystem fs;
    ShredFile(fs, L"D:\\nowhere\\f.bin", 3);
    EXPECT_TRUE(fs.passEnds.empty());
    EXPECT_TRUE(fs.files.empty());
    EXPECT_TRUE(fs.folders.empty());
}

TEST(Shred, AReadOnlyFileIsOverwrittenBeforeItIsRemoved) {
    FakeFileSystem fs;
    fs.addFile(kDir, L"ro.txt", kAttrReadOnly | kAttrArchive, bytes(10));
    ShredFile(fs, kDir + L"ro.txt", 1);
    EXPECT_EQ(fs.passEnds, (std::vector<PassEnd>{{kDir + L"ro.txt", 1024, true}}));
    EXPECT_TRUE(fs.files.empty());
}

TEST(Shred, AFileHeldOpenStaysUnchangedAndEveryStepStillRuns) {
    FakeFileSystem fs;
    fs.addFile(kDir, L"held.txt", kAttrArchive, bytes(10));
    fs.files[kDir + L"held.txt"].locked = true;
    ShredFile(fs, kDir + L"held.txt", 3);
    EXPECT_EQ(std::count(fs.log.begin(), fs.log.end(), L"open " + kDir + L"held.txt"), 3);
    EXPECT_EQ(fs.log.back(), L"delete " + kDir + L"held.txt");
    EXPECT_EQ(fs.files[kDir + L"held.txt"].content, bytes(10));
}

TEST(Shred, FailingWritesAreSkippedAndTheFileIsStillRemoved) {
    FakeFileSystem fs;
    fs.addFile(kDir, L"bad.txt", kAttrArchive, bytes(10));
    fs.files[kDir + L"bad.txt"].failWrites = true;
    ShredFile(fs, kDir + L"bad.txt", 2);
    EXPECT_EQ(fs.passEnds.size(), 2u);
    EXPECT_TRUE(fs.files.empty());
}

FakeFileSystem tree() {
    FakeFileSystem fs;
    fs.addFile(kDir, L"a.txt");
    fs.addFile(kDir, L"s", kAttrDirectory);
    fs.addFile(kDir, L"link", kAttrDirectory | kAttrReparsePoint);
    fs.addFile(kDir, L"filelink.txt", kAttrArchive | kAttrReparsePoint);
    fs.addFile(kDir, L"README", kAttrHidden | kAttrSystem | kAttrReadOnly);
    fs.addFile(kDir + L"s\\", L"b.txt");
    fs.addFile(kDir + L"s\\", L"empty", kAttrDirectory);
    fs.addFile(L"D:\\outside\\", L"secret.txt");
    return fs;
}

TEST(EnumFiles, DepthFirstInListingOrderWithoutFollowingOrListingLinks) {
    for (const std::wstring& folder : {std::wstring(L"D:\\x"), std::wstring(L"D:\\x\\")}) {
        FakeFileSystem fs = tree();
        FoundFileList found;
        resetFoundFiles(found);
        EnumFiles(fs, folder, found);
        EXPECT_EQ(found,
                  (FoundFileList{L"", kDir + L"a.txt", kDir + L"s\\b.txt", kDir + L"README"}));
        for (const std::wstring& listed : fs.listed)
            EXPECT_EQ(listed.find(L"link"), std::wstring::npos);
    }
}

TEST(EnumFiles, EmptyOrMissingFoldersLeaveOnlyEntryZero) {
    FakeFileSystem fs;
    fs.addFile(L"D:\\e\\", L"sub", kAttrDirectory);
    for (const wchar_t* folder : {L"D:\\e", L"D:\\missing"}) {
        FoundFileList found;
        resetFoundFiles(found);
        EnumFiles(fs, folder, found);
        EXPECT_EQ(found, FoundFileList{L""});
    }
}

TEST(EnumFiles, StripNullsCutsAtTheFirstNul) {
    EXPECT_EQ(StripNulls(std::wstring(L"ab\0cd", 5)), L"ab");
    EXPECT_EQ(StripNulls(std::wstring(L"\0cd", 3)), L"");
    EXPECT_EQ(StripNulls(L"whole"), L"whole");
}

TEST(TempFolder, OnlyADedicatedFolderIsCleared) {
    const std::wstring profile = L"C:\\Users\\me";
    const std::wstring windows = L"C:\\Windows";
    struct Case {
        std::wstring temp;
        bool clearable;
    };
    for (const Case& c :
         {Case{L"C:\\Users\\me\\AppData\\Local\\Temp\\", true}, Case{L"C:\\Windows\\Temp\\", true},
          Case{L"C:\\", false}, Case{L"c:", false}, Case{L"C:\\Users\\me\\", false},
          Case{L"C:\\USERS\\", false}, Case{L"C:\\Windows", false},
          Case{L"\\\\server\\share\\", false}, Case{L"", false}}) {
        EXPECT_EQ(isClearableTempFolder(c.temp, profile, windows), c.clearable)
            << std::string(c.temp.begin(), c.temp.end());
    }
}

TEST(TempFolder, ShredsEveryFileOnceAndKeepsTheFolders) {
    FakeFileSystem fs;
    fakes::FakeSystemFolders folders;
    const std::wstring temp = folders.temp;
    fs.addFile(temp, L"a.tmp", kAttrArchive, bytes(10));
    fs.addFile(temp, L"s", kAttrDirectory);
    fs.addFile(temp + L"s\\", L"b.tmp", kAttrArchive, bytes(2000));
    fs.addFile(temp, L"held.tmp", kAttrArchive, bytes(3));
    fs.files[temp + L"held.tmp"].locked = true;
    FoundFileList found;

    ClearTempFolder(fs, folders, found);

    EXPECT_EQ(fs.passEnds, (std::vector<PassEnd>{{temp + L"a.tmp", 1024, true},
                                                 {temp + L"s\\b.tmp", 2048, true}}));
    EXPECT_EQ(fs.fileNames(), (std::vector<std::wstring>{temp + L"held.tmp"}));
    EXPECT_EQ(fs.files[temp + L"held.tmp"].content, bytes(3));
    EXPECT_TRUE(fs.folders.count(temp + L"s\\"));
}

TEST(TempFolder, NoUsableTemporaryFolderTouchesNothing) {
    for (const std::wstring& temp :
         {std::wstring(), std::wstring(L"C:\\") + std::wstring(99, L'a') + L"\\",
          std::wstring(L"C:\\Users\\me\\")}) {
        FakeFileSystem fs;
        fakes::FakeSystemFolders folders;
        folders.temp = temp;
        fs.addFile(L"C:\\Users\\me\\", L"precious.doc", kAttrArchive, bytes(5));
        FoundFileList found;
        ClearTempFolder(fs, folders, found);
        EXPECT_TRUE(fs.listed.empty());
        EXPECT_EQ(fs.files.size(), 1u);
    }
}

}  // namespace
}  // namespace purgeon
