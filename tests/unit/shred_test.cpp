// The shredding engine, file enumeration and the temporary folder's clearing, on a fake disk.
#include <gtest/gtest.h>

#include "areas/temp_folder.h"
#include "fakes/fake_stores.h"
#include "wipe/enum_files.h"
#include "wipe/random_stream.h"
#include "wipe/shred.h"
#include "wipe/wipe_report.h"

#include <array>
#include <functional>
#include <optional>
#include <set>

namespace purgeon {
namespace {

using fakes::FakeFileSystem;
using PassEnd = FakeFileSystem::PassEnd;

const std::wstring kDir = L"D:\\x\\";

std::vector<unsigned char> bytes(size_t count, unsigned char value = 0x55) {
    return std::vector<unsigned char>(count, value);
}

constexpr int kMixed = FakeFileSystem::kMixed;

// What each flush found in one file: its lengths, and its bytes (one value, or kMixed).
std::vector<size_t> lengthsOf(const FakeFileSystem& fs, const std::wstring& path) {
    std::vector<size_t> lengths;
    for (const PassEnd& end : fs.passEnds)
        if (end.path == path) lengths.push_back(end.length);
    return lengths;
}
std::vector<int> bytesOf(const FakeFileSystem& fs, const std::wstring& path) {
    std::vector<int> values;
    for (const PassEnd& end : fs.passEnds)
        if (end.path == path) values.push_back(end.byte);
    return values;
}

// The lengths hold whatever the alignment of the unbuffered handle, which the fake enforces on
// every read and write; a unit the engine cannot work with leaves the file untouched. The last
// pass runs on to its unit's end, and is cut back to its length only where the data stays in
// sight: under a second name, or when the name cannot be removed.
TEST(Shred, EachPassWritesOneBlockMoreThanTheLengthRoundedDownThenTheFileGoes) {
    constexpr size_t kMiB = 1024 * 1024;
    struct Case {
        size_t length;
        WipeMethod method;
        std::size_t unit;
        std::vector<size_t> lengthAfterPass;
        ShredOutcome outcome;
    };
    for (const Case& c : {
             Case{0, WipeMethod::quick, 4096, {1024, 2048, 3072}, ShredOutcome::wiped},
             Case{1024, WipeMethod::onePass, 4096, {2048}, ShredOutcome::wiped},
             Case{1500, WipeMethod::quick, 512, {2048, 3072, 4096}, ShredOutcome::wiped},
             Case{4096, WipeMethod::quick, 65536, {5120, 6144, 7168}, ShredOutcome::wiped},
             Case{700,
                  WipeMethod::dod,
                  4096,
                  {1024, 2048, 3072, 4096, 5120, 6144, 7168},
                  ShredOutcome::wiped},
             Case{3 * kMiB + 7, WipeMethod::onePass, 4096, {3 * kMiB + 1024}, ShredOutcome::wiped},
             Case{kMiB - 1024,
                  WipeMethod::quick,
                  65536,
                  {kMiB, kMiB + 1024, kMiB + 2048},
                  ShredOutcome::wiped},
             Case{1500, WipeMethod::quick, 3000, {}, ShredOutcome::failed},
         }) {
        const std::string label = "length " + std::to_string(c.length) + ", " +
                                  std::to_string(passCount(c.method)) + " passes, unit " +
                                  std::to_string(c.unit);
        std::vector<size_t> flushed = c.lengthAfterPass;
        if (!flushed.empty()) flushed.back() = (flushed.back() + c.unit - 1) / c.unit * c.unit;
        // The file goes; its name cannot be removed; its data has a second name, which keeps it.
        enum class Kind { removed, refused, shared };
        for (const Kind kind : {Kind::removed, Kind::refused, Kind::shared}) {
            FakeFileSystem fs;
            fs.ioUnit = c.unit;
            fs.addFile(kDir, L"f.bin", kAttrArchive, bytes(c.length));
            fs.files[kDir + L"f.bin"].failRemove = kind == Kind::refused;
            fs.files[kDir + L"f.bin"].links = kind == Kind::shared ? 2 : 1;
            const ShredResult result = ShredFile(fs, kDir + L"f.bin", {c.method, true, {}});

            EXPECT_EQ(lengthsOf(fs, kDir + L"f.bin"),
                      kind == Kind::shared ? c.lengthAfterPass : flushed)
                << label;
            if (kind == Kind::refused) {
                const size_t stays = flushed.empty() ? c.length : c.lengthAfterPass.back();
                EXPECT_EQ(fs.files[kDir + L"f.bin"].content.size(), stays) << label;
                continue;
            }
            EXPECT_EQ(fs.files.empty(), c.outcome == ShredOutcome::wiped) << label;
            EXPECT_EQ(result.outcome, c.outcome) << label;
        }
    }
}

// Quick: zeros, ones, random. DoD 5220.22-M ECE: a character, its complement, random; another
// character; a character, its complement, random; the characters drawn afresh for every file.
// Random data differs from pass to pass and from file to file.
TEST(Shred, EachMethodWritesItsPatternsAndEndsWithRandomData) {
    for (const WipeMethod method : {WipeMethod::onePass, WipeMethod::quick, WipeMethod::dod}) {
        FakeFileSystem fs;
        const std::wstring paths[] = {kDir + L"a.doc", kDir + L"b.doc"};
        for (const std::wstring& path : paths) {
            fs.addFile(kDir, path.substr(kDir.size()), kAttrArchive, bytes(5000));
            EXPECT_EQ(ShredFile(fs, path, {method, true, {}}).outcome, ShredOutcome::wiped);
        }
        const int passes = passCount(method);
        const std::vector<int> first = bytesOf(fs, paths[0]);
        const std::vector<int> second = bytesOf(fs, paths[1]);
        ASSERT_EQ(first.size(), static_cast<size_t>(passes));
        ASSERT_EQ(second.size(), static_cast<size_t>(passes));
        for (const std::vector<int>& values : {first, second}) {
            switch (method) {
                case WipeMethod::onePass:
                    EXPECT_EQ(values, std::vector<int>{kMixed});
                    break;
                case WipeMethod::quick:
                    EXPECT_EQ(values, (std::vector<int>{0x00, 0xFF, kMixed}));
                    break;
                case WipeMethod::dod:
                    for (int pass : {0, 3, 4}) EXPECT_NE(values[pass], kMixed) << pass;
                    EXPECT_EQ(values[1], values[0] ^ 0xFF);
                    EXPECT_EQ(values[5], values[4] ^ 0xFF);
                    EXPECT_EQ(values[2], kMixed);
                    EXPECT_EQ(values[6], kMixed);
                    break;
            }
        }
        if (method == WipeMethod::dod) {
            EXPECT_NE(first[0], second[0]);
        }
        std::set<std::size_t> randomPasses;
        for (const PassEnd& end : fs.passEnds)
            if (end.byte == kMixed) randomPasses.insert(end.hash);
        EXPECT_EQ(randomPasses.size(), method == WipeMethod::dod ? 4u : 2u);
    }
}

// After the last pass the file is read back and compared with it: a device that kept other data,
// a read that fails or falls short, or a stop during the read-back is "not verified", and the
// file still goes.
TEST(Shred, TheReadBackComparesWithTheLastPassAndADifferenceIsNotVerified) {
    constexpr size_t kLength = 3 * 1024 * 1024 + 100;  // read back in four reads
    constexpr size_t kWritten = 3 * 1024 * 1024 + 3 * 1024;
    struct Case {
        const char* what;
        size_t length;
        std::function<void(FakeFileSystem::File&)> device;
        bool stopAfterLastWrite;
        ShredOutcome outcome;
        Status status;
    };
    const Case cases[] = {
        {"kept", kLength, [](auto&) {}, false, ShredOutcome::wiped, {}},
        {"first byte",
         kLength,
         [](auto& f) { f.flippedOnRead = 0; },
         false,
         ShredOutcome::notVerified,
         {}},
        {"in the second MiB",
         kLength,
         [](auto& f) { f.flippedOnRead = 1024 * 1024 + 17; },
         false,
         ShredOutcome::notVerified,
         {}},
        {"last byte",
         kLength,
         [](auto& f) { f.flippedOnRead = kWritten - 1; },
         false,
         ShredOutcome::notVerified,
         {}},
        // Read in one go, into the buffer that still holds what was written.
        {"cut short",
         1500,
         [](auto& f) { f.endsOnRead = 2048; },
         false,
         ShredOutcome::notVerified,
         {}},
        {"read fails", kLength, [](auto& f) { f.failReads = 23; }, false, ShredOutcome::notVerified,
         Status::error(23)},
        {"stopped", kLength, [](auto&) {}, true, ShredOutcome::notVerified,
         Status::error(kErrorOperationAborted)},
    };
    for (const Case& c : cases) {
        FakeFileSystem fs;
        const std::wstring path = kDir + L"f.bin";
        fs.addFile(kDir, L"f.bin", kAttrArchive, bytes(c.length));
        c.device(fs.files[path]);
        std::stop_source stop;
        ShredRequest request{WipeMethod::quick, true, {}};
        request.stop = stop.get_token();
        std::uint64_t written = 0;
        request.written = [&](std::uint64_t bytes) {
            written += bytes;
            if (c.stopAfterLastWrite && written == 3 * c.length) stop.request_stop();
        };
        const ShredResult result = ShredFile(fs, path, request);
        EXPECT_EQ(result.outcome, c.outcome) << c.what;
        EXPECT_EQ(result.status, c.status) << c.what;
        EXPECT_EQ(lengthsOf(fs, path).back(), ((c.length / 1024 + 3) * 1024 + 4095) / 4096 * 4096)
            << c.what;
        EXPECT_TRUE(fs.files.empty()) << c.what;
    }
}

// NTFS keeps a small file's data in its file record: held through the cache, each pass writes
// the file's own length in place before it makes the file longer, and no unit is asked or kept.
TEST(Shred, ASmallFileHeldThroughTheCacheIsOverwrittenInPlaceBeforeItGrows) {
    FakeFileSystem fs;
    fs.cachedBelow = 4096;
    fs.addFile(kDir, L"small", kAttrArchive, bytes(700));
    fs.addFile(kDir, L"large", kAttrArchive, bytes(5000));
    const ShredResult small = ShredFile(fs, kDir + L"small", {WipeMethod::quick, true, {}});
    EXPECT_EQ(small.outcome, ShredOutcome::wiped);
    EXPECT_EQ(small.ioUnit, 0u);
    EXPECT_EQ(fs.ioUnitAsked, 0);
    using Writes = std::vector<std::pair<std::uint64_t, std::size_t>>;
    EXPECT_EQ(fs.writes,
              (Writes{{0, 700}, {700, 324}, {0, 1024}, {1024, 1024}, {0, 2048}, {2048, 1024}}));
    EXPECT_EQ(lengthsOf(fs, kDir + L"small"), (std::vector<size_t>{1024, 2048, 3072}));
    fs.writes.clear();
    EXPECT_EQ(ShredFile(fs, kDir + L"large", {WipeMethod::onePass, true, {}}).ioUnit, 4096u);
    EXPECT_EQ(fs.writes, (Writes{{0, 8192}}));
}

ShredRequest hidingName(WipeMethod method) {
    ShredRequest request{method, true, {}};
    request.hideName = true;
    return request;
}

// Before its removal the file is renamed three times, each time to letters and digits as many as
// its name has; its streams were overwritten and removed before it.
TEST(Shred, AHiddenNameChangesThreeTimesAndNamedStreamsGoFirst) {
    FakeFileSystem fs;
    const std::wstring path = kDir + L"report 2024.doc";
    fs.addFile(kDir, L"report 2024.doc", kAttrArchive, bytes(3000));
    fs.addStream(path, L"Zone.Identifier", bytes(26));
    EXPECT_EQ(ShredFile(fs, path, hidingName(WipeMethod::onePass)).outcome, ShredOutcome::wiped);
    EXPECT_TRUE(fs.files.empty());
    ASSERT_EQ(fs.passEnds.size(), 2u);
    EXPECT_EQ(fs.passEnds[0].path, path + L":Zone.Identifier");
    std::vector<std::wstring> names;
    for (const std::wstring& step : fs.log) {
        if (step.starts_with(L"rename ")) names.push_back(step.substr(step.rfind(L' ') + 1));
    }
    ASSERT_EQ(names.size(), 3u);
    for (const std::wstring& name : names) {
        EXPECT_EQ(name.size(), std::wstring(L"report 2024.doc").size());
        EXPECT_EQ(name.find_first_not_of(L"abcdefghijklmnopqrstuvwxyz0123456789"),
                  std::wstring::npos);
    }
    EXPECT_NE(names[0], names[1]);
    EXPECT_EQ(fs.log.back(), L"delete " + kDir + names.back());
}

// Every way a file can turn out: what is reported, how many passes reached it, whether it stays
// and whether its bytes are the ones it had.
TEST(Shred, ReportsWhatHappenedAndNeverTouchesWhatIsNotItsOwn) {
    struct Case {
        const char* what;
        std::function<void(FakeFileSystem&, FakeFileSystem::File&)> setUp;
        ShredRequest request;
        ShredOutcome outcome;
        size_t passes;
        bool stays;
        bool unchanged;
    };
    const std::wstring path = kDir + L"f.txt";
    const WipeMethod quick = WipeMethod::quick, once = WipeMethod::onePass;
    const Case cases[] = {
        {"plain", [](auto&, auto&) {}, {quick, true, path}, ShredOutcome::wiped, 3, false, false},
        {"read-only, hidden, system",
         [](auto&, auto& f) { f.attributes = kAttrReadOnly | kAttrHidden | kAttrSystem; },
         {once, true, {}},
         ShredOutcome::wiped,
         1,
         false,
         false},
        {"in use",
         [](auto&, auto& f) { f.locked = true; },
         {quick, true, {}},
         ShredOutcome::inUse,
         0,
         true,
         true},
        {"hard link, unattended",
         [](auto&, auto& f) { f.links = 2; },
         {once, false, path},
         ShredOutcome::unlinked,
         0,
         false,
         true},
        {"hard link, chosen",
         [](auto&, auto& f) { f.links = 2; },
         {once, true, {}},
         ShredOutcome::wiped,
         1,
         false,
         false},
        {"symbolic link",
         [](auto&, auto& f) { f.attributes = kAttrReparsePoint; },
         {quick, true, path},
         ShredOutcome::linkRemoved,
         0,
         false,
         true},
        {"folder swapped for a junction",
         [](auto&, auto& f) { f.reachedAs = L"C:\\Users\\me\\Documents\\f.txt"; },
         {quick, true, path},
         ShredOutcome::redirected,
         0,
         true,
         true},
        {"no key from the system's generator",
         [](auto& fs, auto&) { fs.random.error = 1450; },
         {quick, true, path},
         ShredOutcome::failed,
         0,
         true,
         true},
        {"writes refused",
         [](auto&, auto& f) { f.failWrites = true; },
         {quick, true, {}},
         ShredOutcome::removedNotOverwritten,
         0,
         false,
         false},
        {"removal refused",
         [](auto&, auto& f) { f.failRemove = true; },
         {quick, true, {}},
         ShredOutcome::notRemoved,
         3,
         true,
         false},
        // A file that stays keeps its own name; one whose renaming fails goes all the same.
        {"removal refused, its name hidden", [](auto&, auto& f) { f.failRemove = true; },
         hidingName(quick), ShredOutcome::notRemoved, 3, true, false},
        {"renaming refused", [](auto&, auto& f) { f.failRename = kErrorAccessDenied; },
         hidingName(quick), ShredOutcome::nameKept, 3, false, false},
        {"a named stream in use",
         [&](auto& fs, auto&) {
             fs.addStream(path, L"s", bytes(10));
             fs.files[path + L":s"].locked = true;
         },
         {quick, true, {}},
         ShredOutcome::removedNotOverwritten,
         3,
         false,
         false},
        {"streams that cannot be listed",
         [](auto& fs, auto&) { fs.streamListError = kErrorAccessDenied; },
         {once, true, {}},
         ShredOutcome::removedNotOverwritten,
         1,
         false,
         false},
    };
    for (const Case& c : cases) {
        FakeFileSystem fs;
        fs.addFile(kDir, L"f.txt", kAttrArchive, bytes(10));
        c.setUp(fs, fs.files[path]);
        const ShredResult result = ShredFile(fs, path, c.request);
        EXPECT_EQ(result.outcome, c.outcome) << c.what;
        EXPECT_EQ(fs.passEnds.size(), c.passes) << c.what;
        EXPECT_EQ(fs.files.count(path) == 1, c.stays) << c.what;
        if (c.stays) {
            EXPECT_EQ(fs.files[path].content == bytes(10), c.unchanged) << c.what;
        }
    }
}

// What a random pass writes can be made again from any whole step on, to compare with what the
// device gives back; it depends on the whole key, and neither lanes nor segments repeat.
TEST(RandomStream, AnyStretchIsMadeAgainAndADifferenceIsSeen) {
    constexpr size_t kSegment = RandomStream::kSegment;
    std::array<unsigned char, RandomStream::kKeyBytes> key{};
    for (size_t i = 0; i < key.size(); ++i) key[i] = static_cast<unsigned char>(i * 37 + 1);
    const RandomStream stream(key);
    std::vector<unsigned char> whole(3 * kSegment + 100);
    stream.fill(0, whole.data(), whole.size());

    for (const auto& [offset, length] :
         std::vector<std::pair<size_t, size_t>>{{0, 1},
                                                {5, 64},
                                                {31, 33},
                                                {kSegment - 5, 10},
                                                {kSegment, kSegment + 9},
                                                {2 * kSegment + 77, kSegment + 23}}) {
        std::vector<unsigned char> part(length);
        stream.fill(offset, part.data(), length);
        const auto from = whole.begin() + static_cast<std::ptrdiff_t>(offset);
        EXPECT_TRUE(std::equal(part.begin(), part.end(), from)) << offset;
        EXPECT_TRUE(stream.matches(offset, part.data(), length)) << offset;
        part[length / 2] ^= 0x01;
        EXPECT_FALSE(stream.matches(offset, part.data(), length)) << offset;
    }
    auto differ = [&](size_t a, size_t b) {
        return !std::equal(whole.begin() + static_cast<std::ptrdiff_t>(a),
                           whole.begin() + static_cast<std::ptrdiff_t>(a + 8),
                           whole.begin() + static_cast<std::ptrdiff_t>(b));
    };
    EXPECT_TRUE(differ(0, 8) && differ(8, 16) && differ(16, 24));  // the four lanes
    EXPECT_TRUE(differ(0, kSegment) && differ(kSegment, 2 * kSegment));
    for (size_t byte : {size_t{0}, key.size() - 1}) {
        auto other = key;
        other[byte] ^= 0x80;
        std::vector<unsigned char> start(64);
        RandomStream(other).fill(0, start.data(), start.size());
        EXPECT_FALSE(std::equal(start.begin(), start.end(), whole.begin())) << byte;
    }
}

// A stretch is flushed, and in the last pass read back, on a helper thread while the rest is
// written, so what that flush saw of the rest is not fixed; the pass's own flush comes last.
TEST(Shred, ALongPassGoesToTheDeviceInStretchesSoAStopNeverWaitsLong) {
    // The device keeps what was written, or one byte differs in the stretch or past it.
    for (const std::optional<size_t> flipped :
         {std::optional<size_t>(), std::optional<size_t>(1000), std::optional<size_t>(64u << 20)}) {
        FakeFileSystem fs;
        fs.addFile(kDir, L"big.bin", kAttrArchive, bytes((64u << 20) + 5));
        fs.files[kDir + L"big.bin"].flippedOnRead = flipped;
        EXPECT_EQ(ShredFile(fs, kDir + L"big.bin", {WipeMethod::onePass, true, {}}).outcome,
                  flipped ? ShredOutcome::notVerified : ShredOutcome::wiped);
        const std::vector<size_t> lengths = lengthsOf(fs, kDir + L"big.bin");
        ASSERT_EQ(lengths.size(), 2u);
        EXPECT_GE(lengths[0], (64u << 20) + 5);
        EXPECT_EQ(lengths[1], (64u << 20) + 4096);
    }
}

TEST(Shred, AMissingFileIsGoneAndNothingIsCreated) {
    FakeFileSystem fs;
    fs.addFile(kDir, L"other.txt");
    EXPECT_EQ(ShredFile(fs, kDir + L"new.bin", {WipeMethod::quick, true, {}}).outcome,
              ShredOutcome::gone);
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
    EXPECT_EQ(fileWipeMessage(L"a.doc", {ShredOutcome::notVerified, {}}, L""),
              L"a.doc was overwritten and removed, but not verified: what was read back differs "
              L"from what was written.");
    EXPECT_EQ(fileWipeMessage(L"a.doc", {ShredOutcome::notVerified, Status::error(23)},
                              L"Data error (cyclic redundancy check).\r\n"),
              L"a.doc was overwritten and removed, but not verified: Data error (cyclic redundancy "
              L"check).");
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

    EXPECT_EQ(fs.passEnds.size(), 2u);
    EXPECT_EQ(lengthsOf(fs, temp + L"a.tmp"), std::vector<size_t>{4096});
    EXPECT_EQ(lengthsOf(fs, temp + L"s\\b.tmp"), std::vector<size_t>{4096});
    for (const PassEnd& end : fs.passEnds) EXPECT_EQ(end.byte, kMixed);
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
