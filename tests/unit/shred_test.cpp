// The shredding engine, file enumeration and the temporary folder's clearing, on a fake disk.
#include <gtest/gtest.h>

#include "areas/temp_folder.h"
#include "fakes/fake_stores.h"
#include "wipe/enum_files.h"
#include "wipe/shred.h"
#include "wipe/wipe_report.h"

#include <functional>

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
        const ShredResult result = ShredFile(fs, kDir + L"f.bin", {c.passes, true, {}});

        std::vector<PassEnd> expected;
        for (size_t length : c.lengthAfterPass) expected.push_back({kDir + L"f.bin", length, true});
        EXPECT_EQ(fs.passEnds, expected) << "length " << c.length << ", " << c.passes << " passes";
        EXPECT_TRUE(fs.files.empty());
        EXPECT_EQ(result.outcome, ShredOutcome::wiped);
    }
}

// Every way a file can turn out: what is reported, how many passes reached it, whether it stays
// and whether its bytes are the ones it had.
TEST(Shred, ReportsWhatHappenedAndNeverTouchesWhatIsNotItsOwn) {
    struct Case {
        const char* what;
        std::function<void(FakeFileSystem::File&)> setUp;
        ShredRequest request;
        ShredOutcome outcome;
        size_t passes;
        bool stays;
        bool unchanged;
    };
    const std::wstring path = kDir + L"f.txt";
    const Case cases[] = {
        {"plain", [](auto&) {}, {2, true, path}, ShredOutcome::wiped, 2, false, false},
        {"read-only, hidden, system",
         [](auto& f) { f.attributes = kAttrReadOnly | kAttrHidden | kAttrSystem; },
         {1, true, {}},
         ShredOutcome::wiped,
         1,
         false,
         false},
        {"in use",
         [](auto& f) { f.locked = true; },
         {3, true, {}},
         ShredOutcome::inUse,
         0,
         true,
         true},
        {"hard link, unattended",
         [](auto& f) { f.links = 2; },
         {1, false, path},
         ShredOutcome::unlinked,
         0,
         false,
         true},
        {"hard link, chosen",
         [](auto& f) { f.links = 2; },
         {1, true, {}},
         ShredOutcome::wiped,
         1,
         false,
         false},
        {"symbolic link",
         [](auto& f) { f.attributes = kAttrReparsePoint; },
         {3, true, path},
         ShredOutcome::linkRemoved,
         0,
         false,
         true},
        {"folder swapped for a junction",
         [](auto& f) { f.reachedAs = L"C:\\Users\\me\\Documents\\f.txt"; },
         {3, true, path},
         ShredOutcome::redirected,
         0,
         true,
         true},
        {"writes refused",
         [](auto& f) { f.failWrites = true; },
         {3, true, {}},
         ShredOutcome::removedNotOverwritten,
         0,
         false,
         false},
        {"removal refused",
         [](auto& f) { f.failRemove = true; },
         {2, true, {}},
         ShredOutcome::notRemoved,
         2,
         true,
         false},
    };
    for (const Case& c : cases) {
        FakeFileSystem fs;
        fs.addFile(kDir, L"f.txt", kAttrArchive, bytes(10));
        c.setUp(fs.files[path]);
        const ShredResult result = ShredFile(fs, path, c.request);
        EXPECT_EQ(result.outcome, c.outcome) << c.what;
        EXPECT_EQ(fs.passEnds.size(), c.passes) << c.what;
        EXPECT_EQ(fs.files.count(path) == 1, c.stays) << c.what;
        if (c.stays) {
            EXPECT_EQ(fs.files[path].content == bytes(10), c.unchanged) << c.what;
        }
    }
}

TEST(Shred, ALongPassGoesToTheDeviceInStretchesSoAStopNeverWaitsLong) {
    FakeFileSystem fs;
    fs.addFile(kDir, L"big.bin", kAttrArchive, bytes((64u << 20) + 5));
    ShredFile(fs, kDir + L"big.bin", {1, true, {}});
    std::vector<std::size_t> flushedAt;
    for (const PassEnd& end : fs.passEnds) flushedAt.push_back(end.length);
    EXPECT_EQ(flushedAt, (std::vector<std::size_t>{(64u << 20) + 5, (64u << 20) + 1024}));
}

