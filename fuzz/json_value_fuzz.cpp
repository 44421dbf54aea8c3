// Fuzz target: the JSON reader and writer that the browsers' settings files go through.
#include <cstdint>
#include <optional>
#include <string>

#include "browsers/json_value.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/json_same.h"

using namespace purgeon;
using namespace purgeon::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<JsonValue> value = parseJson(bytesOf(data, size));
    if (!value) return 0;

    // What the program writes back (a Preferences file it rewrites) must read as what it read.
    const std::string written = toJson(*value);
    const std::optional<JsonValue> reread = parseJson(written);
    check(reread.has_value(), "what toJson writes is JSON again", shown(written));
    check(sameJson(*value, *reread), "the value written reads back as the same value",
          shown(written));
    const std::string rewritten = toJson(*reread);
    check(rewritten == written, "writing the value read back gives the same text",
          shown(written) + " then " + shown(rewritten));
    return 0;
}
