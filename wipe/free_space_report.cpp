// The free-space wipe's texts.
#include "wipe/free_space_report.h"

#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

std::wstring trimmed(std::wstring text) {
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.'))
        text.pop_back();
    return text;
}

std::wstring count(std::size_t n) { return std::to_wstring(n); }

std::wstring notLocalReason(DriveKind kind) {
    const std::wstring reason = L"it is not a local fixed or removable disk";
    switch (kind) {
        case DriveKind::optical:
            return reason + L" but a CD or DVD drive";
        case DriveKind::ramDisk:
            return reason + L" but a RAM disk";
        case DriveKind::noRoot:
            return L"the system knows no such volume";
        default:
            return reason;
    }
}

}  // namespace

std::wstring freeSpaceRefusal(const FreeSpaceTarget& target) {
    std::wstring named = target.folder;
    std::wstring reason;
    switch (target.verdict) {
        case FreeSpaceVerdict::allowed:
            return {};
        case FreeSpaceVerdict::relative:
            reason = L"it is not a full path";
            break;
        case FreeSpaceVerdict::unresolvable:
            reason = L"it does not exist or cannot be opened";
            break;
        case FreeSpaceVerdict::noVolume:
            reason = L"the system names no volume for it";
            break;
        case FreeSpaceVerdict::network:
            named = target.root;
            reason = L"it is a network drive";
            break;
        case FreeSpaceVerdict::notLocalDisk:
            named = target.root;
            reason = notLocalReason(target.kind);
            break;
    }
    return L"The free space of " + named + L" cannot be wiped: " + reason + L".";
}

std::wstring freeSpaceQuestion(const std::wstring& root, std::uint64_t freeBytes) {
    return L"Wipe the free space of " + root + L"?\r\n\r\nPurgeon fills its " +
           sizeText(freeBytes) + L" of free space with overwrite data, in a folder of its own (" +
           fillFolderOf(root) +
           L"), and then removes it. While it runs, other programs may briefly find the disk "
           L"full.";
}

std::wstring freeSpaceMessage(const std::wstring& root, const FreeSpaceResult& result,
                              const std::wstring& systemText) {
    const bool removed = result.notRemoved == 0;
    const std::wstring written = sizeText(result.bytesWritten);
    std::wstring text;
    switch (result.outcome) {
        case FillOutcome::filled:
            text = L"The free space of " + root + L" was wiped: " + written +
                   L" of overwrite data written" + (removed ? L" and removed." : L".");
            break;
        case FillOutcome::stopped:
            text = L"The wipe of the free space of " + root + L" was stopped after " + written +
                   (removed ? L"; what it had written was removed." : L".");
            break;
        case FillOutcome::failed: {
            const std::wstring why = trimmed(systemText);
            text = L"The free space of " + root + L" could not be wiped completely" +
                   (why.empty() ? L"." : L": " + why + L".") +
                   (removed ? L" What had been written (" + written + L") was removed." : L"");
            break;
        }
        case FillOutcome::folderInTheWay:
            return L"The free space of " + root + L" could not be wiped: the name of its folder " +
                   fillFolderOf(root) + L" is taken by a file or by a link to elsewhere.";
    }
    if (!removed) {
        text += L"\r\n" + count(result.notRemoved) + L" fill file(s) could not be removed from " +
                fillFolderOf(root) + L"; Purgeon removes them when it next starts.";
    }
    return text;
}

std::wstring freeSpaceLogLine(const std::wstring& root, const FreeSpaceResult& result,
                              const std::wstring& systemText) {
    std::wstring line = L"Free space of " + root + L": ";
    switch (result.outcome) {
        case FillOutcome::filled:
            line += L"wiped";
            break;
        case FillOutcome::stopped:
            line += L"stopped by the user";
            break;
        case FillOutcome::failed:
            line += L"failed: " + trimmed(systemText);
            break;
        case FillOutcome::folderInTheWay:
            return line + L"not wiped: the name of its fill folder is taken.";
    }
    line += L"; " + sizeText(result.bytesWritten) + L" of " + sizeText(result.freeBytes) +
            L" free written in " + count(result.largeFiles) + L" large and " +
            count(result.smallFiles) + L" small fill file(s)";
    if (result.recordFolders > 0)
        line += L" and " + count(result.recordFolders) +
                L" folder(s) for the file table's free records";
    if (result.leftovers > 0)
        line += L", after " + count(result.leftovers) + L" left by an earlier wipe were removed";
    line += result.notRemoved == 0
                ? std::wstring(L"; every fill file removed")
                : L"; " + count(result.notRemoved) + L" fill file(s) or folder(s) not removed";
    if (!result.recordsFlushed)
        line += L"; the volume could not be flushed as a whole (error " +
                std::to_wstring(result.recordsFlushed.code) + L")" +
                (result.outcome == FillOutcome::stopped
                     ? L", and the stop cut short the wait for the system to write its own "
                       L"records of the fill"
                     : L", so the fill waited for the system to write its own records of it");
    return line + L".";
}

std::wstring leftoverLogLine(const LeftoverSweep& sweep) {
    std::wstring line =
        L"Free space: " + count(sweep.removed) + L" fill file(s) left by an earlier wipe removed";
    if (sweep.notRemoved > 0) line += L", " + count(sweep.notRemoved) + L" could not be";
    return line + L".";
}

}  // namespace purgeon
