// The shredding engine: one exclusive handle per file, the method's passes in large aligned
// writes, a read-back of the last pass past the cache, then removal through that handle.
#include "wipe/shred.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <vector>

#include "wipe/folder_guard.h"
#include "wipe/in_flight.h"
#include "wipe/random_name.h"
#include "wipe/random_stream.h"
#include "wipe/remove_file.h"

namespace purgeon {

namespace {

// The largest write, and the largest read of the read-back.
constexpr std::size_t kWriteSize = 1 << 20;
// Within a pass, what is written goes to the device every this many bytes as well.
constexpr std::uint64_t kFlushStretch = 64ull << 20;
// Names tried for each change of a file's name, should they be taken.
constexpr int kNameTries = 8;

// What one pass writes: one byte throughout, or a random stream.
struct Pass {
    unsigned char byte = 0;
    std::optional<RandomStream> random;
};

// The passes of a method for one file, their characters and keys drawn from the system's
// generator in one request.
Status plan(WipeMethod method, RandomSource& random, std::vector<Pass>& passes) {
    constexpr std::size_t kKey = RandomStream::kKeyBytes;
    std::array<unsigned char, 3 + 2 * kKey> drawn{};
    const std::size_t keys = method == WipeMethod::dod ? 2 : 1;
    const std::size_t characters = method == WipeMethod::dod ? 3 : 0;
    if (Status got = random.fill(drawn.data(), characters + keys * kKey); !got) return got;
    auto key = [&](std::size_t k) {
        std::array<unsigned char, kKey> bytes{};
        std::memcpy(bytes.data(), drawn.data() + characters + k * kKey, kKey);
        return Pass{0, RandomStream(bytes)};
    };
    auto byte = [](unsigned char value) { return Pass{value, std::nullopt}; };
    switch (method) {
        case WipeMethod::onePass:
            passes = {key(0)};
            break;
        case WipeMethod::quick:
            passes = {byte(0x00), byte(0xFF), key(0)};
            break;
        case WipeMethod::dod: {
            const unsigned char first = drawn[0], second = drawn[1], third = drawn[2];
            passes = {byte(first), byte(static_cast<unsigned char>(~first)), key(0), byte(second),
                      byte(third), byte(static_cast<unsigned char>(~third)), key(1)};
            break;
        }
    }
    return Status::success();
}

// A buffer the unbuffered handle can take as it is: aligned to its unit.
class AlignedBuffer {
public:
    AlignedBuffer(std::size_t bytes, std::size_t alignment)
        : m_alignment(alignment),
          m_data(static_cast<unsigned char*>(::operator new(bytes, std::align_val_t(alignment)))),
          m_size(bytes) {}
    ~AlignedBuffer() { ::operator delete(m_data, std::align_val_t(m_alignment)); }
    AlignedBuffer(const AlignedBuffer&) = delete;
    AlignedBuffer& operator=(const AlignedBuffer&) = delete;
    unsigned char* data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    std::size_t m_alignment;
    unsigned char* m_data;
    std::size_t m_size;
};

std::uint64_t roundUp(std::uint64_t bytes, std::uint64_t unit) {
    return (bytes + unit - 1) / unit * unit;
}

// What the read-back of the last pass found: that pass as written, or not, and the error of the
// read that failed (or of the stop that cut it short).
struct ReadBack {
    bool same = true;
    Status status;
};

// Reads [from, to) back and compares it with what the pass wrote, up to the first difference.
void readBack(ExclusiveFile& file, std::uint64_t from, std::uint64_t to, const Pass& pass,
              AlignedBuffer& buffer, std::size_t unit, const std::stop_token& stop,
              ReadBack& found) {
    for (std::uint64_t offset = from; offset < to && found.same; offset += buffer.size()) {
        if (stop.stop_requested()) {
            found = {false, Status::error(kErrorOperationAborted)};
            return;
        }
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), to - offset));
        std::size_t read = 0;
        const Status status = file.readAt(offset, buffer.data(),
                                          static_cast<std::size_t>(roundUp(wanted, unit)), read);
        if (!status) {
            found = {false, status};
            return;
        }
        const unsigned char* data = buffer.data();
        // The last pass may leave the file a little longer than its length, up to the unit.
        found.same = read >= wanted &&
                     (pass.random ? pass.random->matches(offset, data, wanted)
                                  : std::all_of(data, data + wanted,
                                                [&](unsigned char b) { return b == pass.byte; }));
    }
}

