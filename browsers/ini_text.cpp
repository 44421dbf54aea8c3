// Reading an INI file into its sections.
#include "browsers/ini_text.h"

#include <algorithm>
#include <cwctype>

namespace purgeon {

namespace {

std::wstring trimmed(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t\r\n\xFEFF");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
}

bool sameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

}  // namespace

std::wstring IniSection::value(const std::wstring& key) const {
    for (const auto& [name, text] : values)
        if (sameIgnoringCase(name, key)) return text;
    return {};
}

std::vector<IniSection> parseIni(const std::wstring& text) {
    std::vector<IniSection> sections;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == L';' || line[0] == L'#') continue;
        if (line.front() == L'[' && line.back() == L']') {
            sections.push_back({trimmed(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        const size_t equals = line.find(L'=');
        if (equals == std::wstring::npos || sections.empty()) continue;
        sections.back().values.emplace_back(trimmed(line.substr(0, equals)),
                                            trimmed(line.substr(equals + 1)));
    }
    return sections;
}

}  // namespace purgeon
