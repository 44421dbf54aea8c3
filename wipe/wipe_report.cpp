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
    {ShredOutcome::accessDenied, L"access denied"},
    {ShredOutcome::notRemoved, L"overwritten but not removed"},
    {ShredOutcome::removedNotOverwritten, L"removed but not overwritten"},
    {ShredOutcome::unlinked, L"only unlinked (their data has another name)"},
    {ShredOutcome::linkRemoved, L"links removed without following them"},
    {ShredOutcome::redirected, L"reached through a link and left alone"},
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

std::wstring fileWipeMessage(const std::wstring& name, const ShredResult& result,
                             const std::wstring& systemText) {
    switch (result.outcome) {
        case ShredOutcome::wiped:
            return name + L" wiped";
        case ShredOutcome::unlinked:
            return name + L" was removed, but not overwritten: its data has another name.";
        case ShredOutcome::linkRemoved:
            return name +
                   L" is a link: the link was removed, and what it points to was left as "
                   L"it was.";
        case ShredOutcome::removedNotOverwritten:
            return name + L" was removed, but could not be overwritten: " + trimmed(systemText) +
                   L".";
        case ShredOutcome::notRemoved:
            return name + L" was overwritten, but could not be removed: " + trimmed(systemText) +
                   L".";
        case ShredOutcome::inUse:
            return name + L" could not be wiped: it is in use by another program.";
        case ShredOutcome::accessDenied:
            return name + L" could not be wiped: access was denied.";
        case ShredOutcome::gone:
            return name + L" could not be wiped: it no longer exists.";
        case ShredOutcome::redirected:
            return name +
                   L" could not be wiped: it is reached through a link, which was not "
                   L"followed.";
        case ShredOutcome::failed:
            break;
    }
    const std::wstring why = trimmed(systemText);
    return name + L" could not be wiped" + (why.empty() ? L"." : L": " + why + L".");
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
