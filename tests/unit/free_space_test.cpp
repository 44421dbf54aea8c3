// Wiping a volume's free space against fake volumes: the fill's course, a stop, failures and
// refusals, the leftovers of an abrupt end and the start's sweep; the button that starts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <map>
#include <set>
#include <stdexcept>
#include <stop_token>

#include "fakes/program_rig.h"
#include "wipe/free_space.h"
#include "wipe/free_space_report.h"

namespace purgeon {
namespace {

using fakes::FakeFileSystem;
using fakes::FakeVolumes;
using fakes::ProgramRig;

constexpr std::uint64_t kKiB = 1024;
constexpr std::uint64_t kMiB = 1024 * kKiB;

// A plan scaled down, so that a few MiB of free space take several large files.
FillPlan smallPlan() {
    FillPlan plan;
    plan.writeBytes = 256 * kKiB;
    plan.fileBytes = kMiB;
    plan.flushBytes = 512 * kKiB;
    plan.smallBytes = 4096;
    plan.leastBytes = 512;
    plan.smallBatch = 2;
    plan.emptyLimit = 3;
    return plan;
}

// The file system, its deletions noted among the volume's events.
struct WatchedFiles : FakeFileSystem {
    Status deleteFile(const std::wstring& path) override {
        if (events) events->push_back(L"delete " + FakeVolumes::nameOf(path));
        return FakeFileSystem::deleteFile(path);
    }
    std::vector<std::wstring>* events = nullptr;
};

struct FillRig {
    explicit FillRig(FakeVolumes::Volume volume) {
        files.events = &volumes.events;
        volumes.add(root, volume);
        request.plan = smallPlan();
        request.overwrite = [this](unsigned char* data, std::size_t bytes) {
            std::fill(data, data + bytes, static_cast<unsigned char>(0xA0 + calls++ % 16));
            produced += bytes;
        };
        request.progress = [this](const BatchProgress& progress) { reports.push_back(progress); };
    }
    FreeSpaceResult fill() { return WipeFreeSpace(files, volumes, root, request); }

    // No fill file is left, nor their folder.
    void expectNothingLeft() const {
        for (const std::wstring& path : volumes.made)
            EXPECT_FALSE(files.files.count(path)) << testing::PrintToString(path);
        EXPECT_FALSE(files.folders.count(folder + L"\\"));
    }