TEST(Shred, AMissingFileIsGoneAndNothingIsCreated) {
    FakeFileSystem fs;
    fs.addFile(kDir, L"other.txt");
    EXPECT_EQ(ShredFile(fs, kDir + L"new.bin", {2, true, {}}).outcome, ShredOutcome::gone);
    EXPECT_TRUE(fs.passEnds.empty());
    EXPECT_EQ(fs.fileNames(), (std::vector<std::wstring>{kDir + L"other.txt"}));
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
        EXPECT_TRUE(EnumFiles(fs, folder, found).empty());
        EXPECT_EQ(found,
                  (FoundFileList{L"", kDir + L"a.txt", kDir + L"s\\b.txt", kDir + L"README"}));
        for (const std::wstring& listed : fs.listed)
            EXPECT_EQ(listed.find(L"link"), std::wstring::npos);
    }
}

TEST(EnumFiles, EmptyOrMissingFoldersLeaveOnlyEntryZeroAndAMissingOneIsReported) {
    FakeFileSystem fs;
    fs.addFile(L"D:\\e\\", L"sub", kAttrDirectory);
    struct Case {
        std::wstring folder;
        std::vector<UnlistedFolder> unlisted;
    };
    for (const Case& c :
         {Case{L"D:\\e", {}},
          Case{L"D:\\missing", {{L"D:\\missing\\", Status::error(kErrorPathNotFound)}}}}) {
        FoundFileList found;
        resetFoundFiles(found);
        EXPECT_EQ(EnumFiles(fs, c.folder, found), c.unlisted);
        EXPECT_EQ(found, FoundFileList{L""});
    }
}

TEST(EnumFiles, AFolderThatCannotBeListedIsReportedAndTheRestIsStillFound) {
    FakeFileSystem fs = tree();
    fs.addFile(kDir, L"locked", kAttrDirectory);
    fs.addFile(kDir + L"locked\\", L"hidden.txt");
    fs.listErrors[kDir + L"locked\\"] = kErrorAccessDenied;
    FoundFileList found;
    resetFoundFiles(found);
    EXPECT_EQ(
        EnumFiles(fs, kDir, found),
        (std::vector<UnlistedFolder>{{kDir + L"locked\\", Status::error(kErrorAccessDenied)}}));
    EXPECT_EQ(found, (FoundFileList{L"", kDir + L"a.txt", kDir + L"s\\b.txt", kDir + L"README"}));
}

TEST(EnumFiles, StripNullsCutsAtTheFirstNul) {
    EXPECT_EQ(StripNulls(std::wstring(L"ab\0cd", 5)), L"ab");
    EXPECT_EQ(StripNulls(std::wstring(L"\0cd", 3)), L"");
    EXPECT_EQ(StripNulls(L"whole"), L"whole");
}

TEST(WipeReport, TheSystemsWordsCloseAFailureAndSizesReadAsPeopleWriteThem) {
    EXPECT_EQ(fileWipeMessage(L"a.doc", {ShredOutcome::failed, Status::error(1117)},
                              L"The request could not be performed because of an I/O device "
                              L"error.\r\n"),
              L"a.doc could not be wiped: The request could not be performed because of an I/O "
              L"device error.");
    EXPECT_EQ(fileWipeMessage(L"a.doc", {ShredOutcome::removedNotOverwritten, {}}, L""),
              L"a.doc was removed, but could not be overwritten.");
    for (const auto& [bytes, text] :
         std::vector<std::pair<std::uint64_t, std::wstring>>{{0, L"0 bytes"},
                                                             {1, L"1 byte"},
                                                             {1023, L"1023 bytes"},
                                                             {1536, L"1.5 KB"},
                                                             {5u << 20, L"5.0 MB"},
                                                             {3ull << 30, L"3.0 GB"}}) {
        EXPECT_EQ(sizeText(bytes), text);
    }
}

TEST(EnumFiles, AddsUpTheSizesOfWhatItFinds) {
    FakeFileSystem fs;
    fs.addFile(kDir, L"a", kAttrArchive, bytes(700));
    fs.addFile(kDir, L"s", kAttrDirectory);
    fs.addFile(kDir + L"s\\", L"b", kAttrArchive, bytes(324));
    FoundFileList found;
    std::uint64_t total = 0;
    EXPECT_TRUE(EnumFiles(fs, kDir, found, &total).empty());
    EXPECT_EQ(total, 1024u);
}

