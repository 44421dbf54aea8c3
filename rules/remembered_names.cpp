// Naming what Windows' own traces remember.
#include "rules/remembered_names.h"

#include "platform/registry.h"
#include "prefs/registry_text.h"
#include "rules/rule_names.h"

namespace purgeon {

namespace {

bool readable(const std::wstring& text) {
    for (const wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code < 0x20 || (code >= 0x7F && code < 0xA0) || code == 0xFFFD) return false;
    }
    return !text.empty();
}

// Whether a NUL unit ends text within the data.
bool holdsNul(const std::vector<unsigned char>& data) {
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        if (data[i] == 0 && data[i + 1] == 0) return true;
    return false;
}

}  // namespace

std::wstring valueText(const RegistryEntry& value) {
    if (value.type != kRegSz && value.type != kRegExpandSz && value.type != kRegBinary) return {};
    // Binary data is text only when a NUL ends it: a shell item list seldom passes for one.
    if (value.type == kRegBinary && !holdsNul(value.data)) return {};
    std::wstring text = textFromUtf16(value.data);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, L"\\1") == 0)
        text.resize(text.size() - 2);
    return readable(text) ? text : std::wstring();
}

std::wstring rot13(std::wstring_view text) {
    std::wstring turned(text);
    for (wchar_t& c : turned) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(L'a' + (c - L'a' + 13) % 26);
        } else if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(L'A' + (c - L'A' + 13) % 26);
        }
    }
    return turned;
}

std::wstring countedProgram(std::wstring_view valueName) {
    const std::wstring name = rot13(valueName);
    if (name.rfind(L"UEME_", 0) == 0) return {};
    const std::vector<std::wstring> parts = pathParts(name);
    return parts.empty() || !readable(parts.back()) ? std::wstring() : parts.back();
}

std::wstring documentName(std::wstring_view fileName) {
    const std::size_t dot = fileName.find_last_of(L'.');
    return std::wstring(dot == std::wstring_view::npos || dot == 0 ? fileName
                                                                   : fileName.substr(0, dot));
}

}  // namespace purgeon
