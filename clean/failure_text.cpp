// Failures in the system's words.
#include "clean/failure_text.h"

#include <cstdint>
#include <cstdio>
#include <cwchar>

namespace purgeon {

std::wstring systemWords(SystemErrors& errors, const Status& status) {
    if (status.ok()) return {};
    // The system ends its words with a line break; the line that quotes them ends on its own.
    std::wstring words = errors.text(status.code);
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n')) words.pop_back();
    return words;
}

std::wstring failureLine(SystemErrors& errors, const std::wstring& what, const Status& status) {
    if (status.ok()) return {};
    return what + L": " + systemWords(errors, status);
}

std::vector<std::wstring> unlistedLines(SystemErrors& errors, const std::wstring& area,
                                        const std::vector<UnlistedFolder>& unlisted) {
    std::vector<std::wstring> lines;
    for (const UnlistedFolder& folder : unlisted)
        lines.push_back(failureLine(errors, area + L": " + folder.path + L" could not be listed",
                                    folder.status));
    return lines;
}

void logFailure(RunLog& log, SystemErrors& errors, const std::wstring& what, const Status& status) {
    if (!status) log.write(failureLine(errors, what, status));
}

std::wstring hresultText(long code) {
    wchar_t buffer[16];
    std::swprintf(buffer, std::size(buffer), L"0x%08lX",
                  static_cast<unsigned long>(static_cast<std::uint32_t>(code)));
    return buffer;
}

}  // namespace purgeon