enum class Overwrite { done, failed, stopped };

// Runs the passes and reads the last one back; a failed write or flush drops the rest, and so
// does a request to stop. length ends as the last pass's length. A pass's writes run on to the end
// of the unit, and the file is cut back to the pass's length after each; after the last only when
// cutLast (its data stays under another name): the cut costs a round trip per file and matters only
// to what is left in sight (see overwriteAndRemove). inPlace (a file held through the cache): the
// first write of a pass ends at the file's length, so that it lands where the data is.
Overwrite overwrite(ExclusiveFile& file, std::uint64_t& length, const std::vector<Pass>& passes,
                    AlignedBuffer& buffer, AlignedBuffer& readBuffer, std::size_t unit,
                    bool cutLast, bool inPlace, const ShredRequest& request, Status& status,
                    ReadBack& found) {
    // Progress counts the file's own bytes once a pass, not the block the pass adds past them.
    const std::uint64_t own = length;
    for (std::size_t p = 0; p < passes.size(); ++p) {
        const Pass& pass = passes[p];
        const bool last = p + 1 == passes.size();
        const std::uint64_t total = (length / kShredBlock + 1) * kShredBlock;
        if (!pass.random) std::memset(buffer.data(), pass.byte, buffer.size());
        InFlight flushing, checking;
        std::uint64_t flushedTo = 0, checkedTo = 0;
        // Once a flush has ended, what it put on the device is read back alongside.
        auto checkFlushed = [&] {
            if (!last || flushedTo == checkedTo) return;
            const std::uint64_t from = checkedTo, to = flushedTo;
            static_cast<void>(checking.start([&, from, to] {
                readBack(file, from, to, pass, readBuffer, unit, request.stop, found);
                return Status::success();
            }));
            checkedTo = to;
        };
        for (std::uint64_t offset = 0, chunk = 0; offset < total; offset += chunk) {
            if (request.stop.stop_requested()) return Overwrite::stopped;
            chunk = std::min<std::uint64_t>(buffer.size(), total - offset);
            if (inPlace && offset < length) chunk = std::min(chunk, length - offset);
            // The last write of a pass goes on to the unit's end; the length is set back after.
            const auto bytes = static_cast<std::size_t>(roundUp(chunk, unit));
            if (pass.random) pass.random->fill(offset, buffer.data(), bytes);
            status = file.writeAt(offset, buffer.data(), bytes);
            if (!status) return Overwrite::failed;
            const std::uint64_t counted = offset < own ? std::min(chunk, own - offset) : 0;
            if (request.written && counted > 0) request.written(counted);
            // Handed to the device in stretches, so that no single wait keeps a stop waiting long.
            if ((offset + chunk) % kFlushStretch == 0 && offset + chunk < total) {
                status = flushing.start([&file] { return file.flush(); });
                if (!status) return Overwrite::failed;
                checkFlushed();  // the flush that start waited for
                flushedTo = offset + chunk;
            }
        }
        status = flushing.wait();
        if (!status) return Overwrite::failed;
        checkFlushed();
        if ((!last || cutLast) && roundUp(total, unit) != total) {
            status = file.setLength(total);
            if (!status) return Overwrite::failed;
        }
        status = file.flush();
        if (!status) return Overwrite::failed;
        length = total;  // nobody else can change the file while the handle holds it
        if (last) {
            static_cast<void>(checking.wait());
            readBack(file, checkedTo, total, pass, readBuffer, unit, request.stop, found);
        }
    }
    return Overwrite::done;
}

// Where a file must really be: its folder's final path and its own name. Empty when the folder
// cannot be resolved (the open then fails on its own).
std::wstring finalPathOf(FileSystem& files, const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return {};
    std::wstring folder;
    if (!files.resolveFolder(path.substr(0, slash + 1), folder)) return {};
    folder = plainPath(folder);
    if (folder.empty()) return {};
    if (folder.back() != L'\\') folder += L'\\';
    return folder + path.substr(slash + 1);
}

