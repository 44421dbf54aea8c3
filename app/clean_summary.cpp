// The texts of the question before a run and of the summary after it.
#include "app/clean_summary.h"

#include <optional>

#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

std::wstring counted(std::size_t count, const wchar_t* one, const wchar_t* many) {
    return std::to_wstring(count) + L" " + (count == 1 ? one : many);
}

// "Cache: 120 entries, 4.5 MB" (the size when known), with verb after the count.
std::wstring areaLine(const Area& area, const AreaResult& result, const wchar_t* verb,
                      const wchar_t* leftAlone) {
    std::wstring line = std::wstring(area.title) + L": ";
    if (!result.ran) return line + leftAlone + result.why;
    if (result.count) {
        line += counted(*result.count, area.one, area.many) + verb;
        if (result.bytes) line += L", " + sizeText(*result.bytes);
    } else {
        line += verb[0] == L'\0' ? L"all of it" : L"cleaned";
    }
    if (!result.why.empty()) line += L"; " + result.why;
    return line;
}

// What the area's clean freed: its own size, or the preview's when it removed what that counted.
std::optional<std::uint64_t> freedBy(const CleanReport::Entry& entry, const CleanReport& preview) {
    const AreaResult& result = entry.result;
    if (!result.ran) return std::nullopt;
    if (result.bytes) return result.bytes;
    const AreaResult* counted = preview.find(*entry.area);
    if (counted == nullptr || !counted->ran || !counted->bytes || !counted->count ||
        counted->count != result.count)
        return std::nullopt;
    return counted->bytes;
}

}  // namespace

std::uint64_t freedBytes(const CleanReport& report, const CleanReport& preview) {
    std::uint64_t bytes = 0;
    for (const CleanReport::Entry& entry : report.entries)
        if (const std::optional<std::uint64_t> freed = freedBy(entry, preview)) bytes += *freed;
    return bytes;
}

std::wstring cleanNowQuestion(const CleanReport& preview) {
    std::wstring text = L"Clean Now removes:\r\n";
    for (const CleanReport::Entry& entry : preview.entries)
        text += L"\r\n" + areaLine(*entry.area, entry.result, L"", L"left alone: ");
    return text + L"\r\n\r\nClean these now?";
}

std::wstring cleanSummary(const CleanReport& report, const CleanReport& preview) {
    bool sized = false;
    std::wstring lines;
    std::wstring notices;
    for (const CleanReport::Entry& entry : report.entries) {
        AreaResult shown = entry.result;
        shown.bytes = freedBy(entry, preview);
        sized = sized || shown.bytes.has_value();
        lines += L"\r\n" + areaLine(*entry.area, shown, L" removed", L"not cleaned: ");
        if (const std::wstring notice = browsersNotice(entry.result.browsers); !notice.empty())
            notices += L"\r\n\r\n" + notice;
    }
    std::wstring text =
        (sized ? L"Freed " + sizeText(freedBytes(report, preview)) : L"Cleaned") + L"\r\n" + lines;
    std::wstring notReached;
    for (const CleanReport::Entry& planned : preview.entries) {
        if (report.find(*planned.area) == nullptr)
            notReached += (notReached.empty() ? L"" : L", ") + std::wstring(planned.area->title);
    }
    if (!notReached.empty()) text += L"\r\n\r\nStopped before: " + notReached;
    return text + notices;
}

std::wstring browsersNotice(const BrowserClearing& clearing) {
    std::wstring text = closeBrowsersText(clearing);
    std::wstring failed;
    for (const std::wstring& line : clearing.failures) failed += L"\r\n" + line;
    if (!failed.empty())
        text += (text.empty() ? L"" : L"\r\n\r\n") +
                std::wstring(L"Not everything could be removed:") + failed;
    return text;
}

std::wstring folderWipeSummary(const WipeTally& tally, std::uint64_t bytes) {
    std::wstring text = counted(tally.wiped(), L"file", L"files") + L" wiped, " + sizeText(bytes);
    if (tally.notWiped() > 0) {
        text += L"\r\n" + counted(tally.notWiped(), L"file", L"files") + L" not wiped: " +
                tally.notWipedDetails() + L".";
    }
    return text;
}

}  // namespace purgeon