TEST(TempFolder, ShredsEveryFileOnceKeepsTheFoldersAndLeavesOthersData) {
    FakeFileSystem fs;
    fakes::FakeSystemFolders folders;
    const std::wstring temp = folders.temp;
    fs.addFile(temp, L"a.tmp", kAttrArchive, bytes(10));
    fs.addFile(temp, L"s", kAttrDirectory);
    fs.addFile(temp + L"s\\", L"b.tmp", kAttrArchive, bytes(2000));
    fs.addFile(temp, L"held.tmp", kAttrArchive, bytes(3));
    fs.files[temp + L"held.tmp"].locked = true;
    fs.addFile(temp, L"thesis-link.doc", kAttrArchive, bytes(4));
    fs.files[temp + L"thesis-link.doc"].links = 2;  // the same data as a document elsewhere
    FoundFileList found;

    const TempClearing clearing = ClearTempFolder(fs, folders, found);

    EXPECT_EQ(fs.passEnds, (std::vector<PassEnd>{{temp + L"a.tmp", 1024, true},
                                                 {temp + L"s\\b.tmp", 2048, true}}));
    EXPECT_EQ(fs.fileNames(), (std::vector<std::wstring>{temp + L"held.tmp"}));
    EXPECT_EQ(fs.files[temp + L"held.tmp"].content, bytes(3));
    EXPECT_TRUE(fs.folders.count(temp + L"s\\"));
    EXPECT_EQ(clearing.tally.wiped(), 2u);
    EXPECT_EQ(clearing.tally.count(ShredOutcome::inUse), 1u);
    EXPECT_EQ(clearing.tally.count(ShredOutcome::unlinked), 1u);
    EXPECT_EQ(
        tempClearingSummary(clearing),
        L"Temporary files: 2 wiped in C:\\Users\\me\\AppData\\Local\\Temp; not wiped: 1 in use "
        L"by another program, 1 only unlinked (their data has another name).");
}

TEST(TempFolder, AFolderThatIsNoDedicatedTemporaryFolderIsLeftUntouched) {
    struct Case {
        std::wstring temp;
        FolderVerdict verdict;
        std::wstring alias;  // what the spelling resolves to, when it is a link or a short name
    };
    for (const Case& c : {
             Case{L"C:\\Users\\me\\AppData\\Local\\", FolderVerdict::knownFolder, {}},
             Case{L"C:\\Users\\me\\Documents", FolderVerdict::knownFolder, {}},
             Case{L"C:\\Program Files\\", FolderVerdict::knownFolder, {}},
             Case{L"C:\\Users\\me\\Documents\\Thesis\\", FolderVerdict::notTemporary, {}},
             Case{L"C:\\Users\\me\\AppData\\", FolderVerdict::holdsKnownFolder, {}},
             Case{L"C:\\", FolderVerdict::driveRoot, {}},
             Case{L"C:\\Users\\me\\DOCUME~1\\", FolderVerdict::knownFolder,
                  L"C:\\Users\\me\\Documents"},
             Case{L"D:\\Temp\\", FolderVerdict::knownFolder, L"C:\\Users\\me\\Documents"},
             Case{L"\\\\localhost\\C$\\Users\\me\\Documents.\\", FolderVerdict::knownFolder, {}},
             Case{L"Temp\\", FolderVerdict::relative, {}},
         }) {
        FakeFileSystem fs;
        fakes::FakeSystemFolders folders;
        folders.temp = c.temp;
        for (const KnownFolder& known : folders.known) fs.folders[known.path + L"\\"];
        fs.folders[L"C:\\"];
        fs.addFile(L"C:\\Users\\me\\Documents\\Thesis\\", L"thesis.doc", kAttrArchive, bytes(5));
        fs.addFile(L"C:\\Users\\me\\Documents\\", L"notes.txt", kAttrArchive, bytes(5));
        if (!c.alias.empty()) fs.aliases[plainPath(c.temp)] = c.alias;
        if (!plainPath(c.temp).empty()) fs.folders[plainPath(c.temp) + L"\\"];
        FoundFileList found;

        const TempClearing clearing = ClearTempFolder(fs, folders, found);

        const std::string label(c.temp.begin(), c.temp.end());
        EXPECT_EQ(clearing.check.verdict, c.verdict) << label;
        EXPECT_TRUE(fs.listed.empty()) << label;
        EXPECT_EQ(fs.files.size(), 2u) << label;
        EXPECT_TRUE(fs.passEnds.empty()) << label;
    }
}

TEST(TempFolder, NoUsableTemporaryFolderTouchesNothing) {
    for (const std::wstring& temp :
         {std::wstring(), std::wstring(L"C:\\") + std::wstring(99, L'a') + L"\\",
          std::wstring(L"C:\\Users\\me\\AppData\\Local\\Temp\\")}) {
        FakeFileSystem fs;  // the last one does not exist
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
