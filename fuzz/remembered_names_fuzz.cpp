// Fuzz target: naming what Windows' own traces remember. The first byte picks the value's type,
// the rest is its data as the registry hands it over; the data is also taken as a value's name.
#include <cstdint>
#include <string>

#include "browsers/utf8_text.h"
#include "fuzz/fuzz_support.h"
#include "platform/registry.h"
#include "rules/remembered_names.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

bool readable(const std::wstring& text) {
    for (const wchar_t c : text)
        if (static_cast<std::uint32_t>(c) < 0x20) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    RegistryEntry value;
    value.type = data[0] & 0x07;
    value.data.assign(data + 1, data + size);
    const std::wstring text = valueText(value);
    check(readable(text), "a value's text holds no control character", shown(text));
    if (value.type != kRegSz && value.type != kRegExpandSz && value.type != kRegBinary)
        check(text.empty(), "only text and binary values are read as text", shown(text));

    const std::wstring name = fromUtf8(bytesOf(data + 1, size - 1));
    check(rot13(rot13(name)) == name, "ROT13 twice gives the name back", shown(name));
    const std::wstring program = countedProgram(name);
    check(program.find(L'\\') == std::wstring::npos && readable(program),
          "a program is named by its last part, in readable text", shown(program));
    const std::wstring document = documentName(name);
    check(name.compare(0, document.size(), document) == 0,
          "a document's name is the start of its shortcut's", shown(document));
    return 0;
}
