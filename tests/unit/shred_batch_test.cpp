// Shredding many files: progress as it goes, several at a time, and a stop that leaves the rest.
#include <gtest/gtest.h>

#include "fakes/fake_stores.h"
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
// folder, which may lie on another volume, never writes with the alignment of the last.
TEST(ShredBatch, AlignmentIsAskedOncePerFolderAndNeverCarriedToAnother) {
    FakeFileSystem fs;
    const std::wstring other = L"D:\\mounted\\";
    fs.ioUnitOfFolder[other] = 8192;
    FoundFileList found{L""};
    for (const auto& [folder, name] : std::vector<std::pair<std::wstring, std::wstring>>{
             {kDir, L"a"}, {kDir, L"b"}, {other, L"c"}, {other, L"d"}, {kDir, L"e"}}) {
        fs.addFile(folder, name, kAttrArchive, std::vector<unsigned char>(5000, 7));
        found.push_back(folder + name);
    }
    const BatchResult result = ShredFiles(fs, found, 5 * 5000, BatchRequest{});
    EXPECT_EQ(result.tally.wiped(), 5u);
    EXPECT_TRUE(fs.files.empty());
    EXPECT_EQ(fs.ioUnitAsked, 3);
}

}  // namespace
}  // namespace purgeon