    WatchedFiles files;
    FakeVolumes volumes{files};
    const std::wstring root = L"P:\\";
    const std::wstring folder = L"P:\\Purgeon free space";
    FreeSpaceRequest request;
    std::atomic<std::uint64_t> produced = 0;  // overwrite bytes the source made
    std::atomic<unsigned> calls = 0;
    std::vector<BatchProgress> reports;
};

FakeVolumes::Volume volumeOf(std::uint64_t freeBytes) {
    return FakeVolumes::of(DriveKind::fixed, freeBytes);
}

TEST(FreeSpace, FillFilesHaveNamesOfTheirOwn) {
    EXPECT_EQ(fillFileName(1), L"purgeon-fill-00000001.tmp");
    EXPECT_EQ(fillFileName(123456789), L"purgeon-fill-123456789.tmp");
    EXPECT_EQ(fillFolderOf(L"C:\\"), L"C:\\Purgeon free space");
    EXPECT_EQ(fillFolderOf(L"C:\\mnt\\card"), L"C:\\mnt\\card\\Purgeon free space");
    const std::pair<const wchar_t*, bool> names[] = {
        {L"purgeon-fill-00000001.tmp", true},
        {L"PURGEON-FILL-00000042.TMP", true},
        {L"purgeon-fill-123456789.tmp", true},
        {L"purgeon-fill-1.tmp", false},
        {L"purgeon-fill-0000000a.tmp", false},
        {L"purgeon-fill-00000001.tmp.txt", false},
        {L"xpurgeon-fill-00000001.tmp", false},
        {L"purgeon-fill-00000001", false},
        {L"report.doc", false},
    };
    for (const auto& [name, ours] : names)
        EXPECT_EQ(isFillFileName(name), ours) << testing::PrintToString(std::wstring(name));
}

TEST(FreeSpace, TheOverwriteDataIsKeyedByTheSystemsGeneratorAndNeverRepeats) {
    fakes::FakeRandomSource random;
    const OverwriteSource first = keyedOverwriteSource(random);
    const OverwriteSource second = keyedOverwriteSource(random);
    EXPECT_EQ(random.calls, 2);
    random.error = 5;  // without the system's generator there is data all the same
    const OverwriteSource fallback = keyedOverwriteSource(random);
    std::vector<std::vector<unsigned char>> made;
    for (const OverwriteSource* source : {&first, &first, &second, &fallback}) {
        std::vector<unsigned char> data(64 * 1024);
        (*source)(data.data(), data.size());
        // Every byte value about as often as any other: nothing a compressor could use.
        std::array<int, 256> seen{};
        for (const unsigned char byte : data) ++seen[byte];
        EXPECT_GT(*std::min_element(seen.begin(), seen.end()), 150);
        for (const std::vector<unsigned char>& before : made) EXPECT_NE(data, before);
        made.push_back(std::move(data));
    }
}

TEST(FreeSpace, TheChosenFolderNamesItsVolumeAndOnlyLocalDisksAreFilled) {
    FakeFileSystem files;
    FakeVolumes volumes{files};
    volumes.add(L"C:\\", FakeVolumes::of(DriveKind::fixed));
    volumes.add(L"D:\\", FakeVolumes::of(DriveKind::removable));
    volumes.add(L"E:\\", FakeVolumes::of(DriveKind::optical));
    volumes.add(L"R:\\", FakeVolumes::of(DriveKind::ramDisk));
    volumes.add(L"\\\\srv\\share\\", FakeVolumes::of(DriveKind::network));
    volumes.add(L"C:\\mnt\\card\\", FakeVolumes::of(DriveKind::removable));
    for (const wchar_t* folder :
         {L"C:\\Users\\me\\Documents\\", L"C:\\mnt\\card\\photos\\", L"\\\\srv\\share\\x\\"})
        files.folders[folder];
    files.aliases[L"C:\\Users\\me\\Documents\\card"] = L"C:\\mnt\\card\\photos";
    files.folders[L"C:\\Users\\me\\Documents\\card\\"];

    struct Case {
        const wchar_t* folder;
        FreeSpaceVerdict verdict;
        const wchar_t* root;
        std::wstring refusal;
    };
    const Case cases[] = {
        {L"C:\\Users\\me\\Documents", FreeSpaceVerdict::allowed, L"C:\\", L""},
        {L"D:", FreeSpaceVerdict::allowed, L"D:\\", L""},
        {L"C:\\Users\\me\\Documents\\card", FreeSpaceVerdict::allowed, L"C:\\mnt\\card\\", L""},
        {L"\\\\srv\\share\\x", FreeSpaceVerdict::network, L"\\\\srv\\share\\",
         L"The free space of \\\\srv\\share\\ cannot be wiped: it is a network drive."},
        {L"E:\\", FreeSpaceVerdict::notLocalDisk, L"E:\\",
         L"The free space of E:\\ cannot be wiped: it is not a local fixed or removable disk "
         L"but a CD or DVD drive."},
        {L"R:\\", FreeSpaceVerdict::notLocalDisk, L"R:\\",
         L"The free space of R:\\ cannot be wiped: it is not a local fixed or removable disk "
         L"but a RAM disk."},
        {L"Documents", FreeSpaceVerdict::relative, L"",
         L"The free space of Documents cannot be wiped: it is not a full path."},
        {L"C:\\nowhere", FreeSpaceVerdict::unresolvable, L"",
         L"The free space of C:\\nowhere cannot be wiped: it does not exist or cannot be "
         L"opened."},
    };
    for (const Case& c : cases) {
        const FreeSpaceTarget target = findFreeSpaceTarget(files, volumes, c.folder);
        EXPECT_EQ(target.verdict, c.verdict) << testing::PrintToString(std::wstring(c.folder));
        EXPECT_EQ(target.root, c.root) << testing::PrintToString(std::wstring(c.folder));
        EXPECT_EQ(freeSpaceRefusal(target), c.refusal);
    }
}

TEST(FreeSpace, ThePlanTakesTheVolumesClusterForItsSmallFiles) {
    const std::pair<std::uint32_t, std::size_t> clusters[] = {
        {4096, 4096}, {512, 512}, {0, 4096}, {256, 512}, {2u << 20, 64u << 10}};
    for (const auto& [cluster, small] : clusters)
        EXPECT_EQ(planFill({kMiB, kMiB, cluster}).smallBytes, small) << cluster;
}

TEST(FreeSpace, TheFillTakesEveryFreeClusterAndRemovesEveryFillFile) {
    struct Case {
        const char* what;
        FakeVolumes::Volume volume;
        std::size_t large;
        std::size_t small;
        std::size_t records;
        std::uint64_t written;
    };
    FakeVolumes::Volume partial = volumeOf(3 * kMiB + 10000);
    partial.partialWrites = true;
    FakeVolumes::Volume table = volumeOf(3 * kMiB + 10000);
    table.residentBytes = 700;
    table.freeRecords = 12;
    FakeVolumes::Volume saysExists = table;
    saysExists.fullSaysExists = true;
    const Case cases[] = {
        // Three large files, a fourth that halves its writes down to the last two clusters, and
        // small files that find no cluster left; no cluster is left for a folder either.
        {"a full write takes nothing", volumeOf(3 * kMiB + 10000), 4, 3, 0, 3 * kMiB + 8192},
        {"a full write takes what fits", partial, 4, 3, 0, 3 * kMiB + 8192},
        // Folders take the file table's free records (after the fill folder, the records folder
        // and the large files'), until it has none for the small files.
        {"folders take the file table's free records", table, 4, 0, 6, 3 * kMiB + 8192},
        {"a full volume that says a name is taken", saysExists, 4, 0, 6, 3 * kMiB + 8192},
        {"less free than one large write", volumeOf(100000), 1, 3, 0, 98304},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FillRig rig(c.volume);
        const FreeSpaceResult result = rig.fill();
        EXPECT_EQ(result.outcome, FillOutcome::filled);
        EXPECT_EQ(result.largeFiles, c.large);
        EXPECT_EQ(result.smallFiles, c.small);
        EXPECT_EQ(result.recordFolders, c.records);
        // Breadth first, kRecordsPerFolder to a folder.
        if (c.records == 6) {
            const std::wstring records = rig.folder + L"\\" + kRecordsFolderName;
            std::set<std::wstring> expected{rig.folder, records};
            for (const wchar_t* below : {L"0", L"1", L"2", L"3", L"0\\0", L"0\\1"})
                expected.insert(records + L"\\" + below);
            EXPECT_EQ(rig.volumes.madeFolders, expected);
        }
        EXPECT_EQ(result.bytesWritten, c.written);
        EXPECT_EQ(rig.volumes.written, c.written);
        EXPECT_EQ(result.freeBytes, c.volume.freeBytes);
        EXPECT_EQ(result.notRemoved, 0u);
        EXPECT_GE(rig.produced, c.written);  // every byte came from the overwrite source
        rig.expectNothingLeft();

        // Every file's data went to the device, at its whole length, before anything was removed;
        // the large files go when closed, the small ones after the last flush.
        const std::vector<std::wstring>& events = rig.volumes.events;
        const auto firstRemoval = std::find_if(events.begin(), events.end(), [](const auto& e) {
            return e.ends_with(L" (removed)") || e.starts_with(L"delete ");
        });
        std::map<std::wstring, std::uint64_t> lengths;
        for (auto e = events.begin(); e != firstRemoval; ++e) {
            if (e->starts_with(L"write ")) {
                const size_t space = e->rfind(L' ');
                lengths[e->substr(6, space - 6)] += std::stoull(e->substr(space + 1));
            }
        }
        for (const auto& [name, length] : lengths) {
            const std::wstring flushed = L"flush " + name + L" " + std::to_wstring(length);
            EXPECT_NE(std::find(events.begin(), firstRemoval, flushed), firstRemoval)
                << testing::PrintToString(flushed);
        }
        // Then the volume as a whole, for the file system's own records of the fill.
        EXPECT_TRUE(result.recordsFlushed);
        ASSERT_NE(firstRemoval, events.begin());
        EXPECT_EQ(*(firstRemoval - 1), L"flush volume P:\\");
        for (std::size_t i = 0; i < c.large; ++i) {
            const std::wstring created = L"create " + fillFileName(i + 1) + L" (goes on closing)";
            EXPECT_NE(std::find(events.begin(), events.end(), created), events.end());
        }
        // The progress counts the free space and never names a file; it ends at the whole.
        ASSERT_FALSE(rig.reports.empty());
        EXPECT_EQ(rig.reports.back().bytesDone, c.written);
        EXPECT_EQ(rig.reports.back().bytesTotal, c.written);
        EXPECT_EQ(rig.reports.back().filesDone, c.large + c.small + c.records);
        for (std::size_t i = 0; i < rig.reports.size(); ++i) {
            EXPECT_TRUE(rig.reports[i].current.empty());
            EXPECT_LE(rig.reports[i].bytesDone, rig.reports[i].bytesTotal);
            if (i > 0) {
                EXPECT_GE(rig.reports[i].bytesDone, rig.reports[i - 1].bytesDone);
            }
        }
    }
}

TEST(FreeSpace, AStopEndsTheFillBeforeItsNextWriteAndRemovesWhatItWrote) {
    struct Case {
        const char* what;
        std::function<bool(const BatchProgress&)> when;
    };
    const Case cases[] = {
        {"among the large files",
         [](const BatchProgress& p) { return p.bytesDone >= 1536 * kKiB; }},
        {"among the small files", [](const BatchProgress& p) { return p.filesDone == 5; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FillRig rig(volumeOf(3 * kMiB + 10000));
        std::stop_source stop;
        std::uint64_t writtenAtStop = 0;
        rig.request.stop = stop.get_token();
        rig.request.progress = [&](const BatchProgress& progress) {
            if (!stop.stop_requested() && c.when(progress)) {
                stop.request_stop();
                writtenAtStop = rig.volumes.written;
            }
        };
        const FreeSpaceResult result = rig.fill();
        EXPECT_TRUE(stop.stop_requested());
        EXPECT_EQ(result.outcome, FillOutcome::stopped);
        EXPECT_EQ(rig.volumes.written, writtenAtStop);  // not one more write
        EXPECT_EQ(result.bytesWritten, writtenAtStop);
        EXPECT_EQ(result.notRemoved, 0u);
        rig.expectNothingLeft();
        EXPECT_EQ(freeSpaceMessage(rig.root, result, L""),
                  L"The wipe of the free space of P:\\ was stopped after " +
                      sizeText(result.bytesWritten) + L"; what it had written was removed.");
    }
}

TEST(FreeSpace, AFailingDeviceOrAFolderNameTakenEndsTheFillAndLeavesNothingOfIt) {
    {
        FakeVolumes::Volume volume = volumeOf(3 * kMiB);
        volume.failAfter = 1536 * kKiB;
        FillRig rig(volume);
        const FreeSpaceResult result = rig.fill();
        EXPECT_EQ(result.outcome, FillOutcome::failed);
        EXPECT_EQ(result.status.code, 23);
        EXPECT_EQ(result.bytesWritten, 1536 * kKiB);
        rig.expectNothingLeft();
        EXPECT_EQ(freeSpaceMessage(rig.root, result, L"Data error (cyclic redundancy check).\r\n"),
                  L"The free space of P:\\ could not be wiped completely: Data error (cyclic "
                  L"redundancy check). What had been written (1.5 MB) was removed.");
    }
    {
        // A flush, which runs beside the next writes, finds the volume full: the large files end
        // there and the folders and small files take what is left. Or it fails: the fill ends
        // with its failure.
        for (const long failure : {kErrorDiskFull, 23L}) {
            FakeVolumes::Volume volume = volumeOf(3 * kMiB);
            volume.flushFailsAfter = 1536 * kKiB;
            volume.flushFailure = failure;
            FillRig rig(volume);
            const FreeSpaceResult result = rig.fill();
            SCOPED_TRACE(failure);
            EXPECT_EQ(result.outcome,
                      failure == kErrorDiskFull ? FillOutcome::filled : FillOutcome::failed);
            EXPECT_EQ(result.status.code, failure == kErrorDiskFull ? 0 : failure);
            EXPECT_LE(result.largeFiles, 2u);  // three would have fitted
            EXPECT_EQ(result.smallFiles + result.recordFolders > 0, failure == kErrorDiskFull);
            rig.expectNothingLeft();
        }
    }
    {
        // An overwrite source that fails part-way: its failure comes back, and nothing is left.
        FillRig rig(volumeOf(3 * kMiB));
        rig.request.overwrite = [&](unsigned char* data, std::size_t bytes) {
            if (rig.calls++ == 5) throw std::runtime_error("no more data");
            std::fill(data, data + bytes, static_cast<unsigned char>(0x5A));
        };
        EXPECT_THROW(rig.fill(), std::runtime_error);
        EXPECT_FALSE(rig.volumes.made.empty());
        rig.expectNothingLeft();
    }
    {
        // A file holds the folder's name; or the name leads elsewhere, where a fill-like name is
        // not ours to remove.
        FillRig file(volumeOf(kMiB));
        file.files.addFile(L"P:\\", L"Purgeon free space", kAttrArchive, {1});
        FillRig link(volumeOf(kMiB));
        link.files.folders[L"P:\\Purgeon free space\\"];
        link.files.aliases[L"P:\\Purgeon free space"] = L"P:\\elsewhere";
        link.files.addFile(L"P:\\elsewhere\\", fillFileName(1), kAttrArchive, {1});
        for (FillRig* rig : {&file, &link}) {
            const FreeSpaceResult result = rig->fill();
            EXPECT_EQ(result.outcome, FillOutcome::folderInTheWay);
            EXPECT_TRUE(rig->volumes.made.empty());
            EXPECT_EQ(result.bytesWritten, 0u);
        }
        EXPECT_TRUE(file.files.files.count(L"P:\\Purgeon free space"));
        EXPECT_TRUE(link.files.files.count(L"P:\\elsewhere\\" + fillFileName(1)));
    }
}

// Where the volume cannot be flushed as a whole, the system is left to write its own records of
// the fill before anything goes, and the log says so.
TEST(FreeSpace, AVolumeThatCannotBeFlushedIsLeftToTheSystemsWriterFirst) {
    FillRig rig(volumeOf(3 * kMiB));
    rig.volumes.flushError = kErrorAccessDenied;
    const FreeSpaceResult result = rig.fill();
    EXPECT_EQ(result.outcome, FillOutcome::filled);
    EXPECT_EQ(result.recordsFlushed.code, kErrorAccessDenied);
    const std::vector<std::wstring>& events = rig.volumes.events;
    const auto flushed = std::find(events.begin(), events.end(), L"flush volume P:\\");
    ASSERT_NE(flushed, events.end());
    ASSERT_NE(flushed + 1, events.end());
    EXPECT_EQ(*(flushed + 1), L"await write-behind P:\\");
    EXPECT_TRUE(std::none_of(events.begin(), flushed, [](const std::wstring& e) {
        return e.ends_with(L" (removed)") || e.starts_with(L"delete ");
    }));
    rig.expectNothingLeft();
    EXPECT_NE(
        freeSpaceLogLine(rig.root, result, L"")
            .find(L"the volume could not be flushed as a whole (error 5), so the fill waited for "
                  L"the system to write its own records of it."),
        std::wstring::npos);
}

// The fill folder as an abrupt end leaves it: fill files, one held by another program, and what
// is not the program's own.
void leaveLeftovers(FakeFileSystem& files, const std::wstring& root) {
    const std::wstring folder = fillFolderOf(root) + L"\\";
    files.addFile(root, L"Purgeon free space", kAttrDirectory);
    files.addFile(folder, fillFileName(3), kAttrArchive, {1, 2});
    files.addFile(folder, L"PURGEON-FILL-00000007.TMP", kAttrArchive, {3});
}

TEST(FreeSpace, LeftoversAreRemovedOnlyWhenTheyAreFillFilesInTheFillFolder) {
    FillRig rig(volumeOf(kMiB));
    leaveLeftovers(rig.files, rig.root);
    const std::wstring folder = rig.folder + L"\\";
    rig.files.addFile(folder, L"purgeon-fill-7.tmp", kAttrArchive, {4});
    rig.files.addFile(folder, L"notes.txt", kAttrArchive, {5});
    rig.files.addFile(folder, fillFileName(9), kAttrDirectory);
    rig.files.addFile(folder, fillFileName(11), kAttrArchive, {6});
    rig.files.files.at(folder + fillFileName(11)).locked = true;
    // The records folder: its folders go, deepest first; a folder that holds what is not the
    // fill's stays, and the folders above it.
    const std::wstring records = folder + kRecordsFolderName + L"\\";
    rig.files.addFile(folder, kRecordsFolderName, kAttrDirectory);
    rig.files.addFile(records, L"0", kAttrDirectory);
    rig.files.addFile(records + L"0\\", L"3", kAttrDirectory);
    rig.files.addFile(records, L"1", kAttrDirectory);
    rig.files.addFile(records + L"1\\", L"2", kAttrDirectory);
    rig.files.addFile(records + L"1\\2\\", L"diary.txt", kAttrArchive, {7});
    rig.files.addFile(records, L"4", kAttrDirectory);

    const LeftoverSweep swept = RemoveFillLeftovers(rig.files, rig.volumes, rig.root);
    EXPECT_EQ(swept.removed, 4u);     // two files, the folders 0\3 and 0
    EXPECT_EQ(swept.notRemoved, 4u);  // a file in use, 1\2, 1 and the records folder
    EXPECT_FALSE(rig.files.folders.count(records + L"0\\"));
    EXPECT_TRUE(rig.files.files.count(records + L"1\\2\\diary.txt"));
    EXPECT_TRUE(rig.files.folders.count(records + L"4\\"));
    EXPECT_FALSE(rig.files.files.count(folder + fillFileName(3)));
    EXPECT_FALSE(rig.files.files.count(folder + L"PURGEON-FILL-00000007.TMP"));
    for (const std::wstring& kept :
         std::vector<std::wstring>{L"purgeon-fill-7.tmp", L"notes.txt", fillFileName(11)})
        EXPECT_TRUE(rig.files.files.count(folder + kept)) << testing::PrintToString(kept);
    EXPECT_TRUE(rig.files.folders.count(folder + fillFileName(9) + L"\\"));
    EXPECT_TRUE(rig.files.folders.count(folder));

    // A fill finds the records folder holding what is not its own: it does without the folder.
    FakeVolumes::Volume table = volumeOf(kMiB);
    table.residentBytes = 700;
    FillRig kept(table);
    kept.files.addFile(kept.root, L"Purgeon free space", kAttrDirectory);
    kept.files.addFile(kept.folder + L"\\", kRecordsFolderName, kAttrDirectory);
    kept.files.addFile(records, L"diary.txt", kAttrArchive, {8});
    const FreeSpaceResult without = kept.fill();
    EXPECT_EQ(without.outcome, FillOutcome::filled);
    EXPECT_EQ(without.recordFolders, 0u);
    EXPECT_TRUE(kept.files.files.count(records + L"diary.txt"));

    // A fill finds its folder holding only leftovers: they go first, then the folder with the fill.
    FillRig again(volumeOf(kMiB));
    leaveLeftovers(again.files, again.root);
    EXPECT_EQ(again.fill().leftovers, 2u);
    again.expectNothingLeft();

    // A fill folder that leads elsewhere is left alone.
    FillRig linked(volumeOf(kMiB));
    linked.files.folders[L"P:\\Purgeon free space\\"];
    linked.files.aliases[L"P:\\Purgeon free space"] = L"P:\\elsewhere";
    leaveLeftovers(linked.files, L"P:\\elsewhere\\");
    EXPECT_EQ(RemoveFillLeftovers(linked.files, linked.volumes, linked.root).removed, 0u);
    EXPECT_TRUE(linked.files.files.count(L"P:\\elsewhere\\Purgeon free space\\" + fillFileName(3)));
}

TEST(FreeSpace, TheStartSweepsRecordedVolumesAndFixedDrivesOnly) {
    ProgramRig rig;
    const std::wstring card = L"C:\\mnt\\card\\";
    rig.volumes.add(L"C:\\", FakeVolumes::of(DriveKind::fixed));
    rig.volumes.add(L"D:\\", FakeVolumes::of(DriveKind::removable));
    rig.volumes.add(L"N:\\", FakeVolumes::of(DriveKind::network));
    rig.volumes.add(card, FakeVolumes::of(DriveKind::removable));
    rig.volumes.add(L"F:\\", FakeVolumes::of(DriveKind::fixed));
    for (const std::wstring root : {L"C:\\", L"D:\\", L"N:\\", card.c_str()})
        leaveLeftovers(rig.files, root);
    rig.files.addFile(L"F:\\Purgeon free space\\", fillFileName(1), kAttrArchive, {1});
    rig.files.files.at(L"F:\\Purgeon free space\\" + fillFileName(1)).locked = true;
    FillRecord record(rig.settings, kAppTitle);
    ASSERT_TRUE(record.add(card));
    ASSERT_TRUE(record.add(L"F:\\"));

    ASSERT_TRUE(rig.program.Main());
    for (const std::wstring root : {L"C:\\", card.c_str()}) {
        EXPECT_FALSE(rig.files.files.count(fillFolderOf(root) + L"\\" + fillFileName(3)));
        EXPECT_FALSE(rig.files.folders.count(fillFolderOf(root) + L"\\"));
    }
    for (const std::wstring root : {L"D:\\", L"N:\\"})
        EXPECT_TRUE(rig.files.files.count(fillFolderOf(root) + L"\\" + fillFileName(3)));
    // The volume swept clean leaves the record; the one with a file still there stays in it.
    EXPECT_EQ(record.roots(), std::vector<std::wstring>{L"F:\\"});
    EXPECT_TRUE(rig.logFile.contains(
        L"Free space: 4 fill file(s) left by an earlier wipe removed, 1 could not be."));
}

// The Secure Wipe tab's "Wipe free space" over a program of fakes.
struct FreeSpaceWindow : ProgramRig {
    FreeSpaceWindow() {
        FakeVolumes::Volume c = volumeOf(3 * kMiB + 10000);
        volumes.add(L"C:\\", c);
        volumes.add(L"N:\\", FakeVolumes::of(DriveKind::network));
        files.folders[documents + L"\\"];
        main.selectTab(kTabSecureWipe);
        log.clear();
    }
    const std::wstring documents = L"C:\\Users\\me\\Documents";
    FrmMain& main = loadMain();
};

TEST(FreeSpaceWindow, TheQuestionComesFirstAndYesFillsTheFoldersVolume) {
    for (const int answer : {kIdNo, kIdYes}) {
        FreeSpaceWindow rig;
        rig.main.setText(Ctl::txtFolderToWipe, rig.documents);  // naming a volume is not wiping it
        rig.dialogs.answers = {answer};
        rig.main.cmdWipeFreeSpace_Click();
        ASSERT_FALSE(rig.dialogs.shown.empty());
        EXPECT_EQ(rig.dialogs.shown[0].text, freeSpaceQuestion(L"C:\\", 3 * kMiB + 10000));
        EXPECT_NE(rig.dialogs.shown[0].text.find(L"other programs may briefly find the disk full"),
                  std::wstring::npos);
        EXPECT_EQ(rig.dialogs.shown[0].style, kMbYesNo | kMbIconQuestion);
        EXPECT_EQ(rig.dialogs.shown[0].caption, kAppTitle);
        if (answer == kIdNo) {
            EXPECT_EQ(rig.dialogs.shown.size(), 1u);
            EXPECT_TRUE(rig.volumes.made.empty());
            continue;
        }
        ASSERT_EQ(rig.dialogs.shown.size(), 2u);
        EXPECT_EQ(rig.dialogs.shown[1].text, L"The free space of C:\\ was wiped: " +
                                                 sizeText(3 * kMiB + 8192) +
                                                 L" of overwrite data written and removed.");
        EXPECT_EQ(rig.dialogs.shown[1].style, kMbOk | kMbIconInformation);
        EXPECT_FALSE(rig.volumes.made.empty());
        for (const std::wstring& path : rig.volumes.made) EXPECT_FALSE(rig.files.files.count(path));
        EXPECT_EQ(rig.windows.operations, 1);
        EXPECT_EQ(rig.volumes.randomSource.calls, 1);  // the overwrite data's key
        // The log tells sizes and counts, never a file's name; the record is gone again.
        EXPECT_TRUE(rig.logFile.contains(L"Free space of C:\\: wiped; "));
        EXPECT_FALSE(rig.logFile.contains(L"purgeon-fill"));
        EXPECT_TRUE(FillRecord(rig.settings, kAppTitle).roots().empty());
        EXPECT_EQ(rig.main.statusText(), L"");
    }
}

TEST(FreeSpaceWindow, WithoutAFolderThePickerNamesTheVolumeAndARefusalSaysWhy) {
    struct Case {
        std::wstring picked;  // empty: the user cancels the picker
        std::vector<fakes::ShownBox> boxes;
    };
    const Case cases[] = {
        {L"", {}},
        {L"N:\\",
         {{L"The free space of N:\\ cannot be wiped: it is a network drive.", kAppTitle,
           kMbOk | kMbIconExclamation}}},
    };
    for (const Case& c : cases) {
        FreeSpaceWindow rig;
        rig.pickers.folderChoice = c.picked;
        rig.main.cmdWipeFreeSpace_Click();
        EXPECT_EQ(rig.log.at(0),
                  L"folder dialog Select a folder or drive whose free space to wipe "
                  L"at C:\\Program Files\\Purgeon");
        EXPECT_EQ(rig.dialogs.shown, c.boxes);
        EXPECT_TRUE(rig.volumes.made.empty());
        EXPECT_EQ(rig.main.text(Ctl::txtFolderToWipe), L"");  // never a folder to wipe
    }
}

}  // namespace
}  // namespace purgeon
