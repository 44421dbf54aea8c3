// Fuzz target: the UTF-8 conversions that every browser file and database text goes through. The
// input is read as UTF-8 bytes, and again as wide characters (three bytes each).
#include <cstdint>
#include <string>
#include <string_view>

#include "browsers/utf8_text.h"
#include "fuzz/fuzz_support.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

// Well-formed UTF-8 as the Unicode standard draws it: no overlong forms, no surrogates, nothing
// past U+10FFFF.
bool wellFormed(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        const auto within = [&](std::size_t k, unsigned lo, unsigned hi) {
            return i + k < text.size() && b(k) >= lo && b(k) <= hi;
        };
        const unsigned lead = b(0);
        if (lead < 0x80) {
            i += 1;
        } else if (lead >= 0xC2 && lead <= 0xDF && within(1, 0x80, 0xBF)) {
            i += 2;
        } else if (lead >= 0xE0 && lead <= 0xEF &&
                   within(1, lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF) &&
                   within(2, 0x80, 0xBF)) {
            i += 3;
        } else if (lead >= 0xF0 && lead <= 0xF4 &&
                   within(1, lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF) &&
                   within(2, 0x80, 0xBF) && within(3, 0x80, 0xBF)) {
            i += 4;
        } else {
            return false;
        }
    }
    return true;
}

bool scalarValue(wchar_t c) {
    const auto code = static_cast<std::uint32_t>(c);
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = bytesOf(data, size);

    // Bytes to wide text and back: well-formed text comes back byte for byte, and what is read
    // once reads the same ever after.
    const std::wstring wide = fromUtf8(bytes);
    for (const wchar_t c : wide) check(scalarValue(c), "UTF-8 reads as characters", shown(wide));
    const std::string narrow = toUtf8(wide);
    check(wellFormed(narrow), "toUtf8 writes well-formed UTF-8", shown(narrow));
    check(fromUtf8(narrow) == wide, "text read and written reads the same again", shown(narrow));
    if (wellFormed(bytes))
        check(narrow == bytes, "well-formed UTF-8 comes back byte for byte", shown(bytes));

    // Any wide text, as a file name or a title may hold it: written as well-formed UTF-8, a
    // surrogate pair as the one character it stands for, any other character as itself or, when
    // it is none (a lone surrogate, past U+10FFFF), as U+FFFD.
    std::wstring any;
    for (std::size_t i = 0; i + 3 <= size; i += 3) {
        std::uint32_t code = data[i] | (data[i + 1] << 8) | (data[i + 2] << 16);
        if (data[i + 2] == 0xFF) code |= 0xFF000000u;
        any += static_cast<wchar_t>(code);
    }
    const std::string written = toUtf8(any);
    check(wellFormed(written), "any wide text is written as well-formed UTF-8",
          shown(any) + " as " + shown(written));
    std::u32string expected;
    for (std::size_t i = 0; i < any.size(); ++i) {
        const auto code = static_cast<std::uint32_t>(any[i]);
        const auto next = i + 1 < any.size() ? static_cast<std::uint32_t>(any[i + 1]) : 0u;
        if (code >= 0xD800 && code < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
            expected += static_cast<char32_t>(0x10000 + ((code - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else {
            expected += scalarValue(any[i]) ? static_cast<char32_t>(code) : U'\xFFFD';
        }
    }
    std::u32string reread;
    for (const wchar_t c : fromUtf8(written)) reread += static_cast<char32_t>(c);
    check(reread == expected,
          "a surrogate pair is written as its character, any other as itself or U+FFFD",
          shown(any));
    return 0;
}
