// Shred outcomes counted and told.
#include "wipe/wipe_report.h"

#include <cstdio>
#include <cwchar>

namespace purgeon {

namespace {

// How a count of files of one outcome is told, in the order the reasons are listed.
struct OutcomeWords {
    ShredOutcome outcome;
    const wchar_t* many;  // after the count
};
constexpr OutcomeWords kNotWiped[] = {
    {ShredOutcome::inUse, L"in use by another program"},
    {ShredOutcome::removed, L"removed without overwriting"},
    {ShredOutcome::accessDenied, L"access denied"},
    {ShredOutcome::notRemoved, L"overwritten but not removed"},
    {ShredOutcome::removedNotOverwritten, L"removed but not overwritten"},
    {ShredOutcome::notVerified, L"overwritten and removed but not verified"},
    {ShredOutcome::nameKept, L"overwritten and removed, their names perhaps still on the disk"},
    {ShredOutcome::unlinked, L"only unlinked (their data has another name)"},
    {ShredOutcome::linkRemoved, L"links removed without following them"},
    {ShredOutcome::redirected, L"reached through a link and left alone"},
    {ShredOutcome::interrupted, L"stopped part-way (partly overwritten, still there)"},
    {ShredOutcome::notReached, L"not reached before the wipe was stopped"},
    {ShredOutcome::gone, L"no longer there"},
    {ShredOutcome::failed, L"failed"},
};

std::wstring trimmed(std::wstring text) {
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.'))
        text.pop_back();
    return text;
}

}  // namespace

size_t WipeTally::total() const {
    size_t sum = 0;
    for (size_t count : m_counts) sum += count;
    return sum;
}

bool nameRemoved(ShredOutcome outcome) {
    switch (outcome) {
        case ShredOutcome::wiped:
        case ShredOutcome::removed:
        case ShredOutcome::unlinked:
        case ShredOutcome::linkRemoved:
        case ShredOutcome::removedNotOverwritten:
        case ShredOutcome::notVerified:
        case ShredOutcome::nameKept:
            return true;
        default:
            return false;
    }
}

size_t WipeTally::removed() const {
    size_t sum = 0;
    for (size_t outcome = 0; outcome < m_counts.size(); ++outcome) {
        if (nameRemoved(static_cast<ShredOutcome>(outcome))) sum += m_counts[outcome];
    }
    return sum;
}

std::wstring WipeTally::notWipedDetails() const {
    std::wstring details;
    for (const OutcomeWords& words : kNotWiped) {
        const size_t n = count(words.outcome);
        if (n == 0) continue;
        if (!details.empty()) details += L", ";
        details += std::to_wstring(n) + L" " + words.many;
    }
    return details;
}

std::wstring wipeCountsText(const WipeTally& tally) {
    std::wstring text = std::to_wstring(tally.wiped()) + L" file(s) wiped, " +
                        std::to_wstring(tally.notWiped()) + L" not wiped";
    if (tally.notWiped() > 0) text += L" (" + tally.notWipedDetails() + L")";
    return text;
}

std::wstring fileWipeMessage(const std::wstring& name, const ShredResult& result,
                             const std::wstring& systemText) {
    // What follows the name; with a reason, the system's words for the failing step close it.
    struct Words {
        ShredOutcome outcome;
        const wchar_t* text;
        bool reason;
    };
    static constexpr Words kWords[] = {
        {ShredOutcome::wiped, L" wiped", false},
        {ShredOutcome::removed, L" was removed", false},
        {ShredOutcome::unlinked, L" was removed, but not overwritten: its data has another name.",
         false},
        {ShredOutcome::linkRemoved,
         L" is a link: the link was removed, and what it points to was left as it was.", false},
        {ShredOutcome::removedNotOverwritten, L" was removed, but could not be overwritten", true},
        {ShredOutcome::notRemoved, L" was overwritten, but could not be removed", true},
        {ShredOutcome::nameKept,
         L" was overwritten and removed, but its name may still be on the disk: renaming it or "
         L"refilling its folder's index failed",
         true},
        {ShredOutcome::inUse, L" could not be wiped: it is in use by another program.", false},
        {ShredOutcome::accessDenied, L" could not be wiped: access was denied.", false},
        {ShredOutcome::gone, L" could not be wiped: it no longer exists.", false},
        {ShredOutcome::redirected,
         L" could not be wiped: it is reached through a link, which was not followed.", false},
        {ShredOutcome::interrupted,
         L" was not wiped: the wipe was stopped part-way, and the file is still there, partly "
         L"overwritten.",
         false},
        {ShredOutcome::notReached, L" was not wiped: the wipe was stopped before it began.", false},
        {ShredOutcome::failed, L" could not be wiped", true},
    };
    const std::wstring why = trimmed(systemText);
    if (result.outcome == ShredOutcome::notVerified) {
        // A read that failed or was stopped has the system's words; a difference has none.
        return name + L" was overwritten and removed, but not verified: " +
               (why.empty() ? L"what was read back differs from what was written" : why) + L".";
    }
    for (const Words& words : kWords) {
        if (words.outcome != result.outcome) continue;
        if (!words.reason) return name + words.text;
        return name + words.text + (why.empty() ? L"." : L": " + why + L".");
    }
    return name + L" could not be wiped.";
}

std::wstring folderWipeMessage(const WipeTally& tally) {
    std::wstring text = std::to_wstring(tally.wiped()) + L"File(s) wiped";
    if (tally.notWiped() > 0) {
        text += L"\r\n" + std::to_wstring(tally.notWiped()) + L" file(s) not wiped: " +
                tally.notWipedDetails() + L".";
    }
    return text;
}

std::wstring sizeText(std::uint64_t bytes) {
    if (bytes == 1) return L"1 byte";
    if (bytes < 1024) return std::to_wstring(bytes) + L" bytes";
    const wchar_t* units[] = {L"KB", L"MB", L"GB", L"TB"};
    double value = static_cast<double>(bytes) / 1024.0;
    size_t unit = 0;
    while (value >= 1024.0 && unit + 1 < std::size(units)) {
        value /= 1024.0;
        ++unit;
    }
    wchar_t buffer[32];
    std::swprintf(buffer, std::size(buffer), L"%.1f %ls", value, units[unit]);
    return buffer;
}

}  // namespace purgeon
