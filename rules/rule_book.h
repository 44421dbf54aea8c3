// The entries of a rule file: what each detects, removes and spares, read strictly. An entry with
// any key that cannot be read exactly is left out whole, never read more widely than written.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/rule_text.h"

namespace purgeon {

// FileKeyN=<folder>|<pattern>[;<pattern>...][|RECURSE][|REMOVESELF]
struct FileRule {
    std::wstring folder;                 // as written: environment names and wildcards kept
    std::vector<std::wstring> patterns;  // file names with * and ?, never empty
    bool recurse = false;                // every subfolder too
    bool removeSelf = false;             // the folder itself too, once emptied
    // Why the key never runs though it could be read (its folder steps with ".."); empty when
    // it may run.
    std::wstring refusal;
    bool operator==(const FileRule&) const = default;
};

// RegKeyN=<key>[|<value name>]: the value, or the whole key.
struct RegRule {
    std::wstring key;
    std::optional<std::wstring> value;
    bool operator==(const RegRule&) const = default;
};

enum class ExcludeKind {
    file,  // FILE|<folder>\|<pattern>: files of that folder; FILE|<path>: that one file
    path,  // PATH|<folder>\[|<pattern>]: below that folder, every file or the matching ones
    reg,   // REG|<key>[|<value>]
};

struct ExcludeRule {
    ExcludeKind kind = ExcludeKind::file;
    std::wstring target;                 // the folder, the file or the key
    std::vector<std::wstring> patterns;  // empty: every file (path) or the file itself (file)
    std::optional<std::wstring> value;   // reg only
    bool operator==(const ExcludeRule&) const = default;
};

// DetectOS=<min>|<max>: either side may be empty.
struct VersionRange {
    std::optional<std::pair<int, int>> min;
    std::optional<std::pair<int, int>> max;
    bool operator==(const VersionRange&) const = default;
};

struct RuleEntry {
    std::wstring name;  // as written between the brackets
    std::size_t line = 0;
    std::vector<std::wstring> detectKeys;   // registry keys; any one suffices
    std::vector<std::wstring> detectFiles;  // paths, wildcards allowed; any one suffices
    std::optional<VersionRange> detectOs;
    std::vector<FileRule> files;
    std::vector<RegRule> registry;
    std::vector<ExcludeRule> excludes;
    std::wstring warning;
    std::wstring section;
    std::wstring langSecRef;
    bool defaultOn = false;
    // With no Detect or DetectFile key the entry is always detected.
    bool alwaysDetected() const { return detectKeys.empty() && detectFiles.empty(); }
};

// A line or an entry that was left out, and why.
struct RuleProblem {
    std::size_t line = 0;
    std::wstring entry;  // empty for a line outside any entry
    std::wstring text;   // "FileKey3 has no file pattern"
};

struct RuleBook {
    RuleEncoding encoding = RuleEncoding::utf8;
    std::vector<RuleEntry> entries;  // in file order
    std::vector<RuleProblem> problems;
    // The entry of that name (as written between the brackets), or null.
    const RuleEntry* find(std::wstring_view name) const;
};

// Reads a whole rule file. Lines starting with ";" are notes; blank lines are skipped.
RuleBook parseRules(std::string_view bytes);

// "line 12, entry "Foo *": FileKey3 has no file pattern"
std::wstring problemText(const RuleProblem& problem);

}  // namespace purgeon
