// Shredding many files: progress as it goes, several at a time, and a stop that leaves the rest;
// the wipe of a chosen folder or file, which hides the names it removes.
#include <gtest/gtest.h>

#include "fakes/fake_stores.h"
#include "wipe/chosen_wipe.h"
#include "wipe/shred_batch.h"

namespace purgeon {
namespace {

using fakes::FakeFileSystem;

const std::wstring kDir = L"D:\\x\\";

FoundFileList tree(FakeFileSystem& fs, std::size_t count, std::size_t bytes) {
    FoundFileList found{L""};
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring name = L"f" + std::to_wstring(i);
        fs.addFile(kDir, name, kAttrArchive, std::vector<unsigned char>(bytes, 7));
        found.push_back(kDir + name);
    }
    return found;
}

TEST(ShredBatch, ProgressCountsFilesAndBytesInListedOrder) {
    FakeFileSystem fs;
    const FoundFileList found = tree(fs, 3, 1500);
    std::vector<BatchProgress> seen;
    BatchRequest request;
    request.method = WipeMethod::quick;
    request.progress = [&](const BatchProgress& progress) { seen.push_back(progress); };

    const BatchResult result = ShredFiles(fs, found, 3 * 1500, request);

    EXPECT_EQ(result.tally.wiped(), 3u);
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(fs.files.empty());
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().current, kDir + L"f0");
    EXPECT_EQ(seen.back().filesDone, 3u);
    EXPECT_EQ(seen.back().filesTotal, 3u);
    EXPECT_EQ(seen.back().bytesTotal, 3u * 3 * 1500);
    EXPECT_EQ(seen.back().bytesDone, seen.back().bytesTotal);
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i].filesDone, seen[i - 1].filesDone);
        EXPECT_GE(seen[i].bytesDone, seen[i - 1].bytesDone);
    }
}

TEST(ShredBatch, AStopBetweenWritesLeavesTheCurrentFileAndEveryLaterOneInPlace) {
    FakeFileSystem fs;
    const FoundFileList found = tree(fs, 4, 3 << 20);  // three writes a pass
    std::stop_source stop;
    int writes = 0;
    BatchRequest request;
    request.method = WipeMethod::quick;
    request.stop = stop.get_token();
    // The user presses Cancel during the second file's first pass.
    request.progress = [&](const BatchProgress& progress) {
        if (progress.filesDone == 1 && progress.bytesDone > 0 && ++writes == 3) stop.request_stop();
    };

    const BatchResult result = ShredFiles(fs, found, 4u * (3 << 20), request);

    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.tally.wiped(), 1u);
    EXPECT_EQ(result.tally.count(ShredOutcome::interrupted), 1u);
    EXPECT_EQ(result.tally.count(ShredOutcome::notReached), 2u);
    EXPECT_FALSE(fs.files.count(kDir + L"f0"));
    EXPECT_TRUE(fs.files.count(kDir + L"f1"));  // partly overwritten, still there
    for (const wchar_t* untouched : {L"f2", L"f3"}) {
        EXPECT_EQ(fs.files.at(kDir + untouched).content, std::vector<unsigned char>(3 << 20, 7));
    }
    EXPECT_EQ(folderWipeMessage(result.tally),
              L"1File(s) wiped\r\n3 file(s) not wiped: 1 stopped part-way (partly overwritten, "
              L"still there), 2 not reached before the wipe was stopped.");
}

// A file the device does not give back as written still goes, but is not counted as wiped.
TEST(ShredBatch, AFileNotVerifiedIsRemovedAndToldApart) {
    FakeFileSystem fs;
    const FoundFileList found = tree(fs, 2, 1500);
    fs.files[found[2]].flippedOnRead = 1499;
    BatchRequest request;
    request.method = WipeMethod::dod;
    const BatchResult result = ShredFiles(fs, found, 2 * 1500, request);
    EXPECT_TRUE(fs.files.empty());
    EXPECT_EQ(folderWipeMessage(result.tally),
              L"1File(s) wiped\r\n1 file(s) not wiped: 1 overwritten and removed but not "
              L"verified.");
}

// The volume's alignment is asked once per run of files in one folder, and a file of another
// folder, which may lie on another volume, never writes with the alignment of the last; nor does
// a small file held through the cache pass its own on.
TEST(ShredBatch, AlignmentIsAskedOncePerFolderAndNeverCarriedToAnother) {
    FakeFileSystem fs;
    fs.cachedBelow = 4096;
    const std::wstring other = L"D:\\mounted\\";
    fs.ioUnitOfFolder[other] = 8192;
    FoundFileList found{L""};
    for (const auto& [folder, name, size] :
         std::vector<std::tuple<std::wstring, std::wstring, std::size_t>>{{kDir, L"a", 5000},
                                                                          {kDir, L"small", 100},
                                                                          {kDir, L"b", 5000},
                                                                          {other, L"c", 5000},
                                                                          {other, L"d", 5000},
                                                                          {kDir, L"e", 5000}}) {
        fs.addFile(folder, name, kAttrArchive, std::vector<unsigned char>(size, 7));
        found.push_back(folder + name);
    }
    const BatchResult result = ShredFiles(fs, found, 5 * 5000 + 100, BatchRequest{});
    EXPECT_EQ(result.tally.wiped(), 6u);
    EXPECT_TRUE(fs.files.empty());
    EXPECT_EQ(fs.ioUnitAsked, 3);
}

