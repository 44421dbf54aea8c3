// Wide text to UTF-8 and back.
#include "browsers/utf8_text.h"

namespace purgeon {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendWide(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(c);
}

}  // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        // A surrogate pair is one character whatever the width of wchar_t, and a lone surrogate
        // is no character, so both builds write the same bytes for the same text.
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() &&
            static_cast<char32_t>(text[i + 1]) >= 0xDC00 &&
            static_cast<char32_t>(text[i + 1]) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacement;
        }
        if (c > 0x10FFFF) c = kReplacement;
        appendUtf8(out, c);
    }
    return out;
}

std::wstring fromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80       ? 1
                              : lead >> 5 == 6  ? 2
                              : lead >> 4 == 14 ? 3
                              : lead >> 3 == 30 ? 4
                                                : 0;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : lead & (0x7F >> length);
        bool valid = length != 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = next >> 6 == 2;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (c < kLeast[length] || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF))
            valid = false;
        if (!valid) {
            appendWide(out, kReplacement);
            ++i;
            continue;
        }
        appendWide(out, c);
        i += length;
    }
    return out;
}

}  // namespace purgeon
