// The areas a run from the command line cleans or previews: one row each, in the order a run
// takes them. The command line's names, its usage text and its summary come from this table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace purgeon {

class Program;

// What one area's clean or preview came to.
struct AreaOutcome {
    bool ran = true;                     // false: the area was left as it was; why says why
    std::optional<std::size_t> count;    // items removed (in a preview: that would be), if known
    std::optional<std::uint64_t> bytes;  // their size, when known
    std::wstring place;                  // the folder the area is, when it is one
    std::wstring why;  // what was left or spared, and why; or why the area was left alone
    bool done = true;  // everything asked of the area was done (in a preview: can be done)
};

// What a step works with: the program (without windows) and the stored options it reads.
struct AreaRun {
    Program& program;
    bool deletePasswords = false;  // "Delete Cached passwords": the cache spares no entry
};

using AreaStep = AreaOutcome (*)(AreaRun& run);

struct CleanArea {
    const wchar_t* name;   // on the command line, in any case: "recyclebin"
    const wchar_t* title;  // at the start of its summary line: "Recycle Bin"
    const wchar_t* one;    // one item of it: "item"
    const wchar_t* many;   // several: "items"
    const wchar_t* help;   // what it is, in the usage text
    AreaStep preview;      // counts what clean would remove; removes nothing
    AreaStep clean;        // the same step as the automatic runs take
};

// Every area, in the order a run takes them (the automatic runs' order).
std::span<const CleanArea> cleanAreas();

}  // namespace purgeon
