// A rule file's bytes as lines of text: UTF-8 with or without a byte order mark, or UTF-16LE;
// lines ending in CRLF or LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace purgeon {

struct RuleLine {
    std::size_t number = 0;  // counted from 1
    std::wstring text;       // without its line break
    // false: the line's bytes are not text in the file's encoding, or hold a control character
    // other than the tab (a NUL, a carriage return inside the line)
    bool valid = true;
};

enum class RuleEncoding { utf8, utf8WithMark, utf16le };

struct RuleText {
    RuleEncoding encoding = RuleEncoding::utf8;
    std::vector<RuleLine> lines;
};

// Splits and decodes the file. UTF-16LE is told by its byte order mark, or by a first character
// below U+0100 whose second byte is zero; anything else is read as UTF-8.
RuleText decodeRuleText(std::string_view bytes);

}  // namespace purgeon
