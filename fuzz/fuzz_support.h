// What the fuzz targets share: the input as text or in parts, and stopping on a broken property.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace purgeon::fuzz {

// The input bytes as they came.
inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input cut at every separator byte: a record of fields that the mutator can grow, shrink and
// reorder. There is always at least one part.
inline std::vector<std::string_view> partsOf(std::string_view input, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = input.find(separator, start);
        if (end == std::string_view::npos) {
            parts.push_back(input.substr(start));
            return parts;
        }
        parts.push_back(input.substr(start, end - start));
        start = end + 1;
    }
}

// Wide text for a message: printable ASCII as it is, anything else as \x{...}.
// The text with ASCII letters in capitals, as case-blind names compare.
inline std::wstring asciiUpper(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return text;
}

inline std::string shown(std::wstring_view text) {
    std::string out;
    for (const wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char code[16];
            std::snprintf(code, sizeof code, "\\x{%X}", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out;
}

inline std::string shown(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            out += code;
        }
    }
    return out;
}

// A property of the parser that the input broke: say which, then abort, so that libFuzzer keeps
// the input as a crash and the run fails.
[[noreturn]] inline void broken(std::string_view property, std::string_view detail = {}) {
    std::fprintf(stderr, "\n== property broken: %.*s\n", static_cast<int>(property.size()),
                 property.data());
    if (!detail.empty())
        std::fprintf(stderr, "   %.*s\n", static_cast<int>(detail.size()), detail.data());
    std::abort();
}

inline void check(bool holds, std::string_view property, std::string_view detail = {}) {
    if (!holds) broken(property, detail);
}

}  // namespace purgeon::fuzz