// What came of renaming a file before its removal.
struct NameChange {
    bool renamed = false;  // it no longer has its own name
    Status status;         // the failure that left a name of the file's in place
};

// Renames the file kNameChanges times, each time to a random name as long as its own.
NameChange hideName(ExclusiveFile& file, const std::wstring& name) {
    NameMaker names;
    NameChange change;
    for (int n = 0; n < kNameChanges; ++n) {
        for (int tries = 0; tries < kNameTries; ++tries) {
            change.status = file.rename(names.make(name.size()));
            if (!nameTaken(change.status)) break;
        }
        if (!change.status) return change;
        change.renamed = true;
    }
    return change;
}

// Runs the passes over a file already found fit for them and removes it (under random names,
// when the request hides its name). shared: its data has another name too, and stays in sight
// there. inPlace: held through the cache (see overwrite).
ShredResult overwriteAndRemove(ExclusiveFile& file, const std::wstring& name,
                               std::uint64_t fileLength, std::size_t unit, bool shared,
                               bool inPlace, const ShredRequest& request) {
    std::vector<Pass> passes;
    // Without keys nothing is written: the file stays as it is.
    if (Status planned = plan(request.method, file.random(), passes); !planned)
        return {ShredOutcome::failed, planned};
    // As large as the longest pass needs, up to one write: small files take a small buffer.
    const std::uint64_t longest = fileLength + passes.size() * kShredBlock;
    AlignedBuffer buffer(
        static_cast<std::size_t>(std::min<std::uint64_t>(kWriteSize, roundUp(longest, unit))),
        unit);
    AlignedBuffer readBuffer(buffer.size(), unit);

    Status written;
    ReadBack found;
    std::uint64_t length = fileLength;
    const Overwrite overwritten = overwrite(file, length, passes, buffer, readBuffer, unit, shared,
                                            inPlace, request, written, found);
    // Stopped part-way, the file stays: the user stopped the wipe, not asked for a removal.
    if (overwritten == Overwrite::stopped) return {ShredOutcome::interrupted, {}};
    const NameChange change = request.hideName ? hideName(file, name) : NameChange{};
    const Status removed = file.remove();
    if (!removed) {
        // It stays, so under its own name. Should that fail, the report is the same: not removed.
        if (change.renamed) static_cast<void>(file.rename(name));
        // What stays keeps the length the passes gave it, not the end of their last unit. Should
        // that fail, the report is the same: the file stays, overwritten.
        if (overwritten == Overwrite::done && !shared) static_cast<void>(file.setLength(length));
        if (overwritten == Overwrite::failed) return {outcomeOf(removed), removed};
        return {ShredOutcome::notRemoved, removed};
    }
    if (overwritten == Overwrite::failed) return {ShredOutcome::removedNotOverwritten, written};
    if (!found.same) return {ShredOutcome::notVerified, found.status};
    if (!change.status) return {ShredOutcome::nameKept, change.status};
    return {ShredOutcome::wiped, {}};
}

// The unit a file's writes keep: any, through the cache; else the request's or the file's own.
std::size_t unitOf(ExclusiveFile& file, const FileFacts& facts, std::size_t known) {
    if (facts.cached) return 1;
    return known != 0 ? known : file.ioUnit();
}

bool usableUnit(std::size_t unit) {
    return unit != 0 && (unit & (unit - 1)) == 0 && unit <= kWriteSize;
}

// Overwrites every named stream of the file with the request's passes and removes it; the stop is
// left to the file's own passes. Gives wiped, or the first stream's outcome that was not.
ShredResult wipeStreams(FileSystem& files, const std::wstring& path, const ShredRequest& request) {
    std::vector<std::wstring> names;
    const Status listed =
        files.listStreams(path, [&](const StreamEntry& stream) { names.push_back(stream.name); });
    if (!listed) return {ShredOutcome::failed, listed};
    ShredRequest quiet = request;  // the progress counts the file's own data only
    quiet.written = nullptr;
    quiet.hideName = false;
    for (const std::wstring& name : names) {
        std::unique_ptr<ExclusiveFile> stream;
        FileFacts facts;
        if (Status opened = files.openExclusive(path + L":" + name, stream); !opened || !stream)
            return {outcomeOf(opened), opened};
        if (Status asked = stream->facts(facts); !asked) return {ShredOutcome::failed, asked};
        const std::size_t unit = unitOf(*stream, facts, 0);
        if (!usableUnit(unit)) return {ShredOutcome::failed, Status::error(kErrorInvalidParameter)};
        const ShredResult result =
            overwriteAndRemove(*stream, name, facts.length, unit, false, facts.cached, quiet);
        if (result.outcome != ShredOutcome::wiped && result.outcome != ShredOutcome::interrupted)
            return result;
    }
    return {ShredOutcome::wiped, {}};
}

}  // namespace

