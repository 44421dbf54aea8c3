// Decoding a rule file into lines.
#include "rules/rule_text.h"

#include <cstdint>

namespace purgeon {

namespace {

void appendCodePoint(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(c));
}

// Decodes one line of UTF-8; false when a sequence is broken, overlong or a surrogate.
bool decodeUtf8(std::string_view bytes, std::wstring& out) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        // No line of text holds a NUL or a control character but the tab.
        if (lead < 0x20 && lead != '\t') return false;
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        std::size_t extra = 0;
        char32_t c = 0;
        char32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            c = lead & 0x1F;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            c = lead & 0x0F;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            c = lead & 0x07;
            least = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        appendCodePoint(out, c);
        i += extra + 1;
    }
    return true;
}

// Decodes UTF-16LE code units; false for an odd byte count or an unpaired surrogate.
bool decodeUtf16(std::string_view bytes, std::wstring& out) {
    if (bytes.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const char32_t unit =
            static_cast<unsigned char>(bytes[i]) |
            (static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 3 >= bytes.size()) return false;
            const char32_t low =
                static_cast<unsigned char>(bytes[i + 2]) |
                (static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 3])) << 8);
            if (low < 0xDC00 || low > 0xDFFF) return false;
            appendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            i += 2;
        } else if ((unit >= 0xDC00 && unit <= 0xDFFF) || (unit < 0x20 && unit != L'\t')) {
            return false;
        } else {
            out.push_back(static_cast<wchar_t>(unit));
        }
    }
    return true;
}

void addLine(RuleText& text, std::size_t number, bool valid, std::wstring line) {
    text.lines.push_back({number, valid ? std::move(line) : std::wstring(), valid});
}

}  // namespace

RuleText decodeRuleText(std::string_view bytes) {
    RuleText text;
    const bool utf16Mark = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                           static_cast<unsigned char>(bytes[1]) == 0xFE;
    const bool utf16Guess = !utf16Mark && bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0;
    if (utf16Mark || utf16Guess) {
        text.encoding = RuleEncoding::utf16le;
        if (utf16Mark) bytes.remove_prefix(2);
        std::size_t number = 1;
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t end = start;
            while (end + 1 < bytes.size() && !(bytes[end] == '\n' && bytes[end + 1] == 0)) end += 2;
            if (end + 1 >= bytes.size()) end = bytes.size();
            std::wstring line;
            std::string_view units = bytes.substr(start, end - start);
            if (units.size() >= 2 && units[units.size() - 2] == '\r' && units.back() == 0)
                units.remove_suffix(2);
            const bool valid = decodeUtf16(units, line);
            addLine(text, number++, valid, std::move(line));
            start = end + 2;
        }
        return text;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        text.encoding = RuleEncoding::utf8WithMark;
        bytes.remove_prefix(3);
    }
    std::size_t number = 1;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::wstring line;
        std::string_view units = bytes.substr(start, end - start);
        if (!units.empty() && units.back() == '\r') units.remove_suffix(1);
        const bool valid = decodeUtf8(units, line);
        addLine(text, number++, valid, std::move(line));
        start = end + 1;
    }
    return text;
}

}  // namespace purgeon
