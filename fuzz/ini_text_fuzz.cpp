// Fuzz target: the INI reader behind Firefox's profiles.ini, from the file's UTF-8 bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "browsers/ini_text.h"
#include "browsers/utf8_text.h"
#include "fuzz/fuzz_support.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

bool trimmedText(const std::wstring& text) {
    const std::wstring blanks = L" \t\r\n";
    return text.empty() ||
           (blanks.find(text.front()) == std::wstring::npos && text.front() != L'\xFEFF' &&
            blanks.find(text.back()) == std::wstring::npos);
}

// The sections written out again as an INI file.
std::wstring written(const std::vector<IniSection>& sections) {
    std::wstring text;
    for (const IniSection& section : sections) {
        text += L"[" + section.name + L"]\n";
        for (const auto& [key, value] : section.values) text += key + L"=" + value + L"\n";
    }
    return text;
}

bool same(const std::vector<IniSection>& a, const std::vector<IniSection>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].values != b[i].values) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<IniSection> sections = parseIni(fromUtf8(bytesOf(data, size)));
    for (const IniSection& section : sections) {
        check(trimmedText(section.name), "a section name has no blanks around it",
              shown(section.name));
        check(section.name.find(L'\n') == std::wstring::npos, "a section name is one line");
        for (const auto& [key, value] : section.values) {
            check(trimmedText(key) && trimmedText(value), "keys and values have no blanks around",
                  shown(key) + " = " + shown(value));
            check(key.find(L'=') == std::wstring::npos, "a key holds no '='", shown(key));
            check((key + value).find(L'\n') == std::wstring::npos, "a value is one line");
        }
        if (!section.values.empty())
            check(section.value(section.values.front().first) == section.values.front().second,
                  "a section's first key gives its own value", shown(section.values.front().first));
    }
    // What the reader keeps is a file of its own: written out and read again, it is the same.
    const std::wstring again = written(sections);
    check(same(parseIni(again), sections), "the sections written out read back the same",
          shown(again));
    return 0;
}
