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

const std::vector<unsigned char>& overwriteBuffer() {
    static const std::vector<unsigned char> buffer(kWriteSize, kShredByte);
    return buffer;
}

// Runs the passes; false when a write or a flush failed (the rest of that pass is dropped).
bool overwrite(ExclusiveFile& file, std::uint64_t length, int passes, Status& status) {
    const std::vector<unsigned char>& buffer = overwriteBuffer();
    for (int pass = 1; pass <= passes; ++pass) {
        const std::uint64_t total = (length / kShredBlock + 1) * kShredBlock;
        for (std::uint64_t offset = 0; offset < total; offset += kWriteSize) {
            const std::uint64_t chunk = std::min<std::uint64_t>(kWriteSize, total - offset);
            status = file.writeAt(offset, buffer.data(), static_cast<std::size_t>(chunk));
            if (!status) return false;
        }
        status = file.flush();
        if (!status) return false;
        length = total;  // nobody else can change the file while the handle holds it
    }
    return true;
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
    if (facts.attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem)) file->clearAttributes();

    if (facts.links > 1 && !request.overwriteSharedData) {
        const Status removed = file->remove();
        return {removed ? ShredOutcome::unlinked : outcomeOf(removed), removed};
    }

    Status written;
    const bool overwritten = overwrite(*file, facts.length, request.passes, written);
    const Status removed = file->remove();
    if (!removed) {
        if (!overwritten) return {outcomeOf(removed), removed};
        return {ShredOutcome::notRemoved, removed};
    }
    if (!overwritten) return {ShredOutcome::removedNotOverwritten, written};
    return {ShredOutcome::wiped, {}};
}

}  // namespace purgeon
