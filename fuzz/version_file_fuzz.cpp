// Fuzz target: the published version file, read for its first field and that field's version
// number, as the update check reads what it downloaded.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "fuzz/fuzz_support.h"
#include "update/update_check.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

// The number the text spells, read by the C library, for texts the update check accepts.
double libraryReading(const std::wstring& text) {
    std::string ascii;
    for (const wchar_t c : text) ascii += static_cast<char>(c);
    return std::strtod(ascii.c_str(), nullptr);
}

bool close(double a, double b) {
    if (std::isinf(a) || std::isinf(b)) return a == b;
    return std::fabs(a - b) <= 1e-9 * std::fmax(1.0, std::fabs(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(bytesOf(data, size));
    const std::string text = withoutByteOrderMark(content);
    const bool marked = content.rfind("\xEF\xBB\xBF", 0) == 0;
    check(text == (marked ? content.substr(3) : content), "only a leading byte-order mark goes");

    const std::wstring field = firstField(text);
    for (const wchar_t c : field)
        check(c >= 0 && c <= 0xFF, "the field is the file's bytes", shown(field));
    const std::size_t start = text.find_first_not_of(" \t");
    if (start != std::string::npos && text[start] == '"') {
        check(field.find(L'"') == std::wstring::npos, "a quoted field ends at its closing quote",
              shown(field));
    } else {
        check(field.find_first_of(L",\r\n") == std::wstring::npos,
              "a field ends at a comma or a line break", shown(field));
    }

    const std::optional<double> version = versionNumber(field);
    if (!version) return 0;
    check(field.find_first_not_of(L"0123456789. \t") == std::wstring::npos,
          "only digits, a point and trailing blanks make a version", shown(field));
    check(!std::isnan(*version) && *version >= 0, "a version is a number, not below zero",
          shown(field));
    check(close(*version, libraryReading(field)), "a version reads as the number its digits spell",
          shown(field));
    return 0;
}