ShredOutcome outcomeOf(const Status& status) {
    switch (status.code) {
        case kErrorSuccess:
            return ShredOutcome::wiped;
        case kErrorSharingViolation:
        case kErrorLockViolation:
            return ShredOutcome::inUse;
        case kErrorAccessDenied:
            return ShredOutcome::accessDenied;
        case kErrorFileNotFound:
        case kErrorPathNotFound:
            return ShredOutcome::gone;
        default:
            return ShredOutcome::failed;
    }
}

ShredResult ShredFile(FileSystem& files, const std::wstring& path, const ShredRequest& request) {
    if (request.stop.stop_requested()) return {ShredOutcome::notReached, {}};
    std::unique_ptr<ExclusiveFile> file;
    if (Status opened = files.openExclusive(path, file); !opened || !file)
        return {outcomeOf(opened), opened};

    FileFacts facts;
    if (Status asked = file->facts(facts); !asked) return {ShredOutcome::failed, asked};

    if (facts.attributes & kAttrReparsePoint) {
        const Status removed = file->remove();
        return {removed ? ShredOutcome::linkRemoved : outcomeOf(removed), removed};
    }
    if (facts.attributes & kAttrDirectory)
        return {ShredOutcome::failed, Status::error(kErrorAccessDenied)};
    // A link along the way (or, where the system cannot tell a link by its handle, the file's own
    // link) leads elsewhere: nothing there is ours to touch.
    const std::wstring expected =
        request.expectedFinalPath.empty() ? finalPathOf(files, path) : request.expectedFinalPath;
    if (!expected.empty() && !samePath(plainPath(facts.finalPath), plainPath(expected)))
        return {ShredOutcome::redirected, {}};
    // Bits that cannot be cleared make the writes or the removal below fail, which tells why.
    if (facts.attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem))
        static_cast<void>(file->clearAttributes());

    if (facts.links > 1 && !request.overwriteSharedData) {
        const Status removed = file->remove();
        return {removed ? ShredOutcome::unlinked : outcomeOf(removed), removed};
    }
    if (!request.overwrite) {
        const Status removed = file->remove();
        if (removed && request.written) request.written(facts.length);
        return {removed ? ShredOutcome::removed : outcomeOf(removed), removed};
    }

    const std::size_t unit = unitOf(*file, facts, request.ioUnit);
    if (!usableUnit(unit)) return {ShredOutcome::failed, Status::error(kErrorInvalidParameter)};
    const ShredResult streams = wipeStreams(files, path, request);
    ShredResult result =
        overwriteAndRemove(*file, path.substr(path.find_last_of(L'\\') + 1), facts.length, unit,
                           facts.links > 1, facts.cached, request);
    // Removed with a stream that kept its data (or whose read-back differed): not wiped.
    if (streams.outcome != ShredOutcome::wiped &&
        (result.outcome == ShredOutcome::wiped || result.outcome == ShredOutcome::nameKept)) {
        result.outcome = streams.outcome == ShredOutcome::notVerified
                             ? ShredOutcome::notVerified
                             : ShredOutcome::removedNotOverwritten;
        result.status = streams.status;
    }
    // A unit held through the cache says nothing of the folder's other files.
    result.ioUnit = facts.cached ? 0 : unit;
    return result;
}

int passCount(WipeMethod method) {
    switch (method) {
        case WipeMethod::onePass:
            return 1;
        case WipeMethod::quick:
            return 3;
        case WipeMethod::dod:
            return 7;
    }
    return 1;
}

}  // namespace purgeon
