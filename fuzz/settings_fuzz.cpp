// Fuzz target: the check boxes and the shredding level read from the settings store. The input
// holds the stored texts, one per line in table order (the check boxes, then the shredding level);
// a missing line is a key that is not stored.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "browsers/utf8_text.h"
#include "fakes/fake_stores.h"
#include "fakes/plain_options.h"
#include "fuzz/fuzz_support.h"
#include "prefs/preferences.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

constexpr wchar_t kApplication[] = L" Purgeon";

using Controls = fakes::PlainOptions;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> lines = partsOf(bytesOf(data, size), '\n');
    fakes::FakeSettingsStore stored;
    std::size_t line = 0;
    for (const StoredOption& option : kStoredOptions) {
        if (option.kind != OptionKind::box && option.kind != OptionKind::shredLevel) continue;
        if (line >= lines.size()) break;
        stored.values[std::wstring(kApplication) + L"|" + option.section + L"|" + option.key] =
            fromUtf8(lines[line++]);
    }

    Controls read;
    check(readStoredPrefs(stored, kApplication, read).ok(), "stored texts read without failure");
    for (const int box : read.boxes)
        check(box >= 0 && box <= 2, "a check box reads as 0, 1 or 2", std::to_string(box));
    check(read.dodSelected == !read.quickSelected, "exactly one shredding level is selected");

    // "&Ok" writes what the controls hold; reading that gives the same controls again.
    fakes::FakeSettingsStore saved;
    check(writeStoredPrefs(saved, kApplication, read).ok(), "the preferences are written");
    check(saved.written.size() == kBoxCount + 1, "every box and the shredding level are written");
    Controls reread;
    check(readStoredPrefs(saved, kApplication, reread).ok(), "written texts read back");
    check(reread.boxes == read.boxes && reread.quickSelected == read.quickSelected &&
              reread.dodSelected == read.dodSelected,
          "the preferences written read back as they were");
    return 0;
}
