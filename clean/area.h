// A cleanable area: what it is called, the option that ticks it, and its preview and clean; and
// what one preview or clean of it came to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clean/browser_areas.h"
#include "clean/clean_context.h"
#include "wipe/folder_guard.h"

namespace purgeon {

enum class CleanMode {
    preview,  // counts what a clean would remove; removes nothing
    clean,
};

// What one area's preview or clean came to.
struct AreaResult {
    bool ran = true;                     // false: the area was left as it was; why says why
    std::optional<std::size_t> count;    // items removed (in a preview: that would be), if known
    std::optional<std::uint64_t> bytes;  // their size, when known
    std::wstring place;                  // the folder the area is, when it is one
    std::wstring why;  // what was left or spared, and why; or why the area was left alone
    bool done = true;  // everything asked of the area was done (in a preview: can be done)
    std::optional<FolderCheck> refused;  // the folder guard refused the area's folder
    BrowserClearing browsers;            // what the ticked browsers' part did, when it ran
    std::vector<std::wstring> log;       // what the log gets of a clean, line by line
    std::vector<std::wstring> details;   // lines the command line prints below the summary
};

struct Area {
    const wchar_t* name = nullptr;       // on the command line, in any case: "recyclebin"
    const wchar_t* title = nullptr;      // at the start of its summary line: "Recycle Bin"
    const wchar_t* one = nullptr;        // one item of it: "item"
    const wchar_t* many = nullptr;       // several: "items"
    const wchar_t* help = nullptr;       // what it is, in the usage text
    const wchar_t* optionKey = nullptr;  // the stored option that ticks it for the automatic runs
    const wchar_t* status = nullptr;     // the automatic run's label while it works
    AreaResult (*preview)(CleanContext& context) = nullptr;
    AreaResult (*clean)(CleanContext& context) = nullptr;
    // For an area whose automatic runs are not one check box: whether they take it.
    bool (*autoTicked)(CleanContext& context) = nullptr;
};

// An area left as it was, and why.
AreaResult leftAlone(std::wstring why);

// "1 file", "3 files": a count and the word for as many.
std::wstring countText(std::size_t count, const wchar_t* one, const wchar_t* many);

// The notes of a summary, one after the other: "a; b".
std::wstring joinedNotes(const std::vector<std::wstring>& notes);

// "the folder C:\Users\me\Documents was refused: it is the Documents folder"
std::wstring refusedText(const FolderCheck& check);

// The system's words for a failure inside a sentence: without their line break and full stop.
std::wstring wordsInLine(CleanContext& context, const Status& status);

// Adds what the ticked browsers' part of an area did to the area's own result.
void addBrowsersPart(AreaResult& result, const AreaResult& part);

}  // namespace purgeon
