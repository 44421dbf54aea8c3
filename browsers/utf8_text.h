// Wide text to UTF-8 and back, for SQLite and the browsers' own files.
#pragma once

#include <string>
#include <string_view>

namespace purgeon {

// Invalid sequences become U+FFFD; wide text is UTF-16 where wchar_t has 16 bits, else UTF-32.
std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);
// Appends one character, U+0000 to U+10FFFF, in UTF-8.
void appendUtf8(std::string& out, char32_t c);

}  // namespace purgeon
