// The shredding engine: one exclusive handle per file, overwrite passes of 0x01 bytes in large
// writes, then removal through that handle.
#include "wipe/shred.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "wipe/folder_guard.h"

namespace purgeon {

namespace {

// One buffer of 0x01 bytes serves every write, whatever the file's size.
constexpr std::size_t kWriteSize = 1 << 20;
// Within a pass, what is written goes to the device every this many bytes as well.
constexpr std::uint64_t kFlushStretch = 64ull << 20;

const std::vector<unsigned char>& overwriteBuffer() {
    static const std::vector<unsigned char> buffer(kWriteSize, kShredByte);
    return buffer;
}

enum class Overwrite { done, failed, stopped };

// Runs the passes; a failed write or flush drops the rest, and so does a request to stop.
Overwrite overwrite(ExclusiveFile& file, std::uint64_t length, const ShredRequest& request,
                    Status& status) {
    const std::vector<unsigned char>& buffer = overwriteBuffer();
    // Progress counts the file's own bytes once a pass, not the block the pass adds past them.
    const std::uint64_t own = length;
    for (int pass = 1; pass <= request.passes; ++pass) {
        const std::uint64_t total = (length / kShredBlock + 1) * kShredBlock;
        for (std::uint64_t offset = 0; offset < total; offset += kWriteSize) {
            if (request.stop.stop_requested()) return Overwrite::stopped;
            const std::uint64_t chunk = std::min<std::uint64_t>(kWriteSize, total - offset);
            status = file.writeAt(offset, buffer.data(), static_cast<std::size_t>(chunk));
            if (!status) return Overwrite::failed;
            const std::uint64_t counted = offset < own ? std::min(chunk, own - offset) : 0;
            if (request.written && counted > 0) request.written(counted);
            // Handed to the device in stretches, so that no single wait keeps a stop waiting long.
            if ((offset + chunk) % kFlushStretch == 0 && offset + chunk < total) {
                status = file.flush();
                if (!status) return Overwrite::failed;
            }
        }
        status = file.flush();
        if (!status) return Overwrite::failed;
        length = total;  // nobody else can change the file while the handle holds it
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

    Status written;
    const Overwrite overwritten = overwrite(*file, facts.length, request, written);
    // Stopped part-way, the file stays: the user stopped the wipe, not asked for a removal.
    if (overwritten == Overwrite::stopped) return {ShredOutcome::interrupted, {}};
    const Status removed = file->remove();
    if (!removed) {
        if (overwritten == Overwrite::failed) return {outcomeOf(removed), removed};
        return {ShredOutcome::notRemoved, removed};
    }
    if (overwritten == Overwrite::failed) return {ShredOutcome::removedNotOverwritten, written};
    return {ShredOutcome::wiped, {}};
}

}  // namespace purgeon