// The paths a test's fake disk made or removed, in order, with the given start.
std::vector<std::wstring> stepsStarting(const FakeFileSystem& fs, const std::wstring& start) {
    std::vector<std::wstring> steps;
    for (const std::wstring& step : fs.log)
        if (step.starts_with(start)) steps.push_back(step.substr(start.size()));
    return steps;
}

// The lengths of the names of the paths, in order.
std::vector<std::size_t> nameLengths(const std::vector<std::wstring>& paths) {
    std::vector<std::size_t> lengths;
    for (const std::wstring& path : paths) lengths.push_back(path.size() - path.rfind(L'\\') - 1);
    return lengths;
}

// Every wiped file goes under a random name, and every folder that lost names gets as many again,
// as long as they were, and kLongNames of the longest, made and removed again; nothing is left.
TEST(ChosenWipe, AFolderWipeHidesEveryNameAndRefillsEachFolderThatLostOne) {
    FakeFileSystem fs;
    fs.addFile(kDir, L"letter.doc", kAttrArchive, std::vector<unsigned char>(300, 1));
    fs.addFile(kDir, L"sub", kAttrDirectory);
    fs.addFile(kDir + L"sub\\", L"b", kAttrArchive, std::vector<unsigned char>(5000, 2));
    FoundFileList found{L""};
    const FolderWipe wipe = WipeChosenFolder(fs, found, kDir, BatchRequest{});
    EXPECT_EQ(wipe.result.tally.wiped(), 2u);
    EXPECT_TRUE(wipe.refilled);
    EXPECT_TRUE(fs.files.empty());
    for (const std::wstring& removed : stepsStarting(fs, L"delete ")) {
        EXPECT_EQ(removed.find(L"letter"), std::wstring::npos);
        EXPECT_NE(removed, kDir + L"sub\\b");
    }
    std::vector<std::size_t> expected{10};
    expected.insert(expected.end(), kLongNames, kLongestName);
    expected.push_back(1);
    expected.insert(expected.end(), kLongNames, kLongestName);
    const std::vector<std::wstring> made = stepsStarting(fs, L"make ");
    EXPECT_EQ(nameLengths(made), expected);
    EXPECT_EQ(made.front().rfind(kDir, 0), 0u);
    EXPECT_EQ(made.back().rfind(kDir + L"sub\\", 0), 0u);

    // A folder that takes no new file: the files are wiped all the same, and the refill says so.
    FakeFileSystem refused;
    refused.addFile(kDir, L"a.txt", kAttrArchive, std::vector<unsigned char>(10, 1));
    refused.makeFileError = kErrorAccessDenied;
    const FolderWipe denied = WipeChosenFolder(refused, found, kDir, BatchRequest{});
    EXPECT_EQ(denied.result.tally.wiped(), 1u);
    EXPECT_EQ(denied.refilled.code, kErrorAccessDenied);
}

// A chosen file's folder gets a name as long as its own at once; the long names follow at once
// too, or are left to the caller, who refills once every chosen file of the folder is wiped.
TEST(ChosenWipe, AChosenFileRefillsItsFolderOrLeavesTheLongNamesToTheCaller) {
    for (const bool deferred : {false, true}) {
        FakeFileSystem fs;
        fs.addFile(kDir, L"a.txt", kAttrArchive, std::vector<unsigned char>(10, 1));
        RemovedNames later;
        const ShredResult result = WipeChosenFile(fs, kDir + L"a.txt", WipeMethod::quick, {}, {},
                                                  deferred ? &later : nullptr);
        EXPECT_EQ(result.outcome, ShredOutcome::wiped);
        std::vector<std::size_t> expected{5};
        if (!deferred) expected.insert(expected.end(), kLongNames, kLongestName);
        EXPECT_EQ(nameLengths(stepsStarting(fs, L"make ")), expected);
        EXPECT_EQ(later, (deferred ? RemovedNames{{kDir, {}}} : RemovedNames{}));
        EXPECT_TRUE(RefillIndexes(fs, later));
        EXPECT_EQ(stepsStarting(fs, L"make ").size(), kLongNames + 1u);
        EXPECT_TRUE(fs.files.empty());
    }
    FakeFileSystem refused;
    refused.addFile(kDir, L"a.txt", kAttrArchive, std::vector<unsigned char>(10, 1));
    refused.makeFileError = kErrorAccessDenied;
    const ShredResult kept = WipeChosenFile(refused, kDir + L"a.txt", WipeMethod::quick, {}, {});
    EXPECT_EQ(kept.outcome, ShredOutcome::nameKept);
    EXPECT_EQ(kept.status.code, kErrorAccessDenied);
    EXPECT_TRUE(refused.files.empty());
}

}  // namespace
}  // namespace purgeon
