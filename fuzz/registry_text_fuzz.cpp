// Fuzz target: a registry value's data read as text. The first byte picks the value's type (and
// whether its data could be read), the rest is the data as the registry hands it over.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "prefs/registry_text.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

// The text as UTF-16 little-endian bytes, characters past U+FFFF as surrogate pairs.
std::vector<unsigned char> utf16Bytes(const std::wstring& text) {
    std::vector<unsigned char> bytes;
    auto unit = [&](std::uint32_t u) {
        bytes.push_back(static_cast<unsigned char>(u & 0xFF));
        bytes.push_back(static_cast<unsigned char>(u >> 8));
    };
    for (const wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code >= 0x10000) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
    }
    return bytes;
}

// The data up to its first NUL unit, whole units only.
std::vector<unsigned char> untilNul(const std::vector<unsigned char>& data) {
    std::vector<unsigned char> units;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        if (data[i] == 0 && data[i + 1] == 0) break;
        units.push_back(data[i]);
        units.push_back(data[i + 1]);
    }
    return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    RegValue value;
    value.type = data[0] & 0x7F;
    value.dataRead = (data[0] & 0x80) == 0;
    value.data.assign(data + 1, data + size);
    const std::wstring text = QueryRegistryValue(value);

    if (!value.dataRead) {
        check(text.empty(), "data that could not be read gives no text");
        return 0;
    }
    switch (value.type) {
        case kRegSz:
        case kRegExpandSz:
            check(text.find(L'\0') == std::wstring::npos, "text ends at its first NUL");
            check(utf16Bytes(text) == untilNul(value.data),
                  "the text is the data up to its first NUL, nothing lost or changed", shown(text));
            break;
        case kRegDword: {
            if (value.data.size() != 4) {
                check(text.empty(), "a DWORD of another size gives no text", shown(text));
                break;
            }
            const auto raw =
                static_cast<std::int32_t>(static_cast<std::uint32_t>(value.data[0]) |
                                          (static_cast<std::uint32_t>(value.data[1]) << 8) |
                                          (static_cast<std::uint32_t>(value.data[2]) << 16) |
                                          (static_cast<std::uint32_t>(value.data[3]) << 24));
            check(text == std::to_wstring(raw), "a DWORD reads as its signed decimal", shown(text));
            break;
        }
        default:
            check(text.empty(), "other types give no text", shown(text));
    }
    return 0;
}
